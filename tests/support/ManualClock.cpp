#include "tests/support/ManualClock.h"

#include <utility>

namespace zuvo::test {

void ManualClock::Advance(uint32_t milliseconds) {
    AdvanceTo(m_elapsed + milliseconds);
}

void ManualClock::AdvanceTo(uint64_t elapsedMs) {
    for (;;) {
        auto next = m_timers.end();
        for (auto timer = m_timers.begin(); timer != m_timers.end(); ++timer) {
            // A timer with no period would fire for ever without the clock moving.
            if (timer->second.period > 0 && timer->second.due <= elapsedMs &&
                (next == m_timers.end() || timer->second.due < next->second.due)) {
                next = timer;
            }
        }
        if (next == m_timers.end()) {
            break;
        }
        m_elapsed = next->second.due;
        next->second.due += next->second.period;
        // A copy: the timer may restart or stop itself (or others) while it fires.
        const std::function<void()> onDue = next->second.onDue;
        onDue();
    }
    if (elapsedMs > m_elapsed) {
        m_elapsed = elapsedMs;
    }
}

void ManualClock::StartTimer(int id, uint32_t periodMs, std::function<void()> onDue) {
    m_timers[id] = Timer{periodMs, m_elapsed + periodMs, std::move(onDue)};
}

void ManualClock::StopTimer(int id) {
    m_timers.erase(id);
}

bool ManualClock::IsRunning(int id) const {
    return m_timers.count(id) != 0;
}

}  // namespace zuvo::test
