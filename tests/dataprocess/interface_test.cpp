// The flat interface as callers use it: parameter records, configuration loading, listeners,
// bounds and the delivered-entry count.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "ZUVO_DataProcess.h"
#include "ZUVO_DataProcessExtras.h"

namespace zuvo::test {
namespace {

// Opens the device gRadarParameter names, runs it with object detection on this computer
// while during() runs, then stops and closes it; listener is emptied first.
template <typename During>
void RunDevice(CollectingListener& listener, During during) {
    listener.Clear();
    CBaseStringA error;
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_OpenDevice(&error, 0), 1) << error.GetString();
    ZUVO_Interface_RadarCtrl_EnableProcessFilter_ObjectDetect(1);
    ZUVO_Interface_RadarCtrl_Start();
    during();
    ZUVO_Interface_RadarCtrl_Stop();
    ZUVO_Interface_RadarCtrl_CloseDevice();
}

TEST(Interface, ParameterRecordsAreInitialisedCopiedSavedAndLoaded) {
    tagRADARPARAMETER record;
    std::memset(&record, 0xAB, sizeof(record));
    ZUVO_Interface_RadarParameter_Init(&record);
    EXPECT_EQ(record.GateCount, 32);
    EXPECT_EQ(record.RangeResolution, 0.25);
    tagRADARPARAMETER copy;
    ZUVO_Interface_RadarParameter_Copy(&copy, &record);
    EXPECT_EQ(std::memcmp(&copy, &record, sizeof(record)), 0);
    ZUVO_Interface_RadarParameter_Copy(&copy, nullptr);
    ZUVO_Interface_RadarParameter_Init(nullptr);

    TempFolder folder(u8"records");
    const std::wstring path = folder.Wide(L"Radar_Config.ini");
    record.ProcessSite = RADAR_PROCESS_SITE_SENSOR;
    record.SensorAlgorithm = 1;
    EXPECT_EQ(ZUVO_Interface_RadarParameter_SaveToFile(path.c_str(), &record), 1);
    tagRADARPARAMETER loaded;
    ZUVO_Interface_RadarParameter_Init(&loaded);
    EXPECT_EQ(ZUVO_Interface_RadarParameter_LoadFromFile(path.c_str(), &loaded), 1);
    EXPECT_EQ(std::memcmp(&loaded, &record, sizeof(record)), 0);

    tagRADARPARAMETER untouched = loaded;
    EXPECT_EQ(
        ZUVO_Interface_RadarParameter_LoadFromFile(folder.Wide(L"missing.ini").c_str(), &loaded),
        0);
    EXPECT_EQ(std::memcmp(&loaded, &untouched, sizeof(loaded)), 0)
        << "a failed load changes nothing";
    EXPECT_EQ(ZUVO_Interface_RadarParameter_LoadFromFile(nullptr, &loaded), 0);
    EXPECT_EQ(ZUVO_Interface_RadarParameter_SaveToFile(path.c_str(), nullptr), 0);
}

TEST(Interface, TheConfigurationCountsAsLoadedOnceAFileLoaded) {
    TempFolder folder(u8"config");
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_IsConfigLoad(), 0);
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_LoadConfigFromFile(folder.Wide(L"none.ini").c_str()), 0);
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_IsConfigLoad(), 0);
    tagRADARPARAMETER record;
    ZUVO_Interface_RadarParameter_Init(&record);
    record.GateCount = 64;
    ASSERT_EQ(ZUVO_Interface_RadarParameter_SaveToFile(folder.Wide(L"a.ini").c_str(), &record), 1);
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_LoadConfigFromFile(folder.Wide(L"a.ini").c_str()), 1);
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_IsConfigLoad(), 1);
    EXPECT_EQ(gRadarParameter.GateCount, 64);
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_LoadConfigFromFile(nullptr), 0);
}

TEST(Interface, OpeningFailsWithAReadableText) {
    ZUVO_Interface_RadarParameter_Init(&gRadarParameter);
    CBaseStringA error;
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_OpenDevice(&error, 0), 0);
    EXPECT_STREQ(error.GetString(), "No radar device is selected: detect a device first.");
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_OpenDevice(nullptr, 0), 0);
    EXPECT_EQ(ZUVO_Interface_RadarDevice_GetDefault(), nullptr);
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_Start(), 0) << "nothing open";
}

TEST(Interface, ListenersAreRegisteredOnce) {
    CollectingListener listener;
    EXPECT_EQ(ZUVO_Interface_RadarProcessFilter_MOD_Add_ObjectDetectListener(&listener, 0), 1);
    EXPECT_EQ(ZUVO_Interface_RadarProcessFilter_MOD_Add_ObjectDetectListener(&listener, 0), 0);
    EXPECT_EQ(ZUVO_Interface_RadarProcessFilter_MOD_Add_ObjectDetectListener(nullptr, 0), 0);
    EXPECT_EQ(ZUVO_Interface_RadarProcessFilter_MOD_Del_ObjectDetectListener(&listener), 1);
    EXPECT_EQ(ZUVO_Interface_RadarProcessFilter_MOD_Del_ObjectDetectListener(&listener), 0);
}

