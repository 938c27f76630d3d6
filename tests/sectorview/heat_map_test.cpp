// The heat map's counting rules: which cell a position falls in, the ramp and its scale, which
// tiles it reports as changed, and where the counts go when the view is laid out anew.
#include <array>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "sectorview/DirtyTiles.h"
#include "sectorview/HeatMap.h"
#include "sectorview/SectorGeometry.h"

namespace zuvo::sector {
namespace {

SectorGeometry Layout(int width, int height, int originX, int originY, double pixelsPerGate,
                      bool topView = true) {
    SectorGeometry geometry;
    geometry.width = width;
    geometry.height = height;
    geometry.originX = originX;
    geometry.originY = originY;
    geometry.pixelsPerGate = pixelsPerGate;
    geometry.topView = topView;
    return geometry;
}

using Rect = std::array<int, 4>;  // left, top, right, bottom

// The rectangle of each run of marked tiles.
std::vector<Rect> MarkedRects(const DirtyTiles& tiles) {
    std::vector<Rect> rects;
    tiles.ForEachRect([&](const ZRect& r) { rects.push_back({r.left, r.top, r.right, r.bottom}); });
    return rects;
}

TEST(HeatMap, LevelsRiseLogarithmicallyToTheScale) {
    struct Row {
        uint32_t count;
        uint32_t scale;
        int level;
    };
    for (const Row& row :
         {Row{0, 16, 0}, Row{1, 16, 1}, Row{2, 16, 64}, Row{4, 16, 128}, Row{8, 16, 191},
          Row{16, 16, 255}, Row{17, 16, 255}, Row{4, 256, 64}, Row{1, 1, 255}, Row{0, 1, 0}}) {
        EXPECT_EQ(HeatMap::LevelOf(row.count, row.scale), row.level)
            << row.count << " of " << row.scale;
    }
    int before = 0;
    for (uint32_t count = 1; count <= 1024; ++count) {
        const int level = HeatMap::LevelOf(count, 1024);
        EXPECT_GE(level, before) << count;
        before = level;
    }
    // The ramp: nothing for an empty cell, blue and faint at the bottom, red and strongest at
    // the top, the weight never falling.
    EXPECT_EQ(HeatMap::RampColour(0), 0u);
    EXPECT_EQ(HeatMap::RampColour(1), 0x682860FFu);
    EXPECT_EQ(HeatMap::RampColour(255), 0xD0FF2000u);
    for (int level = 2; level < 256; ++level) {
        EXPECT_GE(HeatMap::RampColour(static_cast<uint8_t>(level)) >> 24,
                  HeatMap::RampColour(static_cast<uint8_t>(level - 1)) >> 24);
    }
}

TEST(HeatMap, CountsEachPositionInTheCellItRoundsInto) {
    HeatMap heat;
    heat.Relayout(Layout(130, 21, 65, 0, 4.0));
    EXPECT_EQ(heat.Columns(), 33);  // the last cell two pixels wide
    EXPECT_EQ(heat.Rows(), 6);      // the last one pixel high
    heat.Add({3.4, 0.0});           // pixel 3: cell 0
    heat.Add({3.6, 0.0});           // pixel 4: cell 1
    heat.Add({129.4, 20.4});        // the last pixel: the last cell
    heat.Add({-0.6, 5.0});          // pixel -1: outside
    heat.Add({130.0, 5.0});         // pixel 130: outside
    heat.Add({5.0, 1e300});         // far outside
    heat.Add({std::nan(""), 1.0});
    EXPECT_EQ(heat.Count(0, 0), 1u);
    EXPECT_EQ(heat.Count(1, 0), 1u);
    EXPECT_EQ(heat.Count(32, 5), 1u);
    EXPECT_EQ(heat.Total(), 3u);
    EXPECT_EQ(heat.Count(-1, 0), 0u);
    EXPECT_EQ(heat.Level(33, 0), 0);
    heat.Clear();
    EXPECT_EQ(heat.Total(), 0u);
    EXPECT_EQ(heat.Count(1, 0), 0u);
    EXPECT_EQ(heat.Level(1, 0), 0);
}

TEST(HeatMap, ReportsOnlyTheTilesWhoseColoursChanged) {
    HeatMap heat;
    heat.Relayout(Layout(256, 32, 128, 0, 4.0));
    DirtyTiles tiles;
    tiles.Reset(256, 32);
    tiles.UnmarkAll();
    heat.TakeChanges(tiles);  // a new layout: every tile
    EXPECT_EQ(MarkedRects(tiles).size(), 4u);
    tiles.UnmarkAll();
    heat.TakeChanges(tiles);
    EXPECT_FALSE(tiles.AnyMarked());

    heat.Add({70.0, 9.0});  // tile (1, 1)
    heat.TakeChanges(tiles);
    EXPECT_EQ(MarkedRects(tiles), (std::vector<Rect>{{64, 8, 128, 16}}));
    tiles.UnmarkAll();
    // 16 positions in one cell stay within the first scale; the 17th doubles it, which
    // changes every colour.
    for (int i = 1; i < 16; ++i) {
        heat.Add({200.0, 30.0});
    }
    heat.TakeChanges(tiles);
    EXPECT_EQ(MarkedRects(tiles), (std::vector<Rect>{{192, 24, 256, 32}}));
    EXPECT_EQ(heat.Level(50, 7), HeatMap::LevelOf(15, 16));
    tiles.UnmarkAll();
    heat.Add({200.0, 30.0});
    heat.Add({200.0, 30.0});
    EXPECT_EQ(heat.Scale(), 32u);
    EXPECT_EQ(heat.Level(50, 7), HeatMap::LevelOf(17, 32));
    EXPECT_EQ(heat.Level(17, 2), HeatMap::LevelOf(1, 32));
    heat.TakeChanges(tiles);
    EXPECT_EQ(MarkedRects(tiles).size(), 4u);
    tiles.UnmarkAll();
    heat.Clear();
    heat.TakeChanges(tiles);
    EXPECT_EQ(MarkedRects(tiles).size(), 4u);
    EXPECT_EQ(heat.Scale(), HeatMap::kMinScale);
}

TEST(HeatMap, ANewLayoutKeepsEveryCountWhereItsPositionLiesNow) {
    HeatMap heat;
    heat.Relayout(Layout(200, 100, 100, 0, 5.0));
    heat.Add({100.0, 50.0});  // 10 gates straight out: cell (25, 12), centre (102, 50)
    heat.Add({100.0, 50.0});
    heat.Add({21.0, 2.0});  // cell (5, 0), centre (22, 2)
    heat.Add({190.0, 90.0});
    // Twice the size, twice the scale: the centres move to (204, 100) and (44, 4).
    heat.Relayout(Layout(400, 200, 200, 0, 10.0));
    EXPECT_EQ(heat.Count(51, 25), 2u);
    EXPECT_EQ(heat.Count(11, 1), 1u);
    EXPECT_EQ(heat.Count(95, 45), 1u);  // (380, 180)
    EXPECT_EQ(heat.Total(), 4u);
    // Mirrored (the sensor at the bottom): the rows flip about the origin.
    heat.Relayout(Layout(400, 200, 200, 199, 10.0, false));
    EXPECT_EQ(heat.Count(51, 24), 2u);  // (206, 199 - 102 + 0) = (206, 97)
    EXPECT_EQ(heat.Total(), 4u);
    // A quarter of the scale in a view too narrow for the one at (96, 4): it is dropped.
    heat.Relayout(Layout(60, 50, 50, 49, 2.5, false));
    EXPECT_EQ(heat.Count(13, 6), 2u);  // (52, 24)
    EXPECT_EQ(heat.Count(3, 12), 1u);  // (12, 48)
    EXPECT_EQ(heat.Total(), 3u);
    // A layout without a scale holds nothing.
    heat.Relayout(Layout(100, 50, 50, 49, 0.0, false));
    EXPECT_EQ(heat.Total(), 0u);
}

TEST(HeatMap, BlendsInsideTheBoxAndTheFanOnly) {
    constexpr int kWidth = 16;
    constexpr int kHeight = 8;
    HeatMap heat;
    heat.Relayout(Layout(kWidth, kHeight, 8, 0, 1.0));
    heat.Add({1.0, 1.0});   // cell (0, 0)
    heat.Add({13.0, 5.0});  // cell (3, 1)
    std::vector<uint8_t> mask(kWidth * kHeight, 1);
    mask[2 * kWidth + 2] = 0;  // one pixel of cell (0, 0) lies outside the fan
    std::vector<uint32_t> pixels(kWidth * kHeight, 0xFF000000u);
    heat.Blend(pixels.data(), mask.data(), ZRect{0, 0, 14, kHeight});
    auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y) * kWidth + x]; };
    const uint32_t hot = at(0, 0);
    EXPECT_NE(hot, 0xFF000000u);
    EXPECT_EQ(at(3, 3), hot);
    EXPECT_EQ(at(2, 2), 0xFF000000u);   // outside the fan
    EXPECT_EQ(at(4, 0), 0xFF000000u);   // an empty cell
    EXPECT_EQ(at(13, 5), hot);          // the same count, the same colour
    EXPECT_EQ(at(14, 5), 0xFF000000u);  // beyond the box
}

