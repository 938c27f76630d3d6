// TowerLight: the rules of the signal tower on its own serial line. While a run lasts one lamp
// (coil 0) is lit while an object is present and another (coil 2) once no object has been
// seen for more than kAbsenceDelayMs. A lamp change switches the lit lamp off before the other
// on, so at most one of them is ever lit.
//
// Every frame is bounded: the write gives up after kFrameWriteTimeoutMs and is followed by a
// kFramePauseMs pause, so a port that stops answering costs the caller at most that much per
// frame and never blocks it for longer. A frame that could not be written is not repeated;
// the state still records what was asked for. What was left of it must not go out in front of
// the next frame and spoil that one too: the light closes and reopens its port, which drops
// a write still pending in the serial driver.
//
// A line that goes away in a run (an adapter pulled out) is noticed by opening the port again:
// the port's send tells nothing of a line that is gone (its write fails at once, which looks
// like a write that went out), so every kLineCheckIntervalMs the refresh pass closes and
// reopens the port, which costs the line nothing. A port that does not open again is tried
// every kReopenIntervalMs; once it is back, both lamps are switched off, as nobody knows what
// they showed in between, and the presence rule lights the right one. A port that did not
// open at the start of the run is not tried again.
//
// Threads: user-interface thread only (refresh pass, start, stop, destruction).
#pragma once

#include <cstdint>

#include "app/light/LightPort.h"

namespace zuvo::light {

// LightState values.
constexpr int32_t kLightOff = 0;     // nothing lit by us
constexpr int32_t kNoObjectLit = 1;  // coil 2 lit
constexpr int32_t kObjectLit = 3;    // coil 0 lit

constexpr int kFrameWriteTimeoutMs = 500;
constexpr uint32_t kFramePauseMs = 100;
constexpr uint32_t kAbsenceDelayMs = 2000;
constexpr uint32_t kReopenIntervalMs = 2000;
constexpr uint32_t kLineCheckIntervalMs = 5000;
constexpr int kLightDiagnosticLevel = 2;

class TowerLight {
public:
    // lineCheckIntervalMs 0: the line is never checked (for tests of the other rules).
    explicit TowerLight(LightPort& port,
                        uint32_t lineCheckIntervalMs = kLineCheckIntervalMs) noexcept
        : m_port(port), m_lineCheckIntervalMs(lineCheckIntervalMs) {}
    TowerLight(const TowerLight&) = delete;
    TowerLight& operator=(const TowerLight&) = delete;

    // The start of a run: closes what was open, opens the port and, when it opened, lights
    // the no-object lamp. Answers the open result; a port that does not open leaves the light
    // off and every later call without effect.
    int Open(int portNumber, int baudRate) noexcept;
    // Switches the lit lamp off (nothing when the port is closed).
    void TurnOffLight() noexcept;
    // kNoObjectLit or kObjectLit: the lit lamp off, then that state's lamp on. Other values
    // are refused and change nothing.
    void SwitchLightOn(int32_t state) noexcept;
    // The end of a run: the lit lamp and coil 3 off, the port closed. The state is off in
    // every case.
    void CloseLight() noexcept;

    // The last step of every refresh pass, with whether any object slot held an object and
    // the pass's millisecond clock. Times are compared as unsigned 32-bit differences, so the
    // clock may wrap.
    void ApplyPresence(bool present, uint32_t now) noexcept;

    int32_t LightState() const noexcept { return m_lightState; }
    uint32_t LastPresenceTime() const noexcept { return m_lastPresenceTime; }

private:
    void SendFrame(uint16_t coil, bool on) noexcept;
    void DropCutFrame() noexcept;
    // True once a lost line is open again (at most one try per kReopenIntervalMs).
    bool Reconnect(uint32_t now) noexcept;
    // Closes and reopens the port when a check is due; false when the line is gone.
    bool CheckLine(uint32_t now) noexcept;

    LightPort& m_port;
    uint32_t m_lineCheckIntervalMs;
    int m_portNumber = 0;  // what Open was given, for reopening
    int m_baudRate = 0;
    int32_t m_lightState = kLightOff;
    uint32_t m_lastPresenceTime = 0;
    bool m_lost = false;      // the line went away in this run and has not come back
    bool m_tryTimed = false;  // m_lastTry holds the time of the last try
    uint32_t m_lastTry = 0;
    bool m_checkTimed = false;  // m_lastCheck holds the time of the last line check
    uint32_t m_lastCheck = 0;
};

}  // namespace zuvo::light
