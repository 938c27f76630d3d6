#include "EmulatorDevice.h"

#include "Diagnostics.h"
#include "ZUVO_CommonCore.h"

namespace zuvo::radar {

namespace {

// Frames more than this far behind their time are skipped rather than sent in a burst, as a
// sensor drops frames a busy host does not fetch.
constexpr int64_t kMaxLagFrames = 4;

}  // namespace

EmulatorDevice::EmulatorDevice(const tagRADARPARAMETER& parameters,
                               const tagEMULATORSETTINGS& emulator, std::wstring recordFolder)
    : m_parameters(parameters),
      m_recordFolder(std::move(recordFolder)),
      m_sensor(parameters, emulator) {}

EmulatorDevice::~EmulatorDevice() {
    End();
}

void EmulatorDevice::Begin(FrameQueue& queue, RunGate& gate) {
    End();
    m_recorder.BeginRun(m_recordFolder, m_parameters);
    m_thread = std::thread([this, &queue, &gate] { Run(queue, gate); });
}

void EmulatorDevice::End() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
    m_recorder.End();
}

void EmulatorDevice::Run(FrameQueue& queue, RunGate& gate) {
    MarkLibraryThread();
    try {
        const auto period = std::chrono::milliseconds(m_parameters.FramePeriodMs);
        RunGate::Clock::time_point due = RunGate::Clock::now();
        while (gate.WaitUntil(due, false)) {
            const int64_t behind = (RunGate::Clock::now() - due) / period;
            if (behind > kMaxLagFrames) {
                for (int64_t i = 0; i < behind; ++i) {
                    m_sensor.NextFrame();
                }
                due += behind * period;
                Diagnostic(1, "the emulator fell %lld frames behind; they were skipped",
                           static_cast<long long>(behind));
            }
            RadarFrame frame = m_sensor.NextFrame();
            due += period;
            if (gate.Paused()) {
                m_recorder.FlushIfDue(MS_GetTime());
                continue;
            }
            std::string error;
            if (m_recorder.Active() && !m_recorder.Write(frame, MS_GetTime(), error)) {
                Diagnostic(2, "raw-data recording ended: %s", error.c_str());
            }
            if (queue.PushDroppingOldest(std::move(frame))) {
                Diagnostic(1, "processing is behind; the oldest waiting frame was dropped");
            }
        }
    } catch (const std::exception& e) {
        Diagnostic(2, "the emulator thread ended: %s", e.what());
    } catch (...) {
        Diagnostic(2, "the emulator thread ended on an unknown exception");
    }
}

bool EmulatorDevice::EnterCommandMode(int param, uint32_t timeoutMs) {
    return m_sensor.EnterCommandMode(param, timeoutMs, MS_GetTime());
}

bool EmulatorDevice::LeaveCommandMode() {
    return m_sensor.LeaveCommandMode(MS_GetTime());
}

std::vector<uint8_t> EmulatorDevice::SendCommand(uint16_t command) {
    return m_sensor.HandleCommand(command, MS_GetTime());
}

std::wstring EmulatorDevice::RecordingFolder() const {
    return m_recorder.Folder();
}

}  // namespace zuvo::radar
