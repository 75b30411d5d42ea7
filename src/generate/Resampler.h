#pragma once

// Scales an RGB picture with a separable Lanczos-3 filter while its rows stream in. Each
// incoming row is scaled across at once; only the few scaled rows that the next output
// rows still need are kept, so memory stays near the output's size whatever the input's.

#include "RgbImage.h"

#include <vector>

class Resampler
{
public:
    Resampler(int inWidth, int inHeight, int outWidth, int outHeight);

    // The next input row, inWidth RGB triples.
    void addRow(const unsigned char *rgb);
    // The scaled picture, once all input rows are in.
    RgbImage take();

private:
    // The input samples that make one output sample: first index and weights.
    struct Taps
    {
        int first = 0;
        std::vector<float> weights;
    };

    static std::vector<Taps> tapsFor(int inSize, int outSize);
    void scaleAcross(const unsigned char *rgb, float *out);
    void emitReadyRows();
    void emitRow(const Taps &taps);

    std::vector<Taps> m_columns;
    std::vector<Taps> m_rows;
    int m_window = 1;
    std::vector<float> m_recentRows;
    std::vector<float> m_rowIn; // the incoming row as floats, converted once
    int m_rowsIn = 0;
    int m_rowsOut = 0;
    RgbImage m_out;
};
