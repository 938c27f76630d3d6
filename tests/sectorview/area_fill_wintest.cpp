// Monitoring areas in the view's frame under Wine: the colour an area fill gives a pixel of the
// shaded fan, the alpha byte it leaves there for the markers blended over it, active and
// inactive colours, overlapping areas and the hole of a self-intersecting polygon.
//
// The frame is read from the screen, which shows its colour only; the fill's alpha byte is seen
// through the colour of a marker blended over it. What a pixel was before the fill comes from
// the same background rendering the view does, alpha byte included.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "SectorViewHost.h"
#include "sectorview/Argb.h"
#include "sectorview/ObjectSectorWnd.h"
#include "sectorview/OverBlend.h"
#include "sectorview/SectorBackground.h"

namespace {

using zuvo::sector::AlphaOf;
using zuvo::sector::BlueOf;
using zuvo::sector::GreenOf;
using zuvo::sector::MakeArgb;
using zuvo::sector::RedOf;
using zuvo::test::Capture;
using namespace zuvo::test::sectorview;

constexpr uint32_t kWhite = 0xFFFFFFFF;  // the markers' colour
// A fresh marker pixel's alpha: 0xFF x 223 >> 8.
constexpr uint32_t kFreshMarkerAlpha = 222;

// One channel of a brush colour c at alpha 0x7F filled over d, with the pixel taken as
// opaque: d x 128 / 255 + c x 127 / 255. Wine's GDI+ rounds each of the two terms to the
// nearest integer on its own, as a blend of the premultiplied brush colour does (there are no
// halves: 255 is odd), which can differ by 1 from the exact sum rounded: d = 0x80, c = 3 gives
// 65, not 66. These are Wine's values to the last bit; Windows does not document its rounding.
uint32_t FilledChannel(uint32_t d, uint32_t c) {
    return (c * 127 + 127) / 255 + (d * 128 + 127) / 255;
}

// The brush colour (0x..RRGGBB) filled over the pixel d; the alpha byte stays d's.
uint32_t Filled(uint32_t d, uint32_t colour) {
    return MakeArgb(AlphaOf(d), FilledChannel(RedOf(d), RedOf(colour)),
                    FilledChannel(GreenOf(d), GreenOf(colour)),
                    FilledChannel(BlueOf(d), BlueOf(colour)));
}

uint32_t Rgb(COLORREF colour) {
    return zuvo::sector::SwapRedBlue(colour);
}

// The background the view renders for its layout: what the areas are filled over.
std::vector<uint32_t> RenderedBackground(const CObjectSectorWnd& view) {
    const zuvo::sector::SectorGeometry& geometry = view.Scene().Geometry();
    std::vector<uint32_t> pixels(static_cast<size_t>(geometry.width) *
                                 static_cast<size_t>(geometry.height));
    zuvo::sector::RenderSectorBackground(pixels.data(), geometry, view.Scene().Settings(), nullptr);
    return pixels;
}

std::string Hex(uint32_t value) {
    std::ostringstream text;
    text << std::hex << value;
    return text.str();
}

struct Probe {
    int x;
    int y;
};

// How far the shown pixel moved from the background towards the colour, per channel with the
// largest difference: 127 / 255 = 0.498 is the brush's own alpha.
double BrushWeight(uint32_t shown, uint32_t background, uint32_t colour) {
    double best = 0.0;
    int spread = 0;
    for (int shift : {16, 8, 0}) {
        const int d = static_cast<int>((background >> shift) & 0xFF);
        const int c = static_cast<int>((colour >> shift) & 0xFF);
        if (std::abs(c - d) > spread) {
            spread = std::abs(c - d);
            best = (static_cast<int>((shown >> shift) & 0xFF) - d) / static_cast<double>(c - d);
        }
    }
    return best;
}

std::string Describe(const Probe& probe, uint32_t shown, uint32_t below, uint32_t colour) {
    std::ostringstream text;
    text << "at (" << probe.x << ", " << probe.y << ") over " << Hex(below) << ": weight of "
         << Hex(colour) << " " << BrushWeight(shown, below, colour);
    return text.str();
}

struct Unchanged {
    uint32_t operator()(uint32_t pixel) const { return pixel; }
};

// The test view of the other sector view tests: 600 x 300, R = 300, origin (300, 0) in top view,
// 9.375 pixels per gate, marker radius 7.
class AreaFill : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(host.get(), nullptr);
        ASSERT_TRUE(view.Create(host.get(), RECT{10, 10, 610, 310}, kViewId));
    }

    // Applies the settings and answers the background the view shows without areas.
    std::vector<uint32_t> Start(const zuvo::sector::SectorViewConfig& config) {
        view.ApplyViewSettings(config, nullptr);
        Pump();
        std::vector<uint32_t> background = RenderedBackground(view);
        const Capture shown = CaptureWindow(view.GetSafeHwnd());
        EXPECT_EQ(shown.width(), 600);
        for (int y = 0; y < shown.height() && y < 300; y += 7) {
            for (int x = 0; x < shown.width() && x < 600; x += 7) {
                EXPECT_EQ(shown.At(x, y), At(background, x, y) & 0xFFFFFF)
                    << "the view renders this background at (" << x << ", " << y << ")";
            }
        }
        return background;
    }

    static uint32_t At(const std::vector<uint32_t>& pixels, int x, int y) {
        return pixels[static_cast<size_t>(y) * 600 + static_cast<size_t>(x)];
    }

    // Every probe shows what expected answers for the background pixel there. The message
    // gives the weight the colour got over what below answers for that pixel.
    template <typename Expected, typename Below = Unchanged>
    void ExpectShown(const std::vector<uint32_t>& background, const std::vector<Probe>& probes,
                     uint32_t colour, Expected expected, Below below = {}) {
        const Capture shown = CaptureWindow(view.GetSafeHwnd());
        for (const Probe& probe : probes) {
            const uint32_t d = At(background, probe.x, probe.y);
            const uint32_t pixel = shown.At(probe.x, probe.y);
            EXPECT_EQ(Hex(pixel), Hex(expected(d) & 0xFFFFFF))
                << Describe(probe, pixel, below(d), colour);
        }
    }

    Host host;
    CObjectSectorWnd view;
};

