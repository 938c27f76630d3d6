#include "RadarObjects.h"

#include <cmath>

namespace zuvo::radar {

namespace {

constexpr double kRadToDeg = 180.0 / 3.14159265358979323846;
constexpr double kDegToRad = 3.14159265358979323846 / 180.0;

}  // namespace

RadarObject EmptyObject() {
    return RadarObject{-1, -1.0, -1.0, 0.0, 0.0, 0.0, 0.0};
}

bool HoldsObject(const RadarObject& object) {
    return object.Distance >= 0.0;
}

RadarObject ObjectFromDetection(int64_t id, const Detection& detection) {
    const double angle = detection.angle * kDegToRad;
    return RadarObject{id,
                       detection.gate,
                       detection.distance,
                       detection.velocity,
                       detection.angle,
                       detection.distance * std::sin(angle),
                       detection.distance * std::cos(angle)};
}

RadarObject ObjectFromTrack(const TrackReport& track, double rangeResolution) {
    const double x = track.position.x;
    const double y = track.position.y;
    const double distance = std::hypot(x, y);
    const double radial =
        distance > 1e-9 ? (x * track.velocity.x + y * track.velocity.y) / distance : 0.0;
    return RadarObject{
        track.id, distance / rangeResolution, distance, radial, std::atan2(x, y) * kRadToDeg, x, y};
}

void DepartureMarker::Mark(std::vector<RadarObject>& objects) {
    const size_t held = objects.size();
    if (held < m_heldBefore) {
        objects.resize(m_heldBefore, EmptyObject());
    }
    m_heldBefore = held;
}

}  // namespace zuvo::radar
