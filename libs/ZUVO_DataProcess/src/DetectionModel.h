// How the emulated sensor sees its scene: one detection per person in the field of view (two
// people closer than the sensor resolves give one), with measurement noise, missed detections
// (more often for people standing still, whose Doppler is weak), a fixed reflector when there is
// one and occasional false alarms anywhere in the field.
#pragma once

#include <vector>

#include "EmulatorScene.h"
#include "RadarFrame.h"
#include "Random.h"

namespace zuvo::radar {

struct MeasureSettings {
    double rangeResolution = 0.25;  // metres per gate
    double distanceSigma = 0.05;    // metres
    double angleSigmaDeg = 1.5;
    double velocitySigma = 0.05;   // m/s
    double missRate = 0.05;        // 0..1
    double falseAlarmRate = 0.3;   // mean false alarms per frame
    double resolveDistance = 0.3;  // people closer than this merge into one detection, metres
};

// The detections of one frame, sorted by distance.
std::vector<Detection> MeasureScene(const EmulatorScene& scene, const MeasureSettings& settings,
                                    Random& random);

}  // namespace zuvo::radar
