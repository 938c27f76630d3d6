// Reads the frames of one raw-data file. Damaged frames are skipped (the reader finds the next
// frame that checks out) and a truncated end is ignored; each damaged stretch and a truncated
// end are described once in TakeProblems(). Whatever the bytes, reading costs time in
// proportion to the file's size: once damage is met, frame CRCs come from an index of the
// file's prefix CRCs, so a candidate frame costs the same whatever length it claims.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Crc32.h"
#include "RawDataFormat.h"

namespace zuvo::radar {

class RawFileReader {
public:
    RawFileReader();
    ~RawFileReader();
    RawFileReader(const RawFileReader&) = delete;
    RawFileReader& operator=(const RawFileReader&) = delete;

    // Reads the whole file and checks its header; false with the reason in error otherwise.
    // The file is read in pieces of kReadChunkBytes, and stop is asked after each: when it
    // answers true, reading ends and Interrupted() is true.
    bool Open(const std::wstring& path, std::string& error, const std::function<bool()>& stop = {});
    static constexpr size_t kReadChunkBytes = 1 << 20;
    // Reads only a file's header: whether it is a raw-data file this reader can read.
    static bool ReadHeader(const std::wstring& path, RawFileHeader& header, std::string& error);
    // Uses bytes already in memory (copied), as Open does with a file's content.
    bool OpenMemory(const uint8_t* data, size_t size, std::string& error);

    // The next intact frame; false at the end, or when stop (asked while damaged data is
    // scanned, at least every kStopCheckBytes) answers true: then Interrupted() is true.
    bool Next(RadarFrame& frame, const std::function<bool()>& stop = {});
    bool Interrupted() const { return m_interrupted; }
    static constexpr size_t kStopCheckBytes = 64 * 1024;

    const RawFileHeader& Header() const { return m_header; }
    // How far reading has come, in per mille of the file.
    int PerMille() const;
    // Stretches of damaged bytes skipped so far (one stretch may have held several frames).
    int DamagedStretches() const { return m_damagedStretches; }
    // The file ended inside a frame (a recording cut short); known once Next has answered
    // false.
    bool EndedInsideFrame() const { return m_endedInsideFrame; }
    // Problems met since the last call (damaged frames, a truncated end).
    std::vector<std::string> TakeProblems();

private:
    bool Take(std::vector<uint8_t> data, std::string& error);
    uint32_t FrameCrc(size_t offset, size_t frameSize);
    void EndDamage(size_t end);

    std::vector<uint8_t> m_data;
    std::unique_ptr<Crc32Index> m_index;  // made when the first damage is met
    bool m_inDamage = false;
    size_t m_damageStart = 0;
    bool m_interrupted = false;
    bool m_endedInsideFrame = false;
    RawFileHeader m_header;
    size_t m_offset;
    int m_damagedStretches;
    std::vector<std::string> m_problems;
};

}  // namespace zuvo::radar
