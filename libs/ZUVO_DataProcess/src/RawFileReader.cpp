#include "RawFileReader.h"

#include "FileSystem.h"
#include "ZUVO_CommonCore.h"

namespace zuvo::radar {

RawFileReader::RawFileReader() : m_offset(0), m_damagedStretches(0) {}

RawFileReader::~RawFileReader() = default;

bool RawFileReader::Open(const std::wstring& path, std::string& error) {
    uint8_t* data = nullptr;
    const int64_t size = ReadFileDataW(path.c_str(), &data);
    if (data == nullptr) {
        error = "cannot be read";
        return false;
    }
    const bool opened = OpenMemory(data, static_cast<size_t>(size), error);
    ReleaseFileData(data);
    return opened;
}

bool RawFileReader::ReadHeader(const std::wstring& path, RawFileHeader& header,
                               std::string& error) {
    const fs::UniqueFile file = fs::OpenFile(path, "rb");
    if (!file) {
        error = "cannot be read";
        return false;
    }
    uint8_t bytes[kRawFileHeaderSize];
    const size_t read = std::fread(bytes, 1, sizeof(bytes), file.get());
    return DecodeFileHeader(bytes, read, header, error);
}

bool RawFileReader::OpenMemory(const uint8_t* data, size_t size, std::string& error) {
    m_data.assign(data, data + size);
    m_offset = 0;
    m_damagedStretches = 0;
    m_problems.clear();
    if (!DecodeFileHeader(m_data.data(), m_data.size(), m_header, error)) {
        m_data.clear();
        return false;
    }
    m_offset = kRawFileHeaderSize;
    return true;
}

bool RawFileReader::Next(RadarFrame& frame) {
    while (m_offset < m_data.size()) {
        size_t frameSize = 0;
        const FrameDecode result =
            DecodeFrame(m_data.data() + m_offset, m_data.size() - m_offset, frame, frameSize);
        if (result == FrameDecode::Ok) {
            m_offset += frameSize;
            return true;
        }
        const size_t next = FindFrameSync(m_data.data(), m_data.size(), m_offset + 1);
        if (result == FrameDecode::Truncated && next == m_data.size()) {
            m_problems.push_back("the file ends inside a frame at byte " +
                                 std::to_string(m_offset) + "; its last " +
                                 std::to_string(m_data.size() - m_offset) + " bytes are ignored");
            m_offset = m_data.size();
            break;
        }
        ++m_damagedStretches;
        m_problems.push_back("damaged data at byte " + std::to_string(m_offset) + " (" +
                             std::to_string(next - m_offset) + " bytes) skipped");
        m_offset = next;
    }
    return false;
}

int RawFileReader::PerMille() const {
    if (m_data.empty()) {
        return 1000;
    }
    return static_cast<int>(m_offset * 1000 / m_data.size());
}

std::vector<std::string> RawFileReader::TakeProblems() {
    std::vector<std::string> problems;
    problems.swap(m_problems);
    return problems;
}

}  // namespace zuvo::radar
