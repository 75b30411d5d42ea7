#pragma once

// Brings a slide into sRGB when its original carries an ICC profile of another colour space
// (Adobe RGB from cameras, Display P3 from phones). Browsers take a picture without a profile
// for sRGB, and the slides carry none, so without this such photos would look dull or shifted.
//
// The conversion runs on the small scaled slide, not on the full decode, so it costs a
// fraction of a millisecond per picture. It uses the relative colorimetric intent: the
// profiles photos carry are matrix-and-curve profiles, which define no other intent, and for
// the rare table-based one it keeps every colour sRGB can show exactly as a colour-managed
// browser shows the original, clipping only the few it cannot.
//
// A profile that cannot be used never stops a slide: one that is damaged, made for another
// kind of picture (a CMYK or grey profile on a colour JPEG) or not a device profile at all
// leaves the colours as decoded, as they were before profiles were read. So does a profile
// that is sRGB already, which keeps those slides byte for byte as they were.

#include "RgbImage.h"

#include <memory>
#include <string>

// What the decoder's colour channels held before they became RGB.
enum class DecodedColours { grey, colour, inks };

class SrgbConversion
{
public:
    // The conversion for a picture of the given colours carrying this profile (empty: none).
    // Never fails: a profile it cannot use gives a conversion that changes nothing.
    static SrgbConversion forProfile(const std::string &icc, DecodedColours colours);

    bool changesColours() const { return m_transform != nullptr; }
    void apply(RgbImage &image) const;

    struct Transform;

private:
    explicit SrgbConversion(std::shared_ptr<const Transform> transform);

    std::shared_ptr<const Transform> m_transform;
};
