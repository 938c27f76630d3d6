// The radar processing library as a Windows DLL: its default configuration in the program
// folder, an emulator run through its exports, the tracking-mode commands, wide paths, and a
// recording played back.
#include <gtest/gtest.h>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "TestSupport.h"
#include "ZUVO_Common.h"
#include "ZUVO_DataProcess.h"
#include "ZUVO_DataProcessExtras.h"

namespace zuvo::test {
namespace {

std::wstring LibraryFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(GetModuleHandleW(L"ZUVO_DataProcess.dll"), path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

class EndWatcher : public IFileRadarDataSource {
public:
    void OnFileRadarReadEnd() override { ended.store(true); }
    std::atomic<bool> ended{false};
};

// Opens the emulator with the installed configuration and the given site and runs it for a
// while, sending the mode command first when the sensor tracks.
std::vector<Delivery> RunEmulator(int site, int modeCommand, int milliseconds) {
    const std::wstring config = LibraryFolder() + L"\\Radar_Config.ini";
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_LoadConfigFromFile(config.c_str()), 1);
    gRadarParameter.SourceType = RADAR_SOURCE_EMULATOR;
    gRadarParameter.ProcessSite = site;
    CollectingListener listener;
    if (site == RADAR_PROCESS_SITE_SENSOR) {
        ZUVO_Interface_RadarDataFilter_MTT_Add_ObjectDetectListener(&listener, 0);
    } else {
        ZUVO_Interface_RadarProcessFilter_MTT_Add_ObjectDetectListener(&listener, 0);
    }
    CBaseStringA error;
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_OpenDevice(&error, 0), 1) << error.GetString();
    ZUVO_Interface_RadarCtrl_EnableProcessFilter_ObjectDetect(
        site == RADAR_PROCESS_SITE_SENSOR ? 0 : 1);
    if (modeCommand != 0) {
        RADAR_DEVICE_HANDLE device = ZUVO_Interface_RadarDevice_GetDefault();
        ZUVO_Interface_RadarCtrl_Pause();
        EXPECT_EQ(ZUVO_Interface_RadarDevice_StartCmdMode(device, gRadarParameter.CmdModeParam,
                                                          gRadarParameter.CmdModeTimeFactor * 150),
                  1);
        EXPECT_EQ(ZUVO_Interface_RadarDevice_Protocol_SendCommand(
                      device, static_cast<uint16_t>(modeCommand), nullptr, 0,
                      CheckCmdAckData_RetCode, 0, 2000),
                  1);
        ZUVO_Interface_RadarDevice_StopCmdMode(device);
        ZUVO_Interface_RadarCtrl_Resume();
    }
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_Start(), 1);
    Sleep(static_cast<DWORD>(milliseconds));
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_Stop(), 1);
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_CloseDevice(), 1);
    ZUVO_Interface_RadarDataFilter_MTT_Del_ObjectDetectListener(&listener);
    ZUVO_Interface_RadarProcessFilter_MTT_Del_ObjectDetectListener(&listener);
    return listener.Deliveries();
}

TEST(DataProcessDll, TheInstalledConfigurationLoads) {
    const std::wstring config = LibraryFolder() + L"\\Radar_Config.ini";
    tagRADARPARAMETER record;
    ZUVO_Interface_RadarParameter_Init(&record);
    record.GateCount = 0;
    ASSERT_EQ(ZUVO_Interface_RadarParameter_LoadFromFile(config.c_str(), &record), 1);
    EXPECT_EQ(record.GateCount, 32);
    EXPECT_EQ(record.DefaultGateMin, 0);
    EXPECT_EQ(record.DefaultGateMax, 31);
    EXPECT_EQ(record.BoundGateLimit, 32);
    EXPECT_EQ(record.ProcessSite, 0);
    EXPECT_EQ(record.HostAlgorithm, 3);
    EXPECT_EQ(record.FramePeriodMs, 50);
    EXPECT_EQ(record.RangeResolution, 0.25);
    EXPECT_GT(record.LightPort, 0);
    EXPECT_EQ(record.LightBaudRate, 9600);
}

