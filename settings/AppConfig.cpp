#include "settings/AppConfig.h"

#include <algorithm>
#include <cwchar>

namespace zuvo::settings {

namespace {

bool IsHighSurrogate(wchar_t ch) {
    return sizeof(wchar_t) == 2 && ch >= 0xD800 && ch <= 0xDBFF;
}

}  // namespace

void SetDefaultGateRange(AppConfig& record, const tagRADARPARAMETER& radar) {
    record.ObjectWnd_GateMin = static_cast<double>(radar.DefaultGateMin);
    record.ObjectWnd_GateMax = static_cast<double>(radar.DefaultGateMax);
}

void SetSaveDataPath(AppConfig& record, std::wstring_view path) {
    size_t length = std::min(path.size(), static_cast<size_t>(ZUVO_MAX_PATH - 1));
    // Never half a character: a cut between the two halves of a UTF-16 surrogate pair would
    // leave a path that names no folder.
    if (length < path.size() && length > 0 && IsHighSurrogate(path[length - 1])) {
        --length;
    }
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
