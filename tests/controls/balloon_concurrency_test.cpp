// The balloon's messages are shared by whoever shows them and by the timer ticks; its lock
// keeps them consistent when those run on different threads.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "controls/BalloonState.h"

namespace {

using namespace zuvo::controls;

// A host that only counts what it is asked to do.
class CountingHost : public BalloonHost {
public:
    void StartTimer(BalloonTimer, uint32_t) override { ++calls; }
    void StopTimer(BalloonTimer) override { ++calls; }
    void ApplyAlpha(int) override { ++calls; }
    void Relayout() override { ++calls; }
    void Present() override { ++calls; }
    void Hide() override { ++calls; }
    std::atomic<int> calls{0};
};

TEST(BalloonConcurrency, ShowingAndTickingOnTwoThreadsKeepsTheListConsistent) {
    CountingHost host;
    BalloonState state(host);
    constexpr int kRounds = 2000;
    std::thread shower([&] {
        for (int round = 0; round < kRounds; ++round) {
            state.ShowMessage(L"Data Invalid", L"value " + std::to_wstring(round % 7), 3,
                              round % 5);
        }
    });
    std::thread ticker([&] {
        for (int round = 0; round < kRounds; ++round) {
            state.OnExpiryTimer();
            if (round % 3 == 0) {
                state.OnFadeTimer();
            }
            if (round % 11 == 0) {
                state.OnPointerMove(round % 2 == 0);
                state.OnPointerLeave();
            }
            for (const BalloonMessage& message : state.LiveMessages()) {
                ASSERT_GT(message.remaining, 0u);
                ASSERT_LE(message.remaining, kDisplayTimeMs);
            }
        }
    });
    shower.join();
    ticker.join();

    const std::vector<BalloonMessage> all = state.AllMessages();
    EXPECT_LE(all.size(), 5u) << "one record per id";
    for (size_t i = 0; i < all.size(); ++i) {
        for (size_t j = i + 1; j < all.size(); ++j) {
            EXPECT_NE(all[i].id, all[j].id);
        }
    }
    EXPECT_GT(host.calls.load(), kRounds);
}

}  // namespace
