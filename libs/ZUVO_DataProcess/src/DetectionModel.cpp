#include "DetectionModel.h"

#include <algorithm>
#include <cmath>

namespace zuvo::radar {

namespace {

constexpr double kRadToDeg = 180.0 / 3.14159265358979323846;
// People standing still are missed this much more often.
constexpr double kStandingExtraMiss = 0.15;

// A reflection at a Cartesian position with a velocity, as the sensor measures it.
Detection Measure(Vec2 position, Vec2 velocity, double strengthAtOneMetre,
                  const MeasureSettings& settings, Random& random) {
    const double range = std::hypot(position.x, position.y);
    const double radial =
        range > 1e-9 ? (position.x * velocity.x + position.y * velocity.y) / range : 0.0;
    Detection detection{};
    detection.distance = std::max(0.0, range + random.Gaussian(settings.distanceSigma));
    detection.gate = detection.distance / settings.rangeResolution;
    detection.angle =
        std::atan2(position.x, position.y) * kRadToDeg + random.Gaussian(settings.angleSigmaDeg);
    detection.velocity = radial + random.Gaussian(settings.velocitySigma);
    detection.amplitude =
        strengthAtOneMetre - 40.0 * std::log10(std::max(range, 0.5)) + random.Gaussian(1.5);
    return detection;
}

struct Cluster {
    Vec2 position;
    Vec2 velocity;
    int members;
    bool standing;
};

// People the sensor cannot tell apart form one cluster at their mean position.
std::vector<Cluster> ResolvablePeople(const EmulatorScene& scene, double resolveDistance) {
    std::vector<Cluster> clusters;
    for (const ScenePerson& person : scene.People()) {
        if (!scene.InField(person.position)) {
            continue;
        }
        bool merged = false;
        for (Cluster& cluster : clusters) {
            if (std::hypot(cluster.position.x - person.position.x,
                           cluster.position.y - person.position.y) < resolveDistance) {
                const double n = cluster.members;
                cluster.position = Vec2{(cluster.position.x * n + person.position.x) / (n + 1),
                                        (cluster.position.y * n + person.position.y) / (n + 1)};
                cluster.velocity = Vec2{(cluster.velocity.x * n + person.velocity.x) / (n + 1),
                                        (cluster.velocity.y * n + person.velocity.y) / (n + 1)};
                cluster.members += 1;
                cluster.standing = cluster.standing && person.standing;
                merged = true;
                break;
            }
        }
        if (!merged) {
            clusters.push_back(Cluster{person.position, person.velocity, 1, person.standing});
        }
    }
    return clusters;
}

}  // namespace

std::vector<Detection> MeasureScene(const EmulatorScene& scene, const MeasureSettings& settings,
                                    Random& random) {
    std::vector<Detection> detections;
    for (const Cluster& cluster : ResolvablePeople(scene, settings.resolveDistance)) {
        const double miss = settings.missRate + (cluster.standing ? kStandingExtraMiss : 0.0);
        if (random.Chance(miss)) {
            continue;
        }
        detections.push_back(Measure(cluster.position, cluster.velocity, 80.0, settings, random));
    }
    if (scene.HasReflector() && !random.Chance(settings.missRate * 0.5)) {
        detections.push_back(Measure(scene.Reflector(), Vec2{0.0, 0.0}, 95.0, settings, random));
    }
    const SceneSettings& field = scene.Settings();
    const int falseAlarms = random.Poisson(settings.falseAlarmRate);
    for (int i = 0; i < falseAlarms; ++i) {
        Detection alarm{};
        alarm.distance = random.Uniform(field.minRange, field.maxRange);
        alarm.gate = alarm.distance / settings.rangeResolution;
        alarm.angle = random.Uniform(-field.halfAngleDeg, field.halfAngleDeg);
        alarm.velocity = random.Gaussian(0.8);
        alarm.amplitude = random.Uniform(30.0, 42.0) - 10.0 * std::log10(alarm.distance);
        detections.push_back(alarm);
    }
    std::sort(detections.begin(), detections.end(),
              [](const Detection& a, const Detection& b) { return a.distance < b.distance; });
    return detections;
}

}  // namespace zuvo::radar
