// The re-layout arithmetic: a dialog designed small stretched over a full-HD screen.
#include <gtest/gtest.h>

#include "settings/ResizeArithmetic.h"

namespace {

using zuvo::settings::ComputeResizeFactors;
using zuvo::settings::ResizeFactors;
using zuvo::settings::ScaledRect;
using zuvo::settings::ScaleFontDimension;
using zuvo::settings::ScaleRect;

TEST(Relayout, DialogOf846x480StretchedTo1920x1080) {
    ResizeFactors factors;
    ASSERT_TRUE(ComputeResizeFactors(846, 480, 1920, 1080, &factors));
    EXPECT_NEAR(factors.horizontal, 2.2695, 1e-4);
    EXPECT_DOUBLE_EQ(factors.vertical, 2.25);
    EXPECT_DOUBLE_EQ(factors.smaller, 2.25);

    const ScaledRect rect = ScaleRect(6, 40, 130, 80, factors);
    EXPECT_EQ(rect.x, 13);
    EXPECT_EQ(rect.y, 90);
    EXPECT_EQ(rect.width, 282);
    EXPECT_EQ(rect.height, 90);
    EXPECT_EQ(ScaleFontDimension(-12, factors), -27) << "truncated towards zero";
    EXPECT_EQ(ScaleFontDimension(0, factors), 0);
}

TEST(Relayout, NeighboursStayEdgeToEdgeBecauseCornersAreScaled) {
    ResizeFactors factors;
    ASSERT_TRUE(ComputeResizeFactors(423, 240, 1366, 768, &factors));
    // Horizontal 1366 / 423 = 3.22931..., vertical 768 / 240 = 3.2. The shared edge at 65 goes
    // to 65 x 3.22931 = 209.905, truncated 209, for both buttons; the left one starts at
    // 3 x 3.22931 = 9.69 -> 9 and is 209 - 9 = 200 wide, the right one ends at
    // 127 x 3.22931 = 410.12 -> 410 and is 410 - 209 = 201 wide. Rows: 20 x 3.2 = 64 and
    // 40 x 3.2 = 128, so both are 64 high. Scaling the widths instead would make both
    // trunc(62 x 3.22931) = 200 wide.
    const ScaledRect left = ScaleRect(3, 20, 65, 40, factors);
    const ScaledRect right = ScaleRect(65, 20, 127, 40, factors);
    EXPECT_EQ(left.x, 9);
    EXPECT_EQ(left.y, 64);
    EXPECT_EQ(left.width, 200);
    EXPECT_EQ(left.height, 64);
    EXPECT_EQ(right.x, 209);
    EXPECT_EQ(right.y, 64);
    EXPECT_EQ(right.width, 201);
    EXPECT_EQ(right.height, 64);
}

TEST(Relayout, AZeroRecordedSizeIsRefusedWithNeutralFactors) {
    ResizeFactors factors;
    factors.horizontal = 7.0;
    EXPECT_FALSE(ComputeResizeFactors(0, 480, 1920, 1080, &factors));
    EXPECT_DOUBLE_EQ(factors.horizontal, 1.0);
    EXPECT_DOUBLE_EQ(factors.vertical, 1.0);
    EXPECT_FALSE(ComputeResizeFactors(846, -1, 1920, 1080, &factors));
}

}  // namespace
