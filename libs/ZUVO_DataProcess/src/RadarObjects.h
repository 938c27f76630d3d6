// Building the RadarObject records that the filters deliver. Besides the fields every caller
// reads, Reserved1 carries the lateral and Reserved2 the forward position in metres.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "MttTracker.h"
#include "RadarFrame.h"

namespace zuvo::radar {

// An entry that holds no object: distance -1 (and gate distance -1, id -1).
RadarObject EmptyObject();
bool HoldsObject(const RadarObject& object);

RadarObject ObjectFromDetection(int64_t id, const Detection& detection);
// A track's position and the radial part of its velocity (positive moving away).
RadarObject ObjectFromTrack(const TrackReport& track, double rangeResolution);

// The host-side filters deliver only the objects they see, packed from position 0, so a
// listener that fills fixed places by position could not tell that an object has gone. For each
// position that held an object in the previous delivery and holds none now, a delivery also
// carries one empty entry at that position; the delivery after it is as long as its objects
// again, so a departure is reported once and not in every frame.
class DepartureMarker {
public:
    void Reset() { m_heldBefore = 0; }
    // objects: what the filter delivers now, all of them holding an object.
    void Mark(std::vector<RadarObject>& objects);

private:
    size_t m_heldBefore = 0;
};

}  // namespace zuvo::radar
