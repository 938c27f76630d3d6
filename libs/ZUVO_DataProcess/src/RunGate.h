// Stop and pause signals for a device's thread, with sleeps that wake at once on a stop.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace zuvo::radar {

class RunGate {
public:
    using Clock = std::chrono::steady_clock;

    RunGate();

    // A new run: not stopped. The pause state stays (it may be set before a start).
    void Rearm();
    void RequestStop();
    bool StopRequested() const;
    void SetPaused(bool paused);
    bool Paused() const;

    // Sleeps until due. With holdWhilePaused, a pause also holds the thread, and due moves on
    // by the time paused, so paced data keeps its rhythm. Answers false as soon as a stop is
    // requested.
    bool WaitUntil(Clock::time_point& due, bool holdWhilePaused);

private:
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_stop;
    bool m_paused;
};

}  // namespace zuvo::radar
