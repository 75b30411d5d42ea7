#include "FileStamp.h"

#include <sys/stat.h>

namespace {

std::int64_t nanoseconds(const timespec &time)
{
    return std::int64_t(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

} // namespace

FileStamp FileStamp::of(const std::filesystem::path &path)
{
    struct stat status
    {};
    if (::stat(path.c_str(), &status) != 0)
        return {};
    return {true, static_cast<std::uintmax_t>(status.st_size), nanoseconds(status.st_mtim),
            static_cast<std::uint64_t>(status.st_ino), static_cast<std::uint64_t>(status.st_dev)};
}
