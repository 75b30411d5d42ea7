#pragma once

// A JPEG decoded for inspection in tests: its pixels as RGB and how it was encoded.

#include "generate/JpegErrorTrap.h"

#include <stdexcept>
#include <string>
#include <vector>

struct DecodedJpeg
{
    int width = 0;
    int height = 0;
    int components = 0;
    bool progressive = false;
    bool subsampled = false;
    std::vector<unsigned char> rgb;

    const unsigned char *at(int x, int y) const
    {
        return &rgb[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3];
    }
};

// Throws std::runtime_error for a picture libjpeg cannot decode.
inline DecodedJpeg decodeJpeg(const std::string &bytes)
{
    JpegErrorTrap trap;
    jpeg_decompress_struct info{};
    info.err = trap.manager();
    DecodedJpeg decoded;
    const bool decodable = trap.run([&] {
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(bytes.data()), bytes.size());
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_RGB;
        jpeg_start_decompress(&info);
    });
    if (decodable) {
        decoded.width = int(info.output_width);
        decoded.height = int(info.output_height);
        decoded.components = info.num_components;
        decoded.progressive = info.progressive_mode;
        for (int c = 0; c < info.num_components; ++c)
            decoded.subsampled |= info.comp_info[c].h_samp_factor != info.max_h_samp_factor ||
                                  info.comp_info[c].v_samp_factor != info.max_v_samp_factor;
        decoded.rgb.resize(std::size_t(decoded.width) * std::size_t(decoded.height) * 3);
    }
    const bool complete = decodable && trap.run([&] {
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = &decoded.rgb[std::size_t(info.output_scanline) * info.output_width * 3];
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
    });
    jpeg_destroy_decompress(&info);
    if (!complete)
        throw std::runtime_error(std::string("undecodable JPEG: ") + trap.message());
    return decoded;
}
