#include "sectorview/TrackList.h"

#include <algorithm>

namespace zuvo::sector {

void TrackList::ExpirePoints(uint32_t now, uint32_t displayTimeMs) {
    for (auto& track : m_tracks) {
        std::erase_if(track->points, [&](const TrackPoint& point) {
            return static_cast<uint32_t>(now - point.time) >= displayTimeMs;
        });
    }
    std::erase_if(m_tracks, [](const auto& track) { return track->points.empty(); });
}

SectorTrack& TrackList::Touch(int64_t id, uint32_t markerColour,
                              const std::shared_ptr<const DiscImage>& markerImage) {
    const auto found = std::find_if(m_tracks.begin(), m_tracks.end(),
                                    [id](const auto& track) { return track->id == id; });
    if (found != m_tracks.end()) {
        std::rotate(m_tracks.begin(), found, found + 1);
        return *m_tracks.front();
    }
    if (m_tracks.size() >= static_cast<size_t>(kMaxTracks)) {
        m_tracks.resize(kMaxTracks - 1);
    }
    auto track = std::make_unique<SectorTrack>();
    track->id = id;
    track->markerColour = markerColour;
    track->markerImage = markerImage;
    m_tracks.insert(m_tracks.begin(), std::move(track));
    return *m_tracks.front();
}

PixelPoint SmoothedPixel(const SectorGeometry& geometry, const TrackPoint& point) {
    if (geometry.layout != 0 && point.layout == geometry.layout) {
        return point.pixel;
    }
    return PolarToPixel(geometry, point.smoothedDistance, point.smoothedAngle);
}

TrackPoint& AddTrackPoint(SectorTrack& track, double distance, double angle, uint32_t now,
                          int smoothCount) {
    TrackPoint point;
    point.distance = distance;
    point.angle = angle;
    point.time = now;
    track.points.push_front(point);
    double distanceSum = distance;
    double angleSum = angle;
    int summed = 1;
    const int available = static_cast<int>(track.points.size());
    for (int i = 1; i < smoothCount && i < available; ++i) {
        const TrackPoint& older = track.points[static_cast<size_t>(i)];
        distanceSum += older.distance;
        angleSum += older.angle;
        ++summed;
    }
    TrackPoint& added = track.points.front();
    added.smoothedDistance = distanceSum / summed;
    added.smoothedAngle = angleSum / summed;
    return added;
}

uint32_t TrackFade(uint32_t now, uint32_t pointTime, uint32_t displayTimeMs) {
    const uint32_t age = now - pointTime;
    if (age >= displayTimeMs) {
        return 223;
    }
    // 64-bit so that display times beyond 19 million ms cannot overflow the product.
    const uint64_t fade = uint64_t{displayTimeMs - age} * 223 / displayTimeMs;
    return static_cast<uint32_t>(std::min<uint64_t>(fade, 223));
}

}  // namespace zuvo::sector
