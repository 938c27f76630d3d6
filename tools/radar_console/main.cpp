// radar_console: loads the radar processing library's configuration, starts the device (the
// emulator, or the playback of a recording) with the processing chosen on the command line and
// prints every delivery for a few seconds. Runs the same sequence as the program: listeners and
// playback source first, open, object detection on or off, the tracking-mode command for
// tracking on the sensor, bounds, start; stop and close at the end.
#include <atomic>
#include <cinttypes>
#include <cstdio>
#include <mutex>
#include <set>
#include <string>

#include "ConsoleOptions.h"
#include "ZUVO_CommonCoreExtras.h"
#include "ZUVO_DataProcess.h"
#include "ZUVO_DataProcessExtras.h"

namespace {

std::wstring Wide(const std::string& narrow) {
    CBaseStringW text;
    text.Format("%s", narrow.c_str());
    return text.GetString();
}

class PrintingListener : public IRadarObjectDetectListener {
public:
    PrintingListener(const char* name, uint32_t startMs, std::mutex& printLock)
        : m_name(name), m_startMs(startMs), m_printLock(printLock) {}

    void OnRadarObjectDetect(int64_t value, CPtrCtrl* objects) override {
        CBaseStringA line;
        line.Format("[%7.3f s] %-4s frame %5" PRId64 ": %d entries",
                    (MS_GetTime() - m_startMs) / 1000.0, m_name, value, objects->GetCount());
        for (int i = 0; i < objects->GetCount(); ++i) {
            const auto* object = static_cast<const RadarObject*>(objects->GetAt(i));
            if (object == nullptr) {
                continue;
            }
            if (!(object->Distance >= 0.0)) {
                line.AppendFormat(" | (empty)");
                continue;
            }
            line.AppendFormat(" | #%" PRId64 " %5.2f m (%5.1f g) %+6.1f deg %+5.2f m/s", object->Id,
                              object->Distance, object->GateDistance, object->Angle,
                              object->Velocity);
            m_ids.insert(object->Id);
        }
        ++m_deliveries;
        std::lock_guard<std::mutex> hold(m_printLock);
        std::printf("%s\n", line.GetString());
    }

