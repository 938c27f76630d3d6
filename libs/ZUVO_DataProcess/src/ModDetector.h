// Moving-object detection (MOD): reports the single strongest detection that moves, with an id
// that stays while the pick stays on the same object.
#pragma once

#include <cstdint>
#include <vector>

#include "DetectBounds.h"
#include "RadarFrame.h"

namespace zuvo::radar {

struct ModSettings {
    double minSpeed = 0.1;      // |radial velocity| that counts as moving, m/s
    double holdDistance = 0.6;  // a pick this close to the last one (plus walking) keeps its id
    uint32_t holdMs = 500;      // longer without a pick starts a new id
};

class ModDetector {
public:
    explicit ModDetector(const ModSettings& settings = ModSettings());

    void Reset();
    // Picks the strongest moving detection that the bounds admit. Answers false when no
    // detection qualifies; object is then left unchanged.
    bool Update(uint32_t timeMs, const std::vector<Detection>& detections,
                const DetectBoundSet& bounds, RadarObject& object);

private:
    ModSettings m_settings;
    int64_t m_nextId;
    int64_t m_id;
    bool m_hasPick;
    uint32_t m_lastMs;
    double m_lastX;
    double m_lastY;
};

}  // namespace zuvo::radar
