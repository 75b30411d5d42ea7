// The recent files list keeps its file in the form the menu shows, slot numbers included.

#include "platform/RecentFiles.h"

#include "common/TempFolder.h"
#include "platform/VelloriaError.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

using Lines = std::vector<std::string>;

struct AddCase
{
    std::string name;
    std::optional<std::string> before; // nothing: no file
    std::string added;                 // "" adds nothing
    bool changes;
    std::string after; // the file's bytes afterwards
    Lines captions;    // the menu afterwards
};

class RecentFilesAdd : public ::testing::TestWithParam<AddCase>
{};

TEST_P(RecentFilesAdd, keepsFileAndMenuInStep)
{
    const AddCase &c = GetParam();
    TempFolder folder;
    const std::string file = folder.file("recentfile.dat");
    if (c.before)
        writeBytes(file, *c.before);
    RecentFiles recent(file);
    EXPECT_EQ(recent.add(c.added), c.changes);
    EXPECT_EQ(recent.menuCaptions(), c.captions);
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(readBytes(file), c.after);
}

const std::string fourFiles = "&1 /a.jfs\r\n&2 /b.jfs\r\n&3 /c.jfs\r\n&4 /d.jfs\r\n";

INSTANTIATE_TEST_SUITE_P(
    RecentFiles, RecentFilesAdd,
    ::testing::Values(
        AddCase{"missingFileIsCreatedEmpty", std::nullopt, "", false, "", {}},
        AddCase{"firstEntry", std::nullopt, "/new.jfs", true, "&1 /new.jfs\r\n", {"&1 /new.jfs"}},
        AddCase{"sixLinesShowFour",
                "&1 /a\n&2 /b\n&3 /c\n&4 /d\n&5 /e\n&6 /f\n",
                "",
                false,
                "&1 /a\n&2 /b\n&3 /c\n&4 /d\n&5 /e\n&6 /f\n",
                {"&1 /a", "&2 /b", "&3 /c", "&4 /d"}},
        AddCase{"alreadyThirdStaysThird",
                "&1 /a.jfs\n&2 /b.jfs\r\n&3 /c.jfs\n&4 /d.jfs",
                "/c.jfs",
                false,
                "&1 /a.jfs\n&2 /b.jfs\r\n&3 /c.jfs\n&4 /d.jfs",
                {"&1 /a.jfs", "&2 /b.jfs", "&3 /c.jfs", "&4 /d.jfs"}},
        AddCase{"fifthDropsTheFourth",
                fourFiles,
                "/e.jfs",
                true,
                "&1 /e.jfs\r\n&2 /a.jfs\r\n&3 /b.jfs\r\n&4 /c.jfs\r\n",
                {"&1 /e.jfs", "&2 /a.jfs", "&3 /b.jfs", "&4 /c.jfs"}},
        AddCase{"caseMatters",
                fourFiles,
                "/A.jfs",
                true,
                "&1 /A.jfs\r\n&2 /a.jfs\r\n&3 /b.jfs\r\n&4 /c.jfs\r\n",
                {"&1 /A.jfs", "&2 /a.jfs", "&3 /b.jfs", "&4 /c.jfs"}},
        AddCase{"anEmptySlotKeepsTheNumbersAfterIt",
                "&1 /a.jfs\n\n&3 /c.jfs\n",
                "/n.jfs",
                true,
                "&1 /n.jfs\r\n&2 /a.jfs\r\n&4 /c.jfs\r\n",
                {"&1 /n.jfs", "&2 /a.jfs", "&4 /c.jfs"}},
        AddCase{"anyThreeCharactersGo",
                "#9-/x with blanks.jfs\nab\n",
                "/x with blanks.jfs",
                false,
                "#9-/x with blanks.jfs\nab\n",
                {"#9-/x with blanks.jfs", "ab"}}),
    [](const auto &test) { return test.param.name; });

// A project opened by a relative name must be found again from any working folder; a link
// keeps the name the user gave.
TEST(RecentFiles, pathsAreKeptAbsoluteAndNormal)
{
    TempFolder folder;
    std::filesystem::create_directories(folder.path() / "work" / "shows");
    std::filesystem::create_directory_symlink("shows", folder.path() / "work" / "link");
    const std::filesystem::path saved = std::filesystem::current_path();
    std::filesystem::current_path(folder.path() / "work");
    const std::string w = std::filesystem::current_path().string();
    const std::pair<std::string, std::string> cases[] = {
        // added, slot 1 afterwards (unchanged when the file is already listed)
        {"show.jfs", w + "/show.jfs"},
        {w + "//shows/./a.jfs", w + "/shows/a.jfs"},
        {"./shows/../show.jfs", w + "/shows/a.jfs"},
        {"../work/link/a.jfs", w + "/link/a.jfs"},
        {"/a/../../b.jfs", "/b.jfs"},
    };
    RecentFiles recent(folder.file("recentfile.dat"));
    for (const auto &[added, first] : cases) {
        recent.add(added);
        EXPECT_EQ(RecentFiles::pathOfCaption(recent.menuCaptions().front()), first) << added;
    }
    std::filesystem::current_path(saved);
}

TEST(RecentFiles, aFileThatCannotBeWrittenIsNamed)
{
    TempFolder folder;
    writeBytes(folder.file("plain"), "");
    const std::string file = folder.file("plain/velloria/recentfile.dat");
    RecentFiles recent(file);
    EXPECT_TRUE(recent.menuCaptions().empty());
    try {
        recent.add("/a.jfs");
        ADD_FAILURE() << "written below a file";
    } catch (const VelloriaError &e) {
        // The folder that cannot be made, and the real reason, not a missing file.
        EXPECT_NE(std::string(e.what()).find(folder.file("plain/velloria")), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("Not a directory"), std::string::npos) << e.what();
    }
    RecentFiles inNewFolder(folder.file("new/recentfile.dat"));
    EXPECT_TRUE(inNewFolder.add("/a.jfs"));
}

TEST(RecentFiles, pathOfCaptionDropsThreeCharacters)
{
    EXPECT_EQ(RecentFiles::pathOfCaption("&1 /a b.jfs"), "/a b.jfs");
    EXPECT_EQ(RecentFiles::pathOfCaption("&1"), "");
}

} // namespace
