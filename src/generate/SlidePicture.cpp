#include "SlidePicture.h"

#include "ExifOrientation.h"
#include "JpegReader.h"
#include "JpegWriter.h"
#include "Resampler.h"
#include "SrgbConversion.h"
#include "platform/VelloriaError.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <future>
#include <optional>
#include <utility>
#include <vector>

namespace {

// JPEG cannot hold a side longer than this.
constexpr int maxSlideSide = 65500;
// Refused before the picture is decoded: a slide is held a few times over (scaled, turned
// upright, encoded), about 10 bytes a pixel, and every core makes one at a time, so
// 40 megapixels keep that near 400 MB a core. Slides of web pages are far smaller.
constexpr std::int64_t maxSlidePixels = 40'000'000;

int roundedSide(double side)
{
    const double rounded = std::nearbyint(side);
    return rounded >= double(INT_MAX) ? INT_MAX : int(rounded);
}

std::string refusal(const std::filesystem::path &original, const std::string &reason)
{
    return "Cannot make a slide of \"" + original.string() + "\": " + reason;
}

std::string sizeText(int width, int height)
{
    return std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

// Why a slide of this size is not made, or empty.
std::string sizeRefusal(SlideSize size)
{
    const std::string slide = "its slide would be " + sizeText(size.width, size.height);
    if (size.height > maxSlideHeight)
        return slide + ", higher than the largest slide height of " +
               std::to_string(maxSlideHeight) + " pixels";
    if (size.width > maxSlideSide)
        return slide + ", wider than the largest JPEG width of " + std::to_string(maxSlideSide) +
               " pixels";
    if (std::int64_t(size.width) * size.height > maxSlidePixels)
        return slide + ", more than the limit of " + std::to_string(maxSlidePixels / 1'000'000) +
               " megapixels for a slide";
    return {};
}

SlideSize checkedSize(const std::filesystem::path &original, int width, int height,
                      int targetHeight)
{
    const SlideSize size = slideSizeFor(width, height, targetHeight);
    const std::string original_size = sizeText(width, height);
    if (size.width < 1 || size.height < 1)
        throw VelloriaError(refusal(original, "the picture is " + original_size +
                                                  " and would shrink to nothing at a "
                                                  "height of " +
                                                  std::to_string(targetHeight)));
    if (const std::string reason = sizeRefusal(size); !reason.empty())
        throw VelloriaError(
            refusal(original, "the picture is " + original_size + " and " + reason));
    return size;
}

// Converted after scaling, the colours cost a slide's pixels instead of the original's.
SlidePicture encoded(const std::filesystem::path &original, RgbImage scaled,
                     const SrgbConversion &srgb, int orientation)
{
    srgb.apply(scaled);
    const RgbImage upright = exiforientation::turnUpright(std::move(scaled), orientation);
    JpegWriter writer(original);
    return {upright.width, upright.height, writer.encode(upright), {}};
}

} // namespace

SlideSize slideSizeFor(int imageWidth, int imageHeight, int targetHeight)
{
    const float ratio = float(imageHeight) / float(targetHeight);
    return {roundedSide(double(imageWidth) / double(ratio)),
            roundedSide(double(imageHeight) / double(ratio))};
}

SlidePicture makeSlidePicture(const std::filesystem::path &original, int targetHeight,
                              SharpSlide sharp)
{
    if (targetHeight < 1)
        throw VelloriaError(refusal(original, "the slide height must be at least 1 pixel, not " +
                                                  std::to_string(targetHeight)));
    JpegReader reader(original);
    const bool swaps = exiforientation::swapsSides(reader.orientation());
    const int uprightWidth = swaps ? reader.height() : reader.width();
    const int uprightHeight = swaps ? reader.width() : reader.height();
    const SlideSize size = checkedSize(original, uprightWidth, uprightHeight, targetHeight);
    // Twice the slide is made only from rows the original has: an upscaled one would only
    // cost bytes without showing more.
    const bool withSharp = sharp == SharpSlide::make && uprightHeight >= 2 * targetHeight &&
                           sizeRefusal({2 * size.width, 2 * size.height}).empty();
    // Scale the picture as stored and turn only the small results upright.
    const SlideSize stored{swaps ? size.height : size.width, swaps ? size.width : size.height};
    // Building a colour profile's conversion takes a few milliseconds, several percent of
    // decoding a large photo: it is built meanwhile on a thread of its own, or afterwards when
    // no thread can be had.
    const auto policy = reader.iccProfile().empty() ? std::launch::deferred
                                                    : std::launch::async | std::launch::deferred;
    std::future<SrgbConversion> conversion =
        std::async(policy, [icc = reader.iccProfile(), colours = reader.colours()] {
            return SrgbConversion::forProfile(icc, colours);
        });
    // Twice the slide's size leaves the filter enough to work with, and the sharp slide a
    // row of the decode for each of its rows.
    reader.start(2 * stored.width, 2 * stored.height);
    Resampler slide(reader.scaledWidth(), reader.scaledHeight(), stored.width, stored.height);
    std::optional<Resampler> sharpSlide;
    if (withSharp)
        sharpSlide.emplace(reader.scaledWidth(), reader.scaledHeight(), 2 * stored.width,
                           2 * stored.height);
    std::vector<unsigned char> row(std::size_t(reader.scaledWidth()) * 3);
    for (int y = 0; y < reader.scaledHeight(); ++y) {
        reader.readRow(row.data());
        slide.addRow(row.data());
        if (sharpSlide)
            sharpSlide->addRow(row.data());
    }
    const SrgbConversion srgb = conversion.get();
    SlidePicture picture = encoded(original, slide.take(), srgb, reader.orientation());
    if (sharpSlide)
        picture.sharpJpeg = encoded(original, sharpSlide->take(), srgb, reader.orientation()).jpeg;
    return picture;
}
