// Playing a recording back through the library's flat interface as the program does, for the
// tests that compare a playback with a recording's other readings.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "ZUVO_DataProcess.h"

namespace zuvo::test {

class EndWatcher : public IFileRadarDataSource {
public:
    void OnFileRadarReadEnd() override { ended.store(true); }
    std::atomic<bool> ended{false};
};

// The listener of the filter that delivers for the processing site.
inline int AddListener(int site, IRadarObjectDetectListener* listener) {
    return site == RADAR_PROCESS_SITE_SENSOR
               ? ZUVO_Interface_RadarDataFilter_MTT_Add_ObjectDetectListener(listener, 0)
               : ZUVO_Interface_RadarProcessFilter_MTT_Add_ObjectDetectListener(listener, 0);
}

inline void RemoveListener(int site, IRadarObjectDetectListener* listener) {
    if (site == RADAR_PROCESS_SITE_SENSOR) {
        ZUVO_Interface_RadarDataFilter_MTT_Del_ObjectDetectListener(listener);
    } else {
        ZUVO_Interface_RadarProcessFilter_MTT_Del_ObjectDetectListener(listener);
    }
}

// Plays a recording folder back as the program does and waits until it has been processed.
inline std::vector<Delivery> PlayBack(const std::filesystem::path& recording, int site) {
    const std::wstring folder = WidePath(recording);
    const std::wstring config = WidePath(recording / "FILE_Radar_Config.ini");
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_LoadConfigFromFile(config.c_str()), 1);
    gRadarParameter.ReadFromFile = 1;
    SetPath(gRadarParameter.DataPath, folder);
    CollectingListener played;
    EndWatcher watcher;
    AddListener(site, &played);
    ZUVO_Interface_RadarDevice_File_SetFileRadarDataSource(&watcher, 0);
    ZUVO_Interface_RadarDevice_File_SetLoopReadFile(0);
    CBaseStringA error;
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_OpenDevice(&error, 0), 1) << error.GetString();
    ZUVO_Interface_RadarCtrl_EnableProcessFilter_ObjectDetect(
        site == RADAR_PROCESS_SITE_SENSOR ? 0 : 1);
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_Start(), 1);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(40);
    while (!(watcher.ended.load() && ZUVO_Interface_RadarCtrl_HasIncompleteData() == 0) &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_TRUE(watcher.ended.load());
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_HasIncompleteData(), 0);
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_IsStarted(), 1) << "the caller decides when to stop";
    ZUVO_Interface_RadarCtrl_Stop();
    ZUVO_Interface_RadarCtrl_CloseDevice();
    RemoveListener(site, &played);
    ZUVO_Interface_RadarDevice_File_SetFileRadarDataSource(nullptr, 0);
    return played.Deliveries();
}

}  // namespace zuvo::test
