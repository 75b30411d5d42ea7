// Where the program looks for what it ships and where it writes, built and installed.

#include "platform/AppFolders.h"

#include "common/TempFolder.h"
#include "generate/ProjectChecks.h"
#include "generate/ShowBuilder.h"
#include "model/InMemoryDesignTree.h"
#include "model/PageStore.h"
#include "model/TzybAppletAgent.h"
#include "platform/DesktopIntegration.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

TEST(AppFolders, builtTheProgramFolderServesBothInstalledTheResourcesLieInShare)
{
    TempFolder folder;
    fs::create_directories(folder.path() / "build/bin/resources");
    const AppFolders built = AppFolders::forProgram(folder.path() / "build/bin");
    EXPECT_EQ(built.resources(), folder.path() / "build/bin/resources");
    EXPECT_EQ(built.writable(), folder.path() / "build/bin");

    fs::create_directories(folder.path() / "prefix/bin");
    fs::create_directories(folder.path() / "prefix/share/velloria");
    const AppFolders installed = AppFolders::forProgram(folder.path() / "prefix/bin");
    EXPECT_EQ(installed.runtimeScript(), folder.path() / "prefix/share/velloria/velloria.js");
    // A prefix the user may write in (~/.local, or /usr/local for root) is still not written.
    EXPECT_EQ(installed.writable(), AppFolders::perUserFolder());
    EXPECT_TRUE(AppFolders::isInstalled(folder.path() / "prefix/bin"));
    EXPECT_FALSE(AppFolders::isInstalled(folder.path() / "build/bin"));

    // A folder no one can write in, as an installation under /usr is for a user.
    EXPECT_EQ(AppFolders::forProgram("/proc").writable(), AppFolders::perUserFolder());
}

TEST(AppFolders, thePerUserFolderFollowsXdgAndTakesTheTemplatesOnce)
{
    TempFolder folder;
    const char *saved = std::getenv("XDG_DATA_HOME");
    ::setenv("XDG_DATA_HOME", "relative/path", 1);
    EXPECT_EQ(AppFolders::perUserFolder().parent_path().filename(), "share");
    ::setenv("XDG_DATA_HOME", folder.file("data").c_str(), 1);
    const fs::path perUser = AppFolders::perUserFolder();
    saved ? ::setenv("XDG_DATA_HOME", saved, 1) : ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(perUser, folder.path() / "data/velloria");

    fs::create_directories(folder.path() / "shipped/templates");
    writeBytes(folder.file("shipped/templates/Classic.jfs"), "template");
    const AppFolders folders(folder.path() / "shipped", perUser);
    folders.prepareWritable();
    EXPECT_EQ(readBytes((perUser / "templates/Classic.jfs").string()), "template");
    fs::remove(perUser / "templates/Classic.jfs");
    folders.prepareWritable();
    EXPECT_FALSE(fs::exists(perUser / "templates/Classic.jfs")) << "a template the user removed";
}

// What one run writes and throws away goes to its scratch folder; what the user keeps (the
// templates, the recent files) stays in the writable folder, which every run shares.
TEST(AppFolders, aRunsScratchFolderTakesTheGeneratedScriptsAndThePreview)
{
    TempFolder folder;
    fs::create_directory(folder.path() / "data");
    fs::create_directory(folder.path() / "run");
    const AppFolders folders = AppFolders(folder.path() / "shipped", folder.path() / "data")
                                   .withScratch(folder.path() / "run");
    EXPECT_EQ(folders.templates(), folder.path() / "data/templates");
    EXPECT_EQ(folders.recentFiles(), folder.path() / "data/recentfile.dat");
    TzybAppletAgent agent(folders);
    ShowBuilder builder(agent);
    agent.SetDefaults();
    InMemoryDesignTree tree;
    builder.BuildHTML(folder.file("page.html"), tree);
    writeBytes(folder.file("photo.jpg"), "photo");
    agent.CopyToPreview(folder.file("photo.jpg"));
    EXPECT_EQ(filesIn(folder.path() / "run"),
              (std::set<std::string>{"preview", "velloria.css", "velloriacfg.js"}));
    EXPECT_EQ(filesIn(folder.path() / "run/preview"), std::set<std::string>{"photo.jpg"});
    EXPECT_TRUE(fs::is_empty(folder.path() / "data"));
}

