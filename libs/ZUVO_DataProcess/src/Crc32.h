// CRC-32 (IEEE 802.3, reflected polynomial 0xEDB88320), the check value of raw data frames.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zuvo::radar {

uint32_t Crc32(const uint8_t* data, size_t size);

// The CRC of A followed by B from the CRCs of A and of B and the length of B, without reading
// either again (the CRC's linearity: A's CRC is carried across B's bytes as if they were zero).
uint32_t Crc32Combine(uint32_t crcA, uint32_t crcB, size_t lengthB);

// The CRC of any stretch of one buffer at a bounded cost, whatever the stretch's length: the
// CRCs of the buffer's prefixes are kept at every kStep-th byte, and a stretch's CRC is
// derived from the prefixes at its two ends. The prefixes are made as far as a stretch asks
// for them, one pass over the buffer in all, and take 4 / kStep bytes of memory per byte. The
// buffer must outlive the index and stay unchanged.
class Crc32Index {
public:
    static constexpr size_t kStep = 64;

    Crc32Index(const uint8_t* data, size_t size);

    // The CRC of bytes [begin, end) (begin <= end <= size).
    uint32_t Range(size_t begin, size_t end) const;

private:
    uint32_t Prefix(size_t end) const;  // the CRC of bytes [0, end)
    void Extend(size_t end) const;      // the prefixes up to end's checkpoint made
    uint32_t CarriedPrefix(uint32_t prefix, size_t length) const;

    // Frames have few distinct lengths: the factors for lengths below kCachedLengths are
    // computed once each (0: not yet; no factor is 0).
    static constexpr size_t kCachedLengths = 1 << 16;

    const uint8_t* m_data;
    size_t m_size;
    mutable std::vector<uint32_t> m_prefixes;  // [i]: the CRC of bytes [0, i * kStep)
    mutable std::vector<uint32_t> m_factors;
};

}  // namespace zuvo::radar
