// The Script and Path pages of the real main window, shown, read and edited through
// PageControls; and the Item page's link list.

#include "PageControls.h"

#include "editor/WindowUnderTest.h"
#include "ui_TMainForm.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <utility>

namespace {

using D = TAppletData;

// Each control with the field it stands for, written out here rather than taken from the
// core's table, so that a control wired to the wrong field fails. The values shown differ
// from each other and from the defaults (red, green and blue too); each is then edited; an
// odd value is one the control cannot hold, and what it reads back as.
struct PageRow
{
    const char *control;
    std::string D::*field;
    std::string shown, edited, odd, oddRead;
};

const std::vector<PageRow> pageRows = {
    {"edt_pSliderName", &D::pSliderName, "Harbour", "Lighthouse", " Pier ", " Pier "},
    {"spnedt_pWidth", &D::pWidth, "321", "1234", "12345", "9999"},
    {"spedt_pHeight", &D::pHeight, "234", "56", "-10000", "1"},
    {"spnedt_pDelay", &D::pDelay, "17", "88", "1.5", "0"},
    {"spnedt_pStep", &D::pStep, "45", "99", "", "0"},
    {"spnedt_pContainerBorderWidth", &D::pContainerBorderWidth, "6", "12", "+8", "8"},
    {"cmbx_pContainerBorderStyle", &D::pContainerBorderStyle, "7", "2", "12", "9"},
    {"pnl_pBgColor", &D::pBgColor, "123456", "FEDCBA", "red", "FFFFFF"},
    {"pnl_pContainerBorderColor", &D::pContainerBorderColor, "9A3C0F", "0F1E2D", "abcdef",
     "ABCDEF"},
    {"edtpInternalUse_RootDir_Local", &D::pInternalUse_RootDir_Local, " /srv/www ", "/home/site",
     "", ""},
    {"edtpInternalUse_RootDir_Remote", &D::pInternalUse_RootDir_Remote, "https://a.example/",
     "https://b.example/", " x ", " x "},
    // A flag that is neither leaves the choice as it was.
    {"rdbtnpInternalUse_RootDir_Local_Checked", &D::pInternalUse_RootDir_Local_Checked, "0", "1",
     "", "0"},
};

// One column of the table as a record; the fields without a control hold their own names.
D record(std::string PageRow::*column)
{
    D data;
    data.pSliderDivID = "div id";
    data.pConfigName = "config name";
    for (const PageRow &row : pageRows)
        data.*row.field = row.*column;
    return data;
}

// A number typed past its field's bounds on a new show, the words of the refusal, and what
// the box holds once the edit ends.
struct RefusalRow
{
    const char *control, *typed, *why;
    int holds;
};

const std::vector<RefusalRow> refusalRows = {
    {"spedt_pHeight", "0", "Height must be at least 1 pixel.", 120},
    {"spnedt_pWidth", "10000", "Width must be at most 9999 pixels.", 1000},
    {"spnedt_pDelay", "-", "Delay must be at least 0.", 0},
    {"spnedt_pStep", "99999", "Step must be at most 9999.", 9999},
    {"spnedt_pContainerBorderWidth", "-", "Border Width must be at least 0 pixels.", 4},
};

// What the words beside a field of a new show say, and say once the value is typed or picked.
struct WordsRow
{
    const char *control, *value, *before, *after;
};

const std::vector<WordsRow> wordsRows = {
    {"spnedt_pDelay", "20", "each picture shows 3.0 s", "each picture shows 5.0 s"},
    {"spnedt_pStep", "45", "a fade takes 1.0 s", "a fade takes 1.5 s"},
    {"spnedt_pStep", "0", "a fade takes 1.0 s", "no fade"},
    {"spnedt_pStep", "1", "a fade takes 1.0 s", "a fade takes 0.03 s"},
    {"pnl_pBgColor", "336699", "#FFFFFF", "#336699"},
    {"pnl_pContainerBorderColor", "0A0B0C", "#FFFF00", "#0A0B0C"},
};

template <class Row> void rowsOf(const std::vector<Row> &rows)
{
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < rows.size(); ++i)
        QTest::newRow((std::to_string(i) + " " + rows[i].control).c_str()) << int(i);
}

