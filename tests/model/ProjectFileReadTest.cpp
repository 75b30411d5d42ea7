// Reading project files: what is taken from where, and what a damaged or foreign file
// leaves behind. After every load the tree must show exactly the agent's items.

#include "common/RecordingProgress.h"
#include "common/TempFolder.h"
#include "model/InMemoryDesignTree.h"
#include "model/TzybAppletAgent.h"
#include "platform/VelloriaError.h"

#include <gtest/gtest.h>

namespace {

const std::string params = "Show#$@Show_div#$@300#$@200#$@00FF00#$@5#$@10#$@Showcfg#$@2#$@3#$@"
                           "0000FF#$@/local#$@http://remote#$@0#$@";

std::string projectText(const std::vector<std::string> &itemLines, const std::string &end = "\r\n")
{
    std::string text = "<Warning_Info>\r\nNote\r\n</Warning_Info>\r\n<Product_Name>\r\nVelloria\r\n"
                       "</Product_Name>\r\n<Product_Version>\r\n1.0\r\n</Product_Version>\r\n"
                       "<Applet_Parameters>\r\n" +
                       params + "\r\n</Applet_Parameters>\r\n<Item_Parameters>\r\n";
    for (const std::string &line : itemLines)
        text += line + "\r\n";
    return text + "</Item_Parameters>" + end;
}

class ProjectFileRead : public ::testing::Test
{
protected:
    void SetUp() override
    {
        agent.setProgressDisplay(&progress);
        agent.setMessageSink(&messages);
        agent.SetDefaults();
    }

    LoadResult load(const std::string &text)
    {
        writeBytes(folder.file("p.jfs"), text);
        return agent.LoadFromFile(folder.file("p.jfs"), tree);
    }

    // A loaded earlier project, to see what a failing load keeps.
    void loadPrevious()
    {
        ASSERT_EQ(load(projectText({"a#$@", "b#$@#$@#$@#$@#$@#$@#$@1#$@"})), LoadResult::Loaded);
        previous = agent.GetAppletData();
        previous.pSliderName = "Previous";
        agent.SetAppletData(previous);
    }

    void expectTreeMatchesItems()
    {
        ASSERT_EQ(tree.count(), agent.itemCount() + 1);
        for (int i = 0; i < agent.itemCount(); ++i)
            EXPECT_EQ(tree.caption(tree.nodeAt(i + 1)), "Image");
    }