TEST(DataProcessDll, TheEmulatorIsTrackedOnThisComputer) {
    const int64_t before = ZUVO_Test_GetDeliveredEntryCount();
    const std::vector<Delivery> deliveries = RunEmulator(RADAR_PROCESS_SITE_HOST, 0, 2000);
    EXPECT_GE(deliveries.size(), 30u);
    EXPECT_LE(deliveries.size(), 45u);
    int64_t entries = 0;
    for (const Delivery& d : deliveries) {
        entries += static_cast<int64_t>(d.objects.size());
        for (const RadarObject& o : d.objects) {
            EXPECT_GE(o.Distance, 0.0);
            EXPECT_LE(o.Distance, 8.5);
            EXPECT_NEAR(o.GateDistance, o.Distance / 0.25, 1e-9);
            EXPECT_LE(std::fabs(o.Angle), 70.0);
        }
    }
    EXPECT_GT(entries, 20);
    EXPECT_EQ(ZUVO_Test_GetDeliveredEntryCount() - before, entries);
}

TEST(DataProcessDll, ModeCommandsSwitchTheSensorsObjectCount) {
    for (const auto& [command, slots] :
         {std::pair{RADAR_CMD_TRACK_SINGLE, 1u}, std::pair{RADAR_CMD_TRACK_MULTI, 3u},
          std::pair{RADAR_CMD_TRACK_SINGLE, 1u}}) {
        const std::vector<Delivery> deliveries =
            RunEmulator(RADAR_PROCESS_SITE_SENSOR, command, 700);
        ASSERT_GE(deliveries.size(), 8u);
        size_t withObject = 0;
        for (const Delivery& d : deliveries) {
            ASSERT_EQ(d.objects.size(), slots) << "command 0x" << std::hex << command;
            withObject += std::count_if(d.objects.begin(), d.objects.end(),
                                        [](const RadarObject& o) { return o.Distance >= 0.0; });
        }
        EXPECT_GT(withObject, 0u);
    }
}

TEST(DataProcessDll, ACommandOutsideCommandModeFailsWithinItsTimeOut) {
    const std::wstring config = LibraryFolder() + L"\\Radar_Config.ini";
    ASSERT_EQ(ZUVO_Interface_RadarCtrl_LoadConfigFromFile(config.c_str()), 1);
    gRadarParameter.SourceType = RADAR_SOURCE_EMULATOR;
    gRadarParameter.ProcessSite = RADAR_PROCESS_SITE_SENSOR;
    CBaseStringA error;
    ASSERT_EQ(ZUVO_Interface_RadarCtrl_OpenDevice(&error, 0), 1);
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(ZUVO_Interface_RadarDevice_Protocol_SendCommand(
                  ZUVO_Interface_RadarDevice_GetDefault(), RADAR_CMD_TRACK_MULTI, nullptr, 0,
                  CheckCmdAckData_RetCode, 0, 400),
              0);
    const ULONGLONG waited = GetTickCount64() - start;
    EXPECT_GE(waited, 380u);
    EXPECT_LT(waited, 1500u);
    ZUVO_Interface_RadarCtrl_CloseDevice();
}

TEST(DataProcessDll, ConfigurationFilesLiveUnderWidePaths) {
    TempFolder folder(u8"配置");
    const std::wstring path = folder.Wide(L"雷达 Config.ini");
    tagRADARPARAMETER record;
    ZUVO_Interface_RadarParameter_Init(&record);
    wcscpy_s(record.DataPath, L"D:\\数据\\保存 \U0001F600");  // a surrogate pair in UTF-16
    record.GateCount = 48;
    ASSERT_EQ(ZUVO_Interface_RadarParameter_SaveToFile(path.c_str(), &record), 1);
    record.GateCount = 40;
    ASSERT_EQ(ZUVO_Interface_RadarParameter_SaveToFile(path.c_str(), &record), 1)
        << "replacing the file";
    tagRADARPARAMETER loaded;
    ZUVO_Interface_RadarParameter_Init(&loaded);
    ASSERT_EQ(ZUVO_Interface_RadarParameter_LoadFromFile(path.c_str(), &loaded), 1);
    EXPECT_EQ(std::memcmp(&loaded, &record, sizeof(record)), 0);
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / L"雷达 Config.ini.tmp"));
}

