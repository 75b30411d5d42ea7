#include "SyntheticPhoto.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

constexpr float pi = 3.14159265f;
constexpr float grainLevels = 2.0f; // grain amplitude in 8-bit steps

Rgb mix(Rgb a, Rgb b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb scaled(Rgb c, float f)
{
    return {c.r * f, c.g * f, c.b * f};
}

Rgb plus(Rgb a, Rgb b, float f)
{
    return {a.r + b.r * f, a.g + b.g * f, a.b + b.b * f};
}

float clamp01(float t)
{
    return std::clamp(t, 0.0f, 1.0f);
}

float smoothstep(float low, float high, float t)
{
    const float x = clamp01((t - low) / (high - low));
    return x * x * (3.0f - 2.0f * x);
}

// How much of a pixel of the given width lies inside [low, high]: edges stay sharp at any size.
float inside(float t, float low, float high, float pixel)
{
    return clamp01(std::min(t - low, high - t) / pixel + 0.5f);
}

std::uint8_t toByte(float value)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f);
}

} // namespace

struct SyntheticPhoto::Spot
{
    int column;
    int row;
    float u;      // across, 0..1
    float v;      // down, 0..1
    float x;      // across, iso units
    float y;      // down, iso units
    float pixelV; // one pixel in v
    float pixel;  // one pixel in iso units
};

SyntheticPhoto::SyntheticPhoto(int width, int height, std::uint32_t seed, SceneKind kind)
    : m_width(width), m_height(height),
      m_scale(static_cast<float>(std::max(1, std::min(width, height)))), m_noise(seed),
      m_grain(seed ^ 0xa511e9b3u), m_scene(width, height, seed, kind)
{}

void SyntheticPhoto::renderRows(int firstRow, int rowCount, std::uint8_t *rgb) const
{
    if (firstRow < 0 || rowCount < 0 || firstRow + rowCount > m_height)
        throw std::out_of_range("rows outside the picture");
    for (int y = firstRow; y < firstRow + rowCount; ++y) {
        for (int x = 0; x < m_width; ++x) {
            const Rgb c = shade(x, y);
            // Grain touches brightness only, as film and sensor noise mostly does.
            const float grain = m_grain.cell(x, y) * grainLevels / 255.0f;
            *rgb++ = toByte(c.r + grain);
            *rgb++ = toByte(c.g + grain);
            *rgb++ = toByte(c.b + grain);
        }
    }
}

std::vector<std::uint8_t> SyntheticPhoto::renderRgb() const
{
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(m_width) * m_height * 3);
    renderRows(0, m_height, rgb.data());
    return rgb;
}

Rgb SyntheticPhoto::shade(int x, int y) const
{
    const float fx = static_cast<float>(x) + 0.5f;
    const float fy = static_cast<float>(y) + 0.5f;
    const Spot s{x,
                 y,
                 fx / static_cast<float>(m_width),
                 fy / static_cast<float>(m_height),
                 fx / m_scale,
                 fy / m_scale,
                 1.0f / static_cast<float>(m_height),
                 1.0f / m_scale};

    // Start from the front-most layer that hides everything behind it: the sky's clouds are
    // the dearest part and are mostly hidden.
    const auto &ridges = m_scene.ridges;
    int firstBack = -1;
    int firstFront = -1;
    for (int i = 0; i < static_cast<int>(ridges.size()); ++i)
        if (ridgeCover(ridges[i], s) >= 1.0f)
            (ridges[i].inFront ? firstFront : firstBack) = i;
    const bool hiddenByFront = firstFront >= 0;
    const bool underWater = s.v >= m_scene.waterV + s.pixelV;

    Rgb c;
    if (hiddenByFront) {
        c = ground(ridges[firstFront], s);
    } else if (underWater) {
        c = water(s);
    } else {
        c = firstBack >= 0 ? ground(ridges[firstBack], s) : sky(s);
        for (int i = firstBack + 1; i < static_cast<int>(ridges.size()); ++i)
            if (!ridges[i].inFront)
                c = mix(c, ground(ridges[i], s), ridgeCover(ridges[i], s));
        c = buildingOver(c, s);
        const float wet = inside(s.v, m_scene.waterV, 2.0f, s.pixelV);
        if (wet > 0.0f)
            c = mix(c, water(s), wet);
    }
    const int frontFrom = hiddenByFront ? firstFront + 1 : 0;
    for (int i = frontFrom; i < static_cast<int>(ridges.size()); ++i)
        if (ridges[i].inFront)
            c = mix(c, ground(ridges[i], s), ridgeCover(ridges[i], s));
    return vignette(treesOver(c, s), s);
}

