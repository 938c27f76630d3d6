// Composing a frame: the thinned polyline of a track, and the whole overlay pass (track lines
// through the bounded scratch box, markers, monitoring points) against the reference, which
// clears and scans a whole-view scratch buffer for every track.
#include <vector>

#include <gtest/gtest.h>

#include "ReferenceView.h"
#include "SceneFeeding.h"
#include "sectorview/OverBlend.h"
#include "sectorview/PackedPoint.h"
#include "sectorview/SectorScene.h"
#include "sectorview/TrackPainter.h"

namespace zuvo::sector {
namespace {

using support::Feed;

std::vector<std::pair<int, int>> Unpack(const CPtrListCtrl& polyline) {
    std::vector<std::pair<int, int>> points;
    for (int i = 0; i < polyline.GetCount(); ++i) {
        points.emplace_back(PackedX(polyline.GetAt(i)), PackedY(polyline.GetAt(i)));
    }
    return points;
}

TEST(TrackPolyline, LeavesOutPointsWithinFourPixels) {
    SectorViewConfig config;
    config.topViewMode = 0;
    config.smoothCount = 1;
    config.displayTimeMs = 10000;
    SectorScene scene;
    scene.ApplyConfig(config);
    scene.Relayout(512, 256);  // R = 256: 8 pixels per gate, origin (256, 255)
    // Oldest first; newest first these lie 92, 88, 84 and 79 pixels above the origin.
    for (double distance : {9.875, 10.5, 11.0, 11.5}) {
        Feed(scene, {{1, distance, -90.0}}, 0);
    }
    CPtrListCtrl polyline;
    BuildTrackPolyline(scene.Geometry(), scene.CopyTracks().at(0), polyline);
    // 88 is exactly 4 pixels from 92: left out; 84 and 79 are taken.
    EXPECT_EQ(Unpack(polyline), (std::vector<std::pair<int, int>>{
                                    {256, 255 - 92}, {256, 255 - 84}, {256, 255 - 79}}));
    Feed(scene, {{2, 5.0, -90.0}}, 0);
    BuildTrackPolyline(scene.Geometry(), scene.CopyTracks().at(0), polyline);
    EXPECT_EQ(Unpack(polyline), (std::vector<std::pair<int, int>>{{256, 255 - 40}}));
}

struct ComposeCase {
    SectorScene scene;
    MonitorPointList points;  // the same points as the scene's, for the reference
};

void AddPoint(ComposeCase& c, double distance, double angle, double size, uint32_t inactive,
              uint32_t active) {
    c.scene.AddMonitorPoint(c.scene.MakePoint(distance, angle, size, inactive, active));
    c.points.Add(c.scene.MakePoint(distance, angle, size, inactive, active));
}

// The reference's copy of the points with the scene's current hit flags.
MonitorPointList PointsWithHits(const ComposeCase& c, const SectorScene& scene) {
    MonitorPointList copy;
    const std::vector<int> hits = scene.MonitorPointHits();
    for (int i = 0; i < c.points.Count(); ++i) {
        auto point = std::make_unique<MonitorPoint>(c.points.At(i));
        point->hit = hits[static_cast<size_t>(i)];
        copy.Add(std::move(point));
    }
    return copy;
}

TEST(Compose, EqualsTheReferenceOnRandomScenes) {
    support::Random random(2718);
    for (int round = 0; round < 40; ++round) {
        ComposeCase c;
        SectorViewConfig config;
        config.topViewMode = round % 2;
        config.drawLocus = round % 5 != 0;
        config.smoothCount = 1 + round % 4;
        config.displayTimeMs = 800;
        config.angleStart = -170;
        config.angleStop = -10;
        config.gateMin = 1;
        config.gateMax = 30;
        config.sectorCount = 6 + round % 10;
        config.radiusScale = random.Uniform(0.3, 2.5);
        config.locusRadiusScale = random.Uniform(0.1, 1.5);
        c.scene.ApplyConfig(config);
        const int width = 120 + random.Pick(0, 199);
        const int height = 80 + random.Pick(0, 149);
        c.scene.Relayout(width, height);
        for (int p = 0; p < 4; ++p) {
            AddPoint(c, random.Uniform(0, 32), random.Uniform(-180, 0), random.Uniform(0.5, 3),
                     random.Bits(), random.Bits());
        }
        uint32_t now = 1000;
        std::vector<uint32_t> background(static_cast<size_t>(width) * height);
        auto paintBackground = [&] {
            for (uint32_t& pixel : background) {
                pixel = random.Bits() | (random.Pick(0, 2) == 0 ? 0xFF000000u : 0u);
            }
        };
        paintBackground();
        // The frame the view composes into keeps what the last frame left; it starts as
        // garbage, which the first composition must cover completely.
        std::vector<uint32_t> frame(background.size(), 0xDEADBEEFu);
        for (int frameIndex = 0; frameIndex < 6; ++frameIndex) {
            for (int batch = 0; batch < 8; ++batch) {
                std::vector<SectorObject> objects(static_cast<size_t>(random.Pick(0, 24)));
                for (SectorObject& object : objects) {
                    object = SectorObject{random.Pick(0, 29), random.Uniform(0, 32),
                                          random.Uniform(-180, 0)};
                }
                now += 40;
                Feed(c.scene, objects, now);
            }
            if (frameIndex == 2) {
                paintBackground();
                c.scene.MarkBackgroundRendered();
            }
            if (frameIndex == 4) {
                // The old points' pixels must not stay behind in the kept frame.
                c.scene.ClearMonitorPoints();
                c.points.Clear();
                AddPoint(c, random.Uniform(0, 32), random.Uniform(-180, 0), 1.0, random.Bits(),
                         random.Bits());
            }
            if (frameIndex == 3) {
                // Tracks and points keep their images made for the old layout.
                c.scene.Relayout(width + 37, height + 21);
                background.resize(static_cast<size_t>(width + 37) * (height + 21));
                paintBackground();
                frame.assign(background.size(), 0xDEADBEEFu);
            }
            const uint32_t paintTime = now + static_cast<uint32_t>(random.Pick(0, 899));
            c.scene.ComposeFrame(frame.data(), background.data(), paintTime, nullptr);
            std::vector<uint32_t> slow(background.size());
            reference::Compose(c.scene.Geometry(), c.scene.Settings(), c.scene.SectorMask(),
                               c.scene.CopyTracks(), PointsWithHits(c, c.scene), background.data(),
                               slow.data(), paintTime);
            ASSERT_EQ(frame, slow) << "round " << round << " frame " << frameIndex;
        }
    }
}

// The library reports nothing about where it drew a line: the view blends from its own box. A
// track line across the fan is drawn wherever the library drew it, as the reference (which
// scans the whole view) draws it.
TEST(Compose, TrackLineIsDrawnWhereTheLibraryDrewIt) {
    SectorViewConfig config;
    config.topViewMode = 0;
    config.smoothCount = 1;
    config.displayTimeMs = 10000;
    config.drawLocus = 1;
    config.locusRadiusScale = 1.0;
    SectorScene scene;
    scene.ApplyConfig(config);
    constexpr int kWidth = 400;
    constexpr int kHeight = 220;
    scene.Relayout(kWidth, kHeight);
    for (int step = 0; step <= 12; ++step) {  // one object walking across the fan
        Feed(scene, {{1, 20.0, -150.0 + 10.0 * step}}, static_cast<uint32_t>(step));
    }
    constexpr uint32_t kNow = 20;
    const std::vector<uint32_t> black(kWidth * kHeight, 0xFF000000u);
    std::vector<uint32_t> frame(black.size());
    scene.ComposeFrame(frame.data(), black.data(), kNow, nullptr);
    std::vector<uint32_t> slow(black.size());
    reference::Compose(scene.Geometry(), scene.Settings(), scene.SectorMask(), scene.CopyTracks(),
                       MonitorPointList(), black.data(), slow.data(), kNow);
    ASSERT_EQ(frame, slow);

    // The line on its own, as the library draws it into a cleared buffer.
    const SectorTrack track = scene.CopyTracks().at(0);
    CPtrListCtrl polyline;
    BuildTrackPolyline(scene.Geometry(), track, polyline);
    ASSERT_GE(polyline.GetCount(), 10);
    const uint32_t fade = TrackFade(kNow, track.points.front().time, config.displayTimeMs);
    std::vector<uint8_t> line(black.size(), 0);
    DrawGradualMultiLine(kWidth, kHeight, &polyline,
                         scene.Geometry().markerRadius * config.locusRadiusScale, 0.0, fade / 255.0,
                         0.0, line.data());
    const int markerX = PackedX(polyline.GetAt(0));
    const int markerY = PackedY(polyline.GetAt(0));
    const int markerReach = scene.Geometry().markerRadius + 2;
    const OverBlendTable& blend = OverBlendTable::Instance();
    int solid = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const size_t i = static_cast<size_t>(y) * kWidth + x;
            if (line[i] == 0 || scene.SectorMask()[i] != 1 ||
                std::hypot(x - markerX, y - markerY) <= markerReach) {
                continue;
            }
            ASSERT_EQ(frame[i], blend.Blend(0xFF000000u, kTrackLineColour, line[i]))
                << "line pixel " << x << "," << y;
            solid += line[i] >= 128 ? 1 : 0;
        }
    }
    EXPECT_GT(solid, 300) << "the line crosses the fan";
}