// The heat layer is restored before the fills' underlay, and that before the background.
TEST(DirtyTiles, RestoresFromTheOverlayFirst) {
    constexpr int kWidth = 192;
    constexpr int kHeight = 8;
    const std::vector<uint32_t> background(kWidth * kHeight, 1);
    const std::vector<uint32_t> underlay(kWidth * kHeight, 2);
    const std::vector<uint32_t> overlay(kWidth * kHeight, 3);
    DirtyTiles under;
    under.Reset(kWidth, kHeight);
    under.UnmarkAll();
    under.Mark(ZRect{64, 0, 192, 8});
    DirtyTiles over;
    over.Reset(kWidth, kHeight);
    over.UnmarkAll();
    over.Mark(ZRect{128, 0, 129, 1});
    DirtyTiles drawn;
    drawn.Reset(kWidth, kHeight);
    std::vector<uint32_t> frame(kWidth * kHeight, 0);
    drawn.Restore(TileSources{background.data(), underlay.data(), &under, overlay.data(), &over},
                  frame.data());
    EXPECT_EQ(frame[0], 1u);
    EXPECT_EQ(frame[64], 2u);
    EXPECT_EQ(frame[191 + 7 * kWidth], 3u);
    // Tiles of another frame never choose a source.
    DirtyTiles other;
    other.Reset(kWidth * 2, kHeight);
    drawn.MarkAll();
    drawn.Restore(TileSources{background.data(), nullptr, nullptr, overlay.data(), &other},
                  frame.data());
    EXPECT_EQ(frame, background);
    // Union and intersection.
    over.MarkUnion(under);
    EXPECT_EQ(MarkedRects(over), (std::vector<Rect>{{64, 0, 192, 8}}));
    over.UnmarkAll();
    over.Mark(ZRect{0, 0, 100, 8});
    over.KeepIntersection(under);
    EXPECT_EQ(MarkedRects(over), (std::vector<Rect>{{64, 0, 128, 8}}));
}

}  // namespace
}  // namespace zuvo::sector
