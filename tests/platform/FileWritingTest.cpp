// Writes and copies never land anywhere but in a regular file at their own path, never
// show a half-written file, and leave nothing behind when they fail.

#include "common/TempFolder.h"
#include "platform/FileIO.h"
#include "platform/ProjectLock.h"
#include "platform/StagedFiles.h"
#include "platform/TemporaryFile.h"
#include "platform/VelloriaError.h"

#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace fs = std::filesystem;
using fileio::Links;

namespace {

std::string refusal(const std::function<void()> &write)
{
    try {
        write();
    } catch (const VelloriaError &e) {
        return e.what();
    }
    return "accepted";
}

mode_t modeOf(const std::string &path)
{
    struct stat info
    {};
    ::lstat(path.c_str(), &info);
    return info.st_mode;
}

class FileWriting : public ::testing::Test
{
protected:
    std::string at(const std::string &name) const { return folder.file(name); }
    TempFolder folder;
    TempFolder elsewhere;
};

struct Planted
{
    const char *what; // at the output path
    Links links;
    const char *refusal; // or "" when the write goes ahead
};

class WhatIsThere : public FileWriting, public ::testing::WithParamInterface<Planted>
{};

// The private file a planted link points at must stay as it was, whatever the write does.
TEST_P(WhatIsThere, onlyRegularFilesAreReplaced)
{
    const std::string out = at("out"), privateFile = elsewhere.file("private");
    writeBytes(privateFile, "private");
    fs::permissions(privateFile, fs::perms::owner_read | fs::perms::owner_write);
    const std::string what = GetParam().what;
    if (what == "fifo")
        ::mkfifo(out.c_str(), 0600);
    else if (what == "folder")
        fs::create_directory(out);
    else if (what == "link to device")
        fs::create_symlink("/dev/null", out);
    else if (what == "link to file")
        fs::create_symlink(privateFile, out);
    else if (what == "dangling link")
        fs::create_symlink(elsewhere.file("new"), out);

    const std::string error =
        refusal([&] { fileio::writeFileAtomically(out, "new", {}, GetParam().links); });
    if (*GetParam().refusal) {
        EXPECT_EQ(error, "Cannot write file \"" + out + "\": it is " + GetParam().refusal +
                             ", not a regular file");
    } else {
        EXPECT_EQ(error, "accepted");
        const bool through = what == "link to file" && GetParam().links == Links::follow;
        EXPECT_EQ(readBytes(through ? privateFile : out), "new");
        EXPECT_EQ(S_ISLNK(modeOf(out)), through);
    }
    EXPECT_TRUE(S_ISCHR(modeOf("/dev/null")));
    EXPECT_FALSE(fs::exists(elsewhere.file("new")));
    EXPECT_EQ(modeOf(privateFile) & 0777, 0600u);
    if (!(what == "link to file" && GetParam().links == Links::follow)) {
        EXPECT_EQ(readBytes(privateFile), "private");
    }
    EXPECT_EQ(filesIn(folder.path()), std::set<std::string>{"out"}) << "a temporary was left";
}

INSTANTIATE_TEST_SUITE_P(FileWriting, WhatIsThere,
                         ::testing::Values(Planted{"fifo", Links::replace, "a named pipe (FIFO)"},
                                           Planted{"folder", Links::replace, "a folder"},
                                           Planted{"folder", Links::follow, "a folder"},
                                           Planted{"link to device", Links::follow,
                                                   "a character device"},
                                           Planted{"link to device", Links::replace, ""},
                                           Planted{"link to file", Links::replace, ""},
                                           Planted{"link to file", Links::follow, ""},
                                           Planted{"dangling link", Links::replace, ""}));

TEST_F(FileWriting, newFilesTakeTheUmaskAndReplacedOnesKeepTheirMode)
{
    const mode_t before = ::umask(027);
    fileio::writeFileAtomically(at("new"), "x");
    writeBytes(at("old"), "x");
    fs::permissions(at("old"), fs::perms::owner_read | fs::perms::group_read);
    fileio::writeFileAtomically(at("old"), "y");
    EXPECT_EQ(::umask(before), 027u) << "the umask was changed";
    EXPECT_EQ(modeOf(at("new")) & 0777, 0640u);
    EXPECT_EQ(modeOf(at("old")) & 0777, 0440u);
}

// A file-size limit stands in for a full disk.
TEST_F(FileWriting, aCopyCutShortRaisesAndLeavesTheOldFile)
{
    writeBytes(at("big"), std::string(100000, 'b'));
    writeBytes(at("copy"), "old");
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 8192;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const std::string error = refusal([&] { fileio::copyFile(at("big"), at("copy")); });
    ::setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(error.rfind("Cannot write file \"" + at("copy") + "\": ", 0), 0u) << error;
    EXPECT_EQ(readBytes(at("copy")), "old");
    EXPECT_EQ(filesIn(folder.path()), (std::set<std::string>{"big", "copy"}));
}

TEST_F(FileWriting, copiesTakeOnlyRegularFilesAndLinksOnlyWhenAsked)
{
    writeBytes(at("photo"), "photo");
    fs::create_symlink(at("photo"), at("link"));
    ::mkfifo(at("fifo").c_str(), 0600);
    using fileio::SourceLinks;
    EXPECT_TRUE(fileio::copyFile(at("link"), at("a"), SourceLinks::follow));
    EXPECT_EQ(readBytes(at("a")), "photo");
    EXPECT_EQ(refusal([&] { fileio::copyFile(at("link"), at("b"), SourceLinks::refuse); }),
              "Cannot copy file \"" + at("link") + "\": it is a symbolic link, not a regular file");
    EXPECT_EQ(refusal([&] { fileio::copyFile(at("fifo"), at("b")); }),
              "Cannot copy file \"" + at("fifo") +
                  "\": it is a named pipe (FIFO), not a regular file");
    EXPECT_FALSE(fileio::copyFile(at("missing"), at("b")));
    EXPECT_FALSE(fs::exists(at("b")));
}

// A rename that fails at the end puts back every file the earlier ones replaced.
TEST_F(FileWriting, aFailedCommitPutsEverythingBack)
{
    writeBytes(at("page"), "old page");
    writeBytes(at("last"), "old last");
    {
        StagedFiles staged;
        staged.write(at("page"), "new page", fileio::Durability::scratch);
        staged.write(at("slide"), "new slide", fileio::Durability::scratch);
        staged.write(at("last"), "new last", fileio::Durability::scratch);
        fs::remove(at("last"));
        fs::create_directories(at("last") + "/in the way");
        EXPECT_THROW(staged.commit(), VelloriaError);
    }
    EXPECT_EQ(readBytes(at("page")), "old page");
    EXPECT_EQ(filesIn(folder.path()), (std::set<std::string>{"page", "last"}));
}

TEST_F(FileWriting, leftoversOfEndedRunsGoAndThoseOfLiveOnesStay)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const std::string ended = ".show.html.vtmp" + std::to_string(child) + "-0";
    const std::string live = ".show.html.vtmp" + std::to_string(::getpid()) + "-9";
    for (const std::string &name : {ended, live, std::string(".show.html.Ab12Cd"),
                                    std::string(".bashrc.Ab12Cd"), std::string("show.html")})
        writeBytes(at(name), "x");
    fs::last_write_time(at(".show.html.Ab12Cd"),
                        fs::file_time_type::clock::now() - std::chrono::hours(1));
    fs::last_write_time(at(".bashrc.Ab12Cd"),
                        fs::file_time_type::clock::now() - std::chrono::hours(1));
    TemporaryFile::removeLeftovers(folder.path(), {"show.html"});
    EXPECT_EQ(filesIn(folder.path()), (std::set<std::string>{live, ".bashrc.Ab12Cd", "show.html"}));
}

TEST_F(FileWriting, aLockedProjectIsBusyUntilItsHolderLetsGo)
{
    writeBytes(at("p.jfs"), "project");
    auto holder = std::make_unique<ProjectLock>(at("p.jfs"));
    const std::string error =
        refusal([&] { ProjectLock second(at("p.jfs"), std::chrono::milliseconds(100)); });
    EXPECT_NE(error.find("\"" + at("p.jfs") + "\" is busy"), std::string::npos) << error;
    // A save replaces the file: the next command locks the new one.
    fileio::writeFileAtomically(at("p.jfs"), "saved");
    holder.reset();
    EXPECT_EQ(refusal([&] { ProjectLock second(at("p.jfs"), std::chrono::milliseconds(100)); }),
              "accepted");
}

} // namespace
