#include "JpegReader.h"

#include "ExifOrientation.h"
#include "platform/FileIO.h"
#include "platform/VelloriaError.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <jerror.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// libjpeg gets this much memory at most. A progressive picture needs its whole coefficient
// buffer, about 2 bytes per sample; a header that claims a giant picture must fail cleanly
// instead of taking all memory. 1 GiB covers progressive pictures of about 170 megapixels
// with 4:2:0 chroma.
constexpr long maxDecoderMemory = 1L << 30;

unsigned char inkToLight(unsigned char ink, unsigned char black)
{
    return static_cast<unsigned char>(((255 - ink) * (255 - black) + 127) / 255);
}

} // namespace

JpegReader::JpegReader(const std::filesystem::path &path) : m_path(path)
{
    openFile();
    m_jpeg.info.err = m_trap.manager();
    check(m_trap.run([this] { jpeg_create_decompress(&m_jpeg.info); }));
    m_jpeg.created = true;
    m_jpeg.info.mem->max_memory_to_use = maxDecoderMemory;
    m_limit.watch(m_jpeg.info, m_fileBytes);
    readHeader();
}

void JpegReader::openFile()
{
    // Non-blocking, so that opening a named pipe cannot hang before it is refused.
    const int fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throw VelloriaError(fileio::ioErrorText("open", m_path, errno));
    m_file.reset(::fdopen(fd, "rb"));
    if (!m_file) {
        const int error = errno;
        ::close(fd);
        throw VelloriaError(fileio::ioErrorText("open", m_path, error));
    }
    struct stat info
    {};
    if (::fstat(fd, &info) != 0)
        throw VelloriaError(fileio::ioErrorText("open", m_path, errno));
    // A device or a pipe could feed bytes for ever or block; only a regular file has a size.
    if (!S_ISREG(info.st_mode))
        throw VelloriaError(fileio::notRegularFileText("open", m_path, info.st_mode));
    m_fileBytes = std::uintmax_t(info.st_size);
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        throw VelloriaError(fileio::ioErrorText("open", m_path, errno));
}

void JpegReader::readHeader()
{
    jpeg_stdio_src(&m_jpeg.info, m_file.get());
    jpeg_save_markers(&m_jpeg.info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_save_markers(&m_jpeg.info, JPEG_APP0 + 2, 0xFFFF);
    check(m_trap.run([this] { jpeg_read_header(&m_jpeg.info, TRUE); }));
    if (const std::string reason = m_limit.declaredSizeRefusal(m_jpeg.info); !reason.empty())
        throw VelloriaError(refusal(reason));
    for (jpeg_saved_marker_ptr marker = m_jpeg.info.marker_list; marker; marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1) {
            m_orientation = exiforientation::fromApp1(marker->data, marker->data_length);
            break;
        }
    }
    // libjpeg turns YCCK into CMYK; CMYK to RGB is ours. Photoshop writes CMYK inverted and
    // marks its files with an Adobe segment, so that segment tells the two apart.
    m_cmyk = m_jpeg.info.jpeg_color_space == JCS_CMYK || m_jpeg.info.jpeg_color_space == JCS_YCCK;
    m_invertedCmyk = m_cmyk && m_jpeg.info.saw_Adobe_marker;
    m_jpeg.info.out_color_space = m_cmyk ? JCS_CMYK : JCS_RGB;
    readIccProfile();
}

void JpegReader::readIccProfile()
{
    // libjpeg-turbo checks that the segments' numbers fit together and only warns when they
    // do not; a profile it cannot join, or memory it cannot get, leaves the picture without
    // one, as if it had none.
    JOCTET *profile = nullptr;
    unsigned int length = 0;
    const bool joined = m_trap.run([this, &profile, &length] {
        if (!jpeg_read_icc_profile(&m_jpeg.info, &profile, &length))
            profile = nullptr;
    });
    if (joined && profile)
        m_iccProfile.assign(reinterpret_cast<const char *>(profile), length);
    std::free(profile);
}

DecodedColours JpegReader::colours() const
{
    if (m_cmyk)
        return DecodedColours::inks;
    return m_jpeg.info.num_components == 1 ? DecodedColours::grey : DecodedColours::colour;
}

void JpegReader::start(int minWidth, int minHeight)
{
    chooseScale(minWidth, minHeight);
    check(m_trap.run([this] { jpeg_start_decompress(&m_jpeg.info); }));
    if (m_cmyk)
        m_cmykRow.resize(std::size_t(m_jpeg.info.output_width) * 4);
}

void JpegReader::chooseScale(int minWidth, int minHeight)
{
    // Scaling in the DCT costs almost nothing and spares decoding pixels that the
    // resampler would only average away.
    m_jpeg.info.scale_denom = 8;
    for (unsigned int n = 1; n <= 8; ++n) {
        m_jpeg.info.scale_num = n;
        check(m_trap.run([this] { jpeg_calc_output_dimensions(&m_jpeg.info); }));
        if (int(m_jpeg.info.output_width) >= minWidth &&
            int(m_jpeg.info.output_height) >= minHeight)
            return;
    }
}

void JpegReader::readRow(unsigned char *rgb)
{
    JSAMPROW row = m_cmyk ? m_cmykRow.data() : rgb;
    JDIMENSION rows = 0;
    check(m_trap.run([this, &row, &rows] { rows = jpeg_read_scanlines(&m_jpeg.info, &row, 1); }));
    if (rows != 1)
        throw VelloriaError(refusal("the JPEG data ends too early"));
    if (!m_cmyk)
        return;
    const std::size_t width = m_jpeg.info.output_width;
    for (std::size_t x = 0; x < width; ++x) {
        unsigned char *ink = &m_cmykRow[x * 4];
        if (m_invertedCmyk) {
            for (int c = 0; c < 4; ++c)
                ink[c] = static_cast<unsigned char>(255 - ink[c]);
        }
        for (int c = 0; c < 3; ++c)
            rgb[x * 3 + c] = inkToLight(ink[c], ink[3]);
    }
}

void JpegReader::check(bool succeeded) const
{
    if (succeeded)
        return;
    const int code = m_trap.code();
    if (code == JpegErrorTrap::refusedCode)
        throw VelloriaError(refusal(m_trap.message()));
    std::string reason;
    if (code == JERR_NO_SOI || code == JERR_INPUT_EMPTY)
        reason = "it is not a JPEG file";
    else if (code == JERR_OUT_OF_MEMORY || code == JERR_NO_BACKING_STORE ||
             code == JERR_IMAGE_TOO_BIG)
        reason = "the picture is too large to decode";
    else if (code == JWRN_JPEG_EOF)
        reason = "the JPEG file is truncated";
    else
        reason = "the JPEG data is damaged";
    throw VelloriaError(refusal(reason + " (" + m_trap.message() + ")"));
}

std::string JpegReader::refusal(const std::string &reason) const
{
    return "Cannot read picture \"" + m_path.string() + "\": " + reason;
}
