// Composing a frame: the thinned polyline of a track, and the whole overlay pass (track lines
// through the bounded scratch box, markers, monitoring points) against the reference, which
// clears and scans a whole-view scratch buffer for every track.
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "ReferenceView.h"
#include "SceneFeeding.h"
#include "sectorview/DirtyTiles.h"
#include "sectorview/OverBlend.h"
#include "sectorview/PackedPoint.h"
#include "sectorview/PixelAreaPainter.h"
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

// Tiles of 64 x 8 over a 130 x 20 frame: three columns (the last two pixels wide) and three
// rows (the last four high).
TEST(DirtyTiles, RestoresEachMarkedTileFromItsSource) {
    constexpr int kWidth = 130;
    constexpr int kHeight = 20;
    const std::vector<uint32_t> background(kWidth * kHeight, 1);
    const std::vector<uint32_t> underlay(kWidth * kHeight, 2);
    std::vector<uint32_t> frame(kWidth * kHeight, 0);
    auto at = [&](int x, int y) { return frame[static_cast<size_t>(y) * kWidth + x]; };
    DirtyTiles drawn;
    drawn.Reset(kWidth, kHeight);
    drawn.UnmarkAll();
    EXPECT_FALSE(drawn.AnyMarked());
    drawn.Mark(ZRect{60, 5, 70, 17});    // tile columns 0 and 1, all three rows
    drawn.Mark(ZRect{-50, -50, -1, 3});  // wholly outside: nothing
    DirtyTiles filled;
    filled.Reset(kWidth, kHeight);
    filled.UnmarkAll();
    filled.Mark(ZRect{64, 0, 65, 1});  // tile column 1, row 0
    filled.Mark(ZRect{128, 19, 130, 20});
    drawn.Restore(background.data(), underlay.data(), filled, frame.data());
    EXPECT_FALSE(drawn.AnyMarked());
    EXPECT_EQ(at(0, 0), 1u);
    EXPECT_EQ(at(63, 19), 1u);
    EXPECT_EQ(at(64, 0), 2u);  // from the underlay
    EXPECT_EQ(at(127, 7), 2u);
    EXPECT_EQ(at(64, 8), 1u);  // the tile below is the background's
    EXPECT_EQ(at(127, 19), 1u);
    EXPECT_EQ(at(128, 0), 0u);  // never marked
    EXPECT_EQ(at(129, 19), 0u);
    // Copy takes what is marked and leaves the marks.
    filled.Copy(underlay.data(), frame.data());
    EXPECT_TRUE(filled.AnyMarked());
    EXPECT_EQ(at(129, 19), 2u);
    EXPECT_EQ(at(128, 16), 2u);
    EXPECT_EQ(at(128, 15), 0u);
    EXPECT_EQ(at(127, 19), 1u);
    // Nothing marked: a restore copies nothing.
    frame.assign(frame.size(), 0);
    drawn.Restore(background.data(), frame.data());
    EXPECT_EQ(frame, std::vector<uint32_t>(frame.size(), 0));
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
        // Areas in most rounds, filled in most of those; a boundary now and then.
        std::mt19937 shapes(static_cast<uint32_t>(round));
        auto addArea = [&](bool boundary) {
            const std::vector<int32_t> polygon = support::RandomPolygon(shapes, width, height);
            const int count = static_cast<int>(polygon.size() / 2);
            if (boundary) {
                c.scene.AddAlgorithmArea(polygon.data(), count, random.Bits(), random.Bits());
            } else {
                c.scene.AddMonitorArea(polygon.data(), count, random.Bits(), random.Bits());
            }
        };
        if (round % 3 != 0) {
            for (int a = random.Pick(1, 5); a > 0; --a) {
                addArea(false);
            }
            if (round % 7 == 1) {
                addArea(true);
            }
            c.scene.RefreshMasks();
        }
        const bool fill = round % 4 != 3;
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
            if (frameIndex == 1) {
                addArea(false);  // a table change fills every area again
                c.scene.RefreshMasks();
            }
            if (frameIndex == 5 && round % 2 == 0) {
                // The old fills must not stay behind in the kept frame either.
                c.scene.ClearMonitorAreas();
                c.scene.RefreshMasks();
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
            const int w = c.scene.Geometry().width;
            const int h = c.scene.Geometry().height;
            PixelAreaPainter painter(frame.data(), w, h);
            c.scene.ComposeFrame(frame.data(), background.data(), paintTime,
                                 fill ? &painter : nullptr);
            std::vector<uint32_t> slow(background.size());
            reference::Compose(c.scene.Geometry(), c.scene.Settings(), c.scene.SectorMask(),
                               c.scene.CopyTracks(), PointsWithHits(c, c.scene), background.data(),
                               slow.data(), paintTime, fill ? &c.scene.AlgorithmAreas() : nullptr,
                               fill ? &c.scene.MonitorAreas() : nullptr);
            ASSERT_EQ(frame, slow) << "round " << round << " frame " << frameIndex;
        }
    }
}

