#include "settings/AppConfig.h"

#include <algorithm>
#include <cwchar>

namespace zuvo::settings {

void SetDefaultGateRange(AppConfig& record, const tagRADARPARAMETER& radar) {
    record.ObjectWnd_GateMin = static_cast<double>(radar.DefaultGateMin);
    record.ObjectWnd_GateMax = static_cast<double>(radar.DefaultGateMax);
}

void SetSaveDataPath(AppConfig& record, std::wstring_view path) {
    const size_t length = std::min(path.size(), static_cast<size_t>(ZUVO_MAX_PATH - 1));
    std::wmemcpy(record.SaveDataPath, path.data(), length);
    record.SaveDataPath[length] = L'\0';
}

bool SetDefaultSaveDataPath(AppConfig& record, const wchar_t* programFolder) {
    wchar_t path[ZUVO_MAX_PATH];
    if (programFolder == nullptr || CombinePathNameW(path, programFolder, L"SaveData") == 0) {
        return false;
    }
    SetSaveDataPath(record, path);
    return true;
}

}  // namespace zuvo::settings
