#pragma once

// The careful way to shrink a picture, to measure the slide pipeline against: Lanczos-3 in
// double precision over the whole decoded picture, one axis after the other, with no DCT
// scaling, no streaming and no rounding between the passes.

#include "DecodedJpeg.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace lanczosreference {

inline double kernel(double x)
{
    if (x == 0.0)
        return 1.0;
    if (std::abs(x) >= 3.0)
        return 0.0;
    const double px = std::numbers::pi * x;
    return 3.0 * std::sin(px) * std::sin(px / 3.0) / (px * px);
}

// Scales `count` lines of `inSize` RGB samples each to `outSize` samples. The result is
// transposed: sample i of every line comes first, so a second call scales the other axis.
inline std::vector<double> scaleLines(const std::vector<double> &in, int inSize, int count,
                                      int outSize)
{
    std::vector<double> out(std::size_t(outSize) * std::size_t(count) * 3);
    const double scale = double(inSize) / outSize;
    const double stretch = std::max(scale, 1.0);
    for (int i = 0; i < outSize; ++i) {
        const double centre = (i + 0.5) * scale;
        const int first = std::max(0, int(std::floor(centre - 3.0 * stretch)));
        const int end = std::min(inSize, int(std::ceil(centre + 3.0 * stretch)) + 1);
        std::vector<double> weights;
        double sum = 0.0;
        for (int j = first; j < end; ++j)
            sum += weights.emplace_back(kernel((j + 0.5 - centre) / stretch));
        for (int line = 0; line < count; ++line) {
            for (int c = 0; c < 3; ++c) {
                double value = 0.0;
                for (int j = first; j < end; ++j)
                    value += weights[std::size_t(j - first)] *
                             in[(std::size_t(line) * inSize + std::size_t(j)) * 3 + c];
                out[(std::size_t(i) * count + std::size_t(line)) * 3 + c] = value / sum;
            }
        }
    }
    return out;
}

// The picture shrunk to width x height, values clamped but not rounded.
inline std::vector<double> shrink(const DecodedJpeg &picture, int width, int height)
{
    const std::vector<double> samples(picture.rgb.begin(), picture.rgb.end());
    const std::vector<double> across = scaleLines(samples, picture.width, picture.height, width);
    std::vector<double> both = scaleLines(across, picture.height, width, height);
    for (double &value : both)
        value = std::clamp(value, 0.0, 255.0);
    return both;
}

inline double psnr(const std::vector<double> &reference, const std::vector<unsigned char> &rgb)
{
    double squares = 0.0;
    for (std::size_t i = 0; i < reference.size(); ++i)
        squares += (reference[i] - rgb[i]) * (reference[i] - rgb[i]);
    return 10.0 * std::log10(255.0 * 255.0 * double(reference.size()) / squares);
}

} // namespace lanczosreference
