// Area fills from frame to frame under Wine: the window's painter keeps its fills over the
// background from one frame to the next and fills anew when the areas, the lit slots or the
// background below change. Every frame must be the one a fresh fill gives.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "SectorViewHost.h"
#include "ZUVO_Common.h"
#include "framework/Handles.h"
#include "sectorview/AreaFillPainter.h"
#include "sectorview/Argb.h"
#include "sectorview/ObjectSectorWnd.h"

namespace {

using zuvo::sector::AreaFillPainter;
using zuvo::sector::AreaTable;
using zuvo::test::Capture;
using namespace zuvo::test::sectorview;

constexpr int kWidth = 320;
constexpr int kHeight = 200;

// A frame as the window has it: a DIB section selected into a memory DC.
class DibFrame {
public:
    DibFrame() {
        void* bits = nullptr;
        m_bitmap.reset(CreateHBitmap(&bits, kWidth, -kHeight, 32));
        m_pixels = m_bitmap ? static_cast<uint32_t*>(bits) : nullptr;
        m_dc.reset(CreateCompatibleDC(nullptr));
        if (m_bitmap && m_dc) {
            m_select.emplace(m_dc.get(), m_bitmap.get());
        }
    }
    bool Ready() const { return m_pixels != nullptr && m_select.has_value(); }
    HDC dc() const { return m_dc.get(); }
    uint32_t* pixels() const { return m_pixels; }
    void Show(const uint32_t* pixels) const {
        std::memcpy(m_pixels, pixels, kWidth * kHeight * sizeof(uint32_t));
    }
    std::vector<uint32_t> Pixels() const {
        return std::vector<uint32_t>(m_pixels, m_pixels + kWidth * kHeight);
    }

private:
    zuvo::UniqueBitmap m_bitmap;
    uint32_t* m_pixels = nullptr;
    zuvo::UniqueMemoryDc m_dc;
    std::optional<zuvo::SelectGuard> m_select;
};

// A background with every alpha the fan's shading gives (128 ... 255) and colours that vary
// from pixel to pixel, so a fill replayed at a wrong place would show.
std::vector<uint32_t> Background(uint32_t seed) {
    std::vector<uint32_t> pixels(kWidth * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const uint32_t alpha = 128 + static_cast<uint32_t>(x * 3 + y * 5) % 128;
            pixels[static_cast<size_t>(y) * kWidth + x] = zuvo::sector::MakeArgb(
                alpha, (x * 7 + seed) & 0xFF, (y * 11 + seed * 3) & 0xFF, (x * y + seed) & 0xFF);
        }
    }
    return pixels;
}

// A ragged outline of count vertices around (x, y), concave like a drawn one.
std::vector<int32_t> Outline(int x, int y, int size, int count) {
    std::vector<int32_t> pairs;
    for (int i = 0; i < count; ++i) {
        const double a = 2.0 * 3.14159265358979 * i / count;
        const double r = size * (i % 3 == 0 ? 0.6 : 1.0);
        pairs.push_back(y + static_cast<int32_t>(std::lround(r * std::sin(a))));
        pairs.push_back(x + static_cast<int32_t>(std::lround(r * std::cos(a))));
    }
    return pairs;
}

void Add(AreaTable& table, const std::vector<int32_t>& outline, COLORREF inactive,
         COLORREF active) {
    ASSERT_GE(
        table.Add(outline.data(), static_cast<int>(outline.size() / 2), inactive, active, 0, 0), 0);
}

// What a frame's fills are made of.
struct FrameInputs {
    int background;  // which background
    const AreaTable* boundaries;
    uint32_t boundaryActive;
    const AreaTable* monitorAreas;
    uint32_t monitorActive;
};

// One frame as the window paints it: the scene restores the frame from the painter's layered
// background (here all of it; the scene does where the last frame drew), then asks for the
// fills of the tables that have areas.
void PaintFrame(AreaFillPainter& painter, const DibFrame& frame, const FrameInputs& inputs) {
    ASSERT_TRUE(painter.BeginFrame(frame.dc(), frame.pixels(), kWidth, kHeight,
                                   {inputs.boundaries, inputs.monitorAreas}));
    ASSERT_NE(painter.Layered(), nullptr);
    frame.Show(painter.Layered());
    if (inputs.boundaries->PresentBits() != 0) {
        painter.PaintAreas(*inputs.boundaries, inputs.boundaryActive);
    }
    painter.PaintAreas(*inputs.monitorAreas, inputs.monitorActive);
}

