// The slide cache returns exactly what a fresh make gives, and nothing once anything in
// its key or its entry changed.

#include "generate/SlideCache.h"

#include "OriginalJpegs.h"
#include "common/TempFolder.h"

#include <algorithm>
#include <ctime>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class SlideCaching : public ::testing::Test
{
protected:
    void SetUp() override
    {
        original = folder.file("photo.jpg");
        writeBytes(original, encodeOriginal(renderPhoto(120, 90)));
    }
    // The cache's only entry file.
    fs::path entry() const
    {
        std::vector<fs::path> entries;
        for (const auto &file : fs::directory_iterator(cacheFolder))
            entries.push_back(file.path());
        EXPECT_EQ(entries.size(), 1u);
        return entries.empty() ? fs::path() : entries.front();
    }
    SlidePicture storedSlide()
    {
        const SlidePicture slide = makeSlidePicture(original, 60);
        cache.store(original, 60, slide);
        return slide;
    }

    TempFolder folder;
    fs::path cacheFolder = folder.path() / "cache" / "slides";
    SlideCache cache{cacheFolder};
    std::string original;
};

TEST_F(SlideCaching, hitIsByteIdenticalToAFreshMake)
{
    // At 60 rows the slide comes alone; at 45 the original's 90 rows make a sharp one too.
    for (const int height : {60, 45}) {
        EXPECT_FALSE(cache.find(original, height));
        const SlidePicture fresh = makeSlidePictureCached(original, height, &cache);
        EXPECT_EQ(fresh.sharpJpeg.empty(), height == 60);
        const std::optional<SlidePicture> hit = cache.find(original, height);
        ASSERT_TRUE(hit);
        EXPECT_EQ(hit->jpeg, fresh.jpeg);
        EXPECT_EQ(hit->sharpJpeg, fresh.sharpJpeg);
        EXPECT_EQ(hit->width, fresh.width);
        EXPECT_EQ(hit->height, fresh.height);
        EXPECT_EQ(makeSlidePictureCached(original, height, &cache).sharpJpeg, fresh.sharpJpeg);
        EXPECT_EQ(makeSlidePictureCached(original, height, nullptr).jpeg, fresh.jpeg);
    }
}

TEST_F(SlideCaching, missesWhenHeightOrPipelineVersionDiffer)
{
    storedSlide();
    EXPECT_FALSE(cache.find(original, 61));
    EXPECT_FALSE(SlideCache(cacheFolder, slidePipelineVersion + 1).find(original, 60));
    EXPECT_TRUE(cache.find(original, 60));
}

