// Scripted scenes with known truth for the tracker tests: people on straight paths, measured
// with noise and misses the way the emulated sensor measures them.
#pragma once

#include <cmath>
#include <vector>

#include "CvKalman.h"
#include "RadarFrame.h"
#include "Random.h"

namespace zuvo::test {

using radar::Detection;
using radar::Vec2;

constexpr double kPi = 3.14159265358979323846;
constexpr double kResolution = 0.25;

// A person moving from `from` to `to` between two times, standing before and after.
struct ScriptedWalk {
    Vec2 from;
    Vec2 to;
    double startS;
    double endS;

    Vec2 At(double t) const {
        const double k = t <= startS ? 0.0 : (t >= endS ? 1.0 : (t - startS) / (endS - startS));
        return Vec2{from.x + (to.x - from.x) * k, from.y + (to.y - from.y) * k};
    }
    Vec2 Velocity(double t) const {
        if (t < startS || t >= endS) {
            return Vec2{0.0, 0.0};
        }
        return Vec2{(to.x - from.x) / (endS - startS), (to.y - from.y) / (endS - startS)};
    }
};

inline double Range(Vec2 p) {
    return std::hypot(p.x, p.y);
}

inline double Distance(Vec2 a, Vec2 b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// An exact detection of a point (no noise).
inline Detection DetectionAt(Vec2 p, Vec2 v = Vec2{0.0, 0.0}, double amplitude = 50.0) {
    const double range = Range(p);
    return Detection{range, range / kResolution, std::atan2(p.x, p.y) * 180.0 / kPi,
                     range > 0.0 ? (p.x * v.x + p.y * v.y) / range : 0.0, amplitude};
}

inline bool InField(Vec2 p, double maxRange = 8.0) {
    return Range(p) >= 0.5 && Range(p) <= maxRange && p.y > 0 &&
           std::fabs(std::atan2(p.x, p.y)) <= 60.0 * kPi / 180.0;
}

// The detections of the people at time t: noise, misses, and people closer than 0.3 m seen as
// one, like the emulated sensor.
inline std::vector<Detection> MeasureWalks(const std::vector<ScriptedWalk>& walks, double t,
                                           radar::Random& random, double missRate = 0.05) {
    std::vector<Vec2> seen;
    std::vector<Vec2> speeds;
    for (const ScriptedWalk& walk : walks) {
        const Vec2 p = walk.At(t);
        if (!InField(p)) {
            continue;
        }
        bool merged = false;
        for (Vec2& other : seen) {
            if (Distance(other, p) < 0.3) {
                other = Vec2{(other.x + p.x) / 2, (other.y + p.y) / 2};
                merged = true;
            }
        }
        if (!merged) {
            seen.push_back(p);
            speeds.push_back(walk.Velocity(t));
        }
    }
    std::vector<Detection> detections;
    for (size_t i = 0; i < seen.size(); ++i) {
        if (random.Chance(missRate)) {
            continue;
        }
        Detection d = DetectionAt(seen[i], speeds[i]);
        d.distance += random.Gaussian(0.05);
        d.gate = d.distance / kResolution;
        d.angle += random.Gaussian(1.5);
        detections.push_back(d);
    }
    return detections;
}

}  // namespace zuvo::test
