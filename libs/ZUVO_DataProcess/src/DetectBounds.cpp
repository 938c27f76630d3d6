#include "DetectBounds.h"

#include <algorithm>
#include <cmath>

namespace zuvo::radar {

namespace {

// Points are compared in 1/256 gate, so fractional object positions meet the integer grid
// exactly in the utility library's integer polygon test.
constexpr double kSubGate = 256.0;
constexpr double kDegToRad = 3.14159265358979323846 / 180.0;

int32_t Scaled(int32_t value) {
    return value * static_cast<int32_t>(kSubGate);
}

}  // namespace

bool DetectBoundSet::Add(const DetectBoundPoint* points, int count, int gateLimit) {
    if (points == nullptr || count < 3 || gateLimit < 1) {
        return false;
    }
    const int32_t limit = std::min(gateLimit, 1 << 20);
    Bound bound{};
    bound.pairs.reserve(static_cast<size_t>(count) * 2);
    bound.minGate = bound.minLateral = INT32_MAX;
    bound.maxGate = bound.maxLateral = INT32_MIN;
    for (int i = 0; i < count; ++i) {
        const int32_t gate = Scaled(std::clamp(points[i].Gate, 0, limit - 1));
        const int32_t lateral = Scaled(std::clamp(points[i].Lateral, -limit, limit - 1));
        bound.pairs.push_back(gate);
        bound.pairs.push_back(lateral);
        bound.minGate = std::min(bound.minGate, gate);
        bound.maxGate = std::max(bound.maxGate, gate);
        bound.minLateral = std::min(bound.minLateral, lateral);
        bound.maxLateral = std::max(bound.maxLateral, lateral);
    }
    m_bounds.push_back(std::move(bound));
    return true;
}

bool DetectBoundSet::Contains(double forwardGates, double lateralGates) const {
    if (!std::isfinite(forwardGates) || !std::isfinite(lateralGates)) {
        return false;
    }
    // Everything outside the largest grid is outside every bound; limiting first keeps the
    // scaled values inside 32 bits.
    const double far = static_cast<double>(1 << 21);
    const auto gate =
        static_cast<int32_t>(std::lround(std::clamp(forwardGates, -far, far) * kSubGate));
    const auto lateral =
        static_cast<int32_t>(std::lround(std::clamp(lateralGates, -far, far) * kSubGate));
    for (const Bound& bound : m_bounds) {
        if (gate < bound.minGate || gate > bound.maxGate || lateral < bound.minLateral ||
            lateral > bound.maxLateral) {
            continue;
        }
        if (IsPointInPolygonSides(gate, lateral, bound.pairs.data(),
                                  static_cast<int>(bound.pairs.size() / 2)) >= 0) {
            return true;
        }
    }
    return false;
}

bool DetectBoundSet::AdmitsPolar(double gateDistance, double angleDeg) const {
    if (Empty()) {
        return true;
    }
    const double angle = angleDeg * kDegToRad;
    return Contains(gateDistance * std::cos(angle), gateDistance * std::sin(angle));
}

SharedBounds::SharedBounds() : m_current(std::make_shared<DetectBoundSet>()) {}

bool SharedBounds::Add(const DetectBoundPoint* points, int count, int gateLimit) {
    std::lock_guard<std::mutex> hold(m_lock);
    auto next = std::make_shared<DetectBoundSet>(*m_current);
    if (!next->Add(points, count, gateLimit)) {
        return false;
    }
    m_current = std::move(next);
    return true;
}

void SharedBounds::Clear() {
    std::lock_guard<std::mutex> hold(m_lock);
    m_current = std::make_shared<DetectBoundSet>();
}

std::shared_ptr<const DetectBoundSet> SharedBounds::Snapshot() const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_current;
}

}  // namespace zuvo::radar
