// The balloon's messages are shared by whoever shows them and by the timer ticks; its lock
// keeps them consistent when those run on different threads.
#include <gtest/gtest.h>

#include <atomic>
#include <barrier>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "controls/BalloonState.h"

namespace {

using namespace zuvo::controls;

// A host that does nothing: these tests look at the messages, not at the window.
class QuietHost : public BalloonHost {
public:
    void StartTimer(BalloonTimer, uint32_t) override {}
    void StopTimer(BalloonTimer) override {}
    void ApplyAlpha(int) override {}
    void Relayout() override {}
    void Present() override {}
    void Hide() override {}
};

// Round r shows id r % 5 with the text "value r" and the icon 1 + r % 6, so every record's
// id, text and icon must belong to the same round.
constexpr int kIds = 5;

std::wstring TextOfRound(int round) {
    return L"value " + std::to_wstring(round);
}

int IconOfRound(int round) {
    return 1 + round % 6;
}

// Empty when the records are one per id and each is whole; otherwise what is wrong.
std::string Inconsistency(const std::vector<BalloonMessage>& messages) {
    std::set<int> ids;
    for (const BalloonMessage& message : messages) {
        if (!ids.insert(message.id).second) {
            return "two records of id " + std::to_string(message.id);
        }
        if (message.title != L"Data Invalid" || message.text.rfind(L"value ", 0) != 0) {
            return "a record with a foreign title or text, id " + std::to_string(message.id);
        }
        const int round = std::stoi(message.text.substr(6));
        if (message.id != round % kIds || message.icon != IconOfRound(round)) {
            return "id " + std::to_string(message.id) + ", icon " + std::to_string(message.icon) +
                   " and text of round " + std::to_string(round) + " do not belong together";
        }
        if (message.remaining > kDisplayTimeMs || message.remaining % kExpiryPeriodMs != 0) {
            return "remaining time " + std::to_string(message.remaining);
        }
    }
    return std::string();
}

TEST(BalloonConcurrency, ShowingAndTickingOnTwoThreadsKeepsTheListConsistent) {
    QuietHost host;
    BalloonState state(host);
    constexpr int kRounds = 4000;
    std::thread shower([&] {
        for (int round = 0; round < kRounds; ++round) {
            state.ShowMessage(L"Data Invalid", TextOfRound(round), IconOfRound(round),
                              round % kIds);
        }
    });
    std::string problem;
    int snapshots = 0;
    std::thread ticker([&] {
        for (int round = 0; round < kRounds && problem.empty(); ++round) {
            state.OnExpiryTimer();
            if (round % 3 == 0) {
                state.OnFadeTimer();
            }
            if (round % 11 == 0) {
                state.OnPointerMove(round % 2 == 0);
                state.OnPointerLeave();
            }
            problem = Inconsistency(state.AllMessages());
            ++snapshots;
        }
    });
    shower.join();
    ticker.join();
    EXPECT_EQ(problem, "") << "after " << snapshots << " snapshots";

    const std::vector<BalloonMessage> all = state.AllMessages();
    EXPECT_EQ(Inconsistency(all), "");
    // Ticks change times and may drop everything, but never reorder: the last message shown
    // heads the list unless the fade has emptied it since.
    if (!all.empty()) {
        EXPECT_EQ(all.front().text, TextOfRound(kRounds - 1));
    }
}

// Several threads showing the same ids at the same moment: each id must end as one record,
// and none may be lost.
TEST(BalloonConcurrency, ThreadsShowingTheSameIdsAtOnceLeaveOneRecordPerId) {
    QuietHost host;
    BalloonState state(host);
    constexpr int kThreads = 4;
    constexpr int kRounds = 300;
    std::atomic<int> round{0};
    std::string problem;
    // Runs once per round, on one thread, while the others wait: the round's shows are done.
    auto check = [&]() noexcept {
        const std::vector<BalloonMessage> all = state.AllMessages();
        if (problem.empty()) {
            if (all.size() != kIds) {
                problem = std::to_string(all.size()) + " records after round " +
                          std::to_string(round.load());
            } else {
                problem = Inconsistency(all);
            }
        }
        state.ClearMessages();
        round.fetch_add(1);
    };
    std::barrier sync(kThreads, check);
    std::vector<std::thread> showers;
    for (int thread = 0; thread < kThreads; ++thread) {
        showers.emplace_back([&, thread] {
            for (int r = 0; r < kRounds; ++r) {
                // Each thread goes through the ids from its own start, so the same id is shown
                // by different threads at about the same time.
                for (int step = 0; step < kIds; ++step) {
                    const int shown = (r * kIds) + (thread + step) % kIds;
                    state.ShowMessage(L"Data Invalid", TextOfRound(shown), IconOfRound(shown),
                                      shown % kIds);
                }
                state.OnExpiryTimer();
                sync.arrive_and_wait();
            }
        });
    }
    for (std::thread& shower : showers) {
        shower.join();
    }
    EXPECT_EQ(problem, "");
    EXPECT_EQ(round.load(), kRounds);
}

}  // namespace
