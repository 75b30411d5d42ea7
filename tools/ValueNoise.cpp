#include "ValueNoise.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Octaves are shifted against each other so their lattice points never line up.
constexpr float octaveShift = 17.317f;

float smooth(float t)
{
    return t * t * (3.0f - 2.0f * t);
}

} // namespace

ValueNoise::ValueNoise(std::uint32_t seed) : m_seed(seed)
{
    for (int i = 0; i < tableSize; ++i) {
        m_order[i] = static_cast<std::uint16_t>(i);
        m_values[i] = cell(i, -1);
    }
    // Fisher-Yates with the cell hash as its dice: no standard library engine, whose
    // distributions may differ between library versions.
    for (int i = tableSize - 1; i > 0; --i) {
        const float unit = (cell(i, -2) + 1.0f) * 0.5f;
        const int j = std::min(i, static_cast<int>(unit * static_cast<float>(i + 1)));
        std::swap(m_order[i], m_order[j]);
    }
}

float ValueNoise::at(float x, float y) const
{
    // Truncation rounds toward zero; step down for negatives. Cheaper than std::floor, and
    // this is where most of a picture's time goes.
    auto ix = static_cast<std::int32_t>(x);
    auto iy = static_cast<std::int32_t>(y);
    ix -= static_cast<float>(ix) > x ? 1 : 0;
    iy -= static_cast<float>(iy) > y ? 1 : 0;
    const float tx = smooth(x - static_cast<float>(ix));
    const float ty = smooth(y - static_cast<float>(iy));
    const float a = lattice(ix, iy);
    const float b = lattice(ix + 1, iy);
    const float c = lattice(ix, iy + 1);
    const float d = lattice(ix + 1, iy + 1);
    const float top = a + (b - a) * tx;
    const float bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

float ValueNoise::fractal(float x, float y, int octaves) const
{
    float sum = 0.0f;
    float total = 0.0f;
    float amplitude = 1.0f;
    float frequency = 1.0f;
    for (int i = 0; i < octaves; ++i) {
        const float shift = octaveShift * static_cast<float>(i);
        sum += amplitude * at(x * frequency + shift, y * frequency - shift);
        total += amplitude;
        amplitude *= 0.5f;
        frequency *= 2.0f;
    }
    return total > 0.0f ? sum / total : 0.0f;
}

float ValueNoise::detail(float x, float y, float baseFrequency, float pixelSize, int octaves) const
{
    float sum = 0.0f;
    float total = 0.0f;
    float amplitude = 1.0f;
    float frequency = baseFrequency;
    for (int i = 0; i < octaves; ++i) {
        // Weight 1 while a feature spans four pixels or more, 0 below two.
        const float pixelsPerFeature = 1.0f / (frequency * pixelSize);
        const float weight = std::clamp(pixelsPerFeature * 0.5f - 1.0f, 0.0f, 1.0f);
        total += amplitude;
        if (weight > 0.0f) {
            const float shift = octaveShift * static_cast<float>(i);
            sum += weight * amplitude * at(x * frequency + shift, y * frequency - shift);
        }
        amplitude *= 0.5f;
        frequency *= 2.0f;
    }
    return total > 0.0f ? sum / total : 0.0f;
}
