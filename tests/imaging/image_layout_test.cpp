// Geometry of resizing, cropping, fitting, centring and tiling, by tables of exact boxes.
#include <climits>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/ImageLayout.h"

namespace zuvo::imaging {

void PrintTo(const Box& box, std::ostream* out) {
    *out << "(" << box.x << ", " << box.y << ", " << box.width << " x " << box.height << ")";
}

namespace {

struct ResizeCase {
    const char* name;
    int sourceWidth, sourceHeight, width, height, mode;
    bool made;
    int outputWidth, outputHeight;
    Box source;
};

void PrintTo(const ResizeCase& c, std::ostream* out) {
    *out << c.name;
}

class ResizeTable : public testing::TestWithParam<ResizeCase> {};

TEST_P(ResizeTable, GivesSizeAndSourceBox) {
    const ResizeCase& c = GetParam();
    ResizePlan plan{-1, -1, Box{-1, -1, -1, -1}};
    ASSERT_EQ(PlanResize(c.sourceWidth, c.sourceHeight, c.width, c.height, c.mode, &plan), c.made);
    if (c.made) {
        EXPECT_EQ(plan.outputWidth, c.outputWidth);
        EXPECT_EQ(plan.outputHeight, c.outputHeight);
        EXPECT_EQ(plan.source, c.source);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ResizeTable,
    testing::Values(
        // 200 x 100 towards 100 x 100 in every mode.
        ResizeCase{"Stretch", 200, 100, 100, 100, ResizeStretch, true, 100, 100, {0, 0, 200, 100}},
        ResizeCase{"Fit", 200, 100, 100, 100, ResizeFit, true, 100, 50, {0, 0, 200, 100}},
        ResizeCase{"Fill", 200, 100, 100, 100, ResizeFill, true, 200, 100, {0, 0, 200, 100}},
        ResizeCase{"ByWidth", 200, 100, 100, 100, ResizeByWidth, true, 100, 50, {0, 0, 200, 100}},
        ResizeCase{
            "ByHeight", 200, 100, 100, 100, ResizeByHeight, true, 200, 100, {0, 0, 200, 100}},
        ResizeCase{"UnknownMode", 200, 100, 100, 100, 5, false, 0, 0, {}},
        ResizeCase{"NegativeMode", 200, 100, 100, 100, -1, false, 0, 0, {}},
        // 10 x 7 fitted to width 4: 7 x 0.4 = 2.8 rows become 2, and half of the 2 source
        // rows left over are skipped at the top.
        ResizeCase{"FitCentresTruncation", 10, 7, 4, 100, ResizeFit, true, 4, 2, {0, 1, 10, 7}},
        // Nothing for empty sizes, nor for results that would not fit an int.
        ResizeCase{"ZeroWidth", 200, 100, 0, 100, ResizeStretch, false, 0, 0, {}},
        ResizeCase{"NegativeHeight", 200, 100, 100, -5, ResizeFit, false, 0, 0, {}},
        ResizeCase{"EmptySource", 0, 100, 100, 100, ResizeFit, false, 0, 0, {}},
        ResizeCase{"Overflow", 1, 1000, 2000000000, 1, ResizeFill, false, 0, 0, {}},
        // Scaled to nothing: 1000 x 1 fitted into 100 x 100 has no rows.
        ResizeCase{"ScaledToNothing", 1000, 1, 100, 100, ResizeFit, false, 0, 0, {}}),
    [](const testing::TestParamInfo<ResizeCase>& param) { return param.param.name; });

TEST(CropToFill, TakesTheCentredPartWithTheTargetsShape) {
    Box region{};
    ASSERT_TRUE(CropToFill(Box{0, 0, 400, 300}, 100, 100, &region));
    EXPECT_EQ(region, (Box{50, 0, 300, 300}));
    ASSERT_TRUE(CropToFill(Box{10, 20, 400, 300}, 100, 100, &region));
    EXPECT_EQ(region, (Box{60, 20, 300, 300}));
    ASSERT_TRUE(CropToFill(Box{0, 0, 300, 400}, 200, 100, &region));
    EXPECT_EQ(region, (Box{0, 125, 300, 150}));
    // Same shape: the whole source.
    ASSERT_TRUE(CropToFill(Box{0, 0, 30, 20}, 60, 40, &region));
    EXPECT_EQ(region, (Box{0, 0, 30, 20}));
}

TEST(CropToFill, RefusesEmptyInputAndCropsOfNothing) {
    Box region{};
    EXPECT_FALSE(CropToFill(Box{0, 0, 0, 300}, 100, 100, &region));
    EXPECT_FALSE(CropToFill(Box{0, 0, 400, 300}, 0, 100, &region));
    EXPECT_FALSE(CropToFill(Box{0, 0, 100, 1}, 1, 1000, &region));
}

TEST(FitInside, CentresTheLargestBoxOfTheSourceShape) {
    Box fitted{};
    ASSERT_TRUE(FitInside(Box{0, 0, 200, 100}, Box{10, 10, 100, 100}, &fitted));
    EXPECT_EQ(fitted, (Box{10, 35, 100, 50}));
    ASSERT_TRUE(FitInside(Box{0, 0, 50, 100}, Box{0, 0, 100, 100}, &fitted));
    EXPECT_EQ(fitted, (Box{25, 0, 50, 100}));
    // Smaller sources are scaled up.
    ASSERT_TRUE(FitInside(Box{0, 0, 10, 10}, Box{0, 0, 100, 60}, &fitted));
    EXPECT_EQ(fitted, (Box{20, 0, 60, 60}));
    EXPECT_FALSE(FitInside(Box{0, 0, 10, 10}, Box{0, 0, 0, 60}, &fitted));
}

TEST(CentreUnscaled, PlacesSmallSourcesAndCutsLargeOnes) {
    Placement placement{};
    ASSERT_TRUE(CentreUnscaled(Box{0, 0, 50, 50}, Box{100, 100, 100, 100}, &placement));
    EXPECT_EQ(placement.source, (Box{0, 0, 50, 50}));
    EXPECT_EQ(placement.target, (Box{125, 125, 50, 50}));

    ASSERT_TRUE(CentreUnscaled(Box{0, 0, 150, 150}, Box{100, 100, 100, 100}, &placement));
    EXPECT_EQ(placement.source, (Box{25, 25, 100, 100}));
    EXPECT_EQ(placement.target, (Box{100, 100, 100, 100}));

    // Wider but lower: cut horizontally, placed vertically.
    ASSERT_TRUE(CentreUnscaled(Box{5, 5, 150, 50}, Box{0, 0, 100, 100}, &placement));
    EXPECT_EQ(placement.source, (Box{30, 5, 100, 50}));
    EXPECT_EQ(placement.target, (Box{0, 25, 100, 50}));
}

TEST(CentreTopLeftPart, KeepsTheTopLeftCornerAndCentresIt) {
    Placement placement{};
    ASSERT_TRUE(CentreTopLeftPart(Box{0, 0, 30, 20}, Box{0, 0, 100, 100}, &placement));
    EXPECT_EQ(placement.source, (Box{0, 0, 30, 20}));
    EXPECT_EQ(placement.target, (Box{35, 40, 30, 20}));

    ASSERT_TRUE(CentreTopLeftPart(Box{4, 6, 150, 50}, Box{10, 10, 100, 100}, &placement));
    EXPECT_EQ(placement.source, (Box{4, 6, 100, 50}));
    EXPECT_EQ(placement.target, (Box{10, 35, 100, 50}));
}

// Paints every tile's target with its own letter: the picture shows that the tiles cover
// the target exactly once, and where each one is cut.
std::vector<std::string> PaintTiles(const TileGrid& grid, int canvasWidth, int canvasHeight) {
    std::vector<std::string> canvas(static_cast<size_t>(canvasHeight),
                                    std::string(static_cast<size_t>(canvasWidth), '.'));
    char letter = 'a';
    for (int row = 0; row < grid.Rows(); ++row) {
        for (int column = 0; column < grid.Columns(); ++column, ++letter) {
            const Placement tile = grid.Tile(column, row);
            EXPECT_EQ(tile.source.x, 0);
            EXPECT_EQ(tile.source.y, 0);
            EXPECT_EQ(tile.source.width, tile.target.width) << "tiles are never scaled";
            EXPECT_EQ(tile.source.height, tile.target.height);
            for (int y = tile.target.y; y < tile.target.y + tile.target.height; ++y) {
                for (int x = tile.target.x; x < tile.target.x + tile.target.width; ++x) {
                    char& cell = canvas[static_cast<size_t>(y)][static_cast<size_t>(x)];
                    cell = cell == '.' ? letter : '!';
                }
            }
        }
    }
    return canvas;
}

TEST(TileGrid, CoversTheTargetOnceWithCutLastColumnAndRow) {
    const TileGrid grid(Box{0, 0, 3, 2}, Box{1, 1, 8, 5});
    EXPECT_EQ(grid.Columns(), 3);
    EXPECT_EQ(grid.Rows(), 3);
    const std::vector<std::string> expected = {
        "..........",  //
        ".aaabbbcc.",  //
        ".aaabbbcc.",  //
        ".dddeeeff.",  //
        ".dddeeeff.",  //
        ".ggghhhii.",  //
        "..........",
    };
    EXPECT_EQ(PaintTiles(grid, 10, 7), expected);
}

TEST(TileGrid, ThirtyByTwentyIntoAHundredByFifty) {
    const TileGrid grid(Box{0, 0, 30, 20}, Box{10, 10, 100, 50});
    ASSERT_EQ(grid.Columns(), 4);
    ASSERT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.Tile(0, 0), (Placement{Box{0, 0, 30, 20}, Box{10, 10, 30, 20}}));
    EXPECT_EQ(grid.Tile(3, 0), (Placement{Box{0, 0, 10, 20}, Box{100, 10, 10, 20}}));
    EXPECT_EQ(grid.Tile(3, 2), (Placement{Box{0, 0, 10, 10}, Box{100, 50, 10, 10}}));
}

TEST(TileGrid, ExactMultiplesAndEmptyBoxes) {
    const TileGrid exact(Box{0, 0, 25, 25}, Box{0, 0, 100, 50});
    EXPECT_EQ(exact.Columns(), 4);
    EXPECT_EQ(exact.Rows(), 2);
    EXPECT_EQ(exact.Tile(3, 1).target, (Box{75, 25, 25, 25}));
    const TileGrid none(Box{0, 0, 0, 20}, Box{0, 0, 100, 50});
    EXPECT_EQ(none.Columns() * none.Rows(), 0);
    const TileGrid noTarget(Box{0, 0, 20, 20}, Box{0, 0, 100, 0});
    EXPECT_EQ(noTarget.Columns() * noTarget.Rows(), 0);
}

TEST(BoxFromRect, TakesNonEmptyRectanglesThatFit) {
    Box box{};
    ASSERT_TRUE(BoxFromRect(ZRect{10, 20, 110, 60}, &box));
    EXPECT_EQ(box, (Box{10, 20, 100, 40}));
    EXPECT_FALSE(BoxFromRect(ZRect{10, 20, 10, 60}, &box));
    EXPECT_FALSE(BoxFromRect(ZRect{10, 20, 5, 60}, &box));
    EXPECT_FALSE(BoxFromRect(ZRect{INT_MIN, 0, INT_MAX, 10}, &box)) << "width overflows";
    ASSERT_TRUE(BoxFromRect(ZRect{-5, -5, INT_MAX - 5, 5}, &box));
    EXPECT_EQ(box.width, INT_MAX);
}

}  // namespace
}  // namespace zuvo::imaging
