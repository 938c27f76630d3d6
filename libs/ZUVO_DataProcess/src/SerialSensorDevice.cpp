#include "SerialSensorDevice.h"

#include <chrono>

#include "Diagnostics.h"
#include "ZUVO_CommonCore.h"

namespace zuvo::radar {

namespace {

constexpr uint32_t kReadSliceMs = 50;
constexpr uint32_t kWriteTimeoutMs = 500;
constexpr size_t kReadChunk = 4096;

template <typename T>
size_t IndexOf() {
    return link::Message(T{}).index();
}

link::StreamStart StreamStartOf(const tagRADARPARAMETER& run) {
    link::StreamStart start;
    start.processSite = static_cast<uint8_t>(run.ProcessSite);
    start.sensorAlgorithm = static_cast<uint8_t>(run.SensorAlgorithm);
    start.gateCount = static_cast<uint16_t>(run.GateCount);
    start.framePeriodMs = static_cast<uint16_t>(run.FramePeriodMs);
    start.rangeResolution = static_cast<float>(run.RangeResolution);
    return start;
}

}  // namespace

SerialSensorDevice::SerialSensorDevice(std::unique_ptr<SerialLine> line,
                                       const tagRADARPARAMETER& run, std::wstring recordFolder)
    : m_run(run),
      m_recordFolder(std::move(recordFolder)),
      m_line(std::move(line)),
      m_lost(m_line == nullptr),
      m_quit(false) {
    if (m_line) {
        m_line->Discard();
        m_reader = std::thread([this] { ReadLine(); });
    }
}

SerialSensorDevice::~SerialSensorDevice() {
    End();
    m_quit.store(true);
    if (m_reader.joinable()) {
        m_reader.join();
    }
}

bool SerialSensorDevice::Send(const link::Message& message) {
    const std::vector<uint8_t> bytes = link::Encode(message);
    std::lock_guard<std::mutex> hold(m_lineLock);
    return m_line && m_line->Write(bytes.data(), bytes.size(), kWriteTimeoutMs);
}

std::optional<link::Message> SerialSensorDevice::Exchange(const link::Message& request,
                                                          size_t answerIndex, uint32_t timeoutMs) {
    std::lock_guard<std::mutex> one(m_exchangeLock);
    {
        std::lock_guard<std::mutex> hold(m_answerLock);
        m_awaited = answerIndex;
        m_answer.reset();
    }
    if (!Send(request)) {
        std::lock_guard<std::mutex> hold(m_answerLock);
        m_awaited.reset();
        return std::nullopt;
    }
    std::unique_lock<std::mutex> hold(m_answerLock);
    m_answered.wait_for(hold, std::chrono::milliseconds(timeoutMs),
                        [this] { return m_answer.has_value() || m_lost.load(); });
    m_awaited.reset();
    std::optional<link::Message> answer = std::move(m_answer);
    m_answer.reset();
    return answer;
}

std::optional<std::string> SerialSensorDevice::Identify(std::string& error) {
    const std::optional<link::Message> answer =
        Exchange(link::IdentifyRequest{}, IndexOf<link::Identity>(), kIdentifyTimeoutMs);
    if (!answer) {
        error = m_lost.load() ? "the line went away" : "no sensor answers";
        return std::nullopt;
    }
    const auto& identity = std::get<link::Identity>(*answer);
    if (identity.protocolVersion != link::kProtocolVersion) {
        error = "the sensor speaks protocol version " + std::to_string(identity.protocolVersion) +
                ", this library version " + std::to_string(link::kProtocolVersion);
        return std::nullopt;
    }
    return identity.text;
}

void SerialSensorDevice::Begin(FrameQueue& queue, RunGate& gate) {
    End();
    {
        std::lock_guard<std::mutex> hold(m_streamLock);
        if (m_lost.load()) {
            // Nothing will come: the run ends as soon as it starts.
            queue.Finish();
            return;
        }
        m_queue = &queue;
        m_gate = &gate;
        m_lastFrameMs = MS_GetTime();
        m_recorder.BeginRun(m_recordFolder, m_run);
    }
    if (!Send(link::StreamStart(StreamStartOf(m_run)))) {
        Diagnostic(2, "the serial sensor did not take the start of its stream");
    }
}

void SerialSensorDevice::End() {
    bool wasStreaming = false;
    {
        std::lock_guard<std::mutex> hold(m_streamLock);
        wasStreaming = m_queue != nullptr;
        m_queue = nullptr;
        m_gate = nullptr;
        m_recorder.End();
    }
    if (wasStreaming) {
        Send(link::StreamStop{});
    }
}

bool SerialSensorDevice::EnterCommandMode(int param, uint32_t timeoutMs) {
    const std::optional<link::Message> answer =
        Exchange(link::CommandModeEnter{static_cast<int32_t>(param), timeoutMs},
                 IndexOf<link::CommandModeState>(), kCommandModeAnswerTimeoutMs);
    return answer && std::get<link::CommandModeState>(*answer).inCommandMode;
}

bool SerialSensorDevice::LeaveCommandMode() {
    const std::optional<link::Message> answer = Exchange(
        link::CommandModeLeave{}, IndexOf<link::CommandModeState>(), kCommandModeAnswerTimeoutMs);
    return answer && !std::get<link::CommandModeState>(*answer).inCommandMode;
}

std::vector<uint8_t> SerialSensorDevice::SendCommand(uint16_t command) {
    return SendCommandWaiting(command, kCommandModeAnswerTimeoutMs);
}

std::vector<uint8_t> SerialSensorDevice::SendCommandWaiting(uint16_t command, uint32_t timeoutMs) {
    std::optional<link::Message> answer =
        Exchange(link::Command{command, {}}, IndexOf<link::CommandAck>(), timeoutMs);
    if (!answer) {
        return {};
    }
    return std::move(std::get<link::CommandAck>(*answer).bytes);
}

void SerialSensorDevice::ReadLine() {
    MarkLibraryThread();
    try {
        link::SensorLinkDecoder decoder(m_run.RangeResolution);
        std::vector<uint8_t> buffer(kReadChunk);
        std::vector<link::Message> messages;
        while (!m_quit.load()) {
            const int got = m_line->Read(buffer.data(), buffer.size(), kReadSliceMs);
            if (got < 0) {
                LoseLine("the port reports that its line has gone");
                return;
            }
            messages.clear();
            decoder.Feed(buffer.data(), static_cast<size_t>(got), messages);
            const uint32_t now = MS_GetTime();
            for (link::Message& message : messages) {
                Dispatch(message, now);
            }
            bool silent = false;
            {
                // The clock is read under the lock: a run begun since `now` was read has
                // stamped a later time, which `now` would take for one 49 days old.
                std::lock_guard<std::mutex> hold(m_streamLock);
                silent = m_queue != nullptr && MS_GetTime() - m_lastFrameMs > kSilenceLimitMs;
            }
            if (silent) {
                LoseLine("no frame came for 1500 ms");
                return;
            }
        }
    } catch (const std::exception& e) {
        Diagnostic(2, "the serial sensor's reader ended: %s", e.what());
        LoseLine("its reader failed");
    } catch (...) {
        Diagnostic(2, "the serial sensor's reader ended on an unknown exception");
        LoseLine("its reader failed");
    }
}

void SerialSensorDevice::Dispatch(link::Message& message, uint32_t nowMs) {
    if (auto* frame = std::get_if<RadarFrame>(&message)) {
        std::lock_guard<std::mutex> hold(m_streamLock);
        if (m_queue == nullptr) {
            return;
        }
        m_lastFrameMs = nowMs;
        if (m_gate != nullptr && m_gate->Paused()) {
            m_recorder.FlushIfDue(nowMs);
            return;
        }
        std::string error;
        if (m_recorder.Active() && !m_recorder.Write(*frame, nowMs, error)) {
            Diagnostic(2, "raw-data recording ended: %s", error.c_str());
        }
        if (m_queue->PushDroppingOldest(std::move(*frame))) {
            Diagnostic(1, "processing is behind; the oldest waiting frame was dropped");
        }
        return;
    }
    std::lock_guard<std::mutex> hold(m_answerLock);
    if (m_awaited && *m_awaited == message.index() && !m_answer) {
        m_answer = std::move(message);
        m_answered.notify_all();
    }
}

// On the reader thread, holding none of the locks.
void SerialSensorDevice::LoseLine(const char* why) {
    Diagnostic(2, "the serial sensor's line went away: %s", why);
    {
        std::lock_guard<std::mutex> hold(m_lineLock);
        // Closed at once: a port whose other end has gone must not be polled on.
        m_line.reset();
    }
    m_lost.store(true);
    {
        std::lock_guard<std::mutex> hold(m_answerLock);
        m_answered.notify_all();
    }
    // What arrived before is still processed; then the run ends by itself.
    std::lock_guard<std::mutex> hold(m_streamLock);
    m_recorder.End();
    if (m_queue != nullptr) {
        m_queue->Finish();
        m_queue = nullptr;
        m_gate = nullptr;
    }
}

std::wstring SerialSensorDevice::RecordingFolder() const {
    std::lock_guard<std::mutex> hold(m_streamLock);
    return m_recorder.Folder();
}

}  // namespace zuvo::radar
