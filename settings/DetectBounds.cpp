#include "settings/DetectBounds.h"

#include <algorithm>
#include <cmath>

namespace zuvo::settings {

namespace {

// Rounds half away from zero into the 32-bit range (the clamps below then apply).
int64_t RoundToInt(double value) {
    const double rounded = std::round(value);
    return static_cast<int64_t>(
        std::clamp(rounded, static_cast<double>(INT32_MIN), static_cast<double>(INT32_MAX)));
}

}  // namespace

std::vector<DetectBoundPoint> ToDetectBound(const int32_t* rowColumnPairs, int count,
                                            int32_t fanWidth, int32_t fanHeight, bool topViewMode,
                                            int gateCount, int boundGateLimit) {
    std::vector<DetectBoundPoint> bound;
    if (rowColumnPairs == nullptr || count <= 0 || fanWidth <= 0 || fanHeight <= 0) {
        return bound;
    }
    const double gates = gateCount;
    const int64_t limit = boundGateLimit;
    bound.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double row = rowColumnPairs[2 * i];
        const double column = rowColumnPairs[2 * i + 1];
        int64_t gate = RoundToInt(row * gates / fanHeight);
        int64_t lateral = RoundToInt(column * 2.0 * gates / fanWidth - gates);
        if (!topViewMode) {
            gate = limit - gate;
        }
        if (gate < 0) {
            gate = 0;
        }
        if (gate > limit - 1) {
            gate = limit - 1;
        }
        if (lateral < -limit) {
            lateral = -limit;
        }
        if (lateral > limit - 1) {
            lateral = limit - 1;
        }
        bound.push_back(
            DetectBoundPoint{static_cast<int32_t>(gate), static_cast<int32_t>(lateral)});
    }
    return bound;
}

void ApplyDetectBounds(const IAreaView& view, IDetectBoundSink& sink, const AppConfig& settings,
                       const tagRADARPARAMETER& radar) {
    sink.ClearModBounds();
    sink.ClearMttBounds();
    const ZRect rect = view.GetSectorRect();
    std::vector<int32_t> points;
    for (int slot = 0; slot < kAreaSlotCount; ++slot) {
        if (!view.GetAlgorithmArea(slot, points) || points.size() < 2) {
            continue;
        }
        const std::vector<DetectBoundPoint> bound = ToDetectBound(
            points.data(), static_cast<int>(points.size() / 2), rect.right - rect.left,
            rect.bottom - rect.top, settings.ObjectWnd_TopViewMode != 0, radar.GateCount,
            radar.BoundGateLimit);
        if (bound.empty()) {
            continue;
        }
        sink.AddModBound(bound.data(), static_cast<int>(bound.size()));
        sink.AddMttBound(bound.data(), static_cast<int>(bound.size()));
    }
}

}  // namespace zuvo::settings
