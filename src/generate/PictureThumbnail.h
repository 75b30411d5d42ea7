#pragma once

// Small pictures of originals for the editor: the tree's icons and the item page's picture.
// They come from the same reader as the slides, so the editor shows what a show will show:
// upright by EXIF orientation, in sRGB, from any size of photo in bounded memory (decoded at
// the smallest DCT scale that covers the box), stopped by the reader's work limits, and
// from regular files only, so that a pipe never blocks.

#include "RgbImage.h"

#include <filesystem>

struct PictureThumbnail
{
    RgbImage picture;      // upright, fitted into the box, never larger than the original
    int originalWidth = 0; // the original's size, upright
    int originalHeight = 0;
    int decodedWidth = 0; // the size decoded, as stored: the DCT scale that was chosen
    int decodedHeight = 0;
};

// The original fitted into boxWidth x boxHeight, keeping its proportions. Raises
// VelloriaError naming the file when it cannot be opened, is not a regular file or is not a
// complete, undamaged JPEG, or when the box is empty.
PictureThumbnail makePictureThumbnail(const std::filesystem::path &original, int boxWidth,
                                      int boxHeight);
