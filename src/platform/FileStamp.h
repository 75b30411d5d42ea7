#pragma once

// What a file looked like when a program last read or wrote it: enough to notice that
// another program has written it since, without reading it again. A rename into place
// (how every save here and in velloria-cli writes) changes the inode; an editor writing in
// place changes size or times.

#include <cstdint>
#include <filesystem>

struct FileStamp
{
    bool exists = false;
    std::uintmax_t size = 0;
    std::int64_t modifiedNs = 0;
    std::uint64_t inode = 0;
    std::uint64_t device = 0;

    // The file's stamp now; a file that cannot be looked at does not exist.
    static FileStamp of(const std::filesystem::path &path);

    bool operator==(const FileStamp &) const = default;
};
