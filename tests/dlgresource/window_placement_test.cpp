// Dialogs open centred on their owner and always wholly on the screen.
#include <ostream>

#include <gtest/gtest.h>

#include "WindowPlacement.h"

namespace {

struct PlacementCase {
    const char* name;
    int width;
    int height;
    ZRect anchor;
    ZRect work;
    ZRect expected;
};

void PrintTo(const PlacementCase& c, std::ostream* os) {
    *os << c.name;
}

class Placement : public testing::TestWithParam<PlacementCase> {};

TEST_P(Placement, CentresInsideTheWorkArea) {
    const PlacementCase& c = GetParam();
    ZRect placed = zuvo::dlg::CentreOn(c.width, c.height, c.anchor, c.work);
    EXPECT_EQ(placed.left, c.expected.left);
    EXPECT_EQ(placed.top, c.expected.top);
    EXPECT_EQ(placed.right, c.expected.right);
    EXPECT_EQ(placed.bottom, c.expected.bottom);
}

constexpr ZRect kScreen{0, 0, 1920, 1040};

INSTANTIATE_TEST_SUITE_P(
    Cases, Placement,
    testing::Values(
        PlacementCase{
            "centred on the owner", 200, 100, {100, 100, 500, 300}, kScreen, {200, 150, 400, 250}},
        PlacementCase{"owner is the screen", 400, 200, kScreen, kScreen, {760, 420, 1160, 620}},
        PlacementCase{"odd leftover rounds down", 3, 3, {0, 0, 10, 10}, kScreen, {3, 3, 6, 6}},
        PlacementCase{"owner near the right edge",
                      300,
                      100,
                      {1800, 0, 1920, 100},
                      kScreen,
                      {1620, 0, 1920, 100}},
        PlacementCase{"owner off the left of the screen",
                      300,
                      100,
                      {-900, 500, -100, 600},
                      kScreen,
                      {0, 500, 300, 600}},
        PlacementCase{
            "owner below the screen", 100, 100, {0, 2000, 100, 2100}, kScreen, {0, 940, 100, 1040}},
        PlacementCase{"larger than the screen keeps its corner on it",
                      2500,
                      1200,
                      {0, 0, 1920, 1040},
                      kScreen,
                      {0, 0, 2500, 1200}},
        PlacementCase{"second monitor left of the first",
                      200,
                      100,
                      {-1500, 100, -1100, 300},
                      {-1920, 0, 0, 1080},
                      {-1400, 150, -1200, 250}},
        PlacementCase{"extreme coordinates do not overflow",
                      100,
                      100,
                      {2147483000, 2147483000, 2147483600, 2147483600},
                      {2147480000, 2147480000, 2147483600, 2147483600},
                      {2147483250, 2147483250, 2147483350, 2147483350}},
        PlacementCase{
            "negative size is none", -5, -5, {0, 0, 100, 100}, kScreen, {50, 50, 50, 50}}));

}  // namespace
