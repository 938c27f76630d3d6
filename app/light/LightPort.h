// LightPort: what the tower light needs from its serial line, so that the light's rules run
// the same over a real COM port and over a recording stand-in in tests.
#pragma once

#include <cstdint>

namespace zuvo::light {

class LightPort {
public:
    // Opens COM<portNumber> at the baud rate; answers the open result (non-zero on success).
    virtual int OpenPort(int portNumber, int baudRate) noexcept = 0;
    virtual bool IsPortOpen() const noexcept = 0;
    // Writes count bytes, giving up after timeoutMs. Answers false when the write was given up
    // before it finished: the rest of the bytes may then still wait in the port's buffers.
    virtual bool WritePort(const uint8_t* bytes, int count, int timeoutMs) noexcept = 0;
    virtual void ClosePort() noexcept = 0;
    // Blocks the calling thread for the given time.
    virtual void Pause(uint32_t milliseconds) noexcept = 0;
    // One diagnostic line (level 1 information, 2 a fault worth looking at).
    virtual void Diagnostic(int level, const char* line) noexcept = 0;

protected:
    ~LightPort() = default;
};

}  // namespace zuvo::light
