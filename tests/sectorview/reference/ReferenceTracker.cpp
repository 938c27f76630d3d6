#include <cmath>

#include "ReferenceView.h"

namespace zuvo::sector::reference {

namespace {

struct RefPoint {
    double distance;
    double angle;
    double smoothedDistance;
    double smoothedAngle;
    uint32_t time;
};

struct RefTrack {
    int64_t id;
    int32_t boundaryIndex;
    int32_t monitorIndex;
    uint32_t markerColour;
    DiscImage markerImage;
    CPtrListCtrl points;  // RefPoint*, newest first
};

int ZUVO_CALL CompareId(const void* entry, const void* key) {
    return static_cast<const RefTrack*>(entry)->id == *static_cast<const int64_t*>(key) ? 0 : 1;
}

}  // namespace

Tracker::Tracker(const SectorGeometry& geometry, const SectorViewSettings& settings)
    : m_geometry(geometry), m_settings(settings) {}

Tracker::~Tracker() {
    while (m_tracks.GetCount() > 0) {
        FreeTrack(m_tracks.RemoveAt(0));
    }
}

void Tracker::FreeTrack(void* entry) {
    auto* track = static_cast<RefTrack*>(entry);
    while (track->points.GetCount() > 0) {
        delete static_cast<RefPoint*>(track->points.RemoveAt(0));
    }
    delete track;
}

void Tracker::SetAreas(const AreaTable* boundaries, const std::vector<uint32_t>* boundaryMask,
                       const AreaTable* monitorAreas, const std::vector<uint32_t>* monitorMask) {
    m_boundaries = boundaries;
    m_boundaryMask = boundaryMask;
    m_monitorAreas = monitorAreas;
    m_monitorMask = monitorMask;
}

void Tracker::AddMonitorPoint(double distance, double angle, double size) {
    m_points.push_back(Point{distance, angle, size});
    m_hits.push_back(0);
}

void Tracker::UpdateObjects(const CPtrListCtrl* objects, uint32_t now) {
    std::fill(m_hits.begin(), m_hits.end(), 0);
    for (int t = 0; t < m_tracks.GetCount(); ++t) {
        auto* track = static_cast<RefTrack*>(m_tracks.GetAt(t));
        for (int i = 0; i < track->points.GetCount();) {
            const auto* point = static_cast<const RefPoint*>(track->points.GetAt(i));
            if (static_cast<uint32_t>(now - point->time) >= m_settings.displayTimeMs) {
                delete static_cast<RefPoint*>(track->points.RemoveAt(i));
            } else {
                ++i;
            }
        }
    }
    for (int t = 0; t < m_tracks.GetCount();) {
        if (static_cast<RefTrack*>(m_tracks.GetAt(t))->points.GetCount() == 0) {
            FreeTrack(m_tracks.RemoveAt(t));
        } else {
            ++t;
        }
    }
    for (int i = 0; objects != nullptr && i < objects->GetCount(); ++i) {
        Accept(*static_cast<const SectorObject*>(objects->GetAt(i)), now);
    }
}

bool Tracker::InAnyBoundary(double distance, double angle) const {
    bool anyPresent = false;
    for (int k = 0; k < kAreaSlots; ++k) {
        anyPresent = anyPresent || m_boundaries->Slot(k).present;
    }
    if (!anyPresent) {
        return true;
    }
    const PixelPoint p = PolarToPixel(m_geometry, distance, angle);
    const int x = static_cast<int>(std::round(p.x));
    const int y = static_cast<int>(std::round(p.y));
    if (!InView(m_geometry, x, y)) {
        return false;
    }
    const uint32_t bits = (*m_boundaryMask)[static_cast<size_t>(y) * m_geometry.width + x];
    for (int k = 0; k < kAreaSlots; ++k) {
        if (m_boundaries->Slot(k).present && ((bits >> k) & 1) != 0) {
            return true;
        }
    }
    return false;
}

int32_t Tracker::Membership(int32_t current, const AreaTable* table,
                            const std::vector<uint32_t>* mask, double distance,
                            double angle) const {
    const PixelPoint p = PolarToPixel(m_geometry, distance, angle);
    const int x = static_cast<int>(std::round(p.x));
    const int y = static_cast<int>(std::round(p.y));
    const bool inView = InView(m_geometry, x, y);
    const uint32_t bits = inView ? (*mask)[static_cast<size_t>(y) * m_geometry.width + x] : 0;
    if (current >= 0 && current < kAreaSlots && table->Slot(current).present && inView &&
        ((bits >> current) & 1) != 0) {
        return current;
    }
    for (int k = 0; k < kAreaSlots; ++k) {
        if (table->Slot(k).present && inView && ((bits >> k) & 1) != 0) {
            return k;
        }
    }
    return -1;
}

void Tracker::Accept(const SectorObject& object, uint32_t now) {
    if (!(m_settings.gateMin <= object.distance && object.distance <= m_settings.gateMax &&
          m_settings.angleStart <= object.angle && object.angle <= m_settings.angleStop)) {
        return;
    }
    if (!InAnyBoundary(object.distance, object.angle)) {
        return;
    }
    RefTrack* track = nullptr;
    const int found = m_tracks.FindData(&object.id, CompareId);
    if (found >= 0) {
        m_tracks.MoveData(found, 1, 0);
        track = static_cast<RefTrack*>(m_tracks.GetAt(0));
    } else {
        if (m_tracks.GetCount() >= 100) {
            while (m_tracks.GetCount() > 99) {
                FreeTrack(m_tracks.RemoveAt(m_tracks.GetCount() - 1));
            }
        }
        track = new RefTrack{object.id,
                             -1,
                             -1,
                             m_settings.markerColour,
                             MakeDisc(m_geometry.markerRadius, m_settings.markerColour),
                             {}};
        m_tracks.AddData(track, 0);
    }
    auto* point = new RefPoint{object.distance, object.angle, object.distance, object.angle, now};
    track->points.AddData(point, 0);
    int summed = 1;
    for (int i = 1; i < m_settings.smoothCount; ++i) {
        const auto* older = static_cast<const RefPoint*>(track->points.GetAt(i));
        if (older == nullptr) {
            break;
        }
        point->smoothedDistance += older->distance;
        point->smoothedAngle += older->angle;
        ++summed;
    }
    point->smoothedDistance /= summed;
    point->smoothedAngle /= summed;
    track->boundaryIndex = Membership(track->boundaryIndex, m_boundaries, m_boundaryMask,
                                      point->smoothedDistance, point->smoothedAngle);
    track->monitorIndex = Membership(track->monitorIndex, m_monitorAreas, m_monitorMask,
                                     point->smoothedDistance, point->smoothedAngle);
    const double radians = point->smoothedAngle * kPi / 180.0;
    const double ox = point->smoothedDistance * std::cos(radians);
    const double oy = point->smoothedDistance * std::sin(radians);
    for (size_t i = 0; i < m_points.size(); ++i) {
        if (m_hits[i] != 0) {
            continue;
        }
        const double pr = m_points[i].angle * kPi / 180.0;
        const double dx = ox - m_points[i].distance * std::cos(pr);
        const double dy = oy - m_points[i].distance * std::sin(pr);
        if (std::sqrt(dx * dx + dy * dy) < (m_settings.radiusScale + m_points[i].size) * 0.5) {
            m_hits[i] = 1;
        }
    }
}

std::vector<SectorTrack> Tracker::Snapshot() const {
    std::vector<SectorTrack> tracks;
    for (int t = 0; t < m_tracks.GetCount(); ++t) {
        const auto* track = static_cast<const RefTrack*>(m_tracks.GetAt(t));
        SectorTrack copy;
        copy.id = track->id;
        copy.boundaryIndex = track->boundaryIndex;
        copy.monitorIndex = track->monitorIndex;
        copy.markerColour = track->markerColour;
        copy.markerImage = std::make_shared<const DiscImage>(track->markerImage);
        for (int i = 0; i < track->points.GetCount(); ++i) {
            const auto* point = static_cast<const RefPoint*>(track->points.GetAt(i));
            TrackPoint copied;
            copied.distance = point->distance;
            copied.angle = point->angle;
            copied.smoothedDistance = point->smoothedDistance;
            copied.smoothedAngle = point->smoothedAngle;
            copied.time = point->time;
            copy.points.push_back(copied);
        }
        tracks.push_back(std::move(copy));
    }
    return tracks;
}

}  // namespace zuvo::sector::reference