Rgb SyntheticPhoto::sky(const Spot &s) const
{
    const Palette &p = m_scene.palette;
    const float t = clamp01(s.v / m_scene.horizonV);
    Rgb c = mix(p.zenith, p.horizon, std::pow(t, 1.6f));

    const float sunX = m_scene.sunU * static_cast<float>(m_width) / m_scale;
    const float sunY = m_scene.sunV * static_cast<float>(m_height) / m_scale;
    const float r = m_scene.sunRadius;
    const float d = std::hypot(s.x - sunX, s.y - sunY);
    const float glow = 0.5f * std::exp(-d / (r * 2.5f)) + 0.25f * std::exp(-d / (r * 12.0f));
    c = plus(c, p.sun, glow);
    // The disc outshines its own glow, which may already be past white.
    c = mix(c, plus(c, {1.0f, 1.0f, 0.97f}, 0.8f), clamp01((r - d) / s.pixel + 0.5f));
    return clouds(c, s, glow);
}

Rgb SyntheticPhoto::clouds(Rgb colour, const Spot &s, float glow) const
{
    if (m_scene.cloudCover <= 0.0f)
        return colour;
    // Stretched sideways, as clouds seen from below lie in flat layers.
    const float cx = s.x * 1.3f + 40.0f;
    const float cy = s.y * 4.5f;
    const float n =
        0.8f * m_noise.fractal(cx, cy, 4) + 0.2f * m_noise.detail(cx, cy, 16.0f, s.pixel * 4.5f, 3);
    const float threshold = 0.3f - 0.5f * m_scene.cloudCover;
    const float cover = smoothstep(threshold, threshold + 0.25f, n);
    if (cover <= 0.0f)
        return colour;
    const Palette &p = m_scene.palette;
    Rgb cloud = mix(p.cloudLight, p.cloudShadow, smoothstep(0.1f, 0.5f, n - threshold));
    cloud = plus(cloud, p.sun, glow * 0.6f);
    return mix(colour, cloud, cover * 0.92f);
}

float SyntheticPhoto::ridgeCover(const RidgeLayer &ridge, const Spot &s) const
{
    const float depth = s.v - ridge.top[s.column];
    if (ridge.softness <= s.pixelV)
        return clamp01(depth / s.pixelV + 0.5f);
    return smoothstep(-0.5f * ridge.softness, 0.5f * ridge.softness, depth);
}

Rgb SyntheticPhoto::ground(const RidgeLayer &ridge, const Spot &s) const
{
    const float depth = std::max(0.0f, s.v - ridge.top[s.column]);
    const float patches = m_noise.fractal(s.x * 3.0f + ridge.haze * 50.0f, s.y * 6.0f, 3);
    float light = 1.0f + 0.12f * patches + 0.1f * m_noise.detail(s.x, s.y, 24.0f, s.pixel, 5);
    Rgb c = ridge.colour;
    switch (ridge.texture) {
    case GroundTexture::grass:
        // Blades stand upright: fine across, coarse down.
        light += 0.2f * m_noise.detail(s.x * 3.0f, s.y * 0.6f, 24.0f, s.pixel * 3.0f, 4);
        c = mix(c, {0.62f, 0.66f, 0.22f}, clamp01(0.5f + patches));
        light *= 0.85f + 0.5f * clamp01(depth * 2.0f);
        break;
    case GroundTexture::sand:
        light *= sandLight(ridge, s);
        break;
    case GroundTexture::plain:
        light *= 1.0f - 0.2f * clamp01(depth * 4.0f);
        break;
    }
    return mix(scaled(c, light), m_scene.palette.horizon, ridge.haze);
}

float SyntheticPhoto::sandLight(const RidgeLayer &ridge, const Spot &s) const
{
    // The face just below a crest is lit or shadowed by how the crest leans toward the sun;
    // further down the shading evens out.
    const float towardSun = m_scene.sunU < 0.5f ? -1.0f : 1.0f;
    const float depth = std::max(0.0f, s.v - ridge.top[s.column]);
    const float face = std::tanh(ridge.lean[s.column] * towardSun * 4.0f);
    const float nearCrest = std::exp(-depth / 0.04f);
    float light = 0.95f + 0.3f * face * nearCrest - 0.25f * clamp01(depth * 5.0f);
    // Wind ripples, left out once they would be finer than a few pixels.
    const float frequency = 60.0f;
    const float fade = clamp01(1.0f / (frequency * s.pixel) / 2.0f - 1.0f);
    const float bend = 6.0f * m_noise.at(s.x * 3.0f, s.y * 6.0f);
    light += 0.025f * fade * std::sin(2.0f * pi * frequency * s.y + bend);
    return light;
}

Rgb SyntheticPhoto::buildingOver(Rgb colour, const Spot &s) const
{
    const int index = m_scene.buildingAt[s.column];
    if (index < 0 || s.v >= m_scene.groundV)
        return colour;
    const float cover = clamp01((s.v - m_scene.roofAt[s.column]) / s.pixelV + 0.5f);
    if (cover <= 0.0f)
        return colour;
    return mix(colour, facade(m_scene.buildings[index], index, s), cover);
}

