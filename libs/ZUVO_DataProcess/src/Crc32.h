// CRC-32 (IEEE 802.3, reflected polynomial 0xEDB88320), the check value of raw data frames.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zuvo::radar {

uint32_t Crc32(const uint8_t* data, size_t size);

}  // namespace zuvo::radar
