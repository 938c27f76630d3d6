// The multi-target tracker: a constant-velocity Kalman filter per track (updated with the
// position and the Doppler velocity of its detections), gating, global nearest-neighbour
// assignment of detections to tracks, confirmation after a few hits and
// deletion after missing for a while. Ids are given at confirmation and never reused in a run.
#pragma once

#include <cstdint>
#include <vector>

#include "CvKalman.h"
#include "RadarFrame.h"

namespace zuvo::radar {

struct TrackerSettings {
    double distanceSigma = 0.10;         // measurement, metres
    double angleSigmaDeg = 2.0;          // measurement, degrees
    double velocitySigma = 0.15;         // measured radial velocity, m/s
    double accelerationSigma = 1.5;      // people change speed and heading, m/s^2
    double initialSpeedSigma = 1.5;      // a new track's speed is unknown, m/s
    double gateDistance2 = 16.3;         // squared Mahalanobis distance (chi-square, 3 dof, 99.9 %)
    double confirmedDopplerLimit = 6.0;  // most a confirmed track's Doppler mismatch may add
    int confirmHits = 4;                 // hits that make a tentative track a confirmed one
    int tentativeMaxMisses = 2;          // consecutive misses that end a tentative track
    uint32_t deleteAfterMs = 1000;       // a confirmed track without a hit for longer ends
    uint32_t reportCoastMs = 250;        // a confirmed track is reported this long after a hit
    uint32_t resetAfterGapMs = 5000;     // a longer gap between frames starts afresh
    // Room for the emulator's crowd of up to 100 objects, with the tentative tracks of false
    // alarms and the ended tracks of objects that stepped out still being held.
    int maxTracks = 160;
};

struct TrackReport {
    int64_t id;
    Vec2 position;  // metres
    Vec2 velocity;  // m/s
};

class MttTracker {
public:
    explicit MttTracker(const TrackerSettings& settings = TrackerSettings());

    // Forgets every track; ids start at 1 again.
    void Reset();
    // Processes the detections of the frame at timeMs (sensor time, milliseconds). Frames go
    // forwards in time; a frame from the past or after a long gap resets the tracker first.
    void Update(uint32_t timeMs, const std::vector<Detection>& detections);

    // Confirmed tracks hit within the report coast time, by id.
    std::vector<TrackReport> ReportedTracks() const;
    // Every live track, tentative ones included.
    int TrackCount() const { return static_cast<int>(m_tracks.size()); }

private:
    struct Track {
        CvKalman filter;
        int64_t id;  // 0 while tentative
        int hits;
        int misses;  // consecutive
        uint32_t lastHitMs;
    };
    struct Measurement {
        Vec2 position;
        Cov2 covariance;
        double radialVelocity;
        bool hasVelocity;
    };

    double Distance2(const Track& track, const Measurement& measurement) const;

    void StartTracks(const std::vector<Measurement>& measurements, const std::vector<bool>& used,
                     uint32_t timeMs);
    bool NearConfirmedTrack(const Measurement& measurement) const;

    TrackerSettings m_settings;
    std::vector<Track> m_tracks;
    int64_t m_nextId;
    bool m_hasTime;
    uint32_t m_lastTimeMs;
};

}  // namespace zuvo::radar
