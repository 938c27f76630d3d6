// A serial line as the serial sensor's host side needs it: reads that wait a bounded time,
// writes with a time-out, and a way to tell that the line has gone (the port's device was
// removed, the other end of a pseudo-terminal closed). Windows implements it on a COM port
// (SerialLineWin.cpp); tests implement it in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace zuvo::radar {

class SerialLine {
public:
    virtual ~SerialLine() = default;

    // Waits at most timeoutMs for bytes and answers how many it read (0: none came), or -1
    // when the line has gone. Called from one thread at a time.
    virtual int Read(uint8_t* bytes, size_t capacity, uint32_t timeoutMs) = 0;
    // Sends all bytes within timeoutMs; false when they did not all go out. May be called from
    // another thread than Read.
    virtual bool Write(const uint8_t* bytes, size_t size, uint32_t timeoutMs) = 0;
    // Drops what waits to be read (an earlier holder's leftovers).
    virtual void Discard() = 0;
};

// The baud rate of the family's serial sensors.
inline constexpr int kSensorBaudRate = 115200;

// Opens COM<portNumber>; empty, with error filled, when it cannot be opened. Implemented per
// platform; where there are no COM ports it always fails.
std::unique_ptr<SerialLine> OpenSerialLine(int portNumber, int baudRate, std::string& error);

}  // namespace zuvo::radar
