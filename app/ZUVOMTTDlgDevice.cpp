// Device control: detection, start, stop, pause and the object count type.
#include <cstring>
#include <string>

#include "app/LibraryDetectBounds.h"
#include "app/SectorViewAreas.h"
#include "app/ZUVOMTTDlg.h"
#include "framework/Language.h"
#include "resources/resource.h"
#include "settings/DetectBounds.h"
#include "text/CodePage.h"

namespace {

constexpr UINT kRefreshPeriodMs = 1000;
constexpr int kModeCommandTimeoutMs = 2000;

UINT DetectionText(int sourceType) {
    switch (sourceType) {
        case RADAR_SOURCE_COM:
            return IDS_COM_DEVICE_DETECTED;
        case RADAR_SOURCE_LIBUSB:
            return IDS_LIBUSB_DEVICE_DETECTED;
        case RADAR_SOURCE_PELVO2:
            return IDS_PELVO2_DEVICE_DETECTED;
        case RADAR_SOURCE_PELVO4:
            return IDS_PELVO4_DEVICE_DETECTED;
        case RADAR_SOURCE_USB_ADAPTER:
            return IDS_USB_ADAPTER_DETECTED;
        case RADAR_SOURCE_EMULATOR:
            return IDS_EMULATOR_DETECTED;
        default:
            return 0;
    }
}

}  // namespace

void CZUVOMTTDlg::ShowErrorBox(const std::wstring& text, UINT captionId) {
    const std::wstring caption = zuvo::LoadUiString(GetModuleHandleW(nullptr), captionId);
    MessageBoxW(GetSafeHwnd(), text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR | MB_TOPMOST);
}

void CZUVOMTTDlg::ShowErrorBox(UINT textId) {
    ShowErrorBox(zuvo::LoadUiString(GetModuleHandleW(nullptr), textId), IDS_ERROR);
}

void CZUVOMTTDlg::ApplyRunControls() {
    const HWND window = GetSafeHwnd();
    const zuvo::app::ControlsState& controls = m_run.Controls();
    auto apply = [window](int id, const zuvo::app::ButtonState& button, bool check) {
        const HWND control = GetDlgItem(window, id);
        EnableWindow(control, button.enabled ? TRUE : FALSE);
        if (check) {
            CheckDlgButton(window, id, button.checked ? BST_CHECKED : BST_UNCHECKED);
        }
    };
    apply(IDC_START_STOP, controls.startStop, true);
    apply(IDC_MODE_SWITCH, controls.mode, false);
    apply(IDC_PAUSE, controls.pause, true);
    ShowWindow(GetDlgItem(window, IDC_PAUSE), controls.pauseShown ? SW_SHOW : SW_HIDE);
    apply(IDC_PLAYBACK, controls.playback, true);
    EnableWindow(GetDlgItem(window, IDC_SAVE_DATA), controls.saveEnabled ? TRUE : FALSE);
    EnableWindow(GetDlgItem(window, IDC_SAVE_PATH), controls.saveEnabled ? TRUE : FALSE);
}

