// Building the RadarObject records that the filters deliver. Besides the fields every caller
// reads, Reserved1 carries the lateral and Reserved2 the forward position in metres.
#pragma once

#include <cstdint>

#include "MttTracker.h"
#include "RadarFrame.h"

namespace zuvo::radar {

// An entry that holds no object: distance -1 (and gate distance -1, id -1).
RadarObject EmptyObject();
bool HoldsObject(const RadarObject& object);

RadarObject ObjectFromDetection(int64_t id, const Detection& detection);
// A track's position and the radial part of its velocity (positive moving away).
RadarObject ObjectFromTrack(const TrackReport& track, double rangeResolution);

}  // namespace zuvo::radar