// Bounds handed to the filters restrict the objects of a live run, and clearing them lifts the
// restriction at the next start.
TEST(Interface, BoundsRestrictALiveRun) {
    ZUVO_Interface_RadarParameter_Init(&gRadarParameter);
    gRadarParameter.SourceType = RADAR_SOURCE_EMULATOR;
    ScopedEmulatorSettings emulator;
    tagEMULATORSETTINGS crowded = emulator.Current();
    crowded.EmulatorPeople = 5;
    ASSERT_TRUE(emulator.Set(crowded));
    CollectingListener listener;
    ZUVO_Interface_RadarProcessFilter_MTT_Add_ObjectDetectListener(&listener, 0);
    const DetectBoundPoint rightHalf[] = {{0, 0}, {31, 0}, {31, 31}, {0, 31}};
    auto run = [&] {
        RunDevice(listener, [] { std::this_thread::sleep_for(std::chrono::milliseconds(4000)); });
        int left = 0;
        int right = 0;
        for (const Delivery& d : listener.Deliveries()) {
            for (const RadarObject& o : d.objects) {
                (o.Angle < 0.0 ? left : right) += 1;
            }
        }
        return std::make_pair(left, right);
    };
    ZUVO_Interface_RadarProcessFilter_MTT_ClearDetectBound();
    ZUVO_Interface_RadarProcessFilter_MTT_AddDetectBound(rightHalf, 4);
    ZUVO_Interface_RadarProcessFilter_MTT_AddDetectBound(rightHalf, 2);  // refused: too few points
    const auto bounded = run();
    EXPECT_EQ(bounded.first, 0);
    EXPECT_GT(bounded.second, 0);
    ZUVO_Interface_RadarProcessFilter_MTT_ClearDetectBound();
    const auto free = run();
    EXPECT_GT(free.first, 0);
    EXPECT_GT(free.second, 0);
    ZUVO_Interface_RadarProcessFilter_MTT_Del_ObjectDetectListener(&listener);
}

// The emulator's settings are the library's own: a loaded configuration's [Emulator] section
// sets them (a file without one, or a record loaded on its own, leaves them), the next
// emulator opened runs with them, and settings out of range are refused.
TEST(Interface, TheEmulatorRunsWithTheSettingsOfTheLoadedConfiguration) {
    ScopedEmulatorSettings emulator;
    TempFolder folder(u8"emulator");
    ASSERT_TRUE(WriteWholeFile(folder.Path() / "quiet.ini",
                               "SourceType = 7\n[Emulator]\nEmulatorPeople = 0\n"
                               "EmulatorFalseAlarmRate = 0\nEmulatorFixedReflector = 0\n"));
    ASSERT_TRUE(WriteWholeFile(folder.Path() / "crowded.ini", "[Emulator]\nEmulatorPeople = 5\n"));
    ASSERT_TRUE(WriteWholeFile(folder.Path() / "plain.ini", "SourceType = 7\nGateCount = 32\n"));

    ASSERT_EQ(ZUVO_Interface_RadarCtrl_LoadConfigFromFile(folder.Wide(L"quiet.ini").c_str()), 1);
    tagRADARPARAMETER record;
    ZUVO_Interface_RadarParameter_Init(&record);
    ASSERT_EQ(
        ZUVO_Interface_RadarParameter_LoadFromFile(folder.Wide(L"crowded.ini").c_str(), &record),
        1);
    ASSERT_EQ(ZUVO_Interface_RadarCtrl_LoadConfigFromFile(folder.Wide(L"plain.ini").c_str()), 1);
    const tagEMULATORSETTINGS quiet = emulator.Current();
    EXPECT_EQ(quiet.EmulatorPeople, 0);
    EXPECT_EQ(quiet.EmulatorFalseAlarmRate, 0.0);

    CollectingListener listener;
    ZUVO_Interface_RadarProcessFilter_MTT_Add_ObjectDetectListener(&listener, 0);
    auto objectsOfARun = [&] {
        RunDevice(listener, [&] {
            EXPECT_TRUE(listener.WaitFor(40, 10000)) << "the emulator delivers frames";
        });
        size_t objects = 0;
        for (const Delivery& d : listener.Deliveries()) {
            objects += d.objects.size();
        }
        return objects;
    };
    EXPECT_EQ(objectsOfARun(), 0u) << "nobody in the scene and no false alarms";

    tagEMULATORSETTINGS busy = quiet;
    busy.EmulatorFixedReflector = 1;
    busy.EmulatorPeople = 9;
    EXPECT_FALSE(emulator.Set(busy)) << "more people than the emulator takes";
    EXPECT_EQ(emulator.Current().EmulatorPeople, 0) << "a refused change changes nothing";
    busy.EmulatorPeople = 5;
    ASSERT_TRUE(emulator.Set(busy));
    EXPECT_GT(objectsOfARun(), 0u) << "people and a reflector are tracked";
    ZUVO_Interface_RadarProcessFilter_MTT_Del_ObjectDetectListener(&listener);

    ASSERT_EQ(ZUVO_Emulator_SetSettings(nullptr), 1);
    EXPECT_EQ(emulator.Current().EmulatorPeople, 3) << "null restores the defaults";
    ZUVO_Emulator_GetSettings(nullptr);
}

