// Recording and playback: the result log, the save-data switch and folder, the playback
// command and the end of a playback run.
#include <share.h>

#include <cstdio>
#include <cstring>

#include "app/FolderBrowser.h"
#include "imaging/GdiplusHelpers.h"
#include "app/SettingsDocument.h"
#include "app/ZUVOMTTDlg.h"
#include "framework/Language.h"
#include "resources/resource.h"
#include "settings/SettingsFile.h"

namespace {

constexpr uint32_t kToggleDelayMs = 100;

}  // namespace

namespace {

// A new dated file "<prefix><date>_<time><extension>" in folder, open for writing; null when it
// cannot be made. Other programs may read it while the run writes it.
std::FILE* OpenDatedFile(const std::wstring& folder, const wchar_t* prefix,
                         const wchar_t* extension) {
    wchar_t name[ZUVO_MAX_PATH] = {};
    if (GetFileNameByDateW(name, extension, prefix, L"", 0, 1, 0) == 0) {
        return nullptr;
    }
    wchar_t path[ZUVO_MAX_PATH] = {};
    CombinePathNameW(path, folder.c_str(), name);
    return _wfsopen(path, L"wb", _SH_DENYWR);
}

zuvo::app::LocalDateTime LocalNow() {
    SYSTEMTIME local;
    GetLocalTime(&local);
    return {local.wYear,   local.wMonth,  local.wDay,         local.wHour,
            local.wMinute, local.wSecond, local.wMilliseconds};
}

}  // namespace

void CZUVOMTTDlg::OpenResultLog() {
    m_resultLog.Close();
    m_eventLog.Close();
    const std::wstring folder = ProgramFile(L"Log");
    RecursiveCreateDirectoryW(folder.c_str());
    m_resultLog.Attach(OpenDatedFile(folder, L"ZUVO_MTT_Result_", L".txt"));
    m_areaEvents.Begin();
    m_eventLog.Attach(OpenDatedFile(folder, L"ZUVO_MTT_Events_", L".csv"), MS_GetTime(),
                      LocalNow());
}

void CZUVOMTTDlg::EndAreaEvents() {
    std::vector<zuvo::app::AreaEvent> exits;
    m_areaEvents.End(MS_GetTime(), exits);
    m_eventLog.Write(exits);
    m_eventLog.Close();
}

void CZUVOMTTDlg::ShowNotice(UINT titleId, UINT textId) {
    const HMODULE program = GetModuleHandleW(nullptr);
    constexpr int kWarningIcon = 2;
    ShowNotice(zuvo::LoadUiString(program, titleId), zuvo::LoadUiString(program, textId),
               kWarningIcon, static_cast<int>(textId));
}

void CZUVOMTTDlg::ShowNotice(const std::wstring& title, const std::wstring& text, int icon,
                             int id) {
    if (m_notice.GetSafeHwnd() == nullptr && !m_notice.Create(GetSafeHwnd())) {
        return;
    }
    RECT view;
    GetWindowRect(m_sectorView.GetSafeHwnd(), &view);
    const POINT anchor{view.left + 16, view.top + 8};
    m_notice.ShowMessage(title.c_str(), text.c_str(), icon, anchor, id);
}

void CZUVOMTTDlg::SaveViewSnapshot() {
    SavePicture(m_sectorView.CopyShownFrame().get(), L"Snapshots", L"ZUVO_MTT_View_",
                IDS_SNAPSHOT_SAVED_TITLE, IDS_SNAPSHOT_NOT_SAVED);
}

void CZUVOMTTDlg::SaveHeatMap() {
    SavePicture(m_sectorView.CopyHeatMap().get(), L"Log", L"ZUVO_MTT_Heatmap_",
                IDS_HEATMAP_SAVED_TITLE, IDS_HEATMAP_NOT_SAVED);
}

