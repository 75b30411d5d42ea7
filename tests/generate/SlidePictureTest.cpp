// Slides from originals of every kind: refusals, orientation, colour, format and quality.

#include "generate/SlidePicture.h"

#include "DecodedJpeg.h"
#include "LanczosReference.h"
#include "OriginalJpegs.h"
#include "common/TempFolder.h"
#include "platform/VelloriaError.h"

#include <array>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

class SlidePictures : public ::testing::Test
{
protected:
    std::string original(const std::string &name, const std::string &bytes)
    {
        const std::string path = folder.file(name);
        writeBytes(path, bytes);
        return path;
    }
    std::string photo(const std::string &name, int width, int height, const OriginalForm &form = {})
    {
        return original(name, encodeOriginal(renderPhoto(width, height), form));
    }
    // The refusal's message, which must name the file.
    std::string refusal(const std::string &path, int targetHeight)
    {
        try {
            makeSlidePicture(path, targetHeight);
        } catch (const VelloriaError &error) {
            EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
            return error.what();
        }
        ADD_FAILURE() << "made a slide of " << path;
        return {};
    }

    TempFolder folder;
};

TEST_F(SlidePictures, refusesHeightsBelowOnePixel)
{
    const std::string path = photo("a.jpg", 40, 30);
    for (int height : {0, -1, -120})
        EXPECT_NE(refusal(path, height).find("height"), std::string::npos);
}

TEST_F(SlidePictures, refusesPicturesThatWouldShrinkToNothing)
{
    EXPECT_NE(refusal(photo("thin.jpg", 1, 1000), 10).find("1 x 1000"), std::string::npos);
}

// Sizes come from the header, so a refused slide never reaches the decoder: a height from an
// edited project once made a 1.7 GB slide, and a small picture at the largest height ran the
// decoder out of memory with a message that named neither size nor limit.
TEST_F(SlidePictures, refusesSlidesBeyondTheLargestSize)
{
    const std::string wide = photo("wide.jpg", 400, 300);
    const std::string tall = photo("tall.jpg", 300, 400);
    const std::string strip = photo("strip.jpg", 80, 1);
    const struct
    {
        const std::string &path;
        int target;
        const char *reason; // empty: the slide is made
    } cases[] = {
        {wide, 12000, "16000 x 12000 pixels, higher than the largest slide height of 9999"},
        {wide, 10000, "13333 x 10000 pixels, higher than the largest slide height of 9999"},
        {wide, 9999, "13332 x 9999 pixels, more than the limit of 40 megapixels"},
        {tall, 9999, "7499 x 9999 pixels, more than the limit of 40 megapixels"},
        {strip, 1000, "80000 x 1000 pixels, wider than the largest JPEG width of 65500"},
        {wide, 120, ""},
        {strip, 60, ""}, // 4800 x 60
    };
    for (const auto &c : cases) {
        if (*c.reason == '\0') {
            EXPECT_EQ(makeSlidePicture(c.path, c.target).height, c.target);
            continue;
        }
        const std::string message = refusal(c.path, c.target);
        EXPECT_NE(message.find(c.reason), std::string::npos) << message;
    }
}

TEST_F(SlidePictures, refusesMissingFilesAndFolders)
{
    EXPECT_NE(refusal(folder.file("missing.jpg"), 120).find("No such file"), std::string::npos);
    EXPECT_NE(refusal(folder.path().string(), 120).find("it is a folder"), std::string::npos);
}

// A named pipe is refused without waiting for a writer. One comes along anyway, so that a
// reader that does wait ends with a wrong message instead of hanging.
TEST_F(SlidePictures, refusesPipesAndDevicesForWhatTheyAre)
{
    const std::string pipe = folder.file("pipe.jpg");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::thread writer([&] { ::close(::open(pipe.c_str(), O_WRONLY | O_CLOEXEC)); });
    EXPECT_NE(refusal(pipe, 60).find("it is a named pipe (FIFO)"), std::string::npos);
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    writer.join();
    ::close(reader);
    EXPECT_NE(refusal("/dev/null", 60).find("it is a character device"), std::string::npos);
}

