// The synthetic photos must be reproducible, decodable in every requested form, and look
// enough like photographs to exercise a scaler: smooth areas, edges and fine texture.

#include "SyntheticPhoto.h"

#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <optional>
#include <unistd.h>

namespace {

struct Decoded
{
    int width = 0;
    int height = 0;
    int components = 0;
    bool progressive = false;
    bool adobeMarker = false;
    int lumaSampling = 0; // horizontal sampling factor of the first component
    std::string exif;     // the APP1 segment, if any
    std::vector<std::uint8_t> pixels;
    std::string error;
};

struct Trap
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void trapError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<Trap *>(info->err)->jump, 1);
}

void readInto(j_decompress_ptr cinfo, const std::string &bytes, Decoded &d)
{
    jpeg_mem_src(cinfo, reinterpret_cast<const unsigned char *>(bytes.data()), bytes.size());
    jpeg_save_markers(cinfo, JPEG_APP0 + 1, 0xffff);
    jpeg_read_header(cinfo, TRUE);
    d.progressive = jpeg_has_multiple_scans(cinfo);
    d.adobeMarker = cinfo->saw_Adobe_marker;
    d.lumaSampling = cinfo->comp_info[0].h_samp_factor;
    for (auto *m = cinfo->marker_list; m; m = m->next)
        d.exif.assign(reinterpret_cast<const char *>(m->data), m->data_length);
    jpeg_start_decompress(cinfo);
    d.width = static_cast<int>(cinfo->output_width);
    d.height = static_cast<int>(cinfo->output_height);
    d.components = cinfo->output_components;
    d.pixels.resize(static_cast<std::size_t>(d.width) * d.height * d.components);
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW row = d.pixels.data() +
                       static_cast<std::size_t>(cinfo->output_scanline) * d.width * d.components;
        jpeg_read_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_decompress(cinfo);
}

void decodeInto(const std::string &bytes, Decoded &d)
{
    jpeg_decompress_struct cinfo{};
    Trap trap{};
    cinfo.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = trapError;
    if (setjmp(trap.jump) != 0) {
        d.error = "libjpeg failed";
        jpeg_destroy_decompress(&cinfo);
        return;
    }
    jpeg_create_decompress(&cinfo);
    readInto(&cinfo, bytes, d);
    jpeg_destroy_decompress(&cinfo);
}

Decoded decode(const std::string &bytes)
{
    Decoded d;
    decodeInto(bytes, d);
    return d;
}

// Back to RGB from whatever the file holds, the way a reader of such files would.
std::vector<std::uint8_t> asRgb(const Decoded &d, bool invertedInks)
{
    std::vector<std::uint8_t> rgb;
    for (std::size_t i = 0; i < d.pixels.size(); i += d.components) {
        const std::uint8_t *p = &d.pixels[i];
        for (int c = 0; c < 3; ++c) {
            if (d.components == 1) {
                rgb.push_back(p[0]);
            } else if (d.components == 3) {
                rgb.push_back(p[c]);
            } else {
                const int paper = invertedInks ? p[c] : 255 - p[c];
                const int black = invertedInks ? p[3] : 255 - p[3];
                rgb.push_back(static_cast<std::uint8_t>((paper * black + 127) / 255));
            }
        }
    }
    return rgb;
}

std::vector<std::uint8_t> grayOf(const std::vector<std::uint8_t> &rgb)
{
    std::vector<std::uint8_t> gray;
    for (std::size_t i = 0; i < rgb.size(); i += 3)
        gray.push_back(static_cast<std::uint8_t>(
            std::lround(0.299 * rgb[i] + 0.587 * rgb[i + 1] + 0.114 * rgb[i + 2])));
    return gray;
}

double psnr(const std::vector<std::uint8_t> &a, const std::vector<std::uint8_t> &b)
{
    EXPECT_EQ(a.size(), b.size());
    double squares = 0.0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        squares += (a[i] - b[i]) * (a[i] - b[i]);
    const double mean = squares / static_cast<double>(std::max<std::size_t>(a.size(), 1));
    return mean == 0.0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mean);
}

