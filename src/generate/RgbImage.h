#pragma once

// A picture as 8-bit RGB triples, row after row, top row first.

#include <vector>

struct RgbImage
{
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;
};
