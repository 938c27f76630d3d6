// The library's threads: live runs and playback through the controller, with pause, stop,
// listener changes and commands arriving from the caller's thread. Also run under
// ThreadSanitizer.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "CommandAck.h"
#include "FrameQueue.h"
#include "RadarConfigFile.h"
#include "RadarController.h"
#include "RawDataRecorder.h"
#include "RunGate.h"
#include "TestSupport.h"

namespace zuvo::radar {
namespace {

using Clock = std::chrono::steady_clock;
using test::CollectingListener;

void SleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

tagRADARPARAMETER EmulatorRecord(int site = RADAR_PROCESS_SITE_HOST) {
    tagRADARPARAMETER record;
    SetDefaultParameters(record);
    record.SourceType = RADAR_SOURCE_EMULATOR;
    record.FramePeriodMs = 20;
    record.ProcessSite = site;
    return record;
}

uint16_t ZUVO_CALL CheckAckForTest(eRADAR_PROTOCOL_VERSION version, const uint8_t* bytes,
                                   int length, int64_t value) {
    return CheckAck(version, bytes, length, value);
}

class PipelineTest : public testing::Test {
protected:
    void SetUp() override {
        m_controller.Listeners(FilterKind::Mtt).Add(&m_mtt);
        m_controller.Listeners(FilterKind::MttData).Add(&m_data);
    }
    void Open(const tagRADARPARAMETER& record) {
        std::string error;
        ASSERT_TRUE(m_controller.OpenDevice(record, L"", error)) << error;
    }

