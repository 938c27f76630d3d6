// Area tables: adding and clearing slots, the scan-line masks against the library's
// point-in-polygon test, the detection-boundary filter and the area attribution of tracks.
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "ReferenceView.h"
#include "SceneFeeding.h"
#include "sectorview/AreaTable.h"
#include "sectorview/PolygonRaster.h"
#include "sectorview/SectorScene.h"

namespace zuvo::sector {
namespace {

using support::Feed;
using support::RandomPolygon;

const std::vector<int32_t> kTriangle{0, 0, 0, 10, 10, 0};

TEST(AreaTable, AddsIntoTheLowestFreeSlotUntilFull) {
    AreaTable table;
    EXPECT_EQ(table.Add(kTriangle.data(), 2, 0, 0, 0, 0), -1);  // two vertices
    EXPECT_EQ(table.Add(nullptr, 3, 0, 0, 0, 0), -1);
    EXPECT_EQ(table.PresentBits(), 0u);
    for (int slot = 0; slot < kAreaSlots; ++slot) {
        ASSERT_EQ(table.Add(kTriangle.data(), 3, 0, 0, 0, 0), slot);
    }
    EXPECT_EQ(table.Add(kTriangle.data(), 3, 0, 0, 0, 0), -1);  // the 33rd
    EXPECT_EQ(table.PresentBits(), 0xFFFFFFFFu);
    table.Clear();
    EXPECT_EQ(table.PresentBits(), 0u);
    EXPECT_EQ(table.Add(kTriangle.data(), 3, 0, 0, 0, 0), 0);
}

TEST(AreaTable, StoresViewPixelsAndSwappedColours) {
    SectorScene scene;
    scene.Relayout(600, 200);  // sector rectangle left 100, top 0
    const int32_t clicked[] = {20, 50, 40, 50, 40, 90};
    EXPECT_EQ(scene.AddMonitorArea(clicked, 3, 0x00FFFF00, 0x000054DC), 0);
    EXPECT_EQ(scene.AddAlgorithmArea(clicked, 3, 0x00FFFF00, 0x000054DC), 0);
    for (const AreaTable* table : {&scene.MonitorAreas(), &scene.AlgorithmAreas()}) {
        const SectorArea& area = table->Slot(0);
        EXPECT_EQ(area.polygon[0], 20);
        EXPECT_EQ(area.polygon[1], 150);
        EXPECT_EQ(area.inactiveColour, 0x0000FFFFu);
        EXPECT_EQ(area.activeColour, 0x00DC5400u);
    }
    // A vertex at the int32 limit stays there instead of wrapping around.
    const int32_t far[] = {INT32_MAX, INT32_MAX, 0, 0, 5, 5};
    EXPECT_EQ(scene.AddMonitorArea(far, 3, 0, 0), 1);
    EXPECT_EQ(scene.MonitorAreas().Slot(1).polygon[1], INT32_MAX);
}

TEST(AreaIndex, KeepsTheFirstAreaEntered) {
    EXPECT_EQ(UpdateAreaIndex(-1, 0b1001, 0b1001), 0);  // lowest present slot
    EXPECT_EQ(UpdateAreaIndex(3, 0b1001, 0b1001), 3);   // stays while inside
    EXPECT_EQ(UpdateAreaIndex(3, 0b1001, 0b0001), 0);   // left area 3
    EXPECT_EQ(UpdateAreaIndex(3, 0b0001, 0b1001), 0);   // area 3 no longer present
    EXPECT_EQ(UpdateAreaIndex(0, 0b1001, 0), -1);       // outside everything
    EXPECT_EQ(UpdateAreaIndex(40, 0b1001, 0b1000), 3);  // nonsense index
}

// The scan-line mask equals the library's answer at every pixel: concave and
// self-intersecting outlines, repeated vertices, horizontal edges, vertices outside the view
// and at the far ends of the int32 range, degenerate outlines of one or two vertices.
// A label goes inside its area: at the mean of the vertices when that lies inside, else on the
// longest run of the area's pixels in the row nearest its middle.
TEST(AreaLabelAnchor, IsInsideTheAreaWhateverItsShape) {
    constexpr int kWidth = 120;
    constexpr int kHeight = 80;
    AreaTable table;
    const std::vector<int32_t> square{10, 10, 10, 50, 40, 50, 40, 10};  // (row, column)
    // A U open at the top: the mean of its vertices lies in the gap.
    const std::vector<int32_t> cup{10, 60,  70, 60,  70, 110, 10, 110,
                                   10, 100, 60, 100, 60, 70,  10, 70};
    ASSERT_EQ(table.Add(square.data(), 4, 0, 0, 0, 0), 0);
    ASSERT_EQ(table.Add(cup.data(), 8, 0, 0, 0, 0), 1);
    std::vector<uint32_t> mask;
    BuildAreaMask(table, kWidth, kHeight, mask);
    int x = -1;
    int y = -1;
    ASSERT_TRUE(AreaLabelAnchor(table, 0, mask, kWidth, kHeight, x, y));
    EXPECT_EQ(x, 30);
    EXPECT_EQ(y, 25);
    ASSERT_TRUE(AreaLabelAnchor(table, 1, mask, kWidth, kHeight, x, y));
    EXPECT_NE(mask[static_cast<size_t>(y) * kWidth + x] & 2u, 0u) << x << ", " << y;
    EXPECT_FALSE(AreaLabelAnchor(table, 2, mask, kWidth, kHeight, x, y)) << "no such area";
    EXPECT_FALSE(AreaLabelAnchor(table, 0, {}, kWidth, kHeight, x, y)) << "no mask yet";
    // An area wholly outside the view has no place for a label.
    AreaTable outside;
    const std::vector<int32_t> far{-50, -50, -50, -20, -20, -20};
    ASSERT_EQ(outside.Add(far.data(), 3, 0, 0, 0, 0), 0);
    BuildAreaMask(outside, kWidth, kHeight, mask);
    EXPECT_FALSE(AreaLabelAnchor(outside, 0, mask, kWidth, kHeight, x, y));
}

TEST(PolygonRaster, EqualsThePointInPolygonTestEverywhere) {
    std::mt19937 random(99);
    constexpr int kWidth = 41;
    constexpr int kHeight = 29;
    for (int round = 0; round < 3000; ++round) {
        const std::vector<int32_t> pairs = RandomPolygon(random, kWidth, kHeight);
        const int count = static_cast<int>(pairs.size() / 2);
        std::vector<uint32_t> mask(kWidth * kHeight, 0);
        RasterizePolygon(pairs.data(), count, kWidth, kHeight, 4, mask.data());
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const bool expected = IsPointInPolygonSides(y, x, pairs.data(), count) >= 0;
                ASSERT_EQ(mask[y * kWidth + x] == 4, expected)
                    << "round " << round << " pixel " << x << "," << y;
            }
        }
    }
}

