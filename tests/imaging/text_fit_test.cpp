// The font size search and the right-to-left language check.
#include <vector>

#include <gtest/gtest.h>

#include "imaging/TextFit.h"

namespace zuvo::imaging {
namespace {

TEST(LargestFittingSize, CountsDownFromTheStartSize) {
    std::vector<int> asked;
    const int size = LargestFittingSize(20, [&](int s) {
        asked.push_back(s);
        return s <= 12;
    });
    EXPECT_EQ(size, 12);
    EXPECT_EQ(asked, (std::vector<int>{20, 19, 18, 17, 16, 15, 14, 13, 12}));
}

TEST(LargestFittingSize, TakesTheFirstFitFromTheTop) {
    EXPECT_EQ(LargestFittingSize(20, [](int s) { return s == 5 || s == 15; }), 15);
    EXPECT_EQ(LargestFittingSize(7, [](int) { return true; }), 7);
}

TEST(LargestFittingSize, ZeroWhenNothingFits) {
    int calls = 0;
    EXPECT_EQ(LargestFittingSize(20, [&](int) { return ++calls < 0; }), 0);
    EXPECT_EQ(calls, 20) << "sizes 20 down to 1";
    calls = 0;
    EXPECT_EQ(LargestFittingSize(0, [&](int) { return ++calls > 0; }), 0);
    EXPECT_EQ(LargestFittingSize(-4, [&](int) { return ++calls > 0; }), 0);
    EXPECT_EQ(calls, 0) << "no size below 1 is tried";
}

TEST(RightToLeft, ArabicAndHebrewOnly) {
    EXPECT_TRUE(IsRightToLeftLanguage(0x0401));
    EXPECT_TRUE(IsRightToLeftLanguage(0x040D));
    EXPECT_TRUE(IsRightToLeftLanguage(0x00050401)) << "only the low 16 bits count";
    EXPECT_FALSE(IsRightToLeftLanguage(0x0409));
    EXPECT_FALSE(IsRightToLeftLanguage(0x0804));
    EXPECT_FALSE(IsRightToLeftLanguage(0x0801)) << "Arabic of Iraq is not in the list";
    EXPECT_FALSE(IsRightToLeftLanguage(0));
}

}  // namespace
}  // namespace zuvo::imaging
