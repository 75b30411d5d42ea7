#pragma once

// Slides: the originals scaled to the slide show's height, turned upright, brought into sRGB
// from an embedded colour profile and encoded as JPEG for the web.

#include "model/PageRules.h"

#include <filesystem>
#include <string>

struct SlideSize
{
    int width;
    int height;
};

// The size of a width x height picture scaled to targetHeight. The ratio is held in single
// precision and each side rounds to the nearest pixel, halves to the even one. Published
// slide shows depend on these sizes: keep the arithmetic exactly as it is.
SlideSize slideSizeFor(int imageWidth, int imageHeight, int targetHeight);

// The editor's largest slide show height; a larger one can only come from an edited file.
inline constexpr int maxSlideHeight = pagerules::spinMaximum;

struct SlidePicture
{
    int width = 0;
    int height = 0;
    std::string jpeg;
    // The same slide at 2 width x 2 height, for screens that show 2 or more device pixels per
    // CSS pixel; empty when the original has fewer than twice the slide's rows, or when the
    // larger slide would pass a limit that the slide itself keeps.
    std::string sharpJpeg;
};

// Whether makeSlidePicture also makes the slide at twice the size.
enum class SharpSlide { skip, make };

// Reads a JPEG original, turns it upright per its EXIF orientation, scales it to
// slideSizeFor(upright width, upright height, targetHeight) and converts it to sRGB when it
// carries a usable colour profile of another colour space (SrgbConversion). Raises VelloriaError
// naming the file for a height below 1, a picture that would shrink to nothing, a slide higher
// than maxSlideHeight or larger than 40 megapixels (found from the picture's header, before
// anything is decoded), and a file that cannot be read or is not a complete, undamaged JPEG.
// Both sizes come from one decode, at the DCT scale that leaves twice the slide's rows.
SlidePicture makeSlidePicture(const std::filesystem::path &original, int targetHeight,
                              SharpSlide sharp = SharpSlide::make);
