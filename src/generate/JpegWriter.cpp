#include "JpegWriter.h"

#include "platform/VelloriaError.h"

#include <cstdlib>

JpegWriter::JpegWriter(const std::filesystem::path &original) : m_original(original)
{
    m_info.err = m_trap.manager();
    m_created = m_trap.run([this] { jpeg_create_compress(&m_info); });
    check(m_created);
}

JpegWriter::~JpegWriter()
{
    if (m_created)
        jpeg_destroy_compress(&m_info);
    // libjpeg allocates the output buffer with malloc and leaves freeing it to us.
    std::free(m_buffer);
}

std::string JpegWriter::encode(const RgbImage &image)
{
    check(m_trap.run([this, &image] { setUp(image); }));
    const JDIMENSION rowBytes = JDIMENSION(image.width) * 3;
    // libjpeg reads the rows but its interface wants them writable.
    auto *pixels = const_cast<unsigned char *>(image.pixels.data());
    check(m_trap.run([this, pixels, rowBytes] {
        while (m_info.next_scanline < m_info.image_height) {
            JSAMPROW row = pixels + std::size_t(m_info.next_scanline) * rowBytes;
            jpeg_write_scanlines(&m_info, &row, 1);
        }
        jpeg_finish_compress(&m_info);
    }));
    return std::string(reinterpret_cast<const char *>(m_buffer), m_size);
}

// Runs under the trap: libjpeg may stop it half way.
void JpegWriter::setUp(const RgbImage &image)
{
    jpeg_mem_dest(&m_info, &m_buffer, &m_size);
    m_info.image_width = JDIMENSION(image.width);
    m_info.image_height = JDIMENSION(image.height);
    m_info.input_components = 3;
    m_info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&m_info);
    jpeg_set_quality(&m_info, quality, TRUE);
    for (int c = 0; c < m_info.num_components; ++c) {
        m_info.comp_info[c].h_samp_factor = 1;
        m_info.comp_info[c].v_samp_factor = 1;
    }
    m_info.optimize_coding = TRUE;
    m_info.dct_method = JDCT_ISLOW;
    jpeg_start_compress(&m_info, TRUE);
}

void JpegWriter::check(bool succeeded) const
{
    if (!succeeded)
        throw VelloriaError("Cannot make the slide of \"" + m_original.string() +
                            "\": " + m_trap.message());
}
