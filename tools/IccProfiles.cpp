#include "IccProfiles.h"

#include <algorithm>
#include <cmath>
#include <lcms2.h>
#include <stdexcept>
#include <vector>

namespace {

const cmsCIExyY d65 = {0.3127, 0.3290, 1.0};

cmsToneCurve *srgbCurve()
{
    const cmsFloat64Number parameters[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    return cmsBuildParametricToneCurve(nullptr, 4, parameters);
}

cmsToneCurve *brighterTabulatedSrgbCurve()
{
    std::vector<cmsUInt16Number> table(1024);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const double v = double(i) / double(table.size() - 1);
        const double linear = v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        table[i] = cmsUInt16Number(std::lround(std::min(1.0, linear * 1.008) * 65535));
    }
    return cmsBuildTabulatedToneCurve16(nullptr, cmsUInt32Number(table.size()), table.data());
}

// Saves the profile and releases it and the curve.
std::string saved(cmsHPROFILE profile, cmsToneCurve *curve)
{
    cmsUInt32Number size = 0;
    std::string bytes;
    if (profile && cmsSaveProfileToMem(profile, nullptr, &size)) {
        bytes.resize(size);
        if (!cmsSaveProfileToMem(profile, bytes.data(), &size))
            bytes.clear();
    }
    if (profile)
        cmsCloseProfile(profile);
    cmsFreeToneCurve(curve);
    if (bytes.empty())
        throw std::runtime_error("Little CMS could not build a test profile");
    return bytes;
}

std::string rgbProfile(const cmsCIExyYTRIPLE &primaries, cmsToneCurve *curve)
{
    cmsToneCurve *curves[3] = {curve, curve, curve};
    return saved(cmsCreateRGBProfile(&d65, &primaries, curves), curve);
}

} // namespace

std::string displayP3Profile()
{
    return rgbProfile({{0.680, 0.320, 1.0}, {0.265, 0.690, 1.0}, {0.150, 0.060, 1.0}}, srgbCurve());
}

std::string srgbProfile()
{
    return saved(cmsCreate_sRGBProfile(), nullptr);
}

std::string otherMakersSrgbProfile()
{
    return rgbProfile({{0.640, 0.330, 1.0}, {0.300, 0.600, 1.0}, {0.150, 0.060, 1.0}},
                      brighterTabulatedSrgbCurve());
}

std::string grey18Profile()
{
    cmsToneCurve *curve = cmsBuildGamma(nullptr, 1.8);
    return saved(cmsCreateGrayProfile(cmsD50_xyY(), curve), curve);
}