Rgb SyntheticPhoto::facade(const Building &b, int index, const Spot &s) const
{
    if (s.v < b.top) {
        // Tall spires are copper gone green, small gables are tiled.
        const Rgb roof = b.peak > 0.1f ? Rgb{0.36f, 0.56f, 0.48f} : Rgb{0.55f, 0.26f, 0.18f};
        return scaled(roof, 1.0f + 0.1f * m_noise.detail(s.x, s.y, 40.0f, s.pixel, 5));
    }
    Rgb wall = scaled(b.colour, 1.0f + 0.06f * m_noise.detail(s.x, s.y, 30.0f, s.pixel, 5));
    const float shadedFrom = m_scene.sunU < 0.5f ? 0.7f : 0.3f;
    const float across = (s.u - b.left) / (b.right - b.left);
    if ((across > shadedFrom) == (m_scene.sunU < 0.5f))
        wall = scaled(wall, 0.72f);

    const float isoPerU = static_cast<float>(m_width) / m_scale;
    const float isoPerV = static_cast<float>(m_height) / m_scale;
    const float sx = b.windowSpacing;
    const float sy = sx * 1.4f;
    const float cx = (s.u - b.left) * isoPerU / sx;
    const float cy = (s.v - b.top) * isoPerV / sy - 0.3f;
    const float columns = std::floor((b.right - b.left) * isoPerU / sx);
    if (cx < 0.0f || cx >= columns || cy < 0.0f)
        return wall;
    const float lit = m_noise.cell(static_cast<int>(cx), static_cast<int>(cy) + index * 977);
    const Palette &p = m_scene.palette;
    const Rgb glass = lit > 1.0f - 2.0f * b.litWindows
                          ? Rgb{1.0f, 0.84f, 0.5f}
                          : mix(scaled(p.horizon, 0.5f), {0.08f, 0.1f, 0.13f}, 0.5f);
    const float pane = inside(cx - std::floor(cx), 0.3f, 0.7f, s.pixel / sx) *
                       inside(cy - std::floor(cy), 0.25f, 0.75f, s.pixel / sy);
    // Windows closer than four pixels blur into the wall, as they would when scaled down.
    const float sharpness = clamp01(sx / s.pixel / 4.0f - 1.0f);
    return mix(mix(wall, glass, 0.2f), mix(wall, glass, pane), sharpness);
}

Rgb SyntheticPhoto::water(const Spot &s) const
{
    const Palette &p = m_scene.palette;
    const float depth = clamp01((s.v - m_scene.waterV) / (1.0f - m_scene.waterV));
    Rgb c = mix(scaled(p.horizon, 0.75f), p.deepWater, std::sqrt(depth));
    const float ripple = m_noise.detail(s.x * 3.0f, s.y * 30.0f, 1.0f, s.pixel * 30.0f, 6);
    c = scaled(c, 1.0f + 0.3f * ripple);

    // Mirror images of the shore, broken up by the ripples.
    const float mirrored = 2.0f * m_scene.waterV - s.v;
    const int shift = static_cast<int>(ripple * 0.01f * static_cast<float>(m_width));
    const int column = std::clamp(s.column + shift, 0, m_width - 1);
    const int index = m_scene.buildingAt[column];
    if (index >= 0 && mirrored > m_scene.roofAt[column]) {
        c = mix(c, scaled(m_scene.buildings[index].colour, 0.55f), 0.55f);
    } else if (!m_scene.ridges.empty() && mirrored > m_scene.ridges[0].top[column]) {
        const RidgeLayer &hill = m_scene.ridges[0];
        c = mix(c, scaled(mix(hill.colour, p.horizon, hill.haze), 0.6f), 0.5f);
    }
    const float sunX = m_scene.sunU * static_cast<float>(m_width) / m_scale;
    const float spread = (s.x - sunX) / (0.04f + 0.12f * depth);
    const float glitter = std::exp(-spread * spread) * smoothstep(0.05f, 0.4f, ripple);
    return plus(c, p.sun, 0.8f * glitter);
}

Rgb SyntheticPhoto::treesOver(Rgb colour, const Spot &s) const
{
    const float towardSun = m_scene.sunU < 0.5f ? -1.0f : 1.0f;
    for (std::size_t i = 0; i < m_scene.trees.size(); ++i) {
        const Tree &t = m_scene.trees[i];
        const float dx = s.x - t.x;
        const float dy = s.y - t.y;
        if (std::abs(dx) > t.radius * 1.3f || std::abs(dy) > t.radius * 1.3f)
            continue;
        // A ragged outline: the canopy's radius wanders around the circle.
        const float wobble =
            0.18f * t.radius * m_noise.at(dx / t.radius * 3.0f + 5.0f * i, dy / t.radius * 3.0f);
        const float edge = t.radius + wobble - std::hypot(dx, dy);
        const float cover = clamp01(edge / std::max(s.pixel, t.radius * 0.04f) + 0.5f);
        if (cover <= 0.0f)
            continue;
        const float light = 0.8f - 0.35f * dy / t.radius + 0.15f * towardSun * dx / t.radius +
                            0.3f * m_noise.detail(s.x, s.y, 40.0f, s.pixel, 5);
        colour = mix(colour, scaled(t.colour, light), cover);
    }
    return colour;
}

Rgb SyntheticPhoto::vignette(Rgb colour, const Spot &s) const
{
    const float du = s.u - 0.5f;
    const float dv = s.v - 0.5f;
    return scaled(colour, 1.0f - 0.45f * (du * du + dv * dv));
}
