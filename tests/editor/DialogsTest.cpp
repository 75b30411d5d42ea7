// The template chooser and the about box shown as real windows, with keys and clicks
// delivered through the window system as a user's are: to the widget under the pointer, and
// a release to the widget that took the press.

#define QTEST_QPA_MOUSE_HANDLING

#include "TformAbout.h"
#include "TfrmTemplet.h"
#include "common/ScriptedPrompts.h"
#include "common/TempFolder.h"
#include "platform/Launcher.h"
#include "platform/MemorySettingsStore.h"
#include "platform/ProductInfo.h"
#include "ui_TformAbout.h"
#include "ui_TfrmTemplet.h"

#include <QTest>
#include <functional>

class RecordingLauncher : public Launcher
{
public:
    bool openWithDefault(const std::string &urlOrPath) override
    {
        started.push_back(urlOrPath);
        return true;
    }
    bool startProgram(const std::string &program, const std::string &) override
    {
        started.push_back(program);
        return true;
    }
    std::vector<std::string> started;
};

class DialogsTest : public QObject
{
    Q_OBJECT

private slots:
    // OK opens only a chosen entry, though the list's cursor rests on the first one; Esc is
    // Cancel, a new project, wherever the focus is.
    void theTemplateChooserOpensOnlyWhatWasChosen()
    {
        const auto key = [](Qt::Key pressed) {
            return [pressed](TfrmTemplet &c) { QTest::keyClick(c.focusWidget(), pressed); };
        };
        const auto ok = [](TfrmTemplet &c) { QTest::mouseClick(c.ui().BitBtn1, Qt::LeftButton); };
        const struct
        {
            const char *label;
            std::function<void(TfrmTemplet &)> act;
            bool newProject;
            const char *opened;
        } cases[] = {
            {"OK with nothing chosen", ok, false, ""},
            {"Enter with nothing chosen", key(Qt::Key_Return), false, ""},
            {"Esc in the list", key(Qt::Key_Escape), true, ""},
            {"Esc on the check box",
             [&](TfrmTemplet &c) {
                 c.ui().chckbxDontShow->setFocus();
                 key(Qt::Key_Escape)(c);
             },
             true, ""},
            {"an entry clicked, then OK",
             [&](TfrmTemplet &c) {
                 QListWidget *list = c.ui().TempletList;
                 QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                                   list->visualItemRect(list->item(1)).center());
                 ok(c);
             },
             false, "Wide.jfs"},
        };
        TempFolder folder;
        writeBytes(folder.file("Box.jfs"), "");
        writeBytes(folder.file("Wide.jfs"), "");
        QStringList wrong;
        for (const auto &c : cases) {
            MemorySettingsStore settings;
            ScriptedPrompts prompts;
            TfrmTemplet chooser(folder.path(), settings, prompts);
            chooser.open();
            QVERIFY(QTest::qWaitForWindowActive(&chooser));
            QCOMPARE(chooser.focusWidget(), chooser.ui().TempletList);
            c.act(chooser);
            const std::string opened = *c.opened ? folder.file(c.opened) : "";
            if (chooser.isVisible() || chooser.choice().newProject != c.newProject ||
                chooser.choice().path != opened)
                wrong << QString::fromUtf8(c.label);
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("; "))));
    }

    // A link opens on a left click on its own text only, and once for a double click.
    void theAboutBoxLinksOpenOnlyOnALeftClickOnThem()
    {
        using Act = std::function<void(TformAbout &, QPoint)>;
        const auto click = [](Qt::MouseButton button, QPoint offset = {}) -> Act {
            return [=](TformAbout &a, QPoint link) {
                QTest::mouseClick(&a, button, Qt::NoModifier, link + offset);
            };
        };
        const struct
        {
            const char *label;
            Act act; // with the centre of the home page's link
            std::size_t opened;
        } cases[] = {
            {"a left click", click(Qt::LeftButton), 1},
            {"a right click", click(Qt::RightButton), 0},
            {"a left click beside the text",
             [&](TformAbout &a, QPoint link) {
                 click(Qt::LeftButton, {a.ui().Label8->sizeHint().width() / 2 + 10, 0})(a, link);
             },
             0},
            {"pressed on the link, released off it",
             [](TformAbout &a, QPoint link) {
                 QTest::mousePress(&a, Qt::LeftButton, Qt::NoModifier, link);
                 QTest::mouseRelease(&a, Qt::LeftButton, Qt::NoModifier, link + QPoint(0, 40));
             },
             0},
            {"a double click",
             [](TformAbout &a, QPoint link) {
                 QTest::mouseDClick(&a, Qt::LeftButton, Qt::NoModifier, link);
             },
             1},
        };
        QStringList wrong;
        for (const auto &c : cases) {
            RecordingLauncher launcher;
            TformAbout about(launcher);
            about.show();
            QVERIFY(QTest::qWaitForWindowExposed(&about));
            QLabel *link = about.ui().Label8;
            c.act(about, link->mapTo(&about, link->rect().center()));
            if (launcher.started != std::vector(c.opened, std::string(product::homePageUrl)))
                wrong << QString::fromUtf8(c.label);
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("; "))));
    }
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
