// The library's flat interface: every exported operation forwards to the one RadarController.
// No C++ exception leaves through here; a failure answers 0 (or nothing) and writes a
// diagnostic line.
#include <cstring>
#include <string>

#include "CommandAck.h"
#include "Diagnostics.h"
#include "RadarConfigFile.h"
#include "RadarController.h"
#include "ZUVO_DataProcess.h"
#include "ZUVO_DataProcessExtras.h"

using zuvo::radar::Diagnostic;
using zuvo::radar::FilterKind;
using zuvo::radar::RadarController;

namespace {

tagRADARPARAMETER DefaultRecord() {
    tagRADARPARAMETER record;
    zuvo::radar::SetDefaultParameters(record);
    return record;
}

// Created on first use and never destroyed: at process exit the library's threads are gone
// already (or may not be waited for inside the loader), so a destructor could only do harm.
RadarController& Library() {
    static RadarController* instance = new RadarController();
    return *instance;
}

template <typename Result, typename Body>
Result Guarded(const char* name, Result failure, Body body) {
    try {
        return body();
    } catch (const std::exception& e) {
        Diagnostic(2, "%s failed: %s", name, e.what());
    } catch (...) {
        Diagnostic(2, "%s failed", name);
    }
    return failure;
}

template <typename Body>
void GuardedVoid(const char* name, Body body) {
    Guarded(name, 0, [&] {
        body();
        return 0;
    });
}

std::wstring ProgramFolder() {
    wchar_t folder[ZUVO_MAX_PATH] = {};
    return GetProgramPathW(0, folder) != 0 ? std::wstring(folder) : std::wstring();
}

int AddListener(FilterKind kind, IRadarObjectDetectListener* listener) {
    return Guarded("Add_ObjectDetectListener", 0,
                   [&] { return Library().Listeners(kind).Add(listener) ? 1 : 0; });
}

int RemoveListener(FilterKind kind, IRadarObjectDetectListener* listener) {
    return Guarded("Del_ObjectDetectListener", 0,
                   [&] { return Library().Listeners(kind).Remove(listener) ? 1 : 0; });
}

void AddBound(zuvo::radar::SharedBounds& bounds, const DetectBoundPoint* points, int count) {
    GuardedVoid("AddDetectBound", [&] {
        if (!bounds.Add(points, count, gRadarParameter.BoundGateLimit)) {
            Diagnostic(2, "a detection bound of %d points was refused (3 or more needed)", count);
        }
    });
}

}  // namespace

