#include "generate/ValueFormatting.h"

#include "platform/VelloriaError.h"

#include <gtest/gtest.h>

namespace {

constexpr ColorValue rgb(unsigned r, unsigned g, unsigned b)
{
    return r | (g << 8) | (b << 16);
}

TEST(ColorText, isRedGreenBlueInUpperCaseHex)
{
    EXPECT_EQ(ColorToHexRGB(rgb(0, 0, 0)), "000000");
    EXPECT_EQ(ColorToHexRGB(rgb(255, 255, 255)), "FFFFFF");
    EXPECT_EQ(ColorToHexRGB(rgb(12, 34, 56)), "0C2238");
    EXPECT_EQ(ColorToHexRGB(0x0000FF), "FF0000");
    EXPECT_EQ(ColorToHexRGB(0xFF0000), "0000FF");
}

TEST(ColorText, readsBackEveryPlainColour)
{
    EXPECT_EQ(HexRGBToColor("0C2238"), rgb(12, 34, 56));
    EXPECT_EQ(HexRGBToColor("FF0000"), rgb(255, 0, 0));
    EXPECT_EQ(HexRGBToColor("ff0000"), rgb(255, 0, 0));
    EXPECT_EQ(HexRGBToColor(""), 0u);
    for (ColorValue c = 0; c <= 0xFFFFFF; c += 0x010307)
        ASSERT_EQ(HexRGBToColor(ColorToHexRGB(c)), c) << c;
}

TEST(ColorText, systemColoursResolveThroughTheFixedTable)
{
    EXPECT_EQ(ColorToHexRGB(systemColorFlag | 5), "FFFFFF");  // window background
    EXPECT_EQ(ColorToHexRGB(systemColorFlag | 15), "F0F0F0"); // button face
    EXPECT_EQ(ColorToHexRGB(systemColorFlag | 13), "0078D7"); // highlight
    EXPECT_EQ(ColorToHexRGB(systemColorFlag | 200), "000000");
}

TEST(ColorText, strayFlagBytesDoNotShiftTheDigits)
{
    EXPECT_EQ(ColorToHexRGB(0x0200FF00), "00FF00");
}

TEST(ColorText, unreadableTextNamesItself)
{
    for (const char *text : {"GG0000", "12 456", "-12345", "0x1234"}) {
        try {
            HexRGBToColor(text);
            FAIL() << text;
        } catch (const VelloriaError &e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(text) + "' is not a valid colour value");
        }
    }
}

TEST(BorderStyle, mapsTheListIndexToItsKeyword)
{
    const char *expected[] = {"none",   "dotted", "dashed", "solid",        "double",
                              "groove", "ridge",  "inset",  "window-inset", "outset"};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(BorderStyleName(std::to_string(i)), expected[i]);
    EXPECT_EQ(BorderStyleName("10"), "solid");
    EXPECT_EQ(BorderStyleName("-1"), "solid");
    EXPECT_EQ(BorderStyleName("+2"), "dashed");
}

TEST(BorderStyle, nonIntegersNameTheText)
{
    for (const char *text : {"", "x", "1.0", " 1", "99999999999"}) {
        try {
            BorderStyleName(text);
            FAIL() << text;
        } catch (const VelloriaError &e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(text) + "' is not a valid integer value");
        }
    }
}

TEST(Decorations, onlyAddTheirMark)
{
    EXPECT_EQ(WithHash(""), "#");
    EXPECT_EQ(WithHash("FFFF00"), "#FFFF00");
    EXPECT_EQ(WithPx("4"), "4px");
    EXPECT_EQ(WithPx(""), "px");
}

} // namespace
