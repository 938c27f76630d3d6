// Dialogs open centred on their owner and always wholly on the screen.
#include <ostream>
#include <string>

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

std::ostream& operator<<(std::ostream& os, const ZRect& r) {
    return os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

void PrintTo(const PlacementCase& c, std::ostream* os) {
    *os << c.width << " x " << c.height << " on " << c.anchor << " in " << c.work;
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
            "CentredOnTheOwner", 200, 100, {100, 100, 500, 300}, kScreen, {200, 150, 400, 250}},
        PlacementCase{"OwnerIsTheScreen", 400, 200, kScreen, kScreen, {760, 420, 1160, 620}},
        PlacementCase{"OddLeftoverRoundsDown", 3, 3, {0, 0, 10, 10}, kScreen, {3, 3, 6, 6}},
        PlacementCase{
            "OwnerNearTheRightEdge", 300, 100, {1800, 0, 1920, 100}, kScreen, {1620, 0, 1920, 100}},
        PlacementCase{"OwnerOffTheLeftOfTheScreen",
                      300,
                      100,
                      {-900, 500, -100, 600},
                      kScreen,
                      {0, 500, 300, 600}},
        PlacementCase{
            "OwnerBelowTheScreen", 100, 100, {0, 2000, 100, 2100}, kScreen, {0, 940, 100, 1040}},
        PlacementCase{"LargerThanTheScreenKeepsItsCornerOnIt",
                      2500,
                      1200,
                      {0, 0, 1920, 1040},
                      kScreen,
                      {0, 0, 2500, 1200}},
        PlacementCase{"SecondMonitorLeftOfTheFirst",
                      200,
                      100,
                      {-1500, 100, -1100, 300},
                      {-1920, 0, 0, 1080},
                      {-1400, 150, -1200, 250}},
        PlacementCase{"ExtremeCoordinatesDoNotOverflow",
                      100,
                      100,
                      {2147483000, 2147483000, 2147483600, 2147483600},
                      {2147480000, 2147480000, 2147483600, 2147483600},
                      {2147483250, 2147483250, 2147483350, 2147483350}},
        PlacementCase{"NegativeSizeIsNone", -5, -5, {0, 0, 100, 100}, kScreen, {50, 50, 50, 50}}),
    [](const testing::TestParamInfo<PlacementCase>& row) { return std::string(row.param.name); });

}  // namespace