extern "C" {

tagRADARPARAMETER gRadarParameter = DefaultRecord();

uint16_t ZUVO_CALL CheckCmdAckData_RetCode(eRADAR_PROTOCOL_VERSION version, const uint8_t* bytes,
                                           int length, int64_t value) {
    return zuvo::radar::CheckAck(version, bytes, length, value);
}

int ZUVO_CALL ZUVO_Interface_RadarCtrl_LoadConfigFromFile(const wchar_t* path) {
    return Guarded("LoadConfigFromFile", 0, [&] {
        return path != nullptr && Library().LoadConfig(path, gRadarParameter) ? 1 : 0;
    });
}

int ZUVO_CALL ZUVO_Interface_RadarCtrl_IsConfigLoad() {
    return Guarded("IsConfigLoad", 0, [] { return Library().IsConfigLoaded() ? 1 : 0; });
}

int ZUVO_CALL ZUVO_Interface_RadarCtrl_OpenDevice(CBaseStringA* errorText, int reserved) {
    (void)reserved;
    std::string error;
    const int opened = Guarded("OpenDevice", 0, [&] {
        return Library().OpenDevice(gRadarParameter, ProgramFolder(), error) ? 1 : 0;
    });
    if (opened == 0) {
        if (error.empty()) {
            error = "The radar device could not be opened.";
        }
        Diagnostic(2, "OpenDevice: %s", error.c_str());
        if (errorText != nullptr) {
            errorText->Format("%s", error.c_str());
        }
    }
    return opened;
}

int ZUVO_CALL ZUVO_Interface_RadarCtrl_Start() {
    return Guarded("Start", 0, [] { return Library().Start() ? 1 : 0; });
}

int ZUVO_CALL ZUVO_Interface_RadarCtrl_Stop() {
    return Guarded("Stop", 0, [] { return Library().Stop() ? 1 : 0; });
}

int ZUVO_CALL ZUVO_Interface_RadarCtrl_Pause() {
    return Guarded("Pause", 0, [] { return Library().Pause() ? 1 : 0; });
}

int ZUVO_CALL ZUVO_Interface_RadarCtrl_Resume() {
    return Guarded("Resume", 0, [] { return Library().Resume() ? 1 : 0; });
}

int ZUVO_CALL ZUVO_Interface_RadarCtrl_CloseDevice() {
    return Guarded("CloseDevice", 0, [] { return Library().CloseDevice() ? 1 : 0; });
}

int ZUVO_CALL ZUVO_Interface_RadarCtrl_IsStarted() {
    return Guarded("IsStarted", 0, [] { return Library().IsStarted() ? 1 : 0; });
}

int ZUVO_CALL ZUVO_Interface_RadarCtrl_IsPaused() {
    return Guarded("IsPaused", 0, [] { return Library().IsPaused() ? 1 : 0; });
}

int ZUVO_CALL ZUVO_Interface_RadarCtrl_HasIncompleteData() {
    return Guarded("HasIncompleteData", 0, [] { return Library().HasIncompleteData() ? 1 : 0; });
}

void ZUVO_CALL ZUVO_Interface_RadarCtrl_EnableProcessFilter_ObjectDetect(int enable) {
    GuardedVoid("EnableProcessFilter_ObjectDetect",
                [&] { Library().EnableObjectDetection(enable != 0); });
}

RADAR_DEVICE_HANDLE ZUVO_CALL ZUVO_Interface_RadarDevice_GetDefault() {
    return Guarded("GetDefault", RADAR_DEVICE_HANDLE{nullptr},
                   [] { return Library().DefaultDevice(); });
}

int ZUVO_CALL ZUVO_Interface_RadarDevice_StartCmdMode(RADAR_DEVICE_HANDLE device, int param,
                                                      int timeoutMs) {
    return Guarded("StartCmdMode", 0,
                   [&] { return Library().StartCommandMode(device, param, timeoutMs) ? 1 : 0; });
}

int ZUVO_CALL ZUVO_Interface_RadarDevice_StopCmdMode(RADAR_DEVICE_HANDLE device) {
    return Guarded("StopCmdMode", 0, [&] { return Library().StopCommandMode(device) ? 1 : 0; });
}

int ZUVO_CALL ZUVO_Interface_RadarDevice_Protocol_SendCommand(RADAR_DEVICE_HANDLE device,
                                                              uint16_t command, const void* data,
                                                              int dataLength,
                                                              RadarCmdAckChecker checker,
                                                              int64_t checkValue, int timeoutMs) {
    return Guarded("Protocol_SendCommand", 0, [&] {
        return Library().SendCommand(device, command, data, dataLength, checker, checkValue,
                                     timeoutMs)
                   ? 1
                   : 0;
    });
}

int ZUVO_CALL ZUVO_Interface_RadarDevice_File_SetFileRadarDataSource(IFileRadarDataSource* source,
                                                                     int reserved) {
    (void)reserved;
    return Guarded("SetFileRadarDataSource", 0, [&] {
        Library().SetFileSource(source);
        return 1;
    });
}

int ZUVO_CALL ZUVO_Interface_RadarDevice_File_SetLoopReadFile(int loop) {
    return Guarded("SetLoopReadFile", 0, [&] {
        Library().SetLoopRead(loop != 0);
        return 1;
    });
}

int ZUVO_CALL ZUVO_Interface_RadarProcessFilter_MOD_Add_ObjectDetectListener(
    IRadarObjectDetectListener* listener, int reserved) {
    (void)reserved;
    return AddListener(FilterKind::Mod, listener);
}

int ZUVO_CALL ZUVO_Interface_RadarProcessFilter_MOD_Del_ObjectDetectListener(
    IRadarObjectDetectListener* listener) {
    return RemoveListener(FilterKind::Mod, listener);
}

int ZUVO_CALL ZUVO_Interface_RadarProcessFilter_MTT_Add_ObjectDetectListener(
    IRadarObjectDetectListener* listener, int reserved) {
    (void)reserved;
    return AddListener(FilterKind::Mtt, listener);
}

int ZUVO_CALL ZUVO_Interface_RadarProcessFilter_MTT_Del_ObjectDetectListener(
    IRadarObjectDetectListener* listener) {
    return RemoveListener(FilterKind::Mtt, listener);
}

int ZUVO_CALL ZUVO_Interface_RadarDataFilter_MTT_Add_ObjectDetectListener(
    IRadarObjectDetectListener* listener, int reserved) {
    (void)reserved;
    return AddListener(FilterKind::MttData, listener);
}

int ZUVO_CALL
ZUVO_Interface_RadarDataFilter_MTT_Del_ObjectDetectListener(IRadarObjectDetectListener* listener) {
    return RemoveListener(FilterKind::MttData, listener);
}

void ZUVO_CALL ZUVO_Interface_RadarProcessFilter_MOD_ClearHorzDetectBound() {
    GuardedVoid("MOD_ClearHorzDetectBound", [] { Library().ModBounds().Clear(); });
}

void ZUVO_CALL ZUVO_Interface_RadarProcessFilter_MTT_ClearDetectBound() {
    GuardedVoid("MTT_ClearDetectBound", [] { Library().MttBounds().Clear(); });
}

void ZUVO_CALL ZUVO_Interface_RadarProcessFilter_MOD_AddHorzDetectBound(
    const DetectBoundPoint* points, int count) {
    AddBound(Library().ModBounds(), points, count);
}

void ZUVO_CALL ZUVO_Interface_RadarProcessFilter_MTT_AddDetectBound(const DetectBoundPoint* points,
                                                                    int count) {
    AddBound(Library().MttBounds(), points, count);
}

void ZUVO_CALL ZUVO_Interface_RadarParameter_Init(tagRADARPARAMETER* record) {
    if (record != nullptr) {
        zuvo::radar::SetDefaultParameters(*record);
    }
}

int ZUVO_CALL ZUVO_Interface_RadarParameter_LoadFromFile(const wchar_t* path,
                                                         tagRADARPARAMETER* record) {
    return Guarded("RadarParameter_LoadFromFile", 0, [&] {
        if (path == nullptr || record == nullptr) {
            return 0;
        }
        std::vector<std::string> problems;
        const bool loaded = zuvo::radar::LoadParameters(path, *record, problems);
        for (const std::string& problem : problems) {
            Diagnostic(2, "RadarParameter_LoadFromFile: %s", problem.c_str());
        }
        return loaded ? 1 : 0;
    });
}

int ZUVO_CALL ZUVO_Interface_RadarParameter_SaveToFile(const wchar_t* path,
                                                       const tagRADARPARAMETER* record) {
    return Guarded("RadarParameter_SaveToFile", 0, [&] {
        if (path == nullptr || record == nullptr) {
            return 0;
        }
        std::string error;
        if (!zuvo::radar::SaveParameters(path, *record, error)) {
            Diagnostic(2, "RadarParameter_SaveToFile: %s", error.c_str());
            return 0;
        }
        return 1;
    });
}

void ZUVO_CALL ZUVO_Interface_RadarParameter_Copy(tagRADARPARAMETER* destination,
                                                  const tagRADARPARAMETER* source) {
    if (destination != nullptr && source != nullptr && destination != source) {
        std::memcpy(destination, source, sizeof(tagRADARPARAMETER));
    }
}

void ZUVO_CALL ZUVO_Emulator_GetSettings(tagEMULATORSETTINGS* settings) {
    GuardedVoid("Emulator_GetSettings", [&] {
        if (settings != nullptr) {
            *settings = Library().EmulatorSettings();
        }
    });
}

int ZUVO_CALL ZUVO_Emulator_SetSettings(const tagEMULATORSETTINGS* settings) {
    return Guarded("Emulator_SetSettings", 0, [&] {
        tagEMULATORSETTINGS chosen;
        zuvo::radar::SetDefaultEmulatorSettings(chosen);
        if (settings != nullptr) {
            chosen = *settings;
        }
        std::string problem;
        if (!Library().SetEmulatorSettings(chosen, problem)) {
            Diagnostic(2, "Emulator_SetSettings: %s", problem.c_str());
            return 0;
        }
        return 1;
    });
}

int64_t ZUVO_CALL ZUVO_Test_GetDeliveredEntryCount() {
    return Guarded("GetDeliveredEntryCount", int64_t{0},
                   [] { return Library().DeliveredEntries(); });
}

}  // extern "C"
