// Writing project files: exact bytes, values the format cannot hold, failures that must
// leave the old file as it was.

#include "common/RecordingProgress.h"
#include "common/TempFolder.h"
#include "model/ExtractField.h"
#include "model/InMemoryDesignTree.h"
#include "model/TzybAppletAgent.h"
#include "platform/VelloriaError.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

const std::string defaultProject = "<Warning_Info>\r\n"
                                   "Note: This file was created and maintained by Velloria 1.0.\r\n"
                                   "Do not modify it or script project may not be opened again!\r\n"
                                   "</Warning_Info>\r\n"
                                   "<Product_Name>\r\n"
                                   "Velloria\r\n"
                                   "</Product_Name>\r\n"
                                   "<Product_Version>\r\n"
                                   "1.0\r\n"
                                   "</Product_Version>\r\n"
                                   "<Applet_Parameters>\r\n"
                                   "Velloria1#$@Velloria1_DIV#$@160#$@120#$@FFFFFF#$@0#$@30#$@"
                                   "Velloria1Cfg#$@4#$@0#$@FFFF00#$@#$@#$@1#$@\r\n"
                                   "</Applet_Parameters>\r\n"
                                   "<Item_Parameters>\r\n"
                                   "</Item_Parameters>\r\n";

class ProjectFileWrite : public ::testing::Test
{
protected:
    void SetUp() override
    {
        agent.SetDefaults();
        agent.setProgressDisplay(&progress);
    }
    void addItem(const TItemData &item) { agent.InsertItem(agent.itemCount(), item); }

    TempFolder folder;
    RecordingProgress progress;
    TzybAppletAgent agent{folder.path()};
};

TEST_F(ProjectFileWrite, defaultProjectHasFifteenCrLfLines)
{
    agent.SaveToFile(folder.file("p.jfs"));
    EXPECT_EQ(readBytes(folder.file("p.jfs")), defaultProject);
}

TEST_F(ProjectFileWrite, itemLineTerminatesEveryValue)
{
    TItemData item = agent.NewItemData();
    item.ILevel = "0";
    addItem(item);
    addItem({"slider1.jpg", "/p/a b.jpg", "http://x/?a=1", "_blank", "Ünïcode ✓", "157", "120", "1",
             "kept"});
    agent.SaveToFile(folder.file("p.jfs"));
    std::string expected = defaultProject;
    expected.insert(expected.rfind("</Item_Parameters>"),
                    "#$@#$@#$@_self#$@#$@160#$@120#$@0#$@#$@\r\n"
                    "slider1.jpg#$@/p/a b.jpg#$@http://x/?a=1#$@_blank#$@Ünïcode ✓#$@157#$@"
                    "120#$@1#$@kept#$@\r\n");
    EXPECT_EQ(readBytes(folder.file("p.jfs")), expected);
}

TEST_F(ProjectFileWrite, reportsProgressAndResetsIt)
{
    addItem(agent.NewItemData());
    addItem(agent.NewItemData());
    agent.SaveToFile(folder.file("p.jfs"));
    EXPECT_EQ(progress.maximum, 9 * 2 + 15);
    EXPECT_EQ(progress.advanced, 9 * 2 + 15);
    EXPECT_EQ(progress.statuses, std::vector<std::string>{"Saving Data ... ..."});
    EXPECT_EQ(progress.position, 0);
    EXPECT_EQ(progress.status, "");
    EXPECT_FALSE(progress.busy);
}

struct BadValue
{
    bool inItem;
    std::string value;
    const char *message;
};

class RefusedValue : public ProjectFileWrite, public ::testing::WithParamInterface<BadValue>
{};

