// DrawGradualMultiLine(Box): an anti-aliased, round-capped thick polyline into an 8-bit mask.
//
// A point (px, py) is the centre of pixel (px, py), so the distance of pixel (x, y) to the
// stroke is measured from (x, y) itself. Coverage falls linearly from 1 at halfWidth - 0.5 to 0
// at halfWidth + 0.5: a one-pixel soft edge. Segments are drawn one after the other with
// byte = max(byte, value), which makes the joins round and never darkens where segments
// overlap.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "ZUVO_CommonCoreExtras.h"

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

// std::lround for 0 <= value <= 255 without the library call: the fraction value - whole is
// exact, so halves round up exactly as lround rounds them away from zero.
uint8_t RoundHalfUp(double value) {
    const int whole = static_cast<int>(value);
    return static_cast<uint8_t>(whole + (value - whole >= 0.5 ? 1 : 0));
}

inline uint8_t ValueAt(const Stroke& stroke, double distanceSq) {
    if (distanceSq >= stroke.fadeRadiusSq) {
        return 0;
    }
    // Only the soft edge needs the distance itself.
    const double coverage = distanceSq <= stroke.solidRadiusSq
                                ? 1.0
                                : std::clamp(stroke.fadeRadius - std::sqrt(distanceSq), 0.0, 1.0);
    return RoundHalfUp(coverage * stroke.alpha * 255.0);
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

// The pixels a segment may touch: its bounding box grown by the stroke, within the buffer.
Box SegmentBox(int width, int height, const Stroke& stroke, int32_t x1, int32_t y1, int32_t x2,
               int32_t y2) {
    return Box{std::max<int64_t>(std::min(x1, x2) - stroke.grow, 0),
               std::max<int64_t>(std::min(y1, y2) - stroke.grow, 0),
               std::min<int64_t>(std::max(x1, x2) + stroke.grow, width - 1),
               std::min<int64_t>(std::max(y1, y2) + stroke.grow, height - 1)};
}

// Draws one segment by testing every pixel of its rows near the line; answers whether a byte
// received a non-zero value.
bool DrawSegmentEverywhere(int width, int height, const Stroke& stroke, int32_t x1, int32_t y1,
                           int32_t x2, int32_t y2, uint8_t* buffer) {
    const Box box = SegmentBox(width, height, stroke, x1, y1, x2, y2);
    if (box.left > box.right || box.top > box.bottom) {
        return false;
    }
    const int64_t left = box.left;
    const int64_t right = box.right;
    const int64_t top = box.top;
    const int64_t bottom = box.bottom;
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

// Part of a row, as real x coordinates; empty when from > to.
struct Span {
    double from = 1.0;
    double to = 0.0;
    bool Empty() const { return from > to; }
    void Include(double a, double b) {
        if (a > b) {
            return;
        }
        if (Empty()) {
            from = a;
            to = b;
        } else {
            from = std::min(from, a);
            to = std::max(to, b);
        }
    }
};

// A segment from (x1, y1) along (dx, dy) and two capsule radii around it: one a little wider
// than where the stroke is visible, one a little narrower than where it is solid.
struct Capsules {
    double x1;
    double y1;
    double dx;
    double dy;
    double lengthSq;
    double dxPerDy;  // dx / dy, 0 when horizontal
    double dyPerDx;  // dy / dx, 0 when vertical
    double visibleSq;
    double solidSq;
    // Half the width, along a row, of the band within each radius of the line.
    double visibleHalfBand;
    double solidHalfBand;
};

Capsules MakeCapsules(double x1, double y1, double dx, double dy, double lengthSq, double visibleSq,
                      double solidSq) {
    const double length = std::sqrt(lengthSq);
    const double rowScale = dy != 0.0 ? length / std::fabs(dy) : length;
    return Capsules{x1,
                    y1,
                    dx,
                    dy,
                    lengthSq,
                    dy != 0.0 ? dx / dy : 0.0,
                    dx != 0.0 ? dy / dx : 0.0,
                    visibleSq,
                    solidSq,
                    std::sqrt(std::max(visibleSq, 0.0)) * rowScale,
                    std::sqrt(std::max(solidSq, 0.0)) * rowScale};
}

struct RowSpans {
    Span visible;
    Span solid;
};

// Where row y meets each capsule: the union of the discs around both ends and the band along
// the segment, one interval because a capsule is convex. The band's centre on the row and the
// stretch of the row that projects onto the segment are the same for both radii.
RowSpans CapsuleRows(const Capsules& c, double y) {
    RowSpans spans;
    const double h1 = y - c.y1;
    const double h2 = h1 - c.dy;
    auto discs = [&](Span& span, double radiusSq) {
        if (h1 * h1 < radiusSq) {
            const double w = std::sqrt(radiusSq - h1 * h1);
            span.Include(c.x1 - w, c.x1 + w);
        }
        if (h2 * h2 < radiusSq) {
            const double w = std::sqrt(radiusSq - h2 * h2);
            span.Include(c.x1 + c.dx - w, c.x1 + c.dx + w);
        }
    };
    discs(spans.visible, c.visibleSq);
    discs(spans.solid, c.solidSq);
    if (c.lengthSq <= 0.0) {
        return spans;
    }
    // The stretch of the row whose projection falls onto the segment.
    constexpr double kHuge = 1e300;
    double from = -kHuge;
    double to = kHuge;
    if (c.dx != 0.0) {
        const double a = c.x1 - h1 * c.dyPerDx;
        const double b = a + c.lengthSq / c.dx;
        from = std::min(a, b);
        to = std::max(a, b);
    } else if (h1 * c.dy < 0.0 || h1 * c.dy > c.lengthSq) {
        return spans;
    }
    auto band = [&](Span& span, double halfBand) {
        if (c.dy != 0.0) {
            const double centre = c.x1 + h1 * c.dxPerDy;
            span.Include(std::max(from, centre - halfBand), std::min(to, centre + halfBand));
        } else if (std::fabs(h1 * c.dx) < halfBand) {
            span.Include(from, to);
        }
    };
    band(spans.visible, c.visibleHalfBand);
    if (c.solidSq > 0.0) {
        band(spans.solid, c.solidHalfBand);
    }
    return spans;
}

// The columns at or right of x, and at or left of x, of a span end (far ends clamped). Without
// SSE4.1 std::floor and std::ceil are library calls; these are exact for the clamped range.
constexpr double kFarColumn = 1e15;
int64_t FirstColumnAtOrAfter(double x) {
    const double clamped = std::clamp(x, -kFarColumn, kFarColumn);
    const int64_t whole = static_cast<int64_t>(clamped);  // toward zero
    return static_cast<double>(whole) < clamped ? whole + 1 : whole;
}
int64_t LastColumnAtOrBefore(double x) {
    const double clamped = std::clamp(x, -kFarColumn, kFarColumn);
    const int64_t whole = static_cast<int64_t>(clamped);
    return static_cast<double>(whole) > clamped ? whole - 1 : whole;
}

// The same result as DrawSegmentEverywhere, with far less work for wide lines: on each row
// the capsule gives where the line can be visible at all and where it is surely solid. The
// two capsules are widened and narrowed by a margin in squared distance (1e-6 relative) that
// dwarfs the rounding of either computation, so only the pixels of the soft edge are
// computed one by one, and the result is the same byte for byte. Coordinates are limited to
// +-2^20, far beyond any buffer, to keep that rounding small.
bool DrawSegmentSpans(int width, int height, const Stroke& stroke, int32_t x1, int32_t y1,
                      int32_t x2, int32_t y2, uint8_t* buffer) {
    const Box box = SegmentBox(width, height, stroke, x1, y1, x2, y2);
    if (box.left > box.right || box.top > box.bottom) {
        return false;
    }
    const int64_t left = box.left;
    const int64_t right = box.right;
    const double fx1 = x1;
    const double fy1 = y1;
    const double dx = static_cast<double>(x2) - fx1;
    const double dy = static_cast<double>(y2) - fy1;
    const double lengthSq = dx * dx + dy * dy;
    const Capsules capsules = MakeCapsules(
        fx1, fy1, dx, dy, lengthSq, stroke.fadeRadiusSq + 1e-6 * (1.0 + stroke.fadeRadiusSq),
        stroke.solidRadiusSq - 1e-6 * (1.0 + stroke.solidRadiusSq));
    const uint8_t solidValue = ValueAt(stroke, 0.0);
    bool wrote = false;
    auto exact = [&](uint8_t* row, int64_t x, double y) {
        const uint8_t value =
            ValueAt(stroke, DistanceSq(static_cast<double>(x), y, fx1, fy1, dx, dy, lengthSq));
        if (value > row[x]) {
            row[x] = value;
        }
        wrote = wrote || value > 0;
    };
    for (int64_t y = box.top; y <= box.bottom; ++y) {
        const double fy = static_cast<double>(y);
        const RowSpans spans = CapsuleRows(capsules, fy);
        const Span& visible = spans.visible;
        if (visible.Empty()) {
            continue;
        }
        const int64_t rowLeft = std::max(left, FirstColumnAtOrAfter(visible.from));
        const int64_t rowRight = std::min(right, LastColumnAtOrBefore(visible.to));
        if (rowLeft > rowRight) {
            continue;
        }
        int64_t solidLeft = rowRight + 1;
        int64_t solidRight = rowRight;
        if (!spans.solid.Empty()) {
            solidLeft = std::max(rowLeft, FirstColumnAtOrAfter(spans.solid.from));
            solidRight = std::min(rowRight, LastColumnAtOrBefore(spans.solid.to));
        }
        uint8_t* row = buffer + y * width;
        if (solidLeft > solidRight) {
            for (int64_t x = rowLeft; x <= rowRight; ++x) {
                exact(row, x, fy);
            }
            continue;
        }
        for (int64_t x = solidLeft; x <= solidRight; ++x) {
            row[x] = std::max(row[x], solidValue);
        }
        wrote = wrote || solidValue > 0;
        // No value of this stroke exceeds the solid one, so a pixel that already holds it (the
        // neighbouring segment's solid part, mostly) keeps it; the row has written anyway.
        for (int64_t x = rowLeft; x < solidLeft; ++x) {
            if (row[x] < solidValue) {
                exact(row, x, fy);
            }
        }
        for (int64_t x = solidRight + 1; x <= rowRight; ++x) {
            if (row[x] < solidValue) {
                exact(row, x, fy);
            }
        }
    }
    return wrote;
}

bool DrawSegment(int width, int height, const Stroke& stroke, int32_t x1, int32_t y1, int32_t x2,
                 int32_t y2, uint8_t* buffer) {
    constexpr int32_t kSpanLimit = 1 << 20;
    const bool near = std::abs(x1) <= kSpanLimit && std::abs(y1) <= kSpanLimit &&
                      std::abs(x2) <= kSpanLimit && std::abs(y2) <= kSpanLimit;
    return near ? DrawSegmentSpans(width, height, stroke, x1, y1, x2, y2, buffer)
                : DrawSegmentEverywhere(width, height, stroke, x1, y1, x2, y2, buffer);
}

}  // namespace

extern "C" {

void ZUVO_CALL DrawGradualMultiLineBox(int width, int height, const CPtrListCtrl* points,
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

void ZUVO_CALL DrawGradualMultiLine(int width, int height, const CPtrListCtrl* points,
                                    double lineWidth, double beginFade, double alpha,
                                    double endFade, uint8_t* buffer) {
    DrawGradualMultiLineBox(width, height, points, lineWidth, beginFade, alpha, endFade, buffer,
                            nullptr);
}

}  // extern "C"
