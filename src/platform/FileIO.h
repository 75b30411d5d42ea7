#pragma once

// Whole-file reading and crash-safe writing and copying. Failures raise VelloriaError with
// a message that names the file and the system's reason.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace fileio {

// Files read whole are project files: anything larger is not one.
inline constexpr std::uintmax_t maxReadSize = std::uintmax_t(1) << 30;

// A source that is a symbolic link is refused unless links are followed: a link planted
// where kept pictures are taken from must not put a private file on a web site.
enum class SourceLinks { follow, refuse };

// The file's bytes, unchanged. Only regular files of at most maxReadSize bytes are read.
std::string readFile(const std::filesystem::path &path);

// True when a regular file at the path (not a link) holds exactly these bytes.
bool holdsExactly(const std::filesystem::path &path, std::string_view bytes);

// Scratch files (caches, files copied on at once) skip the flush to disk: a crash may lose
// them, but they are never seen half-written.
enum class Durability { flushed, scratch };

// What a write does with a symbolic link at its path. Generated files replace the link by
// a regular file and never write through it, so a link planted in a site folder cannot send
// a write anywhere else. The project file is the user's own: a link to it keeps pointing at
// it, and the file it points at is replaced.
enum class Links { replace, follow };

// Where a write lands, checked before anything is written: only a regular file (or
// nothing) is ever replaced; a folder, device, pipe or socket at the path is refused.
struct WriteTarget
{
    std::filesystem::path path;
    bool exists = false;
    mode_t mode = 0; // of the file replaced, which keeps it
};
WriteTarget checkedWriteTarget(const std::filesystem::path &path, Links links);

// Writes bytes to a temporary file in the target's folder and renames it over the target
// once complete, so a failure at any point leaves the old file as it was. A replaced file
// keeps its permissions; a new one gets 0666 less the umask.
void writeFileAtomically(const std::filesystem::path &path, std::string_view bytes,
                         Durability durability = Durability::flushed, Links links = Links::replace);

// Copies a regular file the way writeFileAtomically writes one. Returns false, copying
// nothing, when the source does not exist; any other failure raises VelloriaError naming the
// file. Copying a file onto itself leaves it alone.
bool copyFile(const std::filesystem::path &from, const std::filesystem::path &to,
              SourceLinks sourceLinks = SourceLinks::follow,
              Durability durability = Durability::scratch);
// The same for copies whose failure only means there is no copy.
void copyFileQuietly(const std::filesystem::path &from, const std::filesystem::path &to,
                     SourceLinks sourceLinks = SourceLinks::follow);

// The bytes of a regular file, or nothing when the path does not exist; raises VelloriaError
// naming the file otherwise ("Cannot <verb> file ...").
std::optional<std::string> readIfPresent(const std::filesystem::path &path, std::string_view verb,
                                         SourceLinks links = SourceLinks::follow);

// Opens a regular file to read; false when it does not exist. Anything else raises
// VelloriaError naming the file: "Cannot <verb> file ...: it is a folder".
int openRegularFile(const std::filesystem::path &path, std::string_view verb,
                    SourceLinks links = SourceLinks::follow);

// "Cannot <verb> file "<path>": <reason of errno>"
// A rename replaces a file whatever its mode, but a read-only file is its owner's word that it
// is to stay as it is: raises VelloriaError naming it. A link is judged by its target.
void refuseReadOnly(const std::filesystem::path &file);

std::string ioErrorText(std::string_view verb, const std::filesystem::path &path, int error);

// What a file of this mode is, for messages: "a folder", "a named pipe (FIFO)", "a
// character device", ...
std::string kindOfFile(mode_t mode);

// "Cannot <verb> file "<path>": it is <kind of file>, not a regular file"
std::string notRegularFileText(std::string_view verb, const std::filesystem::path &path,
                               mode_t mode);

} // namespace fileio
