// DrawGradualMultiLine of the strict flavour: the polyline's area coverage, supersampled.
//
// Each pixel (x, y) is the unit square centred on (x, y) and is sampled on a 4 x 4 grid; a
// sample is inside the stroke when it lies within half the line width of a segment (so caps and
// joins are round). The byte becomes the inside fraction x alpha x 255, rounded down, and the
// segments combine by taking the larger value. Unlike our normal drawing there is no soft ramp
// around the stroke, a pixel half covered gets half the intensity, nothing is drawn outside
// the stroke's own pixels, and nothing but the intensities is reported.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "ZUVO_CommonCore.h"

namespace {

constexpr int kSamplesPerSide = 4;
constexpr int kSamples = kSamplesPerSide * kSamplesPerSide;
// Far wider than any buffer; keeps the pixel range arithmetic away from overflow.
constexpr double kMaxLineWidth = 1.0e6;

struct Point {
    double x;
    double y;
};

Point Unpack(const void* entry) {
    const uint64_t bits = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(entry));
    return Point{static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(bits))),
                 static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(bits >> 32)))};
}

double DistanceSq(Point p, Point a, Point b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double lengthSq = dx * dx + dy * dy;
    double t = 0.0;
    if (lengthSq > 0.0) {
        t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSq, 0.0, 1.0);
    }
    const double ex = p.x - (a.x + t * dx);
    const double ey = p.y - (a.y + t * dy);
    return ex * ex + ey * ey;
}

void DrawSegment(int width, int height, Point a, Point b, double halfWidth, double alpha,
                 uint8_t* buffer) {
    // A sample lies at most half a pixel from its pixel's centre along each axis.
    const double reach = halfWidth + 0.5;
    const double left = std::max(std::floor(std::min(a.x, b.x) - reach), 0.0);
    const double right = std::min(std::ceil(std::max(a.x, b.x) + reach), width - 1.0);
    const double top = std::max(std::floor(std::min(a.y, b.y) - reach), 0.0);
    const double bottom = std::min(std::ceil(std::max(a.y, b.y) + reach), height - 1.0);
    if (left > right || top > bottom) {
        return;
    }
    const double halfWidthSq = halfWidth * halfWidth;
    // The pixel is reached at all only when its centre is within reach (a sample's farthest
    // offset is below 0.5 x sqrt 2 < 0.71).
    const double nearSq = (halfWidth + 0.71) * (halfWidth + 0.71);
    for (int y = static_cast<int>(top); y <= static_cast<int>(bottom); ++y) {
        uint8_t* row = buffer + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int x = static_cast<int>(left); x <= static_cast<int>(right); ++x) {
            if (DistanceSq(Point{double(x), double(y)}, a, b) > nearSq) {
                continue;
            }
            int inside = 0;
            for (int j = 0; j < kSamplesPerSide; ++j) {
                for (int i = 0; i < kSamplesPerSide; ++i) {
                    const Point sample{x - 0.5 + (i + 0.5) / kSamplesPerSide,
                                       y - 0.5 + (j + 0.5) / kSamplesPerSide};
                    inside += DistanceSq(sample, a, b) <= halfWidthSq ? 1 : 0;
                }
            }
            const auto value = static_cast<uint8_t>(std::floor(inside * alpha * 255.0 / kSamples));
            row[x] = std::max(row[x], value);
        }
    }
}

}  // namespace

extern "C" void ZUVO_CALL DrawGradualMultiLine(int width, int height, const CPtrListCtrl* points,
                                               double lineWidth, double /*beginFade*/, double alpha,
                                               double /*endFade*/, uint8_t* buffer) {
    if (points == nullptr || buffer == nullptr || width <= 0 || height <= 0 || !(lineWidth > 0.0) ||
        !(alpha > 0.0)) {
        return;
    }
    const double halfWidth = std::min(lineWidth, kMaxLineWidth) / 2.0;
    const double clampedAlpha = std::min(alpha, 1.0);
    const int count = points->GetCount();
    if (count == 1) {
        const Point only = Unpack(points->GetAt(0));
        DrawSegment(width, height, only, only, halfWidth, clampedAlpha, buffer);
        return;
    }
    for (int i = 0; i + 1 < count; ++i) {
        DrawSegment(width, height, Unpack(points->GetAt(i)), Unpack(points->GetAt(i + 1)),
                    halfWidth, clampedAlpha, buffer);
    }
}
