#include "CommandAck.h"

namespace zuvo::radar {

namespace {

constexpr uint8_t kSync0 = 0x5A;
constexpr uint8_t kSync1 = 0xA5;
constexpr int kV1Length = 10;
constexpr int kV2Length = 17;

void PutLittle(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

uint64_t GetLittle(const uint8_t* bytes, int count) {
    uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

uint8_t Sum8(const uint8_t* bytes, int count) {
    unsigned sum = 0;
    for (int i = 0; i < count; ++i) {
        sum += bytes[i];
    }
    return static_cast<uint8_t>(sum);
}

uint16_t StatusCode(uint16_t status) {
    return status == 0 ? static_cast<uint16_t>(kAckOk)
                       : static_cast<uint16_t>(kAckStatusBase + (status & 0xFF));
}

}  // namespace

uint16_t Crc16Modbus(const uint8_t* data, size_t size) {
    uint16_t crc = 0xFFFF;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) != 0 ? static_cast<uint16_t>((crc >> 1) ^ 0xA001)
                                 : static_cast<uint16_t>(crc >> 1);
        }
    }
    return crc;
}

std::vector<uint8_t> BuildAck(eRADAR_PROTOCOL_VERSION version, uint16_t command, uint16_t status,
                              int64_t value) {
    std::vector<uint8_t> frame{kSync0, kSync1};
    if (version == RADAR_PROTOCOL_V1) {
        PutLittle(frame, command, 2);
        PutLittle(frame, status & 0xFF, 1);
        PutLittle(frame, static_cast<uint32_t>(static_cast<int32_t>(value)), 4);
        frame.push_back(Sum8(frame.data(), static_cast<int>(frame.size())));
        return frame;
    }
    frame.push_back(2);
    PutLittle(frame, command, 2);
    PutLittle(frame, status, 2);
    PutLittle(frame, static_cast<uint64_t>(value), 8);
    PutLittle(frame, Crc16Modbus(frame.data(), frame.size()), 2);
    return frame;
}

uint16_t CheckAck(eRADAR_PROTOCOL_VERSION version, const uint8_t* bytes, int length,
                  int64_t expectedValue) {
    if (version != RADAR_PROTOCOL_V1 && version != RADAR_PROTOCOL_V2) {
        return kAckUnknownVersion;
    }
    const int needed = version == RADAR_PROTOCOL_V1 ? kV1Length : kV2Length;
    if (bytes == nullptr || length < needed) {
        return kAckTooShort;
    }
    if (bytes[0] != kSync0 || bytes[1] != kSync1) {
        return kAckBadSync;
    }
    if (version == RADAR_PROTOCOL_V1) {
        if (Sum8(bytes, kV1Length - 1) != bytes[kV1Length - 1]) {
            return kAckBadCheck;
        }
        const uint16_t status = bytes[4];
        if (status != 0) {
            return StatusCode(status);
        }
        const auto value = static_cast<int32_t>(static_cast<uint32_t>(GetLittle(bytes + 5, 4)));
        return value == expectedValue ? kAckOk : kAckValueMismatch;
    }
    if (bytes[2] != 2) {
        return kAckBadSync;
    }
    if (Crc16Modbus(bytes, kV2Length - 2) != GetLittle(bytes + kV2Length - 2, 2)) {
        return kAckBadCheck;
    }
    const auto status = static_cast<uint16_t>(GetLittle(bytes + 5, 2));
    if (status != 0) {
        return StatusCode(status);
    }
    const auto value = static_cast<int64_t>(GetLittle(bytes + 7, 8));
    return value == expectedValue ? kAckOk : kAckValueMismatch;
}

}  // namespace zuvo::radar
