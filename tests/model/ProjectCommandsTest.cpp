// The project commands as the editor runs them: what they ask, what they leave on disk and
// in the project, and how cancelling and the modified flag behave.

#include "model/ProjectCommands.h"

#include "SyntheticPhoto.h"
#include "common/RecordingProgress.h"
#include "common/ScriptedPrompts.h"
#include "common/TempFolder.h"
#include "generate/ShowBuilder.h"
#include "model/InMemoryDesignTree.h"
#include "model/PlainPropertyPages.h"
#include "model/ProjectEdits.h"
#include "platform/ProjectLock.h"
#include "platform/VelloriaError.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class RecordingEvents : public ProjectEvents
{
public:
    void modifiedChanged(bool modified) override { saveEnabled = modified; }
    void projectOpened(const std::string &fileName) override { opened.push_back(fileName); }

    bool saveEnabled = false;
    std::vector<std::string> opened;
};

const std::string saveQuestion = "question: Save changes to files?";
const std::string saveDialog = std::string("save: ") + ProjectCommands::projectFilter + " in ";

class Commands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writeBytes((install / "velloria.js").string(), "// runtime");
        commands.newProject();
    }
    DesignTree::Node addItem(const std::string &original = "")
    {
        commands.insertItem(tree.root());
        const DesignTree::Node node = tree.nodeAt(tree.count() - 1);
        TItemData item = agent.GetItem(tree.count() - 2);
        item.IOriginalImagePath = original;
        agent.SetItem(item, tree.count() - 2);
        return node;
    }
    std::string file(const std::string &name) const { return folder.file(name); }

    TempFolder folder;
    fs::path install = folder.path();
    TzybAppletAgent agent{install};
    ShowBuilder builder{agent};
    InMemoryDesignTree tree;
    PlainPropertyPages pages;
    ScriptedPrompts prompts;
    RecordingEvents events;
    ProjectCommands commands{agent, builder, tree, pages, prompts, events, install / "templates"};
};

struct AskCase
{
    const char *answer; // to "Save changes to files?"
    const char *dialog; // the save dialog's answer, when it comes
    bool goesOn;        // New makes the new project
    bool saved;         // demo.jfs was written
};

class AskingToSave : public Commands, public ::testing::WithParamInterface<AskCase>
{};

// A modified, never saved project, then New.
TEST_P(AskingToSave, followsTheAnswerAndTheSaveDialog)
{
    addItem();
    const std::string dialog = GetParam().dialog;
    prompts.answers = {GetParam().answer, dialog.empty() ? dialog : file(dialog)};
    commands.newProject();
    EXPECT_EQ(prompts.asked.front(), saveQuestion);
    EXPECT_EQ(agent.itemCount(), GetParam().goesOn ? 0 : 1);
    EXPECT_EQ(commands.modified(), !GetParam().goesOn);
    EXPECT_EQ(events.saveEnabled, commands.modified());
    EXPECT_EQ(fs::exists(file("demo.jfs")), GetParam().saved);
}

INSTANTIATE_TEST_SUITE_P(Commands, AskingToSave,
                         ::testing::Values(AskCase{"cancel", "", false, false},
                                           AskCase{"no", "", true, false},
                                           AskCase{"yes", "", false, false},
                                           AskCase{"yes", "demo", true, true}));

TEST_F(Commands, anUnmodifiedProjectIsLeftWithoutAQuestion)
{
    prompts.answers = {""};
    commands.open();
    commands.newProject();
    EXPECT_EQ(prompts.asked,
              std::vector<std::string>{std::string("open: ") + ProjectCommands::projectFilter});
    EXPECT_TRUE(commands.closeQuery());
}

TEST_F(Commands, aNameWithoutExtensionIsSavedAsJfsAndSavedAgainWithoutADialog)
{
    addItem();
    prompts.answers = {file("demo")};
    ASSERT_TRUE(commands.save());
    EXPECT_TRUE(fs::exists(file("demo.jfs")));
    EXPECT_EQ(commands.currentFileName(), file("demo"));
    EXPECT_FALSE(events.saveEnabled);
    fs::remove(file("demo.jfs"));
    addItem();
    EXPECT_TRUE(commands.save());
    EXPECT_TRUE(fs::exists(file("demo.jfs")));
    EXPECT_EQ(prompts.asked, std::vector<std::string>{saveDialog});
    EXPECT_EQ(events.opened, std::vector<std::string>{file("demo.jfs")})
        << "the dialog's name joins the recent files, saving again adds nothing";
}