void CZUVOMTTDlg::DetectDevice() {
    if (ZUVO_Interface_RadarCtrl_IsStarted()) {
        StopRadar();
    }
    if (!ZUVO_Interface_RadarCtrl_LoadConfigFromFile(ProgramFile(L"Radar_Config.ini").c_str())) {
        m_run.DetectionFailed();
        ApplyRunControls();
        ShowErrorBox(IDS_LOAD_CONFIG_FAILED);
        return;
    }

    int sourceType = RADAR_SOURCE_NONE;
    int deviceNumber = 0;
    CBaseStringA deviceText;
    CBaseStringA secondText;
    ZUVO_DetectDeviceDlg_DoModal(GetSafeHwnd(), &sourceType, &deviceText, &secondText,
                                 &deviceNumber);
    const UINT textId = DetectionText(sourceType);
    if (textId == 0) {
        m_run.DetectionFailed();
        ApplyRunControls();
        ShowErrorBox(IDS_NO_DEVICE_DETECTED);
        return;
    }
    const HMODULE program = GetModuleHandleW(nullptr);
    const std::wstring text = zuvo::LoadUiString(program, textId);
    const std::wstring caption = zuvo::LoadUiString(program, IDS_PROMPT);
    MessageBoxW(GetSafeHwnd(), text.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION);

    m_run.DeviceDetected(sourceType, deviceNumber);
    ApplyRunControls();

    if (sourceType == RADAR_SOURCE_COM) {
        // The configuration file remembers the port a serial sensor was last found on.
        const std::wstring configPath = ProgramFile(L"Radar_Config.ini");
        tagRADARPARAMETER stored;
        ZUVO_Interface_RadarParameter_Init(&stored);
        if (ZUVO_Interface_RadarParameter_LoadFromFile(configPath.c_str(), &stored) &&
            stored.DeviceNumber != deviceNumber) {
            stored.DeviceNumber = deviceNumber;
            ZUVO_Interface_RadarParameter_SaveToFile(configPath.c_str(), &stored);
        }
    }

    ApplyViewSettings();
    RefreshObjectPanels();
}

void CZUVOMTTDlg::SendModeCommand() {
    RADAR_DEVICE_HANDLE device = ZUVO_Interface_RadarDevice_GetDefault();
    const uint16_t command = m_settings.ObjectCountType == zuvo::settings::kSingleObjectTracking
                                 ? RADAR_CMD_TRACK_SINGLE
                                 : RADAR_CMD_TRACK_MULTI;
    ZUVO_Interface_RadarCtrl_Pause();
    ZUVO_Interface_RadarDevice_StartCmdMode(device, gRadarParameter.CmdModeParam,
                                            gRadarParameter.CmdModeTimeFactor * 150);
    // A failed mode command is not reported: the run goes on in the sensor's previous mode.
    ZUVO_Interface_RadarDevice_Protocol_SendCommand(
        device, command, nullptr, 0, CheckCmdAckData_RetCode, 0, kModeCommandTimeoutMs);
    ZUVO_Interface_RadarDevice_StopCmdMode(device);
    ZUVO_Interface_RadarCtrl_Resume();
}

bool CZUVOMTTDlg::StartRadar() {
    const HMODULE program = GetModuleHandleW(nullptr);
    if (m_waitingDlg) {
        ZUVO_WaitingDlg_Show(m_waitingDlg.get(), 0, 0,
                             zuvo::LoadUiString(program, IDS_STARTING_SENSOR).c_str());
    }
    auto hideWaiting = [this] {
        if (m_waitingDlg) {
            ZUVO_WaitingDlg_Hide(m_waitingDlg.get());
        }
    };
    auto failed = [this] {
        m_run.StartFailed();
        ApplyRunControls();
        return false;
    };

    if (!ZUVO_Interface_RadarCtrl_IsConfigLoad()) {
        hideWaiting();
        ShowErrorBox(IDS_LOAD_CONFIG_FIRST);
        return failed();
    }
    const bool liveRun = !m_run.PlaybackPrepared();
    m_run.PrepareLiveStart(m_settings.SaveData != 0, m_settings.SaveDataPath);
    CBaseStringA error;
    if (!ZUVO_Interface_RadarCtrl_OpenDevice(&error, 0)) {
        hideWaiting();
        // The library's error text is narrow text in the thread's code page.
        const char* text = error.GetString();
        ShowErrorBox(text != nullptr ? zuvo::text::DisplayToWide(text, zuvo::text::CodePage::Thread)
                                     : std::wstring(),
                     IDS_DEVICE_OPEN_FAILED);
        return failed();
    }
    hideWaiting();
    m_sectorView.ClearHeatMap();  // every run has a heat map of its own
    OpenResultLog();
    if (!m_resultLog.IsOpen()) {
        // The run is worth more than its log: it goes on, and the operator knows.
        ShowNotice(IDS_LOG_NOT_WRITTEN_TITLE, IDS_LOG_NOT_WRITTEN);
    }

    ApplyViewSettings();
    ResetObjectSlots();
    RefreshObjectPanels();

    if (gRadarParameter.ProcessSite == RADAR_PROCESS_SITE_SENSOR) {
        ZUVO_Interface_RadarCtrl_EnableProcessFilter_ObjectDetect(0);
        if (liveRun) {
            SendModeCommand();
        }
    } else {
        ZUVO_Interface_RadarCtrl_EnableProcessFilter_ObjectDetect(1);
    }

    {
        CSectorViewAreas areas(m_sectorView);
        CLibraryDetectBounds filters;
        zuvo::settings::ApplyDetectBounds(areas, filters, m_settings, gRadarParameter);
    }
    ZUVO_Interface_RadarCtrl_Start();

    m_run.Started();
    ApplyRunControls();

    m_light.Open(gRadarParameter.LightPort, gRadarParameter.LightBaudRate);
    SetTimer(GetSafeHwnd(), kRefreshTimerId, kRefreshPeriodMs, nullptr);

    // An operator watches a run without touching the computer.
    m_keepAwake.Engage();
    return true;
}

