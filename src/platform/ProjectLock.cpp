#include "ProjectLock.h"

#include "FileIO.h"
#include "platform/VelloriaError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

ProjectLock::ProjectLock(const std::filesystem::path &project, std::chrono::milliseconds patience)
{
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!tryLock(project)) {
        if (std::chrono::steady_clock::now() >= deadline)
            throw VelloriaError("The project \"" + project.string() +
                                "\" is busy: another Velloria command is changing it. Try "
                                "again when it has finished.");
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

ProjectLock::~ProjectLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // closing releases the lock
}

bool ProjectLock::tryLock(const std::filesystem::path &project)
{
    // Non-blocking open: a pipe at the path must not hang us; reading it is refused later.
    const int fd = ::open(project.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT)
            return true;
        throw VelloriaError(fileio::ioErrorText("open", project, errno));
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        // A file system without locks: go on as if nobody else were there.
        return !held;
    }
    struct stat locked
    {
    }, named{};
    const bool current = ::fstat(fd, &locked) == 0 && ::stat(project.c_str(), &named) == 0 &&
                         locked.st_dev == named.st_dev && locked.st_ino == named.st_ino;
    if (!current) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}
