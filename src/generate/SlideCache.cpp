#include "SlideCache.h"

#include "platform/FileIO.h"
#include "platform/HomeFolder.h"
#include "platform/TemporaryFile.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// Entry layout, numbers little-endian: magic, key length (4 bytes), key, width (4),
// height (4), slide length (8), sharp slide length (8), checksum (8) of everything before it
// and of the payload, payload: the slide, then the sharp slide (none when its length is 0).
constexpr std::string_view magic = "VSLIDE\r\n";

std::uint64_t fnv1a(std::string_view bytes, std::uint64_t hash = 0xcbf29ce484222325ull)
{
    for (const char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 0x100000001b3ull;
    }
    return hash;
}

void putNumber(std::string &out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

// Reads the entry front to back; any read past the end marks it as failed.
class EntryReader
{
public:
    explicit EntryReader(std::string_view bytes) : m_bytes(bytes) {}
    std::uint64_t number(int bytes)
    {
        std::uint64_t value = 0;
        const std::string_view field = text(std::size_t(bytes));
        for (int i = int(field.size()) - 1; i >= 0; --i)
            value = (value << 8) | static_cast<unsigned char>(field[std::size_t(i)]);
        return value;
    }
    std::string_view text(std::uint64_t length)
    {
        if (length > m_bytes.size() - m_used) {
            m_failed = true;
            return {};
        }
        const std::string_view field = m_bytes.substr(m_used, std::size_t(length));
        m_used += std::size_t(length);
        return field;
    }
    std::size_t used() const { return m_used; }
    std::size_t left() const { return m_bytes.size() - m_used; }
    bool failed() const { return m_failed; }

private:
    std::string_view m_bytes;
    std::size_t m_used = 0;
    bool m_failed = false;
};

std::int64_t nanoseconds(const timespec &time)
{
    return std::int64_t(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

constexpr std::string_view entrySuffix = ".slide";
constexpr std::size_t hashDigits = 16;

// Only names this cache gives, and below only files that start as its entries do, so that
// no file of the user's is ever counted or removed as a slide.
bool isEntryName(std::string_view name)
{
    return name.size() == hashDigits + entrySuffix.size() && name.ends_with(entrySuffix) &&
           name.find_first_not_of("0123456789abcdef") == hashDigits;
}

// Entries are written under a temporary name "." + name + "." ... and renamed; one left
// behind by a write that stopped half way is never renamed. Those of killed runs go at once
// (TemporaryFile::removeLeftovers); this catches the rest once they are old.
bool isEntryLeftover(std::string_view name)
{
    return name.size() > hashDigits + entrySuffix.size() + 2 && name.front() == '.' &&
           isEntryName(name.substr(1, hashDigits + entrySuffix.size())) &&
           name[1 + hashDigits + entrySuffix.size()] == '.';
}

// The cache folder itself, opened without following a link: the cache removes files, and a
// link there may lead to any folder of the user's. Names are looked up in the open folder,
// so a folder swapped for a link meanwhile is not followed either.
class OpenFolder
{
public:
    explicit OpenFolder(const std::filesystem::path &path)
        : m_fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC))
    {}
    OpenFolder(const OpenFolder &) = delete;
    OpenFolder &operator=(const OpenFolder &) = delete;
    ~OpenFolder()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    std::vector<std::string> names() const
    {
        std::vector<std::string> found;
        const int copy = m_fd >= 0 ? ::dup(m_fd) : -1;
        DIR *folder = copy >= 0 ? ::fdopendir(copy) : nullptr;
        if (!folder) {
            if (copy >= 0)
                ::close(copy);
            return found;
        }
        // The copy shares the original's position in the folder.
        ::rewinddir(folder);
        while (const dirent *entry = ::readdir(folder))
            found.emplace_back(entry->d_name);
        ::closedir(folder);
        return found;
    }

private:
    int m_fd;
};

// Whether the file begins as the cache writes its entries: with the whole magic, or for a
// leftover of a write that stopped, with as much of it as the file holds.
bool beginsAsEntry(const OpenFolder &folder, const std::string &name, std::uintmax_t bytes,
                   bool whole)
{
    if (whole && bytes < magic.size())
        return false;
    const int fd =
        ::openat(folder.fd(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    char head[magic.size()];
    const std::size_t wanted = std::size_t(std::min<std::uintmax_t>(bytes, magic.size()));
    const ssize_t got = ::pread(fd, head, wanted, 0);
    ::close(fd);
    return got == ssize_t(wanted) && std::string_view(head, wanted) == magic.substr(0, wanted);
}

// Older than any write still running.
constexpr std::int64_t leftoverAge = std::int64_t(3600) * 1'000'000'000;

std::int64_t now()
{
    timespec time{};
    ::clock_gettime(CLOCK_REALTIME, &time);
    return nanoseconds(time);
}

struct Entry
{
    std::string name;
    std::uintmax_t bytes;
    std::int64_t lastUsed;
};

// The entries of the folder; other files are left alone, except leftovers of entries,
// which are removed into removedLeftovers when one is given.
std::vector<Entry> entriesIn(const OpenFolder &folder, SlideCacheUsage *removedLeftovers = nullptr)
{
    std::vector<Entry> found;
    for (const std::string &name : folder.names()) {
        const bool entry = isEntryName(name);
        if (!entry && !(removedLeftovers && isEntryLeftover(name)))
            continue;
        struct stat info
        {};
        if (::fstatat(folder.fd(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode))
            continue;
        const std::uintmax_t bytes = std::uintmax_t(info.st_size);
        if (entry) {
            if (beginsAsEntry(folder, name, bytes, true))
                found.push_back({name, bytes, nanoseconds(info.st_mtim)});
        } else if (now() - nanoseconds(info.st_mtim) > leftoverAge &&
                   beginsAsEntry(folder, name, bytes, false) &&
                   ::unlinkat(folder.fd(), name.c_str(), 0) == 0) {
            removedLeftovers->bytes += bytes;
        }
    }
    return found;
}

} // namespace

SlideCache::SlideCache(std::filesystem::path folder, int pipelineVersion, std::uintmax_t sizeLimit)
    : m_folder(std::move(folder)), m_pipelineVersion(pipelineVersion), m_sizeLimit(sizeLimit)
{}

std::uintmax_t SlideCache::sizeLimitFromEnvironment()
{
    const char *text = std::getenv("VELLORIA_SLIDE_CACHE_LIMIT_MB");
    const std::string_view value = text ? text : "";
    std::uintmax_t megabytes = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), megabytes);
    if (value.empty() || error != std::errc() || end != value.data() + value.size() ||
        megabytes > UINTMAX_MAX / megabyte)
        return defaultSizeLimit;
    return megabytes * megabyte;
}

std::filesystem::path SlideCache::defaultFolder()
{
    // XDG asks to ignore a relative XDG_CACHE_HOME.
    const char *xdg = std::getenv("XDG_CACHE_HOME");
    const std::filesystem::path base = xdg && std::filesystem::path(xdg).is_absolute()
                                           ? std::filesystem::path(xdg)
                                           : homeFolder() / ".cache";
    return base / "velloria" / "slides";
}

std::optional<SlidePicture> SlideCache::find(const std::filesystem::path &original,
                                             int targetHeight) const
{
    const std::optional<std::string> key = keyFor(original, targetHeight);
    return key ? read(*key) : std::nullopt;
}

void SlideCache::store(const std::filesystem::path &original, int targetHeight,
                       const SlidePicture &slide) const
{
    if (const std::optional<std::string> key = keyFor(original, targetHeight))
        write(*key, slide);
}

std::optional<std::string> SlideCache::keyFor(const std::filesystem::path &original,
                                              int targetHeight) const
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(original, error);
    struct stat info
    {};
    if (error || ::stat(absolute.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    // Fields are separated by NUL, which no path contains.
    std::string key = absolute.lexically_normal().string();
    for (const std::int64_t field :
         {std::int64_t(info.st_size), nanoseconds(info.st_mtim), nanoseconds(info.st_ctim),
          std::int64_t(info.st_ino), std::int64_t(info.st_dev), std::int64_t(targetHeight),
          std::int64_t(m_pipelineVersion)}) {
        key += '\0';
        key += std::to_string(field);
    }
    return key;
}

std::filesystem::path SlideCache::entryPath(const std::string &key) const
{
    static const char digits[] = "0123456789abcdef";
    std::uint64_t hash = fnv1a(key);
    std::string name(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4)
        name[std::size_t(i)] = digits[hash & 0xf];
    return m_folder / (name + ".slide");
}

std::optional<SlidePicture> SlideCache::read(const std::string &key) const
{
    const std::filesystem::path path = entryPath(key);
    if (folderIsLink())
        return std::nullopt;
    std::string bytes;
    try {
        // An entry that trim() removes meanwhile, here or in another run, is either gone
        // (a miss) or still whole: unlinking keeps an open file readable. Entries are files
        // we wrote; a link planted in their place is not followed, not even to look.
        std::optional<std::string> read =
            fileio::readIfPresent(path, "open", fileio::SourceLinks::refuse);
        if (!read)
            return std::nullopt;
        bytes = std::move(*read);
    } catch (...) {
        return std::nullopt;
    }
    EntryReader entry(bytes);
    const bool sameKind = entry.text(magic.size()) == magic;
    const std::string_view storedKey = entry.text(entry.number(4));
    SlidePicture slide;
    slide.width = int(entry.number(4));
    slide.height = int(entry.number(4));
    const std::uint64_t length = entry.number(8);
    const std::uint64_t sharpLength = entry.number(8);
    const std::uint64_t expected = fnv1a(std::string_view(bytes).substr(0, entry.used()));
    const std::uint64_t checksum = entry.number(8);
    if (entry.failed() || !sameKind || storedKey != key || slide.width < 1 || slide.height < 1 ||
        length > entry.left() || sharpLength != entry.left() - length)
        return std::nullopt;
    const std::string_view payload = std::string_view(bytes).substr(entry.used());
    if (fnv1a(payload, expected) != checksum)
        return std::nullopt;
    slide.jpeg = std::string(entry.text(length));
    slide.sharpJpeg = std::string(entry.text(sharpLength));
    // Records the use for trim(); an entry that cannot be touched only looks older.
    ::utimensat(AT_FDCWD, path.c_str(), nullptr, 0);
    return slide;
}

void SlideCache::write(const std::string &key, const SlidePicture &slide) const
{
    if (folderIsLink())
        return;
    try {
        std::string bytes(magic);
        putNumber(bytes, key.size(), 4);
        bytes += key;
        putNumber(bytes, std::uint32_t(slide.width), 4);
        putNumber(bytes, std::uint32_t(slide.height), 4);
        putNumber(bytes, slide.jpeg.size(), 8);
        putNumber(bytes, slide.sharpJpeg.size(), 8);
        putNumber(bytes, fnv1a(slide.sharpJpeg, fnv1a(slide.jpeg, fnv1a(bytes))), 8);
        bytes += slide.jpeg;
        bytes += slide.sharpJpeg;
        std::error_code ignored;
        std::filesystem::create_directories(m_folder, ignored);
        fileio::writeFileAtomically(entryPath(key), bytes, fileio::Durability::scratch);
    } catch (...) {
        // A cache that cannot be written is simply not used.
    }
}

bool SlideCache::folderIsLink() const
{
    struct stat info
    {};
    return ::lstat(m_folder.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

SlideCacheUsage SlideCache::usage() const
{
    SlideCacheUsage usage;
    const OpenFolder folder(m_folder);
    for (const Entry &entry : entriesIn(folder)) {
        ++usage.entries;
        usage.bytes += entry.bytes;
    }
    return usage;
}

SlideCacheUsage SlideCache::trim() const
{
    return trimTo(m_sizeLimit);
}

SlideCacheUsage SlideCache::clear() const
{
    return trimTo(0);
}

// Entries are written to a temporary file and renamed, so every name listed here is a
// whole entry; removing one while another run reads it costs that run a miss at most.
SlideCacheUsage SlideCache::trimTo(std::uintmax_t sizeLimit) const
{
    SlideCacheUsage removed;
    const OpenFolder folder(m_folder);
    if (!folder.isOpen())
        return removed;
    TemporaryFile::removeLeftovers(m_folder);
    std::vector<Entry> found = entriesIn(folder, &removed);
    std::uintmax_t total = 0;
    for (const Entry &entry : found)
        total += entry.bytes;
    std::sort(found.begin(), found.end(),
              [](const Entry &a, const Entry &b) { return a.lastUsed < b.lastUsed; });
    for (auto entry = found.begin(); entry != found.end() && total > sizeLimit; ++entry) {
        total -= entry->bytes;
        if (::unlinkat(folder.fd(), entry->name.c_str(), 0) == 0) {
            ++removed.entries;
            removed.bytes += entry->bytes;
        }
    }
    return removed;
}

SlidePicture makeSlidePictureCached(const std::filesystem::path &original, int targetHeight,
                                    const SlideCache *cache)
{
    if (!cache)
        return makeSlidePicture(original, targetHeight);
    const std::optional<std::string> key = cache->keyFor(original, targetHeight);
    if (key) {
        if (std::optional<SlidePicture> hit = cache->read(*key))
            return std::move(*hit);
    }
    SlidePicture slide = makeSlidePicture(original, targetHeight);
    // An original changed while it was read must not be stored under its old key.
    if (key && cache->keyFor(original, targetHeight) == key)
        cache->write(*key, slide);
    return slide;
}
