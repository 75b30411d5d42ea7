#pragma once

// Slides made before, kept per user so that building a slide show again skips the
// decoding and scaling of originals that have not changed. An entry is one file named by
// a hash of its key: the original's absolute path, size, modification and change times,
// device and inode, the slide height and the pipeline's version. The change time and the
// inode are there because a user can set a rewritten file's modification time back, but
// not those. An entry holds the full key and a checksum, so a hash collision or a damaged
// entry reads as a miss and never as a wrong slide.
//
// The cache keeps under a size limit by dropping the entries used longest ago: a hit
// touches its entry's modification time, and trim() removes the oldest first. Only files
// with an entry's name that begin as an entry does are counted or removed: whatever else
// lies in the folder is the user's.

#include "SlidePicture.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Raise whenever makeSlidePicture's output changes, so that slides made by an older
// pipeline are made afresh. 2: slides of originals with a colour profile are in sRGB.
// 3: an entry holds the sharp slide at twice the size beside the slide.
inline constexpr int slidePipelineVersion = 3;

// Entries of the cache, or those a trim removed, and their bytes.
struct SlideCacheUsage
{
    std::size_t entries = 0;
    std::uintmax_t bytes = 0;
};

class SlideCache
{
public:
    static constexpr std::uintmax_t megabyte = 1024 * 1024;
    static constexpr std::uintmax_t defaultSizeLimit = 500 * megabyte;

    explicit SlideCache(std::filesystem::path folder, int pipelineVersion = slidePipelineVersion,
                        std::uintmax_t sizeLimit = defaultSizeLimit);

    // $XDG_CACHE_HOME/velloria/slides, or ~/.cache/velloria/slides.
    static std::filesystem::path defaultFolder();
    // $VELLORIA_SLIDE_CACHE_LIMIT_MB megabytes, or defaultSizeLimit when it is not a number.
    static std::uintmax_t sizeLimitFromEnvironment();

    std::optional<SlidePicture> find(const std::filesystem::path &original, int targetHeight) const;
    // Never fails: a cache that cannot be written is simply not used.
    void store(const std::filesystem::path &original, int targetHeight,
               const SlidePicture &slide) const;

    const std::filesystem::path &folder() const { return m_folder; }
    std::uintmax_t sizeLimit() const { return m_sizeLimit; }

    // A cache folder that is a symbolic link is never followed: the cache is not used,
    // counts nothing and removes nothing.
    bool folderIsLink() const;
    SlideCacheUsage usage() const;
    // Removes the entries used longest ago until the rest fit the size limit, and
    // leftovers of writes that stopped over an hour ago. Meant for once per generation run:
    // it lists the whole folder. Never fails; returns what it removed.
    SlideCacheUsage trim() const;
    // Removes every entry.
    SlideCacheUsage clear() const;

private:
    friend SlidePicture makeSlidePictureCached(const std::filesystem::path &original,
                                               int targetHeight, const SlideCache *cache);

    std::optional<std::string> keyFor(const std::filesystem::path &original,
                                      int targetHeight) const;
    std::filesystem::path entryPath(const std::string &key) const;
    std::optional<SlidePicture> read(const std::string &key) const;
    void write(const std::string &key, const SlidePicture &slide) const;
    SlideCacheUsage trimTo(std::uintmax_t sizeLimit) const;

    std::filesystem::path m_folder;
    int m_pipelineVersion;
    std::uintmax_t m_sizeLimit;
};

// makeSlidePicture, through the cache when one is given. A slide from the cache is byte
// for byte the slide a fresh make gives.
SlidePicture makeSlidePictureCached(const std::filesystem::path &original, int targetHeight,
                                    const SlideCache *cache);
