// The preview folder copies, records and clears, and never reports a failure.

#include "common/RecordingProgress.h"
#include "common/TempFolder.h"
#include "model/TzybAppletAgent.h"
#include "platform/VelloriaError.h"

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

// A link where the preview folder belongs is neither written nor cleared through, whether it
// stood there from the start or replaced the folder after the copies.
TEST_F(Preview, aLinkInPlaceOfTheFolderLeavesWhatItPointsAtAlone)
{
    for (const bool linkedFirst : {true, false}) {
        SCOPED_TRACE(linkedFirst ? "linked from the start" : "linked after the copies");
        TempFolder elsewhere;
        writeBytes(elsewhere.file("a.jpg"), "the user's");
        writeBytes(elsewhere.file("slider1.jpg"), "the user's");
        if (linkedFirst)
            fs::create_directory_symlink(elsewhere.path(), preview());
        PreviewFolder scratch(preview());
        scratch.copyIn(source("a.jpg", "copy"));
        if (linkedFirst) {
            try {
                scratch.writeIn("slider1.jpg", "slide");
                ADD_FAILURE() << "wrote through the link";
            } catch (const VelloriaError &e) {
                EXPECT_NE(std::string(e.what()).find("preview\": it is a symbolic link"),
                          std::string::npos)
                    << e.what();
            }
        } else {
            scratch.writeIn("slider1.jpg", "slide");
            fs::remove_all(preview());
            fs::create_directory_symlink(elsewhere.path(), preview());
        }
        scratch.clear();
        EXPECT_EQ(readBytes(elsewhere.file("a.jpg")), "the user's");
        EXPECT_EQ(readBytes(elsewhere.file("slider1.jpg")), "the user's");
        EXPECT_TRUE(fs::is_symlink(preview()));
        fs::remove(preview());
    }
}

} // namespace
