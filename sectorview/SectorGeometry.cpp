#include "sectorview/SectorGeometry.h"

#include <algorithm>
#include <cmath>

namespace zuvo::sector {

SectorGeometry ComputeGeometry(int width, int height, const SectorViewSettings& settings) {
    SectorGeometry geometry;
    geometry.width = std::max(width, 0);
    geometry.height = std::max(height, 0);
    geometry.topView = settings.topView != 0;
    geometry.radius = std::min(geometry.width * 0.5, static_cast<double>(geometry.height));
    const int sectorWidth = static_cast<int>(std::lround(2.0 * geometry.radius));
    const int sectorHeight = static_cast<int>(std::lround(geometry.radius));
    geometry.sector.left = (geometry.width - sectorWidth) / 2;
    geometry.sector.top = geometry.topView ? 0 : geometry.height - sectorHeight;
    geometry.sector.right = geometry.sector.left + sectorWidth;
    geometry.sector.bottom = geometry.sector.top + sectorHeight;
    geometry.originX = (geometry.sector.left + geometry.sector.right) / 2;
    geometry.originY = geometry.topView ? geometry.sector.top : geometry.sector.bottom - 1;
    // A parameter record without gates leaves every distance at the origin instead of
    // dividing by zero.
    geometry.pixelsPerGate = settings.gateCount > 0 ? geometry.radius / settings.gateCount : 0.0;
    geometry.ringDivisor = settings.ringCount >= 1 ? settings.ringCount : settings.gateCount;
    geometry.markerRadius = DiscRadius(geometry, settings.radiusScale);
    return geometry;
}

int DiscRadius(const SectorGeometry& geometry, double scale) {
    if (geometry.ringDivisor <= 0) {
        return 0;
    }
    const double radius = geometry.radius / (2.0 * geometry.ringDivisor) * scale;
    if (!(radius > 0.0)) {
        return 0;
    }
    return radius >= kMaxDiscRadius ? kMaxDiscRadius : static_cast<int>(radius);
}

PixelPoint PolarToPixel(const SectorGeometry& geometry, double distance, double angle) {
    const double rho = geometry.pixelsPerGate * distance;
    // Top view mirrors the picture vertically; left and right stay.
    const double degrees = geometry.topView ? -360.0 - angle : angle;
    const double radians = degrees * kPi / 180.0;
    return PixelPoint{geometry.originX + rho * std::cos(radians),
                      geometry.originY + rho * std::sin(radians)};
}

bool RoundToPixel(const PixelPoint& point, int& x, int& y) {
    constexpr double kFarAway = 1e9;
    if (!(std::fabs(point.x) <= kFarAway) || !(std::fabs(point.y) <= kFarAway)) {
        return false;
    }
    x = static_cast<int>(std::round(point.x));
    y = static_cast<int>(std::round(point.y));
    return true;
}

int RadialLineCount(double angleStep) {
    if (!(angleStep > 0.0)) {
        return 0;
    }
    const double count = std::round(180.0 / angleStep);
    return count > 1.0 ? static_cast<int>(std::min(count, 1e9)) - 1 : 0;
}

double ViewAngleOf(int dx, int dy, bool topView) {
    double theta = std::atan2(static_cast<double>(dy), static_cast<double>(dx)) * 180.0 / kPi;
    if (topView) {
        theta = -theta;
    }
    if (theta > 0.0) {
        theta -= 360.0;
    }
    return theta;
}

}  // namespace zuvo::sector
