// The main window's area drawing without the window: which clicks become points, the
// 1000-point limit, what a closed polygon hands back, and the feedback marks.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/AreaDrawing.h"

namespace {

using zuvo::app::AreaDrawing;

// A sector rectangle away from the view's origin, so that the offsets show.
constexpr ZRect kSector{10, 20, 110, 70};

struct ClickCase {
    const char* name;
    AreaDrawing::Point inView;
    bool added;
    int32_t row;
    int32_t column;
};

void PrintTo(const ClickCase& click, std::ostream* out) {
    *out << click.name;
}

class SectorEdges : public testing::TestWithParam<ClickCase> {};

TEST_P(SectorEdges, LeftAndTopEdgesAreInsideRightAndBottomAreNot) {
    const ClickCase& click = GetParam();
    AreaDrawing drawing;
    drawing.Begin(AreaDrawing::kMonitorArea);
    EXPECT_EQ(drawing.AddPoint(click.inView, kSector), click.added);
    ASSERT_EQ(drawing.PointCount(), click.added ? 1u : 0u);
    if (click.added) {
        const uint64_t packed = drawing.PackedPoints().front();
        EXPECT_EQ(AreaDrawing::PackedRow(packed), click.row);
        EXPECT_EQ(AreaDrawing::PackedColumn(packed), click.column);
    }
}

INSTANTIATE_TEST_SUITE_P(Clicks, SectorEdges,
                         testing::Values(ClickCase{"TopLeftCorner", {10, 20}, true, 0, 0},
                                         ClickCase{"LastPixelInside", {109, 69}, true, 49, 99},
                                         ClickCase{"Middle", {60, 45}, true, 25, 50},
                                         ClickCase{"RightEdge", {110, 45}, false, 0, 0},
                                         ClickCase{"BottomEdge", {60, 70}, false, 0, 0},
                                         ClickCase{"LeftOfTheSector", {9, 45}, false, 0, 0},
                                         ClickCase{"AboveTheSector", {60, 19}, false, 0, 0},
                                         ClickCase{"OutsideTheView", {-5, -5}, false, 0, 0}),
                         [](const testing::TestParamInfo<ClickCase>& click) {
                             return std::string(click.param.name);
                         });

TEST(AreaDrawing, OnlyTheTwoDrawingModesCollectPoints) {
    AreaDrawing drawing;
    EXPECT_FALSE(drawing.IsDrawing());
    EXPECT_FALSE(drawing.AddPoint({50, 40}, kSector)) << "idle";

    for (const int mode : {AreaDrawing::kMonitorArea, AreaDrawing::kDetectionBoundary}) {
        drawing.Begin(mode);
        EXPECT_EQ(drawing.Mode(), mode);
        EXPECT_TRUE(drawing.AddPoint({50, 40}, kSector));
    }
    for (const int mode : {AreaDrawing::kNotDrawing, 3, -1}) {
        drawing.Begin(mode);
        EXPECT_EQ(drawing.Mode(), AreaDrawing::kNotDrawing) << mode;
        EXPECT_EQ(drawing.PointCount(), 0u) << mode;
        EXPECT_FALSE(drawing.AddPoint({50, 40}, kSector)) << mode;
    }
}

TEST(AreaDrawing, BeginningAgainDiscardsThePolygonUnderWay) {
    AreaDrawing drawing;
    drawing.Begin(AreaDrawing::kMonitorArea);
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(drawing.AddPoint({20 + i, 30}, kSector));
        drawing.NextMark({100 + i, 200});
    }
    drawing.Begin(AreaDrawing::kDetectionBoundary);
    EXPECT_EQ(drawing.Mode(), AreaDrawing::kDetectionBoundary);
    EXPECT_EQ(drawing.PointCount(), 0u);
    EXPECT_FALSE(drawing.NextMark({300, 300}).joined) << "the old marks are not joined on";
}

TEST(AreaDrawing, ClosingHandsBackThePointsInClickOrderAsRowColumnPairs) {
    AreaDrawing drawing;
    drawing.Begin(AreaDrawing::kDetectionBoundary);
    ASSERT_TRUE(drawing.AddPoint({30, 40}, kSector));
    ASSERT_FALSE(drawing.AddPoint({200, 40}, kSector));
    ASSERT_TRUE(drawing.AddPoint({100, 21}, kSector));
    ASSERT_TRUE(drawing.AddPoint({11, 69}, kSector));

    const AreaDrawing::Polygon polygon = drawing.Close();
    EXPECT_EQ(polygon.mode, AreaDrawing::kDetectionBoundary);
    EXPECT_EQ(polygon.rowColumnPairs, (std::vector<int32_t>{20, 20, 1, 90, 49, 1}));
    EXPECT_FALSE(drawing.IsDrawing());
    EXPECT_EQ(drawing.PointCount(), 0u);
    EXPECT_FALSE(drawing.AddPoint({30, 40}, kSector)) << "drawing ended";
}

