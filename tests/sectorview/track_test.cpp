// Track keeping: smoothing, windows, the track limit, expiry, monitoring-point hits, and the
// whole update against the reference tracker on random batches.
#include <vector>

#include <gtest/gtest.h>

#include "ReferenceView.h"
#include "SceneFeeding.h"
#include "sectorview/SectorScene.h"

namespace zuvo::sector {
namespace {

class Tracks : public testing::Test {
protected:
    void Configure(int smoothCount, int displayTimeMs, int angleStart = -150, int angleStop = -30) {
        SectorViewConfig config;
        config.smoothCount = smoothCount;
        config.displayTimeMs = displayTimeMs;
        config.angleStart = angleStart;
        config.angleStop = angleStop;
        config.gateMin = 2;
        config.gateMax = 28;
        scene.ApplyConfig(config);
        scene.Relayout(600, 200);
    }

    void Feed(std::vector<SectorObject> objects, uint32_t now) {
        support::Feed(scene, std::move(objects), now);
    }

    SectorScene scene;
};

TEST_F(Tracks, SmoothOverTheNewestPoints) {
    Configure(3, 10000);
    Feed({{5, 10.0, -90.0}}, 0);
    Feed({{5, 12.0, -80.0}}, 50);
    Feed({{5, 14.0, -70.0}}, 100);
    Feed({{5, 16.0, -60.0}}, 150);
    const SectorTrack track = scene.CopyTracks().at(0);
    ASSERT_EQ(track.points.size(), 4u);
    EXPECT_DOUBLE_EQ(track.points[0].smoothedDistance, 14.0);  // (16 + 14 + 12) / 3
    EXPECT_DOUBLE_EQ(track.points[0].smoothedAngle, -70.0);
    EXPECT_DOUBLE_EQ(track.points[1].smoothedDistance, 12.0);  // (14 + 12 + 10) / 3
    EXPECT_DOUBLE_EQ(track.points[2].smoothedDistance, 11.0);  // two points then
    EXPECT_DOUBLE_EQ(track.points[3].smoothedDistance, 10.0);
    EXPECT_DOUBLE_EQ(track.points[0].distance, 16.0);  // raw values stay
}

TEST_F(Tracks, ASecondBatchMovesTheTrackToTheFrontWithItsMarker) {
    Configure(1, 10000);
    Feed({{1, 10, -90}, {2, 11, -90}}, 0);
    std::vector<SectorTrack> tracks = scene.CopyTracks();
    ASSERT_EQ(tracks.size(), 2u);
    EXPECT_EQ(tracks[0].id, 2);  // the last updated is first
    const DiscImage* marker = tracks[1].markerImage.get();
    scene.Relayout(900, 300);  // a bigger marker for tracks made from now on
    Feed({{1, 12, -90}, {3, 12, -60}}, 10);
    tracks = scene.CopyTracks();
    ASSERT_EQ(tracks.size(), 3u);
    EXPECT_EQ(tracks[0].id, 3);
    EXPECT_EQ(tracks[1].id, 1);
    EXPECT_EQ(tracks[1].markerImage.get(), marker);
    EXPECT_EQ(tracks[1].markerImage->edge, 11);  // radius 5 of the 600 x 200 layout
    EXPECT_EQ(tracks[0].markerImage->edge, 15);  // radius 7 of 900 x 300
    EXPECT_EQ(tracks[0].markerColour, 0xFFFFFFFFu);
}

TEST_F(Tracks, SharedIdentifiersInOneBatchAddTwoPoints) {
    Configure(1, 10000);
    Feed({{4, 10, -90}, {4, 11, -90}}, 0);
    const std::vector<SectorTrack> tracks = scene.CopyTracks();
    ASSERT_EQ(tracks.size(), 1u);
    ASSERT_EQ(tracks[0].points.size(), 2u);
    EXPECT_EQ(tracks[0].points[0].distance, 11.0);
}

TEST_F(Tracks, WindowBoundsAreInclusive) {
    Configure(1, 10000);
    Feed({{1, 28.0, -30.0},
          {2, 2.0, -150.0},
          {3, 28.0001, -90.0},
          {4, 10.0, -29.999},
          {5, 1.999, -90.0},
          {6, 10.0, -150.001},
          {7, NAN, -90.0}},
         0);
    const std::vector<SectorTrack> tracks = scene.CopyTracks();
    ASSERT_EQ(tracks.size(), 2u);
    EXPECT_EQ(tracks[0].id, 2);
    EXPECT_EQ(tracks[1].id, 1);
}

TEST_F(Tracks, TheHundredAndFirstObjectEvictsTheLeastRecentlyUpdated) {
    Configure(1, 10000);
    for (int id = 0; id < 100; ++id) {
        Feed({{id, 10, -90}}, static_cast<uint32_t>(id));
    }
    Feed({{0, 10, -90}}, 100);  // track 0 is fresh again; track 1 is now the oldest
    Feed({{100, 10, -90}}, 101);
    const std::vector<SectorTrack> tracks = scene.CopyTracks();
    ASSERT_EQ(tracks.size(), 100u);
    EXPECT_EQ(tracks[0].id, 100);
    EXPECT_EQ(tracks[1].id, 0);
    EXPECT_EQ(tracks.back().id, 2);
}

TEST_F(Tracks, PointsExpireAfterTheDisplayTimeAcrossTheCounterWrap) {
    Configure(1, 2000);
    const uint32_t start = 0xFFFFF000u;  // 4096 ms before the counter wraps
    Feed({{1, 10, -90}, {2, 10, -60}}, start);
    Feed({{1, 11, -90}}, start + 1500);
    Feed({}, start + 1999);
    EXPECT_EQ(scene.CopyTracks().size(), 2u);
    scene.UpdateObjects(nullptr, start + 2000);  // the first batch's points are 2000 ms old
    std::vector<SectorTrack> tracks = scene.CopyTracks();
    ASSERT_EQ(tracks.size(), 1u);
    EXPECT_EQ(tracks[0].points.size(), 1u);
    scene.UpdateObjects(nullptr, start + 3500 + 4096);  // wrapped
    EXPECT_TRUE(scene.CopyTracks().empty());
}

TEST_F(Tracks, WithoutDisplayTimeOnlyTheNewestPointLives) {
    Configure(3, 0);
    Feed({{1, 10, -90}}, 5);
    Feed({{1, 20, -90}}, 5);  // the same millisecond: the old point is 0 ms old, still expired
    const std::vector<SectorTrack> tracks = scene.CopyTracks();
    ASSERT_EQ(tracks.size(), 1u);
    ASSERT_EQ(tracks[0].points.size(), 1u);
    EXPECT_EQ(tracks[0].points[0].smoothedDistance, 20.0);
}

TEST_F(Tracks, ClearTracksDropsEverything) {
    Configure(1, 10000);
    Feed({{1, 10, -90}, {2, 10, -60}}, 0);
    scene.ClearTracks();
    EXPECT_TRUE(scene.CopyTracks().empty());
}

TEST_F(Tracks, MonitoringPointsAreHitWithinReach) {
    Configure(1, 10000, -180, 0);
    // Radius scale 1.0 and size 1.0: reach (1 + 1) / 2 = 1 gate.
    scene.AddMonitorPoint(scene.MakePoint(10.0, -90.0, 1.0, 0x00FFFF00, 0x000054DC));
    scene.AddMonitorPoint(scene.MakePoint(20.0, -45.0, 3.0, 0x00FFFF00, 0x000054DC));
    Feed({{1, 10.9, -90.0}}, 0);
    EXPECT_EQ(scene.MonitorPointHits(), (std::vector<int>{1, 0}));
    Feed({{1, 11.0, -90.0}}, 1);  // exactly one gate away: not within reach
    EXPECT_EQ(scene.MonitorPointHits(), (std::vector<int>{0, 0}));
    Feed({{2, 21.9, -45.0}}, 2);  // the bigger point reaches 2 gates
    EXPECT_EQ(scene.MonitorPointHits(), (std::vector<int>{0, 1}));
    scene.UpdateObjects(nullptr, 3);  // a batch without objects clears the hits
    EXPECT_EQ(scene.MonitorPointHits(), (std::vector<int>{0, 0}));
    scene.ClearMonitorPoints();
    EXPECT_TRUE(scene.MonitorPointHits().empty());
}

bool SameTracks(const std::vector<SectorTrack>& a, const std::vector<SectorTrack>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t t = 0; t < a.size(); ++t) {
        const SectorTrack& x = a[t];
        const SectorTrack& y = b[t];
        if (x.id != y.id || x.boundaryIndex != y.boundaryIndex ||
            x.monitorIndex != y.monitorIndex || x.markerColour != y.markerColour ||
            x.markerImage->pixels != y.markerImage->pixels || x.points.size() != y.points.size()) {
            return false;
        }
        for (size_t i = 0; i < x.points.size(); ++i) {
            const TrackPoint& p = x.points[i];
            const TrackPoint& q = y.points[i];
            if (p.distance != q.distance || p.angle != q.angle ||
                p.smoothedDistance != q.smoothedDistance || p.smoothedAngle != q.smoothedAngle ||
                p.time != q.time) {
                return false;
            }
        }
    }
    return true;
}

// Random batches with areas and monitoring points: the view's tracks equal the reference's
// after every batch, identifiers colliding, tracks evicted and expiring.
TEST(TrackUpdate, EqualsTheReferenceOnRandomBatches) {
    support::Random random(31337);
    for (int round = 0; round < 6; ++round) {
        SectorViewConfig config;
        config.topViewMode = round % 2;
        config.smoothCount = 1 + round * 50;
        config.displayTimeMs = 300 + round * 100;
        config.angleStart = -160;
        config.angleStop = -20;
        config.gateMin = 1;
        config.gateMax = 30;
        SectorScene scene;
        scene.ApplyConfig(config);
        scene.Relayout(320, 180);
        for (int k = 0; k < (round % 3) * 4; ++k) {
            const int32_t r = random.Pick(0, 119);
            const int32_t c = random.Pick(0, 249);
            const int32_t square[] = {r, c, r, c + 60, r + 50, c + 60, r + 50, c};
            scene.AddMonitorArea(square, 4, 0, 0);
            if (round >= 3 && k < 3) {
                scene.AddAlgorithmArea(square, 4, 0, 0);
            }
        }
        scene.RefreshMasks();
        reference::Tracker tracker(scene.Geometry(), scene.Settings());
        const std::vector<uint32_t> boundaryMask =
            reference::AreaMask(scene.AlgorithmAreas(), 320, 180, true);
        const std::vector<uint32_t> monitorMask =
            reference::AreaMask(scene.MonitorAreas(), 320, 180, true);
        tracker.SetAreas(&scene.AlgorithmAreas(), &boundaryMask, &scene.MonitorAreas(),
                         &monitorMask);
        for (int p = 0; p < 5; ++p) {
            const double distance = random.Uniform(2, 25);
            const double angle = random.Uniform(-150, -30);
            const double size = random.Uniform(0.5, 4);
            scene.AddMonitorPoint(scene.MakePoint(distance, angle, size, 0, 0));
            tracker.AddMonitorPoint(distance, angle, size);
        }
        uint32_t now = 0xFFFFFF00u;  // crosses the counter wrap
        for (int batch = 0; batch < 150; ++batch) {
            std::vector<SectorObject> objects(static_cast<size_t>(random.Pick(0, 39)));
            for (SectorObject& object : objects) {
                object = SectorObject{random.Pick(0, 129), random.Uniform(0, 32),
                                      random.Uniform(-180, 0)};
            }
            now += static_cast<uint32_t>(random.Pick(0, 59));
            support::Feed(scene, objects, now);
            support::Feed(tracker, objects, now);
            ASSERT_TRUE(SameTracks(scene.CopyTracks(), tracker.Snapshot()))
                << "round " << round << " batch " << batch;
            ASSERT_EQ(scene.MonitorPointHits(), tracker.Hits()) << "round " << round;
        }
    }
}

}  // namespace
}  // namespace zuvo::sector