// Frames whose inputs repeat and change in turn, as a run's do: the one painter that lives
// through them all must give what one fill of each table gives each of them.
TEST(AreaFillFrames, EveryFrameIsTheFillAFreshPainterGives) {
    DibFrame kept;
    DibFrame fresh;
    ASSERT_TRUE(kept.Ready());
    ASSERT_TRUE(fresh.Ready());
    const std::vector<uint32_t> backgrounds[] = {Background(0), Background(91)};

    AreaTable boundaries;
    Add(boundaries, Outline(100, 100, 90, 400), RGB(0, 255, 255), RGB(0xDC, 0x54, 0));
    Add(boundaries, Outline(230, 90, 70, 300), RGB(0, 255, 255), RGB(0xDC, 0x54, 0));
    AreaTable noBoundaries;
    AreaTable monitor;
    Add(monitor, Outline(80, 60, 40, 200), RGB(255, 0, 0), RGB(0, 255, 0));
    Add(monitor, Outline(110, 80, 45, 250), RGB(0, 0, 255), RGB(255, 255, 0));
    Add(monitor, Outline(250, 150, 50, 333), RGB(40, 200, 90), RGB(200, 40, 90));
    AreaTable moved;  // the third area drawn elsewhere
    Add(moved, Outline(80, 60, 40, 200), RGB(255, 0, 0), RGB(0, 255, 0));
    Add(moved, Outline(110, 80, 45, 250), RGB(0, 0, 255), RGB(255, 255, 0));
    Add(moved, Outline(200, 140, 50, 333), RGB(40, 200, 90), RGB(200, 40, 90));

    const FrameInputs frames[] = {
        {0, &boundaries, 0b01, &monitor, 0b001},
        {0, &boundaries, 0b01, &monitor, 0b001},
        {0, &boundaries, 0b01, &monitor, 0b011},
        {0, &boundaries, 0b01, &monitor, 0b011},
        {0, &boundaries, 0b10, &monitor, 0b011},
        {0, &boundaries, 0b10, &monitor, 0b011},
        {0, &boundaries, 0b10, &moved, 0b011},
        {0, &boundaries, 0b10, &moved, 0b011},
        {0, &boundaries, 0b10, &monitor, 0b011},
        {1, &boundaries, 0b10, &monitor, 0b011},
        {1, &boundaries, 0b10, &monitor, 0b011},
        {1, &noBoundaries, 0, &monitor, 0b011},
        {1, &noBoundaries, 0, &monitor, 0b011},
        {1, &boundaries, 0b10, &monitor, 0b011},
        // Lit bits of slots that are not present change nothing.
        {1, &boundaries, 0b110, &monitor, 0b1011},
        {0, &boundaries, 0b110, &monitor, 0b1011},
        // Both tables alike, then only one of them.
        {0, &boundaries, 0b01, &boundaries, 0b01},
        {0, &noBoundaries, 0, &boundaries, 0b01},
        {0, &noBoundaries, 0, &boundaries, 0b01},
    };
    AreaFillPainter painter;
    int previous = -1;
    for (size_t i = 0; i < std::size(frames); ++i) {
        const FrameInputs& inputs = frames[i];
        const std::vector<uint32_t>& background = backgrounds[inputs.background];
        if (inputs.background != previous) {  // the window renders its background anew
            painter.SetBackground(background.data(), kWidth, kHeight);
            previous = inputs.background;
        }
        PaintFrame(painter, kept, inputs);
        fresh.Show(background.data());
        if (inputs.boundaries->PresentBits() != 0) {
            zuvo::sector::FillAreasOnce(fresh.dc(), fresh.pixels(), kWidth, kHeight,
                                        *inputs.boundaries, inputs.boundaryActive);
        }
        zuvo::sector::FillAreasOnce(fresh.dc(), fresh.pixels(), kWidth, kHeight,
                                    *inputs.monitorAreas, inputs.monitorActive);

        const std::vector<uint32_t> shown = kept.Pixels();
        ASSERT_NE(shown, background) << "frame " << i << " fills something";
        size_t differ = 0;
        for (size_t p = 0; p < shown.size(); ++p) {
            differ += shown[p] != fresh.pixels()[p] ? 1 : 0;
        }
        EXPECT_EQ(differ, 0u) << "frame " << i << ": pixels unlike a fresh fill";
    }
}