TEST_F(SlideCaching, missesWhenTheOriginalChanges)
{
    storedSlide();
    const timespec times[2] = {{0, UTIME_OMIT}, {1'600'000'000, 123}};
    ASSERT_EQ(::utimensat(AT_FDCWD, original.c_str(), times, 0), 0);
    EXPECT_FALSE(cache.find(original, 60));

    storedSlide();
    writeBytes(original, encodeOriginal(renderPhoto(121, 90)));
    ASSERT_EQ(::utimensat(AT_FDCWD, original.c_str(), times, 0), 0); // same time, new size
    EXPECT_FALSE(cache.find(original, 60));
    EXPECT_EQ(makeSlidePictureCached(original, 60, &cache).width, 81);
}

// Same size, its modification time set back to the nanosecond: only the change time tells.
// The clock behind the change time ticks in milliseconds, so the rewrite repeats until it
// has moved on from the stored one.
TEST_F(SlideCaching, missesWhenTheOriginalIsRewrittenAndItsTimeSetBack)
{
    std::string narrower = encodeOriginal(renderPhoto(100, 90));
    const std::string before = readBytes(original);
    ASSERT_GE(before.size(), narrower.size() + 4);
    const std::size_t padding = before.size() - narrower.size() - 2;
    narrower.insert(2, "\xff\xfe" + std::string{char(padding >> 8), char(padding & 0xff)} +
                           std::string(padding - 2, ' ')); // a comment segment
    ASSERT_EQ(narrower.size(), before.size());

    storedSlide();
    struct stat stored
    {};
    ASSERT_EQ(::stat(original.c_str(), &stored), 0);
    const timespec times[2] = {stored.st_atim, stored.st_mtim};
    struct stat rewritten = stored;
    for (int tries = 0; tries < 100000 && rewritten.st_ctim.tv_nsec == stored.st_ctim.tv_nsec &&
                        rewritten.st_ctim.tv_sec == stored.st_ctim.tv_sec;
         ++tries) {
        writeBytes(original, narrower);
        ASSERT_EQ(::utimensat(AT_FDCWD, original.c_str(), times, 0), 0);
        ASSERT_EQ(::stat(original.c_str(), &rewritten), 0);
    }
    EXPECT_EQ(rewritten.st_ino, stored.st_ino);
    EXPECT_EQ(rewritten.st_size, stored.st_size);
    EXPECT_FALSE(cache.find(original, 60));
    EXPECT_EQ(makeSlidePictureCached(original, 60, &cache).width, 67);
}

TEST_F(SlideCaching, neverUsesADamagedEntry)
{
    storedSlide();
    const std::string good = readBytes(entry().string());
    for (std::size_t at : {std::size_t(3), std::size_t(40), good.size() / 2, good.size() - 1}) {
        std::string flipped = good;
        flipped[at] = static_cast<char>(flipped[at] ^ 0x10);
        writeBytes(entry().string(), flipped);
        EXPECT_FALSE(cache.find(original, 60)) << "byte " << at;
    }
    for (std::size_t length : {std::size_t(0), std::size_t(10), good.size() - 1}) {
        writeBytes(entry().string(), good.substr(0, length));
        EXPECT_FALSE(cache.find(original, 60)) << "length " << length;
    }
    writeBytes(entry().string(), good + "x");
    EXPECT_FALSE(cache.find(original, 60));
    writeBytes(entry().string(), good);
    EXPECT_TRUE(cache.find(original, 60));
}

// A file where the folder should be stops writing for every user, root included.
TEST_F(SlideCaching, anUnwritableFolderOnlyCostsTheCache)
{
    fs::create_directories(cacheFolder.parent_path());
    writeBytes(cacheFolder.string(), "not a folder");
    const SlidePicture slide = makeSlidePicture(original, 60);
    EXPECT_NO_THROW(cache.store(original, 60, slide));
    EXPECT_EQ(makeSlidePictureCached(original, 60, &cache).jpeg, slide.jpeg);
    EXPECT_FALSE(cache.find(original, 60));
    EXPECT_EQ(readBytes(cacheFolder.string()), "not a folder");
}

class SlideCacheTrim : public SlideCaching
{
protected:
    // Stores a slide at each height, each used a minute after the one before.
    void storeUsedInTurn(const std::vector<int> &heights)
    {
        fs::create_directories(cacheFolder);
        for (std::size_t i = 0; i < heights.size(); ++i) {
            const std::vector<std::string> before = files();
            makeSlidePictureCached(original, heights[i], &cache);
            for (const std::string &name : files())
                if (std::find(before.begin(), before.end(), name) == before.end())
                    entries[heights[i]] = cacheFolder / name;
            setTime(entries[heights[i]], 1'600'000'000 + 60 * std::int64_t(i));
        }
    }
    std::vector<std::string> files() const
    {
        std::vector<std::string> names;
        for (const auto &file : fs::directory_iterator(cacheFolder))
            names.push_back(file.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    static void setTime(const fs::path &path, std::int64_t seconds)
    {
        const timespec times[2] = {{seconds, 0}, {seconds, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }

    std::map<int, fs::path> entries;
};

// A hit counts as a use: the entry found last survives, the one used longest ago goes.
TEST_F(SlideCacheTrim, dropsTheEntriesUsedLongestAgo)
{
    storeUsedInTurn({50, 60, 70});
    ASSERT_TRUE(cache.find(original, 50));
    const std::uintmax_t entryBytes = fs::file_size(entries[60]);
    const SlideCache limited(cacheFolder, slidePipelineVersion, 2 * entryBytes + entryBytes / 2);
    const SlideCacheUsage removed = limited.trim();
    EXPECT_EQ(removed.entries, 1u);
    EXPECT_TRUE(cache.find(original, 50));
    EXPECT_FALSE(cache.find(original, 60));
    EXPECT_TRUE(cache.find(original, 70));
    EXPECT_EQ(limited.usage().entries, 2u);
    EXPECT_EQ(limited.clear().entries, 2u);
    EXPECT_EQ(limited.usage().entries, 0u);
}

// Leftovers of entries go once no write can still be making them; other files stay.
TEST_F(SlideCacheTrim, removesOnlyStaleLeftoversBesideEntries)
{
    storeUsedInTurn({60});
    const std::string entry = files().front();
    // A leftover is an entry cut short: as much of an entry's beginning as it holds.
    for (const auto &[name, bytes] :
         std::vector<std::pair<std::string, std::string>>{{"." + entry + ".old123", "VSLI"},
                                                          {"." + entry + ".old124", ""},
                                                          {"." + entry + ".new456", "VSLI"},
                                                          {"." + entry + ".old789", "my notes"},
                                                          {"notes.txt", "VSLI"},
                                                          {"old.txt", "x"}}) {
        writeBytes((cacheFolder / name).string(), bytes);
        setTime(cacheFolder / name,
                name.find("new") == std::string::npos ? 1'600'000'000 : ::time(nullptr));
    }
    const SlideCacheUsage removed = cache.trim();
    EXPECT_EQ(removed.entries, 0u);
    EXPECT_EQ(removed.bytes, 4u);
    EXPECT_EQ(files(), (std::vector<std::string>{"." + entry + ".new456", "." + entry + ".old789",
                                                 entry, "notes.txt", "old.txt"}));
    EXPECT_EQ(cache.usage().entries, 1u);
}

// A user's own files in the cache folder, or in a folder the cache folder links to, are
// neither counted nor removed: only a file with an entry's name and an entry's beginning is.
TEST_F(SlideCacheTrim, neverCountsOrRemovesFilesItDidNotWrite)
{
    storeUsedInTurn({60});
    const std::string entry = files().front();
    const fs::path docs = folder.path() / "docs";
    fs::create_directories(docs);
    writeBytes((docs / "talk.slide").string(), "my talk");
    writeBytes((docs / entry).string(), readBytes((cacheFolder / entry).string()));
    const struct
    {
        const char *name;
        std::string bytes;
    } foreign[] = {
        {"talk.slide", "VSLIDE\r\n and then my talk"}, // the header, not the name
        {"0123456789ABCDEF.slide", "VSLIDE\r\n"},      // upper-case hash
        {"0123456789abcdef.slide", "my talk"},         // the name, not the header
        {"0123456789abcde.slide", "VSLIDE\r\n"},       // a digit short
    };
    for (const auto &file : foreign)
        writeBytes((cacheFolder / file.name).string(), file.bytes);
    fs::create_symlink(docs / entry, cacheFolder / "fedcba9876543210.slide");
    fs::create_directory(cacheFolder / "0000000000000000.slide");

    EXPECT_EQ(cache.usage().entries, 1u);
    EXPECT_EQ(cache.clear().entries, 1u);
    EXPECT_EQ(files().size(), 6u);
    EXPECT_EQ(readBytes((docs / "talk.slide").string()), "my talk");

    // A cache folder that is a link is not followed, to look or to remove.
    const fs::path linked = folder.path() / "linked";
    fs::create_directory_symlink(docs, linked);
    const SlideCache throughLink(linked);
    EXPECT_TRUE(throughLink.folderIsLink());
    EXPECT_FALSE(throughLink.find(original, 60));
    EXPECT_EQ(throughLink.usage().entries, 0u);
    EXPECT_EQ(throughLink.clear().entries, 0u);
    makeSlidePictureCached(original, 70, &throughLink);
    std::vector<std::string> inDocs;
    for (const auto &file : fs::directory_iterator(docs))
        inDocs.push_back(file.path().filename().string());
    std::sort(inDocs.begin(), inDocs.end());
    EXPECT_EQ(inDocs, (std::vector<std::string>{entry, "talk.slide"}));
    EXPECT_FALSE(cache.folderIsLink());
}

TEST(SlideCacheLimit, comesFromTheEnvironmentInMegabytes)
{
    const struct
    {
        const char *value;
        std::uintmax_t limit;
    } cases[] = {{"20", 20 * SlideCache::megabyte},
                 {"0", 0},
                 {"", SlideCache::defaultSizeLimit},
                 {"-5", SlideCache::defaultSizeLimit},
                 {"12MB", SlideCache::defaultSizeLimit},
                 {"99999999999999999999", SlideCache::defaultSizeLimit}};
    for (const auto &c : cases) {
        ::setenv("VELLORIA_SLIDE_CACHE_LIMIT_MB", c.value, 1);
        EXPECT_EQ(SlideCache::sizeLimitFromEnvironment(), c.limit) << c.value;
    }
    ::unsetenv("VELLORIA_SLIDE_CACHE_LIMIT_MB");
    EXPECT_EQ(SlideCache::sizeLimitFromEnvironment(), SlideCache::defaultSizeLimit);
}

TEST(SlideCacheFolder, followsXdgCacheHome)
{
    const char *saved = std::getenv("XDG_CACHE_HOME");
    const std::string restore = saved ? saved : "";
    ::setenv("XDG_CACHE_HOME", "/somewhere/cache", 1);
    EXPECT_EQ(SlideCache::defaultFolder(), fs::path("/somewhere/cache/velloria/slides"));
    ::setenv("XDG_CACHE_HOME", "relative", 1);
    EXPECT_EQ(SlideCache::defaultFolder().filename(), "slides");
    EXPECT_TRUE(SlideCache::defaultFolder().is_absolute());
    if (saved)
        ::setenv("XDG_CACHE_HOME", restore.c_str(), 1);
    else
        ::unsetenv("XDG_CACHE_HOME");
}

} // namespace
