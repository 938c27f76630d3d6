// The portable area fill: which pixels a polygon's fill covers, and the colour the brush gives
// them. That it equals the window's GDI+ fill is checked under Wine (pixel_fill_wintest.cpp).
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SceneFeeding.h"
#include "sectorview/Argb.h"
#include "sectorview/PixelAreaPainter.h"
#include "sectorview/PolygonRaster.h"

namespace zuvo::sector {
namespace {

__extension__ typedef __int128 Int128;

std::string Picture(const std::vector<int32_t>& pairs, int width, int height) {
    std::vector<FillSpan> spans;
    CoveredSpans(pairs.data(), static_cast<int>(pairs.size() / 2), width, height, spans);
    std::string rows(static_cast<size_t>(width + 1) * height, '.');
    for (int y = 0; y < height; ++y) {
        rows[static_cast<size_t>(y) * (width + 1) + width] = '\n';
    }
    for (const FillSpan& span : spans) {
        for (int x = span.from; x < span.to; ++x) {
            rows[static_cast<size_t>(span.y) * (width + 1) + x] = '#';
        }
    }
    return rows;
}

TEST(AreaFillSpans, CoverLeftAndTopEdgesButNotRightAndBottom) {
    // A rectangle with corners (row 1, column 1) and (row 4, column 6).
    EXPECT_EQ(Picture({1, 1, 1, 6, 4, 6, 4, 1}, 8, 6),
              "........\n"
              ".#####..\n"
              ".#####..\n"
              ".#####..\n"
              "........\n"
              "........\n");
    // Two rectangles sharing the edge at column 4: together they cover it once.
    EXPECT_EQ(Picture({0, 1, 0, 4, 3, 4, 3, 1}, 8, 4) + Picture({0, 4, 0, 7, 3, 7, 3, 4}, 8, 4),
              ".###....\n"
              ".###....\n"
              ".###....\n"
              "........\n"
              "....###.\n"
              "....###.\n"
              "....###.\n"
              "........\n");
    // A triangle: on each row from the column at or right of the left edge to the one left of
    // the right edge; its apex row has no width, and its last row is never covered.
    EXPECT_EQ(Picture({0, 4, 6, 10, 6, 0}, 11, 7),
              "...........\n"
              "....#......\n"
              "...###.....\n"
              "..#####....\n"
              "..######...\n"
              ".########..\n"
              "...........\n");
    // A five-pointed star drawn in one stroke keeps its middle empty. Its top point has no
    // width on its first row; on row 6 the crossings pair up at the same columns.
    EXPECT_EQ(Picture({0, 6, 10, 10, 4, 0, 4, 12, 10, 2}, 13, 11),
              ".............\n"
              "......#......\n"
              "......#......\n"
              ".....###.....\n"
              "#####...####.\n"
              "..##....###..\n"
              ".............\n"
              "....#..##....\n"
              "...###.###...\n"
              "...#.....#...\n"
              ".............\n");
}

// The rule at one pixel, straight from its definition: the edges whose rows [top, bottom) hold
// y and whose crossing of row y lies at or left of x, counted for parity.
bool CoveredAt(const std::vector<int32_t>& pairs, int x, int y) {
    const size_t count = pairs.size() / 2;
    bool inside = false;
    for (size_t i = 0; i < count; ++i) {
        const size_t j = (i + 1) % count;
        int64_t r1 = pairs[2 * i];
        int64_t c1 = pairs[2 * i + 1];
        int64_t r2 = pairs[2 * j];
        int64_t c2 = pairs[2 * j + 1];
        if (r1 == r2) {
            continue;
        }
        if (r1 > r2) {
            std::swap(r1, r2);
            std::swap(c1, c2);
        }
        if (y < r1 || y >= r2) {
            continue;
        }
        // c1 + (y - r1) (c2 - c1) / (r2 - r1) <= x
        if (Int128{c1} * (r2 - r1) + Int128{y - r1} * (c2 - c1) <= Int128{x} * (r2 - r1)) {
            inside = !inside;
        }
    }
    return inside;
}

TEST(AreaFillSpans, EqualTheRuleAtEveryPixel) {
    std::mt19937 random(31);
    constexpr int kWidth = 37;
    constexpr int kHeight = 23;
    std::vector<FillSpan> spans;
    for (int round = 0; round < 3000; ++round) {
        const std::vector<int32_t> pairs = support::RandomPolygon(random, kWidth, kHeight);
        CoveredSpans(pairs.data(), static_cast<int>(pairs.size() / 2), kWidth, kHeight, spans);
        std::vector<bool> covered(kWidth * kHeight, false);
        int lastY = -1;
        int lastTo = 0;
        for (const FillSpan& span : spans) {
            ASSERT_TRUE(span.y > lastY || (span.y == lastY && span.from >= lastTo))
                << "spans in order, round " << round;
            ASSERT_TRUE(0 <= span.y && span.y < kHeight && 0 <= span.from && span.from < span.to &&
                        span.to <= kWidth);
            for (int x = span.from; x < span.to; ++x) {
                covered[span.y * kWidth + x] = true;
            }
            lastY = span.y;
            lastTo = span.to;
        }
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                ASSERT_EQ(covered[y * kWidth + x], CoveredAt(pairs, x, y))
                    << "round " << round << " pixel " << x << "," << y;
            }
        }
    }
}

TEST(PixelAreaPainter, FillsInSlotOrderRoundingEachTermAndKeepingTheAlpha) {
    // Each term rounded on its own: 0x80 x 128 / 255 gives 64, 3 x 127 / 255 gives 1; the
    // exact sum, 65.75, would round to 66.
    EXPECT_EQ(BrushChannel(0x80, 3), 65u);
    EXPECT_EQ(BrushChannel(255, 255), 255u);
    EXPECT_EQ(BrushChannel(0, 0), 0u);

    constexpr int kWidth = 6;
    constexpr int kHeight = 3;
    std::vector<uint32_t> pixels(kWidth * kHeight, 0x40800310u);
    AreaTable table;
    const int32_t left[] = {0, 0, 0, 4, 2, 4, 2, 0};   // rows 0 ... 1, columns 0 ... 3
    const int32_t right[] = {0, 2, 0, 6, 1, 6, 1, 2};  // row 0, columns 2 ... 5
    // COLORREF values: red 0x03 and 0xFF.
    ASSERT_EQ(table.Add(left, 4, 0x00000003, 0x00FF0000, 0, 0), 0);
    ASSERT_EQ(table.Add(right, 4, 0x00000000, 0x000000FF, 0, 0), 1);
    PixelAreaPainter(pixels.data(), kWidth, kHeight).PaintAreas(table, 0b10);
    const uint32_t once =
        MakeArgb(0x40, BrushChannel(0x80, 3), BrushChannel(0x03, 0), BrushChannel(0x10, 0));
    EXPECT_EQ(once, 0x40410208u);
    const uint32_t overRight =
        MakeArgb(0x40, BrushChannel(0x80, 0xFF), BrushChannel(0x03, 0), BrushChannel(0x10, 0));
    const uint32_t twice = MakeArgb(0x40, BrushChannel(RedOf(once), 0xFF),
                                    BrushChannel(GreenOf(once), 0), BrushChannel(BlueOf(once), 0));
    const std::vector<uint32_t> expected{
        once,        once,        twice,       twice,       overRight,   overRight,
        once,        once,        once,        once,        0x40800310u, 0x40800310u,
        0x40800310u, 0x40800310u, 0x40800310u, 0x40800310u, 0x40800310u, 0x40800310u};
    EXPECT_EQ(pixels, expected);
}

}  // namespace
}  // namespace zuvo::sector
