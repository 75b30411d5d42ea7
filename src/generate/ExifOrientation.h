#pragma once

// Cameras store pictures as the sensor saw them and record in EXIF how to turn them
// upright. Orientations 1..8 as EXIF numbers them; 5..8 swap width and height.

#include "RgbImage.h"

#include <cstddef>

namespace exiforientation {

// The orientation in an APP1 segment's payload; 1 for anything else, damaged or unknown.
int fromApp1(const unsigned char *data, std::size_t size);

bool swapsSides(int orientation);

// The picture as stored, turned upright.
RgbImage turnUpright(RgbImage stored, int orientation);

} // namespace exiforientation