// The desktop learns once where the program is; an unchanged entry is left as it is, and a
// folder that cannot be written stops nothing.
TEST(DesktopIntegration, writesTheEntryAndTheTypeOnlyWhenTheyDiffer)
{
    TempFolder folder;
    const fs::path program = "/opt/my tools/velloria";
    EXPECT_TRUE(desktopintegration::registerProjectType(program, folder.path()));
    const std::string entry =
        readBytes(folder.file("applications/org.example.velloria.Velloria.desktop"));
    EXPECT_NE(entry.find("Exec=\"/opt/my tools/velloria\" %f\n"), std::string::npos) << entry;
    // The menu drops the entry once the program is gone, as with the build folder removed.
    EXPECT_NE(entry.find("\nTryExec=/opt/my tools/velloria\n"), std::string::npos) << entry;
    EXPECT_NE(
        readBytes(folder.file("mime/packages/org.example.velloria.Velloria.xml")).find("*.jfs"),
        std::string::npos);
    EXPECT_FALSE(desktopintegration::registerProjectType(program, folder.path()));
    EXPECT_TRUE(desktopintegration::registerProjectType("/usr/bin/velloria", folder.path()));
    EXPECT_FALSE(desktopintegration::registerProjectType(program, "/proc/no-such-place"));
    EXPECT_EQ(desktopintegration::quotedForExec("/a/$b\\c"), "\"/a/\\$b\\\\c\"");
}

// The Exec line as a desktop reads it: string escapes first, then the command line's quoting,
// with "%" a field code. A path no entry can hold is not registered at all.
TEST(DesktopIntegration, escapesTheExecLineTwiceAndSkipsPathsNoEntryCanHold)
{
    const std::pair<const char *, const char *> cases[] = {
        {"/opt/100%/velloria", "Exec=\"/opt/100%%/velloria\" %f\n"},
        {"/opt/a\nb/velloria", "Exec=\"/opt/a\\nb/velloria\" %f\n"},
        {"/opt/$x\\y/velloria", "Exec=\"/opt/\\\\$x\\\\\\\\y/velloria\" %f\n"},
        {"/opt/caf\xC3\xA9/velloria", "Exec=\"/opt/caf\xC3\xA9/velloria\" %f\n"},
        {"/opt/a\x1b]0;x\x07/velloria", nullptr},
        {"/opt/caf\xE9/velloria", nullptr},
    };
    for (const auto &[program, exec] : cases) {
        TempFolder folder;
        const bool written = desktopintegration::registerProjectType(program, folder.path());
        const fs::path entry = folder.path() / "applications/org.example.velloria.Velloria.desktop";
        EXPECT_EQ(written, exec != nullptr) << program;
        if (exec)
            EXPECT_NE(readBytes(entry).find(exec), std::string::npos) << readBytes(entry);
        else
            EXPECT_FALSE(fs::exists(entry)) << program;
    }
}

// An installed program leaves the menu to the system-wide entry: it removes what a run from
// the build folder registered, and the older builds' files, but never a file the user made.
TEST(DesktopIntegration, anInstalledProgramWithdrawsOnlyWhatABuildRegistered)
{
    TempFolder folder;
    const fs::path data = folder.path();
    const fs::path entry = data / "applications/org.example.velloria.Velloria.desktop";
    const fs::path older = data / "applications/velloria.desktop";
    fs::create_directories(older.parent_path());
    writeBytes(older.string(), "[Desktop Entry]\nMimeType=application/x-velloria-project;\n");
    EXPECT_TRUE(desktopintegration::updateForProgram("/src/build/bin/velloria", false, data));
    EXPECT_FALSE(fs::exists(older)) << "two Velloria entries in the menu";
    EXPECT_TRUE(fs::exists(entry));

    EXPECT_TRUE(desktopintegration::updateForProgram("/usr/bin/velloria", true, data));
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_FALSE(fs::exists(data / "mime/packages/org.example.velloria.Velloria.xml"));
    EXPECT_FALSE(desktopintegration::updateForProgram("/usr/bin/velloria", true, data));

    const std::string own = "[Desktop Entry]\nName=Velloria\nExec=velloria --my-flags %f\n";
    writeBytes(entry.string(), own);
    EXPECT_FALSE(desktopintegration::updateForProgram("/usr/bin/velloria", true, data));
    EXPECT_EQ(readBytes(entry.string()), own);
}

// The shipped templates are whole projects without items whose values make a working show.
TEST(AppFolders, theShippedTemplatesOpenAndBuild)
{
    int count = 0;
    for (const auto &entry : fs::directory_iterator(fs::path(VELLORIA_RESOURCES) / "templates")) {
        SCOPED_TRACE(entry.path().string());
        TzybAppletAgent agent("/nonexistent");
        InMemoryDesignTree tree;
        EXPECT_EQ(agent.LoadFromFile(entry.path().string(), tree), LoadResult::Loaded);
        EXPECT_EQ(agent.itemCount(), 0);
        const TAppletData stored = storedAppletPages(agent.GetAppletData());
        EXPECT_EQ(stored.pSliderDivID, agent.GetAppletData().pSliderDivID);
        EXPECT_NO_THROW(checkParametersForBuild(stored));
        ++count;
    }
    EXPECT_GE(count, 4);
}

} // namespace
