#include "PictureThumbnail.h"

#include "ExifOrientation.h"
#include "JpegReader.h"
#include "Resampler.h"
#include "SrgbConversion.h"
#include "platform/VelloriaError.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

// The side of a picture scaled by `scale`: at least one pixel, so that a panorama in a
// small box still shows as a line.
int scaledSide(int side, double scale)
{
    return std::max(1, int(std::lround(side * scale)));
}

} // namespace

PictureThumbnail makePictureThumbnail(const std::filesystem::path &original, int boxWidth,
                                      int boxHeight)
{
    if (boxWidth < 1 || boxHeight < 1)
        throw VelloriaError("Cannot make a small picture of \"" + original.string() +
                            "\": the box is " + std::to_string(boxWidth) + " x " +
                            std::to_string(boxHeight) + " pixels");
    JpegReader reader(original);
    const bool swaps = exiforientation::swapsSides(reader.orientation());
    PictureThumbnail thumbnail;
    thumbnail.originalWidth = swaps ? reader.height() : reader.width();
    thumbnail.originalHeight = swaps ? reader.width() : reader.height();
    const double scale = std::min({1.0, double(boxWidth) / thumbnail.originalWidth,
                                   double(boxHeight) / thumbnail.originalHeight});
    const int uprightWidth = scaledSide(thumbnail.originalWidth, scale);
    const int uprightHeight = scaledSide(thumbnail.originalHeight, scale);
    // Scaled as stored, turned upright once small.
    const int width = swaps ? uprightHeight : uprightWidth;
    const int height = swaps ? uprightWidth : uprightHeight;
    reader.start(width, height);
    thumbnail.decodedWidth = reader.scaledWidth();
    thumbnail.decodedHeight = reader.scaledHeight();
    Resampler resampler(reader.scaledWidth(), reader.scaledHeight(), width, height);
    std::vector<unsigned char> row(std::size_t(reader.scaledWidth()) * 3);
    for (int y = 0; y < reader.scaledHeight(); ++y) {
        reader.readRow(row.data());
        resampler.addRow(row.data());
    }
    RgbImage scaled = resampler.take();
    SrgbConversion::forProfile(reader.iccProfile(), reader.colours()).apply(scaled);
    thumbnail.picture = exiforientation::turnUpright(std::move(scaled), reader.orientation());
    return thumbnail;
}