// The colour dialog: the colour a user picks next, or cancelled.
class ColourPrompts : public ScriptedEditorPrompts
{
public:
    std::optional<QColor> chooseColour(const QColor &) override
    {
        return std::exchange(picked, std::nullopt);
    }
    std::optional<QColor> picked;
};

// The pages start nothing.
} // namespace

// A failed comparison of records names every field.
char *toString(const TAppletData &data)
{
    std::string text;
    for (std::size_t i = 0; i < TAppletData::fieldCount; ++i)
        text += std::string(TAppletData::fieldNames[i]) + "=" + data.*TAppletData::fields[i] + " ";
    return qstrdup(text.c_str());
}

class PageControlsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WindowUnderTest<ColourPrompts>> m_test;

    TMainForm &window() { return *m_test->window; }

    template <class W = QWidget> W *control(const char *name)
    {
        auto *found = window().findChild<W *>(QString::fromLatin1(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }

    // What a control shows, in the form the project stores it.
    std::string displayed(const char *name)
    {
        QWidget *widget = control(name);
        if (auto *edit = qobject_cast<QLineEdit *>(widget))
            return edit->text().toStdString();
        if (auto *spin = qobject_cast<QSpinBox *>(widget))
            return spin->text().toStdString();
        if (auto *list = qobject_cast<QComboBox *>(widget))
            return std::to_string(list->currentIndex());
        if (auto *panel = qobject_cast<QPushButton *>(widget)) {
            const QString colour = PageControls::colourOf(*panel).name();
            if (!panel->styleSheet().contains(colour))
                return "face differs from " + colour.toStdString();
            return colour.mid(1).toUpper().toStdString();
        }
        const bool local = control<QRadioButton>(name)->isChecked();
        const bool web =
            control<QRadioButton>("rdbtnpInternalUse_RootDir_Local_Checked2")->isChecked();
        return local && !web ? "1" : web && !local ? "0" : "neither or both";
    }

    // Changes the control as a user does: typing, choosing, clicking.
    void edit(const char *name, const std::string &value)
    {
        QWidget *widget = control(name);
        QTabWidget *pages = window().ui().pgcntrl1;
        pages->setCurrentWidget(window().ui().tbshtScript->isAncestorOf(widget)
                                    ? window().ui().tbshtScript
                                    : window().ui().tbshtPath);
        if (auto *box = qobject_cast<QAbstractSpinBox *>(widget)) {
            box->selectAll();
            QTest::keyClicks(box, QString::fromStdString(value));
        } else if (auto *line = qobject_cast<QLineEdit *>(widget)) {
            line->selectAll();
            QTest::keyClicks(line, QString::fromStdString(value));
        } else if (auto *list = qobject_cast<QComboBox *>(widget)) {
            list->setCurrentIndex(std::stoi(value));
        } else if (auto *panel = qobject_cast<QPushButton *>(widget)) {
            m_test->prompts.picked = QColor(QString::fromStdString("#" + value));
            QTest::mouseClick(panel, Qt::LeftButton);
        } else {
            QTest::mouseClick(
                control(value == "1" ? name : "rdbtnpInternalUse_RootDir_Local_Checked2"),
                Qt::LeftButton);
        }
    }

private slots:
    void init() { m_test = std::make_unique<WindowUnderTest<ColourPrompts>>(); }
    void cleanup() { m_test.reset(); }

    void eachControlShowsItsOwnFieldAndReadsItBack()
    {
        PageControls pages(window());
        const D shown = record(&PageRow::shown);
        pages.show(shown);
        for (const PageRow &row : pageRows)
            QCOMPARE(QString::fromStdString(row.control + (": " + displayed(row.control))),
                     QString::fromStdString(row.control + (": " + row.shown)));
        // The fields without a control come from the base.
        D expected = shown;
        expected.pSliderDivID = expected.pConfigName = "";
        QCOMPARE(pages.read(D()), expected);
    }

    void anEditChangesOnlyItsOwnField_data()
    {
        QTest::addColumn<int>("row");
        for (std::size_t i = 0; i < pageRows.size(); ++i)
            QTest::newRow(pageRows[i].control) << int(i);
    }
    void anEditChangesOnlyItsOwnField()
    {
        QFETCH(int, row);
        const PageRow &page = pageRows[std::size_t(row)];
        PageControls pages(window());
        const D shown = record(&PageRow::shown);
        pages.show(shown);
        // The cursor stays in the control: a save by shortcut reads what was typed.
        edit(page.control, page.edited);
        D expected = shown;
        expected.*page.field = page.edited;
        QCOMPARE(pages.read(shown), expected);
    }

    // A number the build would refuse is refused as it is typed, and the page says why in
    // its own words: the refused keystroke is not taken, and a number below the bounds gives
    // way to the one the box had.
    void aNumberPastItsBoundsIsRefusedInThePagesWords_data() { rowsOf(refusalRows); }
    void aNumberPastItsBoundsIsRefusedInThePagesWords()
    {
        QFETCH(int, row);
        const RefusalRow &refusal = refusalRows[std::size_t(row)];
        auto *spin = control<QSpinBox>(refusal.control);
        edit(refusal.control, refusal.typed);
        QCOMPARE(control<QLabel>("stctxtHint")->text(), QString::fromUtf8(refusal.why));
        QTest::keyClick(spin, Qt::Key_Return);
        QCOMPARE(spin->value(), refusal.holds);
    }

    // The words beside a field say what its value means as it is typed or picked, and follow
    // an undo and a redo.
    void theWordsBesideAFieldFollowItsValue_data() { rowsOf(wordsRows); }
    void theWordsBesideAFieldFollowItsValue()
    {
        QFETCH(int, row);
        const WordsRow &words = wordsRows[std::size_t(row)];
        auto *beside = control<QLabel>((std::string(words.control) + "_meaning").c_str());
        QCOMPARE(beside->text(), QString::fromUtf8(words.before));
        edit(words.control, words.value);
        // A number's words change with the digits, before the box takes them.
        QCOMPARE(beside->text(), QString::fromUtf8(words.after));
        if (auto *spin = qobject_cast<QSpinBox *>(control(words.control)))
            QTest::keyClick(spin, Qt::Key_Return);
        window().undoAction().trigger();
        QCOMPARE(beside->text(), QString::fromUtf8(words.before));
        window().redoAction().trigger();
        QCOMPARE(beside->text(), QString::fromUtf8(words.after));
    }

    // A beginning chosen from the link list, or walked to with a key, completes the address
    // typed so far in place of the address's own beginning.
    void aLinkBeginningCompletesTheAddress()
    {
        Ui::TMainForm &ui = window().ui();
        ui.Insert2->trigger();
        ui.trvwDesignPanel->setCurrentItem(ui.trvwDesignPanel->topLevelItem(0)->child(0));
        QComboBox *link = ui.cmbx_ILink;
        QCOMPARE(link->itemText(0), QStringLiteral("https://"));
        QTest::keyClicks(link, QStringLiteral("mailto://ann@example.com"));
        link->showPopup();
        QAbstractItemView *list = link->view();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(2, 0)).center());
        QTRY_COMPARE(link->currentText(), QStringLiteral("mailto:ann@example.com"));
        QTest::keyClick(link, Qt::Key_Up);
        QCOMPARE(link->currentText(), QStringLiteral("http://ann@example.com"));
        QCOMPARE(link->count(), 6);
        QCOMPARE(window().undoAction().text(), QStringLiteral("&Undo Edit Link"));
    }

    // Texts are read untrimmed: trimming is the store's, for both faces of the pages.
    void oddValuesReadBackAsTheControlsHoldThem()
    {
        PageControls pages(window());
        pages.show(record(&PageRow::shown));
        pages.show(record(&PageRow::odd));
        QCOMPARE(pages.read(record(&PageRow::odd)), record(&PageRow::oddRead));
    }
};

QTEST_MAIN(PageControlsTest)
#include "PageControlsTest.moc"
