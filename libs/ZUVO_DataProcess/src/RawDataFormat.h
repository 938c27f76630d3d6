// The raw-data file format ("RawData_NNNN.zrd" in a recording folder). All numbers are
// little-endian; reals are IEEE 754 doubles.
//
// File header, 36 bytes:
//    0  8  magic "ZVRAWDAT"
//    8  2  format version (1)
//   10  2  header size (36)
//   12  4  frame period, ms
//   16  4  range gate count
//   20  8  range resolution, metres per gate
//   28  4  reserved, 0
//   32  4  CRC-32 of bytes 0..31
//
// Then frames, one after the other:
//    0  4  sync "ZFRM"
//    4  4  payload length L = 16 + 40 * (D + S)
//    8  4  frame index
//   12  4  frame time, ms since the sensor started
//   16  2  detection count D (at most 1024)
//   18  2  sensor object count S (at most 64)
//   20  1  flags (1: the sensor tracked by itself; its slots follow)
//   21  3  reserved, 0
//   24     D detections: distance (m), gate, angle (deg), radial velocity (m/s), amplitude (dB)
//     ..   S sensor objects: id (signed 64-bit), gate distance, distance (m), velocity (m/s),
//          angle (deg)
//  8+L 4  CRC-32 (IEEE) of bytes 0 .. 8+L-1
//
// A reader that meets a damaged frame skips to the next sync word whose frame checks out, so a
// damaged or truncated file costs only the damaged frames, and the time to read a file grows
// with its size only, whatever its bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "RadarFrame.h"

namespace zuvo::radar {

constexpr uint16_t kRawFormatVersion = 1;
constexpr size_t kRawFileHeaderSize = 36;
constexpr size_t kRawFrameOverhead = 12 + 16;  // sync, length, CRC and the fixed payload part
constexpr size_t kRawItemSize = 40;
constexpr int kRawMaxDetections = 1024;
constexpr int kRawMaxSensorObjects = 64;

struct RawFileHeader {
    uint32_t framePeriodMs = 0;
    uint32_t gateCount = 0;
    double rangeResolution = 0.0;
};

std::vector<uint8_t> EncodeFileHeader(const RawFileHeader& header);
// Answers false with the reason in problem when the bytes are not a header of this format.
bool DecodeFileHeader(const uint8_t* data, size_t size, RawFileHeader& header,
                      std::string& problem);

// Appends the frame's bytes (detections and sensor objects beyond the format's limits are left
// out).
void EncodeFrame(const RadarFrame& frame, std::vector<uint8_t>& out);

enum class FrameDecode {
    Ok,         // frame decoded; frameSize bytes used
    Damaged,    // no valid frame starts here
    Truncated,  // the data ends inside what may be a frame
};

// Decodes the frame that starts at data (size bytes available).
FrameDecode DecodeFrame(const uint8_t* data, size_t size, RadarFrame& frame, size_t& frameSize);

// The parts of DecodeFrame, for a reader that checks CRCs its own way: the frame's layout
// (sync word, length and counts) without its CRC, giving its size; the CRC it carries; and
// the decoding of a frame whose layout and CRC have been checked.
FrameDecode CheckFrameLayout(const uint8_t* data, size_t size, size_t& frameSize);
uint32_t StoredFrameCrc(const uint8_t* data, size_t frameSize);
void ReadCheckedFrame(const uint8_t* data, RadarFrame& frame);

// Offset of the next sync word at or after from, or size when there is none.
size_t FindFrameSync(const uint8_t* data, size_t size, size_t from);

}  // namespace zuvo::radar
