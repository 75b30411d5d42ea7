#pragma once

// Originals for the slide tests: a photo-like picture rendered in memory and written as
// JPEG in the forms cameras and editors produce.

#include "generate/JpegErrorTrap.h"
#include "generate/RgbImage.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

enum class InkForm { none, plain, adobeInverted };

struct OriginalForm
{
    bool progressive = false;
    bool grayscale = false;
    InkForm ink = InkForm::none;
    int orientation = 0; // 0: no EXIF segment
    bool subsampled = true;
    int quality = 95;
    bool arithmetic = false;
    std::vector<jpeg_scan_info> scans = {}; // empty: libjpeg's own script
};

// Smooth shading, fine texture and hard edges, as in a photo; the same every time.
inline RgbImage renderPhoto(int width, int height)
{
    RgbImage image{width, height, std::vector<unsigned char>(std::size_t(width) * height * 3)};
    unsigned int noise = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245u + 12345u;
            const double grain = double((noise >> 16) & 15) - 7.5;
            const double u = double(x) / width;
            const double v = double(y) / height;
            const bool stripe = int(x * 0.06 + y * 0.02) % 5 == 0;
            const double r = 60 + 150 * u + 25 * std::sin(x * 0.05) + grain;
            const double g = 90 + 110 * v + 20 * std::cos(y * 0.07 + x * 0.01) + grain;
            const double b = stripe ? 40 : 200 - 120 * u * v + grain;
            unsigned char *pixel = &image.pixels[(std::size_t(y) * width + x) * 3];
            pixel[0] = static_cast<unsigned char>(std::clamp(r, 0.0, 255.0));
            pixel[1] = static_cast<unsigned char>(std::clamp(g, 0.0, 255.0));
            pixel[2] = static_cast<unsigned char>(std::clamp(b, 0.0, 255.0));
        }
    }
    return image;
}

// "Exif\0\0" and a big-endian TIFF header whose first IFD holds only the orientation.
inline std::string exifSegment(int orientation)
{
    const unsigned char bytes[] = {'E',  'x',
                                   'i',  'f',
                                   0,    0,
                                   'M',  'M',
                                   0,    42,
                                   0,    0,
                                   0,    8,
                                   0,    1,
                                   0x01, 0x12,
                                   0,    3,
                                   0,    0,
                                   0,    1,
                                   0,    static_cast<unsigned char>(orientation),
                                   0,    0,
                                   0,    0,
                                   0,    0};
    return std::string(reinterpret_cast<const char *>(bytes), sizeof bytes);
}

// Naive ink separation, the inverse of the reader's conversion; Adobe files hold the
// inks inverted.
inline std::vector<unsigned char> toInks(const unsigned char *rgb, int width, InkForm ink)
{
    std::vector<unsigned char> row(std::size_t(width) * 4);
    for (int x = 0; x < width; ++x) {
        const unsigned char *p = rgb + std::size_t(x) * 3;
        const int light = std::max({p[0], p[1], p[2]});
        unsigned char *out = &row[std::size_t(x) * 4];
        for (int c = 0; c < 3; ++c)
            out[c] =
                light == 0 ? 0 : static_cast<unsigned char>(255 - (p[c] * 255 + light / 2) / light);
        out[3] = static_cast<unsigned char>(255 - light);
        if (ink == InkForm::adobeInverted)
            for (int c = 0; c < 4; ++c)
                out[c] = static_cast<unsigned char>(255 - out[c]);
    }
    return row;
}

