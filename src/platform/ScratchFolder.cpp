#include "ScratchFolder.h"

#include "InterruptCleanup.h"
#include "VelloriaError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace fs = std::filesystem;

namespace {

const char *const lockName = "lock";
const std::string temporaryPrefix = "velloria-scratch-";
const std::string sessionPrefix = "editor-";

std::string folderErrorText(const fs::path &folder, const std::string &reason)
{
    return "Cannot create folder \"" + folder.string() + "\": " + reason;
}

// A folder of this user, and not a link to one.
bool isOwnFolder(const fs::path &path)
{
    struct stat info
    {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid();
}

// A cleaner creates the lock as well when it is missing: a folder whose run ended before
// making its lock is then removed like any other, and a run that is about to take its lock
// meets the cleaner on the same file, where only one of them wins.
int openLock(const fs::path &folder)
{
    return ::open((folder / lockName).c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
}

// The lock taken is the one the folder holds, not one a cleaner removed meanwhile.
bool isLockOf(int lock, const fs::path &folder)
{
    struct stat opened
    {
    }, named{};
    return ::fstat(lock, &opened) == 0 && ::lstat((folder / lockName).c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// "sessions" holds the scratch folders of every editor of the user: created here when
// missing, and refused when it is a link, which would put them wherever the link points.
void makeSessionsFolder(const fs::path &writable, const fs::path &sessions)
{
    std::error_code error;
    fs::create_directories(writable, error);
    if (error)
        throw VelloriaError(folderErrorText(writable, error.message()));
    if (::mkdir(sessions.c_str(), 0700) != 0 && errno != EEXIST)
        throw VelloriaError(folderErrorText(sessions, std::strerror(errno)));
    if (!isOwnFolder(sessions))
        throw VelloriaError(folderErrorText(sessions, "it is not a folder of this user"));
}

} // namespace

ScratchFolder::ScratchFolder(const fs::path &parent, const std::string &prefix)
{
    create(parent, prefix);
}

ScratchFolder::ScratchFolder(ScratchFolder &&other) noexcept
    : m_path(std::exchange(other.m_path, {})), m_lock(std::exchange(other.m_lock, -1))
{}

ScratchFolder::~ScratchFolder()
{
    release();
}

void ScratchFolder::release() noexcept
{
    if (m_path.empty())
        return;
    // Removed while still locked, so that no cleaner takes a half-removed folder for the
    // leftover of an ended run.
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
    interruptcleanup::untrack(m_path);
    ::close(m_lock);
    m_path.clear();
    m_lock = -1;
}

void ScratchFolder::create(const fs::path &parent, const std::string &prefix)
{
    removeEnded(parent, prefix);
    // A cleaner may take a new folder for a leftover in the moment before its lock is
    // taken, and remove it: another one is made then.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string folder = (parent / (prefix + "XXXXXX")).string();
        if (!::mkdtemp(folder.data()))
            throw VelloriaError(folderErrorText(folder, std::strerror(errno)));
        interruptcleanup::track(folder);
        const int error = lockNew(folder);
        if (error == 0) {
            writeProcessId();
            return;
        }
        interruptcleanup::untrack(folder);
        if (error != EWOULDBLOCK && error != ENOENT) {
            std::error_code ignored;
            fs::remove_all(folder, ignored);
            throw VelloriaError(folderErrorText(folder, std::strerror(error)));
        }
    }
    throw VelloriaError(folderErrorText(parent, "other programs keep removing its folders"));
}

int ScratchFolder::lockNew(const fs::path &folder)
{
    const int lock = openLock(folder);
    if (lock < 0)
        return errno;
    const int error = ::flock(lock, LOCK_EX | LOCK_NB) != 0 ? errno
                      : isLockOf(lock, folder)              ? 0
                                                            : ENOENT;
    if (error != 0) {
        ::close(lock);
        return error;
    }
    m_path = folder;
    m_lock = lock;
    return 0;
}

// The process id tells a person whose folder it is; writing it also finds a full disk
// before the first slide does.
void ScratchFolder::writeProcessId()
{
    const std::string id = std::to_string(::getpid()) + "\n";
    const ssize_t written = ::write(m_lock, id.data(), id.size());
    if (written == static_cast<ssize_t>(id.size()))
        return;
    const int error = written < 0 ? errno : ENOSPC; // a short write: the disk filled up
    const fs::path folder = m_path;
    release();
    throw VelloriaError(folderErrorText(folder, std::strerror(error)));
}

void ScratchFolder::removeEnded(const fs::path &parent, const std::string &prefix)
{
    std::error_code error;
    for (fs::directory_iterator it(parent, error), end; !error && it != end; it.increment(error)) {
        const fs::path folder = it->path();
        const std::string name = folder.filename().string();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
            !isOwnFolder(folder))
            continue;
        const int lock = openLock(folder);
        if (lock < 0)
            continue;
        // remove_all removes links, never what they point at.
        std::error_code ignored;
        if (::flock(lock, LOCK_EX | LOCK_NB) == 0 && isLockOf(lock, folder))
            fs::remove_all(folder, ignored);
        ::close(lock);
    }
}

ScratchFolder ScratchFolder::inTemporaryFolder()
{
    std::error_code error;
    const fs::path temp = fs::temp_directory_path(error);
    if (error)
        throw VelloriaError("Cannot use the temporary folder: " + error.message());
    return ScratchFolder(temp, temporaryPrefix);
}

ScratchFolder ScratchFolder::forEditor(const fs::path &writable)
{
    const fs::path sessions = writable / "sessions";
    std::string reason;
    try {
        makeSessionsFolder(writable, sessions);
        return ScratchFolder(sessions, sessionPrefix);
    } catch (const VelloriaError &e) {
        reason = e.what();
    }
    try {
        return inTemporaryFolder();
    } catch (const VelloriaError &e) {
        throw VelloriaError(reason + "; " + e.what());
    }
}
