#include "SrgbConversion.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <lcms2.h>
#include <list>
#include <mutex>
#include <utility>
#include <vector>

struct SrgbConversion::Transform
{
    Transform() = default;
    Transform(const Transform &) = delete;
    Transform &operator=(const Transform &) = delete;
    ~Transform()
    {
        if (handle)
            cmsDeleteTransform(handle);
    }

    // Colour pictures go through Little CMS; grey ones through a table of the 256 greys.
    cmsHTRANSFORM handle = nullptr;
    bool grey = false;
    std::array<unsigned char, 256 * 3> greyToRgb{};
};

namespace {

// A profile whose conversion moves no colour by more than this many steps of 255 is sRGB in
// all but rounding: sRGB profiles from different makers differ by that much.
constexpr int roundingSteps = 1;

struct ProfileCloser
{
    void operator()(void *profile) const { cmsCloseProfile(profile); }
};
using Profile = std::unique_ptr<void, ProfileCloser>;

using TransformPtr = std::shared_ptr<const SrgbConversion::Transform>;

bool usableFor(cmsHPROFILE profile, DecodedColours colours)
{
    // Device links, abstract and named-colour profiles describe no picture's colours.
    const cmsProfileClassSignature kind = cmsGetDeviceClass(profile);
    const bool describesPictures = kind == cmsSigInputClass || kind == cmsSigDisplayClass ||
                                   kind == cmsSigOutputClass || kind == cmsSigColorSpaceClass;
    const cmsColorSpaceSignature wanted =
        colours == DecodedColours::grey ? cmsSigGrayData : cmsSigRgbData;
    return describesPictures && cmsGetColorSpace(profile) == wanted;
}

cmsHTRANSFORM toSrgb(cmsHPROFILE source, DecodedColours colours)
{
    const Profile srgb(cmsCreate_sRGBProfile());
    if (!srgb)
        return nullptr;
    // Without its one-pixel cache a transform may serve several slide workers at once.
    return cmsCreateTransform(source, colours == DecodedColours::grey ? TYPE_GRAY_8 : TYPE_RGB_8,
                              srgb.get(), TYPE_RGB_8, INTENT_RELATIVE_COLORIMETRIC,
                              cmsFLAGS_NOCACHE);
}

bool withinRounding(const std::vector<unsigned char> &before, const unsigned char *after)
{
    for (std::size_t i = 0; i < before.size(); ++i)
        if (std::abs(int(after[i]) - int(before[i])) > roundingSteps)
            return false;
    return true;
}

// Whether the conversion leaves every colour as it is, give or take rounding. A grid of 17
// levels a channel samples the smooth conversions of real profiles closely enough.
bool keepsColours(const SrgbConversion::Transform &transform)
{
    std::vector<unsigned char> probe;
    if (transform.grey) {
        for (int level = 0; level < 256; ++level)
            probe.insert(probe.end(), 3, static_cast<unsigned char>(level));
        return withinRounding(probe, transform.greyToRgb.data());
    }
    for (int r = 0; r <= 256; r += 16)
        for (int g = 0; g <= 256; g += 16)
            for (int b = 0; b <= 256; b += 16)
                for (const int level : {r, g, b})
                    probe.push_back(static_cast<unsigned char>(std::min(level, 255)));
    std::vector<unsigned char> converted(probe.size());
    cmsDoTransform(transform.handle, probe.data(), converted.data(),
                   cmsUInt32Number(probe.size() / 3));
    return withinRounding(probe, converted.data());
}

// The conversion, or null when the profile is unusable or sRGB already.
TransformPtr makeTransform(const std::string &icc, DecodedColours colours)
{
    // CMYK profiles are left alone: the reader turns inks into RGB before anything else.
    if (icc.empty() || colours == DecodedColours::inks)
        return nullptr;
    const Profile source(cmsOpenProfileFromMem(icc.data(), cmsUInt32Number(icc.size())));
    if (!source || !usableFor(source.get(), colours))
        return nullptr;
    auto transform = std::make_shared<SrgbConversion::Transform>();
    transform->handle = toSrgb(source.get(), colours);
    if (!transform->handle)
        return nullptr;
    if (colours == DecodedColours::grey) {
        transform->grey = true;
        std::array<unsigned char, 256> greys{};
        for (int level = 0; level < 256; ++level)
            greys[std::size_t(level)] = static_cast<unsigned char>(level);
        cmsDoTransform(transform->handle, greys.data(), transform->greyToRgb.data(), 256);
    }
    if (keepsColours(*transform))
        return nullptr;
    return transform;
}

// Building a transform takes a few milliseconds, longer than converting a slide; the photos
// of one show mostly come from a few cameras and phones with the same profile each.
class TransformCache
{
public:
    TransformPtr find(const std::string &icc, DecodedColours colours)
    {
        // Real profiles are a few kilobytes; a giant one is not kept, so a hostile file
        // cannot make the cache hold many megabytes.
        if (icc.size() > maxProfileBytes)
            return makeTransform(icc, colours);
        {
            const std::lock_guard lock(m_mutex);
            for (const Entry &entry : m_entries)
                if (entry.colours == colours && entry.icc == icc)
                    return entry.transform;
        }
        TransformPtr transform = makeTransform(icc, colours);
        const std::lock_guard lock(m_mutex);
        if (m_entries.size() == maxEntries)
            m_entries.pop_back();
        m_entries.push_front({icc, colours, transform});
        return transform;
    }

private:
    static constexpr std::size_t maxProfileBytes = 64 * 1024;
    static constexpr std::size_t maxEntries = 8;

    struct Entry
    {
        std::string icc;
        DecodedColours colours;
        TransformPtr transform;
    };

    std::mutex m_mutex;
    std::list<Entry> m_entries;
};

} // namespace

SrgbConversion::SrgbConversion(std::shared_ptr<const Transform> transform)
    : m_transform(std::move(transform))
{}

SrgbConversion SrgbConversion::forProfile(const std::string &icc, DecodedColours colours)
{
    if (icc.empty())
        return SrgbConversion(nullptr);
    static TransformCache cache;
    return SrgbConversion(cache.find(icc, colours));
}

void SrgbConversion::apply(RgbImage &image) const
{
    if (!m_transform)
        return;
    const std::size_t rowBytes = std::size_t(image.width) * 3;
    for (int y = 0; y < image.height; ++y) {
        unsigned char *row = image.pixels.data() + std::size_t(y) * rowBytes;
        if (!m_transform->grey) {
            // Little CMS converts in place when both sides have the same layout.
            cmsDoTransform(m_transform->handle, row, row, cmsUInt32Number(image.width));
            continue;
        }
        // A grey picture decodes with three equal channels.
        for (std::size_t x = 0; x < rowBytes; x += 3)
            std::copy_n(&m_transform->greyToRgb[std::size_t(row[x]) * 3], 3, row + x);
    }
}
