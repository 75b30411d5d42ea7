// The preview folder copies, records and clears, and never reports a failure.

#include "common/RecordingProgress.h"
#include "common/TempFolder.h"
#include "model/TzybAppletAgent.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class Preview : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directory(folder.path() / "project");
        agent.setProgressDisplay(&progress);
    }
    std::string source(const std::string &name, const std::string &content = "data")
    {
        const std::string path = (folder.path() / "project" / name).string();
        writeBytes(path, content);
        return path;
    }
    std::string projectFolder() const { return (folder.path() / "project").string() + "/"; }
    fs::path preview() const { return folder.path() / "preview"; }

    TempFolder folder;
    RecordingProgress progress;
    TzybAppletAgent agent{folder.path()};
};

TEST_F(Preview, copiesAndRecordsEvenWhenTheSourceIsMissing)
{
    agent.CopyToPreview(source("a.jpg", "A"));
    agent.CopyToPreview(folder.file("project/missing.jpg"));
    EXPECT_EQ(readBytes((preview() / "a.jpg").string()), "A");
    EXPECT_FALSE(fs::exists(preview() / "missing.jpg"));
    EXPECT_EQ(agent.previewFiles(), (TStringArray{"a.jpg", "missing.jpg"}));
    agent.ClearPreview();
    EXPECT_FALSE(fs::exists(preview()));
    EXPECT_TRUE(agent.previewFiles().empty());
}

TEST_F(Preview, aNameCopiedTwiceIsListedTwiceAndClearedOnce)
{
    const std::string a = source("a.jpg", "old");
    agent.CopyToPreview(a);
    writeBytes(a, "new");
    agent.CopyToPreview(a);
    EXPECT_EQ(readBytes((preview() / "a.jpg").string()), "new");
    EXPECT_EQ(agent.previewFiles(), (TStringArray{"a.jpg", "a.jpg"}));
    agent.ClearPreview();
    EXPECT_FALSE(fs::exists(preview()));
}

TEST_F(Preview, clearingLeavesFilesItDidNotCopy)
{
    agent.CopyToPreview(source("a.jpg"));
    writeBytes((preview() / "user.txt").string(), "mine");
    agent.ClearPreview();
    EXPECT_FALSE(fs::exists(preview() / "a.jpg"));
    EXPECT_EQ(readBytes((preview() / "user.txt").string()), "mine");
    fs::remove(preview() / "user.txt");
    agent.ClearPreview(); // an empty list removes the now empty folder
    EXPECT_FALSE(fs::exists(preview()));
}

TEST_F(Preview, scriptFilesAreCopiedAndTheGeneratedOnesMoved)
{
    source("velloria.js", "runtime");
    source("velloriacfg.js", "cfg");
    source("velloria.css", "css");
    agent.CopyScriptFilesToPreview(projectFolder());
    EXPECT_EQ(agent.previewFiles(),
              (TStringArray{"velloria.js", "velloriacfg.js", "velloria.css"}));
    EXPECT_EQ(readBytes((preview() / "velloriacfg.js").string()), "cfg");
    EXPECT_TRUE(fs::exists(folder.path() / "project/velloria.js"));
    EXPECT_FALSE(fs::exists(folder.path() / "project/velloriacfg.js"));
    EXPECT_FALSE(fs::exists(folder.path() / "project/velloria.css"));
}

TEST_F(Preview, slideImagesComeFromTheGivenFolderOnly)
{
    source("slider0.jpg");
    writeBytes(folder.file("secret.txt"), "not for the web");
    agent.InsertItem(0, {"slider0.jpg", "", "", "", "", "", "", "0", ""});
    agent.InsertItem(1, {"", "", "", "", "", "", "", "0", ""});
    agent.InsertItem(2, {"../secret.txt", "", "", "", "", "", "", "0", ""});
    agent.CopyResourceFiles(projectFolder());
    EXPECT_EQ(agent.previewFiles(), TStringArray{"slider0.jpg"});
    EXPECT_FALSE(fs::exists(preview() / "secret.txt"));
    EXPECT_EQ(progress.statuses, std::vector<std::string>{"Copying Resource Files ... ..."});
    EXPECT_EQ(progress.maximum, 100);
    EXPECT_EQ(progress.advanced, 100);
    EXPECT_EQ(progress.position, 0);
    EXPECT_FALSE(progress.busy);
}

} // namespace