    int Deliveries() const { return m_deliveries.load(); }
    size_t DistinctIds() const {
        std::lock_guard<std::mutex> hold(m_printLock);
        return m_ids.size();
    }

private:
    const char* m_name;
    uint32_t m_startMs;
    std::mutex& m_printLock;
    std::atomic<int> m_deliveries{0};
    std::set<int64_t> m_ids;
};

class ReadEndWatcher : public IFileRadarDataSource {
public:
    void OnFileRadarReadFileStart(const wchar_t* path) override {
        std::printf("reading %ls\n", path);
    }
    void OnFileRadarReadEnd() override { m_ended.store(true); }
    bool Ended() const { return m_ended.load(); }

private:
    std::atomic<bool> m_ended{false};
};

void SendModeCommand(int command) {
    RADAR_DEVICE_HANDLE device = ZUVO_Interface_RadarDevice_GetDefault();
    ZUVO_Interface_RadarCtrl_Pause();
    const int entered = ZUVO_Interface_RadarDevice_StartCmdMode(
        device, gRadarParameter.CmdModeParam, gRadarParameter.CmdModeTimeFactor * 150);
    const int sent = ZUVO_Interface_RadarDevice_Protocol_SendCommand(
        device, static_cast<uint16_t>(command), nullptr, 0, CheckCmdAckData_RetCode, 0, 2000);
    ZUVO_Interface_RadarDevice_StopCmdMode(device);
    ZUVO_Interface_RadarCtrl_Resume();
    std::printf("mode command 0x%02X: command mode %s, acknowledged %s\n", command,
                entered ? "entered" : "refused", sent ? "yes" : "no");
}

bool LoadConfiguration(const ConsoleOptions& options) {
    std::wstring path;
    if (!options.playFolder.empty()) {
        path = Wide(options.playFolder) + ZUVO_PATH_SEPARATOR + L"FILE_Radar_Config.ini";
    } else if (!options.configPath.empty()) {
        path = Wide(options.configPath);
    } else {
        wchar_t folder[ZUVO_MAX_PATH];
        if (GetProgramPathW(0, folder) == 0 ||
            CombinePathNameW(folder, folder, L"Radar_Config.ini") == 0) {
            return false;
        }
        path = folder;
    }
    if (ZUVO_Interface_RadarCtrl_LoadConfigFromFile(path.c_str()) == 0) {
        std::fprintf(stderr, "radar_console: cannot load %ls\n", path.c_str());
        return false;
    }
    return true;
}

bool ApplyOptions(const ConsoleOptions& options) {
    tagRADARPARAMETER& p = gRadarParameter;
    if (options.playFolder.empty()) {
        p.SourceType = RADAR_SOURCE_EMULATOR;
        p.ReadFromFile = 0;
        p.SaveRawData = options.recordFolder.empty() ? 0 : 1;
        if (!options.recordFolder.empty()) {
            std::wstring folder = Wide(options.recordFolder);
            folder.resize(std::min<size_t>(folder.size(), ZUVO_MAX_PATH - 1));
            std::copy(folder.begin(), folder.end(), p.DataPath);
            p.DataPath[folder.size()] = L'\0';
        }
    } else {
        std::wstring folder = Wide(options.playFolder);
        folder.resize(std::min<size_t>(folder.size(), ZUVO_MAX_PATH - 1));
        std::copy(folder.begin(), folder.end(), p.DataPath);
        p.DataPath[folder.size()] = L'\0';
        p.ReadFromFile = 1;
    }
    if (options.site >= 0) {
        p.ProcessSite = options.site;
    }
    if (options.algorithm >= 0) {
        p.HostAlgorithm = options.algorithm;
    }
    // The emulator's settings are its own, not the record's: they come from the loaded
    // configuration and are changed through the stand-in's interface.
    tagEMULATORSETTINGS emulator{};
    ZUVO_Emulator_GetSettings(&emulator);
    if (options.seed >= 0) {
        emulator.EmulatorSeed = static_cast<uint32_t>(options.seed);
    }
    if (options.people >= 0) {
        emulator.EmulatorPeople = options.people;
    }
    if (ZUVO_Emulator_SetSettings(&emulator) == 0) {
        std::fprintf(stderr, "radar_console: the emulator does not take these settings\n");
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    ConsoleOptions options;
    std::string error;
    if (!ParseConsoleOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "radar_console: %s\n%s", error.c_str(), kConsoleUsage);
        return 2;
    }
    if (!LoadConfiguration(options)) {
        return 1;
    }
    if (!ApplyOptions(options)) {
        return 1;
    }

    std::mutex printLock;
    const uint32_t startMs = MS_GetTime();
    PrintingListener mod("MOD", startMs, printLock);
    PrintingListener mtt("MTT", startMs, printLock);
    PrintingListener sensor("DATA", startMs, printLock);
    ReadEndWatcher watcher;
    ZUVO_Interface_RadarProcessFilter_MOD_Add_ObjectDetectListener(&mod, 0);
    ZUVO_Interface_RadarProcessFilter_MTT_Add_ObjectDetectListener(&mtt, 0);
    ZUVO_Interface_RadarDataFilter_MTT_Add_ObjectDetectListener(&sensor, 0);
    ZUVO_Interface_RadarDevice_File_SetFileRadarDataSource(&watcher, 0);
    ZUVO_Interface_RadarDevice_File_SetLoopReadFile(0);

    CBaseStringA openError;
    if (ZUVO_Interface_RadarCtrl_OpenDevice(&openError, 0) == 0) {
        std::fprintf(stderr, "radar_console: %s\n", openError.GetString());
        return 1;
    }
    const tagRADARPARAMETER& p = gRadarParameter;
    std::printf(
        "source %s, processing site %d, host algorithm %d, %d gates of %.3f m, %d ms frames\n",
        p.ReadFromFile ? "playback" : "emulator", p.ProcessSite, p.HostAlgorithm, p.GateCount,
        p.RangeResolution, p.FramePeriodMs);
    const bool sensorTracks = p.ProcessSite == RADAR_PROCESS_SITE_SENSOR;
    ZUVO_Interface_RadarCtrl_EnableProcessFilter_ObjectDetect(sensorTracks ? 0 : 1);
    if (sensorTracks && p.ReadFromFile == 0 && options.modeCommand != 0) {
        SendModeCommand(options.modeCommand);
    }
    ZUVO_Interface_RadarProcessFilter_MOD_ClearHorzDetectBound();
    ZUVO_Interface_RadarProcessFilter_MTT_ClearDetectBound();
    for (const auto& bound : options.bounds) {
        ZUVO_Interface_RadarProcessFilter_MOD_AddHorzDetectBound(bound.data(),
                                                                 static_cast<int>(bound.size()));
        ZUVO_Interface_RadarProcessFilter_MTT_AddDetectBound(bound.data(),
                                                             static_cast<int>(bound.size()));
    }
    ZUVO_Interface_RadarCtrl_Start();

    const bool playback = p.ReadFromFile != 0;
    const uint32_t limitMs = playback && !options.secondsGiven
                                 ? 24u * 3600u * 1000u
                                 : static_cast<uint32_t>(options.seconds * 1000.0);
    while (MS_GetTime() - startMs < limitMs) {
        if (playback && watcher.Ended() && ZUVO_Interface_RadarCtrl_HasIncompleteData() == 0) {
            break;
        }
        HQ_Sleep(20);
    }
    ZUVO_Interface_RadarCtrl_Stop();
    ZUVO_Interface_RadarCtrl_CloseDevice();
    ZUVO_Interface_RadarProcessFilter_MOD_Del_ObjectDetectListener(&mod);
    ZUVO_Interface_RadarProcessFilter_MTT_Del_ObjectDetectListener(&mtt);
    ZUVO_Interface_RadarDataFilter_MTT_Del_ObjectDetectListener(&sensor);
    ZUVO_Interface_RadarDevice_File_SetFileRadarDataSource(nullptr, 0);

    std::printf("deliveries: MOD %d, MTT %d, DATA %d; entries %lld; distinct ids %zu\n",
                mod.Deliveries(), mtt.Deliveries(), sensor.Deliveries(),
                static_cast<long long>(ZUVO_Test_GetDeliveredEntryCount()),
                mod.DistinctIds() + mtt.DistinctIds() + sensor.DistinctIds());
    return 0;
}
