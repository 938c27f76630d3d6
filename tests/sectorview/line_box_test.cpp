// The box in which the view clears, blends and restores a track line. The utility library
// promises a line of the given width but says nothing about its edge or where it writes, so
// the box must hold every pixel any reasonable drawing of that line may colour: a stroke of the
// line's width with a soft edge of up to a pixel, whether a point is a pixel's centre or its
// corner.
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "SceneFeeding.h"
#include "sectorview/PackedPoint.h"
#include "sectorview/TrackPainter.h"

namespace zuvo::sector {
namespace {

using Points = std::vector<std::pair<int, int>>;

void Fill(CPtrListCtrl& polyline, const Points& points) {
    while (polyline.GetCount() > 0) {
        polyline.RemoveAt(0);
    }
    for (const auto& [x, y] : points) {
        polyline.AddData(PackPoint(x, y), -1);
    }
}

ZRect BoxOf(const Points& points, double lineWidth, int width, int height) {
    CPtrListCtrl polyline;
    Fill(polyline, points);
    return TrackLineBox(polyline, lineWidth, width, height);
}

bool Inside(const ZRect& box, int x, int y) {
    return x >= box.left && x < box.right && y >= box.top && y < box.bottom;
}

struct BoxCase {
    const char* what;
    Points points;
    double lineWidth;
    ZRect expected;
};

TEST(TrackLineBox, GrowsByHalfTheWidthAndTheEdgeMarginWithinTheView) {
    constexpr int kWidth = 64;
    constexpr int kHeight = 48;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const BoxCase cases[] = {
        // half width 1.5 + margin 2 = 3.5, rounded up to 4 pixels on every side
        {"single point", {{10, 10}}, 3.0, {6, 6, 15, 15}},
        {"a line's bounding box", {{10, 20}, {50, 30}, {30, 12}}, 4.0, {6, 8, 55, 35}},
        {"half width plus margin already whole", {{20, 20}}, 2.0, {17, 17, 24, 24}},
        {"width 0 keeps the soft edge", {{20, 20}}, 0.0, {18, 18, 23, 23}},
        {"negative width", {{20, 20}}, -5.0, {18, 18, 23, 23}},
        {"not a number", {{20, 20}}, nan, {18, 18, 23, 23}},
        {"corner of the view", {{0, 0}}, 4.0, {0, 0, 5, 5}},
        {"last pixel of the view", {{63, 47}}, 4.0, {59, 43, 64, 48}},
        {"ends outside the view", {{-20, 10}, {100, 10}}, 2.0, {0, 7, 64, 14}},
        {"outside, edge just within reach", {{-3, 10}}, 2.0, {0, 7, 1, 14}},
        {"outside, out of reach", {{-4, 10}}, 2.0, {0, 0, 0, 0}},
        {"far outside", {{-30, -30}, {-10, -20}}, 4.0, {0, 0, 0, 0}},
        {"below the view", {{30, 52}}, 2.0, {0, 0, 0, 0}},
        {"wider than the view", {{-500, -500}}, 1e12, {0, 0, 64, 48}},
        {"extreme coordinates",
         {{INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX}},
         3.0,
         {0, 0, 64, 48}},
        {"no points", {}, 3.0, {0, 0, 0, 0}},
    };
    for (const BoxCase& c : cases) {
        const ZRect box = BoxOf(c.points, c.lineWidth, kWidth, kHeight);
        EXPECT_EQ(box.left, c.expected.left) << c.what;
        EXPECT_EQ(box.top, c.expected.top) << c.what;
        EXPECT_EQ(box.right, c.expected.right) << c.what;
        EXPECT_EQ(box.bottom, c.expected.bottom) << c.what;
    }
    EXPECT_EQ(BoxOf({{10, 10}}, 3.0, 0, kHeight).right, 0) << "a view without pixels";
}

// An L of two segments: each row reaches only as far as the segments that pass it, grown like
// the box (half width 1 + margin 2 = 3 pixels).
TEST(TrackLineRows, FollowTheSegmentsWithinTheBox) {
    CPtrListCtrl polyline;
    Fill(polyline, {{10, 10}, {30, 10}, {30, 30}});
    std::vector<ColumnSpan> rows;
    const ZRect box = TrackLineRows(polyline, 2.0, 64, 48, rows);
    EXPECT_EQ(box.left, 7);
    EXPECT_EQ(box.top, 7);
    EXPECT_EQ(box.right, 34);
    EXPECT_EQ(box.bottom, 34);
    ASSERT_EQ(rows.size(), 27u);
    auto row = [&](int y) { return rows[static_cast<size_t>(y - box.top)]; };
    EXPECT_EQ(row(7).from, 7);  // the horizontal segment's rows
    EXPECT_EQ(row(13).to, 34);
    EXPECT_EQ(row(14).from, 27);  // below it only the vertical one
    EXPECT_EQ(row(33).from, 27);
    EXPECT_EQ(row(33).to, 34);
    // A single point is a dot; no point leaves no rows.
    Fill(polyline, {{5, 5}});
    EXPECT_EQ(TrackLineRows(polyline, 2.0, 64, 48, rows).left, 2);
    EXPECT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0].from, 2);
    EXPECT_EQ(rows[0].to, 9);
    Fill(polyline, {});
    TrackLineRows(polyline, 2.0, 64, 48, rows);
    EXPECT_TRUE(rows.empty());
}

