// The tower's Write Single Coil frames and their CRC, byte for byte.
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>

#include "app/light/CoilFrame.h"

namespace zuvo::light {
namespace {

TEST(ModbusCrc, MatchesTheCatalogueCheckValue) {
    const char* text = "123456789";
    EXPECT_EQ(ModbusCrc16(reinterpret_cast<const uint8_t*>(text), std::strlen(text)), 0x4B37);
    EXPECT_EQ(ModbusCrc16(nullptr, 0), 0xFFFF);
}

struct FrameRow {
    const char* purpose;
    uint16_t coil;
    bool on;
    CoilFrame bytes;
};

void PrintTo(const FrameRow& row, std::ostream* os) {
    *os << row.purpose;
}

class TowerFrames : public testing::TestWithParam<FrameRow> {};

TEST_P(TowerFrames, AreReproducedByteForByte) {
    const FrameRow& row = GetParam();
    EXPECT_EQ(WriteSingleCoilFrame(kLightSlaveAddress, row.coil, row.on), row.bytes) << row.purpose;
    // A whole frame, CRC included, leaves no remainder: what a slave checks on receipt.
    EXPECT_EQ(ModbusCrc16(row.bytes.data(), row.bytes.size()), 0) << row.purpose;
}

INSTANTIATE_TEST_SUITE_P(
    Light, TowerFrames,
    testing::Values(
        FrameRow{"coil 0 on", kObjectCoil, true, {0x01, 0x05, 0x00, 0x00, 0xFF, 0x00, 0x8C, 0x3A}},
        FrameRow{
            "coil 0 off", kObjectCoil, false, {0x01, 0x05, 0x00, 0x00, 0x00, 0x00, 0xCD, 0xCA}},
        FrameRow{
            "coil 2 on", kNoObjectCoil, true, {0x01, 0x05, 0x00, 0x02, 0xFF, 0x00, 0x2D, 0xFA}},
        FrameRow{
            "coil 2 off", kNoObjectCoil, false, {0x01, 0x05, 0x00, 0x02, 0x00, 0x00, 0x6C, 0x0A}},
        FrameRow{
            "coil 3 off", kCloseCoil, false, {0x01, 0x05, 0x00, 0x03, 0x00, 0x00, 0x3D, 0xCA}}),
    [](const testing::TestParamInfo<FrameRow>& param) {
        std::string name = param.param.purpose;
        for (char& c : name) {
            if (c == ' ') {
                c = '_';
            }
        }
        return name;
    });

TEST(CoilFrameFields, CarryAddressesHighByteFirst) {
    const CoilFrame frame = WriteSingleCoilFrame(0x11, 0x1234, true);
    EXPECT_EQ(frame[0], 0x11);
    EXPECT_EQ(frame[1], kWriteSingleCoil);
    EXPECT_EQ(frame[2], 0x12);
    EXPECT_EQ(frame[3], 0x34);
    EXPECT_EQ(ModbusCrc16(frame.data(), frame.size()), 0);
}

}  // namespace
}  // namespace zuvo::light
