// The tracks of the sector view: one per object identifier, newest point first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "sectorview/DiscImage.h"
#include "sectorview/SectorGeometry.h"

namespace zuvo::sector {

struct TrackPoint {
    double distance = 0.0;  // raw position of the object in the batch that added the point
    double angle = 0.0;
    double smoothedDistance = 0.0;  // moving average when the point was added
    double smoothedAngle = 0.0;
    uint32_t time = 0;  // MS_GetTime at the start of that batch
    // The smoothed position's pixel in the layout with id layout (0: not computed), so that
    // painting does not map every point again.
    PixelPoint pixel;
    uint32_t layout = 0;
};

// The unrounded pixel of point's smoothed position in geometry.
PixelPoint SmoothedPixel(const SectorGeometry& geometry, const TrackPoint& point);

struct SectorTrack {
    int64_t id = 0;
    int32_t boundaryIndex = -1;  // detection-boundary slot the track is in
    int32_t monitorIndex = -1;   // monitoring-area slot the track is in
    uint32_t markerColour = 0;
    // Fixed when the track is created; tracks created with the same marker share the image.
    std::shared_ptr<const DiscImage> markerImage;
    std::deque<TrackPoint> points;  // newest first, never empty between updates
};

// A track's monitoring area after an update: its slot, or -1.
struct TrackArea {
    int64_t id = 0;
    int area = -1;
};

// The track list, most recently updated first, at most kMaxTracks long.
class TrackList {
public:
    static constexpr int kMaxTracks = 100;

    int Count() const { return static_cast<int>(m_tracks.size()); }
    const SectorTrack& At(int index) const { return *m_tracks[static_cast<size_t>(index)]; }

    // Removes every point at least displayTimeMs old (unsigned difference to now, so the
    // millisecond counter may wrap), then every track left without points.
    void ExpirePoints(uint32_t now, uint32_t displayTimeMs);

    // The track of id, moved to the front; a new track there when there is none, after
    // dropping the least recently updated ones down to kMaxTracks - 1.
    SectorTrack& Touch(int64_t id, uint32_t markerColour,
                       const std::shared_ptr<const DiscImage>& markerImage);

    void Clear() { m_tracks.clear(); }

private:
    std::vector<std::unique_ptr<SectorTrack>> m_tracks;
};

// Puts a point at the front of track's points: smoothed over the newest smoothCount raw
// positions (fewer while the track is shorter), summed newest first.
TrackPoint& AddTrackPoint(SectorTrack& track, double distance, double angle, uint32_t now,
                          int smoothCount);

// The fade of a track whose newest point was added at pointTime: 223 while fresh, falling
// linearly to 0 at the display time; a point at or past the display time (seen only while no
// batches arrive) is drawn at the full 223.
uint32_t TrackFade(uint32_t now, uint32_t pointTime, uint32_t displayTimeMs);

}  // namespace zuvo::sector
