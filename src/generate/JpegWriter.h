#pragma once

// Encodes slides: baseline JPEG, YCbCr without chroma subsampling (at slide sizes the
// colour detail shows), quality 90, optimised Huffman tables. The same picture always
// gives the same bytes.

#include "JpegErrorTrap.h"
#include "RgbImage.h"

#include <filesystem>
#include <string>

class JpegWriter
{
public:
    // The original only names the slide in error messages.
    explicit JpegWriter(const std::filesystem::path &original);
    ~JpegWriter();
    JpegWriter(const JpegWriter &) = delete;
    JpegWriter &operator=(const JpegWriter &) = delete;

    std::string encode(const RgbImage &image);

    static constexpr int quality = 90;

private:
    void setUp(const RgbImage &image);
    void check(bool succeeded) const;

    std::filesystem::path m_original;
    JpegErrorTrap m_trap;
    jpeg_compress_struct m_info{};
    bool m_created = false;
    unsigned char *m_buffer = nullptr;
    unsigned long m_size = 0;
};
