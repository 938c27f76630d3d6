#include "Crc32.h"

#include <array>

namespace zuvo::radar {

namespace {

constexpr uint32_t kPolynomial = 0xEDB88320u;

constexpr std::array<uint32_t, 256> MakeTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t value = i;
        for (int bit = 0; bit < 8; ++bit) {
            value = (value & 1) != 0 ? (value >> 1) ^ kPolynomial : value >> 1;
        }
        table[i] = value;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kTable = MakeTable();

// The CRC register after more bytes, from the register before them (no final inversion).
uint32_t Update(uint32_t crc, const uint8_t* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        crc = kTable[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    }
    return crc;
}

// Product of two polynomials modulo the CRC polynomial, in the reflected bit order of the
// register (bit 31 is x^0).
uint32_t MultiplyModulo(uint32_t a, uint32_t b) {
    uint32_t product = 0;
    for (uint32_t mask = 1u << 31; mask != 0; mask >>= 1) {
        if ((a & mask) != 0) {
            product ^= b;
        }
        b = (b & 1) != 0 ? (b >> 1) ^ kPolynomial : b >> 1;
    }
    return product;
}

// x^(2^k) modulo the polynomial, for k = 0 .. 63.
constexpr size_t kPowers = 64;
std::array<uint32_t, kPowers> MakePowersOfTwo() {
    std::array<uint32_t, kPowers> powers{};
    uint32_t power = 1u << 30;  // x^1
    for (uint32_t& entry : powers) {
        entry = power;
        power = MultiplyModulo(power, power);
    }
    return powers;
}

// x^(8 * bytes) modulo the polynomial: what carrying a register across that many zero bytes
// multiplies it by.
uint32_t ZeroBytesFactor(size_t bytes) {
    static const std::array<uint32_t, kPowers> powers = MakePowersOfTwo();
    uint32_t factor = 1u << 31;  // x^0
    uint64_t exponent = static_cast<uint64_t>(bytes);
    for (size_t k = 3; exponent != 0 && k < kPowers; ++k, exponent >>= 1) {
        if ((exponent & 1) != 0) {
            factor = MultiplyModulo(powers[k], factor);
        }
    }
    return factor;
}

}  // namespace

uint32_t Crc32(const uint8_t* data, size_t size) {
    return Update(0xFFFFFFFFu, data, size) ^ 0xFFFFFFFFu;
}

uint32_t Crc32Combine(uint32_t crcA, uint32_t crcB, size_t lengthB) {
    return MultiplyModulo(ZeroBytesFactor(lengthB), crcA) ^ crcB;
}

Crc32Index::Crc32Index(const uint8_t* data, size_t size) : m_data(data), m_size(size) {
    m_prefixes.push_back(0);  // the CRC of nothing
}

void Crc32Index::Extend(size_t end) const {
    // Made as far as asked only: a reader scanning forward pays for the index bit by bit, so
    // a stop it checks for between candidates never waits for the whole file's index.
    const size_t wanted = end / kStep;
    if (m_prefixes.size() > wanted) {
        return;
    }
    m_prefixes.reserve(m_size / kStep + 1);
    uint32_t crc = m_prefixes.back() ^ 0xFFFFFFFFu;
    for (size_t at = (m_prefixes.size() - 1) * kStep; m_prefixes.size() <= wanted; at += kStep) {
        crc = Update(crc, m_data + at, kStep);
        m_prefixes.push_back(crc ^ 0xFFFFFFFFu);
    }
}

uint32_t Crc32Index::Prefix(size_t end) const {
    Extend(end);
    const size_t checkpoint = end / kStep;
    const uint32_t crc = m_prefixes[checkpoint] ^ 0xFFFFFFFFu;
    const size_t from = checkpoint * kStep;
    return Update(crc, m_data + from, end - from) ^ 0xFFFFFFFFu;
}

uint32_t Crc32Index::Range(size_t begin, size_t end) const {
    if (begin >= end || end > m_size) {
        return 0;  // the CRC of nothing
    }
    // Prefix(end) = Combine(Prefix(begin), Range, length): Combine is linear in its first
    // argument, so the range is what remains when the carried prefix is taken away.
    return Prefix(end) ^ CarriedPrefix(Prefix(begin), end - begin);
}

uint32_t Crc32Index::CarriedPrefix(uint32_t prefix, size_t length) const {
    if (length >= kCachedLengths) {
        return Crc32Combine(prefix, 0, length);
    }
    if (m_factors.empty()) {
        m_factors.assign(kCachedLengths, 0);
    }
    uint32_t& factor = m_factors[length];
    if (factor == 0) {
        factor = ZeroBytesFactor(length);
    }
    return MultiplyModulo(factor, prefix);
}

}  // namespace zuvo::radar