    // The listeners outlive the controller, whose destruction ends a run still going.
    CollectingListener m_mtt;
    CollectingListener m_data;
    RadarController m_controller;
};

TEST_F(PipelineTest, ALiveRunDeliversOncePerFrameOnTheLibrarysThread) {
    Open(EmulatorRecord());
    EXPECT_FALSE(m_controller.IsStarted());
    ASSERT_TRUE(m_controller.Start());
    EXPECT_TRUE(m_controller.IsStarted());
    SleepMs(600);
    ASSERT_TRUE(m_controller.Stop());
    EXPECT_FALSE(m_controller.IsStarted());
    const std::vector<test::Delivery> deliveries = m_mtt.Deliveries();
    EXPECT_GE(deliveries.size(), 15u);
    EXPECT_LE(deliveries.size(), 32u);
    for (size_t i = 0; i < deliveries.size(); ++i) {
        EXPECT_NE(deliveries[i].thread, std::this_thread::get_id());
        EXPECT_EQ(deliveries[i].thread, deliveries[0].thread);
        if (i > 0) {
            EXPECT_GT(deliveries[i].value, deliveries[i - 1].value);
        }
    }
    EXPECT_EQ(m_data.Count(), 0u) << "the sensor does not track";
    int64_t entries = 0;
    for (const test::Delivery& d : deliveries) {
        entries += static_cast<int64_t>(d.objects.size());
    }
    EXPECT_EQ(m_controller.DeliveredEntries(), entries);
    EXPECT_GT(entries, 0) << "the scene's people are tracked";
}

TEST_F(PipelineTest, StopReturnsOnlyAfterTheLastDelivery) {
    class SlowListener : public IRadarObjectDetectListener {
    public:
        void OnRadarObjectDetect(int64_t, CPtrCtrl*) override {
            inCall.store(true);
            SleepMs(150);
            ++calls;
            inCall.store(false);
        }
        std::atomic<bool> inCall{false};
        std::atomic<int> calls{0};
    } slow;
    m_controller.Listeners(FilterKind::Mtt).Add(&slow);
    Open(EmulatorRecord());
    ASSERT_TRUE(m_controller.Start());
    while (!slow.inCall.load()) {
        SleepMs(1);
    }
    ASSERT_TRUE(m_controller.Stop());
    EXPECT_FALSE(slow.inCall.load());
    const int calls = slow.calls.load();
    EXPECT_GE(calls, 1);
    SleepMs(200);
    EXPECT_EQ(slow.calls.load(), calls);
    EXPECT_FALSE(m_controller.HasIncompleteData()) << "waiting frames are dropped";
    m_controller.Listeners(FilterKind::Mtt).Remove(&slow);
}

TEST_F(PipelineTest, PauseHaltsDeliveriesAndResumeContinues) {
    Open(EmulatorRecord());
    // Paused before the start, as the program does while it sends a mode command.
    ASSERT_TRUE(m_controller.Pause());
    ASSERT_TRUE(m_controller.Start());
    SleepMs(200);
    EXPECT_TRUE(m_controller.IsPaused());
    EXPECT_EQ(m_mtt.Count(), 0u);
    ASSERT_TRUE(m_controller.Resume());
    ASSERT_TRUE(m_mtt.WaitFor(5, 2000));
    ASSERT_TRUE(m_controller.Pause());
    SleepMs(60);
    const size_t paused = m_mtt.Count();
    SleepMs(250);
    EXPECT_EQ(m_mtt.Count(), paused);
    ASSERT_TRUE(m_controller.Resume());
    EXPECT_FALSE(m_controller.IsPaused());
    EXPECT_TRUE(m_mtt.WaitFor(paused + 5, 2000));
    m_controller.Stop();
    EXPECT_FALSE(m_controller.IsPaused());
    EXPECT_TRUE(m_controller.CloseDevice());
    EXPECT_FALSE(m_controller.Pause()) << "no device";
}

TEST_F(PipelineTest, ControlCallsFromInsideACallbackAreRefused) {
    class MeddlingListener : public IRadarObjectDetectListener {
    public:
        explicit MeddlingListener(RadarController& controller) : m_controller(controller) {}
        void OnRadarObjectDetect(int64_t, CPtrCtrl*) override {
            if (done.exchange(true)) {
                return;
            }
            stopRefused = !m_controller.Stop();
            pauseRefused = !m_controller.Pause();
            startedSeen = m_controller.IsStarted();
            std::string error;
            openRefused = !m_controller.OpenDevice(EmulatorRecord(), L"", error);
        }
        std::atomic<bool> done{false};
        std::atomic<bool> stopRefused{false}, pauseRefused{false}, startedSeen{false},
            openRefused{false};

    private:
        RadarController& m_controller;
    } meddler(m_controller);
    m_controller.Listeners(FilterKind::Mtt).Add(&meddler);
    Open(EmulatorRecord());
    ASSERT_TRUE(m_controller.Start());
    while (!meddler.done.load()) {
        SleepMs(1);
    }
    EXPECT_TRUE(m_mtt.WaitFor(m_mtt.Count() + 3, 2000)) << "the run goes on";
    EXPECT_TRUE(meddler.stopRefused.load());
    EXPECT_TRUE(meddler.pauseRefused.load());
    EXPECT_TRUE(meddler.startedSeen.load());
    EXPECT_TRUE(meddler.openRefused.load());
    EXPECT_FALSE(m_controller.IsPaused());
    m_controller.Stop();
    m_controller.Listeners(FilterKind::Mtt).Remove(&meddler);
}

TEST_F(PipelineTest, ARemovedListenerIsNeverCalledAgain) {
    Open(EmulatorRecord());
    ASSERT_TRUE(m_controller.Start());
    ASSERT_TRUE(m_mtt.WaitFor(3, 2000));
    ASSERT_TRUE(m_controller.Listeners(FilterKind::Mtt).Remove(&m_mtt));
    const size_t count = m_mtt.Count();
    SleepMs(150);
    EXPECT_EQ(m_mtt.Count(), count);
    m_controller.Stop();
}

TEST_F(PipelineTest, ModeCommandsSwitchTheSensorsObjectCount) {
    Open(EmulatorRecord(RADAR_PROCESS_SITE_SENSOR));
    RADAR_DEVICE_HANDLE device = m_controller.DefaultDevice();
    ASSERT_NE(device, nullptr);
    ASSERT_TRUE(m_controller.StartCommandMode(device, 1, 3000));
    EXPECT_TRUE(m_controller.SendCommand(device, RADAR_CMD_TRACK_SINGLE, nullptr, 0,
                                         CheckAckForTest, 0, 2000));
    EXPECT_TRUE(m_controller.StopCommandMode(device));
    ASSERT_TRUE(m_controller.Start());
    ASSERT_TRUE(m_data.WaitFor(3, 2000));
    EXPECT_EQ(m_data.Deliveries().back().objects.size(), 1u);
    EXPECT_EQ(m_mtt.Count(), 0u) << "nothing tracks on this computer";

    // While running, too.
    ASSERT_TRUE(m_controller.StartCommandMode(device, 1, 3000));
    EXPECT_TRUE(m_controller.SendCommand(device, RADAR_CMD_TRACK_MULTI, nullptr, 0, CheckAckForTest,
                                         0, 2000));
    m_controller.StopCommandMode(device);
    const size_t after = m_data.Count() + 2;
    ASSERT_TRUE(m_data.WaitFor(after + 2, 2000));
    EXPECT_EQ(m_data.Deliveries().back().objects.size(), 3u);

    // A checker that refuses the answer fails the command.
    ASSERT_TRUE(m_controller.StartCommandMode(device, 1, 3000));
    EXPECT_FALSE(m_controller.SendCommand(
        device, RADAR_CMD_TRACK_SINGLE, nullptr, 0,
        [](eRADAR_PROTOCOL_VERSION, const uint8_t*, int, int64_t) -> uint16_t { return 9; }, 0,
        2000));
    m_controller.Stop();
}

TEST_F(PipelineTest, ACommandOutsideCommandModeFailsAfterItsTimeOut) {
    Open(EmulatorRecord(RADAR_PROCESS_SITE_SENSOR));
    RADAR_DEVICE_HANDLE device = m_controller.DefaultDevice();
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(m_controller.SendCommand(device, RADAR_CMD_TRACK_SINGLE, nullptr, 0,
                                          CheckAckForTest, 0, 300));
    const auto waited =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    EXPECT_GE(waited, 290);
    EXPECT_LT(waited, 1300);
    // A handle that is not the open device, and data without bytes, are refused at once.
    int other = 0;
    EXPECT_FALSE(m_controller.StartCommandMode(&other, 1, 3000));
    EXPECT_FALSE(
        m_controller.SendCommand(&other, RADAR_CMD_TRACK_SINGLE, nullptr, 0, nullptr, 0, 5000));
    EXPECT_FALSE(
        m_controller.SendCommand(device, RADAR_CMD_TRACK_SINGLE, nullptr, 4, nullptr, 0, 5000));
    m_controller.CloseDevice();
    EXPECT_EQ(m_controller.DefaultDevice(), nullptr);
    EXPECT_FALSE(m_controller.StartCommandMode(device, 1, 3000)) << "closed";
}

TEST_F(PipelineTest, OpeningExplainsWhatIsWrong) {
    std::string error;
    tagRADARPARAMETER record = EmulatorRecord();
    const std::vector<std::pair<int, const char*>> sources = {
        {RADAR_SOURCE_NONE, "detect a device"},    {RADAR_SOURCE_COM, "COM1"},
        {RADAR_SOURCE_LIBUSB, "LibUSB"},           {RADAR_SOURCE_PELVO4, "Pelvo"},
        {RADAR_SOURCE_USB_ADAPTER, "USB adapter"}, {6, "source type 6"}};
    for (const auto& [source, text] : sources) {
        record.SourceType = source;
        EXPECT_FALSE(m_controller.OpenDevice(record, L"", error));
        EXPECT_NE(error.find(text), std::string::npos) << error;
    }
    record = EmulatorRecord();
    record.FramePeriodMs = 0;
    EXPECT_FALSE(m_controller.OpenDevice(record, L"", error));
    EXPECT_NE(error.find("FramePeriodMs"), std::string::npos) << error;

    test::TempFolder folder(u8"open");
    record = EmulatorRecord();
    record.ReadFromFile = 1;
    test::SetPath(record.DataPath, folder.Wide(L"missing"));
    EXPECT_FALSE(m_controller.OpenDevice(record, L"", error));
    EXPECT_NE(error.find("not found"), std::string::npos) << error;
    test::SetPath(record.DataPath, folder.Wide());
    EXPECT_FALSE(m_controller.OpenDevice(record, L"", error));
    EXPECT_NE(error.find("FILE_Radar_Config.ini"), std::string::npos) << error;
    ASSERT_TRUE(SaveParameters(folder.Wide(L"FILE_Radar_Config.ini"), EmulatorRecord(), error));
    EXPECT_FALSE(m_controller.OpenDevice(record, L"", error));
    EXPECT_NE(error.find("no raw data files"), std::string::npos) << error;
    ASSERT_TRUE(test::WriteWholeFile(folder.Path() / "RawData_0001.zrd",
                                     "not raw data at all, but long enough to be looked at"));
    EXPECT_FALSE(m_controller.OpenDevice(record, L"", error));
    EXPECT_NE(error.find("Unreadable recording"), std::string::npos) << error;

    record = EmulatorRecord();
    record.SaveRawData = 1;
    test::SetPath(record.DataPath, folder.Wide(L"RawData_0001.zrd/inside a file"));
    EXPECT_FALSE(m_controller.OpenDevice(record, L"", error));
    EXPECT_NE(error.find("cannot be created"), std::string::npos) << error;

    Open(EmulatorRecord());
    ASSERT_TRUE(m_controller.Start());
    EXPECT_FALSE(m_controller.OpenDevice(EmulatorRecord(), L"", error));
    EXPECT_NE(error.find("running"), std::string::npos) << error;
    EXPECT_TRUE(m_controller.IsStarted());
}

// What the playback data source hears, in order.
class CallLog : public IFileRadarDataSource {
public:
    void OnFileRadarReadStart() override { Add("ReadStart"); }
    void OnFileRadarReadLoopStart(int loopIndex) override {
        Add("LoopStart " + std::to_string(loopIndex));
    }
    void OnFileRadarReadEnd() override {
        Add("ReadEnd");
        ended.store(true);
    }
    void OnFileRadarGetFileList(const wchar_t*, int fileCount) override {
        Add("GetFileList " + std::to_string(fileCount));
    }
    void OnFileRadarReleaseFileList() override { Add("ReleaseFileList"); }
    void OnFileRadarReadFileStart(const wchar_t* path) override {
        Add("FileStart " + std::filesystem::path(path).filename().string());
    }
    void OnFileRadarReadFileEnd(const wchar_t* path) override {
        Add("FileEnd " + std::filesystem::path(path).filename().string());
    }
    void OnFileRadarReadProcess(int perMille) override {
        std::lock_guard<std::mutex> hold(m_lock);
        if (perMille < 0 || perMille > 1000 || perMille < m_lastPerMille) {
            progressBroken = true;
        }
        m_lastPerMille = perMille == 1000 ? -1 : perMille;
        if (perMille == 1000 && (m_calls.empty() || m_calls.back() != "Process 1000")) {
            m_calls.push_back("Process 1000");
        }
    }
    std::vector<std::string> Calls() const {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_calls;
    }
    std::atomic<bool> ended{false};
    bool progressBroken = false;

private:
    void Add(const std::string& call) {
        std::lock_guard<std::mutex> hold(m_lock);
        m_calls.push_back(call);
        m_lastPerMille = -1;
    }
    mutable std::mutex m_lock;
    std::vector<std::string> m_calls;
    int m_lastPerMille = -1;
};

// A recording of two files of frames with one walker, written directly.
tagRADARPARAMETER WriteRecording(const test::TempFolder& parent, int frames, std::wstring& folder) {
    tagRADARPARAMETER record = EmulatorRecord();
    RawDataRecorder recorder(1500);  // small files: the frames fill two of them
    std::string error;
    EXPECT_TRUE(recorder.Begin(parent.Wide(), record, error)) << error;
    for (int i = 0; i < frames; ++i) {
        RadarFrame frame;
        frame.index = static_cast<uint32_t>(i);
        frame.timeMs = static_cast<uint32_t>(i * record.FramePeriodMs);
        const double y = 3.0 + i * 0.02;
        frame.detections = {Detection{y, y / 0.25, 0.0, 1.0, 50.0}};
        EXPECT_TRUE(recorder.Write(frame, 0, error)) << error;
    }
    recorder.End();
    folder = recorder.Folder();
    record.ReadFromFile = 1;
    test::SetPath(record.DataPath, folder);
    return record;
}

TEST_F(PipelineTest, PlaybackTellsItsSourceEveryStageInOrder) {
    test::TempFolder parent(u8"playback");
    std::wstring folder;
    const tagRADARPARAMETER record = WriteRecording(parent, 30, folder);
    ASSERT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              3)
        << "the configuration and two raw-data files";
    CallLog log;
    m_controller.SetFileSource(&log);
    Open(record);
    const Clock::time_point start = Clock::now();
    ASSERT_TRUE(m_controller.Start());
    while (!log.ended.load()) {
        SleepMs(5);
    }
    while (m_controller.HasIncompleteData()) {
        SleepMs(5);
    }
    const auto tookMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    EXPECT_EQ(m_mtt.Count(), 30u) << "every frame processed once reading has ended";
    EXPECT_GE(tookMs, 29 * 20 - 20) << "frames come at the recorded pace";
    m_controller.Stop();
    const std::vector<std::string> expected = {"ReadStart",
                                               "GetFileList 2",
                                               "FileStart RawData_0001.zrd",
                                               "Process 1000",
                                               "FileEnd RawData_0001.zrd",
                                               "FileStart RawData_0002.zrd",
                                               "Process 1000",
                                               "FileEnd RawData_0002.zrd",
                                               "ReleaseFileList",
                                               "ReadEnd"};
    EXPECT_EQ(log.Calls(), expected);
    EXPECT_FALSE(log.progressBroken);
    m_controller.SetFileSource(nullptr);
}

TEST_F(PipelineTest, LoopedPlaybackStartsOverUntilStopped) {
    test::TempFolder parent(u8"loop");
    std::wstring folder;
    const tagRADARPARAMETER record = WriteRecording(parent, 10, folder);
    CallLog log;
    m_controller.SetFileSource(&log);
    m_controller.SetLoopRead(true);
    Open(record);
    ASSERT_TRUE(m_controller.Start());
    ASSERT_TRUE(m_mtt.WaitFor(25, 3000));
    m_controller.Stop();
    m_controller.SetLoopRead(false);
    const std::vector<std::string> calls = log.Calls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "LoopStart 1"), calls.end());
    EXPECT_NE(std::find(calls.begin(), calls.end(), "LoopStart 2"), calls.end());
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "ReadEnd") << "also after a stop";
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "GetFileList 1"),
              std::count(calls.begin(), calls.end(), "ReleaseFileList"));
    // Every pass starts the tracker afresh: the first track of each pass has id 1 (an entry
    // without an object marks where a track has gone).
    for (const test::Delivery& d : m_mtt.Deliveries()) {
        for (const RadarObject& o : d.objects) {
            if (o.Distance >= 0.0) {
                EXPECT_EQ(o.Id, 1);
            }
        }
    }
    m_controller.SetFileSource(nullptr);
}