TEST_F(SlidePictures, refusesFilesThatAreNotJpeg)
{
    const std::string png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10", 20);
    std::string noise;
    for (unsigned int i = 0, state = 7; i < 4096; ++i, state = state * 69069u + 1u)
        noise.push_back(static_cast<char>(state >> 24));
    for (const std::string &bytes : {png, noise, std::string(), std::string("plain text")})
        EXPECT_NE(refusal(original("x.jpg", bytes), 120).find("not a JPEG"), std::string::npos);
}

TEST_F(SlidePictures, refusesTruncatedPictures)
{
    for (const bool progressive : {false, true}) {
        const std::string whole =
            encodeOriginal(renderPhoto(200, 150), {.progressive = progressive});
        const std::string path = original("cut.jpg", whole.substr(0, whole.size() * 6 / 10));
        EXPECT_NE(refusal(path, 60).find("truncated"), std::string::npos);
    }
}

// Offset of the first entropy-coded byte: after the SOS segment.
std::size_t scanStart(const std::string &jpeg)
{
    const std::size_t sos = jpeg.find("\xff\xda");
    return sos + 2 + (std::size_t(static_cast<unsigned char>(jpeg[sos + 2])) << 8) +
           static_cast<unsigned char>(jpeg[sos + 3]);
}

// JPEG has no checksum and random damage can decode as valid codes, so the damage here
// is one that no decoder can miss: a run of 32 one-bits (0xff is stuffed as ff 00), longer
// than any Huffman code.
TEST_F(SlidePictures, refusesDamagedEntropyData)
{
    std::string jpeg = encodeOriginal(renderPhoto(200, 150));
    const std::size_t middle = (scanStart(jpeg) + jpeg.size()) / 2;
    jpeg.replace(middle, 8, std::string("\xff\0\xff\0\xff\0\xff\0", 8));
    EXPECT_NE(refusal(original("damaged.jpg", jpeg), 60).find("damaged"), std::string::npos);
}

// Editors leave stray bytes between segments now and then; such files are fine.
TEST_F(SlidePictures, acceptsStrayBytesBetweenSegments)
{
    std::string jpeg = encodeOriginal(renderPhoto(200, 150));
    const std::size_t afterApp0 = 4 + (std::size_t(static_cast<unsigned char>(jpeg[4])) << 8) +
                                  static_cast<unsigned char>(jpeg[5]);
    jpeg.insert(afterApp0, std::string("\0\x12\x34", 3));
    EXPECT_EQ(makeSlidePicture(original("stray.jpg", jpeg), 60).width, 80);
}

// A header that claims 60000 x 60000 pixels in a file of about a kilobyte must fail at
// once, not decode for minutes or take all memory.
TEST_F(SlidePictures, refusesGiantHeadersOverTinyFiles)
{
    for (const bool progressive : {false, true}) {
        std::string jpeg = encodeOriginal(renderPhoto(64, 64), {.progressive = progressive});
        const std::size_t sof = jpeg.find(progressive ? "\xff\xc2" : "\xff\xc0");
        ASSERT_NE(sof, std::string::npos);
        jpeg.replace(sof + 5, 4, "\xea\x60\xea\x60");
        refusal(original("giant.jpg", jpeg.substr(0, 1024)), 120);
    }
}

// Decoding costs time per block and scan, not per byte of the file. Pictures that ask for
// far more work than their file's size justifies are refused before that work is done.
TEST_F(SlidePictures, refusesPicturesThatAskForWorkOutOfProportion)
{
    const RgbImage grey{4096, 4096, std::vector<unsigned char>(4096 * 4096 * 3, 128)};
    const struct
    {
        const char *name;
        std::string bytes;
        const char *reason;
    } bombs[] = {
        {"many.jpg", encodeScanBomb(renderPhoto(320, 240), 101), "too many scans"},
        // Scans of a large flat picture visit millions of blocks for a few bytes each.
        {"flat.jpg", encodeScanBomb(grey, 90, true), "far more decoding"},
    };
    for (const auto &bomb : bombs)
        EXPECT_NE(refusal(original(bomb.name, bomb.bytes), 60).find(bomb.reason),
                  std::string::npos);
    EXPECT_EQ(
        makeSlidePicture(original("100.jpg", encodeScanBomb(renderPhoto(320, 240), 100)), 60).width,
        80);
}