// The brush colour gets its own alpha, 127 / 255, whatever alpha the fan's shading left in
// the pixel: 128 far out on the boresight, where the shading adds nothing, and more toward the
// sensor and the angle window's edges.
TEST_F(AreaFill, TheBrushWeighsItsOwnAlphaWhateverTheFanAlphaBelow) {
    const std::vector<uint32_t> background = Start(TestConfig());
    const std::vector<Probe> farEdge{{301, 298}, {301, 299}, {299, 299}, {290, 285}};
    for (const Probe& probe : farEdge) {
        if (probe.y >= 298) {
            EXPECT_EQ(AlphaOf(At(background, probe.x, probe.y)), 0x80u)
                << probe.x << "," << probe.y;
        }
    }
    const std::vector<Probe> nearSensor{{302, 25}, {296, 30}};
    const std::vector<Probe> angularEdge{{426, 82}, {420, 90}};
    EXPECT_GE(AlphaOf(At(background, 302, 25)), 0xB0u);
    EXPECT_GE(AlphaOf(At(background, 426, 82)), 0xD0u);

    // (row, column) pairs; the first reaches past the view's last row, where the fan ends.
    const int32_t farArea[] = {262, 280, 262, 320, 310, 320, 310, 280};
    const int32_t sensorArea[] = {10, 285, 10, 315, 40, 315, 40, 285};
    const int32_t edgeArea[] = {70, 410, 70, 440, 100, 440, 100, 410};
    ASSERT_EQ(view.AddMonitorArea(farArea, 4, kInactive, kActive), 0);
    ASSERT_EQ(view.AddMonitorArea(sensorArea, 4, kInactive, kActive), 1);
    ASSERT_EQ(view.AddMonitorArea(edgeArea, 4, kInactive, kActive), 2);
    Pump();

    std::vector<Probe> probes = farEdge;
    probes.insert(probes.end(), nearSensor.begin(), nearSensor.end());
    probes.insert(probes.end(), angularEdge.begin(), angularEdge.end());
    ExpectShown(background, probes, Rgb(kInactive),
                [](uint32_t d) { return Filled(d, Rgb(kInactive)); });
    // Beside the areas the background stays.
    ExpectShown(background, {{350, 290}, {302, 50}, {400, 82}}, Rgb(kInactive), Unchanged{});
}