TEST_F(PipelineTest, PausedPlaybackHoldsItsPlace) {
    test::TempFolder parent(u8"pause");
    std::wstring folder;
    const tagRADARPARAMETER record = WriteRecording(parent, 40, folder);
    Open(record);
    ASSERT_TRUE(m_controller.Start());
    ASSERT_TRUE(m_mtt.WaitFor(5, 2000));
    m_controller.Pause();
    SleepMs(60);
    const size_t at = m_mtt.Count();
    SleepMs(300);
    EXPECT_EQ(m_mtt.Count(), at);
    m_controller.Resume();
    ASSERT_TRUE(m_mtt.WaitFor(40, 3000)) << "nothing lost while paused";
    const std::vector<test::Delivery> deliveries = m_mtt.Deliveries();
    for (size_t i = 0; i < deliveries.size(); ++i) {
        EXPECT_EQ(deliveries[i].value, static_cast<int64_t>(i));
    }
    m_controller.Stop();
}

TEST(FrameQueue, LiveFramesGiveWayAndRecordedOnesWait) {
    FrameQueue queue(2);
    RadarFrame frame;
    EXPECT_FALSE(queue.PushDroppingOldest(frame)) << "closed: taken by nobody, dropped nothing";
    EXPECT_FALSE(queue.HasPending());
    queue.Open();
    for (uint32_t i = 0; i < 3; ++i) {
        frame.index = i;
        EXPECT_EQ(queue.PushDroppingOldest(frame), i == 2);
    }
    RadarFrame out;
    ASSERT_TRUE(queue.Pop(out));
    EXPECT_EQ(out.index, 1u);
    EXPECT_TRUE(queue.HasPending());
    queue.FinishedFrame();
    ASSERT_TRUE(queue.PushWaiting(frame));
    std::atomic<bool> pushed{false};
    std::thread writer([&] {
        RadarFrame more;
        more.index = 7;
        pushed.store(queue.PushWaiting(more));
    });
    SleepMs(50);
    EXPECT_FALSE(pushed.load()) << "full: the reader waits";
    ASSERT_TRUE(queue.Pop(out));
    writer.join();
    EXPECT_TRUE(pushed.load());
    queue.SetHeld(true);
    std::atomic<bool> popped{false};
    std::thread reader([&] { popped.store(queue.Pop(out)); });
    SleepMs(50);
    EXPECT_FALSE(popped.load()) << "held";
    queue.Close();
    reader.join();
    EXPECT_FALSE(popped.load()) << "closing wakes the reader with nothing";
}

TEST(RunGate, SleepsEndAtOnceOnAStopAndPausesMoveTheSchedule) {
    RunGate gate;
    RunGate::Clock::time_point due = RunGate::Clock::now() + std::chrono::seconds(30);
    std::thread stopper([&] {
        SleepMs(50);
        gate.RequestStop();
    });
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(gate.WaitUntil(due, true));
    stopper.join();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));

    gate.Rearm();
    gate.SetPaused(true);
    due = RunGate::Clock::now();
    const RunGate::Clock::time_point planned = due;
    std::thread resumer([&] {
        SleepMs(100);
        gate.SetPaused(false);
    });
    EXPECT_TRUE(gate.WaitUntil(due, true));
    resumer.join();
    EXPECT_GE(due - planned, std::chrono::milliseconds(90));
    due = RunGate::Clock::now() - std::chrono::seconds(1);
    gate.SetPaused(true);
    EXPECT_TRUE(gate.WaitUntil(due, false)) << "a live sensor is not held by a pause";
}

}  // namespace
}  // namespace zuvo::radar
