// Where the fan lies in the view and how a (distance, angle) pair becomes a pixel and back.
//
// Distances count range gates, angles are view degrees: -90 points from the sensor straight
// into the fan, -180 and 0 run along the straight edge. Pixel rows count from the top.
#pragma once

#include <cstdint>

#include "ZUVO_CommonCore.h"
#include "sectorview/ViewSettings.h"

namespace zuvo::sector {

constexpr double kPi = 3.14159265358979323846;
// The marker radius the view has before its first layout.
constexpr int kInitialMarkerRadius = 10;
// Discs larger than this are clamped: a huge radius scale from a hand-edited settings file
// must not allocate gigabytes of marker pixels.
constexpr int kMaxDiscRadius = 512;

struct SectorGeometry {
    int width = 0;
    int height = 0;
    double radius = 0.0;       // fan radius R in pixels
    ZRect sector{0, 0, 0, 0};  // the fan's bounding rectangle
    int originX = 0;           // the sensor pixel
    int originY = 0;
    double pixelsPerGate = 0.0;
    int ringDivisor = 0;  // ring spacing divisor: the ring count, or the gate count below 1
    int markerRadius = kInitialMarkerRadius;
    bool topView = true;
    // Identifies this layout among the ones a view has had, for positions computed in it;
    // 0 for a geometry nothing is cached for.
    uint32_t layout = 0;
};

// An unrounded pixel position.
struct PixelPoint {
    double x = 0.0;
    double y = 0.0;
};

// The layout of a width x height view.
SectorGeometry ComputeGeometry(int width, int height, const SectorViewSettings& settings);

// The radius of a disc whose diameter is scale ring spacings, truncated toward zero; 0 when the
// geometry has no rings or the scale is not positive, at most kMaxDiscRadius.
int DiscRadius(const SectorGeometry& geometry, double scale);

PixelPoint PolarToPixel(const SectorGeometry& geometry, double distance, double angle);

// Rounds half away from zero into x and y; false when a coordinate is not finite or lies so far
// away (beyond 1e9) that no view can contain it.
bool RoundToPixel(const PixelPoint& point, int& x, int& y);

inline bool InView(const SectorGeometry& geometry, int x, int y) {
    return x >= 0 && y >= 0 && x < geometry.width && y < geometry.height;
}

// Number of radial grid lines for an angle step: round(180 / step) - 1, none for a step of 0.
int RadialLineCount(double angleStep);

// The view angle of the pixel offset (dx, dy) from the origin: -180 ... 0 on the fan's side;
// the origin itself answers 0.
double ViewAngleOf(int dx, int dy, bool topView);

}  // namespace zuvo::sector
