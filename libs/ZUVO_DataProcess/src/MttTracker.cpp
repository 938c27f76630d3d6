#include "MttTracker.h"

#include <algorithm>
#include <cmath>

#include "Assignment.h"

namespace zuvo::radar {

MttTracker::MttTracker(const TrackerSettings& settings)
    : m_settings(settings), m_nextId(1), m_hasTime(false), m_lastTimeMs(0) {}

void MttTracker::Reset() {
    m_tracks.clear();
    m_nextId = 1;
    m_hasTime = false;
    m_lastTimeMs = 0;
}

void MttTracker::Update(uint32_t timeMs, const std::vector<Detection>& detections) {
    if (m_hasTime &&
        (timeMs < m_lastTimeMs || timeMs - m_lastTimeMs > m_settings.resetAfterGapMs)) {
        Reset();
    }
    const double dt = m_hasTime ? (timeMs - m_lastTimeMs) / 1000.0 : 0.0;
    m_hasTime = true;
    m_lastTimeMs = timeMs;

    std::vector<Measurement> measurements;
    measurements.reserve(detections.size());
    for (const Detection& detection : detections) {
        if (!std::isfinite(detection.distance) || !std::isfinite(detection.angle) ||
            detection.distance < 0.0) {
            continue;
        }
        Measurement m{};
        PolarToCartesian(detection.distance, detection.angle, m_settings.distanceSigma,
                         m_settings.angleSigmaDeg, m.position, m.covariance);
        m.hasVelocity = std::isfinite(detection.velocity);
        m.radialVelocity = m.hasVelocity ? detection.velocity : 0.0;
        measurements.push_back(m);
    }
    for (Track& track : m_tracks) {
        track.filter.Predict(dt, m_settings.accelerationSigma);
    }

    const int rows = static_cast<int>(m_tracks.size());
    const int cols = static_cast<int>(measurements.size());
    std::vector<double> cost(static_cast<size_t>(rows) * cols, kForbiddenCost);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const double d2 = Distance2(m_tracks[r], measurements[c]);
            if (d2 <= m_settings.gateDistance2) {
                cost[static_cast<size_t>(r) * cols + c] = d2;
            }
        }
    }
    const std::vector<int> assigned = AssignMinimumCost(cost, rows, cols);

    std::vector<bool> used(measurements.size(), false);
    for (int r = 0; r < rows; ++r) {
        Track& track = m_tracks[r];
        if (assigned[r] < 0) {
            ++track.misses;
            continue;
        }
        const Measurement& m = measurements[assigned[r]];
        used[assigned[r]] = true;
        track.filter.Update(m.position, m.covariance);
        if (m.hasVelocity) {
            track.filter.UpdateRadial(m.radialVelocity,
                                      m_settings.velocitySigma * m_settings.velocitySigma);
        }
        ++track.hits;
        track.misses = 0;
        track.lastHitMs = timeMs;
        if (track.id == 0 && track.hits >= m_settings.confirmHits) {
            track.id = m_nextId++;
        }
    }

    m_tracks.erase(std::remove_if(m_tracks.begin(), m_tracks.end(),
                                  [&](const Track& track) {
                                      return track.id == 0
                                                 ? track.misses >= m_settings.tentativeMaxMisses
                                                 : timeMs - track.lastHitMs >
                                                       m_settings.deleteAfterMs;
                                  }),
                   m_tracks.end());
    StartTracks(measurements, used, timeMs);
}

double MttTracker::Distance2(const Track& track, const Measurement& measurement) const {
    const double position = track.filter.Distance2(measurement.position, measurement.covariance);
    if (!measurement.hasVelocity) {
        return position;
    }
    const double radial = track.filter.RadialDistance2(
        measurement.radialVelocity, m_settings.velocitySigma * m_settings.velocitySigma);
    // A tentative track must also agree in Doppler, which is what keeps clutter from being
    // confirmed. A confirmed one may disagree up to a limit: people stop, start and turn
    // faster than a constant-velocity model expects, and such a detection is still theirs.
    return position + (track.id == 0 ? radial : std::min(radial, m_settings.confirmedDopplerLimit));
}

bool MttTracker::NearConfirmedTrack(const Measurement& measurement) const {
    for (const Track& track : m_tracks) {
        if (track.id != 0 && Distance2(track, measurement) <= m_settings.gateDistance2) {
            return true;
        }
    }
    return false;
}

void MttTracker::StartTracks(const std::vector<Measurement>& measurements,
                             const std::vector<bool>& used, uint32_t timeMs) {
    for (size_t i = 0; i < measurements.size(); ++i) {
        if (static_cast<int>(m_tracks.size()) >= m_settings.maxTracks) {
            return;
        }
        // A spare detection inside a confirmed track's gate is that object seen twice (or a
        // neighbour hidden behind it); a new track there would only duplicate the object.
        if (used[i] || NearConfirmedTrack(measurements[i])) {
            continue;
        }
        m_tracks.push_back(Track{CvKalman(measurements[i].position, measurements[i].covariance,
                                          m_settings.initialSpeedSigma),
                                 0, 1, 0, timeMs});
        if (m_settings.confirmHits <= 1) {
            m_tracks.back().id = m_nextId++;
        }
    }
}

std::vector<TrackReport> MttTracker::ReportedTracks() const {
    std::vector<TrackReport> reports;
    for (const Track& track : m_tracks) {
        if (track.id != 0 && m_lastTimeMs - track.lastHitMs <= m_settings.reportCoastMs) {
            reports.push_back(
                TrackReport{track.id, track.filter.Position(), track.filter.Velocity()});
        }
    }
    std::sort(reports.begin(), reports.end(),
              [](const TrackReport& a, const TrackReport& b) { return a.id < b.id; });
    return reports;
}

}  // namespace zuvo::radar
