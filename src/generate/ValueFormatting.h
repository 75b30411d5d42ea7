#pragma once

// Stored values in the forms the style sheet and the script need, and back.

#include <cstdint>
#include <string>
#include <string_view>

// A colour as the platform stores it: red in the lowest byte, then green, then blue
// (00BBGGRR). With the top byte FF the low byte names a system colour instead.
using ColorValue = std::uint32_t;

inline constexpr ColorValue systemColorFlag = 0xFF000000;

// "RRGGBB", six upper-case hexadecimal digits.
std::string ColorToHexRGB(ColorValue color);
// Raises VelloriaError naming the text when it is not hexadecimal.
ColorValue HexRGBToColor(std::string_view text);
// The CSS keyword of a border-style index; "solid" outside 0 .. 9. Raises VelloriaError
// naming the text when it is not a decimal integer.
std::string BorderStyleName(std::string_view index);
std::string WithHash(std::string_view text);
std::string WithPx(std::string_view text);

// The RGB value a system colour stands for; plain colours pass unchanged.
ColorValue resolveSystemColor(ColorValue color);
