#include "PictureCheck.h"

#include "JpegReader.h"
#include "platform/VelloriaError.h"

#include <array>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace picturecheck {

namespace {

constexpr std::size_t signatureBytes = 16;

bool startsWith(const std::string &bytes, std::string_view prefix, std::size_t at = 0)
{
    return bytes.size() >= at + prefix.size() && bytes.compare(at, prefix.size(), prefix) == 0;
}

// The first bytes of a regular file, or nothing for anything else: opening without blocking
// keeps a named pipe from stopping the window, and the reader then says what the path is.
std::optional<std::string> firstBytesOf(const std::filesystem::path &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat info
    {};
    std::optional<std::string> bytes;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        std::array<char, signatureBytes> buffer{};
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got >= 0)
            bytes = std::string(buffer.data(), static_cast<std::size_t>(got));
    }
    ::close(fd);
    return bytes;
}

} // namespace

std::optional<std::string> otherKindOf(const std::string &b)
{
    using namespace std::string_view_literals;
    if (startsWith(b, "\x89PNG\r\n\x1a\n"sv))
        return "a PNG picture";
    if (startsWith(b, "GIF87a"sv) || startsWith(b, "GIF89a"sv))
        return "a GIF picture";
    if (startsWith(b, "RIFF"sv) && startsWith(b, "WEBP"sv, 8))
        return "a WebP picture";
    if (startsWith(b, "ftyp"sv, 4)) {
        // The brand after "ftyp" tells the still pictures of phones from videos.
        if (startsWith(b, "avif"sv, 8) || startsWith(b, "avis"sv, 8))
            return "an AVIF picture";
        for (std::string_view brand :
             {"heic"sv, "heix"sv, "hevc"sv, "heim"sv, "heis"sv, "mif1"sv, "msf1"sv})
            if (startsWith(b, brand, 8))
                return "a HEIC picture";
        return std::nullopt;
    }
    if (startsWith(b, "II*\0"sv) || startsWith(b, "MM\0*"sv))
        return "a TIFF picture";
    // Two letters alone would take a text about a BMW for a picture: the reserved bytes too.
    if (startsWith(b, "BM"sv) && startsWith(b, "\0\0\0\0"sv, 6))
        return "a BMP picture";
    return std::nullopt;
}

std::optional<std::string> problemOf(const std::filesystem::path &path)
{
    const std::string name = path.filename().string();
    const std::string why = "; Velloria makes slides from JPEG files";
    if (const std::optional<std::string> bytes = firstBytesOf(path)) {
        if (const std::optional<std::string> kind = otherKindOf(*bytes))
            return name + " is " + *kind + why;
        if (!startsWith(*bytes, "\xff\xd8"))
            return name + " is not a JPEG picture" + why;
    }
    // A missing file, a folder, a pipe, or a JPEG whose header is damaged or too large:
    // the reader's own words say which.
    try {
        const JpegReader header(path);
    } catch (const VelloriaError &e) {
        return e.what();
    }
    return std::nullopt;
}

} // namespace picturecheck
