// Records a live run: a new folder (named by date and time) inside the chosen data folder,
// holding "FILE_Radar_Config.ini" (the record of the run) and the raw frames in
// "RawData_0001.zrd", "RawData_0002.zrd", ... (a new file after maxFileBytes). What is written
// reaches the disk at least once a second.
//
// A write that fails (a full disk) ends the recording and nothing else: the file is cut back
// to its last complete frame and closed, so the folder plays back every frame written before
// the failure and reads as an intact recording. The live run is not the recorder's to stop.
//
// The write-budget switch stands in for a disk that fills up while recording: a file
// "ZUVO_DiskBudget.on" beside the program holding a number of bytes lets each recording write
// that many bytes of raw data (file headers and frames); the write that would pass the budget
// puts only what still fits on the disk and fails, as a full disk does.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FileSystem.h"
#include "RadarFrame.h"

namespace zuvo::radar {

constexpr wchar_t kRecordingConfigName[] = L"FILE_Radar_Config.ini";
constexpr wchar_t kRawFilePrefix[] = L"RawData_";
constexpr wchar_t kRawFileSuffix[] = L".zrd";
constexpr wchar_t kWriteBudgetSwitchName[] = L"ZUVO_DiskBudget.on";

// The budget the switch file in folder gives; none without the file or with no number in it.
std::optional<uint64_t> ReadWriteBudgetSwitch(const std::wstring& folder);
// The same beside the running program.
std::optional<uint64_t> WriteBudgetBesideProgram();

class RawDataRecorder {
public:
    static constexpr uint64_t kDefaultMaxFileBytes = 64ull << 20;
    static constexpr uint32_t kFlushIntervalMs = 1000;

    // writeBudgetBytes: what each recording may write before its writes fail (none: no limit).
    explicit RawDataRecorder(uint64_t maxFileBytes = kDefaultMaxFileBytes,
                             std::optional<uint64_t> writeBudgetBytes = WriteBudgetBesideProgram());
    ~RawDataRecorder();
    RawDataRecorder(const RawDataRecorder&) = delete;
    RawDataRecorder& operator=(const RawDataRecorder&) = delete;

    // Creates the run's folder in parentFolder and writes the record into it. false with the
    // reason in error when nothing could be created.
    bool Begin(const std::wstring& parentFolder, const tagRADARPARAMETER& record,
               std::string& error);
    // Appends a frame (nowMs: a millisecond clock for the flushing). After a write error the
    // recording ends (false, with the reason in error, once) and later calls do nothing.
    bool Write(const RadarFrame& frame, uint32_t nowMs, std::string& error);
    // Puts what was written on the disk when the last flush is a second old or more (also
    // called while nothing is written, so a pause never leaves data in a buffer).
    void FlushIfDue(uint32_t nowMs);
    // Begin for a live run that records into parentFolder when it is not empty, with the
    // outcome in the diagnostics; a run goes on without a recording when none can be made.
    void BeginRun(const std::wstring& parentFolder, const tagRADARPARAMETER& record);
    // Flushes and closes the current file.
    void End();

    bool Active() const { return static_cast<bool>(m_file); }
    const std::wstring& Folder() const { return m_folder; }
    // Frames of the current (or last) recording that are on the disk.
    uint64_t FramesWritten() const { return m_framesWritten; }

private:
    bool OpenNextFile(std::string& error);
    // Writes all the bytes or fails; a failed write may have put a part of them on the disk.
    bool Put(const std::vector<uint8_t>& bytes);

    uint64_t m_maxFileBytes;
    std::wstring m_folder;
    std::vector<uint8_t> m_header;
    fs::UniqueFile m_file;
    int m_fileNumber;
    uint64_t m_fileBytes;
    uint32_t m_lastFlushMs;
    std::vector<uint8_t> m_buffer;
    std::optional<uint64_t> m_writeBudget;
    uint64_t m_budgetSpent;
    uint64_t m_framesWritten;
};

}  // namespace zuvo::radar
