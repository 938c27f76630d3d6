#include "sectorview/FanRows.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zuvo::sector {

namespace {

constexpr int64_t kAllDistances = std::numeric_limits<int64_t>::max() / 4;

// Largest n >= 0 with sqrt(n) <= limit, or -1 when there is none.
int64_t LargestRootAtMost(double limit) {
    if (!(limit >= 0.0)) {
        return -1;
    }
    if (limit >= 1e9) {  // beyond any view: every distance qualifies
        return kAllDistances;
    }
    auto root = [](int64_t n) { return std::sqrt(static_cast<double>(n)); };
    int64_t n = static_cast<int64_t>(limit * limit);
    while (n > 0 && root(n) > limit) {
        --n;
    }
    while (root(n + 1) <= limit) {
        ++n;
    }
    return n;
}

// Largest n >= 0 with sqrt(n) < limit, or -1 when there is none.
int64_t LargestRootBelow(double limit) {
    if (!(limit > 0.0)) {
        return -1;
    }
    if (limit >= 1e9) {
        return kAllDistances;
    }
    auto root = [](int64_t n) { return std::sqrt(static_cast<double>(n)); };
    int64_t n = static_cast<int64_t>(limit * limit);
    while (n > 0 && root(n) >= limit) {
        --n;
    }
    while (root(n + 1) < limit) {
        ++n;
    }
    return n;
}

// dx / |dy| of the direction with view angle theta (between -180 and 0): along a row the view
// angle is -90 + atan(dx / |dy|) in both orientations.
double BoundarySlope(double theta) {
    const double fromBoresight = theta + 90.0;
    if (fromBoresight <= -90.0) {
        return -std::numeric_limits<double>::infinity();
    }
    if (fromBoresight >= 90.0) {
        return std::numeric_limits<double>::infinity();
    }
    return std::tan(fromBoresight * kPi / 180.0);
}

// The boundary offset |dy| x slope as an integer start point for the exact search.
int64_t Estimate(double slope, int dy, int dxMin, int dxMax) {
    const double offset = slope * std::abs(dy);
    if (!(offset > dxMin - 2.0)) {
        return dxMin - 2;
    }
    if (!(offset < dxMax + 2.0)) {
        return dxMax + 2;
    }
    return static_cast<int64_t>(std::floor(offset));
}

}  // namespace

int64_t IntegerSqrt(int64_t value) {
    int64_t root = static_cast<int64_t>(std::sqrt(static_cast<double>(value)));
    while (root > 0 && root * root > value) {
        --root;
    }
    while ((root + 1) * (root + 1) <= value) {
        ++root;
    }
    return root;
}

SquaredDistanceLimits ComputeDistanceLimits(const SectorGeometry& geometry,
                                            const SectorViewSettings& settings) {
    SquaredDistanceLimits limits;
    limits.disc = LargestRootAtMost(geometry.radius);
    limits.bandAbove = LargestRootAtMost(geometry.pixelsPerGate * settings.gateMin);
    limits.bandMax = LargestRootBelow(geometry.pixelsPerGate * (settings.gateMax + 1.0));
    return limits;
}

AngleWindowRows::AngleWindowRows(bool topView, double start, double stop)
    : m_topView(topView),
      m_start(start),
      m_stop(stop),
      m_startSlope(BoundarySlope(start)),
      m_stopSlope(BoundarySlope(stop)) {}

bool AngleWindowRows::InsideStart(int dx, int dy) const {
    return ViewAngleOf(dx, dy, m_topView) >= m_start;
}

bool AngleWindowRows::InsideStop(int dx, int dy) const {
    return ViewAngleOf(dx, dy, m_topView) <= m_stop;
}

ColumnRun AngleWindowRows::Run(int dy, int dxMin, int dxMax) const {
    ColumnRun run;
    if (dxMin > dxMax) {
        return run;
    }
    if (dy == 0) {
        // The row of the straight edge: angle 0 from the origin rightwards, -180 leftwards;
        // still monotonic, so a plain search from both ends is exact and only this row pays.
        int first = dxMin;
        while (first <= dxMax && !InsideStart(first, dy)) {
            ++first;
        }
        int last = dxMax;
        while (last >= first && !InsideStop(last, dy)) {
            --last;
        }
        run.first = first;
        run.last = last;
        return run;
    }
    // First offset at or after the start boundary: move down while the left neighbour is
    // still inside, then up while this one is outside. The estimate is within a pixel, so
    // each loop runs once or twice.
    int64_t first = std::clamp<int64_t>(Estimate(m_startSlope, dy, dxMin, dxMax) + 1, dxMin,
                                        int64_t{dxMax} + 1);
    while (first > dxMin && InsideStart(static_cast<int>(first - 1), dy)) {
        --first;
    }
    while (first <= dxMax && !InsideStart(static_cast<int>(first), dy)) {
        ++first;
    }
    int64_t last =
        std::clamp<int64_t>(Estimate(m_stopSlope, dy, dxMin, dxMax), int64_t{dxMin} - 1, dxMax);
    while (last < dxMax && InsideStop(static_cast<int>(last + 1), dy)) {
        ++last;
    }
    while (last >= dxMin && !InsideStop(static_cast<int>(last), dy)) {
        --last;
    }
    run.first = static_cast<int>(first);
    run.last = static_cast<int>(last);
    return run;
}

}  // namespace zuvo::sector
