// The size rule: a single-precision ratio, then each side rounded halves-to-even.

#include "generate/SlidePicture.h"

#include <gtest/gtest.h>

namespace {

struct SizeCase
{
    int width;
    int height;
    int target;
    int expectedWidth;
    int expectedHeight;
};

class SlideSizeRule : public ::testing::TestWithParam<SizeCase>
{};

TEST_P(SlideSizeRule, scalesToTheTargetHeight)
{
    const SizeCase &c = GetParam();
    const SlideSize size = slideSizeFor(c.width, c.height, c.target);
    EXPECT_EQ(size.width, c.expectedWidth);
    EXPECT_EQ(size.height, c.expectedHeight);
}

INSTANTIATE_TEST_SUITE_P(Table, SlideSizeRule,
                         ::testing::Values(SizeCase{400, 300, 120, 160, 120}, // exact
                                           SizeCase{333, 250, 120, 160, 120}, // 159.84 rounds up
                                           SizeCase{300, 400, 120, 90, 120},  // portrait
                                           SizeCase{5, 2, 1, 2, 1}, // 2.5 goes to the even 2
                                           SizeCase{6, 4, 1, 2, 1}, // 1.5 goes to the even 2
                                           SizeCase{7, 2, 1, 4, 1}, // 3.5 goes to the even 4
                                           SizeCase{29, 2, 3, 43,
                                                    3}, // float ratio: 43.4999987, not 43.5
                                           SizeCase{1000, 1000, 1, 1, 1}, // smallest slide
                                           SizeCase{640, 480, 7, 9, 7},   // 9.33
                                           SizeCase{1, 1000, 10, 0, 10},  // too narrow for a pixel
                                           SizeCase{100, 30, 120, 400, 120}, // enlarging
                                           SizeCase{4000, 3000, 768, 1024, 768}));

} // namespace
