// Exact per-row answers about the fan, without an arc tangent for every pixel.
//
// Every pixel question of the fan (inside the radius, inside the gate band, inside the angle
// window) is defined through the squared integer distance n = dx*dx + dy*dy from the origin
// and the view angle ViewAngleOf(dx, dy). Two facts make rows cheap while the answers stay
// exactly those of the per-pixel definition:
//  - sqrt is correctly rounded and so monotonic: "sqrt(n) <= limit" is "n <= some integer",
//    found once per layout;
//  - along a row the view angle grows with dx (by far more than its rounding error between
//    neighbouring pixels), so the pixels inside the angle window form one run, whose ends are
//    estimated from the boundary directions and settled with the exact angle.
#pragma once

#include <algorithm>
#include <cstdint>

#include "sectorview/SectorGeometry.h"
#include "sectorview/ViewSettings.h"

namespace zuvo::sector {

// Thresholds on n = dx*dx + dy*dy that decide the distance tests exactly.
// Largest a >= 0 with a * a <= value (value >= 0).
int64_t IntegerSqrt(int64_t value);

struct SquaredDistanceLimits {
    int64_t disc = -1;       // n <= disc: dist <= R
    int64_t bandAbove = -1;  // n > bandAbove: dist > pixels per gate x gate min
    int64_t bandMax = -1;    // n <= bandMax: dist < pixels per gate x (gate max + 1)

    bool InDisc(int64_t n) const { return n <= disc; }
    bool InBand(int64_t n) const { return n > bandAbove && n <= bandMax; }
};

SquaredDistanceLimits ComputeDistanceLimits(const SectorGeometry& geometry,
                                            const SectorViewSettings& settings);

// A run of pixel offsets dx (first ... last inclusive); empty when first > last.
struct ColumnRun {
    int first = 0;
    int last = -1;
    bool Empty() const { return first > last; }
};

// The angle window start <= view angle <= stop, row by row.
class AngleWindowRows {
public:
    AngleWindowRows(bool topView, double start, double stop);

    // The offsets dx within [dxMin, dxMax] of row dy whose view angle lies in the window.
    ColumnRun Run(int dy, int dxMin, int dxMax) const;

private:
    bool InsideStart(int dx, int dy) const;
    bool InsideStop(int dx, int dy) const;

    bool m_topView;
    double m_start;
    double m_stop;
    // dx / |dy| of the two boundary directions (infinite along the straight edge).
    double m_startSlope;
    double m_stopSlope;
};

// Calls visit(y, dy, run) for every row y of the sector rectangle within the view that meets the
// fan: run holds the offsets dx from the origin within the fan radius and the angle window.
template <typename Visit>
void ForEachFanRow(const SectorGeometry& geometry, const SquaredDistanceLimits& limits,
                   const AngleWindowRows& window, Visit&& visit) {
    const int top = std::max(geometry.sector.top, 0);
    const int bottom = std::min(geometry.sector.bottom, geometry.height);
    const int64_t left = std::max(geometry.sector.left, 0);
    const int64_t right = std::min(geometry.sector.right, geometry.width);
    for (int y = top; y < bottom; ++y) {
        const int dy = y - geometry.originY;
        const int64_t dySq = int64_t{dy} * dy;
        if (dySq > limits.disc) {
            continue;
        }
        // Columns within the radius on this row, then those within the angle window.
        const int64_t reach = IntegerSqrt(limits.disc - dySq);
        const int64_t dxMin = std::max(left - geometry.originX, -reach);
        const int64_t dxMax = std::min(right - 1 - geometry.originX, reach);
        const ColumnRun run = window.Run(dy, static_cast<int>(dxMin), static_cast<int>(dxMax));
        if (!run.Empty()) {
            visit(y, dy, run);
        }
    }
}

}  // namespace zuvo::sector
