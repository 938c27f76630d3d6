// The sensor-side tracker reports a fixed number of object slots. A track keeps its slot for as
// long as it is reported; a free slot takes the nearest track that has none.
#pragma once

#include <cstdint>
#include <vector>

#include "MttTracker.h"
#include "ZUVO_DataProcess.h"

namespace zuvo::radar {

class SlotMapper {
public:
    void Reset() { m_slotIds.clear(); }
    // Exactly slotCount entries; a slot without a track holds an empty entry (distance -1).
    std::vector<RadarObject> Assign(const std::vector<TrackReport>& tracks, int slotCount,
                                    double rangeResolution);

private:
    std::vector<int64_t> m_slotIds;  // 0: free
};

}  // namespace zuvo::radar
