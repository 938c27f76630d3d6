// What the sensor sends for one frame: its detections and, while it tracks by itself, its
// fixed object slots. Frames are what raw-data files store and what the processing consumes.
#pragma once

#include <cstdint>
#include <vector>

#include "ZUVO_DataProcess.h"

namespace zuvo::radar {

// One reflection the sensor detected.
struct Detection {
    double distance;   // metres
    double gate;       // range-gate units (distance / range resolution)
    double angle;      // degrees, 0 straight ahead, positive to the right
    double velocity;   // radial, m/s, positive moving away
    double amplitude;  // reflection strength, dB
};

enum RadarFrameFlags : uint8_t {
    kFrameSensorObjects = 0x01,  // sensorObjects holds the sensor's own tracking result
};

struct RadarFrame {
    uint32_t index = 0;   // frame number since the sensor started
    uint32_t timeMs = 0;  // sensor time of the frame since the sensor started
    uint8_t flags = 0;
    std::vector<Detection> detections;
    // Fixed slots of the sensor's tracker; a slot without an object has distance -1.
    std::vector<RadarObject> sensorObjects;
};

// The sensor's field of view.
constexpr double kFieldHalfAngleDeg = 60.0;
constexpr double kFieldMinRangeM = 0.5;

}  // namespace zuvo::radar
