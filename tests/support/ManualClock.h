// A clock that moves only when the test moves it: a 32-bit millisecond count like the
// system's (MS_GetTime, GetTickCount), which wraps every 49.7 days, with periodic timers
// that fire as the clock passes their due times. Code that takes its times as arguments, or
// through a host's timers, runs on it exactly and without waiting. Portable.
#pragma once

#include <cstdint>
#include <functional>
#include <map>

namespace zuvo::test {

class ManualClock {
public:
    // The clock reads originMs until it is moved; an origin just below 2^32 puts the wrap
    // inside the test.
    explicit ManualClock(uint32_t originMs = 0) : m_origin(originMs) {}

    // The time as the system clock would give it (wrapped to 32 bits).
    uint32_t Now() const { return static_cast<uint32_t>(m_origin + m_elapsed); }
    // Milliseconds since the origin, never wrapped.
    uint64_t Elapsed() const { return m_elapsed; }

    // Moves the clock forward, firing every timer that falls due on the way in the order of
    // its due time (timers due together in the order of their ids), each with the clock at
    // its due time. A timer may start and stop timers while it fires.
    void Advance(uint32_t milliseconds);
    // Moves the clock forward to elapsedMs after the origin (nothing when it is there
    // already), firing timers as Advance does.
    void AdvanceTo(uint64_t elapsedMs);

    // Starts timer id, or starts it again from now: it fires every periodMs from now on.
    void StartTimer(int id, uint32_t periodMs, std::function<void()> onDue);
    void StopTimer(int id);
    bool IsRunning(int id) const;

private:
    struct Timer {
        uint64_t period = 0;
        uint64_t due = 0;  // elapsed time of the next firing
        std::function<void()> onDue;
    };

    uint64_t m_origin;
    uint64_t m_elapsed = 0;
    std::map<int, Timer> m_timers;  // running timers by id
};

}  // namespace zuvo::test
