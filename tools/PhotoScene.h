#pragma once

// What a synthetic photo shows and where: palette, sun, hill lines, buildings and trees, all
// drawn from the seed. Positions are fractions of the picture (u across, v down) or, for
// round things, "iso" units where the shorter side is 1, so every size shows the same scene.

#include <cstdint>
#include <vector>

enum class SceneKind { automatic, harbour, meadow, dunes, tower };

struct Rgb
{
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

enum class GroundTexture { plain, grass, sand };

struct RidgeLayer
{
    Rgb colour;
    float haze = 0.0f;     // share of the horizon colour mixed in: far hills fade into the sky
    float softness = 0.0f; // edge width as a fraction of the height; 0 gives a sharp edge
    GroundTexture texture = GroundTexture::plain;
    bool inFront = false;    // drawn over buildings and water
    std::vector<float> top;  // per column: v of the ridge line
    std::vector<float> lean; // per column: slope of the ridge line, for sand shading
};

struct Building
{
    float left = 0.0f;  // u
    float right = 0.0f; // u
    float top = 0.0f;   // v of the walls' top
    float peak = 0.0f;  // extra height of a pointed roof, in v; 0 for a flat roof
    Rgb colour;
    float windowSpacing = 0.02f; // iso units between window columns
    float litWindows = 0.0f;     // share of windows lit from inside
};

struct Tree
{
    float x = 0.0f; // iso
    float y = 0.0f; // iso
    float radius = 0.0f;
    Rgb colour;
};

struct Palette
{
    Rgb zenith;
    Rgb horizon;
    Rgb sun;
    Rgb cloudLight;
    Rgb cloudShadow;
    Rgb deepWater;
};

class PhotoScene
{
public:
    PhotoScene(int width, int height, std::uint32_t seed, SceneKind kind);

    SceneKind kind;
    Palette palette;
    float sunU = 0.5f;
    float sunV = 0.2f;
    float sunRadius = 0.04f;         // iso
    float cloudCover = 0.5f;         // 0 clear .. 1 overcast
    float horizonV = 0.5f;           // where the sky gradient ends
    float waterV = 2.0f;             // water below this v; beyond the picture when there is none
    float groundV = 1.0f;            // buildings stand here
    std::vector<RidgeLayer> ridges;  // far to near
    std::vector<Building> buildings; // back to front
    std::vector<Tree> trees;

    // Per column: the front-most building and the v of its roof line (-1 and 2 for none).
    std::vector<int> buildingAt;
    std::vector<float> roofAt;

private:
    void layOutHarbour();
    void layOutMeadow();
    void layOutDunes();
    void layOutTower();
    void addRidge(Rgb colour, float base, float amplitude, float frequency, float haze,
                  float softness);
    void addTreesOn(const RidgeLayer &ridge, int count, float radius, Rgb colour);
    void addTown(float left, float right, int count, float minTop, float maxTop, float lit);
    void rasteriseBuildings();
    float uniform(float low, float high);
    Rgb jitter(Rgb colour, float amount);

    int m_width;
    int m_height;
    std::uint64_t m_state;
    std::uint32_t m_seed;
};
