// Playback of a recording folder: a reader thread reads the raw-data files in name order at the
// pace they were recorded and queues the frames for the same processing as live data. It tells
// the caller's data source what it does, in this order: ReadStart; for every pass over the
// files (LoopStart before each pass after the first): GetFileList, then for every file
// ReadFileStart, ReadProcess (repeatedly, per mille), ReadFileEnd; then ReleaseFileList;
// finally ReadEnd, also when stopped early.
#pragma once

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "FileSourceHub.h"
#include "RadarDevice.h"
#include "RawFileReader.h"

namespace zuvo::radar {

struct RecordingInfo {
    tagRADARPARAMETER record;         // FILE_Radar_Config.ini of the recording
    std::vector<std::wstring> files;  // raw-data file names, in reading order
};

// Checks that folder is a readable recording. false with a reason for the operator otherwise.
bool InspectRecording(const std::wstring& folder, RecordingInfo& info, std::string& error);

class PlaybackDevice : public RadarDevice {
public:
    PlaybackDevice(std::wstring folder, std::vector<std::wstring> files, uint32_t framePeriodMs,
                   FileSourceHub& hub, const std::atomic<bool>& loop);
    ~PlaybackDevice() override;

    void Begin(FrameQueue& queue, RunGate& gate) override;
    void End() override;
    bool EnterCommandMode(int param, uint32_t timeoutMs) override;
    bool LeaveCommandMode() override;
    std::vector<uint8_t> SendCommand(uint16_t command) override;

private:
    struct Pace {
        RunGate::Clock::time_point due;
        bool started = false;
        bool havePrevious = false;
        uint32_t previousMs = 0;
    };

    void Run(FrameQueue& queue, RunGate& gate);
    // Reads one pass over the files; answers the frames queued, or -1 when stopped.
    int ReadPass(FrameQueue& queue, RunGate& gate, Pace& pace);
    int ReadFile(const std::wstring& path, FrameQueue& queue, RunGate& gate, Pace& pace);

    const std::wstring m_folder;
    const std::vector<std::wstring> m_files;
    const uint32_t m_framePeriodMs;
    FileSourceHub& m_hub;
    const std::atomic<bool>& m_loop;
    std::thread m_thread;
};

}  // namespace zuvo::radar
