// An open device: something that produces frames on its own thread while it runs: the live
// emulator, a sensor on a serial line, or the playback of a recording.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
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
    // The same, waiting at most timeoutMs. A device that answers at once or never (the
    // emulator) leaves the caller waiting out the time-out when it does not answer, as a
    // silent sensor does.
    virtual std::vector<uint8_t> SendCommandWaiting(uint16_t command, uint32_t timeoutMs) {
        std::vector<uint8_t> ack = SendCommand(command);
        if (ack.empty()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
        }
        return ack;
    }

    // The folder the current (or last) run records its raw data into; empty when it records
    // none.
    virtual std::wstring RecordingFolder() const { return {}; }
};

}  // namespace zuvo::radar
