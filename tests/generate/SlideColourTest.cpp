// Slides of originals with an embedded ICC profile: converted to sRGB when the profile is of
// another colour space, byte for byte as without a profile when it is sRGB or cannot be used.

#include "DecodedJpeg.h"
#include "IccProfiles.h"
#include "OriginalJpegs.h"
#include "common/TempFolder.h"
#include "generate/SlidePicture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <gtest/gtest.h>

namespace {

using Colour = std::array<int, 3>;

// An APP2 segment holding one piece of an ICC profile, numbered from 1 of count.
std::string iccSegment(int number, int count, const std::string &piece)
{
    const std::string payload =
        std::string("ICC_PROFILE\0", 12) + char(number) + char(count) + piece;
    const std::size_t length = payload.size() + 2;
    return std::string("\xff\xe2") + char(length >> 8) + char(length & 0xff) + payload;
}

// The profile cut into `count` pieces of about the same size, one segment each.
std::string iccSegments(const std::string &icc, int count)
{
    std::string segments;
    const std::size_t piece = (icc.size() + std::size_t(count) - 1) / std::size_t(count);
    for (int i = 0; i < count; ++i)
        segments += iccSegment(i + 1, count, icc.substr(std::size_t(i) * piece, piece));
    return segments;
}

std::string withSegments(const std::string &jpeg, const std::string &segments)
{
    return jpeg.substr(0, 2) + segments + jpeg.substr(2);
}

// The profile with its header's 4-byte field at `offset` replaced.
std::string withHeaderField(std::string icc, std::size_t offset, const char (&field)[5])
{
    return icc.replace(offset, 4, field, 4);
}

// Flat patches side by side, 100 pixels square each.
RgbImage patches(const std::vector<Colour> &colours)
{
    RgbImage image{int(colours.size()) * 100, 100, {}};
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            for (const int level : colours[std::size_t(x / 100)])
                image.pixels.push_back(static_cast<unsigned char>(level));
    return image;
}

class SlideColours : public ::testing::Test
{
protected:
    SlidePicture slideOf(const std::string &jpeg)
    {
        const std::string path = folder.file("original" + std::to_string(++m_count) + ".jpg");
        writeBytes(path, jpeg);
        return makeSlidePicture(path, 50);
    }
    // The colours at the centres of a slide of 50-pixel patches.
    std::vector<Colour> patchColours(const SlidePicture &slide, std::size_t count)
    {
        const DecodedJpeg decoded = decodeJpeg(slide.jpeg);
        std::vector<Colour> colours;
        for (std::size_t i = 0; i < count; ++i) {
            const unsigned char *pixel = decoded.at(int(i) * 50 + 25, 25);
            colours.push_back({pixel[0], pixel[1], pixel[2]});
        }
        return colours;
    }

