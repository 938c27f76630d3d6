#include "SlotMapper.h"

#include <algorithm>
#include <cmath>

#include "RadarObjects.h"

namespace zuvo::radar {

std::vector<RadarObject> SlotMapper::Assign(const std::vector<TrackReport>& tracks, int slotCount,
                                            double rangeResolution) {
    slotCount = std::max(slotCount, 0);
    m_slotIds.resize(static_cast<size_t>(slotCount), 0);
    std::vector<bool> placed(tracks.size(), false);
    // Keep the slots of tracks still reported; free the others.
    for (int64_t& slotId : m_slotIds) {
        const auto it = std::find_if(tracks.begin(), tracks.end(),
                                     [&](const TrackReport& track) { return track.id == slotId; });
        if (it == tracks.end()) {
            slotId = 0;
        } else {
            placed[static_cast<size_t>(it - tracks.begin())] = true;
        }
    }
    // Fill free slots with the nearest unplaced tracks.
    for (int64_t& slotId : m_slotIds) {
        if (slotId != 0) {
            continue;
        }
        int nearest = -1;
        double nearestRange = 0.0;
        for (size_t i = 0; i < tracks.size(); ++i) {
            const double range = std::hypot(tracks[i].position.x, tracks[i].position.y);
            if (!placed[i] && (nearest < 0 || range < nearestRange)) {
                nearest = static_cast<int>(i);
                nearestRange = range;
            }
        }
        if (nearest < 0) {
            break;
        }
        placed[static_cast<size_t>(nearest)] = true;
        slotId = tracks[static_cast<size_t>(nearest)].id;
    }
    std::vector<RadarObject> slots;
    slots.reserve(m_slotIds.size());
    for (int64_t slotId : m_slotIds) {
        const auto it = std::find_if(tracks.begin(), tracks.end(),
                                     [&](const TrackReport& track) { return track.id == slotId; });
        slots.push_back(slotId != 0 && it != tracks.end() ? ObjectFromTrack(*it, rangeResolution)
                                                          : EmptyObject());
    }
    return slots;
}

}  // namespace zuvo::radar