TEST(AreaMask, EqualsTheReferenceForFullTables) {
    std::mt19937 random(5);
    for (int round = 0; round < 20; ++round) {
        AreaTable table;
        for (int slot = 0; slot < kAreaSlots; ++slot) {
            std::vector<int32_t> pairs = RandomPolygon(random, 90, 60);
            while (pairs.size() < 6) {
                pairs.push_back(static_cast<int32_t>(random() % 60));
            }
            table.Add(pairs.data(), static_cast<int>(pairs.size() / 2), 0, 0, 0, 0);
        }
        std::vector<uint32_t> mask;
        BuildAreaMask(table, 90, 60, mask);
        ASSERT_EQ(mask, reference::AreaMask(table, 90, 60, true)) << "round " << round;
        ASSERT_EQ(mask, reference::AreaMask(table, 90, 60, false)) << "round " << round;
    }
}

// Objects at pixel positions of a 600 x 200 top view: gate 1 = 6.25 pixels.
SectorObject At(int64_t id, double distance, double angle) {
    return SectorObject{id, distance, angle};
}

class AreaScene : public testing::Test {
protected:
    AreaScene() {
        SectorViewConfig config;
        config.topViewMode = 1;
        config.angleStart = -180;
        config.angleStop = 0;
        config.displayTimeMs = 100000;
        config.smoothCount = 1;
        scene.ApplyConfig(config);
        scene.Relayout(600, 200);
    }

    // A rectangle of fan-relative (row, column) corners.
    static std::vector<int32_t> Box(int top, int left, int bottom, int right) {
        return {top, left, top, right, bottom, right, bottom, left};
    }

    SectorScene scene;
};