TEST(Compose, MarkersAndPointsStayInsideTheMask) {
    ComposeCase c;
    SectorViewConfig config;
    config.topViewMode = 1;
    config.angleStart = -180;
    config.angleStop = 0;
    config.gateMin = 10;  // nothing is drawn nearer than 10 gates
    config.gateMax = 31;
    config.drawLocus = 0;
    c.scene.ApplyConfig(config);
    c.scene.Relayout(600, 200);            // origin (300, 0), 6.25 pixels per gate, marker radius 5
    Feed(c.scene, {{1, 10.0, -90.0}}, 0);  // marker centre (300, 63): band starts at 62.5
    AddPoint(c, 20.0, -90.0, 1.0, 0x000000FF, 0x0000FF00);
    const std::vector<uint32_t> black(600 * 200, 0xFF000000u);
    std::vector<uint32_t> pixels(black.size());
    c.scene.ComposeFrame(pixels.data(), black.data(), 0, nullptr);
    auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y) * 600 + x]; };
    EXPECT_EQ(at(300, 62), 0xFF000000u);   // in the marker's disc, but before the gate band
    EXPECT_EQ(at(300, 63), 0xFFDEDEDEu);   // white over black at 222 / 255
    EXPECT_EQ(at(300, 125), 0xFFFF0000u);  // the monitoring point, replaced in its colour
    Feed(c.scene, {{2, 20.5, -90.0}}, 1);  // within reach: the point lights up
    c.scene.ComposeFrame(pixels.data(), black.data(), 1, nullptr);
    EXPECT_EQ(at(300, 125), 0xFF00FF00u);
}

}  // namespace
}  // namespace zuvo::sector
