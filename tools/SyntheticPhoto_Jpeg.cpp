// Writing a SyntheticPhoto as JPEG through libjpeg, a band of rows at a time.

#include "SyntheticPhoto.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <jpeglib.h>
#include <stdexcept>

namespace {

constexpr int bandRows = 16;

struct ErrorTrap
{
    jpeg_error_mgr manager; // first, so libjpeg's pointer to it also points to the trap
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void trapError(j_common_ptr info)
{
    auto *trap = reinterpret_cast<ErrorTrap *>(info->err);
    (*info->err->format_message)(info, trap->message);
    std::longjmp(trap->jump, 1);
}

// Plain data only: libjpeg's errors leave by longjmp, which must not skip destructors.
struct Job
{
    const SyntheticPhoto *photo;
    const JpegOptions *options;
    std::FILE *file;        // or, when null, memory
    unsigned char **memory; // allocated by libjpeg, freed by the caller
    unsigned long *memorySize;
    std::uint8_t *band; // bandRows rows of RGB
    std::uint8_t *inks; // one row of CMYK
};

bool isCmyk(JpegColour colour)
{
    return colour == JpegColour::cmyk || colour == JpegColour::adobeInvertedCmyk;
}

// A minimal EXIF block: a little-endian TIFF header and IFD0 with the Orientation tag alone.
std::array<JOCTET, 32> exifOrientation(int orientation)
{
    return {'E',
            'x',
            'i',
            'f',
            0,
            0, // identifier
            'I',
            'I',
            0x2a,
            0,
            8,
            0,
            0,
            0, // TIFF header, IFD0 at 8
            1,
            0, // one entry
            0x12,
            0x01,
            3,
            0,
            1,
            0,
            0,
            0, // 0x0112, SHORT, count 1
            static_cast<JOCTET>(orientation),
            0,
            0,
            0,
            0,
            0,
            0,
            0}; // value; no next IFD
}

// Ink amounts from RGB with full black generation. Photoshop stores CMYK inverted
// (255 means no ink) and says so with its APP14 marker; decoders rely on that marker.
void toInks(const std::uint8_t *rgb, std::uint8_t *cmyk, int width, bool inverted)
{
    for (int x = 0; x < width; ++x, rgb += 3, cmyk += 4) {
        const int brightest = std::max({rgb[0], rgb[1], rgb[2]});
        for (int i = 0; i < 3; ++i)
            cmyk[i] = brightest == 0 ? 0 : (255 * (brightest - rgb[i]) + brightest / 2) / brightest;
        cmyk[3] = static_cast<std::uint8_t>(255 - brightest);
        if (inverted)
            for (int i = 0; i < 4; ++i)
                cmyk[i] = static_cast<std::uint8_t>(255 - cmyk[i]);
    }
}

void setUp(j_compress_ptr cinfo, const Job &job)
{
    const JpegOptions &options = *job.options;
    cinfo->image_width = static_cast<JDIMENSION>(job.photo->width());
    cinfo->image_height = static_cast<JDIMENSION>(job.photo->height());
    cinfo->input_components = isCmyk(options.colour) ? 4 : 3;
    cinfo->in_color_space = isCmyk(options.colour) ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(cinfo);
    if (options.colour == JpegColour::gray)
        jpeg_set_colorspace(cinfo, JCS_GRAYSCALE);
    // jpeg_set_defaults chose CMYK with an Adobe marker; plain CMYK goes without.
    if (isCmyk(options.colour))
        cinfo->write_Adobe_marker = options.colour == JpegColour::adobeInvertedCmyk;
    jpeg_set_quality(cinfo, options.quality, TRUE);
    if (options.colour == JpegColour::rgb && options.subsampling == ChromaSubsampling::yuv444) {
        cinfo->comp_info[0].h_samp_factor = 1;
        cinfo->comp_info[0].v_samp_factor = 1;
    }
    // Optimised Huffman tables are left off: they would buffer the whole picture.
    if (options.progressive)
        jpeg_simple_progression(cinfo);
}

void compressRows(j_compress_ptr cinfo, const Job &job)
{
    setUp(cinfo, job);
    jpeg_start_compress(cinfo, TRUE);
    if (job.options->orientation != 0) {
        const auto exif = exifOrientation(job.options->orientation);
        jpeg_write_marker(cinfo, JPEG_APP0 + 1, exif.data(), exif.size());
    }
    const std::string &icc = job.options->iccProfile;
    if (!icc.empty())
        jpeg_write_icc_profile(cinfo, reinterpret_cast<const JOCTET *>(icc.data()),
                               static_cast<unsigned int>(icc.size()));
    const int width = job.photo->width();
    const int height = job.photo->height();
    const bool cmyk = isCmyk(job.options->colour);
    const bool inverted = job.options->colour == JpegColour::adobeInvertedCmyk;
    for (int y = 0; y < height; y += bandRows) {
        const int rows = std::min(bandRows, height - y);
        job.photo->renderRows(y, rows, job.band);
        for (int i = 0; i < rows; ++i) {
            JSAMPROW row = job.band + static_cast<std::size_t>(i) * width * 3;
            if (cmyk) {
                toInks(row, job.inks, width, inverted);
                row = job.inks;
            }
            jpeg_write_scanlines(cinfo, &row, 1);
        }
    }
    jpeg_finish_compress(cinfo);
}

// Returns libjpeg's message, or an empty string when the picture was written.
std::string compress(const Job &job)
{
    jpeg_compress_struct cinfo{};
    ErrorTrap trap{};
    cinfo.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = trapError;
    if (setjmp(trap.jump) != 0) {
        jpeg_destroy_compress(&cinfo);
        return trap.message;
    }
    jpeg_create_compress(&cinfo);
    if (job.file)
        jpeg_stdio_dest(&cinfo, job.file);
    else
        jpeg_mem_dest(&cinfo, job.memory, job.memorySize);
    compressRows(&cinfo, job);
    jpeg_destroy_compress(&cinfo);
    return {};
}

} // namespace

void SyntheticPhoto::writeJpeg(const std::string &path, const JpegOptions &options) const
{
    checkOptions(options);
    std::vector<std::uint8_t> band(static_cast<std::size_t>(m_width) * bandRows * 3);
    std::vector<std::uint8_t> inks(static_cast<std::size_t>(m_width) * 4);
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw std::runtime_error(path + ": cannot create: " + std::strerror(errno));
    std::string error =
        compress({this, &options, file, nullptr, nullptr, band.data(), inks.data()});
    if (std::fclose(file) != 0 && error.empty())
        error = std::strerror(errno);
    if (!error.empty()) {
        // A half-written picture would only confuse the test that reads it.
        std::remove(path.c_str());
        throw std::runtime_error(path + ": " + error);
    }
}

std::string SyntheticPhoto::encodeJpeg(const JpegOptions &options) const
{
    checkOptions(options);
    std::vector<std::uint8_t> band(static_cast<std::size_t>(m_width) * bandRows * 3);
    std::vector<std::uint8_t> inks(static_cast<std::size_t>(m_width) * 4);
    unsigned char *memory = nullptr;
    unsigned long size = 0;
    const std::string error =
        compress({this, &options, nullptr, &memory, &size, band.data(), inks.data()});
    std::string bytes(reinterpret_cast<const char *>(memory), memory ? size : 0);
    std::free(memory);
    if (!error.empty())
        throw std::runtime_error("JPEG in memory: " + error);
    return bytes;
}

void SyntheticPhoto::checkOptions(const JpegOptions &options) const
{
    if (options.quality < 1 || options.quality > 100)
        throw std::invalid_argument("JPEG quality must be 1 to 100");
    if (options.orientation < 0 || options.orientation > 8)
        throw std::invalid_argument("EXIF orientation must be 1 to 8, or 0 for none");
}
