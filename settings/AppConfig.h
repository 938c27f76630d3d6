// AppConfig: the main window's settings record, one field per attribute of the settings
// element (same names). The initialisers are the values used when the file gives none.
#pragma once

#include <cstdint>
#include <string_view>

#include "ZUVO_CommonCore.h"
#include "ZUVO_DataProcess.h"

namespace zuvo::settings {

// Tracking modes of ObjectCountType.
inline constexpr int32_t kSingleObjectTracking = 1;
inline constexpr int32_t kMultiObjectTracking = 3;

struct AppConfig {
    int32_t SaveData = 0;                      // raw-data saving on (non-zero) or off
    wchar_t SaveDataPath[ZUVO_MAX_PATH] = {};  // raw-data folder, absolute
    int32_t ObjectCountType = kSingleObjectTracking;
    int32_t ObjectWnd_TopViewMode = 1;  // sensor at the top edge of the view
    int32_t ObjectWnd_DrawLocus = 1;
    int32_t ObjectWnd_AngleStart = -150;  // view degrees, clamped only by the view
    int32_t ObjectWnd_AngleStop = -30;
    int32_t ObjectWnd_AngleStep = 10;
    int32_t ObjectWnd_SectorCount = 20;
    double ObjectWnd_GateMin = 0.0;  // range gates; see SetDefaultGateRange
    double ObjectWnd_GateMax = 0.0;
    double ObjectWnd_RadiusScale = 1.0;
    double ObjectWnd_LocusRadiusScale = 0.5;
    int32_t ObjectWnd_DisplayTime = 2000;  // milliseconds
    int32_t ObjectWnd_SmoothCount = 3;
    int32_t AlgorithmAreaEnable = 0;
    // Additions of this program, each switched by a key of the main window and off unless the
    // file says otherwise.
    int32_t ShowAreaStatistics = 0;  // F9: a label inside every monitoring area
    int32_t ShowRunHealth = 0;       // F11: the run-health overlay
    int32_t ShowHeatMap = 0;         // F8: the heat map of the run under the tracks
};

// The visible gate range suggested by the radar library's configuration, taken right after the
// library has loaded it.
void SetDefaultGateRange(AppConfig& record, const tagRADARPARAMETER& radar);
// Copies at most ZUVO_MAX_PATH - 1 characters of path into the raw-data folder, terminated;
// a character of two UTF-16 units is never cut in half.
void SetSaveDataPath(AppConfig& record, std::wstring_view path);
// The raw-data folder "SaveData" beside the program. False (folder left as it was) when the
// path would not fit.
bool SetDefaultSaveDataPath(AppConfig& record, const wchar_t* programFolder);

}  // namespace zuvo::settings
