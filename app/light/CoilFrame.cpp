#include "app/light/CoilFrame.h"

namespace zuvo::light {

uint16_t ModbusCrc16(const uint8_t* bytes, size_t count) {
    uint16_t crc = 0xFFFF;
    for (size_t i = 0; i < count; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            const bool carry = (crc & 1) != 0;
            crc >>= 1;
            if (carry) {
                crc ^= 0xA001;
            }
        }
    }
    return crc;
}

CoilFrame WriteSingleCoilFrame(uint8_t slave, uint16_t coil, bool on) {
    const uint16_t value = on ? 0xFF00 : 0x0000;
    CoilFrame frame{slave,
                    kWriteSingleCoil,
                    static_cast<uint8_t>(coil >> 8),
                    static_cast<uint8_t>(coil & 0xFF),
                    static_cast<uint8_t>(value >> 8),
                    static_cast<uint8_t>(value & 0xFF),
                    0,
                    0};
    const uint16_t crc = ModbusCrc16(frame.data(), kCoilFrameBytes - 2);
    frame[6] = static_cast<uint8_t>(crc & 0xFF);
    frame[7] = static_cast<uint8_t>(crc >> 8);
    return frame;
}

}  // namespace zuvo::light