// Distance from (px, py) to the polyline (a single point is a dot).
double DistanceToPolyline(const Points& points, double px, double py) {
    double best = std::numeric_limits<double>::infinity();
    for (size_t i = 0; i < points.size(); ++i) {
        const double x1 = points[i].first;
        const double y1 = points[i].second;
        const size_t next = i + 1 < points.size() ? i + 1 : i;
        const double dx = points[next].first - x1;
        const double dy = points[next].second - y1;
        const double lengthSq = dx * dx + dy * dy;
        double t = lengthSq > 0 ? ((px - x1) * dx + (py - y1) * dy) / lengthSq : 0.0;
        t = t < 0 ? 0 : (t > 1 ? 1 : t);
        best = std::min(best, std::hypot(px - (x1 + t * dx), py - (y1 + t * dy)));
    }
    return best;
}

// Whether a drawing of the line might colour pixel (x, y): some part of the pixel's square
// comes within half the width plus a one-pixel soft edge of the line, with the point taken as
// the pixel's centre or as its top-left corner. Generous on purpose: the square is replaced by
// the disc around it.
bool MayColour(const Points& points, double lineWidth, int x, int y) {
    const double reach = std::max(lineWidth, 0.0) / 2.0 + 1.0 + std::sqrt(0.5);
    return DistanceToPolyline(points, x, y) < reach ||
           DistanceToPolyline(points, x + 0.5, y + 0.5) < reach;
}

// Random polylines, partly outside the view: every pixel a drawing may colour, and every pixel
// our utility library does colour, lies in the box and in its row's reach.
TEST(TrackLineBox, HoldsEveryPixelALineMayColour) {
    support::Random random(8128);
    CPtrListCtrl polyline;
    for (int round = 0; round < 300; ++round) {
        const int width = random.Pick(1, 90);
        const int height = random.Pick(1, 70);
        Points points(static_cast<size_t>(random.Pick(1, 5)));
        for (auto& point : points) {
            point = {random.Pick(-25, width + 25), random.Pick(-25, height + 25)};
        }
        const double lineWidth = round % 10 == 0 ? 0.0 : random.Uniform(0.0, 16.0);
        Fill(polyline, points);
        const ZRect box = TrackLineBox(polyline, lineWidth, width, height);
        std::vector<ColumnSpan> rows;
        const ZRect rowsBox = TrackLineRows(polyline, lineWidth, width, height, rows);
        ASSERT_TRUE(rowsBox.left == box.left && rowsBox.top == box.top &&
                    rowsBox.right == box.right && rowsBox.bottom == box.bottom);
        ASSERT_EQ(rows.size(), static_cast<size_t>(box.bottom - box.top));
        auto inRows = [&](int x, int y) {
            if (!Inside(box, x, y)) {
                return false;
            }
            const ColumnSpan& row = rows[static_cast<size_t>(y - box.top)];
            return row.from <= x && x < row.to;
        };

        std::vector<uint8_t> drawn(static_cast<size_t>(width) * height, 0);
        DrawGradualMultiLine(width, height, &polyline, lineWidth, 0.0, 1.0, 0.0, drawn.data());
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (inRows(x, y)) {
                    continue;
                }
                ASSERT_FALSE(MayColour(points, lineWidth, x, y))
                    << "round " << round << ": pixel " << x << "," << y << " out of reach";
                ASSERT_EQ(drawn[static_cast<size_t>(y) * width + x], 0)
                    << "round " << round << ": the library drew " << x << "," << y;
            }
        }
    }
}

}  // namespace
}  // namespace zuvo::sector
