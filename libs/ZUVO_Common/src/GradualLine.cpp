// DrawGradualMultiLine: an anti-aliased, round-capped thick polyline into an 8-bit mask.
//
// A point (px, py) is the centre of pixel (px, py), so the distance of pixel (x, y) to the
// stroke is measured from (x, y) itself. Coverage falls linearly from 1 at halfWidth - 0.5 to 0
// at halfWidth + 0.5: a one-pixel soft edge. Segments are drawn one after the other with
// byte = max(byte, value), which makes the joins round and never darkens where segments
// overlap.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "ZUVO_CommonCore.h"

namespace {

// Wider lines than this are certainly wider than any buffer; the limit keeps the box
// arithmetic far from overflow.
constexpr double kMaxLineWidth = 1.0e6;

struct Box {
    int64_t left;
    int64_t top;
    int64_t right;   // inclusive
    int64_t bottom;  // inclusive
};

struct Stroke {
    double halfWidth;
    double fadeRadius;  // coverage is 0 at and beyond this distance
    double fadeRadiusSq;
    double solidRadiusSq;  // coverage is 1 within this distance (negative when never)
    double alpha;
    int64_t grow;  // ceil(lineWidth / 2) + 1
};

uint8_t ValueAt(const Stroke& stroke, double distanceSq) {
    if (distanceSq >= stroke.fadeRadiusSq) {
        return 0;
    }
    // Only the soft edge needs the distance itself.
    const double coverage = distanceSq <= stroke.solidRadiusSq
                                ? 1.0
                                : std::clamp(stroke.fadeRadius - std::sqrt(distanceSq), 0.0, 1.0);
    return static_cast<uint8_t>(std::lround(coverage * stroke.alpha * 255.0));
}

// Squared distance of (x, y) to the segment from (x1, y1) to (x1 + dx, y1 + dy).
double DistanceSq(double x, double y, double x1, double y1, double dx, double dy, double lengthSq) {
    double t = 0.0;
    if (lengthSq > 0.0) {
        t = std::clamp(((x - x1) * dx + (y - y1) * dy) / lengthSq, 0.0, 1.0);
    }
    const double ex = x - (x1 + t * dx);
    const double ey = y - (y1 + t * dy);
    return ex * ex + ey * ey;
}

// Draws one segment; answers whether a byte received a non-zero value.
bool DrawSegment(int width, int height, const Stroke& stroke, int32_t x1, int32_t y1, int32_t x2,
                 int32_t y2, uint8_t* buffer) {
    const int64_t left = std::max<int64_t>(std::min(x1, x2) - stroke.grow, 0);
    const int64_t right = std::min<int64_t>(std::max(x1, x2) + stroke.grow, width - 1);
    const int64_t top = std::max<int64_t>(std::min(y1, y2) - stroke.grow, 0);
    const int64_t bottom = std::min<int64_t>(std::max(y1, y2) + stroke.grow, height - 1);
    if (left > right || top > bottom) {
        return false;
    }
    const double fx1 = x1;
    const double fy1 = y1;
    const double dx = static_cast<double>(x2) - fx1;
    const double dy = static_cast<double>(y2) - fy1;
    const double lengthSq = dx * dx + dy * dy;
    const double length = std::sqrt(lengthSq);
    bool wrote = false;
    for (int64_t y = top; y <= bottom; ++y) {
        int64_t rowLeft = left;
        int64_t rowRight = right;
        if (dy != 0.0) {
            // Within fadeRadius of the line through the segment lies, on this row, the interval
            // centre +- spread: a cheap bound that keeps long diagonals from visiting their whole
            // bounding box. The exact distance below still decides every pixel.
            const double centre = fx1 + dx * (static_cast<double>(y) - fy1) / dy;
            const double spread = stroke.fadeRadius * length / std::fabs(dy);
            const double from = std::clamp(std::floor(centre - spread), static_cast<double>(left),
                                           static_cast<double>(right) + 1.0);
            const double to =
                std::clamp(std::ceil(centre + spread), static_cast<double>(left) - 1.0,
                           static_cast<double>(right));
            rowLeft = static_cast<int64_t>(from);
            rowRight = static_cast<int64_t>(to);
        }
        uint8_t* row = buffer + y * width;
        for (int64_t x = rowLeft; x <= rowRight; ++x) {
            const double distanceSq = DistanceSq(static_cast<double>(x), static_cast<double>(y),
                                                 fx1, fy1, dx, dy, lengthSq);
            const uint8_t value = ValueAt(stroke, distanceSq);
            if (value > row[x]) {
                row[x] = value;
            }
            wrote = wrote || value > 0;
        }
    }
    return wrote;
}

}  // namespace

extern "C" {

void ZUVO_CALL DrawGradualMultiLine(int width, int height, const CPtrListCtrl* points,
                                    double lineWidth, double beginFade, double alpha,
                                    double endFade, uint8_t* buffer, ZRect* touched) {
    // Reserved shaping values: no fade along the line.
    (void)beginFade;
    (void)endFade;
    if (touched != nullptr) {
        *touched = ZRect{0, 0, 0, 0};
    }
    if (points == nullptr || buffer == nullptr || width <= 0 || height <= 0) {
        return;
    }
    const int count = points->GetCount();
    if (count <= 0) {
        return;
    }
    // NaN fails every comparison, so these clamps turn it into 0.
    const double clampedWidth = lineWidth > 0.0 ? std::min(lineWidth, kMaxLineWidth) : 0.0;
    const double clampedAlpha = alpha > 0.0 ? std::min(alpha, 1.0) : 0.0;

    Stroke stroke{};
    stroke.halfWidth = clampedWidth / 2.0;
    stroke.fadeRadius = stroke.halfWidth + 0.5;
    stroke.fadeRadiusSq = stroke.fadeRadius * stroke.fadeRadius;
    const double solidRadius = stroke.halfWidth - 0.5;
    stroke.solidRadiusSq = solidRadius >= 0.0 ? solidRadius * solidRadius : -1.0;
    stroke.alpha = clampedAlpha;
    stroke.grow = static_cast<int64_t>(std::ceil(stroke.halfWidth)) + 1;

    Box box{INT64_MAX, INT64_MAX, INT64_MIN, INT64_MIN};
    bool wrote = false;
    for (int i = 0; i < count; ++i) {
        const void* entry = points->GetAt(i);
        const void* next = points->GetAt(i + 1 < count ? i + 1 : i);
        const int32_t x1 = ZUVO_PackedLow(entry);
        const int32_t y1 = ZUVO_PackedHigh(entry);
        box.left = std::min<int64_t>(box.left, x1);
        box.top = std::min<int64_t>(box.top, y1);
        box.right = std::max<int64_t>(box.right, x1);
        box.bottom = std::max<int64_t>(box.bottom, y1);
        // One point draws a dot: a segment of length zero. Otherwise point i starts segment i.
        if (count == 1 || i + 1 < count) {
            if (DrawSegment(width, height, stroke, x1, y1, ZUVO_PackedLow(next),
                            ZUVO_PackedHigh(next), buffer)) {
                wrote = true;
            }
        }
    }
    if (!wrote || touched == nullptr) {
        return;
    }
    touched->left = static_cast<int32_t>(std::max<int64_t>(box.left - stroke.grow, 0));
    touched->top = static_cast<int32_t>(std::max<int64_t>(box.top - stroke.grow, 0));
    touched->right = static_cast<int32_t>(std::min<int64_t>(box.right + stroke.grow + 1, width));
    touched->bottom = static_cast<int32_t>(std::min<int64_t>(box.bottom + stroke.grow + 1, height));
}

}  // extern "C"
