// The result log across real runs of the radar library's emulator: lines are written on the
// library's delivering thread while the test, like the main window, opens a new log between
// runs. The library's stop returns only after its last delivery, so nothing is lost and
// nothing races (run under ThreadSanitizer).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "ZUVO_DataProcess.h"
#include "ZUVO_DataProcessExtras.h"
#include "app/ObjectSlots.h"
#include "app/ResultLog.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WholeFile.h"

namespace {

// Writes what the main window writes: every non-null entry, beyond the tenth included.
class LoggingListener : public IRadarObjectDetectListener {
public:
    explicit LoggingListener(zuvo::app::ResultLog& log) : m_log(log) {}
    void OnRadarObjectDetect(int64_t, CPtrCtrl* objects) override {
        std::vector<SectorObject> view;
        std::vector<const RadarObject*> entries;
        m_slots.Intake(objects, 0, view, &entries);
        m_log.Write(entries, {12, 34, 56, 789});
    }

private:
    zuvo::app::ResultLog& m_log;
    zuvo::app::ObjectSlotTable m_slots;
};

size_t CountMatchingLines(const std::filesystem::path& path, size_t& badLines) {
    const std::string text = zuvo::test::ReadWholeFile(path);
    const std::regex line(R"(\[12:34:56\.789\], -?\d+, -?\d+\.\d\d, -?\d+\.\d\d, -?\d+\.\d\d)");
    size_t count = 0;
    size_t start = 0;
    badLines = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ++badLines;  // a line without its CR LF
            break;
        }
        if (std::regex_match(text.substr(start, end - start), line)) {
            ++count;
        } else {
            ++badLines;
        }
        start = end + 2;
    }
    return count;
}

// The library on its emulator, delivering every 20 ms, with its configuration in folder.
void LoadEmulatorConfig(const std::filesystem::path& folder) {
    tagRADARPARAMETER record;
    ZUVO_Interface_RadarParameter_Init(&record);
    record.FramePeriodMs = 20;
    const std::wstring config = (folder / "Radar_Config.ini").wstring();
    ASSERT_EQ(ZUVO_Interface_RadarParameter_SaveToFile(config.c_str(), &record), 1);
    ASSERT_EQ(ZUVO_Interface_RadarCtrl_LoadConfigFromFile(config.c_str()), 1);
    gRadarParameter.SourceType = RADAR_SOURCE_EMULATOR;
}

TEST(ResultLogRuns, EveryDeliveredEntryIsLoggedAndTheLogChangesOnlyBetweenRuns) {
    const zuvo::test::TempFolder temp(u8"result_log_runs");
    const std::filesystem::path folder = temp.Path();
    ASSERT_NO_FATAL_FAILURE(LoadEmulatorConfig(folder));

    zuvo::app::ResultLog log;
    LoggingListener listener(log);
    ASSERT_EQ(ZUVO_Interface_RadarProcessFilter_MTT_Add_ObjectDetectListener(&listener, 0), 1);

    std::vector<std::filesystem::path> files;
    std::vector<int64_t> delivered;
    for (int run = 0; run < 3; ++run) {
        CBaseStringA error;
        ASSERT_EQ(ZUVO_Interface_RadarCtrl_OpenDevice(&error, 0), 1) << error.GetString();
        // Opening happens while no run is active, as the main window's start does it.
        files.push_back(folder / ("run" + std::to_string(run) + ".txt"));
        log.Attach(std::fopen(files.back().c_str(), "wb"));
        ASSERT_TRUE(log.IsOpen());
        const int64_t before = ZUVO_Test_GetDeliveredEntryCount();
        ASSERT_EQ(ZUVO_Interface_RadarCtrl_Start(), 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        ZUVO_Interface_RadarCtrl_Stop();
        ZUVO_Interface_RadarCtrl_CloseDevice();
        delivered.push_back(ZUVO_Test_GetDeliveredEntryCount() - before);
    }
    log.Close();
    ZUVO_Interface_RadarProcessFilter_MTT_Del_ObjectDetectListener(&listener);

    for (size_t i = 0; i < files.size(); ++i) {
        size_t bad = 0;
        EXPECT_EQ(static_cast<int64_t>(CountMatchingLines(files[i], bad)), delivered[i])
            << "run " << i;
        EXPECT_EQ(bad, 0u) << "run " << i;
        EXPECT_GT(delivered[i], 0) << "the emulator delivers every frame";
    }
}

// While a run lasts, a second thread flushes as the refresh pass does: lines reach the file
// during the run, and at the stop every delivered entry is on disk before the log is closed.
TEST(ResultLogRuns, LinesReachTheFileDuringTheRunAndAllOfThemAtTheStop) {
    const zuvo::test::TempFolder temp(u8"result_log_flush");
    const std::filesystem::path folder = temp.Path();
    ASSERT_NO_FATAL_FAILURE(LoadEmulatorConfig(folder));

    zuvo::app::ResultLog log;
    LoggingListener listener(log);
    ASSERT_EQ(ZUVO_Interface_RadarProcessFilter_MTT_Add_ObjectDetectListener(&listener, 0), 1);
    CBaseStringA error;
    ASSERT_EQ(ZUVO_Interface_RadarCtrl_OpenDevice(&error, 0), 1) << error.GetString();
    const std::filesystem::path file = folder / "run.txt";
    log.Attach(std::fopen(file.c_str(), "wb"));
    const int64_t before = ZUVO_Test_GetDeliveredEntryCount();
    ASSERT_EQ(ZUVO_Interface_RadarCtrl_Start(), 1);

    const auto start = std::chrono::steady_clock::now();
    size_t linesDuringRun = 0;
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(1500)) {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        log.FlushIfDue(static_cast<uint32_t>(ms.count()));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    size_t bad = 0;
    linesDuringRun = CountMatchingLines(file, bad);
    ZUVO_Interface_RadarCtrl_Stop();
    ZUVO_Interface_RadarCtrl_CloseDevice();
    log.Flush();
    const int64_t delivered = ZUVO_Test_GetDeliveredEntryCount() - before;
    const size_t linesAtStop = CountMatchingLines(file, bad);
    log.Close();
    ZUVO_Interface_RadarProcessFilter_MTT_Del_ObjectDetectListener(&listener);

    EXPECT_GT(linesDuringRun, 0u) << "nothing reached the file during the run";
    EXPECT_EQ(static_cast<int64_t>(linesAtStop), delivered) << "before the log was closed";
    EXPECT_EQ(bad, 0u);
}

}  // namespace
