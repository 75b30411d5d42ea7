// The main window driven as a user drives it, with every question answered by a script.

#include "TMainForm.h"
#include "TformAbout.h"
#include "TformHTML.h"
#include "TformWebBrowser.h"
#include "TfrmHelp.h"
#include "TfrmMsgBox_LinkTip.h"
#include "TfrmTemplet.h"
#include "common/TempFolder.h"
#include "editor/ScriptedEditorPrompts.h"
#include "platform/FileSettingsStore.h"
#include "platform/HomeFolder.h"
#include "platform/MemorySettingsStore.h"
#include "platform/UserSettings.h"
#include "ui_TMainForm.h"
#include "ui_TformAbout.h"
#include "ui_TformWebBrowser.h"
#include "ui_TfrmMsgBox_LinkTip.h"
#include "ui_TfrmTemplet.h"

#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

// Records what would have been started.
class RecordingLauncher : public Launcher
{
public:
    bool openWithDefault(const std::string &urlOrPath) override
    {
        started.push_back(urlOrPath);
        return true;
    }
    bool startProgram(const std::string &program, const std::string &argument) override
    {
        started.push_back(program + " " + argument);
        return true;
    }
    std::vector<std::string> started;
};

class MainFormTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<MemorySettingsStore> m_settings;
    std::unique_ptr<ScriptedEditorPrompts> m_prompts;
    RecordingLauncher m_launcher;
    std::unique_ptr<EditorProject> m_project;
    std::unique_ptr<TMainForm> m_window;

    Ui::TMainForm &ui() { return m_window->ui(); }
    QTreeWidgetItem *root() { return ui().trvwDesignPanel->topLevelItem(0); }
    std::vector<std::string> &asked() { return m_prompts->script.asked; }
    std::deque<std::string> &answers() { return m_prompts->script.answers; }
    std::string file(const char *name) { return m_folder->file(name); }