TEST(AreaDrawing, FewerThanThreePointsCloseToNothingButStillEndDrawing) {
    for (int points = 0; points <= 2; ++points) {
        AreaDrawing drawing;
        drawing.Begin(AreaDrawing::kMonitorArea);
        for (int i = 0; i < points; ++i) {
            ASSERT_TRUE(drawing.AddPoint({20 + i, 30}, kSector));
        }
        const AreaDrawing::Polygon polygon = drawing.Close();
        EXPECT_TRUE(polygon.rowColumnPairs.empty()) << points;
        EXPECT_EQ(drawing.Mode(), AreaDrawing::kNotDrawing) << points;
        EXPECT_EQ(drawing.PointCount(), 0u) << points;
    }
    AreaDrawing idle;
    EXPECT_TRUE(idle.Close().rowColumnPairs.empty());
}

TEST(AreaDrawing, AThousandPointsFillThePolygonAndStillClose) {
    const ZRect wide{0, 0, 2000, 10};
    AreaDrawing drawing;
    drawing.Begin(AreaDrawing::kMonitorArea);
    for (int32_t i = 0; i < 1000; ++i) {
        ASSERT_TRUE(drawing.AddPoint({i, i % 10}, wide)) << i;
    }
    EXPECT_FALSE(drawing.AddPoint({1500, 5}, wide));
    EXPECT_EQ(drawing.PointCount(), AreaDrawing::kMaxPoints);

    const AreaDrawing::Polygon polygon = drawing.Close();
    ASSERT_EQ(polygon.rowColumnPairs.size(), 2000u);
    EXPECT_EQ(polygon.rowColumnPairs[0], 0);
    EXPECT_EQ(polygon.rowColumnPairs[1], 0);
    EXPECT_EQ(polygon.rowColumnPairs[1998], 999 % 10);
    EXPECT_EQ(polygon.rowColumnPairs[1999], 999);
}

TEST(AreaDrawing, MarksJoinEachClickToThePreviousOneUntilClosed) {
    AreaDrawing drawing;
    drawing.Begin(AreaDrawing::kMonitorArea);
    const AreaDrawing::Mark first = drawing.NextMark({500, 400});
    EXPECT_FALSE(first.joined);
    EXPECT_EQ(first.at.x, 500);
    EXPECT_EQ(first.at.y, 400);

    const AreaDrawing::Mark second = drawing.NextMark({520, 410});
    EXPECT_TRUE(second.joined);
    EXPECT_EQ(second.from.x, 500);
    EXPECT_EQ(second.from.y, 400);
    EXPECT_EQ(second.at.x, 520);

    const AreaDrawing::Mark third = drawing.NextMark({530, 390});
    EXPECT_EQ(third.from.x, 520);
    EXPECT_EQ(third.from.y, 410);

    drawing.Close();
    drawing.Begin(AreaDrawing::kMonitorArea);
    EXPECT_FALSE(drawing.NextMark({1, 1}).joined);
}

TEST(AreaDrawing, MarkDotReachesTwoPixelsAroundTheClick) {
    const ZRect bounds = AreaDrawing::MarkBounds({100, 50});
    EXPECT_EQ(bounds.left, 98);
    EXPECT_EQ(bounds.top, 48);
    EXPECT_EQ(bounds.right, 102);
    EXPECT_EQ(bounds.bottom, 52);
}

TEST(AreaDrawing, PackingPutsTheRowHighAndTheColumnLow) {
    EXPECT_EQ(AreaDrawing::Pack(1, 2), 0x0000000100000002ull);
    EXPECT_EQ(AreaDrawing::Pack(0, -1), 0x00000000FFFFFFFFull) << "no sign spill into the row";
    EXPECT_EQ(AreaDrawing::Pack(-1, 0), 0xFFFFFFFF00000000ull);
    for (const auto& [row, column] :
         {std::pair{0, 0}, std::pair{-7, 12}, std::pair{49, -3}, std::pair{INT32_MAX, INT32_MIN}}) {
        const uint64_t packed = AreaDrawing::Pack(row, column);
        EXPECT_EQ(AreaDrawing::PackedRow(packed), row);
        EXPECT_EQ(AreaDrawing::PackedColumn(packed), column);
    }
}

}  // namespace
