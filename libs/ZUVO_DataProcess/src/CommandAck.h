// Acknowledgement frames of the sensor's command protocol. Every command the sensor accepts
// in command mode is answered with one frame (multi-byte numbers little-endian):
//
//   version 1 (10 bytes): 5A A5 | command (2) | status (1) | value (4, signed) | sum (1)
//       sum: the low byte of the sum of the 9 bytes before it
//   version 2 (17 bytes): 5A A5 | 02 | command (2) | status (2) | value (8, signed) | crc (2)
//       crc: CRC-16/MODBUS of the 15 bytes before it
//
// status 0 means the command was carried out; the emulated sensor answers 1 for a command it
// does not know. value is the command's result (0 for the tracking-mode commands).
#pragma once

#include <cstdint>
#include <vector>

#include "ZUVO_DataProcess.h"
#include "ZUVO_DataProcessExtras.h"

namespace zuvo::radar {

// Answers of the acknowledgement check (CheckCmdAckData_RetCode).
enum AckCheckCode : uint16_t {
    kAckOk = 0,
    kAckTooShort = 1,        // no bytes, or fewer than the version's frame
    kAckBadSync = 2,         // does not start with 5A A5 (or the version byte differs)
    kAckBadCheck = 3,        // sum or CRC wrong
    kAckUnknownVersion = 4,  // protocol version not 1 or 2
    kAckValueMismatch = 5,   // a well-formed frame with another value than expected
    kAckStatusBase = 0x100,  // a well-formed frame with status s != 0 answers 0x100 + (s & 0xFF)
};

enum SensorStatus : uint16_t {
    kStatusOk = 0,
    kStatusUnknownCommand = 1,
};

uint16_t Crc16Modbus(const uint8_t* data, size_t size);

std::vector<uint8_t> BuildAck(eRADAR_PROTOCOL_VERSION version, uint16_t command, uint16_t status,
                              int64_t value);

uint16_t CheckAck(eRADAR_PROTOCOL_VERSION version, const uint8_t* bytes, int length,
                  int64_t expectedValue);

}  // namespace zuvo::radar
