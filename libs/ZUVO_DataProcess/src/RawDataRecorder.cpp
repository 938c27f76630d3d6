#include "RawDataRecorder.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "Diagnostics.h"
#include "RadarConfigFile.h"
#include "RawDataFormat.h"
#include "ZUVO_CommonCore.h"
#include "framework/FamilyOwners.h"

namespace zuvo::radar {

std::optional<uint64_t> ReadWriteBudgetSwitch(const std::wstring& folder) {
    if (folder.empty()) {
        return std::nullopt;
    }
    uint8_t* rawData = nullptr;
    const int64_t size =
        ReadFileDataW(fs::JoinPath(folder, kWriteBudgetSwitchName).c_str(), &rawData);
    const UniqueFileData data(rawData);
    if (!data) {
        return std::nullopt;
    }
    // The utility library puts two zero bytes after the data, so it reads as text.
    const char* text = reinterpret_cast<const char*>(data.get());
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, 10);
    bool number = size > 0 && end != text && text[0] != '-';
    for (const char* rest = end; number && *rest != '\0'; ++rest) {
        number = std::isspace(static_cast<unsigned char>(*rest)) != 0;
    }
    return number ? std::optional<uint64_t>(value) : std::nullopt;
}

std::optional<uint64_t> WriteBudgetBesideProgram() {
    wchar_t folder[ZUVO_MAX_PATH] = {};
    return GetProgramPathW(0, folder) != 0 ? ReadWriteBudgetSwitch(folder) : std::nullopt;
}

RawDataRecorder::RawDataRecorder(uint64_t maxFileBytes, std::optional<uint64_t> writeBudgetBytes)
    : m_maxFileBytes(maxFileBytes),
      m_fileNumber(0),
      m_fileBytes(0),
      m_lastFlushMs(0),
      m_writeBudget(writeBudgetBytes),
      m_budgetSpent(0),
      m_framesWritten(0) {}

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
    m_budgetSpent = 0;
    m_framesWritten = 0;
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
    // Unbuffered: every header and frame goes to the system in one write, so a failed write
    // leaves nothing in a buffer that the close would later put behind the cut.
    if (std::setvbuf(m_file.get(), nullptr, _IONBF, 0) != 0 || !Put(m_header)) {
        // A file without its whole header is no raw-data file: playback would skip it as
        // damaged.
        m_file.reset();
        fs::RemoveFile(path);
        error = "writing raw data into " + fs::ToMessageText(m_folder) +
                " failed (disk full?); the " + std::to_string(m_framesWritten) +
                " frames written before stay readable";
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
    if (!Put(m_buffer)) {
        const bool cut = fs::TruncateFile(m_file.get(), m_fileBytes);
        fs::FlushToDisk(m_file.get());
        m_file.reset();
        error = "writing raw data into " + fs::ToMessageText(m_folder) +
                " failed (disk full?); the " + std::to_string(m_framesWritten) +
                " frames written before stay readable";
        if (!cut) {
            error += ", the part of the next one that was written could not be cut off";
        }
        return false;
    }
    m_fileBytes += m_buffer.size();
    ++m_framesWritten;
    FlushIfDue(nowMs);
    return true;
}

// The budget stands in for a full disk: what would pass it is not written, and the write fails.
bool RawDataRecorder::Put(const std::vector<uint8_t>& bytes) {
    size_t allowed = bytes.size();
    if (m_writeBudget && *m_writeBudget - m_budgetSpent < allowed) {
        allowed = static_cast<size_t>(*m_writeBudget - m_budgetSpent);
    }
    const size_t written = allowed > 0 ? std::fwrite(bytes.data(), 1, allowed, m_file.get()) : 0;
    m_budgetSpent += written;
    return written == bytes.size();
}

void RawDataRecorder::FlushIfDue(uint32_t nowMs) {
    if (m_file && nowMs - m_lastFlushMs >= kFlushIntervalMs) {
        m_lastFlushMs = nowMs;
        fs::FlushToDisk(m_file.get());
    }
}

void RawDataRecorder::BeginRun(const std::wstring& parentFolder, const tagRADARPARAMETER& record) {
    if (parentFolder.empty()) {
        return;
    }
    std::string error;
    if (Begin(parentFolder, record, error)) {
        Diagnostic(1, "recording raw data into %s", fs::ToMessageText(m_folder).c_str());
    } else {
        Diagnostic(2, "raw data is not recorded: %s", error.c_str());
    }
}

void RawDataRecorder::End() {
    if (m_file) {
        fs::FlushToDisk(m_file.get());
        m_file.reset();
    }
}

}  // namespace zuvo::radar