TEST_P(RefusedValue, leavesTheFileAsItWasAndNamesTheField)
{
    const std::string path = folder.file("p.jfs");
    writeBytes(path, "old content");
    TAppletData data = agent.GetAppletData();
    TItemData item = agent.NewItemData();
    (GetParam().inItem ? item.IToolTip : data.pSliderName) = GetParam().value;
    agent.SetAppletData(data);
    addItem(agent.NewItemData());
    addItem(item);
    try {
        agent.SaveToFile(path);
        FAIL() << "saved a value the format cannot hold";
    } catch (const VelloriaError &e) {
        EXPECT_EQ(std::string(e.what()), GetParam().message);
    }
    EXPECT_EQ(readBytes(path), "old content");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

INSTANTIATE_TEST_SUITE_P(
    ProjectFileWrite, RefusedValue,
    ::testing::Values(
        BadValue{false, "a#$@b",
                 "Slide show, Name: The text can't include \"#$@\", it is used by system!"},
        BadValue{true, "#$@",
                 "Item 2, Tooltip: The text can't include \"#$@\", it is used by system!"},
        BadValue{true, "two\nlines",
                 "Item 2, Tooltip: The text can't include a line break, the project file "
                 "keeps each record on one line."},
        BadValue{false, "cr\r",
                 "Slide show, Name: The text can't include a line break, the project "
                 "file keeps each record on one line."}));

// A disk that fills up half-way through the write, simulated with a file size limit.
TEST_F(ProjectFileWrite, failedWriteKeepsTheOldFileAndNamesIt)
{
    const std::string path = folder.file("p.jfs");
    writeBytes(path, "old content");
    for (int i = 0; i < 100; ++i)
        addItem(agent.NewItemData());
    struct rlimit old
    {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit small = old;
    small.rlim_cur = 1000;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    std::string message;
    try {
        agent.SaveToFile(path);
    } catch (const VelloriaError &e) {
        message = e.what();
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(message, "Cannot write file \"" + path + "\": File too large");
    EXPECT_EQ(readBytes(path), "old content");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
    EXPECT_FALSE(progress.busy);
}

TEST_F(ProjectFileWrite, missingFolderIsReportedWithTheReason)
{
    const std::string path = folder.file("no/such/p.jfs");
    try {
        agent.SaveToFile(path);
        FAIL();
    } catch (const VelloriaError &e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot create file \"" + path + "\": No such file or directory");
    }
    EXPECT_FALSE(progress.busy);
}

TEST_F(ProjectFileWrite, replacingKeepsPermissionsAndFollowsLinks)
{
    const std::string real = folder.file("real.jfs");
    writeBytes(real, "old");
    ::chmod(real.c_str(), 0640);
    std::filesystem::create_symlink(real, folder.file("link.jfs"));
    agent.SaveToFile(folder.file("link.jfs"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.file("link.jfs")));
    EXPECT_EQ(readBytes(real), defaultProject);
    struct stat info
    {};
    ::stat(real.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(ExtractField, takesTheNthTerminatedValue)
{
    const std::string line = "a#$@#$@c#$@tail";
    EXPECT_EQ(ExtractField(line, 1), "a");
    EXPECT_EQ(ExtractField(line, 2), "");
    EXPECT_EQ(ExtractField(line, 3), "c");
    EXPECT_EQ(ExtractField(line, 4), ""); // text after the last separator is never a field
    EXPECT_EQ(ExtractField(line, 9), "");
    EXPECT_EQ(ExtractField("#$#$@", 1), "#$");
    // The reader splits lines in one pass; it must read each field as ExtractField does.
    TzybAppletAgent agent("/nonexistent");
    InMemoryDesignTree tree;
    agent.loadFromText("<Product_Name>\nVelloria\n<Product_Version>\n1\n<Applet_Parameters>\n" +
                           line + "\n<Item_Parameters>\n" + line + "\n</Item_Parameters>\n",
                       tree);
    const TStringArray parameters = TzybAppletAgent::AppletDataToStrings(agent.GetAppletData());
    const TStringArray item = TzybAppletAgent::ItemDataToStrings(agent.GetItem(0));
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(parameters[static_cast<std::size_t>(n - 1)], ExtractField(line, n)) << n;
        EXPECT_EQ(item[static_cast<std::size_t>(n - 1)], ExtractField(line, n)) << n;
    }
}

} // namespace
