#include "FrameProcessor.h"

#include <cmath>

#include "RadarObjects.h"

namespace zuvo::radar {

namespace {

constexpr double kDegToRad = 3.14159265358979323846 / 180.0;

bool Usable(const Detection& d) {
    return std::isfinite(d.distance) && std::isfinite(d.gate) && std::isfinite(d.angle) &&
           std::isfinite(d.velocity) && d.distance >= 0.0;
}

// A slot as delivered: recorded and live slots look the same, and a slot with values that are
// not numbers is an empty slot rather than a point nowhere.
RadarObject NormalisedSlot(const RadarObject& slot, const DetectBoundSet& bounds) {
    if (!HoldsObject(slot) || !std::isfinite(slot.Distance) || !std::isfinite(slot.GateDistance) ||
        !std::isfinite(slot.Angle) || !std::isfinite(slot.Velocity) ||
        !bounds.AdmitsPolar(slot.GateDistance, slot.Angle)) {
        return EmptyObject();
    }
    RadarObject object = slot;
    object.Reserved1 = slot.Distance * std::sin(slot.Angle * kDegToRad);
    object.Reserved2 = slot.Distance * std::cos(slot.Angle * kDegToRad);
    return object;
}

}  // namespace

ProcessingSettings ProcessingOf(const tagRADARPARAMETER& record) {
    ProcessingSettings settings;
    settings.processSite = record.ProcessSite;
    settings.hostAlgorithm = record.HostAlgorithm;
    settings.rangeResolution = record.RangeResolution;
    if (record.HostProcessValue > 0) {
        settings.modMinSpeed = record.HostProcessValue / 1000.0;
    }
    return settings;
}

FrameProcessor::FrameProcessor(FilterSet& filters)
    : m_filters(filters), m_objectDetection(true), m_delivered(0) {}

void FrameProcessor::Reset(const ProcessingSettings& settings) {
    m_settings = settings;
    m_tracker.Reset();
    m_trackerDepartures.Reset();
    m_modDepartures.Reset();
    ModSettings mod;
    mod.minSpeed = settings.modMinSpeed;
    m_mod = ModDetector(mod);
}

void FrameProcessor::Process(const RadarFrame& frame) {
    if (m_objectDetection.load() && m_settings.processSite == RADAR_PROCESS_SITE_HOST) {
        if (m_settings.hostAlgorithm == RADAR_HOST_ALGORITHM_MTT) {
            RunHostTracker(frame);
        } else if (m_settings.hostAlgorithm == RADAR_HOST_ALGORITHM_MOD) {
            RunModDetector(frame);
        }
    }
    if ((frame.flags & kFrameSensorObjects) != 0) {
        PassSensorObjects(frame);
    }
}

void FrameProcessor::RunHostTracker(const RadarFrame& frame) {
    const std::shared_ptr<const DetectBoundSet> bounds = m_filters.mttBounds.Snapshot();
    std::vector<Detection> admitted;
    admitted.reserve(frame.detections.size());
    for (const Detection& d : frame.detections) {
        if (Usable(d) && bounds->AdmitsPolar(d.gate, d.angle)) {
            admitted.push_back(d);
        }
    }
    m_tracker.Update(frame.timeMs, admitted);
    std::vector<RadarObject> objects;
    for (const TrackReport& track : m_tracker.ReportedTracks()) {
        const RadarObject object = ObjectFromTrack(track, m_settings.rangeResolution);
        if (bounds->AdmitsPolar(object.GateDistance, object.Angle)) {
            objects.push_back(object);
        }
    }
    m_trackerDepartures.Mark(objects);
    m_delivered += m_filters.mttListeners.Deliver(frame.index, objects);
}

void FrameProcessor::RunModDetector(const RadarFrame& frame) {
    const std::shared_ptr<const DetectBoundSet> bounds = m_filters.modBounds.Snapshot();
    std::vector<RadarObject> objects;
    RadarObject object{};
    if (m_mod.Update(frame.timeMs, frame.detections, *bounds, object)) {
        objects.push_back(object);
    }
    m_modDepartures.Mark(objects);
    m_delivered += m_filters.modListeners.Deliver(frame.index, objects);
}

void FrameProcessor::PassSensorObjects(const RadarFrame& frame) {
    const std::shared_ptr<const DetectBoundSet> bounds = m_filters.mttBounds.Snapshot();
    std::vector<RadarObject> objects;
    objects.reserve(frame.sensorObjects.size());
    for (const RadarObject& slot : frame.sensorObjects) {
        objects.push_back(NormalisedSlot(slot, *bounds));
    }
    m_delivered += m_filters.dataListeners.Deliver(frame.index, objects);
}

}  // namespace zuvo::radar
