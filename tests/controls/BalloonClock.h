// A balloon host whose timers run on a manual clock: Advance moves the clock and fires the
// timers that fall due, in time order, as a window's timers would.
#pragma once

#include <cstdint>
#include <vector>

#include "controls/BalloonState.h"
#include "tests/support/ManualClock.h"

namespace balloon_test {

class ClockedHost : public zuvo::controls::BalloonHost {
public:
    void Bind(zuvo::controls::BalloonState* state) { m_state = state; }

    void StartTimer(zuvo::controls::BalloonTimer timer, uint32_t periodMs) override {
        m_clock.StartTimer(timer, periodMs, [this, timer] {
            if (timer == zuvo::controls::kExpiryTimer) {
                m_state->OnExpiryTimer();
            } else {
                m_state->OnFadeTimer();
            }
        });
    }
    void StopTimer(zuvo::controls::BalloonTimer timer) override { m_clock.StopTimer(timer); }
    void ApplyAlpha(int alpha) override { alphas.push_back(alpha); }
    void Relayout() override { relayoutTimes.push_back(Now()); }
    void Present() override {
        presentTimes.push_back(Now());
        visible = true;
    }
    void Hide() override {
        hideTimes.push_back(Now());
        visible = false;
    }

    // Moves the clock forward, firing every timer that falls due on the way.
    void Advance(uint32_t milliseconds) { m_clock.Advance(milliseconds); }

    uint32_t Now() const { return m_clock.Now(); }
    bool Running(zuvo::controls::BalloonTimer timer) const { return m_clock.IsRunning(timer); }

    std::vector<int> alphas;
    std::vector<uint32_t> relayoutTimes;
    std::vector<uint32_t> presentTimes;
    std::vector<uint32_t> hideTimes;
    bool visible = false;

private:
    zuvo::controls::BalloonState* m_state = nullptr;
    zuvo::test::ManualClock m_clock;
};

// A host and its balloon state, bound together.
struct ClockedBalloon {
    ClockedBalloon() { host.Bind(&state); }
    ClockedHost host;
    zuvo::controls::BalloonState state{host};
};

}  // namespace balloon_test
