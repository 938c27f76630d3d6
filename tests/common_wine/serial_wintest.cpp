// CSerialUtil against a real Wine COM port backed by a pseudo-terminal. Run only through
// serial_driver.py, which creates the port, answers on the Linux end and checks what arrives.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "ZUVO_CommonExtras.h"

namespace {

int TestPort() {
    const char* text = std::getenv("ZUVO_TEST_COM_PORT");
    return text != nullptr ? std::atoi(text) : 0;
}

class SerialPort : public testing::Test {
protected:
    void SetUp() override {
        port = TestPort();
        ASSERT_GT(port, 0) << "ZUVO_TEST_COM_PORT is not set: run through serial_driver.py";
    }
    int port = 0;
};

// The driver reads 256 bytes 0..255 and answers them reversed.
TEST_F(SerialPort, BytesCrossTheLineUnchangedBothWays) {
    CSerialUtilEx serial;
    EXPECT_EQ(serial.IsOpened(), 0);
    ASSERT_EQ(serial.OpenSerial(port, 9600), 1);
    EXPECT_EQ(serial.IsOpened(), 1);
    EXPECT_EQ(serial.GetPortNumber(), port);

    std::vector<uint8_t> pattern(256);
    for (int i = 0; i < 256; ++i) {
        pattern[i] = static_cast<uint8_t>(i);
    }
    ASSERT_EQ(serial.SendData(pattern.data(), 256, 500, 0, 0, 0), 256);

    std::vector<uint8_t> answer(256);
    int got = 0;
    uint32_t start = MS_GetTime();
    while (got < 256 && MS_GetTime() - start < 10000) {
        int n = serial.ReadData(answer.data() + got, 256 - got, 1000);
        ASSERT_GE(n, 0);
        got += n;
    }
    ASSERT_EQ(got, 256);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(answer[i], 255 - i) << "byte " << i;
    }
    serial.CloseSerial();
    EXPECT_EQ(serial.IsOpened(), 0);
    EXPECT_EQ(serial.SendData(pattern.data(), 1, 100, 0, 0, 0), -1);
}

// The driver stops reading: a write that cannot finish must give up within its time-out.
TEST_F(SerialPort, WriteTimeOutIsAHardBoundWhenTheLineStalls) {
    CSerialUtilEx serial;
    ASSERT_EQ(serial.OpenSerial(port, 9600), 1);
    std::vector<uint8_t> payload(4 * 1024 * 1024, 0x55);
    for (int round = 0; round < 3; ++round) {
        uint32_t start = MS_GetTime();
        int written =
            serial.SendData(payload.data(), static_cast<int>(payload.size()), 500, 0, 0, 0);
        uint32_t elapsed = MS_GetTime() - start;
        EXPECT_LT(written, static_cast<int>(payload.size()));
        EXPECT_LT(elapsed, 1500u) << "round " << round << " wrote " << written;
    }
    uint8_t byte = 0;
    uint32_t start = MS_GetTime();
    EXPECT_EQ(serial.ReadData(&byte, 1, 300), 0) << "nothing arrives on a silent line";
    EXPECT_LT(MS_GetTime() - start, 1500u);
}

TEST(SerialPortErrors, MissingPortDoesNotOpen) {
    CSerialUtilEx serial;
    EXPECT_EQ(serial.OpenSerial(199, 9600), 0);
    EXPECT_EQ(serial.IsOpened(), 0);
    EXPECT_EQ(serial.OpenSerial(0, 9600), 0);
    uint8_t byte = 0;
    EXPECT_EQ(serial.ReadData(&byte, 1, 10), -1);
}

}  // namespace
