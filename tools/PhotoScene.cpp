#include "PhotoScene.h"

#include "ValueNoise.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

namespace {

constexpr std::array<Rgb, 6> facades{{{0.86f, 0.82f, 0.74f},
                                      {0.78f, 0.52f, 0.36f},
                                      {0.66f, 0.66f, 0.68f},
                                      {0.90f, 0.78f, 0.52f},
                                      {0.55f, 0.40f, 0.34f},
                                      {0.80f, 0.84f, 0.86f}}};

// The ridge line's steepness is measured over a fixed stretch of the picture, not a pixel,
// so its shading does not change with the size.
constexpr float leanStep = 0.015f;

} // namespace

PhotoScene::PhotoScene(int width, int height, std::uint32_t seed, SceneKind sceneKind)
    : kind(sceneKind), m_width(width), m_height(height), m_state(seed * 0x9e3779b97f4a7c15ull + 1),
      m_seed(seed)
{
    if (width <= 0 || height <= 0)
        throw std::invalid_argument("picture size must be positive");
    if (kind == SceneKind::automatic)
        kind = static_cast<SceneKind>(1 + seed % 4);
    switch (kind) {
    case SceneKind::harbour:
        layOutHarbour();
        break;
    case SceneKind::meadow:
        layOutMeadow();
        break;
    case SceneKind::dunes:
        layOutDunes();
        break;
    default:
        layOutTower();
        break;
    }
    rasteriseBuildings();
}

void PhotoScene::layOutHarbour()
{
    palette = {{0.24f, 0.34f, 0.58f}, {0.98f, 0.76f, 0.52f}, {1.0f, 0.92f, 0.72f},
               {1.0f, 0.84f, 0.70f},  {0.42f, 0.38f, 0.50f}, {0.06f, 0.18f, 0.28f}};
    palette.horizon = jitter(palette.horizon, 0.05f);
    sunU = uniform(0.2f, 0.8f);
    sunV = uniform(0.28f, 0.4f);
    sunRadius = uniform(0.025f, 0.04f);
    cloudCover = uniform(0.3f, 0.6f);
    horizonV = 0.58f;
    waterV = 0.6f;
    groundV = waterV;
    addRidge(jitter({0.36f, 0.32f, 0.44f}, 0.04f), 0.5f, 0.1f, 1.2f, 0.45f, 0.006f);
    addTown(uniform(0.0f, 0.15f), uniform(0.55f, 0.95f), 12, 0.42f, 0.54f, 0.35f);
}

void PhotoScene::layOutMeadow()
{
    palette = {{0.20f, 0.42f, 0.80f}, {0.74f, 0.85f, 0.95f}, {1.0f, 1.0f, 0.94f},
               {0.98f, 0.98f, 0.99f}, {0.60f, 0.64f, 0.72f}, {0.10f, 0.25f, 0.35f}};
    sunU = uniform(0.1f, 0.9f);
    sunV = uniform(0.08f, 0.2f);
    sunRadius = 0.03f;
    cloudCover = uniform(0.4f, 0.7f);
    horizonV = 0.45f;
    addRidge(jitter({0.42f, 0.52f, 0.62f}, 0.03f), 0.40f, 0.09f, 2.5f, 0.45f, 0.004f);
    addRidge(jitter({0.24f, 0.42f, 0.18f}, 0.04f), 0.53f, 0.08f, 1.0f, 0.15f, 0.0f);
    addTreesOn(ridges.back(), 7, 0.035f, {0.12f, 0.26f, 0.10f});
    addRidge(jitter({0.40f, 0.62f, 0.20f}, 0.04f), 0.66f, 0.04f, 0.8f, 0.0f, 0.0f);
    ridges.back().texture = GroundTexture::grass;
}

void PhotoScene::layOutDunes()
{
    palette = {{0.28f, 0.48f, 0.78f}, {0.96f, 0.86f, 0.72f}, {1.0f, 0.95f, 0.82f},
               {1.0f, 0.96f, 0.92f},  {0.70f, 0.66f, 0.66f}, {0.10f, 0.25f, 0.35f}};
    sunU = uniform(0.1f, 0.9f);
    sunV = uniform(0.25f, 0.38f);
    sunRadius = 0.035f;
    cloudCover = uniform(0.0f, 0.3f);
    horizonV = 0.5f;
    const float bases[] = {0.47f, 0.55f, 0.66f, 0.80f};
    for (int i = 0; i < 4; ++i) {
        const float haze = 0.5f - 0.15f * static_cast<float>(i);
        addRidge(jitter({0.90f, 0.66f, 0.40f}, 0.03f), bases[i], 0.05f + 0.03f * i, 0.9f,
                 std::max(haze, 0.0f), 0.0f);
        ridges.back().texture = GroundTexture::sand;
    }
}