// The editor's saves wait for a command that holds the project, then give up and change
// nothing.
TEST_F(Commands, aSaveWaitsForTheProjectsLockWhenAskedTo)
{
    addItem();
    commands.saveAsPath(file("show.jfs"));
    const std::string saved = readBytes(file("show.jfs"));
    const ProjectLock heldElsewhere(file("show.jfs"));
    commands.lockProjectWhileSaving(std::chrono::milliseconds(100));
    addItem();
    try {
        commands.saveAsPath(file("show.jfs"));
        ADD_FAILURE() << "saved over a held project";
    } catch (const VelloriaError &e) {
        EXPECT_NE(std::string(e.what()).find("is busy"), std::string::npos) << e.what();
    }
    EXPECT_EQ(readBytes(file("show.jfs")), saved);
    EXPECT_TRUE(commands.modified());
}

TEST_F(Commands, openedProjectsComeBackAndGoToTheRecentFiles)
{
    addItem();
    addItem();
    pages.applet.pSliderName = "  Demo ";
    prompts.answers = {file("show.jfs")};
    commands.saveAs();
    EXPECT_EQ(agent.GetAppletData().pSliderDivID, "Demo_div");
    commands.newProject();
    prompts.answers = {file("show.jfs")};
    commands.open();
    EXPECT_EQ(agent.itemCount(), 2);
    EXPECT_EQ(pages.applet.pConfigName, "Democfg");
    // Once as it was saved under its name, once as it was opened.
    EXPECT_EQ(events.opened, std::vector<std::string>(2, file("show.jfs")));
    EXPECT_FALSE(commands.modified());

    writeBytes(file("other.jfs"), "<Product_Name>\r\nOther\r\n");
    EXPECT_EQ(commands.openProjectFile(file("other.jfs")), LoadResult::Refused);
    EXPECT_EQ(commands.currentFileName(), file("show.jfs"));
    EXPECT_EQ(agent.itemCount(), 2);
    EXPECT_EQ(events.opened.size(), 2u);
    EXPECT_EQ(prompts.asked.back(), "error: This file wasn't saved by Velloria 1.0, open failed!");
    writeBytes(file("empty.jfs"), "");
    EXPECT_EQ(commands.openProjectFile(file("empty.jfs")), LoadResult::NoProject);
    EXPECT_EQ(prompts.asked.back(), "error: \"" + file("empty.jfs") +
                                        "\" holds no Velloria project; nothing was opened.");
    EXPECT_EQ(commands.currentFileName(), file("show.jfs"));
}

TEST_F(Commands, theCommandLineJoinsItsPartsAndDropsErrors)
{
    addItem();
    prompts.answers = {file("my show.jfs")};
    commands.saveAs();
    commands.newProject();
    commands.openFromCommandLine({folder.path().string() + "/my", "show.jfs"});
    EXPECT_EQ(commands.currentFileName(), file("my show.jfs"));
    EXPECT_NO_THROW(commands.openFromCommandLine({file("missing.jfs")}));
    EXPECT_EQ(agent.itemCount(), 1);
}

TEST_F(Commands, aTemplateIsSavedFromTheTemplatesFolderWhichStaysTheDialogsFolder)
{
    addItem();
    prompts.answers = {(install / "templates" / "mine.jfs").string(), ""};
    EXPECT_TRUE(commands.saveAsTemplate());
    EXPECT_TRUE(fs::exists(install / "templates" / "mine.jfs"));
    EXPECT_FALSE(commands.saveAs());
    const std::string inTemplates = saveDialog + (install / "templates").string();
    EXPECT_EQ(prompts.asked, (std::vector<std::string>{inTemplates, inTemplates}));
}

