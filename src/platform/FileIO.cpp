#include "FileIO.h"

#include "model/VelloriaError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace fileio {
namespace {

// Closes a descriptor on every path out of a function.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// New files get the usual 0666 less the umask, as a plain open would give them.
mode_t modeForNewFile()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::filesystem::path resolveLink(const std::filesystem::path &path)
{
    std::error_code ec;
    if (std::filesystem::is_symlink(path, ec)) {
        auto target = std::filesystem::canonical(path, ec);
        if (!ec)
            return target;
    }
    return path;
}

} // namespace

std::string ioErrorText(std::string_view verb, const std::filesystem::path &path, int error)
{
    return "Cannot " + std::string(verb) + " file \"" + path.string() +
           "\": " + std::strerror(error);
}

std::string readFile(const std::filesystem::path &path)
{
    // Non-blocking, so that opening a pipe cannot hang; regular files read as ever.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info
    {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0)
        throw VelloriaError(ioErrorText("open", path, errno));
    if (S_ISDIR(info.st_mode))
        throw VelloriaError(ioErrorText("open", path, EISDIR));
    // A device or a pipe (/dev/zero, say) could feed bytes for ever or block.
    if (!S_ISREG(info.st_mode))
        throw VelloriaError("Cannot open file \"" + path.string() + "\": not a regular file");
    if (static_cast<std::uintmax_t>(info.st_size) > maxReadSize)
        throw VelloriaError("Cannot open file \"" + path.string() + "\": it is too large (" +
                            std::to_string(info.st_size) + " bytes)");
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size() && used >= maxReadSize)
            throw VelloriaError("Cannot read file \"" + path.string() + "\": it keeps growing");
        if (used == bytes.size())
            bytes.resize(bytes.size() + 65536); // the file grew while we read it
        const ssize_t n = ::read(fd.get(), bytes.data() + used, bytes.size() - used);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw VelloriaError(ioErrorText("read", path, errno));
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
    }
    bytes.resize(used);
    return bytes;
}

void writeFileAtomically(const std::filesystem::path &requested, std::string_view bytes,
                         Durability durability)
{
    const std::filesystem::path path = resolveLink(requested);
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    std::string temp = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    FileDescriptor fd(::mkstemp(temp.data()));
    if (fd.get() < 0)
        throw VelloriaError(ioErrorText("create", path, errno));

    struct stat old
    {};
    const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : modeForNewFile();
    // Make the content durable before the rename makes it the file.
    if (!writeAll(fd.get(), bytes) || ::fchmod(fd.get(), mode) != 0 ||
        (durability == Durability::flushed && ::fsync(fd.get()) != 0) ||
        ::close(fd.release()) != 0 || ::rename(temp.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        throw VelloriaError(ioErrorText("write", path, error));
    }
}

void copyFileQuietly(const std::filesystem::path &from, const std::filesystem::path &to)
{
    std::error_code ignored;
    // Copying a file onto itself would truncate it on some systems.
    if (std::filesystem::equivalent(from, to, ignored))
        return;
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing,
                               ignored);
}

} // namespace fileio

namespace fileio {

std::string kindOfFile(const struct stat &info)
{
    if (S_ISREG(info.st_mode))
        return "a regular file";
    if (S_ISDIR(info.st_mode))
        return "a folder (directory)";
    if (S_ISFIFO(info.st_mode))
        return "a named pipe (FIFO)";
    if (S_ISCHR(info.st_mode))
        return "a character device";
    if (S_ISBLK(info.st_mode))
        return "a block device";
    if (S_ISSOCK(info.st_mode))
        return "a socket";
    if (S_ISLNK(info.st_mode))
        return "a symbolic link";
    return "a file of an unknown kind";
}

std::string notRegularFileText(std::string_view verb, const std::filesystem::path &path,
                               const struct stat &info)
{
    return "Cannot " + std::string(verb) + " file \"" + path.string() + "\": it is " +
           kindOfFile(info) + ", not a regular file";
}

} // namespace fileio
