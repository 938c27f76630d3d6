// Recording bytes crafted to make a reader work hard (portable tests only).
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

#include "RawDataFormat.h"

namespace zuvo::test {

// Raw-data bytes made only of sync words that claim the largest frames: a sync word with the
// largest length every 8 bytes, or, with countsAgree, 24-byte blocks whose counts agree with
// that length too, so that every candidate passes every check but its CRC.
inline std::vector<uint8_t> CraftedFrameDamage(size_t size, bool countsAgree) {
    const uint32_t length = 16 + 40 * (radar::kRawMaxDetections + radar::kRawMaxSensorObjects);
    std::vector<uint8_t> block = {'Z', 'F', 'R', 'M'};
    for (int i = 0; i < 4; ++i) {
        block.push_back(static_cast<uint8_t>(length >> (8 * i)));
    }
    if (countsAgree) {
        const uint8_t rest[] = {0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x04, 0x40, 0x00, 0, 0, 0, 0};
        block.insert(block.end(), std::begin(rest), std::end(rest));
    }
    std::vector<uint8_t> bytes;
    while (bytes.size() + block.size() <= size) {
        bytes.insert(bytes.end(), block.begin(), block.end());
    }
    return bytes;
}

}  // namespace zuvo::test
