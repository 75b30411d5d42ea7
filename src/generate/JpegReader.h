#pragma once

// Decodes a JPEG file row by row into RGB, at the smallest DCT scale that still leaves
// enough pixels for a good resample. Grey, RGB, YCbCr, CMYK and YCCK pictures, baseline or
// progressive, all come out as RGB. Failures raise VelloriaError naming the file.

#include "JpegErrorTrap.h"
#include "JpegWorkLimit.h"
#include "SrgbConversion.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class JpegReader
{
public:
    // Opens the file and reads everything up to the picture data.
    explicit JpegReader(const std::filesystem::path &path);
    JpegReader(const JpegReader &) = delete;
    JpegReader &operator=(const JpegReader &) = delete;

    // Size as stored, before any EXIF orientation.
    int width() const { return static_cast<int>(m_jpeg.info.image_width); }
    int height() const { return static_cast<int>(m_jpeg.info.image_height); }
    // EXIF orientation 1..8; 1 when the file has none.
    int orientation() const { return m_orientation; }
    // The embedded ICC profile, joined from its segments; empty when there is none or its
    // segments do not fit together.
    const std::string &iccProfile() const { return m_iccProfile; }
    DecodedColours colours() const;

    // Starts decoding at the smallest scale of 1/8 .. 8/8 whose size is at least
    // minWidth x minHeight, or at full size when none is.
    void start(int minWidth, int minHeight);
    int scaledWidth() const { return static_cast<int>(m_jpeg.info.output_width); }
    int scaledHeight() const { return static_cast<int>(m_jpeg.info.output_height); }
    // Decodes the next row into scaledWidth() RGB triples.
    void readRow(unsigned char *rgb);

private:
    struct FileCloser
    {
        void operator()(std::FILE *file) const { std::fclose(file); }
    };

    void openFile();
    void readHeader();
    void readIccProfile();
    void chooseScale(int minWidth, int minHeight);
    void check(bool succeeded) const;
    std::string refusal(const std::string &reason) const;

    std::filesystem::path m_path;
    std::unique_ptr<std::FILE, FileCloser> m_file;
    std::uintmax_t m_fileBytes = 0;
    JpegErrorTrap m_trap;
    // Before the decompressor, which refers to it until destroyed.
    JpegWorkLimit m_limit;
    // Destroyed by its own destructor, so that a constructor that throws releases it too.
    struct Decompressor
    {
        jpeg_decompress_struct info{};
        bool created = false;
        Decompressor() = default;
        Decompressor(const Decompressor &) = delete;
        Decompressor &operator=(const Decompressor &) = delete;
        ~Decompressor()
        {
            if (created)
                jpeg_destroy_decompress(&info);
        }
    };
    Decompressor m_jpeg;
    bool m_cmyk = false;
    bool m_invertedCmyk = false;
    int m_orientation = 1;
    std::string m_iccProfile;
    std::vector<unsigned char> m_cmykRow;
};
