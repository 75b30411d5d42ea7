#include "TemporaryFile.h"

#include "FileIO.h"
#include "InterruptCleanup.h"
#include "platform/VelloriaError.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// ".show.html.vtmp1234-7": name, marker, process id, a number unique within the process.
constexpr std::string_view marker = ".vtmp";

std::atomic<unsigned> nextNumber{0};

std::string temporaryName(const std::filesystem::path &target)
{
    return "." + target.filename().string() + std::string(marker) + std::to_string(::getpid()) +
           "-" + std::to_string(nextNumber++);
}

// The id of the process that made a temporary file of ours, or 0 for other names.
pid_t makerOf(const std::string &name)
{
    const auto at = name.rfind(marker);
    if (name.empty() || name.front() != '.' || at == std::string::npos)
        return 0;
    const std::string tail = name.substr(at + marker.size());
    const auto dash = tail.find('-');
    if (dash == 0 || dash == std::string::npos || dash > 9 ||
        tail.find_first_not_of("0123456789-") != std::string::npos)
        return 0;
    return static_cast<pid_t>(std::stol(tail.substr(0, dash)));
}

// ".show.html.a1B2c3", as mkstemp made them before.
bool isOldTemporaryOf(const std::string &name, const std::vector<std::string> &names)
{
    for (const std::string &of : names) {
        if (name.size() == of.size() + 8 && name.front() == '.' &&
            name.compare(1, of.size(), of) == 0 && name[of.size() + 1] == '.')
            return true;
    }
    return false;
}

bool olderThanTenMinutes(const std::filesystem::path &file)
{
    struct stat info
    {};
    return ::lstat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::time(nullptr) - info.st_mtime > 600;
}

} // namespace

TemporaryFile::TemporaryFile(const std::filesystem::path &target) : m_target(target)
{
    for (;;) {
        m_path = nameFor(target);
        // Tracked before it exists, so that no interrupt can fall between the two.
        interruptcleanup::track(m_path);
        m_fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (m_fd >= 0)
            return;
        const int error = errno;
        interruptcleanup::untrack(m_path);
        if (error != EEXIST)
            throw VelloriaError(fileio::ioErrorText("create", target, error));
    }
}

TemporaryFile::~TemporaryFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_placed)
        ::unlink(m_path.c_str());
    interruptcleanup::untrack(m_path);
}

bool TemporaryFile::madeByEndedRun(pid_t maker)
{
    return maker != ::getpid() && ::kill(maker, 0) != 0 && errno == ESRCH;
}

std::filesystem::path TemporaryFile::nameFor(const std::filesystem::path &target)
{
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    return folder / temporaryName(target);
}

void TemporaryFile::fail(std::string_view verb, int error) const
{
    throw VelloriaError(fileio::ioErrorText(verb, m_target, error));
}

void TemporaryFile::write(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail("write", n < 0 ? errno : ENOSPC);
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

void TemporaryFile::copyFrom(int source, const std::filesystem::path &sourcePath)
{
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(source, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw VelloriaError(fileio::ioErrorText("read", sourcePath, errno));
        if (n == 0)
            return;
        write(std::string_view(buffer, static_cast<std::size_t>(n)));
    }
}

void TemporaryFile::setMode(mode_t mode)
{
    if (::fchmod(m_fd, mode) != 0)
        fail("write", errno);
}

void TemporaryFile::close(bool flush)
{
    // Make the content durable before a rename makes it the file.
    if (flush && ::fsync(m_fd) != 0)
        fail("write", errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        fail("write", errno);
}

void TemporaryFile::putInPlace(const std::filesystem::path &to)
{
    if (::rename(m_path.c_str(), to.c_str()) != 0)
        fail("write", errno);
    m_placed = true;
    interruptcleanup::untrack(m_path);
}

void TemporaryFile::removeLeftovers(const std::filesystem::path &folder,
                                    const std::vector<std::string> &names)
{
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        const pid_t maker = makerOf(name);
        const bool leftover =
            maker > 0 ? madeByEndedRun(maker)
                      : isOldTemporaryOf(name, names) && olderThanTenMinutes(it->path());
        if (leftover)
            ::unlink(it->path().c_str());
    }
}
