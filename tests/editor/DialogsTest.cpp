// The template chooser shown as a real window, with keys and clicks delivered through the
// window system as a user's are: to the widget under the pointer, and a release to the
// widget that took the press.

#define QTEST_QPA_MOUSE_HANDLING

#include "TfrmTemplet.h"
#include "common/ScriptedPrompts.h"
#include "common/TempFolder.h"
#include "platform/MemorySettingsStore.h"
#include "ui_TfrmTemplet.h"

#include <QTest>
#include <functional>

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
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
