// Each run's scratch folder is its own, and what runs that have ended leave is removed by
// the next one, however they ended; nothing else is.

#include "platform/ScratchFolder.h"

#include "common/TempFolder.h"
#include "platform/InterruptCleanup.h"
#include "platform/VelloriaError.h"

#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A run in a process of its own, as a second editor is: it makes its folder with a file in
// it, says where, and waits for its end.
struct OtherRun
{
    pid_t pid;
    fs::path folder;
};

OtherRun startOtherRun(const fs::path &parent)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        throw std::runtime_error("pipe");
    const pid_t pid = ::fork();
    if (pid == 0) {
        interruptcleanup::installSignalHandling();
        const ScratchFolder folder(parent, "run-");
        writeBytes((folder.path() / "slider1.jpg").string(), "slide");
        const std::string said = folder.path().string() + "\n";
        (void)!::write(pipeEnds[1], said.data(), said.size());
        for (;;)
            ::pause();
    }
    ::close(pipeEnds[1]);
    std::string said;
    char c = 0;
    while (::read(pipeEnds[0], &c, 1) == 1 && c != '\n')
        said += c;
    ::close(pipeEnds[0]);
    return {pid, said};
}

// $TMPDIR as a test sets it, restored afterwards.
class TemporaryFolderSetTo
{
public:
    explicit TemporaryFolderSetTo(const fs::path &folder)
    {
        if (const char *saved = std::getenv("TMPDIR"))
            m_saved = saved;
        ::setenv("TMPDIR", folder.c_str(), 1);
    }
    ~TemporaryFolderSetTo()
    {
        m_saved ? ::setenv("TMPDIR", m_saved->c_str(), 1) : ::unsetenv("TMPDIR");
    }

private:
    std::optional<std::string> m_saved;
};

void end(const OtherRun &run, int signal)
{
    ::kill(run.pid, signal);
    int status = 0;
    ::waitpid(run.pid, &status, 0);
}

TEST(ScratchFolder, twoRunsGetTwoFoldersEachRemovedWhenItsRunEnds)
{
    TempFolder parent;
    std::optional<ScratchFolder> first(std::in_place, parent.path(), "run-");
    const ScratchFolder second(parent.path(), "run-");
    EXPECT_NE(first->path(), second.path());
    EXPECT_EQ(first->path().parent_path(), parent.path());
    const fs::path firstPath = first->path();
    first.reset();
    EXPECT_FALSE(fs::exists(firstPath));
    EXPECT_TRUE(fs::is_directory(second.path())) << "the other run's folder goes with it";
}

// SIGTERM is handled by the run itself; SIGKILL leaves the folder to the next run.
TEST(ScratchFolder, aRunEndedBySignalLeavesNothingOnceTheNextRunStarts)
{
    for (const int signal : {SIGTERM, SIGINT, SIGKILL}) {
        SCOPED_TRACE(signal);
        TempFolder parent;
        const OtherRun other = startOtherRun(parent.path());
        EXPECT_TRUE(fs::exists(other.folder / "slider1.jpg"));
        const ScratchFolder live(parent.path(), "run-");
        EXPECT_TRUE(fs::exists(other.folder / "slider1.jpg")) << "a running one is kept";
        end(other, signal);
        EXPECT_EQ(fs::exists(other.folder), signal == SIGKILL);
        const ScratchFolder next(parent.path(), "run-");
        EXPECT_FALSE(fs::exists(other.folder));
        EXPECT_TRUE(fs::exists(live.path()));
    }
}

// What a new run finds beside its folder, and whether it stays.
struct Found
{
    const char *what;
    void (*make)(const fs::path &parent, const fs::path &elsewhere);
    const char *name;
    bool stays;
};

const Found foundTable[] = {
    {"a folder of an ended run",
     [](const fs::path &p, const fs::path &) {
         fs::create_directory(p / "run-ended1");
         writeBytes((p / "run-ended1/lock").string(), "4242\n");
         writeBytes((p / "run-ended1/velloria.css").string(), "css");
     },
     "run-ended1", false},
    {"a run ended before it made its lock",
     [](const fs::path &p, const fs::path &) { fs::create_directory(p / "run-nolock"); },
     "run-nolock", false},
    {"a link named like a run's folder",
     [](const fs::path &p, const fs::path &elsewhere) {
         fs::create_directory_symlink(elsewhere, p / "run-link01");
     },
     "run-link01", true},
    {"a folder of another name",
     [](const fs::path &p, const fs::path &) {
         fs::create_directory(p / "photos");
         writeBytes((p / "photos/lock").string(), "");
     },
     "photos", true},
};

TEST(ScratchFolder, theNextRunRemovesOnlyFoldersOfEndedRuns)
{
    for (const Found &found : foundTable) {
        SCOPED_TRACE(found.what);
        TempFolder parent, elsewhere;
        writeBytes(elsewhere.file("lock"), "");
        writeBytes(elsewhere.file("mine.jpg"), "the user's");
        found.make(parent.path(), elsewhere.path());
        const ScratchFolder next(parent.path(), "run-");
        EXPECT_EQ(fs::exists(fs::symlink_status(parent.path() / found.name)), found.stays);
        EXPECT_EQ(readBytes(elsewhere.file("mine.jpg")), "the user's");
    }
}

// The editor's folder lies in "sessions" of the writable folder, or, when that cannot be
// written, in the temporary folder, where saving still works.
struct Writable
{
    const char *what;
    fs::path (*make)(const fs::path &base, const fs::path &elsewhere);
    bool inSessions;
};

const Writable writableTable[] = {
    {"a usable folder, made when missing",
     [](const fs::path &base, const fs::path &) { return base / "data/velloria"; }, true},
    {"a data home that is a file, not a folder",
     [](const fs::path &base, const fs::path &) {
         writeBytes((base / "data").string(), "");
         return base / "data/velloria";
     },
     false},
    {"sessions a link to another folder",
     [](const fs::path &base, const fs::path &elsewhere) {
         fs::create_directories(base / "velloria");
         fs::create_directory_symlink(elsewhere, base / "velloria/sessions");
         return base / "velloria";
     },
     false},
};

TEST(ScratchFolder, theEditorsFolderFallsBackToTheTemporaryFolder)
{
    for (const Writable &writable : writableTable) {
        SCOPED_TRACE(writable.what);
        TempFolder base, elsewhere, temp;
        const fs::path folder = writable.make(base.path(), elsewhere.path());
        const TemporaryFolderSetTo tmpdir(temp.path());
        const ScratchFolder editor = ScratchFolder::forEditor(folder);
        EXPECT_EQ(editor.path().parent_path(),
                  writable.inSessions ? folder / "sessions" : temp.path());
        EXPECT_TRUE(fs::is_empty(elsewhere.path()));
    }
}

TEST(ScratchFolder, whenNoFolderCanBeMadeTheMessageGivesBothReasons)
{
    TempFolder base;
    writeBytes(base.file("file"), "");
    const TemporaryFolderSetTo tmpdir(base.file("file"));
    try {
        ScratchFolder::forEditor(base.path() / "file/velloria");
        ADD_FAILURE() << "made a folder";
    } catch (const VelloriaError &e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("/file/velloria\": Not a directory"), std::string::npos) << message;
        EXPECT_NE(message.find("temporary folder"), std::string::npos) << message;
    }
}

} // namespace