// Arithmetic decoding reads zeros past the end of a scan's data without a warning, so a
// header can declare a huge picture over a few hundred bytes that all decode.
TEST_F(SlidePictures, refusesDeclaredSizesTheFileCannotHold)
{
    const RgbImage grey{64, 64, std::vector<unsigned char>(64 * 64 * 3, 128)};
    std::string jpeg =
        encodeOriginal(grey, {.progressive = true, .grayscale = true, .arithmetic = true});
    const std::size_t sof = jpeg.find("\xff\xca");
    ASSERT_NE(sof, std::string::npos);
    jpeg.replace(sof + 5, 4, "\x23\x28\x23\x28"); // 9000 x 9000
    EXPECT_NE(refusal(original("inflated.jpg", jpeg), 60).find("too small for the picture"),
              std::string::npos);
}

TEST_F(SlidePictures, givesTheSameBytesForTheSamePicture)
{
    const std::string bytes = encodeOriginal(renderPhoto(300, 200));
    const SlidePicture first = makeSlidePicture(original("a.jpg", bytes), 90);
    const SlidePicture again = makeSlidePicture(original("b.jpg", bytes), 90);
    EXPECT_EQ(first.jpeg, again.jpeg);
}

// Each orientation brings a different stored corner to the upright top left and top
// right; those corners are painted red and green.
struct OrientationCase
{
    int orientation;
    int redX, redY;     // stored corner that must end top left, 0 or 1 for low or high
    int greenX, greenY; // stored corner that must end top right
};

class SlideOrientation : public SlidePictures, public ::testing::WithParamInterface<OrientationCase>
{};

void paintCorner(RgbImage &image, int highX, int highY, unsigned char r, unsigned char g)
{
    const int size = 16;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int px = highX ? image.width - 1 - x : x;
            const int py = highY ? image.height - 1 - y : y;
            unsigned char *pixel = &image.pixels[(std::size_t(py) * image.width + px) * 3];
            pixel[0] = r, pixel[1] = g, pixel[2] = 0;
        }
    }
}

