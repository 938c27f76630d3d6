// Point against polygon, exactly.
//
// Coordinates are full int32, so a cross product of two differences needs up to 65 bits
// (each difference up to 33 bits signed). The products are compared through their signs and
// unsigned 64-bit magnitudes instead, which is exact without a 128-bit type.
#include <cstdint>

#include "ZUVO_CommonCoreExtras.h"

namespace {

uint64_t Magnitude(int64_t value) {
    return value < 0 ? uint64_t{0} - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
}

int SignOf(int64_t value) {
    return value > 0 ? 1 : (value < 0 ? -1 : 0);
}

// Sign of a * b - c * d, for factors whose magnitudes fit 32 bits (differences of int32).
int SignOfProductDifference(int64_t a, int64_t b, int64_t c, int64_t d) {
    const int left = SignOf(a) * SignOf(b);
    const int right = SignOf(c) * SignOf(d);
    if (left != right) {
        return left > right ? 1 : -1;
    }
    if (left == 0) {
        return 0;
    }
    // Same sign on both sides: compare magnitudes (each below 2^64).
    const uint64_t leftMagnitude = Magnitude(a) * Magnitude(b);
    const uint64_t rightMagnitude = Magnitude(c) * Magnitude(d);
    if (leftMagnitude == rightMagnitude) {
        return 0;
    }
    const int larger = leftMagnitude > rightMagnitude ? 1 : -1;
    return left > 0 ? larger : -larger;
}

struct Point {
    int64_t x;
    int64_t y;
};

// Sign of the cross product (end - start) x (p - start): > 0 when p is left of the directed
// edge in a y-up frame, 0 when the three points are collinear.
int Orientation(const Point& start, const Point& end, const Point& p) {
    return SignOfProductDifference(end.x - start.x, p.y - start.y, end.y - start.y, p.x - start.x);
}

bool Between(int64_t value, int64_t a, int64_t b) {
    return a <= b ? (a <= value && value <= b) : (b <= value && value <= a);
}

}  // namespace

extern "C" {

// Degenerate outlines (one or two vertices, or all vertices on one line) enclose nothing, but
// their points and segments are still the outline: a point on them answers 1, anything else
// -1. Only a missing list (null or count <= 0) answers -1 without looking at the point.
int ZUVO_CALL IsPointInPolygonSides(int a, int b, const int32_t* pairs, int count) {
    if (pairs == nullptr || count <= 0) {
        return -1;
    }
    const Point p{a, b};
    bool inside = false;
    for (int i = 0; i < count; ++i) {
        const int j = i + 1 < count ? i + 1 : 0;
        const Point start{pairs[2 * i], pairs[2 * i + 1]};
        const Point end{pairs[2 * j], pairs[2 * j + 1]};
        const int orientation = Orientation(start, end, p);
        if (orientation == 0 && Between(p.x, start.x, end.x) && Between(p.y, start.y, end.y)) {
            return 1;
        }
        // Even-odd rule with a ray towards +x. Each edge counts the half-open span
        // [min y, max y) only, so a ray through a vertex is counted once where the outline
        // crosses and zero or two times where it only touches; horizontal edges never count.
        const bool startAbove = start.y > p.y;
        const bool endAbove = end.y > p.y;
        if (startAbove != endAbove) {
            // The crossing lies right of p when p is left of the edge walked upwards.
            const bool upwards = end.y > start.y;
            if ((orientation > 0) == upwards) {
                inside = !inside;
            }
        }
    }
    return inside ? 0 : -1;
}

}  // extern "C"
