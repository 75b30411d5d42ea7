#include "FileIO.h"

#include "FileDescriptor.h"
#include "TemporaryFile.h"
#include "platform/VelloriaError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace fileio {
namespace {

[[noreturn]] void refuseKind(std::string_view verb, const std::filesystem::path &path, mode_t mode)
{
    throw VelloriaError(notRegularFileText(verb, path, mode));
}

WriteTarget followedTarget(const std::filesystem::path &link)
{
    struct stat info
    {};
    // A dangling link is replaced like a missing file.
    if (::stat(link.c_str(), &info) != 0)
        return {link, false, 0};
    if (!S_ISREG(info.st_mode))
        refuseKind("write", link, info.st_mode);
    std::error_code error;
    const std::filesystem::path target = std::filesystem::canonical(link, error);
    if (error)
        throw VelloriaError(ioErrorText("write", link, error.value()));
    return {target, true, info.st_mode & 07777};
}

} // namespace

std::string ioErrorText(std::string_view verb, const std::filesystem::path &path, int error)
{
    return "Cannot " + std::string(verb) + " file \"" + path.string() +
           "\": " + std::strerror(error);
}

std::string kindOfFile(mode_t mode)
{
    if (S_ISREG(mode))
        return "a regular file";
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a named pipe (FIFO)";
    if (S_ISCHR(mode))
        return "a character device";
    if (S_ISBLK(mode))
        return "a block device";
    if (S_ISSOCK(mode))
        return "a socket";
    if (S_ISLNK(mode))
        return "a symbolic link";
    return "a file of an unknown kind";
}

std::string notRegularFileText(std::string_view verb, const std::filesystem::path &path,
                               mode_t mode)
{
    return "Cannot " + std::string(verb) + " file \"" + path.string() + "\": it is " +
           kindOfFile(mode) + ", not a regular file";
}

int openRegularFile(const std::filesystem::path &path, std::string_view verb, SourceLinks links)
{
    // Non-blocking, so that opening a pipe cannot hang; regular files read as ever.
    const int flags =
        O_RDONLY | O_CLOEXEC | O_NONBLOCK | (links == SourceLinks::refuse ? O_NOFOLLOW : 0);
    const int fd = ::open(path.c_str(), flags);
    if (fd < 0 && errno == ENOENT)
        return -1;
    if (fd < 0 && errno == ELOOP && links == SourceLinks::refuse)
        refuseKind(verb, path, S_IFLNK);
    struct stat info
    {};
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        throw VelloriaError(ioErrorText(verb, path, error));
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        refuseKind(verb, path, info.st_mode);
    }
    ::fcntl(fd, F_SETFL, O_RDONLY);
    return fd;
}

namespace {

std::string readOpened(int fd, const std::filesystem::path &path)
{
    struct stat info
    {};
    ::fstat(fd, &info);
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
        const ssize_t n = ::read(fd, bytes.data() + used, bytes.size() - used);
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

} // namespace

std::optional<std::string> readIfPresent(const std::filesystem::path &path, std::string_view verb,
                                         SourceLinks links)
{
    const int opened = openRegularFile(path, verb, links);
    if (opened < 0)
        return std::nullopt;
    FileDescriptor fd(opened);
    return readOpened(fd.get(), path);
}

std::string readFile(const std::filesystem::path &path)
{
    std::optional<std::string> bytes = readIfPresent(path, "open");
    if (!bytes)
        throw VelloriaError(ioErrorText("open", path, ENOENT));
    return std::move(*bytes);
}

bool holdsExactly(const std::filesystem::path &path, std::string_view bytes)
{
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    struct stat info
    {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uintmax_t>(info.st_size) != bytes.size())
        return false;
    try {
        return readOpened(fd.get(), path) == bytes;
    } catch (const VelloriaError &) {
        return false;
    }
}

WriteTarget checkedWriteTarget(const std::filesystem::path &path, Links links)
{
    struct stat info
    {};
    if (::lstat(path.c_str(), &info) != 0) {
        if (errno == ENOENT)
            return {path, false, 0};
        throw VelloriaError(ioErrorText("write", path, errno));
    }
    if (S_ISLNK(info.st_mode))
        return links == Links::follow ? followedTarget(path) : WriteTarget{path, false, 0};
    if (!S_ISREG(info.st_mode))
        refuseKind("write", path, info.st_mode);
    return {path, true, info.st_mode & 07777};
}

void writeFileAtomically(const std::filesystem::path &path, std::string_view bytes,
                         Durability durability, Links links)
{
    const WriteTarget target = checkedWriteTarget(path, links);
    TemporaryFile temp(target.path);
    temp.write(bytes);
    if (target.exists)
        temp.setMode(target.mode);
    temp.close(durability == Durability::flushed);
    temp.putInPlace(target.path);
}

bool copyFile(const std::filesystem::path &from, const std::filesystem::path &to,
              SourceLinks sourceLinks, Durability durability)
{
    const int opened = openRegularFile(from, "copy", sourceLinks);
    if (opened < 0)
        return false;
    FileDescriptor source(opened);
    const WriteTarget target = checkedWriteTarget(to, Links::replace);
    struct stat in
    {
    }, out{};
    // Copying a file onto itself has nothing to do.
    if (target.exists && ::fstat(source.get(), &in) == 0 && ::stat(to.c_str(), &out) == 0 &&
        in.st_dev == out.st_dev && in.st_ino == out.st_ino)
        return true;
    TemporaryFile temp(target.path);
    temp.copyFrom(source.get(), from);
    if (target.exists)
        temp.setMode(target.mode);
    temp.close(durability == Durability::flushed);
    temp.putInPlace(target.path);
    return true;
}

void copyFileQuietly(const std::filesystem::path &from, const std::filesystem::path &to,
                     SourceLinks sourceLinks)
{
    try {
        copyFile(from, to, sourceLinks);
    } catch (const VelloriaError &) {
        // The caller only wants a copy if one can be had.
    }
}

void refuseReadOnly(const std::filesystem::path &file)
{
    std::error_code error;
    const std::filesystem::path place =
        std::filesystem::weakly_canonical(std::filesystem::absolute(file), error);
    struct stat status = {};
    if (!error && ::stat(place.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
        ((status.st_mode & 0222) == 0 || (::access(place.c_str(), W_OK) != 0 && errno == EACCES)))
        throw VelloriaError("\"" + file.string() +
                            "\" is read-only; make it writable (chmod u+w) to change it");
}

} // namespace fileio
