// The editor over an installed, read-only prefix, started as the program starts: every file
// it writes must land in the user's folders. Run by installed-prefix.sh, which installs the
// build, checks that the prefix is unchanged afterwards and names the installed program in
// VELLORIA_INSTALLED_PROGRAM.

#include "EditorStart.h"
#include "QtText.h"
#include "TfrmTemplet.h"
#include "common/TempFolder.h"
#include "editor/ScriptedEditorPrompts.h"
#include "platform/BrowserChoice.h"
#include "platform/DesktopIntegration.h"
#include "ui_TMainForm.h"
#include "ui_TfrmTemplet.h"

#include <QApplication>
#include <QMimeDatabase>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

namespace fs = std::filesystem;

namespace {

fs::path installedProgram()
{
    const char *program = std::getenv("VELLORIA_INSTALLED_PROGRAM");
    return program ? fs::path(program) : fs::path();
}

bool hasFiles(const fs::path &folder)
{
    std::error_code error;
    return fs::is_directory(folder, error) && !fs::is_empty(folder, error);
}

} // namespace

class InstalledEditorTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (installedProgram().empty())
            QSKIP("VELLORIA_INSTALLED_PROGRAM names no installed program");
    }

    // The system-wide desktop entry serves an installation: what a run from a build folder
    // registered for the user goes, so the menu shows Velloria once.
    void theStartUsesTheInstallationAndWithdrawsABuildsRegistration()
    {
        const fs::path data = AppFolders::dataHome();
        desktopintegration::registerProjectType("/src/velloria/build/bin/velloria", data);
        const AppFolders folders = EditorStart::preparedFolders(installedProgram());
        QVERIFY(!fs::exists(data / "applications/org.example.velloria.Velloria.desktop"));
        const fs::path prefix = installedProgram().parent_path().parent_path();
        QCOMPARE(folders.resources(), fs::canonical(prefix / "share/velloria"));
        QCOMPARE(folders.writable(), AppFolders::perUserFolder());
        QVERIFY(fs::exists(folders.templates() / "Wide Banner.jfs"));
    }

    // New, Insert, Save, Build HTML, Preview, Save As Template and the template chooser.
    void theEditorWritesOnlyInTheUsersFolders()
    {
        TempFolder work;
        const AppFolders folders = EditorStart::preparedFolders(installedProgram());
        FileSettingsStore settings;
        QtLauncher launcher;
        ScriptedEditorPrompts prompts;
        EditorProject project(folders);
        TMainForm window(prompts, settings, launcher, folders, project);
        window.show();
        Ui::TMainForm &ui = window.ui();

        const std::string browser = work.file("browser");
        // The page name appears whole or not at all: the test polls for the file.
        writeBytes(browser,
                   "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.part\" && mv \"$0.part\" \"$0.page\"\n");
        fs::permissions(browser, fs::perms::owner_all);
        BrowserChoice own;
        own.useDefault = false;
        own.useSpecified = true;
        own.specifiedPath = browser;
        browserchoice::store(settings, own);

        ui.New1->trigger();
        ui.Insert2->trigger();
        ui.trvwDesignPanel->setCurrentItem(ui.trvwDesignPanel->topLevelItem(0)->child(0));
        const fs::path photo = folders.samples() / "photos/harbour.jpg";
        ui.edtOriginalImagePath->setText(toQString(photo.string()));
        prompts.script.answers = {work.file("show.jfs")};
        ui.Save1->trigger();
        QVERIFY(fs::exists(work.file("show.html")));
        QVERIFY(fs::exists(work.file("slider0.jpg")));

        ui.BuildHTML1->trigger();
        QVERIFY(prompts.shownText.find("<!-- BEGIN -->") != std::string::npos);

        ui.Preview1->trigger();
        QTRY_VERIFY(fs::exists(browser + ".page"));
        const fs::path page = readBytes(browser + ".page");
        QCOMPARE(page, folders.preview() / "~preview.html");
        QVERIFY(fs::exists(folders.preview() / "slider0.jpg"));

        const fs::path saved = folders.templates() / "Mine.jfs";
        prompts.script.answers = {saved.string()};
        ui.SaveAsTemplate1->trigger();
        QVERIFY(fs::exists(saved));
        TfrmTemplet chooser(folders.templates(), settings, prompts.script);
        QCOMPARE(chooser.ui().TempletList->count(), 5);
        // A template opens as an untitled copy and never goes to the recent files.
        prompts.script.answers = {saved.string()};
        ui.Templet1->trigger();
        QCOMPARE(window.commands().currentFileName(), std::string());
        window.commands().openProjectFile(work.file("show.jfs"));

        const std::string recent = readBytes(folders.recentFiles().string());
        QVERIFY(recent.find("show.jfs") != std::string::npos);
        QVERIFY(recent.find("Mine.jfs") == std::string::npos);
        QVERIFY(fs::exists(FileSettingsStore::defaultPath()));
        QVERIFY(hasFiles(SlideCache::defaultFolder()));
        for (const std::string &asked : prompts.script.asked)
            QVERIFY2(asked.rfind("error", 0) != 0, asked.c_str());
        window.close();
        QVERIFY(!fs::exists(folders.preview()));
    }

    // The installed type knows a project by its name and, renamed, by its first line.
    void theInstalledMimeTypeKnowsAProject()
    {
        TempFolder work;
        writeBytes(work.file("renamed"), "<Warning_Info>\r\nNote: This file was created\r\n");
        writeBytes(work.file("show.jfs"), "");
        const QMimeDatabase mime;
        for (const char *name : {"renamed", "show.jfs"})
            QCOMPARE(mime.mimeTypeForFile(toQString(work.file(name))).name(),
                     QStringLiteral("application/x-velloria-project"));
    }
};

QTEST_MAIN(InstalledEditorTest)
#include "InstalledEditorTest.moc"