    TempFolder folder;
    RecordingProgress progress;
    RecordingMessages messages;
    TzybAppletAgent agent{folder.path()};
    InMemoryDesignTree tree;
    TAppletData previous;
};

TEST_F(ProjectFileRead, savedProjectsComeBackUnchanged)
{
    agent.InsertItem(
        0, {"slider0.jpg", "/a/b.jpg", "http://x", "_top", "tip", "160", "120", "0", "r"});
    agent.InsertItem(1, {"", "/a/\xff\xfe.jpg", "", "_self", "Ünï", "1", "2", "1", ""});
    agent.InsertItem(2, agent.NewItemData());
    const TAppletData data = agent.GetAppletData();
    const TItemArray items = agent.items();
    agent.SaveToFile(folder.file("p.jfs"));
    agent.SetDefaults();
    EXPECT_EQ(agent.LoadFromFile(folder.file("p.jfs"), tree), LoadResult::Loaded);
    EXPECT_EQ(agent.GetAppletData(), data);
    EXPECT_EQ(agent.items(), items);
    expectTreeMatchesItems();
    EXPECT_EQ(tree.depth(tree.nodeAt(2)), 2);
    EXPECT_EQ(tree.depth(tree.nodeAt(3)), 1); // the empty level reads as 0
}

TEST_F(ProjectFileRead, linesAroundTheTagsAreIgnoredAndPositionsAreLiteral)
{
    const std::string text = "junk\r\n<Product_Name>\r\nVelloria\r\nx\r\n<Product_Version>\r\n"
                             "<Applet_Parameters>\r\ny\r\n<Applet_Parameters>\r\n" +
                             params +
                             "\r\nz\r\n<Item_Parameters>\r\n#$@\r\n\r\n"
                             "</Item_Parameters>\r\nafter\r\n";
    EXPECT_EQ(load(text), LoadResult::Loaded);
    EXPECT_EQ(agent.GetAppletData().pSliderName, "Show");
    EXPECT_EQ(agent.GetAppletData().pInternalUse_RootDir_Local_Checked, "0");
    ASSERT_EQ(agent.itemCount(), 2); // an empty line in the section is an item too
    EXPECT_EQ(agent.GetItem(1), TItemData{});
    expectTreeMatchesItems();
}

TEST_F(ProjectFileRead, lineFeedsAloneAndAMissingLastLineEndReadAlike)
{
    std::string text = projectText({"a#$@", "b#$@"}, "");
    EXPECT_EQ(load(text), LoadResult::Loaded);
    const TItemArray crlf = agent.items();
    std::erase(text, '\r');
    EXPECT_EQ(load(text), LoadResult::Loaded);
    EXPECT_EQ(agent.items(), crlf);
    EXPECT_EQ(agent.GetItem(1).IImageFileName, "b");
}

TEST_F(ProjectFileRead, anyVersionIsReadAndValuesAfterTheLastSeparatorAreDropped)
{
    std::string text = projectText({"a#$@b#$@extra"});
    text.replace(text.find("1.0"), 3, "7.3beta");
    text.replace(text.find("#$@0#$@"), 7, "#$@0#$@9");
    text.replace(text.find("/local#$@"), 9, "/local");
    EXPECT_EQ(load(text), LoadResult::Loaded);
    EXPECT_EQ(agent.GetAppletData().pInternalUse_RootDir_Local, "/localhttp://remote");
    EXPECT_EQ(agent.GetAppletData().pInternalUse_RootDir_Remote, "0");
    EXPECT_EQ(agent.GetAppletData().pInternalUse_RootDir_Local_Checked, "");
    EXPECT_EQ(agent.GetItem(0).IOriginalImagePath, "b");
    EXPECT_EQ(agent.GetItem(0).ILink, "");
}

class ForeignProduct : public ProjectFileRead, public ::testing::WithParamInterface<const char *>
{};

TEST_P(ForeignProduct, isRefusedAndChangesNothing)
{
    loadPrevious();
    std::string text = projectText({"x#$@"});
    text.replace(text.find("Velloria"), 8, GetParam());
    EXPECT_EQ(load(text), LoadResult::Refused);
    EXPECT_EQ(messages.errors,
              std::vector<std::string>{"This file wasn't saved by Velloria 1.0, open failed!"});
    EXPECT_EQ(agent.GetAppletData(), previous);
    EXPECT_EQ(agent.itemCount(), 2);
    expectTreeMatchesItems();
}

INSTANTIATE_TEST_SUITE_P(ProjectFileRead, ForeignProduct,
                         ::testing::Values("velloria", "Velloria ", "Other", ""));

struct Cut
{
    const char *after; // the text is cut right after the first occurrence of this
    LoadResult result;
    bool newParameters;
    int items;
};

class CutShort : public ProjectFileRead, public ::testing::WithParamInterface<Cut>
{};

TEST_P(CutShort, keepsWhatTheFileHeldAndTheTreeAgrees)
{
    loadPrevious();
    const std::string text = projectText({"a#$@", "", "c#$@"});
    const std::string after = GetParam().after;
    EXPECT_EQ(load(text.substr(0, text.find(after) + after.size())), GetParam().result);
    EXPECT_EQ(agent.GetAppletData() == previous, !GetParam().newParameters);
    EXPECT_EQ(agent.itemCount(), GetParam().items);
    expectTreeMatchesItems();
    EXPECT_TRUE(messages.errors.empty());
    EXPECT_EQ(progress.status, "");
    EXPECT_FALSE(progress.busy);
}

INSTANTIATE_TEST_SUITE_P(
    ProjectFileRead, CutShort,
    ::testing::Values(Cut{"<Product_Name>", LoadResult::NoProject, false, 2},
                      Cut{"<Applet_Parameters>\r\n", LoadResult::NoProject, false, 2},
                      Cut{"http://remote#$@0#$@\r\n", LoadResult::NoItemList, true, 0},
                      Cut{"300#$@", LoadResult::NoItemList, true, 0},
                      Cut{"<Item_Parameters>", LoadResult::Incomplete, true, 0},
                      Cut{"a#$@\r\n\r\n", LoadResult::Incomplete, true, 2},
                      Cut{"c#$@", LoadResult::Incomplete, true, 3},
                      Cut{"</Item_Parameters>", LoadResult::Loaded, true, 3}));

TEST_F(ProjectFileRead, emptyFileEndsSilently)
{
    loadPrevious();
    EXPECT_EQ(load(""), LoadResult::NoProject);
    EXPECT_EQ(agent.GetAppletData(), previous);
    EXPECT_TRUE(messages.errors.empty());
    expectTreeMatchesItems();
}

TEST_F(ProjectFileRead, unreadableFileRaisesAndKeepsTheProject)
{
    loadPrevious();
    for (const std::string &path : {folder.file("missing.jfs"), folder.path().string()}) {
        try {
            agent.LoadFromFile(path, tree);
            FAIL() << path;
        } catch (const VelloriaError &e) {
            EXPECT_NE(std::string(e.what()).find("Cannot open file \"" + path + "\": "),
                      std::string::npos);
        }
        EXPECT_EQ(agent.GetAppletData(), previous);
        expectTreeMatchesItems();
    }
}

TEST_F(ProjectFileRead, showsLoadingWhileReadingTheItems)
{
    load(projectText({"a#$@"}));
    EXPECT_EQ(progress.statuses, std::vector<std::string>{"Loading Data ... ..."});
    EXPECT_EQ(progress.status, "");
    EXPECT_FALSE(progress.busy);
    EXPECT_EQ(progress.advanced, 0);
}

TEST_F(ProjectFileRead, loadingReplacesTheWholeTree)
{
    loadPrevious();
    EXPECT_EQ(load(projectText({"x#$@#$@#$@#$@#$@#$@#$@0#$@", "y#$@#$@#$@#$@#$@#$@#$@1#$@",
                                "z#$@#$@#$@#$@#$@#$@#$@0#$@"})),
              LoadResult::Loaded);
    ASSERT_EQ(tree.count(), 4);
    EXPECT_EQ(tree.childCount(tree.root()), 2);
    EXPECT_EQ(tree.depth(tree.nodeAt(2)), 2);
}

} // namespace