TEST_P(SlideOrientation, turnsThePictureUpright)
{
    const OrientationCase &c = GetParam();
    RgbImage stored = renderPhoto(96, 64);
    paintCorner(stored, c.redX, c.redY, 255, 0);
    paintCorner(stored, c.greenX, c.greenY, 0, 255);
    const std::string path =
        original("o.jpg", encodeOriginal(stored, {.orientation = c.orientation}));

    const SlidePicture slide = makeSlidePicture(path, 48);
    const bool swapped = c.orientation >= 5;
    EXPECT_EQ(slide.width, swapped ? 32 : 72);
    EXPECT_EQ(slide.height, 48);
    // Upright, the picture has 96 rows (twice the slide's) or 64: the sharp slide follows
    // the upright height, not the stored one.
    ASSERT_EQ(slide.sharpJpeg.empty(), !swapped);
    for (const std::string *jpeg : {&slide.jpeg, &slide.sharpJpeg}) {
        if (jpeg->empty())
            continue;
        const DecodedJpeg upright = decodeJpeg(*jpeg);
        EXPECT_EQ(upright.width, jpeg == &slide.jpeg ? slide.width : 2 * slide.width);
        EXPECT_EQ(upright.height, jpeg == &slide.jpeg ? 48 : 96);
        const unsigned char *topLeft = upright.at(2, 2);
        const unsigned char *topRight = upright.at(upright.width - 3, 2);
        EXPECT_GT(topLeft[0], 200);
        EXPECT_LT(topLeft[1], 60);
        EXPECT_LT(topRight[0], 60);
        EXPECT_GT(topRight[1], 200);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Exif, SlideOrientation,
    ::testing::Values(OrientationCase{0, 0, 0, 1, 0}, OrientationCase{1, 0, 0, 1, 0},
                      OrientationCase{2, 1, 0, 0, 0}, OrientationCase{3, 1, 1, 0, 1},
                      OrientationCase{4, 0, 1, 1, 1}, OrientationCase{5, 0, 0, 0, 1},
                      OrientationCase{6, 0, 1, 0, 0}, OrientationCase{7, 1, 1, 1, 0},
                      OrientationCase{8, 1, 0, 1, 1}));

// Every kind of original gives a baseline 4:4:4 colour slide with the original's colours.
struct FormCase
{
    const char *name;
    OriginalForm form;
};

class SlideFormats : public SlidePictures, public ::testing::WithParamInterface<FormCase>
{};

std::array<double, 3> meanColour(const std::vector<unsigned char> &rgb)
{
    std::array<double, 3> sums{};
    for (std::size_t i = 0; i < rgb.size(); ++i)
        sums[i % 3] += rgb[i];
    for (double &sum : sums)
        sum /= double(rgb.size() / 3);
    return sums;
}

TEST_P(SlideFormats, makesBaselineColourSlides)
{
    const OriginalForm &form = GetParam().form;
    const RgbImage picture = renderPhoto(240, 180);
    const SlidePicture slide =
        makeSlidePicture(original("f.jpg", encodeOriginal(picture, form)), 60);

    const DecodedJpeg decoded = decodeJpeg(slide.jpeg);
    EXPECT_EQ(decoded.width, 80);
    EXPECT_EQ(decoded.height, 60);
    EXPECT_EQ(slide.width, 80);
    EXPECT_EQ(slide.height, 60);
    EXPECT_EQ(decoded.components, 3);
    EXPECT_FALSE(decoded.progressive);
    EXPECT_FALSE(decoded.subsampled);

    std::array<double, 3> expected = meanColour(picture.pixels);
    if (form.grayscale) {
        const double luma = 0.299 * expected[0] + 0.587 * expected[1] + 0.114 * expected[2];
        expected = {luma, luma, luma};
    }
    const std::array<double, 3> actual = meanColour(decoded.rgb);
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(actual[std::size_t(c)], expected[std::size_t(c)], 3.0) << "channel " << c;
}

INSTANTIATE_TEST_SUITE_P(
    Originals, SlideFormats,
    ::testing::Values(FormCase{"baseline420", {}}, FormCase{"baseline444", {.subsampled = false}},
                      FormCase{"progressive", {.progressive = true}},
                      FormCase{"grayscale", {.grayscale = true}},
                      FormCase{"cmyk", {.ink = InkForm::plain}},
                      FormCase{"adobeCmyk", {.ink = InkForm::adobeInverted}},
                      FormCase{"progressiveAdobeCmyk",
                               {.progressive = true, .ink = InkForm::adobeInverted}}),
    [](const auto &test) { return std::string(test.param.name); });

// The slide must come close to a careful Lanczos-3 shrink of the whole picture, DCT
// scaling, streaming, rounding and re-encoding included.
struct QualityCase
{
    int width, height, targetHeight;
};

class SlideQuality : public SlidePictures, public ::testing::WithParamInterface<QualityCase>
{};

TEST_P(SlideQuality, staysCloseToAFullLanczosShrink)
{
    const QualityCase &c = GetParam();
    const std::string bytes = encodeOriginal(renderPhoto(c.width, c.height), {.subsampled = false});
    const SlidePicture slide = makeSlidePicture(original("q.jpg", bytes), c.targetHeight);

    const DecodedJpeg decoded = decodeJpeg(slide.jpeg);
    const std::vector<double> reference =
        lanczosreference::shrink(decodeJpeg(bytes), slide.width, slide.height);
    const double psnr = lanczosreference::psnr(reference, decoded.rgb);
    RecordProperty("psnr", std::to_string(psnr));
    EXPECT_GE(psnr, 35.0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SlideQuality,
                         ::testing::Values(QualityCase{1200, 900, 240},  // decoded at 5/8
                                           QualityCase{1280, 960, 120},  // decoded at 2/8
                                           QualityCase{160, 120, 300})); // enlarged

} // namespace