TEST(DataProcessDll, ARecordingUnderAWidePathPlaysBack) {
    TempFolder parent(u8"录像");
    const std::wstring config = LibraryFolder() + L"\\Radar_Config.ini";
    ASSERT_EQ(ZUVO_Interface_RadarCtrl_LoadConfigFromFile(config.c_str()), 1);
    gRadarParameter.SourceType = RADAR_SOURCE_EMULATOR;
    gRadarParameter.SaveRawData = 1;
    SetPath(gRadarParameter.DataPath, parent.Wide());
    CollectingListener live;
    ZUVO_Interface_RadarProcessFilter_MTT_Add_ObjectDetectListener(&live, 0);
    CBaseStringA error;
    ASSERT_EQ(ZUVO_Interface_RadarCtrl_OpenDevice(&error, 0), 1) << error.GetString();
    ZUVO_Interface_RadarCtrl_EnableProcessFilter_ObjectDetect(1);
    ZUVO_Interface_RadarCtrl_Start();
    Sleep(2000);
    ZUVO_Interface_RadarCtrl_Stop();
    ZUVO_Interface_RadarCtrl_CloseDevice();
    ZUVO_Interface_RadarProcessFilter_MTT_Del_ObjectDetectListener(&live);

    std::filesystem::path recording;
    for (const auto& entry : std::filesystem::directory_iterator(parent.Path())) {
        recording = entry.path();
    }
    ASSERT_FALSE(recording.empty());
    ASSERT_EQ(
        ZUVO_Interface_RadarCtrl_LoadConfigFromFile((recording / L"FILE_Radar_Config.ini").c_str()),
        1);
    gRadarParameter.ReadFromFile = 1;
    SetPath(gRadarParameter.DataPath, recording.wstring());
    CollectingListener played;
    EndWatcher watcher;
    ZUVO_Interface_RadarProcessFilter_MTT_Add_ObjectDetectListener(&played, 0);
    ZUVO_Interface_RadarDevice_File_SetFileRadarDataSource(&watcher, 0);
    ASSERT_EQ(ZUVO_Interface_RadarCtrl_OpenDevice(&error, 0), 1) << error.GetString();
    ZUVO_Interface_RadarCtrl_Start();
    for (int i = 0;
         i < 500 && !(watcher.ended.load() && ZUVO_Interface_RadarCtrl_HasIncompleteData() == 0);
         ++i) {
        Sleep(20);
    }
    EXPECT_TRUE(watcher.ended.load());
    ZUVO_Interface_RadarCtrl_Stop();
    ZUVO_Interface_RadarCtrl_CloseDevice();
    ZUVO_Interface_RadarProcessFilter_MTT_Del_ObjectDetectListener(&played);
    ZUVO_Interface_RadarDevice_File_SetFileRadarDataSource(nullptr, 0);

    const std::vector<Delivery> a = live.Deliveries();
    const std::vector<Delivery> b = played.Deliveries();
    ASSERT_GE(a.size(), 30u);
    ASSERT_GE(b.size(), a.size());
    for (size_t i = 0; i < a.size(); ++i) {
        ASSERT_EQ(a[i].value, b[i].value);
        ASSERT_EQ(a[i].objects.size(), b[i].objects.size());
        for (size_t k = 0; k < a[i].objects.size(); ++k) {
            EXPECT_EQ(a[i].objects[k].Id, b[i].objects[k].Id);
            EXPECT_EQ(a[i].objects[k].Distance, b[i].objects[k].Distance);
            EXPECT_EQ(a[i].objects[k].Angle, b[i].objects[k].Angle);
        }
    }
}

TEST(DataProcessDll, UnsupportedSourcesExplainThemselves) {
    ZUVO_Interface_RadarParameter_Init(&gRadarParameter);
    gRadarParameter.SourceType = RADAR_SOURCE_COM;
    gRadarParameter.DeviceNumber = 4;
    CBaseStringA error;
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_OpenDevice(&error, 0), 0);
    EXPECT_NE(std::string(error.GetString()).find("COM4"), std::string::npos) << error.GetString();
    gRadarParameter.SourceType = RADAR_SOURCE_EMULATOR;
    gRadarParameter.ReadFromFile = 1;
    wcscpy_s(gRadarParameter.DataPath, L"C:\\no such folder");
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_OpenDevice(&error, 0), 0);
    EXPECT_STREQ(error.GetString(), "Recording folder not found: C:\\no such folder");
}

}  // namespace
}  // namespace zuvo::test