// A folder gives its JPEG files as a file manager lists them, subfolders left out; a file
// that cannot become a slide refuses the whole choice, naming every such file.
TEST_F(Commands, addedPicturesAreCheckedFirstAndAFolderGivesItsJpegsSortedByName)
{
    fs::create_directories(folder.path() / "trip" / "inner");
    fs::create_directory(folder.path() / "empty");
    const SyntheticPhoto photo(16, 12);
    for (const char *name : {"b 10.jpg", "B 9.JPG", "a.jfif", "inner/c.jpg"})
        photo.writeJpeg((folder.path() / "trip" / name).string());
    writeBytes(file("trip/notes.txt"), "not a picture");
    writeBytes(file("holiday.png"), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    writeBytes(file("cut.jpg"), "\xff\xd8\xff");
    commands.addPictures(tree.root(), {file("trip"), file("trip/b 10.jpg")});
    std::vector<std::string> added;
    for (int i = 0; i < agent.itemCount(); ++i)
        added.push_back(fs::path(agent.GetItem(i).IOriginalImagePath).filename().string());
    EXPECT_EQ(added, (std::vector<std::string>{"a.jfif", "B 9.JPG", "b 10.jpg", "b 10.jpg"}));
    EXPECT_EQ(commands.history().undoName(), "Add Pictures");
    const auto refusal = [&](const std::vector<std::string> &chosen) {
        try {
            commands.addPictures(tree.root(), chosen);
        } catch (const ProjectValueError &e) {
            return std::string(e.what());
        }
        return std::string("added");
    };
    EXPECT_EQ(refusal({file("holiday.png")}),
              "holiday.png is a PNG picture; Velloria makes slides from JPEG files");
    const std::string both = refusal({file("trip/a.jfif"), file("cut.jpg"), file("holiday.png")});
    EXPECT_EQ(both.rfind("No picture was added:\nCannot read picture \"" + file("cut.jpg"), 0), 0u)
        << both;
    EXPECT_NE(both.find("\nholiday.png is a PNG picture"), std::string::npos) << both;
    EXPECT_EQ(refusal({file("empty/")}), "empty holds no JPEG pictures");
    EXPECT_EQ(agent.itemCount(), 4);
    EXPECT_EQ(commands.history().undoName(), "Add Pictures");
    commands.undo();
    EXPECT_EQ(agent.itemCount(), 0);
}

TEST_F(Commands, deleteAsksRefusesTheRootAndTakesWholeSubtrees)
{
    commands.deleteItem(tree.root());
    EXPECT_EQ(prompts.asked.back(), "error: Root item cannot be deleted.");
    EXPECT_FALSE(commands.modified());
    const DesignTree::Node parent = addItem("a");
    agent.insertChildItem(tree, parent);
    agent.insertChildItem(tree, parent);
    addItem("after");
    prompts.answers = {"no", "yes"};
    commands.deleteItem(parent);
    EXPECT_EQ(agent.itemCount(), 4);
    commands.deleteItem(parent);
    ASSERT_EQ(agent.itemCount(), 1);
    EXPECT_EQ(agent.GetItem(0).IOriginalImagePath, "after");
    EXPECT_EQ(prompts.asked.back(),
              "confirm: Are you sure to delete this item and all its children?");
}

TEST_F(Commands, selectingAnItemStoresTheLastOneAndKeepsItsSlide)
{
    const DesignTree::Node first = addItem("/gone/a.jpg");
    const DesignTree::Node second = addItem("/gone/b.jpg");
    TItemData kept = agent.GetItem(0);
    kept.IImageFileName = "slider0.jpg";
    agent.SetItem(kept, 0);
    commands.setModified(false);
    commands.selectionChanged(first);
    EXPECT_FALSE(commands.modified()) << "selecting is not a change";
    EXPECT_EQ(pages.item.originalImagePath, "/gone/a.jpg");
    pages.item.link = " page.html ";
    commands.selectionChanged(second);
    EXPECT_EQ(agent.GetItem(0).ILink, "page.html");
    EXPECT_EQ(agent.GetItem(0).IImageFileName, "slider0.jpg") << "the only copy of the slide";
    commands.selectionChanged(first);
    pages.item.originalImagePath = "/other.jpg";
    commands.selectionChanged(tree.root());
    EXPECT_EQ(agent.GetItem(0).IImageFileName, "");
}

struct CloseCase
{
    std::vector<std::string> answers;
    bool closes;
};

class ClosingAModifiedProject : public Commands, public ::testing::WithParamInterface<CloseCase>
{};

TEST_P(ClosingAModifiedProject, closesOnlyWhenTheAnswersSaySo)
{
    addItem();
    prompts.answers = {GetParam().answers.begin(), GetParam().answers.end()};
    EXPECT_EQ(commands.closeQuery(), GetParam().closes);
    EXPECT_EQ(prompts.asked.front(), "question: Save changes to files before Exit?");
    EXPECT_EQ(commands.modified(), !GetParam().closes || GetParam().answers[0] == "no");
}

INSTANTIATE_TEST_SUITE_P(Commands, ClosingAModifiedProject,
                         ::testing::Values(CloseCase{{"cancel"}, false}, CloseCase{{"no"}, true},
                                           CloseCase{{"yes", ""}, false}));

TEST_F(Commands, outputsNeedAnItemAndLeaveOnlyThePreviewBehind)
{
    EXPECT_EQ(commands.buildHtmlText(), std::nullopt);
    EXPECT_EQ(prompts.asked.back(),
              "error: No item to build. Please add item to left pane and try again.");
    addItem(file("gone.jpg"));
    const std::optional<std::string> page = commands.buildHtmlText();
    ASSERT_TRUE(page);
    EXPECT_EQ(std::count(page->begin(), page->end(), '\n'), 23);
    // The preview page alone carries the script that reloads it when the stamp moves.
    const fs::path previewPage = commands.assemblePreview();
    const std::string live = "<script src=\"~live.js\"></script>\r\n";
    EXPECT_EQ(readBytes(previewPage.string()),
              std::string(*page).insert(page->rfind("</body>"), live));
    EXPECT_EQ(page->find("~live.js"), std::string::npos);
    const std::string stamp = readBytes((agent.previewFolder() / "~stamp.js").string());
    commands.refreshPreview();
    EXPECT_NE(readBytes((agent.previewFolder() / "~stamp.js").string()), stamp);
    EXPECT_NE(commands.publishReport().find("End of Publish Report"), std::string::npos);
    EXPECT_EQ(
        filesIn(agent.previewFolder()),
        (std::set<std::string>{"~preview.html", "velloria.js", "velloriacfg.js", "velloria.css",
                               "PublishReport.txt", "~live.js", "~stamp.js"}));
    EXPECT_EQ(filesIn(install), (std::set<std::string>{"preview", "velloria.js"}));
    prompts.answers = {"no"};
    EXPECT_TRUE(commands.closeQuery());
    EXPECT_FALSE(fs::exists(agent.previewFolder()));
}

} // namespace

