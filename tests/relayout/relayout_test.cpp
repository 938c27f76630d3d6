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
    const ScaledRect left = ScaleRect(3, 20, 65, 40, factors);
    const ScaledRect right = ScaleRect(65, 20, 127, 40, factors);
    EXPECT_EQ(left.x + left.width, right.x);
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
