// The Script and Path pages of the real main window, shown, read and edited through
// PageControls.

#include "PageControls.h"

#include "editor/WindowUnderTest.h"
#include "ui_TMainForm.h"

#include <QComboBox>
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
    {"spedt_pHeight", &D::pHeight, "234", "-56", "-10000", "-9999"},
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
