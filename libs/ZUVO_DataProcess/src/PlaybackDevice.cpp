#include "PlaybackDevice.h"

#include <algorithm>

#include "Diagnostics.h"
#include "FileSystem.h"
#include "RadarConfigFile.h"
#include "RawDataRecorder.h"

namespace zuvo::radar {

namespace {

// A longer gap between two recorded frames (a pause while recording, a lost stretch) is
// played as this long.
constexpr int64_t kMaxPlayedGapMs = 2000;

void ReportProblems(RawFileReader& reader, const std::wstring& path) {
    for (const std::string& problem : reader.TakeProblems()) {
        Diagnostic(2, "%s: %s", fs::ToMessageText(path).c_str(), problem.c_str());
    }
}

}  // namespace

bool InspectRecording(const std::wstring& folder, RecordingInfo& info, std::string& error) {
    const std::string shown = fs::ToMessageText(folder);
    if (folder.empty()) {
        error = "No recording folder was given.";
        return false;
    }
    if (IsDirExistW(folder.c_str()) == 0) {
        error = "Recording folder not found: " + shown;
        return false;
    }
    const std::wstring config = fs::JoinPath(folder, kRecordingConfigName);
    if (IsFileExistW(config.c_str()) == 0) {
        error = "The folder " + shown + " is not a recording: it holds no FILE_Radar_Config.ini.";
        return false;
    }
    std::vector<std::string> problems;
    if (!LoadParameters(config, info.record, problems)) {
        error = "FILE_Radar_Config.ini in " + shown + " cannot be read.";
        return false;
    }
    for (const std::string& problem : problems) {
        Diagnostic(2, "%s: %s", fs::ToMessageText(config).c_str(), problem.c_str());
    }
    info.files = fs::ListFiles(folder, kRawFilePrefix, kRawFileSuffix);
    if (info.files.empty()) {
        error = "The recording " + shown + " holds no raw data files.";
        return false;
    }
    const bool anyReadable =
        std::any_of(info.files.begin(), info.files.end(), [&](const std::wstring& name) {
            RawFileHeader header;
            std::string ignored;
            return RawFileReader::ReadHeader(fs::JoinPath(folder, name), header, ignored);
        });
    if (!anyReadable) {
        error = "Unreadable recording " + shown + ": no raw data file has a valid header.";
        return false;
    }
    return true;
}

PlaybackDevice::PlaybackDevice(std::wstring folder, std::vector<std::wstring> files,
                               uint32_t framePeriodMs, FileSourceHub& hub,
                               const std::atomic<bool>& loop)
    : m_folder(std::move(folder)),
      m_files(std::move(files)),
      m_framePeriodMs(framePeriodMs),
      m_hub(hub),
      m_loop(loop) {}

PlaybackDevice::~PlaybackDevice() {
    End();
}

void PlaybackDevice::Begin(FrameQueue& queue, RunGate& gate) {
    End();
    m_thread = std::thread([this, &queue, &gate] { Run(queue, gate); });
}

void PlaybackDevice::End() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void PlaybackDevice::Run(FrameQueue& queue, RunGate& gate) {
    MarkLibraryThread();
    try {
        m_hub.ReadStart();
        Pace pace;
        for (int pass = 0;; ++pass) {
            if (pass > 0) {
                m_hub.ReadLoopStart(pass);
            }
            const int frames = ReadPass(queue, gate, pace);
            if (frames < 0 || !m_loop.load()) {
                break;
            }
            if (frames == 0) {
                Diagnostic(2, "nothing readable in %s; reading in a loop ends",
                           fs::ToMessageText(m_folder).c_str());
                break;
            }
        }
        m_hub.ReadEnd();
    } catch (const std::exception& e) {
        Diagnostic(2, "the reader thread ended: %s", e.what());
    } catch (...) {
        Diagnostic(2, "the reader thread ended on an unknown exception");
    }
}

int PlaybackDevice::ReadPass(FrameQueue& queue, RunGate& gate, Pace& pace) {
    m_hub.GetFileList(m_folder, static_cast<int>(m_files.size()));
    // Each pass starts a new time line: its first frame comes one frame period after the
    // last frame of the pass before.
    pace.havePrevious = false;
    int frames = 0;
    for (const std::wstring& name : m_files) {
        const int read = ReadFile(fs::JoinPath(m_folder, name), queue, gate, pace);
        if (read < 0) {
            frames = -1;
            break;
        }
        frames += read;
    }
    m_hub.ReleaseFileList();
    return frames;
}

int PlaybackDevice::ReadFile(const std::wstring& path, FrameQueue& queue, RunGate& gate,
                             Pace& pace) {
    m_hub.ReadFileStart(path);
    RawFileReader reader;
    std::string error;
    int frames = 0;
    const auto stopRequested = [&gate] { return gate.StopRequested(); };
    if (!reader.Open(path, error, stopRequested)) {
        if (reader.Interrupted()) {
            frames = -1;
        } else {
            Diagnostic(2, "%s: %s; the file is skipped", fs::ToMessageText(path).c_str(),
                       error.c_str());
        }
    } else {
        int reported = 0;
        m_hub.ReadProcess(0);
        RadarFrame frame;
        while (reader.Next(frame, stopRequested)) {
            ReportProblems(reader, path);
            if (!pace.started) {
                pace.due = RunGate::Clock::now();
                pace.started = true;
            } else {
                const int64_t gap = pace.havePrevious
                                        ? static_cast<int64_t>(frame.timeMs) - pace.previousMs
                                        : m_framePeriodMs;
                pace.due += std::chrono::milliseconds(std::clamp<int64_t>(gap, 0, kMaxPlayedGapMs));
            }
            pace.havePrevious = true;
            pace.previousMs = frame.timeMs;
            if (!gate.WaitUntil(pace.due, true) || !queue.PushWaiting(std::move(frame))) {
                frames = -1;
                break;
            }
            ++frames;
            const int perMille = reader.PerMille();
            if (perMille != reported) {
                reported = perMille;
                m_hub.ReadProcess(perMille);
            }
        }
        ReportProblems(reader, path);
        if (reader.Interrupted()) {
            frames = -1;
        }
        if (frames >= 0 && reported != 1000) {
            m_hub.ReadProcess(1000);
        }
    }
    m_hub.ReadFileEnd(path);
    return frames;
}

bool PlaybackDevice::EnterCommandMode(int param, uint32_t timeoutMs) {
    (void)param;
    (void)timeoutMs;
    Diagnostic(1, "command mode needs a live sensor; a recording is playing");
    return false;
}

bool PlaybackDevice::LeaveCommandMode() {
    return false;
}

std::vector<uint8_t> PlaybackDevice::SendCommand(uint16_t command) {
    (void)command;
    return {};
}

}  // namespace zuvo::radar