namespace {

TEST_F(Commands, saveAsAsksBeforeReplacingTheFileItWrites)
{
    writeBytes(file("demo.jfs"), "another project");
    addItem();
    prompts.answers = {file("demo"), "no"};
    EXPECT_FALSE(commands.saveAs());
    EXPECT_EQ(readBytes(file("demo.jfs")), "another project");
    EXPECT_EQ(prompts.asked.back(),
              "confirm: \"" + file("demo.jfs") +
                  "\" already exists. Do you want to replace it with this project?");
    prompts.answers = {file("demo"), "yes"};
    EXPECT_TRUE(commands.saveAs());
    EXPECT_NE(readBytes(file("demo.jfs")), "another project");
    prompts.asked.clear();
    addItem();
    EXPECT_TRUE(commands.save());
    EXPECT_EQ(prompts.asked, std::vector<std::string>{}) << "its own file is no question";
}

struct DiskCase
{
    const char *answer; // to "... was changed by another program ..."
    bool saved;         // this window's project went to disk
    int items;          // items in the window afterwards
};

class ChangedOnDisk : public Commands, public ::testing::WithParamInterface<DiskCase>
{};

// velloria-cli adds an item to the open project; the window then saves its own change.
TEST_P(ChangedOnDisk, asksBeforeOverwritingAnotherProgramsWork)
{
    addItem("mine");
    commands.saveAsPath(file("show.jfs"));
    TzybAppletAgent other(install);
    InMemoryDesignTree otherTree;
    other.LoadFromFile(file("show.jfs"), otherTree);
    other.insertChildItem(otherTree, otherTree.root());
    other.insertChildItem(otherTree, otherTree.root());
    other.SaveToFile(file("show.jfs"));
    const std::string theirs = readBytes(file("show.jfs"));
    addItem("mine too");
    prompts.answers = {GetParam().answer};
    EXPECT_EQ(commands.save(), std::string(GetParam().answer) != "cancel");
    EXPECT_NE(prompts.asked.back().find("was changed by another program"), std::string::npos);
    EXPECT_EQ(readBytes(file("show.jfs")) != theirs, GetParam().saved);
    EXPECT_EQ(agent.itemCount(), GetParam().items);
    EXPECT_EQ(commands.modified(), std::string(GetParam().answer) == "cancel");
}

INSTANTIATE_TEST_SUITE_P(Commands, ChangedOnDisk,
                         ::testing::Values(DiskCase{"cancel", false, 2}, DiskCase{"no", true, 2},
                                           DiskCase{"yes", false, 3}));

// The history keeps its newest steps; the saved state is a place in it, lost once dropped.
TEST(EditHistoryTest, keepsTheNewestStepsAndKnowsTheSavedState)
{
    TzybAppletAgent agent{"/nonexistent"};
    InMemoryDesignTree tree;
    EditTarget target{agent, tree};
    EditHistory history(3);
    auto rename = [&](const std::string &name) {
        TAppletData after = agent.GetAppletData();
        after.pSliderName = name;
        history.perform(std::make_unique<ParametersEdit>("Edit Name", agent.GetAppletData(), after),
                        target);
    };
    agent.SetDefaults();
    rename("a");
    history.markClean();
    rename("b");
    EXPECT_FALSE(history.isClean());
    history.undo(target);
    EXPECT_TRUE(history.isClean());
    EXPECT_EQ(agent.GetAppletData().pSliderName, "a");
    history.redo(target);
    for (const char *name : {"c", "d", "e"})
        rename(name);
    EXPECT_EQ(history.steps(), 3u);
    while (history.canUndo())
        history.undo(target);
    EXPECT_EQ(agent.GetAppletData().pSliderName, "b");
    EXPECT_FALSE(history.isClean()) << "the saved state was dropped with its step";
}

} // namespace