    TempFolder folder;

private:
    int m_count = 0;
};

double linear(int level)
{
    const double v = level / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

int encoded(double light)
{
    const double l = std::clamp(light, 0.0, 1.0);
    return int(
        std::lround(255 * (l <= 0.0031308 ? 12.92 * l : 1.055 * std::pow(l, 1 / 2.4) - 0.055)));
}

// Display P3 to sRGB by hand: both share the tone curve and the D65 white, so the conversion
// is the published matrix between their linear primaries, clipped to sRGB's range.
Colour p3ToSrgb(const Colour &p3)
{
    static const double matrix[3][3] = {{1.2249401, -0.2249404, 0.0},
                                        {-0.0420569, 1.0420571, 0.0},
                                        {-0.0196376, -0.0786361, 1.0982735}};
    Colour srgb{};
    for (int row = 0; row < 3; ++row) {
        double light = 0;
        for (int c = 0; c < 3; ++c)
            light += matrix[row][c] * linear(p3[std::size_t(c)]);
        srgb[std::size_t(row)] = encoded(light);
    }
    return srgb;
}

TEST_F(SlideColours, bringsDisplayP3PhotosIntoSrgb)
{
    // A warm red, a green beyond sRGB's reach, a blue and a neutral grey.
    const std::vector<Colour> p3 = {{200, 80, 60}, {60, 160, 90}, {70, 90, 200}, {128, 128, 128}};
    const std::string plain = encodeOriginal(patches(p3), {.subsampled = false});
    const std::string icc = displayP3Profile();

    const SlidePicture slide = slideOf(withSegments(plain, iccSegments(icc, 1)));
    const std::vector<Colour> actual = patchColours(slide, p3.size());
    for (std::size_t i = 0; i < p3.size(); ++i) {
        const Colour expected = p3ToSrgb(p3[i]);
        for (std::size_t c = 0; c < 3; ++c)
            EXPECT_NEAR(actual[i][c], expected[c], 3) << "patch " << i << " channel " << c;
    }
    // The red and the green move well beyond that tolerance, so the conversion did happen.
    EXPECT_GT(p3ToSrgb(p3[0])[0] - p3[0][0], 10);
    EXPECT_GT(p3[1][0] - p3ToSrgb(p3[1])[0], 50);
    // A profile split over several segments is the same profile.
    EXPECT_EQ(slideOf(withSegments(plain, iccSegments(icc, 3))).jpeg, slide.jpeg);
}

TEST_F(SlideColours, bringsGreyPhotosIntoSrgbThroughTheirGreyProfile)
{
    const std::string plain =
        encodeOriginal(patches({{128, 128, 128}}), {.grayscale = true, .subsampled = false});
    const SlidePicture slide = slideOf(withSegments(plain, iccSegments(grey18Profile(), 1)));
    // Gamma 1.8 puts level 128 at 29% of the light, which sRGB writes as about 146.
    const Colour grey = patchColours(slide, 1)[0];
    for (const int level : grey)
        EXPECT_NEAR(level, encoded(std::pow(128 / 255.0, 1.8)), 3);
}

// Profiles that are sRGB already, or that cannot be used, leave the slide exactly as the
// same picture gives without any profile.
struct KeptCase
{
    const char *name;
    OriginalForm form;
    std::string segments;
};

void PrintTo(const KeptCase &c, std::ostream *out)
{
    *out << c.name;
}

class KeptColours : public SlideColours, public ::testing::WithParamInterface<KeptCase>
{};

TEST_P(KeptColours, giveTheBytesOfThePictureWithoutAProfile)
{
    const KeptCase &c = GetParam();
    const std::string plain = encodeOriginal(renderPhoto(240, 160), c.form);
    EXPECT_EQ(slideOf(withSegments(plain, c.segments)).jpeg, slideOf(plain).jpeg);
}

std::vector<KeptCase> keptCases()
{
    const std::string p3 = displayP3Profile();
    const OriginalForm colour{};
    return {
        {"srgb", colour, iccSegments(srgbProfile(), 1)},
        {"otherMakersSrgb", colour, iccSegments(otherMakersSrgbProfile(), 2)},
        {"truncated", colour, iccSegments(p3.substr(0, p3.size() / 2), 1)},
        {"garbage", colour, iccSegments(std::string(600, 'x'), 1)},
        {"empty", colour, iccSegment(1, 1, "")},
        {"greyProfileOnColour", colour, iccSegments(grey18Profile(), 1)},
        {"cmykProfileOnColour", colour, iccSegments(withHeaderField(p3, 16, "CMYK"), 1)},
        {"deviceLink", colour, iccSegments(withHeaderField(p3, 12, "link"), 1)},
        {"p3OnCmyk", {.ink = InkForm::adobeInverted}, iccSegments(p3, 1)},
        {"p3OnGrey", {.grayscale = true}, iccSegments(p3, 1)},
        {"numberBeyondCount", colour, iccSegment(200, 1, p3)},
        {"countZero", colour, iccSegment(1, 0, p3)},
        {"secondOfTwoMissing", colour, iccSegment(1, 2, p3.substr(0, 300))},
        {"numberTwice", colour, iccSegment(1, 2, p3) + iccSegment(1, 2, p3)},
        {"countsDisagree", colour, iccSegment(1, 2, p3) + iccSegment(2, 3, p3)},
    };
}

INSTANTIATE_TEST_SUITE_P(Profiles, KeptColours, ::testing::ValuesIn(keptCases()),
                         [](const auto &test) { return std::string(test.param.name); });

} // namespace
