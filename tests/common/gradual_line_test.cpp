// The anti-aliased polyline: intensity across the stroke, the box our library reports (its own
// addition: a caller of the family's DrawGradualMultiLine gets no box), and agreement with a
// brute-force reference.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "ZUVO_CommonCoreExtras.h"

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 48;

struct Canvas {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(kWidth * kHeight, 0);
    int At(int x, int y) const { return bytes[static_cast<size_t>(y * kWidth + x)]; }
};

// Draws with the box and answers it; the family's entry point, drawing the same polyline into
// a copy of what the canvas held, must give the same bytes.
ZRect Draw(Canvas& canvas, const std::vector<std::pair<int, int>>& points, double lineWidth,
           double alpha) {
    CPtrListCtrl list;
    for (const auto& [x, y] : points) {
        list.AddData(ZUVO_PackPoint(x, y), -1);
    }
    Canvas plain = canvas;
    ZRect touched{-1, -1, -1, -1};
    DrawGradualMultiLineBox(kWidth, kHeight, &list, lineWidth, 0.0, alpha, 0.0, canvas.bytes.data(),
                            &touched);
    DrawGradualMultiLine(kWidth, kHeight, &list, lineWidth, 0.0, alpha, 0.0, plain.bytes.data());
    EXPECT_TRUE(plain.bytes == canvas.bytes) << "DrawGradualMultiLine differs from the boxed one";
    return touched;
}

bool IsEmpty(const ZRect& r) {
    return r.left == r.right || r.top == r.bottom;
}

TEST(GradualLine, IntensityAcrossAThickLine) {
    Canvas canvas;
    Draw(canvas, {{10, 20}, {50, 20}}, 4.0, 1.0);
    EXPECT_EQ(canvas.At(30, 20), 255);  // centre
    EXPECT_EQ(canvas.At(30, 21), 255);  // one pixel inside the half width of 2
    EXPECT_EQ(canvas.At(30, 22), 128);  // at the half width: half covered
    EXPECT_EQ(canvas.At(30, 18), 128);
    EXPECT_EQ(canvas.At(30, 23), 0);
    EXPECT_EQ(canvas.At(30, 40), 0);
    EXPECT_EQ(canvas.At(52, 20), 128);  // round cap beyond the end point
    EXPECT_EQ(canvas.At(53, 20), 0);
    EXPECT_EQ(canvas.At(8, 20), 128);
}

TEST(GradualLine, AlphaScalesAndClamps) {
    Canvas half;
    Draw(half, {{10, 20}, {50, 20}}, 4.0, 0.5);
    EXPECT_EQ(half.At(30, 20), 128);
    EXPECT_EQ(half.At(30, 22), 64);
    Canvas over;
    Draw(over, {{10, 20}, {50, 20}}, 4.0, 3.0);
    EXPECT_EQ(over.At(30, 20), 255);
    Canvas none;
    EXPECT_TRUE(IsEmpty(Draw(none, {{10, 20}, {50, 20}}, 4.0, -1.0)));
    EXPECT_EQ(std::count(none.bytes.begin(), none.bytes.end(), 0), kWidth * kHeight);
}

TEST(GradualLine, KeepsTheBrighterValue) {
    Canvas canvas;
    std::fill(canvas.bytes.begin(), canvas.bytes.end(), 200);
    Draw(canvas, {{10, 20}, {50, 20}}, 4.0, 0.5);
    EXPECT_EQ(canvas.At(30, 20), 200);
    Draw(canvas, {{10, 20}, {50, 20}}, 4.0, 1.0);
    EXPECT_EQ(canvas.At(30, 20), 255);
    EXPECT_EQ(canvas.At(30, 22), 200);
}

TEST(GradualLine, OnePointDrawsADot) {
    Canvas canvas;
    const ZRect touched = Draw(canvas, {{10, 10}}, 3.0, 1.0);
    EXPECT_EQ(canvas.At(10, 10), 255);
    EXPECT_EQ(canvas.At(11, 10), 255);  // distance 1 of a half width 1.5
    EXPECT_EQ(canvas.At(12, 10), 0);
    EXPECT_EQ(canvas.At(11, 11), 149);  // distance sqrt(2): 0.586 covered
    EXPECT_EQ(touched.left, 10 - 3);
    EXPECT_EQ(touched.right, 10 + 3 + 1);
}