inline void setUpOriginal(jpeg_compress_struct &info, const RgbImage &image,
                          const OriginalForm &form)
{
    info.image_width = JDIMENSION(image.width);
    info.image_height = JDIMENSION(image.height);
    const bool inks = form.ink != InkForm::none;
    info.input_components = inks ? 4 : 3;
    info.in_color_space = inks ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, form.quality, TRUE);
    if (form.grayscale)
        jpeg_set_colorspace(&info, JCS_GRAYSCALE);
    if (inks)
        jpeg_set_colorspace(&info, JCS_CMYK);
    info.write_Adobe_marker = form.ink == InkForm::adobeInverted;
    if (!form.subsampled || inks)
        for (int c = 0; c < info.num_components; ++c)
            info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    if (form.progressive)
        jpeg_simple_progression(&info);
    info.arith_code = form.arithmetic;
    if (!form.scans.empty()) {
        info.scan_info = form.scans.data();
        info.num_scans = int(form.scans.size());
    }
}

inline std::string encodeOriginal(const RgbImage &image, const OriginalForm &form = {})
{
    JpegErrorTrap trap;
    jpeg_compress_struct info{};
    info.err = trap.manager();
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    const std::string exif = exifSegment(form.orientation);
    std::vector<unsigned char> samples = image.pixels;
    if (form.ink != InkForm::none) {
        samples.clear();
        for (int y = 0; y < image.height; ++y) {
            const auto row =
                toInks(&image.pixels[std::size_t(y) * image.width * 3], image.width, form.ink);
            samples.insert(samples.end(), row.begin(), row.end());
        }
    }
    const std::size_t rowBytes = samples.size() / std::size_t(image.height);
    const bool encoded = trap.run([&] {
        jpeg_create_compress(&info);
        jpeg_mem_dest(&info, &buffer, &size);
        setUpOriginal(info, image, form);
        jpeg_start_compress(&info, TRUE);
        if (form.orientation != 0)
            jpeg_write_marker(&info, JPEG_APP0 + 1, reinterpret_cast<const JOCTET *>(exif.data()),
                              static_cast<unsigned int>(exif.size()));
        while (info.next_scanline < info.image_height) {
            JSAMPROW row = &samples[info.next_scanline * rowBytes];
            jpeg_write_scanlines(&info, &row, 1);
        }
        jpeg_finish_compress(&info);
    });
    jpeg_destroy_compress(&info);
    const std::string bytes(reinterpret_cast<const char *>(buffer), encoded ? size : 0);
    std::free(buffer);
    if (!encoded)
        throw std::runtime_error(std::string("cannot encode test original: ") + trap.message());
    return bytes;
}

// The picture with its last scan repeated until it holds `scans` scans. Each repeat is a
// valid scan again: its coefficients are already at full precision, as a first scan needs.
inline std::string withRepeatedLastScan(const std::string &jpeg, int scans, int scriptScans)
{
    const std::size_t lastScan = jpeg.rfind("\xff\xda");
    const std::size_t end = jpeg.size() - 2; // the end-of-picture marker
    const std::string repeated = jpeg.substr(lastScan, end - lastScan);
    std::string bytes = jpeg.substr(0, end);
    for (int i = scriptScans; i < scans; ++i)
        bytes += repeated;
    return bytes + "\xff\xd9";
}

// A progressive picture of `scans` scans whose last one, repeated, holds only the
// brightness' highest frequency: zero in every block at quality 75, so each repeat costs a
// dozen bytes while the decoder still visits every block of the brightness.
inline std::string encodeScanBomb(const RgbImage &image, int scans, bool grey = false)
{
    std::vector<jpeg_scan_info> script;
    if (grey)
        script = {{1, {0}, 0, 0, 0, 0}, {1, {0}, 1, 62, 0, 0}, {1, {0}, 63, 63, 0, 0}};
    else
        script = {{3, {0, 1, 2}, 0, 0, 0, 0},
                  {1, {0}, 1, 62, 0, 0},
                  {1, {1}, 1, 63, 0, 0},
                  {1, {2}, 1, 63, 0, 0},
                  {1, {0}, 63, 63, 0, 0}};
    const int scriptScans = int(script.size());
    const OriginalForm form{.grayscale = grey, .quality = 75, .scans = std::move(script)};
    return withRepeatedLastScan(encodeOriginal(image, form), scans, scriptScans);
}
