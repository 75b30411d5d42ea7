#pragma once

// Seeded lattice noise for the synthetic photos: smooth fields for clouds, hills and texture,
// and independent per-cell values for grain. Pure functions of their arguments, so any band
// of a picture can be rendered on its own and still match its neighbours.

#include <array>
#include <cstdint>

class ValueNoise
{
public:
    explicit ValueNoise(std::uint32_t seed);

    // Independent value in [-1, 1] for one lattice cell.
    float cell(std::int32_t x, std::int32_t y) const
    {
        // A murmur-style finaliser: cheap, and every input bit reaches every output bit.
        std::uint32_t h = m_seed ^ (static_cast<std::uint32_t>(x) * 0x27d4eb2du);
        h ^= static_cast<std::uint32_t>(y) * 0x165667b1u;
        h ^= h >> 15;
        h *= 0x85ebca6bu;
        h ^= h >> 13;
        h *= 0xc2b2ae35u;
        h ^= h >> 16;
        return static_cast<float>(h >> 8) * (2.0f / 16777215.0f) - 1.0f;
    }

    // Smooth value in [-1, 1] with features about one unit apart.
    float at(float x, float y) const;

    // Octaves of at(), each twice as fine and half as strong, scaled back into [-1, 1].
    float fractal(float x, float y, int octaves) const;

    // Like fractal(), starting at baseFrequency, but octaves finer than two pixels are left
    // out (the last one fades in). Leaving them out keeps the mean: a small rendering then
    // matches a large one scaled down, instead of aliasing.
    float detail(float x, float y, float baseFrequency, float pixelSize, int octaves) const;

private:
    static constexpr int tableSize = 1024; // a power of two

    float lattice(std::int32_t x, std::int32_t y) const
    {
        const auto mask = static_cast<std::uint32_t>(tableSize - 1);
        const std::uint32_t row = m_order[static_cast<std::uint32_t>(x) & mask];
        return m_values[m_order[(row + static_cast<std::uint32_t>(y)) & mask]];
    }

    std::uint32_t m_seed;
    // The smooth noise reads its lattice from shuffled tables: several times faster than
    // hashing every corner, and a pattern repeating every 1024 cells is never seen.
    std::array<std::uint16_t, tableSize> m_order;
    std::array<float, tableSize> m_values;
};
