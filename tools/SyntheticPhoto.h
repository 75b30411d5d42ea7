#pragma once

// Photo-like pictures for tests and samples, made by our own code: a sky with sun and clouds,
// hills, water, buildings and trees, with texture and a little grain. The same size, seed and
// scene always give the same pixels and the same JPEG bytes.
//
// The scene is laid out in fractions of the picture and fine texture is left out below two
// pixels, so a small rendering is close to a large one scaled down: tests use it as the
// reference for what a scaler should produce.

#include "PhotoScene.h"
#include "ValueNoise.h"

#include <cstdint>
#include <string>
#include <vector>

enum class JpegColour {
    rgb,               // three components, YCbCr
    gray,              // one component
    cmyk,              // four components holding ink amounts, no Adobe marker
    adobeInvertedCmyk, // four components holding 255 - ink, with an Adobe APP14 marker
};

enum class ChromaSubsampling { yuv420, yuv444 };

struct JpegOptions
{
    int quality = 92;
    bool progressive = false;
    ChromaSubsampling subsampling = ChromaSubsampling::yuv420;
    JpegColour colour = JpegColour::rgb;
    int orientation = 0;         // EXIF Orientation 1..8; 0 writes no EXIF segment
    std::string iccProfile = {}; // embedded in APP2 segments when not empty
};

class SyntheticPhoto
{
public:
    SyntheticPhoto(int width, int height, std::uint32_t seed = 1,
                   SceneKind kind = SceneKind::automatic);

    int width() const { return m_width; }
    int height() const { return m_height; }
    SceneKind kind() const { return m_scene.kind; }

    // Renders rows firstRow .. firstRow + rowCount - 1 as packed RGB, 3 bytes a pixel.
    void renderRows(int firstRow, int rowCount, std::uint8_t *rgb) const;

    // The whole picture as packed RGB; meant for small sizes.
    std::vector<std::uint8_t> renderRgb() const;

    // Encodes band by band, so memory stays a few rows of pixels for baseline output.
    // Progressive output needs libjpeg's whole-picture coefficient buffer. Both throw
    // std::runtime_error naming the file and libjpeg's reason.
    void writeJpeg(const std::string &path, const JpegOptions &options = {}) const;
    std::string encodeJpeg(const JpegOptions &options = {}) const;

private:
    struct Spot;

    Rgb shade(int x, int y) const;
    Rgb sky(const Spot &s) const;
    Rgb clouds(Rgb colour, const Spot &s, float glow) const;
    float ridgeCover(const RidgeLayer &ridge, const Spot &s) const;
    Rgb ground(const RidgeLayer &ridge, const Spot &s) const;
    float sandLight(const RidgeLayer &ridge, const Spot &s) const;
    Rgb buildingOver(Rgb colour, const Spot &s) const;
    Rgb facade(const Building &b, int index, const Spot &s) const;
    Rgb water(const Spot &s) const;
    Rgb treesOver(Rgb colour, const Spot &s) const;
    Rgb vignette(Rgb colour, const Spot &s) const;
    void checkOptions(const JpegOptions &options) const;

    int m_width;
    int m_height;
    float m_scale; // pixels per iso unit: the shorter side
    ValueNoise m_noise;
    ValueNoise m_grain;
    PhotoScene m_scene;
};
