#pragma once

// ICC profiles for pictures made by tests and benchmarks, built with Little CMS.

#include <string>

// Display P3, the colour space of phone photos: the P3 primaries, the D65 white point and the
// sRGB tone curve. Colours inside sRGB's range keep their look through a conversion to sRGB.
std::string displayP3Profile();
// sRGB as Little CMS builds it.
std::string srgbProfile();
// sRGB as profiles of other makers hold it, close but not equal: the tone curve as a table of
// 1024 entries giving 0.8% more light, which moves many colours by one step of 255, none by more.
std::string otherMakersSrgbProfile();
// Grey with a plain gamma of 1.8 (lighter than sRGB in the middle tones) and a D50 white.
std::string grey18Profile();