void PhotoScene::layOutTower()
{
    palette = {{0.16f, 0.36f, 0.72f}, {0.70f, 0.80f, 0.92f}, {1.0f, 1.0f, 0.95f},
               {0.97f, 0.97f, 0.98f}, {0.58f, 0.62f, 0.70f}, {0.10f, 0.25f, 0.35f}};
    sunU = uniform(0.1f, 0.3f);
    sunV = uniform(0.08f, 0.2f);
    sunRadius = 0.04f;
    cloudCover = uniform(0.3f, 0.5f);
    horizonV = 0.62f;
    groundV = 0.8f;
    addRidge(jitter({0.44f, 0.52f, 0.62f}, 0.03f), 0.6f, 0.04f, 1.5f, 0.5f, 0.004f);
    addTown(0.0f, 1.0f, 8, 0.6f, 0.7f, 0.0f);
    const float centre = uniform(0.4f, 0.6f);
    buildings.push_back({centre - 0.09f, centre + 0.09f, 0.22f, 0.14f,
                         jitter({0.74f, 0.66f, 0.56f}, 0.04f), 0.035f, 0.0f});
    addRidge(jitter({0.36f, 0.50f, 0.24f}, 0.03f), 0.8f, 0.01f, 0.8f, 0.0f, 0.0f);
    ridges.back().inFront = true;
    ridges.back().texture = GroundTexture::grass;
    addTreesOn(ridges.back(), 4, 0.06f, {0.14f, 0.28f, 0.12f});
}

void PhotoScene::addRidge(Rgb colour, float base, float amplitude, float frequency, float haze,
                          float softness)
{
    const ValueNoise noise(m_seed ^ 0x51ed270bu);
    const float row = 31.7f * static_cast<float>(ridges.size());
    const float isoWidth =
        static_cast<float>(m_width) / static_cast<float>(std::min(m_width, m_height));
    const auto lineAt = [&](float u) {
        return base + amplitude * noise.fractal(u * isoWidth * frequency, row, 6);
    };
    RidgeLayer ridge{colour, haze, softness, GroundTexture::plain, false, {}, {}};
    ridge.top.resize(static_cast<std::size_t>(m_width));
    ridge.lean.resize(static_cast<std::size_t>(m_width));
    for (int x = 0; x < m_width; ++x) {
        const float u = (static_cast<float>(x) + 0.5f) / static_cast<float>(m_width);
        ridge.top[x] = lineAt(u);
        ridge.lean[x] = (lineAt(u + leanStep) - lineAt(u - leanStep)) / (2.0f * leanStep);
    }
    ridges.push_back(std::move(ridge));
}

void PhotoScene::addTreesOn(const RidgeLayer &ridge, int count, float radius, Rgb colour)
{
    const float scale = static_cast<float>(std::min(m_width, m_height));
    for (int i = 0; i < count; ++i) {
        const float u = uniform(0.05f, 0.95f);
        const auto column = std::min(static_cast<int>(u * m_width), m_width - 1);
        const float r = radius * uniform(0.6f, 1.3f);
        const float y = ridge.top[column] * static_cast<float>(m_height) / scale;
        trees.push_back(
            {u * static_cast<float>(m_width) / scale, y - r * 0.4f, r, jitter(colour, 0.03f)});
    }
}

void PhotoScene::addTown(float left, float right, int count, float minTop, float maxTop, float lit)
{
    const float step = (right - left) / static_cast<float>(count);
    for (int i = 0; i < count; ++i) {
        const float start = left + step * static_cast<float>(i) + uniform(-0.3f, 0.3f) * step;
        const float width = step * uniform(0.8f, 1.6f);
        const bool pointed = uniform(0.0f, 1.0f) < 0.35f;
        const auto facade = static_cast<std::size_t>(uniform(0.0f, 5.999f));
        buildings.push_back({start, start + width, uniform(minTop, maxTop),
                             pointed ? uniform(0.02f, 0.05f) : 0.0f, jitter(facades[facade], 0.04f),
                             uniform(0.012f, 0.02f), lit});
    }
}

void PhotoScene::rasteriseBuildings()
{
    buildingAt.assign(static_cast<std::size_t>(m_width), -1);
    roofAt.assign(static_cast<std::size_t>(m_width), 2.0f);
    for (std::size_t i = 0; i < buildings.size(); ++i) {
        const Building &b = buildings[i];
        const float middle = (b.left + b.right) * 0.5f;
        const float halfWidth = (b.right - b.left) * 0.5f;
        for (int x = 0; x < m_width; ++x) {
            const float u = (static_cast<float>(x) + 0.5f) / static_cast<float>(m_width);
            if (u < b.left || u >= b.right)
                continue;
            buildingAt[x] = static_cast<int>(i);
            roofAt[x] = b.top - b.peak * (1.0f - std::abs(u - middle) / halfWidth);
        }
    }
}

float PhotoScene::uniform(float low, float high)
{
    // splitmix64: a good spread from consecutive seeds, and the same on every platform.
    m_state += 0x9e3779b97f4a7c15ull;
    std::uint64_t z = m_state;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    z ^= z >> 31;
    const float unit = static_cast<float>(z >> 40) / 16777216.0f;
    return low + (high - low) * unit;
}

Rgb PhotoScene::jitter(Rgb colour, float amount)
{
    colour.r = std::clamp(colour.r + uniform(-amount, amount), 0.0f, 1.0f);
    colour.g = std::clamp(colour.g + uniform(-amount, amount), 0.0f, 1.0f);
    colour.b = std::clamp(colour.b + uniform(-amount, amount), 0.0f, 1.0f);
    return colour;
}
