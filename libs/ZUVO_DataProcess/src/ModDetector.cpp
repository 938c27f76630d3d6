#include "ModDetector.h"

#include <cmath>

#include "RadarObjects.h"

namespace zuvo::radar {

namespace {

// A person walks at most about this fast; the id hold grows with the time since the last pick.
constexpr double kMaxWalkingSpeed = 2.0;

}  // namespace

ModDetector::ModDetector(const ModSettings& settings) : m_settings(settings) {
    Reset();
}

void ModDetector::Reset() {
    m_nextId = 1;
    m_id = 0;
    m_hasPick = false;
    m_lastMs = 0;
    m_lastX = 0.0;
    m_lastY = 0.0;
}

bool ModDetector::Update(uint32_t timeMs, const std::vector<Detection>& detections,
                         const DetectBoundSet& bounds, RadarObject& object) {
    const Detection* strongest = nullptr;
    for (const Detection& detection : detections) {
        if (!std::isfinite(detection.distance) || !std::isfinite(detection.angle) ||
            !std::isfinite(detection.velocity) || !std::isfinite(detection.amplitude) ||
            detection.distance < 0.0 || std::fabs(detection.velocity) < m_settings.minSpeed ||
            !bounds.AdmitsPolar(detection.gate, detection.angle)) {
            continue;
        }
        if (strongest == nullptr || detection.amplitude > strongest->amplitude) {
            strongest = &detection;
        }
    }
    if (strongest == nullptr) {
        return false;
    }
    RadarObject picked = ObjectFromDetection(0, *strongest);
    const uint32_t sinceLast = timeMs - m_lastMs;
    const double reach = m_settings.holdDistance + kMaxWalkingSpeed * sinceLast / 1000.0;
    const bool sameObject =
        m_hasPick && timeMs >= m_lastMs && sinceLast <= m_settings.holdMs &&
        std::hypot(picked.Reserved1 - m_lastX, picked.Reserved2 - m_lastY) <= reach;
    if (!sameObject) {
        m_id = m_nextId++;
    }
    m_hasPick = true;
    m_lastMs = timeMs;
    m_lastX = picked.Reserved1;
    m_lastY = picked.Reserved2;
    picked.Id = m_id;
    object = picked;
    return true;
}

}  // namespace zuvo::radar