// Every "Run: N entries delivered" of the library's diagnostic lines, in order.
std::vector<long long> RunReports(const std::string& diagnostics) {
    std::vector<long long> counts;
    const std::regex report(R"(Run: (\d+) entries delivered)");
    for (auto it = std::sregex_iterator(diagnostics.begin(), diagnostics.end(), report);
         it != std::sregex_iterator(); ++it) {
        counts.push_back(std::atoll((*it)[1].str().c_str()));
    }
    return counts;
}

// A long run can be followed from outside: with a report period, the delivered entries are
// reported that often while the run lasts, each report at least the one before and none past
// the count at the stop; without one, nothing is reported.
TEST(Interface, ARunReportsItsDeliveredEntriesEverySoManySeconds) {
    ZUVO_Interface_RadarParameter_Init(&gRadarParameter);
    gRadarParameter.SourceType = RADAR_SOURCE_EMULATOR;
    gRadarParameter.FramePeriodMs = 20;
    ScopedEmulatorSettings emulator;
    tagEMULATORSETTINGS reporting = emulator.Current();
    reporting.EmulatorObjects = 20;
    reporting.EmulatorDeliveryReportS = 1;
    ASSERT_TRUE(emulator.Set(reporting));
    CollectingListener listener;
    ZUVO_Interface_RadarProcessFilter_MTT_Add_ObjectDetectListener(&listener, 0);
    const auto diagnosticsOfARun = [&] {
        testing::internal::CaptureStderr();
        RunDevice(listener, [] { std::this_thread::sleep_for(std::chrono::milliseconds(2500)); });
        return testing::internal::GetCapturedStderr();
    };
    // The count is the library's since it was loaded, other tests' runs included.
    const long long before = ZUVO_Test_GetDeliveredEntryCount();
    const std::string reported = diagnosticsOfARun();
    const std::vector<long long> reports = RunReports(reported);
    const long long atStop = ZUVO_Test_GetDeliveredEntryCount();
    ASSERT_GE(reports.size(), 2u) << reported;
    EXPECT_LE(reports.size(), 3u) << reported;
    EXPECT_GT(reports[0], before) << "a crowd of 20 was delivered during the first second";
    EXPECT_GT(reports[1], reports[0]);
    EXPECT_LE(reports.back(), atStop);

    reporting.EmulatorDeliveryReportS = 0;
    ASSERT_TRUE(emulator.Set(reporting));
    EXPECT_TRUE(RunReports(diagnosticsOfARun()).empty());
    ZUVO_Interface_RadarProcessFilter_MTT_Del_ObjectDetectListener(&listener);
}

TEST(Interface, CheckCmdAckDataAnswersZeroOnlyForAGoodAcknowledgement) {
    const uint8_t good[] = {0x5A, 0xA5, 0x02, 0x90, 0x00, 0x00, 0x00, 0,   0,
                            0,    0,    0,    0,    0,    0,    0x00, 0x00};
    uint8_t frame[sizeof(good)];
    std::memcpy(frame, good, sizeof(good));
    // Fill in the CRC-16/MODBUS the way a sensor would.
    uint16_t crc = 0xFFFF;
    for (size_t i = 0; i + 2 < sizeof(frame); ++i) {
        crc ^= frame[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) != 0 ? static_cast<uint16_t>((crc >> 1) ^ 0xA001)
                                 : static_cast<uint16_t>(crc >> 1);
        }
    }
    frame[15] = static_cast<uint8_t>(crc);
    frame[16] = static_cast<uint8_t>(crc >> 8);
    EXPECT_EQ(CheckCmdAckData_RetCode(RADAR_PROTOCOL_V2, frame, sizeof(frame), 0), 0);
    EXPECT_NE(CheckCmdAckData_RetCode(RADAR_PROTOCOL_V2, frame, sizeof(frame), 1), 0);
    frame[5] = 1;
    EXPECT_NE(CheckCmdAckData_RetCode(RADAR_PROTOCOL_V2, frame, sizeof(frame), 0), 0);
}

}  // namespace
}  // namespace zuvo::test
