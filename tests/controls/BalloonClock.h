// A balloon host whose timers run on a test clock: Advance moves the clock and fires the
// timers that fall due, in time order, as a window's timers would.
#pragma once

#include <cstdint>
#include <vector>

#include "controls/BalloonState.h"

namespace balloon_test {

class ClockedHost : public zuvo::controls::BalloonHost {
public:
    void Bind(zuvo::controls::BalloonState* state) { m_state = state; }

    void StartTimer(zuvo::controls::BalloonTimer timer, uint32_t periodMs) override {
        m_timers[timer] = Timer{true, periodMs, m_now + periodMs};
    }
    void StopTimer(zuvo::controls::BalloonTimer timer) override { m_timers[timer].running = false; }
    void ApplyAlpha(int alpha) override { alphas.push_back(alpha); }
    void Relayout() override { relayoutTimes.push_back(m_now); }
    void Present() override {
        presentTimes.push_back(m_now);
        visible = true;
    }
    void Hide() override {
        hideTimes.push_back(m_now);
        visible = false;
    }

    // Moves the clock forward, firing every timer that falls due on the way.
    void Advance(uint32_t milliseconds) {
        const uint32_t end = m_now + milliseconds;
        for (;;) {
            int next = -1;
            for (int timer = 1; timer <= 2; ++timer) {
                if (m_timers[timer].running && m_timers[timer].due <= end &&
                    (next < 0 || m_timers[timer].due < m_timers[next].due)) {
                    next = timer;
                }
            }
            if (next < 0) {
                break;
            }
            m_now = m_timers[next].due;
            m_timers[next].due += m_timers[next].period;
            if (next == zuvo::controls::kExpiryTimer) {
                m_state->OnExpiryTimer();
            } else {
                m_state->OnFadeTimer();
            }
        }
        m_now = end;
    }

    uint32_t Now() const { return m_now; }
    bool Running(zuvo::controls::BalloonTimer timer) const { return m_timers[timer].running; }

    std::vector<int> alphas;
    std::vector<uint32_t> relayoutTimes;
    std::vector<uint32_t> presentTimes;
    std::vector<uint32_t> hideTimes;
    bool visible = false;

private:
    struct Timer {
        bool running = false;
        uint32_t period = 0;
        uint32_t due = 0;
    };
    zuvo::controls::BalloonState* m_state = nullptr;
    Timer m_timers[3];
    uint32_t m_now = 0;
};

// A host and its balloon state, bound together.
struct ClockedBalloon {
    ClockedBalloon() { host.Bind(&state); }
    ClockedHost host;
    zuvo::controls::BalloonState state{host};
};

}  // namespace balloon_test
