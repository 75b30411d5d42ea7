#include "ExifOrientation.h"

#include <cstdint>
#include <cstring>

namespace exiforientation {
namespace {

constexpr unsigned orientationTag = 0x0112;
constexpr unsigned shortType = 3;
constexpr std::size_t tiffStart = 6; // after "Exif\0\0"

class TiffBytes
{
public:
    TiffBytes(const unsigned char *data, std::size_t size, bool bigEndian)
        : m_data(data), m_size(size), m_bigEndian(bigEndian)
    {}
    bool has(std::size_t offset, std::size_t length) const
    {
        return offset <= m_size && length <= m_size - offset;
    }
    std::uint32_t read(std::size_t offset, int length) const
    {
        std::uint32_t value = 0;
        for (int i = 0; i < length; ++i) {
            const int index = m_bigEndian ? i : length - 1 - i;
            value = (value << 8) | m_data[offset + std::size_t(index)];
        }
        return value;
    }

private:
    const unsigned char *m_data;
    std::size_t m_size;
    bool m_bigEndian;
};

int orientationInIfd0(const TiffBytes &tiff)
{
    const std::size_t ifd = tiff.read(4, 4);
    if (!tiff.has(ifd, 2))
        return 1;
    const std::size_t entries = tiff.read(ifd, 2);
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t entry = ifd + 2 + i * 12;
        if (!tiff.has(entry, 12))
            return 1;
        if (tiff.read(entry, 2) != orientationTag)
            continue;
        if (tiff.read(entry + 2, 2) != shortType || tiff.read(entry + 4, 4) != 1)
            return 1;
        const std::uint32_t value = tiff.read(entry + 8, 2);
        return value >= 1 && value <= 8 ? int(value) : 1;
    }
    return 1;
}

} // namespace

int fromApp1(const unsigned char *data, std::size_t size)
{
    if (size < tiffStart + 8 || std::memcmp(data, "Exif\0\0", tiffStart) != 0)
        return 1;
    const unsigned char *tiff = data + tiffStart;
    const bool little = std::memcmp(tiff, "II*\0", 4) == 0;
    const bool big = std::memcmp(tiff, "MM\0*", 4) == 0;
    if (!little && !big)
        return 1;
    return orientationInIfd0(TiffBytes(tiff, size - tiffStart, big));
}

bool swapsSides(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}

RgbImage turnUpright(RgbImage stored, int orientation)
{
    if (orientation < 2 || orientation > 8)
        return stored;
    const int w = stored.width;
    const int h = stored.height;
    RgbImage upright;
    upright.width = swapsSides(orientation) ? h : w;
    upright.height = swapsSides(orientation) ? w : h;
    upright.pixels.resize(stored.pixels.size());
    unsigned char *out = upright.pixels.data();
    for (int y = 0; y < upright.height; ++y) {
        for (int x = 0; x < upright.width; ++x, out += 3) {
            int sx = x;
            int sy = y;
            switch (orientation) {
            case 2:
                sx = w - 1 - x;
                break;
            case 3:
                sx = w - 1 - x, sy = h - 1 - y;
                break;
            case 4:
                sy = h - 1 - y;
                break;
            case 5:
                sx = y, sy = x;
                break;
            case 6:
                sx = y, sy = h - 1 - x;
                break;
            case 7:
                sx = w - 1 - y, sy = h - 1 - x;
                break;
            case 8:
                sx = w - 1 - y, sy = x;
                break;
            }
            std::memcpy(out, &stored.pixels[(std::size_t(sy) * std::size_t(w) + sx) * 3], 3);
        }
    }
    return upright;
}

} // namespace exiforientation
