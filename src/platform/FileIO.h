#pragma once

// Whole-file reading and crash-safe writing. Failures raise VelloriaError with a
// message that names the file and the system's reason.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace fileio {

// Files read whole are project files: anything larger is not one.
inline constexpr std::uintmax_t maxReadSize = std::uintmax_t(1) << 30;

// The file's bytes, unchanged. Only regular files of at most maxReadSize bytes are read.
std::string readFile(const std::filesystem::path &path);

// Writes bytes to a temporary file in the target's folder and renames it over the
// target once complete, so a failure at any point leaves the old file as it was.
// A replaced file keeps its permissions; a symbolic link keeps pointing at its file.
// Scratch files (caches, files copied on at once) skip the flush to disk: a crash may lose
// them, but they are never seen half-written.
enum class Durability { flushed, scratch };
void writeFileAtomically(const std::filesystem::path &path, std::string_view bytes,
                         Durability durability = Durability::flushed);

// Copies a file over any file of the target's name; a failure (a missing source, say) only
// means there is no copy. Copying a file onto itself leaves it alone.
void copyFileQuietly(const std::filesystem::path &from, const std::filesystem::path &to);

// "Cannot <verb> file "<path>": <reason of errno>"
std::string ioErrorText(std::string_view verb, const std::filesystem::path &path, int error);

} // namespace fileio

struct stat;

namespace fileio {

// What the file that info describes is, for messages: "a regular file", "a folder
// (directory)", "a named pipe (FIFO)", "a character device", "a block device", "a socket".
std::string kindOfFile(const struct stat &info);

// "Cannot <verb> file "<path>": it is <kind of file>, not a regular file"
std::string notRegularFileText(std::string_view verb, const std::filesystem::path &path,
                               const struct stat &info);

} // namespace fileio