private slots:
    void init()
    {
        m_folder = std::make_unique<TempFolder>();
        writeBytes(m_folder->file("velloria.js"), "// runtime");
        m_settings = std::make_unique<MemorySettingsStore>();
        m_prompts = std::make_unique<ScriptedEditorPrompts>();
        const AppFolders folders(m_folder->path());
        m_project = std::make_unique<EditorProject>(folders);
        m_window =
            std::make_unique<TMainForm>(*m_prompts, *m_settings, m_launcher, folders, *m_project);
        m_window->show();
    }
    void cleanup()
    {
        m_window->commands().setModified(false);
        m_window.reset();
        m_project.reset();
    }

    void startsWithTheRootAloneAndNothingToSave()
    {
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Untitled[*] - Velloria"));
        QCOMPARE(ui().trvwDesignPanel->topLevelItemCount(), 1);
        QCOMPARE(root()->text(0), QStringLiteral("Velloria"));
        QCOMPARE(root()->childCount(), 0);
        QVERIFY(!ui().Save1->isEnabled());
        QVERIFY(ui().pgcntrl1->isTabVisible(ui().pgcntrl1->indexOf(ui().tbshtScript)));
        QVERIFY(!ui().pgcntrl1->isTabVisible(ui().pgcntrl1->indexOf(ui().tbshtItemGeneral)));
        QCOMPARE(ui().spedt_pHeight->value(), 120);
        QVERIFY(ui().Insert2->isEnabled());
        QVERIFY(!ui().Delete2->isEnabled());
    }

    // Every change marks the project, the border style and the radio choice too; selecting
    // an item, by itself, does not; undoing back to the saved state clears the mark.
    void modifiedFollowsTheChanges()
    {
        ui().cmbx_pContainerBorderStyle->setCurrentIndex(3);
        QVERIFY(ui().Save1->isEnabled());
        QCOMPARE(m_window->undoAction().text(), QStringLiteral("&Undo Edit Border Style"));
        m_window->undoAction().trigger();
        QVERIFY(!ui().Save1->isEnabled());
        QCOMPARE(ui().cmbx_pContainerBorderStyle->currentIndex(), 0);
        QTest::keyClicks(ui().spnedt_pWidth, QStringLiteral("2"));
        QVERIFY2(ui().Save1->isEnabled(), "a number being typed can be saved");
        ui().rdbtnpInternalUse_RootDir_Local_Checked2->setChecked(true);
        QVERIFY(ui().Save1->isEnabled());
        ui().Insert2->trigger();
        QCOMPARE(root()->childCount(), 1);
        QCOMPARE(ui().trvwDesignPanel->currentItem(), root());
        QCOMPARE(QString::fromStdString(m_window->agent().GetAppletData().pWidth),
                 QStringLiteral("2160"));
        m_window->commands().setModified(false);
        ui().trvwDesignPanel->setCurrentItem(root()->child(0));
        QVERIFY(!ui().Save1->isEnabled());
        QVERIFY(ui().pgcntrl1->isTabVisible(ui().pgcntrl1->indexOf(ui().tbshtItemGeneral)));
    }

    // The item page is stored when the selection leaves the item, and shown when it returns.
    void theItemPageIsWrittenBackWhenTheSelectionLeaves()
    {
        ui().Insert2->trigger();
        ui().Insert2->trigger();
        ui().trvwDesignPanel->setCurrentItem(root()->child(0));
        QTest::keyClicks(ui().edt_IToolTip, QStringLiteral("  first tip "));
        ui().trvwDesignPanel->setCurrentItem(root());
        QCOMPARE(m_window->agent().GetItem(0).IToolTip, std::string("first tip"));
        ui().trvwDesignPanel->setCurrentItem(root()->child(1));
        QCOMPARE(ui().edt_IToolTip->text(), QString());
        ui().trvwDesignPanel->setCurrentItem(root()->child(0));
        QCOMPARE(ui().edt_IToolTip->text(), QStringLiteral("first tip"));
        QVERIFY(!ui().MoveUp2->isEnabled());
        QVERIFY(ui().MoveDown2->isEnabled());
        ui().MoveDown2->trigger();
        QCOMPARE(m_window->agent().GetItem(1).IToolTip, std::string("first tip"));
    }

    void saveAsWritesTheSiteAndDeleteAsksFirst()
    {
        ui().edt_pSliderName->setText(QStringLiteral("  Demo "));
        ui().Insert2->trigger();
        answers() = {file("show")};
        ui().Save2->trigger();
        QVERIFY(std::filesystem::exists(file("show.jfs")));
        QVERIFY(readBytes(file("velloriacfg.js")).find("new bPaf('Demo','Demo_div'") !=
                std::string::npos);
        QVERIFY(!ui().Save1->isEnabled());
        ui().Delete2->setEnabled(true);
        ui().Delete2->trigger();
        QCOMPARE(asked().back(), std::string("error: Root item cannot be deleted."));
        QVERIFY(!ui().Save1->isEnabled());
        ui().trvwDesignPanel->setCurrentItem(root()->child(0));
        answers() = {"yes"};
        ui().Delete2->trigger();
        QCOMPARE(root()->childCount(), 0);
    }

    // The title names the file a save writes and marks unsaved changes; undoing back to the
    // saved state clears the mark. The status line says what the save wrote.
    void theTitleAndTheStatusLineSayWhereYouAre()
    {
        const auto title = [this] {
            return m_window->windowTitle().replace(
                QStringLiteral("[*]"),
                m_window->isWindowModified() ? QStringLiteral("*") : QString());
        };
        ui().Insert2->trigger();
        QCOMPARE(title(), QStringLiteral("Untitled* - Velloria"));
        answers() = {file("harbour")};
        ui().Save2->trigger();
        QCOMPARE(title(), QStringLiteral("harbour.jfs - Velloria"));
        QCOMPARE(m_window->hintLine().text(),
                 QStringLiteral("Saved harbour.jfs and published 0 slides to ") +
                     QString::fromStdString(m_folder->path().string()));
        ui().trvwDesignPanel->setCurrentItem(root()->child(0));
        QTest::keyClicks(ui().edt_IToolTip, QStringLiteral("Quay"));
        Q_EMIT ui().edt_IToolTip->editingFinished();
        QCOMPARE(title(), QStringLiteral("harbour.jfs* - Velloria"));
        m_window->undoAction().trigger();
        QCOMPARE(title(), QStringLiteral("harbour.jfs - Velloria"));
    }

    // With only the root the message comes, then the window with the last build's text.
    void buildHtmlShowsThePageAndKeepsItAfterARefusal()
    {
        ui().Insert2->trigger();
        ui().BuildHTML1->trigger();
        QCOMPARE(asked().back(), std::string("html code"));
        const std::string shown = m_prompts->shownText;
        QVERIFY(shown.find("<!-- BEGIN -->") != std::string::npos);
        ui().trvwDesignPanel->setCurrentItem(root()->child(0));
        answers() = {"yes"};
        ui().Delete2->trigger();
        m_prompts->shownText.clear();
        ui().BuildHTML1->trigger();
        QCOMPARE(
            asked().end()[-2],
            std::string("error: No item to build. Please add item to left pane and try again."));
        QCOMPARE(m_prompts->shownText, shown);
        TformHTML window;
        window.setText(QString::fromStdString(shown));
        window.Button2Click();
        QCOMPARE(QGuiApplication::clipboard()->text(), window.text());
    }

    void theCommandLineOpensASplitPathWithBlanks()
    {
        ui().Insert2->trigger();
        answers() = {file("my show.jfs")};
        ui().Save2->trigger();
        ui().New1->trigger();
        QCOMPARE(root()->childCount(), 0);
        m_window->openFromCommandLine({QString::fromStdString(m_folder->path().string() + "/my"),
                                       QStringLiteral("show.jfs")});
        QCOMPARE(root()->childCount(), 1);
        QCOMPARE(ui().mnitRecentFiles->actions().size(), 1);
        QCOMPARE(ui().mnitRecentFiles->actions()[0]->text(),
                 QString::fromStdString("&1 " + file("my show.jfs")));
    }

    // The tip shows until its box is checked; checking and clearing it again takes that back.
    void theLinkTipAndTheUrlChooser()
    {
        ui().Insert2->trigger();
        ui().trvwDesignPanel->setCurrentItem(root()->child(0));
        answers() = {"/home/u/a b.htm"};
        ui().spdbtnItURL->click();
        QCOMPARE(ui().cmbx_ILink->currentText(), QStringLiteral("file:///home/u/a b.htm"));
        QCOMPARE(asked().front(), std::string("link tip"));
        TfrmMsgBox_LinkTip tip(*m_settings, m_prompts->script);
        tip.ui().chckbxDontShow->setChecked(true);
        QVERIFY(!TfrmMsgBox_LinkTip::wanted(*m_settings));
        tip.ui().chckbxDontShow->setChecked(false);
        QVERIFY(TfrmMsgBox_LinkTip::wanted(*m_settings));
        tip.ui().chckbxDontShow->setChecked(true);
        asked().clear();
        answers() = {""};
        ui().spdbtnItURL->click();
        QCOMPARE(asked().size(), std::size_t(1));
        m_settings->writeText(usersettings::settingsKey, "ShowLinkTipDialog", "yes");
        QVERIFY(!TfrmMsgBox_LinkTip::wanted(*m_settings));
    }

    // What would break the project file or the show is refused as it is typed.
    void valuesThatWouldBreakTheShowAreRefusedWhereTyped()
    {
        ui().Insert2->trigger();
        ui().trvwDesignPanel->setCurrentItem(root()->child(0));
        QTest::keyClicks(ui().edt_IToolTip, QStringLiteral("a#$@"));
        QCOMPARE(ui().edt_IToolTip->text(), QString());
        QCOMPARE(asked().back(),
                 std::string("error: The text can't include \"#$@\", it is used by system!"));
        ui().trvwDesignPanel->setCurrentItem(root());
        ui().edt_pSliderName->clear();
        QTest::keyClicks(ui().edt_pSliderName, QStringLiteral("My show"));
        QCOMPARE(ui().edt_pSliderName->text(), QStringLiteral("My "));
        QVERIFY(m_window->hintLine().text().contains(QStringLiteral("letters")));
        m_window->UpdateItemCommands(); // as a click on the root does
        QTest::keyClick(ui().trvwDesignPanel, Qt::Key_Insert);
        QCOMPARE(root()->childCount(), 2);
    }

    // A save that fails says why and leaves the window as it was, ready to try again.
    void aFailedSaveKeepsTheWindowsState()
    {
        ui().Insert2->trigger();
        answers() = {file("missing-folder/show.jfs")};
        ui().Save2->trigger();
        QVERIFY(asked().back().rfind("error: Cannot create file", 0) == 0);
        QVERIFY(ui().Save1->isEnabled());
        QCOMPARE(m_window->commands().currentFileName(), std::string());
        m_window->commands().setModified(false);
        ui().pnl_pBgColor->click();
        QCOMPARE(asked().back(), std::string("colour"));
        QVERIFY2(!ui().Save1->isEnabled(), "a cancelled colour dialog changes nothing");
    }

    void publishShowsTheReportAndLeavesItInThePreview()
    {
        ui().Insert2->trigger();
        ui().Publish1->trigger();
        QCOMPARE(asked().back(), std::string("publish report"));
        const std::string &report = m_prompts->shownText;
        QVERIFY(report.rfind(std::string(77, '='), 0) == 0);
        QVERIFY(report.find("End of Publish Report") != std::string::npos);
        QVERIFY(std::filesystem::exists(m_window->agent().previewFolder() / "PublishReport.txt"));
    }

    // The hint line shows the hint of what the mouse is over; the status bar toggle hides the
    // hint line and the bar with it.
    void theHintLineAndTheViewToggles()
    {
        QWidget *save = ui().tlbr1->findChild<QWidget *>(QStringLiteral("tlbtnSave"));
        QTest::mouseMove(save);
        QTRY_COMPARE(m_window->hintLine().text(),
                     QStringLiteral("Save the current project to a file"));
        QTest::mouseMove(ui().spedt_pHeight);
        QTRY_COMPARE(m_window->hintLine().text(), QString());
        ui().StatusBar2->trigger();
        QVERIFY(!m_window->hintLine().isVisible() && !m_window->progressBar().isVisible());
        ui().StatusBar2->trigger();
        QVERIFY(m_window->hintLine().isVisible() && m_window->progressBar().isVisible());
        ui().ToolBar1->trigger();
        QVERIFY(!ui().tlbr1->isVisible());
    }

    // The menu shows the first four lines as they stand; opening a listed file keeps the order.
    void theRecentFilesMenu()
    {
        std::string lines;
        for (int slot = 1; slot <= 6; ++slot)
            lines += "&" + std::to_string(slot) + " " +
                     file(("p" + std::to_string(slot) + ".jfs").c_str()) + "\r\n";
        writeBytes(file("recentfile.dat"), lines);
        m_window->LoadRecentFilesMenu();
        QCOMPARE(ui().mnitRecentFiles->actions().size(), 4);
        ui().Insert2->trigger();
        answers() = {file("p3.jfs")};
        ui().Save2->trigger();
        ui().mnitRecentFiles->actions()[2]->trigger();
        QCOMPARE(readBytes(file("recentfile.dat")), lines);
        QCOMPARE(m_window->commands().currentFileName(), file("p3.jfs"));
        m_window->openFromCommandLine({QString::fromStdString(file("missing.jfs"))});
        QVERIFY(asked().size() == 1);
    }

    // Pictures dropped on the tree become items in the order dropped, a folder's JPEG files
    // sorted by name; a dropped file that is no JPEG picture is refused, naming it.
    void droppedPicturesBecomeItems()
    {
        std::filesystem::create_directory(m_folder->path() / "trip");
        for (const char *name : {"b.jpg", "trip/photo 10.jpg", "trip/Photo 9.JPG"})
            std::filesystem::copy_file(VELLORIA_RESOURCES "/samples/photos/dunes.jpg", file(name));
        writeBytes(file("trip/notes.txt"), "not a picture");
        m_window->dropFiles({QUrl::fromLocalFile(QString::fromStdString(file("b.jpg"))),
                             QUrl::fromLocalFile(QString::fromStdString(file("trip")))});
        QCOMPARE(root()->childCount(), 3);
        for (const auto &[item, name] :
             {std::pair{0, "b.jpg"}, {1, "trip/Photo 9.JPG"}, {2, "trip/photo 10.jpg"}})
            QCOMPARE(m_window->agent().GetItem(item).IOriginalImagePath, file(name));
        QVERIFY(ui().Save1->isEnabled());
        m_window->dropFiles({QUrl::fromLocalFile(QString::fromStdString(file("trip/notes.txt")))});
        QCOMPARE(asked().back(), std::string("error: notes.txt is not a JPEG picture; Velloria "
                                             "makes slides from JPEG files"));
        QCOMPARE(root()->childCount(), 3);
    }

    // Several pictures chosen at once become items in the order chosen, one step that Undo
    // takes back whole; a PNG among them is refused where it is chosen, and nothing is added.
    // The chooser starts at home, then where it was last used.
    void addPicturesTakesSeveralInOneStepAndRefusesAPng()
    {
        const std::vector<std::string> chosen{file("tower.jpg"), file("dunes.jpg"),
                                              file("meadow.jpg")};
        for (const std::string &path : chosen)
            std::filesystem::copy_file(VELLORIA_RESOURCES "/samples/photos/" +
                                           std::filesystem::path(path).filename().string(),
                                       path);
        writeBytes(file("holiday.png"), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
        QVERIFY(ui().tlbr1->findChild<QToolButton *>(QStringLiteral("tlbtnAddPictures")));
        answers() = {chosen[0] + "\n" + chosen[1] + "\n" + chosen[2]};
        ui().AddPictures1->trigger();
        QCOMPARE(asked().back(), "pictures in " + homeFolder().string());
        const auto added = [this] {
            std::vector<std::string> paths;
            for (int i = 0; i < m_window->agent().itemCount(); ++i)
                paths.push_back(m_window->agent().GetItem(i).IOriginalImagePath);
            return paths;
        };
        QCOMPARE(added(), chosen);
        QCOMPARE(m_window->undoAction().text(), QStringLiteral("&Undo Add Pictures"));
        m_window->undoAction().trigger();
        QCOMPARE(root()->childCount(), 0);
        m_window->redoAction().trigger();
        QCOMPARE(added(), chosen);
        answers() = {chosen[1] + "\n" + file("holiday.png")};
        ui().AddPictures1->trigger();
        QCOMPARE(asked().at(asked().size() - 2), "pictures in " + m_folder->path().string());
        QCOMPARE(asked().back(), std::string("error: No picture was added:\nholiday.png is a PNG "
                                             "picture; Velloria makes slides from JPEG files"));
        QCOMPARE(added(), chosen);
        QCOMPARE(m_window->undoAction().text(), QStringLiteral("&Undo Add Pictures"));
    }

    // The maker's pages open with the default handler; the links turn red under the mouse
    // and stay so until the mouse crosses the box's background.
    void theHelpMenusAddressesAndTheAboutBox()
    {
        ui().Homepage1->trigger();
        ui().ContactUs1->trigger();
        ui().About1->trigger();
        QCOMPARE(m_launcher.started.size(), std::size_t(2));
        QCOMPARE(asked().back(), std::string("about"));
        TformAbout about(m_launcher);
        QCOMPARE(about.ui().lblProductVersion->text(), QStringLiteral("Version 1.0"));
        const auto moveOver = [](QWidget *widget) {
            QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)),
                             Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(widget, &move);
        };
        const auto red = [&](QLabel *link) {
            return link->styleSheet().contains(QStringLiteral("red"));
        };
        moveOver(about.ui().Label8);
        moveOver(about.ui().Label10);
        QVERIFY(red(about.ui().Label8) && red(about.ui().Label10));
        moveOver(&about);
        QVERIFY(!red(about.ui().Label8) && !red(about.ui().Label10));
        QTest::mouseClick(about.ui().Label10, Qt::LeftButton);
        QCOMPARE(m_launcher.started.size(), std::size_t(3));
        QCOMPARE(m_launcher.started.back(), m_launcher.started[1]);
    }

    // Preview puts the page and its files in the preview folder and hands the page, as one
    // argument, to the stored browser; with no mode stored, nothing starts.
    void previewOpensThePageWithTheStoredBrowser()
    {
        const std::string browser = file("bin/firefox");
        std::filesystem::create_directories(file("bin"));
        writeBytes(browser, "#!/bin/sh\n");
        std::filesystem::permissions(browser, std::filesystem::perms::owner_all);
        m_window->setProgramFolders({file("bin")});
        BrowserChoice known;
        known.useDefault = false;
        known.useKnown = true;
        known.selected = 0;
        browserchoice::store(*m_settings, known);
        ui().Insert2->trigger();
        ui().Preview1->trigger();
        const auto preview = m_window->agent().previewFolder();
        QCOMPARE(m_launcher.started.back(), browser + " " + (preview / "~preview.html").string());
        for (const char *name : {"~preview.html", "velloria.js", "velloriacfg.js", "velloria.css"})
            QVERIFY2(std::filesystem::exists(preview / name), name);
        for (const char *name : {"~preview.html", "velloriacfg.js", "velloria.css"})
            QVERIFY2(!std::filesystem::exists(m_folder->path() / name), name);
        known.useKnown = false;
        browserchoice::store(*m_settings, known);
        const std::size_t before = m_launcher.started.size();
        ui().Preview1->trigger();
        QCOMPARE(m_launcher.started.size(), before);
        ui().WebBrowser1->trigger();
        QCOMPARE(asked().back(), std::string("web browser"));
    }

    // Without any browser found the known mode falls back to the default; Cancel keeps nothing.
    void theBrowserDialog()
    {
        TformWebBrowser dialog(*m_settings, *m_prompts, {});
        QVERIFY(dialog.ui().RadioButtonBrowserDefault->isChecked());
        dialog.ui().RadioButtonBrowserKnownInSystem->click();
        QVERIFY(dialog.ui().RadioButtonBrowserDefault->isChecked());
        dialog.ui().RadioButtonBrowserUserSpecify->click();
        m_prompts->script.answers = {"/opt/b b/run"};
        dialog.ui().spdbtnOpenExeFile->click();
        QCOMPARE(asked().back(), std::string("open: program"));
        dialog.reject();
        QVERIFY(!m_settings->openKey(usersettings::webBrowsersKey));
        dialog.bitbtnOkClick();
        const BrowserChoice stored = browserchoice::restore(*m_settings, 0);
        QVERIFY(stored.useSpecified);
        QCOMPARE(stored.specifiedPath, std::string("/opt/b b/run"));
    }

    // The chooser lists the templates folder's projects sorted; OK opens the selected one,
    // Cancel starts a new project, and the box is kept at every change.
    void theTemplateChooser()
    {
        const std::filesystem::path templates = m_folder->path() / "templates";
        TfrmTemplet missing(templates, *m_settings, m_prompts->script);
        QVERIFY(std::filesystem::is_directory(templates));
        QCOMPARE(missing.ui().TempletList->count(), 0);
        missing.BitBtn1Click();
        QVERIFY(!missing.choice().newProject && missing.choice().path.empty());
        missing.BitBtn2Click();
        QVERIFY(missing.choice().newProject);

        ui().Insert2->trigger();
        answers() = {(templates / "Wide.jfs").string()};
        ui().SaveAsTemplate1->trigger();
        // A template is the project file alone, and the show does not become it.
        QCOMPARE(filesIn(templates), std::set<std::string>{"Wide.jfs"});
        QCOMPARE(m_window->commands().currentFileName(), std::string());
        answers() = {(templates / "Box.jfs").string()};
        ui().Save2->trigger();
        writeBytes((templates / "notes.txt").string(), "x");
        TfrmTemplet chooser(templates, *m_settings, m_prompts->script);
        QCOMPARE(chooser.ui().TempletList->count(), 2);
        QCOMPARE(chooser.ui().TempletList->item(0)->text(), QStringLiteral("Box.jfs"));
        chooser.ui().TempletList->setCurrentRow(1);
        chooser.TempletListDblClick();
        QCOMPARE(chooser.choice().path, (templates / "Wide.jfs").string());
        chooser.ui().chckbxDontShow->setChecked(true);
        QVERIFY(!readShowFlag(*m_settings, "ShowTempletsDialog"));
        TfrmTemplet again(templates, *m_settings, m_prompts->script);
        QVERIFY(again.ui().chckbxDontShow->isChecked());

        // A template opens as an untitled copy: Save asks for a name, the template stays.
        const std::string wide = readBytes((templates / "Wide.jfs").string());
        answers() = {(templates / "Wide.jfs").string()};
        ui().Templet1->trigger();
        QCOMPARE(root()->childCount(), 1);
        QCOMPARE(m_window->commands().currentFileName(), std::string());
        ui().trvwDesignPanel->setCurrentItem(root()->child(0));
        QTest::keyClicks(ui().edt_IToolTip, QStringLiteral("client"));
        answers() = {""};
        ui().Save1->trigger();
        QCOMPARE(asked().back().rfind("save: ", 0), 0u);
        QCOMPARE(readBytes((templates / "Wide.jfs").string()), wide);
        // Only the project saved under its name is a recent file, not the template opened.
        QCOMPARE(ui().mnitRecentFiles->actions().size(), 1);
        QVERIFY(ui().mnitRecentFiles->actions()[0]->text().endsWith(QStringLiteral("/Box.jfs")));
        answers() = {"new", "no"};
        ui().Templet1->trigger();
        QCOMPARE(root()->childCount(), 0);
    }

    // Each group's button shows its topic in the one help window; every tag has its page.
    void contextHelpAndTheHelpMenu()
    {
        for (int tag = -1; tag <= 11; ++tag)
            QVERIFY2(std::filesystem::exists(std::filesystem::path(VELLORIA_RESOURCES) / "help" /
                                             TfrmHelp::pageForTag(tag)),
                     TfrmHelp::pageForTag(tag));
        auto *tooltipHelp =
            ui().grpbx_Tooltip->findChild<QToolButton *>(QStringLiteral("SpeedButton19"));
        auto *linkHelp = ui().grpbx_Link->findChild<QToolButton *>(QStringLiteral("SpeedButton24"));
        QVERIFY(tooltipHelp && linkHelp);
        tooltipHelp->click();
        linkHelp->click();
        QVERIFY(m_window->helpWindow().isVisible());
        QVERIFY(m_window->helpWindow().WebBrowser1().source().toLocalFile().endsWith(
            QStringLiteral("help/customizing_js_item_general_link.htm")));
        // Topics and samples open in the same window, whose Back returns to the topic.
        QTextBrowser &viewer = m_window->helpWindow().WebBrowser1();
        for (const char *page : {"help/index.html", "samples/index.html"}) {
            std::filesystem::create_directories((m_folder->path() / page).parent_path());
            writeBytes(file(page), "<p>page</p>");
        }
        ui().Topic1->trigger();
        QCOMPARE(viewer.source().toLocalFile(),
                 QString::fromStdString((m_folder->path() / "help" / "index.html").string()));
        ui().ViewSample1->trigger();
        QVERIFY(viewer.source().toLocalFile().endsWith(QStringLiteral("samples/index.html")));
        viewer.backward();
        QVERIFY(viewer.source().toLocalFile().endsWith(QStringLiteral("help/index.html")));
        // A sample show needs a real browser; one that cannot start is named.
        m_launcher.started.clear();
        Q_EMIT viewer.anchorClicked(QUrl(QStringLiteral("../samples/banner/index.html")));
        QVERIFY(m_launcher.started.at(0).ends_with("samples/banner/index.html"));
    }

    // Settings that cannot be written: switching a dialog off fails quietly, switching it
    // back on says so.
    void settingsThatCannotBeWrittenAreReported()
    {
        FileSettingsStore unwritable("/proc/velloria-no-such-place/settings");
        TfrmTemplet chooser(m_folder->path(), unwritable, m_prompts->script);
        chooser.ui().chckbxDontShow->setChecked(true);
        QVERIFY(asked().empty());
        chooser.ui().chckbxDontShow->setChecked(false);
        QCOMPARE(asked().back(), std::string("error: Failed to set data for 'ShowTempletsDialog'"));
        TfrmMsgBox_LinkTip tip(unwritable, m_prompts->script);
        tip.ui().chckbxDontShow->setChecked(true);
        tip.ui().chckbxDontShow->setChecked(false);
        QCOMPARE(asked().back(), std::string("error: Failed to set data for 'ShowLinkTipDialog'"));
        ui().Insert2->trigger();
        ui().trvwDesignPanel->setCurrentItem(root()->child(0));
        // A line break can only be pasted; the field hears it as an edit.
        ui().edt_IToolTip->setText(QStringLiteral("x"));
        emit ui().edt_IToolTip->textEdited(QStringLiteral("x\ny"));
        QCOMPARE(ui().edt_IToolTip->text(), QString());
        QVERIFY(asked().back().find("line break") != std::string::npos);
    }

    void closingAModifiedProjectAsksAndCanBeCancelled()
    {
        ui().Insert2->trigger();
        answers() = {"cancel"};
        QVERIFY(!m_window->close());
        QCOMPARE(asked().back(), std::string("question: Save changes to files before Exit?"));
        answers() = {"yes", ""};
        QVERIFY(!m_window->close());
        QVERIFY(ui().Save1->isEnabled());
        answers() = {"no"};
        QVERIFY(m_window->close());
    }
};

QTEST_MAIN(MainFormTest)
#include "MainFormTest.moc"
