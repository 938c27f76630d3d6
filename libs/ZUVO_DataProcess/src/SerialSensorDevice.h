// A sensor on a serial line (source type 1), spoken to in the protocol of SensorLink.h. A reader
// thread owns the reading side from the opening to the end: it turns the line's bytes into
// frames, which it queues while a run lasts and the run is not paused, and hands every answer
// to the control call waiting for it. Command mode and commands work with or without a run, as
// the host enters command mode before it starts.
//
// A run that records raw data writes every frame it queues, on the reader thread, before the
// frame is queued, as the emulator does; frames that arrive while the run is paused are
// neither recorded nor queued.
//
// The line going away (a read error, or no frame for kSilenceLimitMs while streaming) closes
// it, ends the recording and finishes the run's queue: the frames received so far are still
// processed, and are all in the recording, then the run ends by itself. Nothing on this device
// works after that; a new one must be opened.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "RadarDevice.h"
#include "RawDataRecorder.h"
#include "SensorLink.h"
#include "SerialLine.h"

namespace zuvo::radar {

class SerialSensorDevice : public RadarDevice {
public:
    // A sensor sends a frame every frame period; this long without one means it has gone.
    static constexpr uint32_t kSilenceLimitMs = 1500;
    static constexpr uint32_t kIdentifyTimeoutMs = 500;
    static constexpr uint32_t kCommandModeAnswerTimeoutMs = 500;

    // run: the record of the run (range grid, frame period, processing site, sensor algorithm).
    // recordFolder: where each run records its raw data; empty for no recording.
    SerialSensorDevice(std::unique_ptr<SerialLine> line, const tagRADARPARAMETER& run,
                       std::wstring recordFolder = {});
    ~SerialSensorDevice() override;
    SerialSensorDevice(const SerialSensorDevice&) = delete;
    SerialSensorDevice& operator=(const SerialSensorDevice&) = delete;

    // Asks the sensor who it is; its identity text, or nothing (error tells why).
    std::optional<std::string> Identify(std::string& error);

    void Begin(FrameQueue& queue, RunGate& gate) override;
    void End() override;
    bool EnterCommandMode(int param, uint32_t timeoutMs) override;
    bool LeaveCommandMode() override;
    std::vector<uint8_t> SendCommand(uint16_t command) override;
    std::vector<uint8_t> SendCommandWaiting(uint16_t command, uint32_t timeoutMs) override;

    std::wstring RecordingFolder() const override;

    bool LineLost() const { return m_lost.load(); }

private:
    void ReadLine();
    void Dispatch(link::Message& message, uint32_t nowMs);
    void LoseLine(const char* why);
    bool Send(const link::Message& message);
    // Sends request and waits for the first answer of the given type.
    std::optional<link::Message> Exchange(const link::Message& request, size_t answerIndex,
                                          uint32_t timeoutMs);

    const tagRADARPARAMETER m_run;
    const std::wstring m_recordFolder;

    // The writing side; the reader closes the line under this lock when it goes.
    std::mutex m_lineLock;
    std::unique_ptr<SerialLine> m_line;

    // The run the reader feeds, if any, and its recording (under m_streamLock).
    mutable std::mutex m_streamLock;
    FrameQueue* m_queue = nullptr;
    RunGate* m_gate = nullptr;
    uint32_t m_lastFrameMs = 0;
    RawDataRecorder m_recorder;

    // One exchange at a time; its answer arrives from the reader.
    std::mutex m_exchangeLock;
    std::mutex m_answerLock;
    std::condition_variable m_answered;
    std::optional<size_t> m_awaited;  // the Message alternative awaited
    std::optional<link::Message> m_answer;

    std::atomic<bool> m_lost;
    std::atomic<bool> m_quit;
    std::thread m_reader;  // last: it starts when everything else is ready
};

}  // namespace zuvo::radar