// A marker over an area blends over the fill's colour with the alpha the fan had there: the
// fill keeps the alpha byte, so a track shows as strongly inside an area as beside it. An area
// with a track in it takes its active colour, the others their inactive one.
TEST_F(AreaFill, AMarkerOverALitAreaBlendsOverTheFansAlpha) {
    zuvo::sector::SectorViewConfig config = TestConfig();
    config.drawLocus = 0;      // the marker alone over the area
    config.displayTimeMs = 0;  // every marker at the full 223 until the next batch
    const std::vector<uint32_t> background = Start(config);
    const int32_t farArea[] = {260, 280, 260, 320, 310, 320, 310, 280};
    const int32_t edgeArea[] = {65, 400, 65, 445, 110, 445, 110, 400};
    const int32_t unlitArea[] = {140, 100, 140, 140, 180, 140, 180, 100};
    ASSERT_EQ(view.AddMonitorArea(farArea, 4, kInactive, kActive), 0);
    ASSERT_EQ(view.AddMonitorArea(edgeArea, 4, kInactive, kActive), 1);
    ASSERT_EQ(view.AddMonitorArea(unlitArea, 4, kInactive, kActive), 2);
    Pump();  // the paint builds the areas' mask the tracks are placed with
    // Markers centred at (300, 285) and (423, 86), each inside one of the first two areas.
    Feed(view, {{1, 285.0 / 9.375, -90.0}, {2, 16.0, -35.0}});
    Pump();
    const std::vector<zuvo::sector::SectorTrack> tracks = view.Scene().CopyTracks();
    ASSERT_EQ(tracks.size(), 2u);
    EXPECT_EQ(tracks[0].monitorIndex + tracks[1].monitorIndex, 1);  // slots 0 and 1

    const uint32_t active = Rgb(kActive);
    ExpectShown(background, {{288, 265}, {315, 295}, {405, 70}, {440, 105}}, active,
                [&](uint32_t d) { return Filled(d, active); });
    ExpectShown(background, {{120, 160}, {105, 175}}, Rgb(kInactive),
                [](uint32_t d) { return Filled(d, Rgb(kInactive)); });
    const zuvo::sector::OverBlendTable& blend = zuvo::sector::OverBlendTable::Instance();
    ExpectShown(
        background, {{300, 285}, {304, 282}, {296, 289}, {423, 86}, {426, 83}}, kWhite,
        [&](uint32_t d) { return blend.Blend(Filled(d, active), kWhite, kFreshMarkerAlpha); },
        [&](uint32_t d) { return Filled(d, active); });
}

// Areas are filled in slot order, the later over the earlier; a polygon that crosses itself is
// filled with the alternate rule, so the middle of a five-pointed star stays empty.
TEST_F(AreaFill, OverlapsInSlotOrderAndAStarKeepsItsHole) {
    const std::vector<uint32_t> background = Start(TestConfig());
    const COLORREF red = RGB(255, 0, 0);
    const COLORREF blue = RGB(0, 0, 255);
    const int32_t lower[] = {150, 150, 150, 210, 200, 210, 200, 150};
    const int32_t upper[] = {180, 190, 180, 250, 230, 250, 230, 190};
    // A star of radius 45 around (430, 170), its points joined in drawing order.
    const int32_t star[] = {125, 430, 206, 456, 156, 387, 156, 473, 206, 404};
    ASSERT_EQ(view.AddMonitorArea(lower, 4, red, kActive), 0);
    ASSERT_EQ(view.AddMonitorArea(upper, 4, blue, kActive), 1);
    ASSERT_EQ(view.AddMonitorArea(star, 5, kInactive, kActive), 2);
    Pump();

    ExpectShown(background, {{160, 160}, {170, 190}}, Rgb(red),
                [&](uint32_t d) { return Filled(d, Rgb(red)); });
    ExpectShown(background, {{240, 220}, {220, 225}}, Rgb(blue),
                [&](uint32_t d) { return Filled(d, Rgb(blue)); });
    ExpectShown(
        background, {{200, 190}, {195, 185}}, Rgb(blue),
        [&](uint32_t d) { return Filled(Filled(d, Rgb(red)), Rgb(blue)); },
        [&](uint32_t d) { return Filled(d, Rgb(red)); });
    // The star's points are filled, its middle is not.
    ExpectShown(background, {{430, 140}, {407, 200}, {465, 158}}, Rgb(kInactive),
                [](uint32_t d) { return Filled(d, Rgb(kInactive)); });
    ExpectShown(background, {{430, 170}, {425, 166}, {436, 175}}, Rgb(kInactive), Unchanged{});
}

}  // namespace
