#include "EmulatedSensor.h"

#include <algorithm>

#include "CommandAck.h"

namespace zuvo::radar {

namespace {

constexpr int kDefaultSlots = 3;
constexpr uint32_t kDefaultCommandTimeoutMs = 3000;

SceneSettings SceneOf(const tagRADARPARAMETER& p, const tagEMULATORSETTINGS& e) {
    SceneSettings scene;
    scene.maxRange = p.GateCount * p.RangeResolution;
    scene.minRange = kFieldMinRangeM;
    scene.halfAngleDeg = kFieldHalfAngleDeg;
    scene.maxPeople = e.EmulatorPeople;
    scene.fixedReflector = e.EmulatorFixedReflector != 0;
    scene.scriptedPeople = e.EmulatorScriptedPeople;
    scene.leaveS[0] = e.EmulatorLeave1S;
    scene.leaveS[1] = e.EmulatorLeave2S;
    scene.leaveS[2] = e.EmulatorLeave3S;
    scene.crowdObjects = e.EmulatorObjects;
    scene.crowdLifeS = e.EmulatorObjectLifeS;
    return scene;
}

MeasureSettings MeasureOf(const tagRADARPARAMETER& p, const tagEMULATORSETTINGS& e) {
    MeasureSettings measure;
    measure.rangeResolution = p.RangeResolution;
    measure.distanceSigma = e.EmulatorNoise;
    measure.missRate = e.EmulatorMissRate;
    measure.falseAlarmRate = e.EmulatorFalseAlarmRate;
    return measure;
}

// The sensor's second algorithm waits for more hits before it reports and holds tracks longer.
TrackerSettings SensorTrackerOf(const tagRADARPARAMETER& p) {
    TrackerSettings settings;
    if (p.SensorAlgorithm == 1) {
        settings.confirmHits = 5;
        settings.deleteAfterMs = 2000;
        settings.reportCoastMs = 500;
    }
    return settings;
}

// Wrap-safe: whether the millisecond clock now is before deadline.
bool Before(uint32_t now, uint32_t deadline) {
    return static_cast<int32_t>(deadline - now) > 0;
}

}  // namespace

EmulatedSensor::EmulatedSensor(const tagRADARPARAMETER& parameters,
                               const tagEMULATORSETTINGS& emulator)
    : m_rangeResolution(parameters.RangeResolution),
      m_periodMs(static_cast<uint32_t>(std::max(parameters.FramePeriodMs, 1))),
      m_tracksBySelf(parameters.ProcessSite == RADAR_PROCESS_SITE_SENSOR),
      m_scene(SceneOf(parameters, emulator), emulator.EmulatorSeed),
      m_measure(MeasureOf(parameters, emulator)),
      m_noise(static_cast<uint64_t>(emulator.EmulatorSeed) ^ 0x5EED5EED5EEDull),
      m_tracker(SensorTrackerOf(parameters)),
      m_frameIndex(0),
      m_slots(kDefaultSlots),
      m_commandMode(false),
      m_commandDeadlineMs(0),
      m_commandTimeoutMs(kDefaultCommandTimeoutMs) {}

RadarFrame EmulatedSensor::NextFrame() {
    RadarFrame frame;
    frame.index = m_frameIndex;
    frame.timeMs = m_frameIndex * m_periodMs;
    if (m_frameIndex > 0) {
        m_scene.Advance(m_periodMs / 1000.0);
    }
    ++m_frameIndex;
    frame.detections = MeasureScene(m_scene, m_measure, m_noise);
    if (m_tracksBySelf) {
        m_tracker.Update(frame.timeMs, frame.detections);
        frame.flags |= kFrameSensorObjects;
        frame.sensorObjects =
            m_slotMapper.Assign(m_tracker.ReportedTracks(), m_slots.load(), m_rangeResolution);
    }
    return frame;
}

bool EmulatedSensor::EnterCommandMode(int param, uint32_t timeoutMs, uint32_t nowMs) {
    (void)param;
    std::lock_guard<std::mutex> hold(m_commandLock);
    m_commandTimeoutMs = timeoutMs > 0 ? timeoutMs : kDefaultCommandTimeoutMs;
    m_commandMode = true;
    m_commandDeadlineMs = nowMs + m_commandTimeoutMs;
    return true;
}

bool EmulatedSensor::LeaveCommandMode(uint32_t nowMs) {
    std::lock_guard<std::mutex> hold(m_commandLock);
    const bool was = m_commandMode && Before(nowMs, m_commandDeadlineMs);
    m_commandMode = false;
    return was;
}

bool EmulatedSensor::InCommandMode(uint32_t nowMs) const {
    std::lock_guard<std::mutex> hold(m_commandLock);
    return m_commandMode && Before(nowMs, m_commandDeadlineMs);
}

std::vector<uint8_t> EmulatedSensor::HandleCommand(uint16_t command, uint32_t nowMs) {
    std::lock_guard<std::mutex> hold(m_commandLock);
    if (!m_commandMode || !Before(nowMs, m_commandDeadlineMs)) {
        m_commandMode = false;
        return {};
    }
    m_commandDeadlineMs = nowMs + m_commandTimeoutMs;
    uint16_t status = kStatusOk;
    if (command == RADAR_CMD_TRACK_SINGLE) {
        m_slots.store(1);
    } else if (command == RADAR_CMD_TRACK_MULTI) {
        m_slots.store(3);
    } else {
        status = kStatusUnknownCommand;
    }
    return BuildAck(RADAR_PROTOCOL_V2, command, status, 0);
}

}  // namespace zuvo::radar
