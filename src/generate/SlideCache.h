#pragma once

// Slides made before, kept per user so that building a slide show again skips the
// decoding and scaling of originals that have not changed. An entry is one file named by
// a hash of its key: the original's absolute path, size, modification and change times,
// device and inode, the slide height and the pipeline's version. The change time and the
// inode are there because a user can set a rewritten file's modification time back, but
// not those. An entry holds the full key and a checksum, so a hash collision or a damaged
// entry reads as a miss and never as a wrong slide.

#include "SlidePicture.h"

#include <filesystem>
#include <optional>
#include <string>

// Raise whenever makeSlidePicture's output changes, so that slides made by an older
// pipeline are made afresh.
inline constexpr int slidePipelineVersion = 1;

class SlideCache
{
public:
    explicit SlideCache(std::filesystem::path folder, int pipelineVersion = slidePipelineVersion);

    // $XDG_CACHE_HOME/velloria/slides, or ~/.cache/velloria/slides.
    static std::filesystem::path defaultFolder();

    std::optional<SlidePicture> find(const std::filesystem::path &original, int targetHeight) const;
    // Never fails: a cache that cannot be written is simply not used.
    void store(const std::filesystem::path &original, int targetHeight,
               const SlidePicture &slide) const;

    const std::filesystem::path &folder() const { return m_folder; }

private:
    friend SlidePicture makeSlidePictureCached(const std::filesystem::path &original,
                                               int targetHeight, const SlideCache *cache);

    std::optional<std::string> keyFor(const std::filesystem::path &original,
                                      int targetHeight) const;
    std::filesystem::path entryPath(const std::string &key) const;
    std::optional<SlidePicture> read(const std::string &key) const;
    void write(const std::string &key, const SlidePicture &slide) const;

    std::filesystem::path m_folder;
    int m_pipelineVersion;
};

// makeSlidePicture, through the cache when one is given. A slide from the cache is byte
// for byte the slide a fresh make gives.
SlidePicture makeSlidePictureCached(const std::filesystem::path &original, int targetHeight,
                                    const SlideCache *cache);