namespace {

// A second show saved into a folder that holds another project's show asks first.
TEST_F(Commands, aSecondShowInOneFolderIsAQuestion)
{
    addItem();
    commands.saveAsPath(file("index.jfs"));
    const std::string config = readBytes(file("velloriacfg.js"));
    prompts.answers = {"no"};
    commands.newProject();
    addItem();
    prompts.answers = {file("gallery.jfs"), "no"};
    EXPECT_FALSE(commands.saveAs());
    EXPECT_NE(prompts.asked.back().find("index.jfs"), std::string::npos) << prompts.asked.back();
    EXPECT_FALSE(fs::exists(file("gallery.jfs")));
    EXPECT_EQ(readBytes(file("velloriacfg.js")), config);
    prompts.answers = {file("gallery.jfs"), "yes"};
    EXPECT_TRUE(commands.saveAs());
    EXPECT_TRUE(fs::exists(file("gallery.jfs")));
    prompts.asked.clear();
    addItem();
    EXPECT_TRUE(commands.save());
    EXPECT_TRUE(prompts.asked.empty()) << "its own show is no question";
}

} // namespace

namespace {

// A read-only project is its owner's word that it stays as it is, whoever saves it.
TEST_F(Commands, aReadOnlyProjectIsNotReplaced)
{
    addItem();
    commands.saveAsPath(file("show.jfs"));
    fs::permissions(file("show.jfs"), fs::perms::owner_read | fs::perms::group_read);
    const std::string before = readBytes(file("show.jfs"));
    addItem();
    EXPECT_THROW(commands.save(), VelloriaError);
    EXPECT_EQ(readBytes(file("show.jfs")), before);
    EXPECT_TRUE(commands.modified());
}

} // namespace