void CZUVOMTTDlg::EndRunTearDown() {
    m_light.CloseLight();
    ZUVO_Interface_RadarCtrl_Stop();
    ZUVO_Interface_RadarCtrl_CloseDevice();
    // The library's stop has returned after its last delivery: the log is complete now, and
    // whoever is still in an area leaves it with the run.
    m_resultLog.Flush();
    EndAreaEvents();
    KillTimer(GetSafeHwnd(), kRefreshTimerId);
    m_keepAwake.Release();
}

void CZUVOMTTDlg::StopRadar() {
    const HWND window = GetSafeHwnd();
    EndRunTearDown();

    // A run's temporary settings (playback source, data folder) end with it.
    m_run.Stopped();
    ApplyRunControls();

    m_sectorView.ClearTracks();
    InvalidateRect(m_sectorView.GetSafeHwnd(), nullptr, FALSE);

    MSG stale;
    while (PeekMessageW(&stale, window, WM_OBJECT_REFRESH, WM_DEVICE_TOGGLE, PM_REMOVE)) {
    }
    m_delayEngine.RemoveDelayPostMsg(window, window, WM_DEVICE_TOGGLE, 1);
}

void CZUVOMTTDlg::OnRefreshTimer() {
    // A sensor whose line goes away ends its run in the library, and the library's only sign
    // of it is that it no longer reports itself started. A live run that has ended so is
    // stopped here as the operator would, and the operator is told. (A playback ends through
    // the end of its reading instead.)
    if (!m_run.PlaybackPrepared() && !ZUVO_Interface_RadarCtrl_IsStarted()) {
        StopRadar();
        ShowErrorBox(IDS_DEVICE_LOST);
        return;
    }
    RefreshPass();
    RefreshRunHealth();
}

void CZUVOMTTDlg::ToggleStartStop() {
    if (ZUVO_Interface_RadarCtrl_IsStarted()) {
        StopRadar();
    } else {
        StartRadar();
    }
}

void CZUVOMTTDlg::TogglePause() {
    if (!ZUVO_Interface_RadarCtrl_IsStarted()) {
        return;
    }
    if (ZUVO_Interface_RadarCtrl_IsPaused()) {
        ZUVO_Interface_RadarCtrl_Resume();
    } else {
        ZUVO_Interface_RadarCtrl_Pause();
    }
}

void CZUVOMTTDlg::SwitchObjectCountType() {
    StopRadar();
    m_settings.ObjectCountType = m_settings.ObjectCountType == zuvo::settings::kMultiObjectTracking
                                     ? zuvo::settings::kSingleObjectTracking
                                     : zuvo::settings::kMultiObjectTracking;
    StartRadar();
    ApplyObjectCountType();
    RefreshObjectPanels();
}
