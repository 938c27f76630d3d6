// Point against polygon: outline, inside, outside, with the ray-casting traps (rays through
// vertices and along horizontal edges) and coordinates at the ends of the int32 range.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "ZUVO_CommonCore.h"

namespace {

constexpr int kOutside = -1;
constexpr int kInside = 0;
constexpr int kOutline = 1;

const std::vector<int32_t> kSquare = {0, 0, 10, 0, 10, 10, 0, 10};
// A "U": two arms from y = 10 to 30 around a notch between x = 10 and 20.
const std::vector<int32_t> kU = {0, 0, 30, 0, 30, 30, 20, 30, 20, 10, 10, 10, 10, 30, 0, 30};
const std::vector<int32_t> kDiamond = {10, 0, 20, 10, 10, 20, 0, 10};
const std::vector<int32_t> kTriangle = {0, 0, 10, 5, 0, 10};
// A pentagram drawn in one stroke: the centre pentagon is covered twice, so even-odd leaves it out.
const std::vector<int32_t> kStar = {0, -100, 59, 81, -95, -31, 95, -31, -59, 81};
const std::vector<int32_t> kHuge = {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MIN,
                                    INT32_MAX, INT32_MAX, INT32_MIN, INT32_MAX};
// Everything on or above the diagonal y = x of the whole int32 plane.
const std::vector<int32_t> kHugeTriangle = {INT32_MIN, INT32_MIN, INT32_MAX,
                                            INT32_MAX, INT32_MIN, INT32_MAX};
const std::vector<int32_t> kSegment = {0, 0, 10, 10};
const std::vector<int32_t> kDot = {3, 3};
const std::vector<int32_t> kCollinear = {0, 0, 5, 0, 10, 0};

struct PolygonCase {
    const std::vector<int32_t>* polygon;
    int a;
    int b;
    int expected;
};

void PrintTo(const PolygonCase& c, std::ostream* os) {
    *os << "(" << c.a << ", " << c.b << ") against " << c.polygon->size() / 2 << " vertices";
}

const char* OutlineName(const std::vector<int32_t>* polygon) {
    const std::pair<const std::vector<int32_t>*, const char*> names[] = {
        {&kSquare, "Square"},
        {&kU, "U"},
        {&kDiamond, "Diamond"},
        {&kTriangle, "Triangle"},
        {&kStar, "Star"},
        {&kHuge, "Huge"},
        {&kHugeTriangle, "HugeTriangle"},
        {&kSegment, "Segment"},
        {&kDot, "Dot"},
        {&kCollinear, "Collinear"}};
    for (const auto& [outline, name] : names) {
        if (outline == polygon) {
            return name;
        }
    }
    return "Outline";
}

std::string Coordinate(int value) {
    return value < 0 ? "Minus" + std::to_string(-static_cast<int64_t>(value))
                     : std::to_string(value);
}

// For example Square_15_5_IsOutside: the outline, the point and the expected answer.
std::string PolygonCaseName(const testing::TestParamInfo<PolygonCase>& row) {
    const PolygonCase& c = row.param;
    const char* answer = c.expected == kInside    ? "IsInside"
                         : c.expected == kOutline ? "IsOnTheOutline"
                                                  : "IsOutside";
    return std::string(OutlineName(c.polygon)) + "_" + Coordinate(c.a) + "_" + Coordinate(c.b) +
           "_" + answer;
}

std::vector<int32_t> Reversed(const std::vector<int32_t>& pairs) {
    std::vector<int32_t> reversed;
    for (size_t i = pairs.size(); i >= 2; i -= 2) {
        reversed.push_back(pairs[i - 2]);
        reversed.push_back(pairs[i - 1]);
    }
    return reversed;
}

class PolygonTest : public ::testing::TestWithParam<PolygonCase> {};

// Every answer must hold for either direction of travel and any starting vertex.
TEST_P(PolygonTest, SameAnswerForEveryOrderOfTheOutline) {
    const PolygonCase& c = GetParam();
    const int count = static_cast<int>(c.polygon->size() / 2);
    for (const std::vector<int32_t>& pairs : {*c.polygon, Reversed(*c.polygon)}) {
        for (int start = 0; start < count; ++start) {
            std::vector<int32_t> rotated = pairs;
            std::rotate(rotated.begin(), rotated.begin() + 2 * start, rotated.end());
            EXPECT_EQ(IsPointInPolygonSides(c.a, c.b, rotated.data(), count), c.expected)
                << "starting at vertex " << start;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Square, PolygonTest,
                         ::testing::Values(PolygonCase{&kSquare, 5, 5, kInside},
                                           PolygonCase{&kSquare, 15, 5, kOutside},
                                           PolygonCase{&kSquare, -1, 5, kOutside},
                                           PolygonCase{&kSquare, 10, 5, kOutline},
                                           PolygonCase{&kSquare, 5, 0, kOutline},
                                           PolygonCase{&kSquare, 0, 0, kOutline},
                                           PolygonCase{&kSquare, 10, 10, kOutline},
                                           PolygonCase{&kSquare, 15, 10, kOutside},
                                           PolygonCase{&kSquare, -5, 0, kOutside},
                                           PolygonCase{&kSquare, 5, 11, kOutside}),
                         PolygonCaseName);

INSTANTIATE_TEST_SUITE_P(
    Concave, PolygonTest,
    ::testing::Values(PolygonCase{&kU, 15, 20, kOutside}, PolygonCase{&kU, 5, 20, kInside},
                      PolygonCase{&kU, 25, 20, kInside}, PolygonCase{&kU, 15, 5, kInside},
                      PolygonCase{&kU, 15, 10, kOutline}, PolygonCase{&kU, 20, 20, kOutline},
                      PolygonCase{&kU, 20, 10, kOutline}, PolygonCase{&kU, 5, 10, kInside},
                      PolygonCase{&kU, 25, 10, kInside}, PolygonCase{&kU, 35, 10, kOutside},
                      PolygonCase{&kU, -5, 10, kOutside}, PolygonCase{&kU, 15, 30, kOutside},
                      PolygonCase{&kU, 25, 30, kOutline}, PolygonCase{&kU, -5, 30, kOutside}),
    PolygonCaseName);

INSTANTIATE_TEST_SUITE_P(
    LevelWithVertex, PolygonTest,
    ::testing::Values(
        PolygonCase{&kDiamond, 5, 10, kInside}, PolygonCase{&kDiamond, -5, 10, kOutside},
        PolygonCase{&kDiamond, 25, 10, kOutside}, PolygonCase{&kDiamond, 20, 10, kOutline},
        PolygonCase{&kDiamond, 15, 5, kOutline}, PolygonCase{&kDiamond, 14, 5, kInside},
        PolygonCase{&kDiamond, 16, 5, kOutside}, PolygonCase{&kDiamond, 10, -5, kOutside},
        PolygonCase{&kTriangle, -5, 5, kOutside}, PolygonCase{&kTriangle, 5, 5, kInside},
        PolygonCase{&kTriangle, 10, 5, kOutline}, PolygonCase{&kTriangle, 11, 5, kOutside}),
    PolygonCaseName);

INSTANTIATE_TEST_SUITE_P(SelfIntersecting, PolygonTest,
                         ::testing::Values(PolygonCase{&kStar, 0, 0, kOutside},
                                           PolygonCase{&kStar, 0, -70, kInside},
                                           PolygonCase{&kStar, 0, -100, kOutline},
                                           PolygonCase{&kStar, 0, 90, kOutside}),
                         PolygonCaseName);

INSTANTIATE_TEST_SUITE_P(
    Int32Range, PolygonTest,
    ::testing::Values(PolygonCase{&kHuge, 0, 0, kInside},
                      PolygonCase{&kHuge, INT32_MAX, 0, kOutline},
                      PolygonCase{&kHuge, INT32_MIN, INT32_MIN, kOutline},
                      PolygonCase{&kHugeTriangle, 0, 0, kOutline},
                      PolygonCase{&kHugeTriangle, 1, 0, kOutside},
                      PolygonCase{&kHugeTriangle, 0, 1, kInside},
                      PolygonCase{&kHugeTriangle, INT32_MAX - 1, INT32_MAX - 2, kOutside},
                      PolygonCase{&kHugeTriangle, INT32_MAX - 2, INT32_MAX - 1, kInside}),
    PolygonCaseName);

// Outlines that enclose nothing: their points and segments are still the outline.
INSTANTIATE_TEST_SUITE_P(Degenerate, PolygonTest,
                         ::testing::Values(PolygonCase{&kSegment, 5, 5, kOutline},
                                           PolygonCase{&kSegment, 0, 0, kOutline},
                                           PolygonCase{&kSegment, 6, 5, kOutside},
                                           PolygonCase{&kSegment, 11, 11, kOutside},
                                           PolygonCase{&kDot, 3, 3, kOutline},
                                           PolygonCase{&kDot, 3, 4, kOutside},
                                           PolygonCase{&kCollinear, 7, 0, kOutline},
                                           PolygonCase{&kCollinear, 7, 1, kOutside},
                                           PolygonCase{&kCollinear, 11, 0, kOutside}),
                         PolygonCaseName);

TEST(Polygon, MissingOutline) {
    EXPECT_EQ(IsPointInPolygonSides(0, 0, nullptr, 4), kOutside);
    EXPECT_EQ(IsPointInPolygonSides(0, 0, kSquare.data(), 0), kOutside);
}

}  // namespace