TEST_F(AreaScene, BoundariesHideObjectsOutsideThemFromTheNextBatchOn) {
    Feed(scene, {At(1, 10, -90), At(2, 10, -150)}, 0);
    EXPECT_EQ(scene.CopyTracks().size(), 2u);  // no boundary: everything in the windows shows
    // Around the boresight at 10 gates: fan row 62.5, fan column 200.
    const std::vector<int32_t> box = Box(50, 180, 80, 220);
    ASSERT_EQ(scene.AddAlgorithmArea(box.data(), 4, 0, 0), 0);
    scene.RefreshMasks();
    Feed(scene, {At(1, 10, -90), At(2, 10, -150), At(3, 20, -150)}, 10);
    const std::vector<SectorTrack> tracks = scene.CopyTracks();
    ASSERT_EQ(tracks.size(), 2u);  // track 2 keeps its old point; 3 never starts
    EXPECT_EQ(tracks[0].id, 1);
    EXPECT_EQ(tracks[0].points.size(), 2u);
    EXPECT_EQ(tracks[0].boundaryIndex, 0);
    EXPECT_EQ(tracks[1].id, 2);
    EXPECT_EQ(tracks[1].points.size(), 1u);
    // Clearing the boundaries admits everything again.
    scene.ClearAlgorithmAreas();
    Feed(scene, {At(3, 20, -150)}, 20);
    EXPECT_EQ(scene.CopyTracks().size(), 3u);
}

TEST_F(AreaScene, OverlappingAreasKeepTheOneEnteredFirst) {
    // Slots 0 and 3 overlap around the boresight; 1 and 2 lie elsewhere.
    const std::vector<int32_t> left = Box(40, 100, 90, 210);
    const std::vector<int32_t> right = Box(40, 190, 90, 300);
    const std::vector<int32_t> elsewhere = Box(0, 0, 10, 10);
    ASSERT_EQ(scene.AddMonitorArea(left.data(), 4, 0, 0), 0);
    ASSERT_EQ(scene.AddMonitorArea(elsewhere.data(), 4, 0, 0), 1);
    ASSERT_EQ(scene.AddMonitorArea(elsewhere.data(), 4, 0, 0), 2);
    ASSERT_EQ(scene.AddMonitorArea(right.data(), 4, 0, 0), 3);
    scene.RefreshMasks();
    // 10 gates at -70 degrees: 62.5 pixels out, about 21 right of the boresight (column 221):
    // only area 3.
    Feed(scene, {At(7, 10, -70)}, 0);
    EXPECT_EQ(scene.CopyTracks()[0].monitorIndex, 3);
    Feed(scene, {At(7, 10, -90)}, 1);  // column 200: inside both
    EXPECT_EQ(scene.CopyTracks()[0].monitorIndex, 3);
    Feed(scene, {At(7, 10, -110)}, 2);  // column 179: only area 0
    EXPECT_EQ(scene.CopyTracks()[0].monitorIndex, 0);
    Feed(scene, {At(7, 10, -90)}, 3);  // back into the overlap: stays with 0
    EXPECT_EQ(scene.CopyTracks()[0].monitorIndex, 0);
    Feed(scene, {At(8, 10, -90)}, 4);  // a new track in the overlap takes the lowest slot
    EXPECT_EQ(scene.CopyTracks()[0].monitorIndex, 0);
    Feed(scene, {At(8, 25, -90)}, 5);  // outside every area
    EXPECT_EQ(scene.CopyTracks()[0].monitorIndex, -1);
}

TEST_F(AreaScene, ABoundaryCoveringNoPixelAdmitsNothing) {
    const std::vector<int32_t> everything = Box(-1000, -1000, 1000, 1000);
    ASSERT_EQ(scene.AddAlgorithmArea(everything.data(), 4, 0, 0), 0);
    scene.RefreshMasks();
    Feed(scene, {At(1, 31, -180)}, 0);  // the fan's far left corner: inside the boundary
    EXPECT_EQ(scene.CopyTracks().size(), 1u);
    scene.ClearAlgorithmAreas();
    const std::vector<int32_t> beyond = Box(5000, 5000, 6000, 6000);
    ASSERT_EQ(scene.AddAlgorithmArea(beyond.data(), 4, 0, 0), 0);
    scene.RefreshMasks();
    Feed(scene, {At(2, 10, -90), At(1, 31, -180)}, 1);
    const std::vector<SectorTrack> tracks = scene.CopyTracks();
    ASSERT_EQ(tracks.size(), 1u);
    EXPECT_EQ(tracks[0].points.size(), 1u);
}

}  // namespace
}  // namespace zuvo::sector
