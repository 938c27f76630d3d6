// The radar emulator as a sensor: it sees the scene once per frame period and, while it tracks
// by itself (processing site 10), runs its own tracker and reports fixed object slots: one
// after the tracking-mode command 0x80, three after 0x90 (three until told otherwise). It takes
// commands only in command mode and answers each with an acknowledgement frame.
//
// Frames are made on one thread and commands arrive on another; the two share only the slot
// count (atomic) and the command-mode state (under its own lock).
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "DetectionModel.h"
#include "EmulatorScene.h"
#include "MttTracker.h"
#include "RadarFrame.h"
#include "Random.h"
#include "SlotMapper.h"
#include "ZUVO_DataProcess.h"
#include "ZUVO_DataProcessExtras.h"

namespace zuvo::radar {

class EmulatedSensor {
public:
    // The range grid, frame period and processing site come from the run's record, the scene
    // and the measurement errors from the emulator's settings.
    EmulatedSensor(const tagRADARPARAMETER& parameters, const tagEMULATORSETTINGS& emulator);

    // The next frame, one frame period after the previous one.
    RadarFrame NextFrame();

    // Command mode lasts timeoutMs after entering it and after every command (nowMs: the
    // caller's millisecond clock). param is the host's command-mode key; any is accepted.
    bool EnterCommandMode(int param, uint32_t timeoutMs, uint32_t nowMs);
    bool LeaveCommandMode(uint32_t nowMs);
    bool InCommandMode(uint32_t nowMs) const;
    // The acknowledgement frame, or nothing when the sensor does not listen (not in command
    // mode), as a real sensor stays silent.
    std::vector<uint8_t> HandleCommand(uint16_t command, uint32_t nowMs);

    int TrackingSlots() const { return m_slots.load(); }
    bool TracksBySelf() const { return m_tracksBySelf; }

private:
    const double m_rangeResolution;
    const uint32_t m_periodMs;
    const bool m_tracksBySelf;
    EmulatorScene m_scene;
    MeasureSettings m_measure;
    Random m_noise;
    MttTracker m_tracker;
    SlotMapper m_slotMapper;
    uint32_t m_frameIndex;

    std::atomic<int> m_slots;
    mutable std::mutex m_commandLock;
    bool m_commandMode;
    uint32_t m_commandDeadlineMs;
    uint32_t m_commandTimeoutMs;
};

}  // namespace zuvo::radar
