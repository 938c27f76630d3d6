#include "sectorview/ViewSettings.h"

#include <algorithm>

namespace zuvo::sector {

void ClampGateRange(double& gateMin, double& gateMax, int gateCount) {
    // Written as negated comparisons so that a NaN takes the default instead of surviving.
    if (!(gateMax > 0.0)) {
        gateMax = gateCount - 1;
    }
    if (!(gateMin >= 0.0)) {
        gateMin = 0.0;
    }
    if (gateMin > gateCount - 2) {
        gateMin = gateCount - 2;
    }
    if (gateMax < 1.0) {
        gateMax = 1.0;
    }
    if (gateMax > gateCount - 1) {
        gateMax = gateCount - 1;
    }
}

SectorViewSettings ApplyConfig(SectorViewSettings settings, const SectorViewConfig& config) {
    settings.topView = config.topViewMode;
    settings.angleStart = std::clamp(static_cast<double>(config.angleStart), -180.0, 0.0);
    settings.angleStop = std::clamp(static_cast<double>(config.angleStop), -180.0, 0.0);
    settings.angleStep = std::clamp(static_cast<double>(config.angleStep), 0.0, 180.0);
    settings.gateMin = config.gateMin;
    settings.gateMax = config.gateMax;
    settings.gateCount = config.gateCount;
    ClampGateRange(settings.gateMin, settings.gateMax, settings.gateCount);
    settings.drawLocus = config.drawLocus;
    // A negative lifetime would wrap to about 50 days of unsigned milliseconds; it is read
    // as "no lifetime" instead.
    settings.displayTimeMs = static_cast<uint32_t>(std::max(config.displayTimeMs, 0));
    settings.ringCount = config.sectorCount;
    settings.radiusScale = config.radiusScale;
    settings.locusRadiusScale = config.locusRadiusScale;
    settings.markerColour = kMarkerColour;
    settings.smoothCount = std::clamp(config.smoothCount, 1, 255);
    return settings;
}

}  // namespace zuvo::sector
