// The device search on its worker thread: the first candidate that answers wins, a cancel ends
// the search at once and answers nothing, a failing probe is only "not there", and the
// progress the operator sees never runs backwards and ends full.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DeviceSearch.h"

namespace {

using namespace std::chrono_literals;
using zuvo::dlg::DeviceCandidate;
using zuvo::dlg::DeviceSearch;
using zuvo::dlg::FoundDevice;
using zuvo::dlg::SearchProgress;
using zuvo::dlg::SearchStop;

// Records what the search reports, from its worker thread.
class Recorder : public zuvo::dlg::IDeviceSearchListener {
public:
    void OnProbeStarted(int index, int count, const std::wstring& label) override {
        std::lock_guard<std::mutex> guard(m_mutex);
        probed.push_back(label);
        lastCount = count;
        EXPECT_EQ(index + 1, static_cast<int>(probed.size()));
    }
    void OnDeviceFound(const FoundDevice& device, const std::wstring& label) override {
        std::lock_guard<std::mutex> guard(m_mutex);
        found.push_back(label);
        foundType = device.sourceType;
    }
    void OnProgress(int perMille) override {
        std::lock_guard<std::mutex> guard(m_mutex);
        progress.push_back(perMille);
    }
    void OnFinished() override {
        std::lock_guard<std::mutex> guard(m_mutex);
        ++finishedCalls;
        m_finished.notify_all();
    }
    // Waits until OnFinished, at most the time given.
    bool WaitFinished(std::chrono::milliseconds limit) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_finished.wait_for(lock, limit, [this] { return finishedCalls > 0; });
    }

    std::vector<std::wstring> probed;
    std::vector<std::wstring> found;
    std::vector<int> progress;
    int lastCount = 0;
    int foundType = 0;
    int finishedCalls = 0;

private:
    std::mutex m_mutex;
    std::condition_variable m_finished;
};

DeviceCandidate Answering(const wchar_t* label, int sourceType, int number) {
    return {label, [sourceType, number](const SearchStop&, FoundDevice& device) {
                device.sourceType = sourceType;
                device.deviceNumber = number;
                device.deviceText = "device";
                return true;
            }};
}

DeviceCandidate Absent(const wchar_t* label) {
    return {label, [](const SearchStop&, FoundDevice&) { return false; }};
}

TEST(DeviceSearch, TheFirstCandidateThatAnswersWins) {
    std::atomic<int> laterProbes{0};
    std::vector<DeviceCandidate> candidates = {Absent(L"COM3"),
                                               Answering(L"COM4", 1, 4),
                                               {L"emulator", [&](const SearchStop&, FoundDevice&) {
                                                    ++laterProbes;
                                                    return true;
                                                }}};
    Recorder recorder;
    DeviceSearch search(std::move(candidates), 0ms);
    ASSERT_TRUE(search.Start(recorder));
    EXPECT_FALSE(search.Start(recorder)) << "a search runs once";
    search.Wait();

    std::optional<FoundDevice> result = search.Result();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->sourceType, 1);
    EXPECT_EQ(result->deviceNumber, 4);
    EXPECT_EQ(result->deviceText, "device");
    EXPECT_FALSE(search.WasCancelled());
    EXPECT_EQ(laterProbes.load(), 0) << "candidates after the found one are not probed";
    EXPECT_EQ(recorder.probed, (std::vector<std::wstring>{L"COM3", L"COM4"}));
    EXPECT_EQ(recorder.lastCount, 3);
    EXPECT_EQ(recorder.found, (std::vector<std::wstring>{L"COM4"}));
    EXPECT_EQ(recorder.finishedCalls, 1);
    ASSERT_FALSE(recorder.progress.empty());
    EXPECT_EQ(recorder.progress.back(), 1000);
}

TEST(DeviceSearch, NothingAnsweringFindsNothing) {
    Recorder recorder;
    DeviceSearch search({Absent(L"a"), Absent(L"b"), {L"no probe", nullptr}}, 0ms);
    search.Start(recorder);
    search.Wait();
    EXPECT_FALSE(search.Result());
    EXPECT_FALSE(search.WasCancelled());
    EXPECT_EQ(recorder.probed.size(), 3u);
    EXPECT_TRUE(recorder.found.empty());
    EXPECT_EQ(recorder.finishedCalls, 1);
}

