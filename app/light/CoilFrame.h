// Modbus RTU frames of the function Write Single Coil, which is all the tower light
// understands: slave address, function 5, coil address, value (0xFF00 on, 0x0000 off), each
// 16-bit field high byte first, then the CRC-16/Modbus of those six bytes, low byte first.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace zuvo::light {

constexpr size_t kCoilFrameBytes = 8;
using CoilFrame = std::array<uint8_t, kCoilFrameBytes>;

constexpr uint8_t kLightSlaveAddress = 1;
constexpr uint8_t kWriteSingleCoil = 5;

// The tower's lamps: coil 0 is lit while an object is present, coil 2 while none is; coil 3
// is switched off when the light is closed.
constexpr uint16_t kObjectCoil = 0;
constexpr uint16_t kNoObjectCoil = 2;
constexpr uint16_t kCloseCoil = 3;

// CRC-16/Modbus: reflected polynomial 0xA001, initial value 0xFFFF, no final XOR.
uint16_t ModbusCrc16(const uint8_t* bytes, size_t count);

CoilFrame WriteSingleCoilFrame(uint8_t slave, uint16_t coil, bool on);

}  // namespace zuvo::light
