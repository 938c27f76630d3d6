// Reads the frames of one raw-data file. Damaged frames are skipped (the reader finds the next
// frame that checks out) and a truncated end is ignored; each is described once in Problems().
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "RawDataFormat.h"

namespace zuvo::radar {

class RawFileReader {
public:
    RawFileReader();
    ~RawFileReader();
    RawFileReader(const RawFileReader&) = delete;
    RawFileReader& operator=(const RawFileReader&) = delete;

    // Reads the whole file and checks its header; false with the reason in error otherwise.
    bool Open(const std::wstring& path, std::string& error);
    // Reads only a file's header: whether it is a raw-data file this reader can read.
    static bool ReadHeader(const std::wstring& path, RawFileHeader& header, std::string& error);
    // Uses bytes already in memory (copied), as Open does with a file's content.
    bool OpenMemory(const uint8_t* data, size_t size, std::string& error);

    // The next intact frame; false at the end.
    bool Next(RadarFrame& frame);

    const RawFileHeader& Header() const { return m_header; }
    // How far reading has come, in per mille of the file.
    int PerMille() const;
    // Stretches of damaged bytes skipped so far (one stretch may have held several frames).
    int DamagedStretches() const { return m_damagedStretches; }
    // Problems met since the last call (damaged frames, a truncated end).
    std::vector<std::string> TakeProblems();

private:
    std::vector<uint8_t> m_data;
    RawFileHeader m_header;
    size_t m_offset;
    int m_damagedStretches;
    std::vector<std::string> m_problems;
};

}  // namespace zuvo::radar
