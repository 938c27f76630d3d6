// The sector mask and the fan shading: worked pixels, and the row-wise fast paths against the
// pixel-by-pixel reference over many random layouts and windows.
#include <cstdlib>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "ReferenceView.h"
#include "sectorview/Argb.h"
#include "sectorview/SectorMask.h"
#include "sectorview/SectorShading.h"

namespace zuvo::sector {
namespace {

constexpr uint32_t kFill = 0xFF2A323C;

std::vector<uint32_t> ShadedFill(const SectorGeometry& g, const SectorViewSettings& settings) {
    std::vector<uint32_t> pixels(static_cast<size_t>(g.width) * g.height, kFill);
    ShadeSector(g, settings, pixels.data());
    return pixels;
}

SectorViewSettings Settings(int topView, int start, int stop, double gateMin, double gateMax) {
    SectorViewConfig config;
    config.topViewMode = topView;
    config.angleStart = start;
    config.angleStop = stop;
    config.gateMin = gateMin;
    config.gateMax = gateMax;
    return ApplyConfig(SectorViewSettings{}, config);
}

TEST(Shading, BoresightOuterPixelKeepsItsColourAtHalfAlpha) {
    const SectorViewSettings settings = Settings(0, -150, -30, 0, 31);
    const SectorGeometry g = ComputeGeometry(600, 200, settings);
    const std::vector<uint32_t> pixels = ShadedFill(g, settings);
    // 199 pixels out on the boresight: u = 0, v = trunc(-1.275) = -1, w = 0, alpha 0.
    EXPECT_EQ(pixels[300], WithAlpha(kFill, 128));
}

TEST(Shading, OriginIsShadedOnlyWhenTheWindowReachesZero) {
    // theta = 0 at the origin: u = 255, v = -255, full weight, the outside colour (dist 0 is
    // not beyond gate min 0).
    const SectorViewSettings open = Settings(1, -180, 0, 0, 31);
    const SectorGeometry g = ComputeGeometry(600, 200, open);
    EXPECT_EQ(ShadedFill(g, open)[300], kGateOutsideColour);
    const SectorViewSettings narrow = Settings(1, -150, -30, 0, 31);
    EXPECT_EQ(ShadedFill(ComputeGeometry(600, 200, narrow), narrow)[300], kFill);
}

TEST(Shading, OutsideTheFanNothingChanges) {
    const SectorViewSettings settings = Settings(1, -150, -30, 2, 20);
    const SectorGeometry g = ComputeGeometry(600, 200, settings);
    const std::vector<uint32_t> pixels = ShadedFill(g, settings);
    EXPECT_EQ(pixels[50 * 600 + 20], kFill);    // left of the sector rectangle
    EXPECT_EQ(pixels[10 * 600 + 120], kFill);   // angle -177: outside the window
    EXPECT_NE(pixels[100 * 600 + 300], kFill);  // on the boresight, in the band
}

TEST(Shading, DivisionByMultiplicationIsExact) {
    for (int divisor = 128; divisor <= 255; ++divisor) {
        for (int numerator = -255 * 255; numerator <= 255 * 255; ++numerator) {
            ASSERT_EQ(DivideShade(numerator, divisor), numerator / divisor)
                << numerator << " / " << divisor;
        }
    }
}

TEST(Shading, AngularWeight) {
    EXPECT_EQ(AngularWeight(-90.0, 60.0), 0);
    EXPECT_EQ(AngularWeight(-30.0, 60.0), 255);
    EXPECT_EQ(AngularWeight(-150.0, 60.0), 255);
    EXPECT_EQ(AngularWeight(-60.0, 60.0), 127);  // 127.5 truncated
    EXPECT_EQ(AngularWeight(-179.0, 0.5), kAngularSaturation);
    EXPECT_EQ(AngularWeight(-45.0, 0.0), 0);  // start = stop: a single ray, no angular term
}

struct RandomScene {
    SectorGeometry geometry;
    SectorViewSettings settings;
};

RandomScene MakeRandomScene(std::mt19937& random) {
    auto pick = [&](int from, int to) {
        return std::uniform_int_distribution<int>(from, to)(random);
    };
    SectorViewConfig config;
    config.topViewMode = pick(0, 1);
    // Windows of every kind: whole, narrow, a single ray, reversed, touching either edge.
    switch (pick(0, 4)) {
        case 0:
            config.angleStart = -180;
            config.angleStop = 0;
            break;
        case 1:
            config.angleStart = pick(-180, -90);
            config.angleStop = config.angleStart + pick(1, 3);
            break;
        case 2:
            config.angleStart = config.angleStop = pick(-180, 0);
            break;
        case 3:
            config.angleStart = pick(-100, 0);
            config.angleStop = config.angleStart - pick(0, 60);
            break;
        default:
            config.angleStart = pick(-180, 0);
            config.angleStop = pick(config.angleStart, 0);
    }
    config.gateCount = pick(0, 3) == 0 ? pick(1, 4) : 32;
    config.gateMin = pick(-2, 34) * 0.5;
    config.gateMax = pick(-2, 66) * 0.5;
    config.sectorCount = pick(0, 25);
    RandomScene scene;
    scene.settings = ApplyConfig(SectorViewSettings{}, config);
    scene.geometry = ComputeGeometry(pick(1, 260), pick(1, 160), scene.settings);
    return scene;
}

TEST(Shading, FastPathsEqualThePixelByPixelReference) {
    std::mt19937 random(4242);
    for (int round = 0; round < 600; ++round) {
        const RandomScene scene = MakeRandomScene(random);
        const SectorGeometry& g = scene.geometry;
        const size_t size = static_cast<size_t>(g.width) * g.height;
        std::vector<uint8_t> mask(size);
        BuildSectorMask(g, scene.settings, mask.data());
        ASSERT_EQ(mask, reference::SectorMask(g, scene.settings)) << "round " << round;

        std::vector<uint32_t> background(size);
        for (uint32_t& pixel : background) {
            pixel = static_cast<uint32_t>(random());
        }
        std::vector<uint32_t> fast = background;
        std::vector<uint32_t> slow = background;
        ShadeSector(g, scene.settings, fast.data());
        reference::ShadeSector(g, scene.settings, slow.data());
        ASSERT_EQ(fast, slow) << "round " << round << " size " << g.width << "x" << g.height;
    }
}

TEST(Shading, LargeViewsEqualTheReference) {
    for (int topView : {0, 1}) {
        const SectorViewSettings settings = Settings(topView, -157, -23, 3.5, 27);
        const SectorGeometry g = ComputeGeometry(1280, 700, settings);
        std::vector<uint8_t> mask(static_cast<size_t>(g.width) * g.height);
        BuildSectorMask(g, settings, mask.data());
        EXPECT_EQ(mask, reference::SectorMask(g, settings));
        std::vector<uint32_t> slow(mask.size(), kFill);
        reference::ShadeSector(g, settings, slow.data());
        EXPECT_EQ(ShadedFill(g, settings), slow);
    }
}

}  // namespace
}  // namespace zuvo::sector