// Averages factor x factor blocks: a plain box filter, the simplest honest scaler.
std::vector<std::uint8_t> shrink(const std::vector<std::uint8_t> &rgb, int width, int height,
                                 int factor)
{
    const int w = width / factor;
    const int h = height / factor;
    std::vector<std::uint8_t> out;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int dy = 0; dy < factor; ++dy)
                    for (int dx = 0; dx < factor; ++dx)
                        sum += rgb[((y * factor + dy) * width + x * factor + dx) * 3 + c];
                out.push_back(
                    static_cast<std::uint8_t>((sum + factor * factor / 2) / (factor * factor)));
            }
    return out;
}

std::optional<int> exifOrientation(const std::string &app1)
{
    if (app1.size() < 14 || app1.compare(0, 6, std::string("Exif\0\0", 6)) != 0 ||
        app1.compare(6, 4, std::string("II*\0", 4)) != 0)
        return std::nullopt;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(app1[i]); };
    const auto half = [&](std::size_t i) { return byte(i) | byte(i + 1) << 8; };
    const std::size_t tiff = 6;
    const std::size_t ifd = tiff + (half(10) | half(12) << 16);
    if (ifd + 2 > app1.size())
        return std::nullopt;
    for (int n = 0; n < half(ifd); ++n) {
        const std::size_t entry = ifd + 2 + 12 * n;
        if (entry + 12 > app1.size())
            return std::nullopt;
        if (half(entry) == 0x0112 && half(entry + 2) == 3)
            return half(entry + 8);
    }
    return std::nullopt;
}

} // namespace

TEST(SyntheticPhotoJpeg, sameSeedGivesSameBytesOtherSeedsDoNot)
{
    const std::string first = SyntheticPhoto(96, 64, 7).encodeJpeg();
    EXPECT_EQ(SyntheticPhoto(96, 64, 7).encodeJpeg(), first);
    EXPECT_NE(SyntheticPhoto(96, 64, 8).encodeJpeg(), first);
    EXPECT_NE(SyntheticPhoto(96, 64, 7, SceneKind::dunes).encodeJpeg(),
              SyntheticPhoto(96, 64, 7, SceneKind::meadow).encodeJpeg());

    const auto path = std::filesystem::temp_directory_path() /
                      ("velloria-photo-" + std::to_string(::getpid()) + ".jpg");
    SyntheticPhoto(96, 64, 7).writeJpeg(path.string());
    std::ifstream in(path, std::ios::binary);
    const std::string written(std::istreambuf_iterator<char>(in), {});
    std::filesystem::remove(path);
    EXPECT_EQ(written, first);
}

TEST(SyntheticPhotoJpeg, badOptionsAndUnwritablePathsThrow)
{
    const SyntheticPhoto photo(16, 16);
    EXPECT_THROW(photo.encodeJpeg({.quality = 0}), std::invalid_argument);
    EXPECT_THROW(photo.encodeJpeg({.orientation = 9}), std::invalid_argument);
    EXPECT_THROW(SyntheticPhoto(0, 10), std::invalid_argument);
    const std::string missing = "/nonexistent-folder/photo.jpg";
    try {
        photo.writeJpeg(missing);
        ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error &e) {
        EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
    }
    // libjpeg's own limit must come back as an exception, not end the process.
    EXPECT_THROW(SyntheticPhoto(70000, 1).encodeJpeg(), std::runtime_error);
}

TEST(SyntheticPhotoJpeg, orientationTravelsInAnExifSegment)
{
    const SyntheticPhoto photo(24, 20, 3);
    EXPECT_TRUE(decode(photo.encodeJpeg()).exif.empty());
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const Decoded d = decode(photo.encodeJpeg({.orientation = orientation}));
        EXPECT_EQ(exifOrientation(d.exif), orientation);
        EXPECT_EQ(d.width, 24) << "the pixels themselves are not turned";
    }
}

struct FormCase
{
    const char *name;
    JpegOptions options;
    int components;
    bool adobeMarker;
    int lumaSampling;
};

class SyntheticPhotoForms : public ::testing::TestWithParam<FormCase>
{};

