#include "ValueFormatting.h"

#include "model/DecimalText.h"
#include "platform/VelloriaError.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace {

constexpr ColorValue fromRgb(std::uint32_t rgb)
{
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

// The classic desktop defaults of the system colours, by index; an unknown index is black.
constexpr std::array<ColorValue, 31> systemColors = {
    fromRgb(0xC8C8C8), fromRgb(0x000000), fromRgb(0x99B4D1), fromRgb(0xBFCDDB), fromRgb(0xF0F0F0),
    fromRgb(0xFFFFFF), fromRgb(0x646464), fromRgb(0x000000), fromRgb(0x000000), fromRgb(0x000000),
    fromRgb(0xB4B4B4), fromRgb(0xF4F7FC), fromRgb(0xABABAB), fromRgb(0x0078D7), fromRgb(0xFFFFFF),
    fromRgb(0xF0F0F0), fromRgb(0xA0A0A0), fromRgb(0x6D6D6D), fromRgb(0x000000), fromRgb(0x000000),
    fromRgb(0xFFFFFF), fromRgb(0x696969), fromRgb(0xE3E3E3), fromRgb(0x000000), fromRgb(0xFFFFE1),
    fromRgb(0x000000), fromRgb(0x0066CC), fromRgb(0xB9D1EA), fromRgb(0xD7E4F2), fromRgb(0x3399FF),
    fromRgb(0xF0F0F0),
};

constexpr std::array<const char *, 10> borderStyles = {
    "none",   "dotted", "dashed", "solid",        "double",
    "groove", "ridge",  "inset",  "window-inset", "outset",
};

// Characters from..from+1 (1-based) of text, as far as they exist.
std::string_view pair(std::string_view text, std::size_t from)
{
    return from - 1 < text.size() ? text.substr(from - 1, 2) : std::string_view();
}

} // namespace

ColorValue resolveSystemColor(ColorValue color)
{
    if ((color & systemColorFlag) != systemColorFlag)
        return color;
    const std::size_t index = color & 0xFF;
    return index < systemColors.size() ? systemColors[index] : 0;
}

std::string ColorToHexRGB(ColorValue color)
{
    // Only the three colour bytes: a stray flag byte would otherwise lengthen the text and
    // shift every digit of the result.
    char bgr[16];
    std::snprintf(bgr, sizeof bgr, "%06X", resolveSystemColor(color) & 0xFFFFFF);
    const std::string_view text(bgr, 6);
    return std::string(text.substr(4, 2)) + std::string(text.substr(2, 2)) +
           std::string(text.substr(0, 2));
}

ColorValue HexRGBToColor(std::string_view text)
{
    const std::string digits =
        "00" + std::string(pair(text, 5)) + std::string(pair(text, 3)) + std::string(pair(text, 1));
    ColorValue value = 0;
    const char *last = digits.data() + digits.size();
    const auto [end, error] = std::from_chars(digits.data(), last, value, 16);
    if (error != std::errc() || end != last)
        throw VelloriaError("'" + std::string(text) + "' is not a valid colour value");
    return value;
}

std::string BorderStyleName(std::string_view index)
{
    const auto value = parseDecimal(index);
    if (!value)
        throw VelloriaError("'" + std::string(index) + "' is not a valid integer value");
    return *value >= 0 && *value < static_cast<int>(borderStyles.size()) ? borderStyles[*value]
                                                                         : "solid";
}

std::string WithHash(std::string_view text)
{
    return "#" + std::string(text);
}

std::string WithPx(std::string_view text)
{
    return std::string(text) + "px";
}
