#include "Resampler.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <utility>

namespace {

constexpr double lobes = 3.0;

double sinc(double x)
{
    if (x == 0.0)
        return 1.0;
    const double px = std::numbers::pi * x;
    return std::sin(px) / px;
}

double lanczos3(double x)
{
    return std::abs(x) < lobes ? sinc(x) * sinc(x / lobes) : 0.0;
}

unsigned char toByte(float value)
{
    if (!(value > 0.0f))
        return 0;
    if (value >= 255.0f)
        return 255;
    return static_cast<unsigned char>(value + 0.5f);
}

} // namespace

Resampler::Resampler(int inWidth, int inHeight, int outWidth, int outHeight)
    : m_columns(tapsFor(inWidth, outWidth)), m_rows(tapsFor(inHeight, outHeight))
{
    for (const Taps &taps : m_rows)
        m_window = std::max(m_window, int(taps.weights.size()));
    m_recentRows.resize(std::size_t(m_window) * std::size_t(outWidth) * 3);
    m_rowIn.resize(std::size_t(inWidth) * 3);
    m_out.width = outWidth;
    m_out.height = outHeight;
    m_out.pixels.resize(std::size_t(outWidth) * std::size_t(outHeight) * 3);
}

std::vector<Resampler::Taps> Resampler::tapsFor(int inSize, int outSize)
{
    // When shrinking, the filter widens by the scale so that every input sample counts;
    // taps that fall outside the picture are dropped and the rest renormalised.
    const double scale = double(inSize) / double(outSize);
    const double stretch = std::max(scale, 1.0);
    const double support = lobes * stretch;
    std::vector<Taps> all(static_cast<std::size_t>(outSize));
    for (int i = 0; i < outSize; ++i) {
        const double centre = (i + 0.5) * scale;
        const int first = std::max(0, int(std::floor(centre - support + 0.5)));
        const int end = std::min(inSize, int(std::floor(centre + support + 0.5)));
        std::vector<double> weights;
        double sum = 0.0;
        for (int j = first; j < end; ++j) {
            weights.push_back(lanczos3((j + 0.5 - centre) / stretch));
            sum += weights.back();
        }
        Taps &taps = all[std::size_t(i)];
        taps.first = first;
        for (double weight : weights)
            taps.weights.push_back(float(weight / sum));
    }
    return all;
}

void Resampler::addRow(const unsigned char *rgb)
{
    const std::size_t rowFloats = std::size_t(m_out.width) * 3;
    scaleAcross(rgb, &m_recentRows[std::size_t(m_rowsIn % m_window) * rowFloats]);
    ++m_rowsIn;
    emitReadyRows();
}

void Resampler::scaleAcross(const unsigned char *rgb, float *out)
{
    // Each input sample feeds several output columns: convert it once, not once per tap.
    for (std::size_t i = 0; i < m_rowIn.size(); ++i)
        m_rowIn[i] = float(rgb[i]);
    for (const Taps &taps : m_columns) {
        float r = 0.0f;
        float g = 0.0f;
        float b = 0.0f;
        const float *in = m_rowIn.data() + std::size_t(taps.first) * 3;
        for (float weight : taps.weights) {
            r += weight * in[0];
            g += weight * in[1];
            b += weight * in[2];
            in += 3;
        }
        *out++ = r;
        *out++ = g;
        *out++ = b;
    }
}

void Resampler::emitReadyRows()
{
    while (m_rowsOut < m_out.height) {
        const Taps &taps = m_rows[std::size_t(m_rowsOut)];
        if (taps.first + int(taps.weights.size()) > m_rowsIn)
            return;
        emitRow(taps);
        ++m_rowsOut;
    }
}

void Resampler::emitRow(const Taps &taps)
{
    const std::size_t rowFloats = std::size_t(m_out.width) * 3;
    unsigned char *out = &m_out.pixels[std::size_t(m_rowsOut) * rowFloats];
    std::vector<float> sum(rowFloats, 0.0f);
    for (std::size_t k = 0; k < taps.weights.size(); ++k) {
        const float weight = taps.weights[k];
        const int row = (taps.first + int(k)) % m_window;
        const float *in = &m_recentRows[std::size_t(row) * rowFloats];
        for (std::size_t i = 0; i < rowFloats; ++i)
            sum[i] += weight * in[i];
    }
    for (std::size_t i = 0; i < rowFloats; ++i)
        out[i] = toByte(sum[i]);
}

RgbImage Resampler::take()
{
    return std::move(m_out);
}
