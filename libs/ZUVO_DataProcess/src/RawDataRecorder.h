// Records a live run: a new folder (named by date and time) inside the chosen data folder,
// holding "FILE_Radar_Config.ini" (the record of the run) and the raw frames in
// "RawData_0001.zrd", "RawData_0002.zrd", ... (a new file after maxFileBytes). What is written
// reaches the disk at least once a second.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "FileSystem.h"
#include "RadarFrame.h"

namespace zuvo::radar {

constexpr wchar_t kRecordingConfigName[] = L"FILE_Radar_Config.ini";
constexpr wchar_t kRawFilePrefix[] = L"RawData_";
constexpr wchar_t kRawFileSuffix[] = L".zrd";

class RawDataRecorder {
public:
    static constexpr uint64_t kDefaultMaxFileBytes = 64ull << 20;
    static constexpr uint32_t kFlushIntervalMs = 1000;

    explicit RawDataRecorder(uint64_t maxFileBytes = kDefaultMaxFileBytes);
    ~RawDataRecorder();
    RawDataRecorder(const RawDataRecorder&) = delete;
    RawDataRecorder& operator=(const RawDataRecorder&) = delete;

    // Creates the run's folder in parentFolder and writes the record into it. false with the
    // reason in error when nothing could be created.
    bool Begin(const std::wstring& parentFolder, const tagRADARPARAMETER& record,
               std::string& error);
    // Appends a frame (nowMs: a millisecond clock for the flushing). After a write error the
    // recording ends (false, with the reason in error) and later calls do nothing.
    bool Write(const RadarFrame& frame, uint32_t nowMs, std::string& error);
    // Puts what was written on the disk when the last flush is a second old or more (also
    // called while nothing is written, so a pause never leaves data in a buffer).
    void FlushIfDue(uint32_t nowMs);
    // Flushes and closes the current file.
    void End();

    bool Active() const { return static_cast<bool>(m_file); }
    const std::wstring& Folder() const { return m_folder; }

private:
    bool OpenNextFile(std::string& error);

    uint64_t m_maxFileBytes;
    std::wstring m_folder;
    std::vector<uint8_t> m_header;
    fs::UniqueFile m_file;
    int m_fileNumber;
    uint64_t m_fileBytes;
    uint32_t m_lastFlushMs;
    std::vector<uint8_t> m_buffer;
};

}  // namespace zuvo::radar
