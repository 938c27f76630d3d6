// Turns frames into deliveries. Tracking on this computer (processing site 0, object detection
// on): the MTT tracker (HostAlgorithm 3) or moving-object detection (HostAlgorithm 1) runs on
// the detections and delivers to its own listeners, the objects it sees and an empty entry
// where an object of the previous delivery has gone. Tracking on the sensor: the sensor's slots
// go out through the MTT data filter. Each filter drops what lies outside its bounds; the data
// filter empties such a slot, since the sensor's slots are fixed.
#pragma once

#include <atomic>
#include <cstdint>

#include "DetectBounds.h"
#include "ListenerRegistry.h"
#include "ModDetector.h"
#include "MttTracker.h"
#include "RadarFrame.h"
#include "RadarObjects.h"

namespace zuvo::radar {

struct ProcessingSettings {
    int processSite = RADAR_PROCESS_SITE_HOST;
    int hostAlgorithm = RADAR_HOST_ALGORITHM_MTT;
    double rangeResolution = 0.25;
    double modMinSpeed = 0.1;  // m/s
};

// The processing a parameter record asks for. HostProcessValue, when positive, is the speed
// in mm/s from which moving-object detection counts a detection as moving.
ProcessingSettings ProcessingOf(const tagRADARPARAMETER& record);

struct FilterSet {
    ListenerRegistry modListeners;
    ListenerRegistry mttListeners;
    ListenerRegistry dataListeners;
    SharedBounds modBounds;
    SharedBounds mttBounds;
};

class FrameProcessor {
public:
    explicit FrameProcessor(FilterSet& filters);

    // A new run: trackers start afresh.
    void Reset(const ProcessingSettings& settings);
    void SetObjectDetection(bool on) { m_objectDetection.store(on); }
    bool ObjectDetection() const { return m_objectDetection.load(); }

    // Processes one frame on the processing thread.
    void Process(const RadarFrame& frame);

    // Entries handed to listeners since the library was loaded.
    int64_t DeliveredEntries() const { return m_delivered.load(); }

private:
    void RunHostTracker(const RadarFrame& frame);
    void RunModDetector(const RadarFrame& frame);
    void PassSensorObjects(const RadarFrame& frame);

    FilterSet& m_filters;
    ProcessingSettings m_settings;
    MttTracker m_tracker;
    ModDetector m_mod;
    DepartureMarker m_trackerDepartures;
    DepartureMarker m_modDepartures;
    std::atomic<bool> m_objectDetection;
    std::atomic<int64_t> m_delivered;
};

}  // namespace zuvo::radar