TEST(GradualLine, ThinLineStillDraws) {
    Canvas canvas;
    Draw(canvas, {{5, 5}, {40, 5}}, 0.5, 1.0);
    EXPECT_EQ(canvas.At(20, 5), 191);  // 0.75 covered
    EXPECT_EQ(canvas.At(20, 6), 0);
}

TEST(GradualLine, LineCrossingTheBufferFromOutside) {
    Canvas canvas;
    const ZRect touched = Draw(canvas, {{-20, 10}, {100, 10}}, 2.0, 1.0);
    for (int x = 0; x < kWidth; ++x) {
        ASSERT_EQ(canvas.At(x, 10), 255) << x;
    }
    EXPECT_EQ(touched.left, 0);
    EXPECT_EQ(touched.right, kWidth);
    EXPECT_EQ(touched.top, 10 - 2);
    EXPECT_EQ(touched.bottom, 10 + 2 + 1);
    Canvas outside;
    EXPECT_TRUE(IsEmpty(Draw(outside, {{-30, -30}, {-10, -20}}, 4.0, 1.0)));
}

TEST(GradualLine, NothingToDraw) {
    Canvas canvas;
    CPtrListCtrl empty;
    CPtrListCtrl one;
    one.AddData(ZUVO_PackPoint(5, 5), -1);
    ZRect touched{1, 2, 3, 4};
    DrawGradualMultiLineBox(kWidth, kHeight, &empty, 3.0, 0, 1.0, 0, canvas.bytes.data(), &touched);
    EXPECT_TRUE(IsEmpty(touched));
    touched = ZRect{1, 2, 3, 4};
    DrawGradualMultiLineBox(kWidth, kHeight, nullptr, 3.0, 0, 1.0, 0, canvas.bytes.data(),
                            &touched);
    EXPECT_TRUE(IsEmpty(touched));
    DrawGradualMultiLineBox(kWidth, kHeight, &one, 3.0, 0, 1.0, 0, nullptr, &touched);
    DrawGradualMultiLineBox(0, kHeight, &one, 3.0, 0, 1.0, 0, canvas.bytes.data(), &touched);
    DrawGradualMultiLineBox(kWidth, -1, &one, 3.0, 0, 1.0, 0, canvas.bytes.data(), nullptr);
    DrawGradualMultiLine(kWidth, kHeight, nullptr, 3.0, 0, 1.0, 0, canvas.bytes.data());
    DrawGradualMultiLine(kWidth, kHeight, &one, 3.0, 0, 1.0, 0, nullptr);
    EXPECT_EQ(std::count(canvas.bytes.begin(), canvas.bytes.end(), 0), kWidth * kHeight);
}

// The value the documented rule gives for pixel (x, y): distance to the nearest segment.
int ReferenceValue(const std::vector<std::pair<int, int>>& points, double lineWidth, double alpha,
                   int x, int y) {
    double best = 1e300;
    for (size_t i = 0; i < points.size(); ++i) {
        const auto [x1, y1] = points[i];
        const auto [x2, y2] = points[std::min(i + 1, points.size() - 1)];
        const double dx = x2 - x1;
        const double dy = y2 - y1;
        const double lengthSq = dx * dx + dy * dy;
        const double t =
            lengthSq > 0 ? std::clamp(((x - x1) * dx + (y - y1) * dy) / lengthSq, 0.0, 1.0) : 0;
        best = std::min(best, std::hypot(x - (x1 + t * dx), y - (y1 + t * dy)));
    }
    const double coverage = std::clamp(lineWidth / 2 + 0.5 - best, 0.0, 1.0);
    return static_cast<int>(std::lround(coverage * alpha * 255));
}

