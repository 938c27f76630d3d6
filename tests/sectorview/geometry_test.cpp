// The fan's layout and the mapping between (distance, angle) and pixels, against worked values.
#include <cmath>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "ReferenceView.h"
#include "sectorview/SectorGeometry.h"
#include "sectorview/SectorMask.h"
#include "sectorview/SectorScene.h"
#include "sectorview/ViewSettings.h"

namespace zuvo::sector {
namespace {

SectorViewSettings WithTopView(int topView) {
    SectorViewSettings settings;
    settings.topView = topView;
    return settings;
}

struct LayoutCase {
    const char* name;
    int width;
    int height;
    int topView;
    double radius;
    ZRect sector;
    int originX;
    int originY;
};

void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << c.width << " x " << c.height << (c.topView ? ", top view" : ", bottom view");
}

class Layout : public testing::TestWithParam<LayoutCase> {};

TEST_P(Layout, MatchesTheWorkedValues) {
    const LayoutCase& c = GetParam();
    const SectorGeometry g = ComputeGeometry(c.width, c.height, WithTopView(c.topView));
    EXPECT_DOUBLE_EQ(g.radius, c.radius);
    EXPECT_EQ(g.sector.left, c.sector.left);
    EXPECT_EQ(g.sector.top, c.sector.top);
    EXPECT_EQ(g.sector.right, c.sector.right);
    EXPECT_EQ(g.sector.bottom, c.sector.bottom);
    EXPECT_EQ(g.originX, c.originX);
    EXPECT_EQ(g.originY, c.originY);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, Layout,
    testing::Values(LayoutCase{"WideTopView", 600, 200, 1, 200.0, {100, 0, 500, 200}, 300, 0},
                    LayoutCase{"WideBottomView", 600, 200, 0, 200.0, {100, 0, 500, 200}, 300, 199},
                    LayoutCase{"TallTopView", 500, 400, 1, 250.0, {0, 0, 500, 250}, 250, 0},
                    LayoutCase{"TallBottomView", 500, 400, 0, 250.0, {0, 150, 500, 400}, 250, 399},
                    // Odd sizes: R = 150.5 rounds the sector to 301 x 151 (halves away from 0).
                    LayoutCase{"OddWidth", 301, 400, 1, 150.5, {0, 0, 301, 151}, 150, 0}),
    [](const testing::TestParamInfo<LayoutCase>& row) { return std::string(row.param.name); });

TEST(Geometry, MarkerRadiusFollowsTheRingSpacing) {
    SectorViewSettings settings;
    EXPECT_EQ(SectorGeometry{}.markerRadius, 10);                    // before the first layout
    EXPECT_EQ(ComputeGeometry(600, 200, settings).markerRadius, 5);  // 200 / 40
    settings.ringCount = 0;  // one ring per gate: n = 32, 200 / 64 = 3.125
    EXPECT_EQ(ComputeGeometry(600, 200, settings).markerRadius, 3);
    settings.radiusScale = 2.0;
    EXPECT_EQ(ComputeGeometry(600, 200, settings).markerRadius, 6);
    // Settings that would divide by zero or make a negative or enormous disc.
    settings.gateCount = 0;
    EXPECT_EQ(ComputeGeometry(600, 200, settings).markerRadius, 0);
    settings.ringCount = 20;
    settings.radiusScale = -1.0;
    EXPECT_EQ(ComputeGeometry(600, 200, settings).markerRadius, 0);
    settings.radiusScale = 1e12;
    EXPECT_EQ(ComputeGeometry(600, 200, settings).markerRadius, kMaxDiscRadius);
}

TEST(Geometry, RadialLinesCoverTheHalfCircle) {
    EXPECT_EQ(RadialLineCount(15.0), 11);
    EXPECT_EQ(RadialLineCount(10.0), 17);
    EXPECT_EQ(RadialLineCount(7.0), 25);  // 180 / 7 = 25.7 rounds to 26
    EXPECT_EQ(RadialLineCount(180.0), 0);
    EXPECT_EQ(RadialLineCount(0.0), 0);
    EXPECT_EQ(RadialLineCount(-5.0), 0);
}

struct GateCase {
    const char* name;
    double min;
    double max;
    int count;
    double expectedMin;
    double expectedMax;
};

void PrintTo(const GateCase& c, std::ostream* os) {
    *os << "gates " << c.min << " to " << c.max << " of " << c.count;
}

class GateRange : public testing::TestWithParam<GateCase> {};

TEST_P(GateRange, IsClamped) {
    GateCase c = GetParam();
    ClampGateRange(c.min, c.max, c.count);
    EXPECT_EQ(c.min, c.expectedMin);
    EXPECT_EQ(c.max, c.expectedMax);
}

INSTANTIATE_TEST_SUITE_P(
    Values, GateRange,
    testing::Values(GateCase{"ZeroMaximumMeansTheLastGate", 5, 0, 32, 5, 31},
                    GateCase{"BelowTheFirstAndBeyondTheLastGate", -3, 40, 32, 0, 31},
                    GateCase{"MinimumTooHighMaximumTooLow", 40, 0.5, 32, 30, 1},
                    GateCase{"FractionsInsideAreKept", 2.5, 12.5, 32, 2.5, 12.5},
                    GateCase{"NotANumberTakesTheDefaults", NAN, NAN, 32, 0, 31}),
    [](const testing::TestParamInfo<GateCase>& row) { return std::string(row.param.name); });

TEST(Geometry, ConfigIsClampedIntoTheSettings) {
    SectorViewConfig config;
    config.angleStart = -200;
    config.angleStop = 30;
    config.angleStep = 400;
    config.smoothCount = 0;
    config.displayTimeMs = -5;
    const SectorViewSettings low = ApplyConfig(SectorViewSettings{}, config);
    EXPECT_EQ(low.angleStart, -180.0);
    EXPECT_EQ(low.angleStop, 0.0);
    EXPECT_EQ(low.angleStep, 180.0);
    EXPECT_EQ(low.smoothCount, 1);
    EXPECT_EQ(low.displayTimeMs, 0u);
    config.smoothCount = 1000;
    config.angleStep = -3;
    const SectorViewSettings high = ApplyConfig(SectorViewSettings{}, config);
    EXPECT_EQ(high.smoothCount, 255);
    EXPECT_EQ(high.angleStep, 0.0);
}

TEST(Geometry, PolarToPixelInBothOrientations) {
    for (int topView : {0, 1}) {
        const SectorGeometry g = ComputeGeometry(600, 200, WithTopView(topView));
        // The outer ring on the boresight: R pixels away from the origin, into the fan.
        int x = 0;
        int y = 0;
        ASSERT_TRUE(RoundToPixel(PolarToPixel(g, 32.0, -90.0), x, y));
        EXPECT_EQ(x, 300);
        EXPECT_EQ(y, topView ? 200 : 199 - 200);
        // Along the straight edge, left and right stay where they are in both orientations.
        ASSERT_TRUE(RoundToPixel(PolarToPixel(g, 16.0, -180.0), x, y));
        EXPECT_EQ(x, 200);
        EXPECT_EQ(y, g.originY);
        ASSERT_TRUE(RoundToPixel(PolarToPixel(g, 16.0, -45.0), x, y));
        EXPECT_GT(x, 300);
        EXPECT_EQ(topView ? y > 0 : y < 199, true);
    }
    int x = 0;
    int y = 0;
    const SectorGeometry g = ComputeGeometry(600, 200, SectorViewSettings{});
    EXPECT_FALSE(RoundToPixel(PolarToPixel(g, NAN, -90.0), x, y));
    EXPECT_FALSE(RoundToPixel(PolarToPixel(g, 1e300, -90.0), x, y));
}

TEST(Geometry, PixelAnglesRoundTrip) {
    const SectorGeometry g = ComputeGeometry(600, 200, WithTopView(1));
    EXPECT_EQ(ViewAngleOf(0, 0, true), 0.0);  // the origin itself
    EXPECT_DOUBLE_EQ(ViewAngleOf(0, 50, true), -90.0);
    EXPECT_DOUBLE_EQ(ViewAngleOf(0, -50, false), -90.0);
    EXPECT_DOUBLE_EQ(ViewAngleOf(-10, 0, false), -180.0);
    EXPECT_DOUBLE_EQ(ViewAngleOf(10, 10, true), -45.0);
    for (double angle : {-170.0, -120.0, -90.0, -33.0, -5.0}) {
        const PixelPoint p = PolarToPixel(g, 20.0, angle);
        EXPECT_NEAR(std::atan2(p.y - g.originY, p.x - g.originX) * -180.0 / kPi, angle, 1e-9);
    }
}

// Pixels on the borders of the fan, the gate band and the angle window.
TEST(SectorMask, BordersAreExact) {
    SectorViewConfig config;
    config.topViewMode = 0;
    config.angleStart = -90;  // the boresight column itself is the window's first angle
    config.angleStop = 0;
    config.gateMin = 4;  // 4 x 6.25 = 25 pixels: that distance is just outside the band
    config.gateMax = 31;
    config.gateCount = 32;
    const SectorViewSettings settings = ApplyConfig(SectorViewSettings{}, config);
    const SectorGeometry g = ComputeGeometry(600, 200, settings);
    std::vector<uint8_t> mask(600 * 200);
    BuildSectorMask(g, settings, mask.data());
    auto at = [&](int x, int y) { return mask[static_cast<size_t>(y) * 600 + x]; };
    EXPECT_EQ(at(300, 199 - 25), 0);  // dist = pixels per gate x gate min: outside the band
    EXPECT_EQ(at(300, 199 - 26), 1);  // on the boresight, theta = start: inside
    EXPECT_EQ(at(299, 199 - 26), 0);  // one column left of the window
    EXPECT_EQ(at(301, 199 - 26), 1);
    EXPECT_EQ(at(300, 0), 1);    // 199 pixels out, within R = 200
    EXPECT_EQ(at(499, 199), 1);  // the straight edge's row, angle 0 = stop
    EXPECT_EQ(at(100, 199), 0);  // angle -180, outside the window
    EXPECT_EQ(at(99, 150), 0);   // outside the sector rectangle
    EXPECT_EQ(mask, reference::SectorMask(g, settings));
}

// A minimised window has a client area of 0 x 0: its mask has no byte, and the buffer handed
// over is an empty vector's, a null pointer.
TEST(SectorMask, AViewWithoutPixelsWritesNothing) {
    const SectorViewSettings settings = ApplyConfig(SectorViewSettings{}, SectorViewConfig{});
    for (const auto& [width, height] : {std::pair{0, 0}, std::pair{0, 200}, std::pair{600, 0}}) {
        const SectorGeometry g = ComputeGeometry(width, height, settings);
        std::vector<uint8_t> mask(static_cast<size_t>(g.width) * static_cast<size_t>(g.height));
        BuildSectorMask(g, settings, mask.data());
        EXPECT_EQ(mask, reference::SectorMask(g, settings));
    }

    // The scene of a window minimised and restored again.
    SectorScene scene;
    scene.Relayout(0, 0);
    scene.RefreshMasks();
    scene.Relayout(600, 200);
    scene.RefreshMasks();
}

}  // namespace
}  // namespace zuvo::sector