void CZUVOMTTDlg::SavePicture(Gdiplus::Bitmap* picture, const wchar_t* folderName,
                              const wchar_t* prefix, UINT titleId, UINT failedId) {
    const std::wstring folder = ProgramFile(folderName);
    RecursiveCreateDirectoryW(folder.c_str());
    wchar_t name[ZUVO_MAX_PATH] = {};
    wchar_t path[ZUVO_MAX_PATH] = {};
    bool saved = false;
    if (picture != nullptr && GetFileNameByDateW(name, L".png", prefix, L"", 0, 1, 0)) {
        CombinePathNameW(path, folder.c_str(), name);
        saved = path[0] != L'\0' && Gdiplus_SaveBitmapToFileW(picture, path) == 1;
    }
    if (!saved) {
        ShowNotice(titleId, failedId);
        return;
    }
    constexpr int kInformationIcon = 1;
    ShowNotice(zuvo::LoadUiString(GetModuleHandleW(nullptr), titleId),
               std::wstring(folderName) + L"\\" + name, kInformationIcon,
               static_cast<int>(titleId));
}

void CZUVOMTTDlg::OnSaveDataSwitch() {
    m_settings.SaveData = IsDlgButtonChecked(GetSafeHwnd(), IDC_SAVE_DATA) == BST_CHECKED ? 1 : 0;
}

void CZUVOMTTDlg::ChooseSavePath() {
    std::wstring chosen;
    if (zuvo::app::BrowseForFolder(GetSafeHwnd(), m_settings.SaveDataPath, chosen)) {
        zuvo::settings::SetSaveDataPath(m_settings, chosen);
    }
}

void CZUVOMTTDlg::Playback() {
    if (ZUVO_Interface_RadarCtrl_IsStarted()) {
        StopRadar();
        return;
    }
    std::wstring initial = zuvo::settings::ReadPlaybackFolder(zuvo::app::SettingsDocument());
    if (initial.empty() || !IsDirExistW(initial.c_str())) {
        initial = m_settings.SaveDataPath;
    }
    std::wstring folder;
    if (!zuvo::app::BrowseForFolder(GetSafeHwnd(), initial, folder)) {
        m_run.PlaybackCancelled();
        ApplyRunControls();
        return;
    }

    wchar_t config[ZUVO_MAX_PATH] = {};
    CombinePathNameW(config, folder.c_str(), L"FILE_Radar_Config.ini");
    const bool isRecording = ZUVO_Interface_RadarCtrl_LoadConfigFromFile(config) != 0;
    if (isRecording) {
        m_run.PreparePlayback(folder);
        zuvo::settings::SavePlaybackFolder(zuvo::app::SettingsDocument(), m_programFolder.c_str(),
                                           folder.c_str());
        StartRadar();
        if (ZUVO_Interface_RadarCtrl_IsStarted()) {
            return;
        }
    }
    // Nothing to play, or the start failed (it has shown its own box): the live parameters
    // come back.
    m_run.PlaybackGivenUp();
    ApplyRunControls();
    if (!isRecording) {
        // The operator picked the wrong folder: say so, or nothing at all would happen.
        ShowErrorBox(IDS_NOT_A_RECORDING);
    }
}

void CZUVOMTTDlg::OnFileRadarReadEnd() {
    // Library thread: only schedule; the user-interface thread decides.
    const HWND window = GetSafeHwnd();
    m_delayEngine.DelayPostMsg(kToggleDelayMs, window, window, WM_DEVICE_TOGGLE, 0, 0, nullptr,
                               nullptr);
}

void CZUVOMTTDlg::OnDeviceToggle() {
    const HWND window = GetSafeHwnd();
    m_delayEngine.RemoveDelayPostMsg(window, window, WM_DEVICE_TOGGLE, 1);
    if (ZUVO_Interface_RadarCtrl_HasIncompleteData()) {
        m_delayEngine.DelayPostMsg(kToggleDelayMs, window, window, WM_DEVICE_TOGGLE, 0, 0, nullptr,
                                   nullptr);
    } else if (ZUVO_Interface_RadarCtrl_IsStarted()) {
        StopRadar();
    } else {
        StartRadar();
    }
}
