// The live radar emulator: makes a frame every frame period on its own thread, records it
// when the run records raw data, and queues it for processing. While paused, frames are made
// (the world goes on) but neither recorded nor queued.
#pragma once

#include <string>
#include <thread>

#include "EmulatedSensor.h"
#include "RadarDevice.h"
#include "RawDataRecorder.h"

namespace zuvo::radar {

class EmulatorDevice : public RadarDevice {
public:
    // recordFolder: where each run records its raw data; empty for no recording.
    EmulatorDevice(const tagRADARPARAMETER& parameters, const tagEMULATORSETTINGS& emulator,
                   std::wstring recordFolder);
    ~EmulatorDevice() override;

    void Begin(FrameQueue& queue, RunGate& gate) override;
    void End() override;
    bool EnterCommandMode(int param, uint32_t timeoutMs) override;
    bool LeaveCommandMode() override;
    std::vector<uint8_t> SendCommand(uint16_t command) override;

    // The folder the current (or last) run records into; empty when it does not record.
    std::wstring RecordingFolder() const override;
    int TrackingSlots() const { return m_sensor.TrackingSlots(); }

private:
    void Run(FrameQueue& queue, RunGate& gate);

    const tagRADARPARAMETER m_parameters;
    const std::wstring m_recordFolder;
    EmulatedSensor m_sensor;
    RawDataRecorder m_recorder;
    std::thread m_thread;
};

}  // namespace zuvo::radar
