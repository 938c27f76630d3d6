#include "RawFileReader.h"

#include <algorithm>
#include <cstdint>

#include "FileSystem.h"
#include "ZUVO_CommonCore.h"

namespace zuvo::radar {

RawFileReader::RawFileReader() : m_offset(0), m_damagedStretches(0) {}

RawFileReader::~RawFileReader() = default;

bool RawFileReader::Open(const std::wstring& path, std::string& error,
                         const std::function<bool()>& stop) {
    std::string noFile;
    Take({}, noFile);  // whatever follows, nothing of an earlier file is left
    const fs::UniqueFile file = fs::OpenFile(path, "rb");
    const std::optional<uint64_t> size = file ? fs::FileSize(file.get()) : std::nullopt;
    if (!size) {
        error = "cannot be read";
        return false;
    }
    // Read straight into the reader's own buffer, a piece at a time: a file of any size can
    // be stopped while it is read. A file that grows meanwhile is read as far as it was long.
    if (*size > SIZE_MAX) {
        error = "is too large to be read";
        return false;
    }
    std::vector<uint8_t> data(static_cast<size_t>(*size));
    size_t read = 0;
    while (read < data.size()) {
        const size_t piece = std::min(kReadChunkBytes, data.size() - read);
        const size_t got = std::fread(data.data() + read, 1, piece, file.get());
        read += got;
        if (got < piece) {
            if (std::ferror(file.get()) != 0) {
                error = "cannot be read";
                return false;
            }
            data.resize(read);  // it was shortened meanwhile
            break;
        }
        if (read < data.size() && stop && stop()) {
            m_interrupted = true;
            error = "reading was stopped";
            return false;
        }
    }
    return Take(std::move(data), error);
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
    return Take(std::vector<uint8_t>(data, data + size), error);
}

bool RawFileReader::Take(std::vector<uint8_t> data, std::string& error) {
    m_data = std::move(data);
    m_index.reset();
    m_inDamage = false;
    m_interrupted = false;
    m_endedInsideFrame = false;
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

bool RawFileReader::Next(RadarFrame& frame, const std::function<bool()>& stop) {
    m_interrupted = false;
    size_t scanned = 0;
    while (m_offset < m_data.size()) {
        const uint8_t* at = m_data.data() + m_offset;
        size_t frameSize = 0;
        FrameDecode result = CheckFrameLayout(at, m_data.size() - m_offset, frameSize);
        if (result == FrameDecode::Ok) {
            if (FrameCrc(m_offset, frameSize) == StoredFrameCrc(at, frameSize)) {
                ReadCheckedFrame(at, frame);
                EndDamage(m_offset);
                m_offset += frameSize;
                return true;
            }
            result = FrameDecode::Damaged;
        }
        const size_t next = FindFrameSync(m_data.data(), m_data.size(), m_offset + 1);
        if (result == FrameDecode::Truncated && next == m_data.size()) {
            EndDamage(m_offset);
            m_problems.push_back("the file ends inside a frame at byte " +
                                 std::to_string(m_offset) + "; its last " +
                                 std::to_string(m_data.size() - m_offset) + " bytes are ignored");
            m_offset = m_data.size();
            m_endedInsideFrame = true;
            break;
        }
        if (!m_inDamage) {
            m_inDamage = true;
            m_damageStart = m_offset;
            ++m_damagedStretches;
        }
        if (!m_index) {
            m_index = std::make_unique<Crc32Index>(m_data.data(), m_data.size());
        }
        scanned += next - m_offset;
        m_offset = next;
        if (scanned >= kStopCheckBytes) {
            scanned = 0;
            if (stop && stop()) {
                m_interrupted = true;
                return false;
            }
        }
    }
    EndDamage(m_data.size());
    return false;
}

uint32_t RawFileReader::FrameCrc(size_t offset, size_t frameSize) {
    // Intact data is read once, so its CRCs are computed directly; after damage, candidates
    // overlap and each would cost its whole claimed length again.
    const size_t covered = frameSize - 4;
    return m_index ? m_index->Range(offset, offset + covered)
                   : Crc32(m_data.data() + offset, covered);
}

void RawFileReader::EndDamage(size_t end) {
    if (!m_inDamage) {
        return;
    }
    m_inDamage = false;
    m_problems.push_back("damaged data at byte " + std::to_string(m_damageStart) + " (" +
                         std::to_string(end - m_damageStart) + " bytes) skipped");
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
