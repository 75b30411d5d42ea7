// Small pictures of originals for the editor: the scale decoded, upright, refused files.

#include "generate/PictureThumbnail.h"

#include "OriginalJpegs.h"
#include "common/TempFolder.h"
#include "platform/VelloriaError.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

struct ThumbnailCase
{
    const char *name;
    int width, height; // as stored
    int orientation;
    int boxWidth, boxHeight;
    int pictureWidth, pictureHeight; // upright
    int decodedWidth, decodedHeight; // as stored
};

class PictureThumbnails : public ::testing::TestWithParam<ThumbnailCase>
{
protected:
    TempFolder folder;
};

TEST_P(PictureThumbnails, fitTheBoxFromTheSmallestScaleThatCoversIt)
{
    const ThumbnailCase &c = GetParam();
    const std::string path = folder.file("photo.jpg");
    writeBytes(path,
               encodeOriginal(renderPhoto(c.width, c.height), {.orientation = c.orientation}));
    const PictureThumbnail thumbnail = makePictureThumbnail(path, c.boxWidth, c.boxHeight);
    EXPECT_EQ(thumbnail.picture.width, c.pictureWidth);
    EXPECT_EQ(thumbnail.picture.height, c.pictureHeight);
    EXPECT_EQ(thumbnail.picture.pixels.size(), std::size_t(c.pictureWidth) * c.pictureHeight * 3);
    EXPECT_EQ(thumbnail.decodedWidth, c.decodedWidth);
    EXPECT_EQ(thumbnail.decodedHeight, c.decodedHeight);
    const bool swaps = c.orientation >= 5;
    EXPECT_EQ(thumbnail.originalWidth, swaps ? c.height : c.width);
    EXPECT_EQ(thumbnail.originalHeight, swaps ? c.width : c.height);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PictureThumbnails,
    ::testing::Values(
        // An eighth of 1200 x 900 still covers 64 x 48.
        ThumbnailCase{"landscape", 1200, 900, 1, 64, 64, 64, 48, 150, 113},
        // A phone portrait stored on its side comes out taller than wide.
        ThumbnailCase{"portrait", 1200, 900, 6, 64, 64, 48, 64, 150, 113},
        ThumbnailCase{"portraitOther", 1200, 900, 8, 64, 64, 48, 64, 150, 113},
        // 160 x 120 needs a quarter: an eighth gives only 100 x 75.
        ThumbnailCase{"pageBox", 800, 600, 1, 240, 120, 160, 120, 200, 150},
        ThumbnailCase{"pagePortrait", 800, 600, 5, 240, 120, 90, 120, 200, 150},
        // A picture smaller than the box keeps its size, decoded whole.
        ThumbnailCase{"small", 40, 30, 1, 64, 64, 40, 30, 40, 30},
        // A panorama keeps a row of pixels.
        ThumbnailCase{"panorama", 1600, 16, 1, 64, 64, 64, 1, 200, 2}),
    [](const ::testing::TestParamInfo<ThumbnailCase> &row) { return std::string(row.param.name); });

TEST(PictureThumbnailRefusals, nameTheFileAndWhatItIs)
{
    TempFolder folder;
    const std::string pipe = folder.file("pipe.jpg");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string text = folder.file("text.jpg");
    writeBytes(text, "plain text");
    const std::string photo = folder.file("photo.jpg");
    writeBytes(photo, encodeOriginal(renderPhoto(40, 30)));
    const struct
    {
        std::string path;
        int box;
        const char *reason;
    } refusals[] = {
        // Without a writer, a reader that waited for one would hang here.
        {pipe, 64, "it is a named pipe (FIFO)"},
        {folder.path().string(), 64, "it is a folder"},
        {folder.file("missing.jpg"), 64, "No such file"},
        {text, 64, "not a JPEG"},
        {photo, 0, "the box is 0 x 0"},
    };
    for (const auto &refused : refusals) {
        try {
            makePictureThumbnail(refused.path, refused.box, refused.box);
            ADD_FAILURE() << "made a picture of " << refused.path;
        } catch (const VelloriaError &error) {
            const std::string message = error.what();
            EXPECT_NE(message.find(refused.path), std::string::npos) << message;
            EXPECT_NE(message.find(refused.reason), std::string::npos) << message;
        }
    }
}

} // namespace
