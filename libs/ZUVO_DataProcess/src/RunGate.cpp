#include "RunGate.h"

namespace zuvo::radar {

RunGate::RunGate() : m_stop(false), m_paused(false) {}

void RunGate::Rearm() {
    std::lock_guard<std::mutex> hold(m_lock);
    m_stop = false;
}

void RunGate::RequestStop() {
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_stop = true;
    }
    m_changed.notify_all();
}

bool RunGate::StopRequested() const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_stop;
}

void RunGate::SetPaused(bool paused) {
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_paused = paused;
    }
    m_changed.notify_all();
}

bool RunGate::Paused() const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_paused;
}

bool RunGate::WaitUntil(Clock::time_point& due, bool holdWhilePaused) {
    std::unique_lock<std::mutex> hold(m_lock);
    for (;;) {
        if (m_stop) {
            return false;
        }
        if (holdWhilePaused && m_paused) {
            const Clock::time_point pausedAt = Clock::now();
            m_changed.wait(hold, [&] { return m_stop || !m_paused; });
            due += Clock::now() - pausedAt;
            continue;
        }
        if (Clock::now() >= due) {
            return true;
        }
        m_changed.wait_until(hold, due);
    }
}

}  // namespace zuvo::radar
