#include "settings/AppConfig.h"

#include "text/Unicode.h"

namespace zuvo::settings {

void SetDefaultGateRange(AppConfig& record, const tagRADARPARAMETER& radar) {
    record.ObjectWnd_GateMin = static_cast<double>(radar.DefaultGateMin);
    record.ObjectWnd_GateMax = static_cast<double>(radar.DefaultGateMax);
}

void SetSaveDataPath(AppConfig& record, std::wstring_view path) {
    // Never half a character: a cut between the two halves of a UTF-16 surrogate pair would
    // leave a path that names no folder.
    zuvo::text::CopyToField(path, record.SaveDataPath);
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