// A run as the view sees one, frame after frame: objects walking through lit and dark areas,
// tracks fading and losing points, monitoring points lighting up, now and then the fills
// switched off or a new background; withHeat shows, hides and clears the heat map on the way.
// The kept frame, restored only where the last frame drew and filled again only when the fills
// change, must equal a composition from scratch every time.
void ComposeMovingFrames(bool withHeat) {
    ComposeCase c;
    SectorViewConfig config;
    config.topViewMode = 1;
    config.smoothCount = 2;
    config.displayTimeMs = 1000;
    config.angleStart = -160;
    config.angleStop = -20;
    c.scene.ApplyConfig(config);
    constexpr int kWidth = 320;
    constexpr int kHeight = 170;
    c.scene.Relayout(kWidth, kHeight);  // R = 160, 5 pixels per gate, origin (160, 0)
    support::Random random(606);
    // Areas across the walkers' paths, two of them overlapping.
    const std::vector<std::vector<int32_t>> areas{{20, 40, 20, 110, 90, 110, 90, 40},
                                                  {60, 90, 40, 170, 110, 200, 120, 120},
                                                  {100, 180, 100, 260, 150, 260},
                                                  {10, 200, 10, 300, 60, 300, 60, 200}};
    for (const std::vector<int32_t>& area : areas) {
        c.scene.AddMonitorArea(area.data(), static_cast<int>(area.size() / 2), random.Bits(),
                               random.Bits());
    }
    c.scene.RefreshMasks();
    for (int p = 0; p < 6; ++p) {
        AddPoint(c, random.Uniform(4, 30), random.Uniform(-150, -30), 1.0, random.Bits(),
                 random.Bits());
    }
    struct Walker {
        SectorObject object;
        double distanceStep;
        double angleStep;
    };
    std::vector<Walker> walkers;
    for (int id = 0; id < 24; ++id) {
        walkers.push_back(Walker{{id, random.Uniform(3, 29), random.Uniform(-150, -30)},
                                 random.Uniform(-0.4, 0.4),
                                 random.Uniform(-2.0, 2.0)});
    }
    std::vector<uint32_t> background(kWidth * kHeight);
    auto paintBackground = [&] {
        for (uint32_t& pixel : background) {
            pixel = random.Bits() | (random.Pick(0, 3) == 0 ? 0xFF000000u : 0u);
        }
    };
    paintBackground();
    std::vector<uint32_t> frame(background.size(), 0xDEADBEEFu);
    std::vector<uint32_t> fresh(background.size());
    uint32_t now = 0;
    uint32_t lastLit = 0;
    int litChanges = 0;  // frames whose lit areas differ from the frame before
    for (int frameIndex = 0; frameIndex < 150; ++frameIndex) {
        std::vector<SectorObject> batch;
        for (Walker& walker : walkers) {
            SectorObject& object = walker.object;
            if (object.distance + walker.distanceStep < 1 ||
                object.distance + walker.distanceStep > 31) {
                walker.distanceStep = -walker.distanceStep;
            }
            if (object.angle + walker.angleStep < -158 || object.angle + walker.angleStep > -22) {
                walker.angleStep = -walker.angleStep;
            }
            object.distance += walker.distanceStep;
            object.angle += walker.angleStep;
            // Some walkers pause for a while: their tracks fade and lose their points.
            if ((object.id + frameIndex / 20) % 5 != 0) {
                batch.push_back(object);
            }
        }
        now += 50;
        if (withHeat && frameIndex == 110) {
            c.scene.ClearHeatMap();
        }
        support::Feed(c.scene, batch, now);
        if (frameIndex == 70) {
            paintBackground();
            c.scene.MarkBackgroundRendered();
        }
        if (withHeat) {
            // Shown over the fills switched off and on, and over the new background.
            c.scene.ShowHeatMap((frameIndex >= 10 && frameIndex < 90) || frameIndex >= 100);
        }
        const bool fill = frameIndex < 40 || frameIndex >= 55;
        PixelAreaPainter painter(frame.data(), kWidth, kHeight);
        c.scene.ComposeFrame(frame.data(), background.data(), now + 10, fill ? &painter : nullptr);
        const HeatMap heat = c.scene.CopyHeatMap();
        reference::Compose(
            c.scene.Geometry(), c.scene.Settings(), c.scene.SectorMask(), c.scene.CopyTracks(),
            PointsWithHits(c, c.scene), background.data(), fresh.data(), now + 10, nullptr,
            fill ? &c.scene.MonitorAreas() : nullptr, c.scene.HeatMapShown() ? &heat : nullptr);
        ASSERT_EQ(frame, fresh) << "frame " << frameIndex;
        uint32_t lit = 0;
        for (const SectorTrack& track : c.scene.CopyTracks()) {
            lit |= track.monitorIndex >= 0 ? uint32_t{1} << track.monitorIndex : 0;
        }
        litChanges += lit != lastLit ? 1 : 0;
        lastLit = lit;
    }
    EXPECT_GE(litChanges, 10) << "the walkers light and leave the areas";
    if (withHeat) {
        // The heat map was cleared at frame 110: it holds the 40 batches since.
        EXPECT_GT(c.scene.HeatMapTotal(), 40u * 15u);
        EXPECT_LT(c.scene.HeatMapTotal(), 40u * 24u + 1u);
    }
}

TEST(Compose, AKeptFrameEqualsAFreshOneOverManyMovingFrames) {
    ComposeMovingFrames(false);
}

TEST(Compose, AKeptFrameWithTheHeatMapEqualsAFreshOne) {
    ComposeMovingFrames(true);
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