// Two views side by side: one goes through the frames of a run, the other starts in the state
// the first ends in. They must show the same.
class AreaFillAcrossFrames : public testing::Test {
protected:
    static constexpr int kViewWidth = 340;  // R = 170, 5.3125 pixels per gate, origin (170, 0)
    static constexpr int kViewHeight = 170;

    void SetUp() override {
        ASSERT_NE(host.get(), nullptr);
        ASSERT_TRUE(run.Create(host.get(), RECT{0, 0, kViewWidth, kViewHeight}, kViewId));
        ASSERT_TRUE(
            fresh.Create(host.get(), RECT{350, 0, 350 + kViewWidth, kViewHeight}, kViewId + 1));
        config = TestConfig();
        config.drawLocus = 0;
        config.displayTimeMs = 0;  // one point per track, drawn at the full fade every frame
    }

    static void AddAreas(CObjectSectorWnd& view) {
        const int32_t left[] = {60, 60, 60, 110, 100, 110, 100, 60};
        const int32_t right[] = {60, 230, 60, 280, 100, 280, 100, 230};
        ASSERT_EQ(view.AddMonitorArea(left, 4, kInactive, kActive), 0);
        ASSERT_EQ(view.AddMonitorArea(right, 4, kInactive, kActive), 1);
    }

    // An object at the pixel (x, y) of a view.
    static SectorObject At(int x, int y) {
        const int dx = x - kViewWidth / 2;
        const int dy = y;
        return SectorObject{1, std::hypot(dx, dy) / (kViewHeight / 32.0),
                            zuvo::sector::ViewAngleOf(dx, dy, true)};
    }

    static Capture Shown(const CObjectSectorWnd& view) { return CaptureWindow(view.GetSafeHwnd()); }

    Host host;
    CObjectSectorWnd run;
    CObjectSectorWnd fresh;
    zuvo::sector::SectorViewConfig config;
};

TEST_F(AreaFillAcrossFrames, TheLitAreaFollowsTheTrackFromFrameToFrame) {
    run.ApplyViewSettings(config, nullptr);
    AddAreas(run);
    Pump();
    Feed(run, {At(85, 80)});  // in the left area
    Pump();
    const Capture leftLit = Shown(run);
    InvalidateRect(run.GetSafeHwnd(), nullptr, FALSE);  // the same frame once more
    Pump();
    EXPECT_EQ(Shown(run).Pixels(), leftLit.Pixels());
    Feed(run, {At(255, 80)});  // in the right area
    Pump();
    const Capture rightLit = Shown(run);
    EXPECT_NE(rightLit.At(65, 65), leftLit.At(65, 65)) << "the left area is no longer lit";

    fresh.ApplyViewSettings(config, nullptr);
    AddAreas(fresh);
    Pump();
    Feed(fresh, {At(255, 80)});
    Pump();
    EXPECT_EQ(Shown(fresh).Pixels(), rightLit.Pixels());

    // Out of both areas: both unlit, in the view that had them lit and in the other.
    Feed(run, {At(170, 150)});
    Feed(fresh, {At(170, 150)});
    Pump();
    EXPECT_NE(Shown(run).At(270, 65), rightLit.At(270, 65)) << "the right area is no longer lit";
    EXPECT_EQ(Shown(run).Pixels(), Shown(fresh).Pixels());
}

TEST_F(AreaFillAcrossFrames, ANewBackgroundIsFilledAnew) {
    run.ApplyViewSettings(config, nullptr);
    AddAreas(run);
    Pump();
    const Capture before = Shown(run);
    // The gate band shrinks: the left area (about 22 gates out) falls outside it, its shading
    // below changes colour.
    run.SetGateRange(10.0, 20.0, 32);
    Pump();
    const Capture after = Shown(run);
    EXPECT_NE(after.At(65, 65), before.At(65, 65));

    fresh.ApplyViewSettings(config, nullptr);
    fresh.SetGateRange(10.0, 20.0, 32);
    AddAreas(fresh);
    Pump();
    EXPECT_EQ(Shown(fresh).Pixels(), after.Pixels());
}

}  // namespace