// Random polylines, partly outside the buffer: outside the documented box (polyline box grown
// by ceil(width / 2) + 1) nothing changes, inside every pixel follows the rule.
TEST(GradualLine, RandomPolylinesKeepTheBoxPromise) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> xs(-15, kWidth + 15);
    std::uniform_int_distribution<int> ys(-15, kHeight + 15);
    std::uniform_real_distribution<double> widths(0.0, 12.0);
    constexpr uint8_t kSentinel = 7;
    for (int round = 0; round < 200; ++round) {
        std::vector<std::pair<int, int>> points(1 + round % 5);
        for (auto& point : points) {
            point = {xs(random), ys(random)};
        }
        const double lineWidth = widths(random);
        const double alpha = round % 3 == 0 ? 0.6 : 1.0;
        const int grow = static_cast<int>(std::ceil(lineWidth / 2)) + 1;
        ZRect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
        for (const auto& [x, y] : points) {
            box = ZRect{std::min(box.left, x - grow), std::min(box.top, y - grow),
                        std::max(box.right, x + grow + 1), std::max(box.bottom, y + grow + 1)};
        }
        const ZRect bounds{0, 0, kWidth, kHeight};
        BoundRect(&box, &box, &bounds);

        Canvas canvas;
        std::fill(canvas.bytes.begin(), canvas.bytes.end(), kSentinel);
        for (int y = box.top; y < box.bottom; ++y) {
            for (int x = box.left; x < box.right; ++x) {
                canvas.bytes[static_cast<size_t>(y * kWidth + x)] = 0;
            }
        }
        const ZRect touched = Draw(canvas, points, lineWidth, alpha);
        bool wrote = false;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const bool inBox = x >= box.left && x < box.right && y >= box.top && y < box.bottom;
                if (!inBox) {
                    ASSERT_EQ(canvas.At(x, y), kSentinel)
                        << "round " << round << " at " << x << "," << y;
                    continue;
                }
                const int expected = ReferenceValue(points, lineWidth, alpha, x, y);
                ASSERT_NEAR(canvas.At(x, y), expected, 1)
                    << "round " << round << " at " << x << "," << y;
                wrote = wrote || canvas.At(x, y) > 0;
            }
        }
        if (wrote) {
            EXPECT_EQ(touched.left, box.left);
            EXPECT_EQ(touched.top, box.top);
            EXPECT_EQ(touched.right, box.right);
            EXPECT_EQ(touched.bottom, box.bottom);
        } else {
            EXPECT_TRUE(IsEmpty(touched)) << "round " << round;
        }
    }
}

// The value of pixel (x, y) computed exactly as the library's per-pixel rule does (squared
// distance to the nearest segment, soft edge from the distance, rounding half up), for every
// pixel: the library's row spans may skip work but must give these bytes exactly.
uint8_t ExactValue(const std::vector<std::pair<int, int>>& points, double lineWidth, double alpha,
                   int x, int y) {
    const double halfWidth = lineWidth / 2.0;
    const double fadeRadius = halfWidth + 0.5;
    const double solidRadius = halfWidth - 0.5;
    const double solidRadiusSq = solidRadius >= 0.0 ? solidRadius * solidRadius : -1.0;
    double best = 1e300;
    const size_t segments = points.size() == 1 ? 1 : points.size() - 1;
    for (size_t i = 0; i < segments; ++i) {
        const double x1 = points[i].first;
        const double y1 = points[i].second;
        const double dx =
            static_cast<double>(points[std::min(i + 1, points.size() - 1)].first) - x1;
        const double dy =
            static_cast<double>(points[std::min(i + 1, points.size() - 1)].second) - y1;
        const double lengthSq = dx * dx + dy * dy;
        const double t =
            lengthSq > 0.0 ? std::clamp(((x - x1) * dx + (y - y1) * dy) / lengthSq, 0.0, 1.0) : 0.0;
        const double ex = x - (x1 + t * dx);
        const double ey = y - (y1 + t * dy);
        best = std::min(best, ex * ex + ey * ey);
    }
    if (best >= fadeRadius * fadeRadius) {
        return 0;
    }
    const double coverage =
        best <= solidRadiusSq ? 1.0 : std::clamp(fadeRadius - std::sqrt(best), 0.0, 1.0);
    return static_cast<uint8_t>(std::lround(coverage * alpha * 255.0));
}

TEST(GradualLine, WideLinesEqualThePerPixelRuleExactly) {
    std::mt19937 random(77);
    std::uniform_int_distribution<int> xs(-30, kWidth + 30);
    std::uniform_int_distribution<int> ys(-30, kHeight + 30);
    std::uniform_real_distribution<double> widths(0.0, 40.0);
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::pair<int, int>> points(1 + round % 6);
        for (auto& point : points) {
            point = {xs(random), ys(random)};
        }
        const double lineWidth = round % 7 == 0 ? std::floor(widths(random)) : widths(random);
        const double alpha = round % 3 == 0 ? 0.37 : 1.0;
        Canvas canvas;
        Draw(canvas, points, lineWidth, alpha);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                ASSERT_EQ(canvas.At(x, y), ExactValue(points, lineWidth, alpha, x, y))
                    << "round " << round << " at " << x << "," << y;
            }
        }
    }
}

}  // namespace