TEST(DeviceSearch, AFailingProbeIsOnlyAnAbsentCandidate) {
    Recorder recorder;
    DeviceSearch search({{L"broken",
                          [](const SearchStop&, FoundDevice&) -> bool {
                              throw std::runtime_error("port vanished");
                          }},
                         {L"odd", [](const SearchStop&, FoundDevice&) -> bool { throw 42; }},
                         Answering(L"emulator", 7, 0)},
                        0ms);
    search.Start(recorder);
    search.Wait();
    ASSERT_TRUE(search.Result());
    EXPECT_EQ(search.Result()->sourceType, 7);
}

TEST(DeviceSearch, LastsAtLeastItsMinimumWithProgressThatNeverGoesBack) {
    Recorder recorder;
    DeviceSearch search({Answering(L"emulator", 7, 0)}, 300ms);
    auto started = std::chrono::steady_clock::now();
    search.Start(recorder);
    EXPECT_FALSE(search.Result()) << "no answer while the search runs";
    search.Wait();
    auto took = std::chrono::steady_clock::now() - started;
    EXPECT_GE(took, 300ms);
    EXPECT_LT(took, 3000ms);
    ASSERT_TRUE(search.Result());
    ASSERT_GE(recorder.progress.size(), 3u) << "the bar moves while the time runs out";
    for (size_t i = 1; i < recorder.progress.size(); ++i) {
        EXPECT_GT(recorder.progress[i], recorder.progress[i - 1]);
    }
    EXPECT_LT(recorder.progress.front(), 500);
    EXPECT_EQ(recorder.progress.back(), 1000);
}

TEST(DeviceSearch, CancelEndsAWaitingProbeAndAnswersNothing) {
    std::atomic<bool> probeRunning{false};
    Recorder recorder;
    // A probe that would wait a minute unless the search is cancelled.
    DeviceSearch search({{L"slow port",
                          [&](const SearchStop& stop, FoundDevice& device) {
                              probeRunning = true;
                              stop.WaitFor(60s);
                              device.sourceType = 1;
                              return true;
                          }},
                         Answering(L"emulator", 7, 0)},
                        0ms);
    search.Start(recorder);
    while (!probeRunning) {
        std::this_thread::yield();
    }
    auto cancelled = std::chrono::steady_clock::now();
    search.Cancel();
    ASSERT_TRUE(recorder.WaitFinished(5s));
    search.Wait();
    EXPECT_LT(std::chrono::steady_clock::now() - cancelled, 2s);
    EXPECT_TRUE(search.WasCancelled());
    EXPECT_FALSE(search.Result()) << "a device answering after the cancel does not count";
    EXPECT_EQ(recorder.probed.size(), 1u) << "no candidate after the cancel";
    EXPECT_EQ(recorder.finishedCalls, 1);
}

TEST(DeviceSearch, CancelDuringTheMinimumTimeDropsTheFoundDevice) {
    Recorder recorder;
    DeviceSearch search({Answering(L"emulator", 7, 0)}, 60s);
    search.Start(recorder);
    std::this_thread::sleep_for(50ms);
    search.Cancel();
    ASSERT_TRUE(recorder.WaitFinished(5s));
    search.Wait();
    EXPECT_TRUE(search.WasCancelled());
    EXPECT_FALSE(search.Result());
    EXPECT_EQ(recorder.found.size(), 1u);
    ASSERT_FALSE(recorder.progress.empty());
    EXPECT_LT(recorder.progress.back(), 1000) << "a cancelled search never shows full";
}

TEST(DeviceSearch, DestroyingARunningSearchStopsItsWorker) {
    Recorder recorder;
    auto started = std::chrono::steady_clock::now();
    {
        DeviceSearch search({Absent(L"a")}, 60s);
        search.Start(recorder);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
    EXPECT_EQ(recorder.finishedCalls, 1);
}

TEST(DeviceSearch, ProgressIsTheSmallerOfProbesAndTime) {
    EXPECT_EQ(SearchProgress(0, 4, 0ms, 1000ms), 0);
    EXPECT_EQ(SearchProgress(1, 4, 900ms, 1000ms), 250) << "probes behind";
    EXPECT_EQ(SearchProgress(4, 4, 300ms, 1000ms), 300) << "time behind";
    EXPECT_EQ(SearchProgress(4, 4, 5000ms, 1000ms), 1000);
    EXPECT_EQ(SearchProgress(2, 4, 0ms, 0ms), 500) << "no minimum time";
    EXPECT_EQ(SearchProgress(0, 0, 500ms, 1000ms), 500) << "no candidates";
    EXPECT_EQ(SearchProgress(9, 4, -5ms, 1000ms), 0) << "out-of-range inputs are limited";
}

}  // namespace
