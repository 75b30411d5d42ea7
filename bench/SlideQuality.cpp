// Compares a scaled picture with a reference of the same size: PSNR and SSIM on luma
// (BT.601 weights), which is where the eye sees sharpness and ringing. SSIM uses the usual
// 11x11 Gaussian window (sigma 1.5) over the windows that fit inside the picture.
// Both pictures are binary PNM (P5 or P6, 8 bits), as djpeg and convert write them.
//
// slide-quality TEST.ppm REFERENCE.ppm   prints "PSNR SSIM"; PSNR is "inf" for equal pictures

#include <cmath>
#include <cstdio>
#include <exception>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Plane
{
    int width = 0;
    int height = 0;
    std::vector<double> values;

    double at(int x, int y) const { return values[std::size_t(y) * std::size_t(width) + x]; }
};

Plane readLuma(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    Plane plane;
    in >> magic >> plane.width >> plane.height >> maxValue;
    in.get();
    if (!in || (magic != "P5" && magic != "P6") || maxValue != 255 || plane.width < 1 ||
        plane.height < 1)
        throw std::runtime_error(path + ": not an 8-bit binary PNM picture");
    const std::size_t channels = magic == "P6" ? 3 : 1;
    const std::size_t pixels = std::size_t(plane.width) * std::size_t(plane.height);
    std::vector<unsigned char> bytes(pixels * channels);
    if (!in.read(reinterpret_cast<char *>(bytes.data()), std::streamsize(bytes.size())))
        throw std::runtime_error(path + ": the picture data ends too early");
    plane.values.resize(pixels);
    for (std::size_t i = 0; i < pixels; ++i) {
        const unsigned char *p = &bytes[i * channels];
        plane.values[i] = channels == 1 ? p[0] : 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
    }
    return plane;
}

double psnr(const Plane &a, const Plane &b)
{
    double squares = 0.0;
    for (std::size_t i = 0; i < a.values.size(); ++i) {
        const double d = a.values[i] - b.values[i];
        squares += d * d;
    }
    const double mse = squares / double(a.values.size());
    return mse == 0.0 ? INFINITY : 10.0 * std::log10(255.0 * 255.0 / mse);
}

constexpr int window = 11;

std::vector<double> gaussianWeights()
{
    std::vector<double> weights(window);
    double sum = 0.0;
    for (int i = 0; i < window; ++i) {
        const double x = i - window / 2;
        weights[std::size_t(i)] = std::exp(-x * x / (2.0 * 1.5 * 1.5));
        sum += weights[std::size_t(i)];
    }
    for (double &w : weights)
        w /= sum;
    return weights;
}

// Gaussian-weighted means of a, b, a², b² and ab over the window at (x0, y0).
struct WindowMeans
{
    double a = 0, b = 0, aa = 0, bb = 0, ab = 0;
};

WindowMeans windowMeans(const Plane &a, const Plane &b, const std::vector<double> &w, int x0,
                        int y0)
{
    WindowMeans m;
    for (int j = 0; j < window; ++j) {
        for (int i = 0; i < window; ++i) {
            const double weight = w[std::size_t(i)] * w[std::size_t(j)];
            const double va = a.at(x0 + i, y0 + j);
            const double vb = b.at(x0 + i, y0 + j);
            m.a += weight * va;
            m.b += weight * vb;
            m.aa += weight * va * va;
            m.bb += weight * vb * vb;
            m.ab += weight * va * vb;
        }
    }
    return m;
}

double ssim(const Plane &a, const Plane &b)
{
    const double c1 = (0.01 * 255) * (0.01 * 255);
    const double c2 = (0.03 * 255) * (0.03 * 255);
    const std::vector<double> w = gaussianWeights();
    double total = 0.0;
    int count = 0;
    for (int y = 0; y + window <= a.height; ++y) {
        for (int x = 0; x + window <= a.width; ++x) {
            const WindowMeans m = windowMeans(a, b, w, x, y);
            const double varianceA = m.aa - m.a * m.a;
            const double varianceB = m.bb - m.b * m.b;
            const double covariance = m.ab - m.a * m.b;
            total += (2 * m.a * m.b + c1) * (2 * covariance + c2) /
                     ((m.a * m.a + m.b * m.b + c1) * (varianceA + varianceB + c2));
            ++count;
        }
    }
    return count ? total / count : 1.0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: slide-quality TEST.ppm REFERENCE.ppm\n");
        return 2;
    }
    try {
        const Plane test = readLuma(argv[1]);
        const Plane reference = readLuma(argv[2]);
        if (test.width != reference.width || test.height != reference.height)
            throw std::runtime_error("the pictures differ in size");
        std::printf("%.2f %.5f\n", psnr(test, reference), ssim(test, reference));
        return 0;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "slide-quality: %s\n", e.what());
        return 1;
    }
}
