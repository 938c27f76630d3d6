#include "RawDataRecorder.h"

#include <cstdio>

#include "RadarConfigFile.h"
#include "RawDataFormat.h"
#include "ZUVO_CommonCore.h"

namespace zuvo::radar {

RawDataRecorder::RawDataRecorder(uint64_t maxFileBytes)
    : m_maxFileBytes(maxFileBytes), m_fileNumber(0), m_fileBytes(0), m_lastFlushMs(0) {}

RawDataRecorder::~RawDataRecorder() {
    End();
}

bool RawDataRecorder::Begin(const std::wstring& parentFolder, const tagRADARPARAMETER& record,
                            std::string& error) {
    End();
    if (RecursiveCreateDirectoryW(parentFolder.c_str()) == 0) {
        error = "cannot create the folder " + fs::ToMessageText(parentFolder);
        return false;
    }
    wchar_t name[ZUVO_MAX_PATH];
    if (GetFileNameByDateW(name, L"", L"Radar_", L"", 0, 1, 0) == 0) {
        error = "cannot name the recording folder";
        return false;
    }
    // Another process may have recorded into the same folder within the same second.
    std::wstring folder = fs::JoinPath(parentFolder, name);
    for (int n = 2; IsDirExistW(folder.c_str()) != 0 && n < 1000; ++n) {
        folder = fs::JoinPath(parentFolder, std::wstring(name) + L"_" + std::to_wstring(n));
    }
    if (RecursiveCreateDirectoryW(folder.c_str()) == 0) {
        error = "cannot create the folder " + fs::ToMessageText(folder);
        return false;
    }
    m_folder = folder;
    if (!SaveParameters(fs::JoinPath(folder, kRecordingConfigName), record, error)) {
        return false;
    }
    RawFileHeader header;
    header.framePeriodMs = static_cast<uint32_t>(record.FramePeriodMs);
    header.gateCount = static_cast<uint32_t>(record.GateCount);
    header.rangeResolution = record.RangeResolution;
    m_header = EncodeFileHeader(header);
    m_fileNumber = 0;
    return OpenNextFile(error);
}

bool RawDataRecorder::OpenNextFile(std::string& error) {
    if (m_file) {
        fs::FlushToDisk(m_file.get());
        m_file.reset();
    }
    ++m_fileNumber;
    std::wstring number = std::to_wstring(m_fileNumber);
    number.insert(0, number.size() < 4 ? 4 - number.size() : 0, L'0');
    const std::wstring path = fs::JoinPath(m_folder, kRawFilePrefix + number + kRawFileSuffix);
    m_file = fs::OpenFile(path, "wb");
    if (!m_file) {
        error = "cannot create " + fs::ToMessageText(path);
        return false;
    }
    if (std::fwrite(m_header.data(), 1, m_header.size(), m_file.get()) != m_header.size()) {
        m_file.reset();
        error = "cannot write " + fs::ToMessageText(path);
        return false;
    }
    m_fileBytes = m_header.size();
    return true;
}

bool RawDataRecorder::Write(const RadarFrame& frame, uint32_t nowMs, std::string& error) {
    if (!m_file) {
        return false;
    }
    m_buffer.clear();
    EncodeFrame(frame, m_buffer);
    if (m_fileBytes > m_header.size() && m_fileBytes + m_buffer.size() > m_maxFileBytes &&
        !OpenNextFile(error)) {
        return false;
    }
    if (std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file.get()) != m_buffer.size()) {
        error = "writing raw data into " + fs::ToMessageText(m_folder) + " failed (disk full?)";
        m_file.reset();
        return false;
    }
    m_fileBytes += m_buffer.size();
    FlushIfDue(nowMs);
    return true;
}

void RawDataRecorder::FlushIfDue(uint32_t nowMs) {
    if (m_file && nowMs - m_lastFlushMs >= kFlushIntervalMs) {
        m_lastFlushMs = nowMs;
        fs::FlushToDisk(m_file.get());
    }
}

void RawDataRecorder::End() {
    if (m_file) {
        fs::FlushToDisk(m_file.get());
        m_file.reset();
    }
}

}  // namespace zuvo::radar
