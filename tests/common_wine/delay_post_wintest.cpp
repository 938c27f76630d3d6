// Delayed window messages arrive after their delay, in due order; cancelled ones never do. The
// engine is our library's extended one, which can tell whether it runs and what is pending.
#include <gtest/gtest.h>

#include <vector>

#include "ZUVO_CommonExtras.h"
#include "framework/Handles.h"

namespace {

constexpr UINT kMessageA = WM_APP + 1;
constexpr UINT kMessageB = WM_APP + 2;

struct Arrival {
    UINT message;
    WPARAM wParam;
    uint32_t elapsedMs;
};

zuvo::UniqueWindow MakeMessageWindow() {
    return zuvo::UniqueWindow(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                              nullptr, GetModuleHandleW(nullptr), nullptr));
}

// Posts that a test cancels are due this much later than the cancellation: a loaded machine
// may hold the test thread up between scheduling and cancelling, and a post that fell due in
// that moment would arrive before it could be cancelled.
constexpr uint32_t kCancelMarginMs = 400;

// Pumps the thread's queue for durationMs and records every kMessageA/B for window.
std::vector<Arrival> Pump(HWND window, uint32_t start, uint32_t durationMs) {
    std::vector<Arrival> arrivals;
    while (MS_GetTime() - start < durationMs) {
        MSG msg;
        while (PeekMessageW(&msg, window, 0, 0, PM_REMOVE)) {
            if (msg.message == kMessageA || msg.message == kMessageB) {
                arrivals.push_back({msg.message, msg.wParam, MS_GetTime() - start});
            }
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return arrivals;
}

TEST(DelayPostMsgEngine, PostsAfterTheDelayInDueOrder) {
    zuvo::UniqueWindow window = MakeMessageWindow();
    ASSERT_TRUE(window);
    CDelayPostMsgEngineEx engine;
    ASSERT_EQ(engine.Start(), 1);
    EXPECT_EQ(engine.Start(), 1) << "a second start keeps the running worker";

    const uint32_t start = MS_GetTime();
    ASSERT_EQ(
        engine.DelayPostMsg(300, window.get(), window.get(), kMessageA, 3, 0, nullptr, nullptr), 1);
    ASSERT_EQ(
        engine.DelayPostMsg(100, window.get(), window.get(), kMessageA, 1, 0, nullptr, nullptr), 1);
    ASSERT_EQ(
        engine.DelayPostMsg(200, window.get(), window.get(), kMessageB, 2, 0, nullptr, nullptr), 1);
    EXPECT_EQ(engine.GetPendingCount(), 3);

    std::vector<Arrival> arrivals = Pump(window.get(), start, 600);
    ASSERT_EQ(arrivals.size(), 3u);
    EXPECT_EQ(arrivals[0].wParam, 1u);
    EXPECT_EQ(arrivals[1].wParam, 2u);
    EXPECT_EQ(arrivals[1].message, kMessageB);
    EXPECT_EQ(arrivals[2].wParam, 3u);
    EXPECT_GE(arrivals[0].elapsedMs, 100u);
    EXPECT_GE(arrivals[1].elapsedMs, 200u);
    EXPECT_GE(arrivals[2].elapsedMs, 300u);
    EXPECT_LT(arrivals[2].elapsedMs, 500u) << "a post must not be late by more than a moment";
    EXPECT_EQ(engine.GetPendingCount(), 0);
}

TEST(DelayPostMsgEngine, EqualDueTimesKeepTheirOrder) {
    zuvo::UniqueWindow window = MakeMessageWindow();
    CDelayPostMsgEngineEx engine;
    ASSERT_EQ(engine.Start(), 1);
    const uint32_t start = MS_GetTime();
    for (WPARAM i = 0; i < 20; ++i) {
        engine.DelayPostMsg(50, window.get(), window.get(), kMessageA, i, 0, nullptr, nullptr);
    }
    std::vector<Arrival> arrivals = Pump(window.get(), start, 300);
    ASSERT_EQ(arrivals.size(), 20u);
    for (WPARAM i = 0; i < 20; ++i) {
        EXPECT_EQ(arrivals[i].wParam, i);
    }
}

TEST(DelayPostMsgEngine, CancelledPostsNeverArrive) {
    zuvo::UniqueWindow window = MakeMessageWindow();
    zuvo::UniqueWindow other = MakeMessageWindow();
    CDelayPostMsgEngineEx engine;
    ASSERT_EQ(engine.Start(), 1);
    const uint32_t start = MS_GetTime();
    engine.DelayPostMsg(kCancelMarginMs + 100, window.get(), window.get(), kMessageA, 1, 0, nullptr,
                        nullptr);
    engine.DelayPostMsg(kCancelMarginMs + 150, window.get(), window.get(), kMessageA, 2, 0, nullptr,
                        nullptr);
    engine.DelayPostMsg(kCancelMarginMs + 120, window.get(), window.get(), kMessageB, 3, 0, nullptr,
                        nullptr);
    engine.DelayPostMsg(kCancelMarginMs + 120, window.get(), other.get(), kMessageA, 4, 0, nullptr,
                        nullptr);

    EXPECT_EQ(engine.RemoveDelayPostMsg(window.get(), window.get(), kMessageA, 1), 2);
    EXPECT_EQ(engine.RemoveDelayPostMsg(window.get(), window.get(), kMessageA, 1), 0);

    std::vector<Arrival> arrivals = Pump(window.get(), start, kCancelMarginMs + 400);
    ASSERT_EQ(arrivals.size(), 2u);
    EXPECT_EQ(arrivals[0].message, kMessageB);
    EXPECT_EQ(arrivals[1].wParam, 4u) << "an entry of another owner is not cancelled";
}

TEST(DelayPostMsgEngine, RemoveOneCancelsOnlyTheFirstDue) {
    zuvo::UniqueWindow window = MakeMessageWindow();
    CDelayPostMsgEngineEx engine;
    ASSERT_EQ(engine.Start(), 1);
    const uint32_t start = MS_GetTime();
    engine.DelayPostMsg(kCancelMarginMs + 150, window.get(), window.get(), kMessageA, 2, 0, nullptr,
                        nullptr);
    engine.DelayPostMsg(kCancelMarginMs + 80, window.get(), window.get(), kMessageA, 1, 0, nullptr,
                        nullptr);
    EXPECT_EQ(engine.RemoveDelayPostMsg(window.get(), window.get(), kMessageA, 0), 1);
    std::vector<Arrival> arrivals = Pump(window.get(), start, kCancelMarginMs + 350);
    ASSERT_EQ(arrivals.size(), 1u);
    EXPECT_EQ(arrivals[0].wParam, 2u);
}

TEST(DelayPostMsgEngine, StopDropsPendingAndRefusesNewEntries) {
    zuvo::UniqueWindow window = MakeMessageWindow();
    CDelayPostMsgEngineEx engine;
    EXPECT_EQ(
        engine.DelayPostMsg(10, window.get(), window.get(), kMessageA, 1, 0, nullptr, nullptr), 0)
        << "nothing is queued before Start";
    ASSERT_EQ(engine.Start(), 1);
    const uint32_t start = MS_GetTime();
    engine.DelayPostMsg(kCancelMarginMs + 50, window.get(), window.get(), kMessageA, 1, 0, nullptr,
                        nullptr);
    engine.Stop();
    EXPECT_EQ(engine.IsRunning(), 0);
    EXPECT_EQ(
        engine.DelayPostMsg(10, window.get(), window.get(), kMessageA, 2, 0, nullptr, nullptr), 0);
    EXPECT_TRUE(Pump(window.get(), start, kCancelMarginMs + 200).empty());

    ASSERT_EQ(engine.Start(), 1) << "the engine starts again after a stop";
    const uint32_t again = MS_GetTime();
    engine.DelayPostMsg(20, window.get(), window.get(), kMessageA, 3, 0, nullptr, nullptr);
    std::vector<Arrival> arrivals = Pump(window.get(), again, 200);
    ASSERT_EQ(arrivals.size(), 1u);
    EXPECT_EQ(arrivals[0].wParam, 3u);
}

void ZUVO_CALL CountCallback(HWND, UINT, WPARAM wParam, LPARAM, void* context) {
    static_cast<std::vector<WPARAM>*>(context)->push_back(wParam);
}

TEST(DelayPostMsgEngine, CallbackRunsInsteadOfThePost) {
    zuvo::UniqueWindow window = MakeMessageWindow();
    std::vector<WPARAM> calls;
    CDelayPostMsgEngineEx engine;
    ASSERT_EQ(engine.Start(), 1);
    const uint32_t start = MS_GetTime();
    engine.DelayPostMsg(30, window.get(), window.get(), kMessageA, 7, 0, CountCallback, &calls);
    EXPECT_TRUE(Pump(window.get(), start, 200).empty());
    engine.Stop();  // joins the worker: calls is complete
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], 7u);
}

}  // namespace