// An odd size, so the last band of rows and the last MCU are partial.
TEST_P(SyntheticPhotoForms, decodesToTheRenderedPicture)
{
    const FormCase &form = GetParam();
    const SyntheticPhoto photo(61, 45, 11);
    const Decoded d = decode(photo.encodeJpeg(form.options));
    ASSERT_TRUE(d.error.empty());
    EXPECT_EQ(d.width, 61);
    EXPECT_EQ(d.height, 45);
    EXPECT_EQ(d.components, form.components);
    EXPECT_EQ(d.progressive, form.options.progressive);
    EXPECT_EQ(d.adobeMarker, form.adobeMarker);
    EXPECT_EQ(d.lumaSampling, form.lumaSampling);

    const bool inverted = form.options.colour == JpegColour::adobeInvertedCmyk;
    const auto reference = photo.renderRgb();
    if (d.components == 1)
        EXPECT_GT(psnr(d.pixels, grayOf(reference)), 30.0);
    else
        EXPECT_GT(psnr(asRgb(d, inverted), reference), 28.0);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, SyntheticPhotoForms,
    ::testing::Values(
        FormCase{"baseline420", {}, 3, false, 2},
        FormCase{"progressive444",
                 {.progressive = true, .subsampling = ChromaSubsampling::yuv444},
                 3,
                 false,
                 1},
        FormCase{"gray", {.colour = JpegColour::gray}, 1, false, 1},
        FormCase{"progressiveGray", {.progressive = true, .colour = JpegColour::gray}, 1, false, 1},
        FormCase{"cmyk", {.colour = JpegColour::cmyk}, 4, false, 1},
        FormCase{"adobeInvertedCmyk",
                 {.quality = 95, .colour = JpegColour::adobeInvertedCmyk},
                 4,
                 true,
                 1}),
    [](const auto &param) { return std::string(param.param.name); });

TEST(SyntheticPhotoPicture, bandsMatchTheWholePicture)
{
    const SyntheticPhoto photo(33, 40, 5);
    const auto whole = photo.renderRgb();
    std::vector<std::uint8_t> band(33 * 7 * 3);
    photo.renderRows(17, 7, band.data());
    EXPECT_TRUE(std::equal(band.begin(), band.end(), whole.begin() + 17 * 33 * 3));
    EXPECT_THROW(photo.renderRows(35, 6, band.data()), std::out_of_range);
}

TEST(SyntheticPhotoPicture, tinyAndLopsidedSizesWork)
{
    for (const auto &[w, h] : {std::pair{1, 1}, {1, 40}, {40, 1}, {3, 2}}) {
        const Decoded d = decode(SyntheticPhoto(w, h, 2).encodeJpeg());
        EXPECT_EQ(d.width, w);
        EXPECT_EQ(d.height, h);
    }
}

class SyntheticPhotoScenes : public ::testing::TestWithParam<SceneKind>
{};

// Varied but not noise: a wide spread of brightness, neighbours that mostly agree, and
// still some fine detail between them.
TEST_P(SyntheticPhotoScenes, looksLikeAPhotograph)
{
    const int w = 160;
    const int h = 120;
    const auto luma = grayOf(SyntheticPhoto(w, h, 21, GetParam()).renderRgb());
    double sum = 0.0;
    double squares = 0.0;
    for (const auto l : luma) {
        sum += l;
        squares += l * l;
    }
    const double mean = sum / luma.size();
    const double deviation = std::sqrt(squares / luma.size() - mean * mean);
    EXPECT_GT(deviation, 25.0);

    double products = 0.0;
    double steps = 0.0;
    int count = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x + 1 < w; ++x, ++count) {
            const double a = luma[y * w + x] - mean;
            const double b = luma[y * w + x + 1] - mean;
            products += a * b;
            steps += std::abs(a - b);
        }
    EXPECT_GT(products / count / (deviation * deviation), 0.8);
    EXPECT_GT(steps / count, 1.0);
}

INSTANTIATE_TEST_SUITE_P(Scenes, SyntheticPhotoScenes,
                         ::testing::Values(SceneKind::harbour, SceneKind::meadow, SceneKind::dunes,
                                           SceneKind::tower));

// Tests of scalers render the small size directly as their reference; were the scene laid
// out in pixels, or fine texture aliased, this would fall far below 20 dB.
TEST(SyntheticPhotoPicture, smallRenderingMatchesALargeOneScaledDown)
{
    for (const SceneKind kind :
         {SceneKind::harbour, SceneKind::meadow, SceneKind::dunes, SceneKind::tower}) {
        const auto large = SyntheticPhoto(480, 360, 4, kind).renderRgb();
        const auto small = SyntheticPhoto(120, 90, 4, kind).renderRgb();
        EXPECT_GT(psnr(shrink(large, 480, 360, 4), small), 25.0);
    }
}
