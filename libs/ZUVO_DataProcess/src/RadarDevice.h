// An open device: something that produces frames on its own thread while it runs. The live
// emulator and the playback of a recording are the two kinds.
#pragma once

#include <cstdint>
#include <vector>

#include "FrameQueue.h"
#include "RunGate.h"

namespace zuvo::radar {

class RadarDevice {
public:
    virtual ~RadarDevice() = default;

    // Starts the device's thread, which pushes frames into queue until gate asks it to stop.
    virtual void Begin(FrameQueue& queue, RunGate& gate) = 0;
    // Waits for the device's thread to end (after the gate's stop request).
    virtual void End() = 0;

    // The sensor's command mode; a device that is not a live sensor refuses.
    virtual bool EnterCommandMode(int param, uint32_t timeoutMs) = 0;
    virtual bool LeaveCommandMode() = 0;
    // The acknowledgement frame of the command, or nothing when the sensor does not answer.
    virtual std::vector<uint8_t> SendCommand(uint16_t command) = 0;
};

}  // namespace zuvo::radar
