// The main window: construction, initialisation, messages, commands, keyboard, tear-down.
#include "app/ZUVOMTTDlg.h"

#include <windowsx.h>

#include <cwchar>

#include "app/SettingsDocument.h"
#include "settings/ConfigDlg.h"
#include "settings/SettingsFile.h"

#include "framework/Language.h"
#include "imaging/GdiplusHelpers.h"
#include "resources/resource.h"

namespace {

constexpr UINT kAboutCommand = 0x10;
const COLORREF kWindowBackground = RGB(42, 50, 60);
constexpr const wchar_t* kProductName = L"QZB-TQ3800_TOOL";

std::wstring ProgramFolder() {
    wchar_t folder[ZUVO_MAX_PATH] = {};
    GetProgramPathW(0, folder);
    return folder;
}

}  // namespace

CZUVOMTTDlg::CZUVOMTTDlg() : zuvo::Dialog(IDD_ZUVO_MTT_DIALOG), m_programFolder(ProgramFolder()) {
    ResetObjectSlots();
    // An installed program brings its parameters as Radar_Config.default.ini. The operator's
    // Radar_Config.ini, which the parameter dialog and device detection rewrite, is made from
    // it once and then belongs to the operator: an upgrade replaces only the default.
    const std::wstring config = ProgramFile(L"Radar_Config.ini");
    const std::wstring shipped = ProgramFile(L"Radar_Config.default.ini");
    if (!IsFileExistW(config.c_str()) && IsFileExistW(shipped.c_str())) {
        CopyFileW(shipped.c_str(), config.c_str(), TRUE);
    }
    // The library's configuration gives the gate-range defaults; a missing file is reported
    // at device detection, not here.
    ZUVO_Interface_RadarCtrl_LoadConfigFromFile(config.c_str());
    m_run.StartUp();
    zuvo::settings::SetDefaultGateRange(m_settings, gRadarParameter);
}

CZUVOMTTDlg::~CZUVOMTTDlg() {
    // Destroying the window here, while this object is whole, lets WM_DESTROY reach OnDestroy.
    DestroyDialogWindow();
}

std::wstring CZUVOMTTDlg::ProgramFile(const wchar_t* name) const {
    wchar_t path[ZUVO_MAX_PATH] = {};
    CombinePathNameW(path, m_programFolder.c_str(), name);
    return path;
}

void CZUVOMTTDlg::DoDataExchange() {
    const HWND window = GetSafeHwnd();
    m_layout.Attach(window);
    m_sectorView.SubclassDlgItem(IDC_SECTOR_VIEW, window);
}

bool CZUVOMTTDlg::OnInitDialog() {
    const HWND window = GetSafeHwnd();
    const HMODULE program = GetModuleHandleW(nullptr);

    // The window has no caption, so without the system-menu style Alt+Space opens nothing
    // and the about item below could never be reached.
    SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) | WS_SYSMENU);
    const std::wstring about = zuvo::LoadUiString(program, IDS_ABOUTBOX);
    if (HMENU menu = GetSystemMenu(window, FALSE); menu != nullptr && !about.empty()) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, kAboutCommand, about.c_str());
    }
    m_icon = LoadIconW(program, MAKEINTRESOURCEW(IDR_MAINFRAME));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));

    LoadBackgroundPicture();
    zuvo::settings::SetDefaultSaveDataPath(m_settings, m_programFolder.c_str());
    zuvo::settings::LoadSettings(zuvo::app::SettingsDocument(), m_programFolder.c_str(),
                                 m_settings);
    m_delayEngine.Start();

    m_waitingDlg.reset(ZUVO_WaitingDlg_Create(window));
    m_eulaDlg.reset(ZUVO_EULADlg_Create(window, kProductName, nullptr));
    if (m_eulaDlg) {
        ZUVO_EULADlg_CheckShowEULA(m_eulaDlg.get());
    }

    m_areas.CreatePanel(this);
    m_layout.FillScreen(window, m_settings.ObjectCountType);

    CheckDlgButton(window, IDC_SAVE_DATA, m_settings.SaveData ? BST_CHECKED : BST_UNCHECKED);
    m_settings.SaveData = IsDlgButtonChecked(window, IDC_SAVE_DATA) == BST_CHECKED ? 1 : 0;

    ApplyObjectCountType();
    RefreshObjectPanels();
    ApplyViewSettings();

    ApplyRunControls();

    RegisterWithLibrary();
    return true;
}

void CZUVOMTTDlg::LoadBackgroundPicture() {
    const std::wstring path = ProgramFile(L"Custom_Background\\SectorBackGround.png");
    if (IsFileExistW(path.c_str())) {
        m_backgroundPicture.reset(Gdiplus_LoadBitmapFromFileW(path.c_str()));
    }
}

void CZUVOMTTDlg::RegisterWithLibrary() {
    ZUVO_Interface_RadarDevice_File_SetFileRadarDataSource(this, 0);
    ZUVO_Interface_RadarDevice_File_SetLoopReadFile(0);
    ZUVO_Interface_RadarProcessFilter_MOD_Add_ObjectDetectListener(this, 0);
    ZUVO_Interface_RadarProcessFilter_MTT_Add_ObjectDetectListener(this, 0);
    ZUVO_Interface_RadarDataFilter_MTT_Add_ObjectDetectListener(this, 0);
    m_registered = true;
}

void CZUVOMTTDlg::UnregisterFromLibrary() {
    if (!m_registered) {
        return;
    }
    ZUVO_Interface_RadarDataFilter_MTT_Del_ObjectDetectListener(this);
    ZUVO_Interface_RadarProcessFilter_MTT_Del_ObjectDetectListener(this);
    ZUVO_Interface_RadarProcessFilter_MOD_Del_ObjectDetectListener(this);
    // The playback source stays registered: the library takes only a source, no null, and it
    // reads nothing once the device is stopped and closed, which the tear-down does first.
    m_registered = false;
}

bool CZUVOMTTDlg::OnCommand(UINT id, UINT notification, HWND) {
    if (notification != BN_CLICKED) {
        return false;
    }
    switch (id) {
        case IDC_CLOSE:
            EndDialog(IDCANCEL);
            return true;
        case IDC_DETECT_DEVICE:
            DetectDevice();
            return true;
        case IDC_START_STOP:
            ToggleStartStop();
            return true;
        case IDC_MODE_SWITCH:
            SwitchObjectCountType();
            return true;
        case IDC_PAUSE:
            TogglePause();
            return true;
        case IDC_PLAYBACK:
            Playback();
            return true;
        case IDC_SAVE_DATA:
            OnSaveDataSwitch();
            return true;
        case IDC_SAVE_PATH:
            ChooseSavePath();
            return true;
        case IDC_AREA_MONITOR:
            m_areas.ShowPanel();
            return true;
        default:
            return false;
    }
}

bool CZUVOMTTDlg::PreTranslateMessage(MSG& message) {
    // Ctrl+F2 opens the parameter dialog, also while the area panel has the focus (its keys
    // are offered here after its own windows'). F2 is consumed also without Ctrl; the Ctrl key
    // itself only in this window, so the panel's fields keep their Ctrl shortcuts. Whether
    // Ctrl is held is read when F2 arrives: a Ctrl let go in another program's window never
    // reaches this one.
    const bool inThisWindow =
        message.hwnd == GetSafeHwnd() || IsChild(GetSafeHwnd(), message.hwnd) != FALSE;
    if ((message.message == WM_KEYDOWN || message.message == WM_KEYUP) &&
        message.wParam == VK_CONTROL) {
        return inThisWindow;
    }
    if (message.message == WM_KEYDOWN && message.wParam == VK_F8 && inThisWindow) {
        if (GetKeyState(VK_CONTROL) < 0) {
            SaveHeatMap();
        } else {
            ToggleHeatMap();
        }
        return true;
    }
    if (message.message == WM_KEYDOWN && message.wParam == VK_F9 && inThisWindow) {
        ToggleAreaStatistics();
        return true;
    }
    if (message.message == WM_KEYDOWN && message.wParam == VK_F11 && inThisWindow) {
        ToggleRunHealth();
        return true;
    }
    if (message.message == WM_KEYDOWN && message.wParam == VK_F12 && inThisWindow) {
        SaveViewSnapshot();
        return true;
    }
    if (message.message == WM_KEYDOWN && message.wParam == VK_F1 && inThisWindow) {
        ShowKeys();
        return true;
    }
    if (message.message == WM_KEYDOWN && message.wParam == VK_F2) {
        if (GetKeyState(VK_CONTROL) < 0) {
            OpenParameterDialog();
        }
        return true;
    }
    return false;
}

LRESULT CZUVOMTTDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            EndDialog(IDCANCEL);
            break;
        case WM_OBJECT_REFRESH:
            RefreshPass();
            return 1;
        case WM_DEVICE_TOGGLE:
            OnDeviceToggle();
            return 1;
        case WM_TIMER:
            if (wParam == kRefreshTimerId) {
                OnRefreshTimer();
            }
            break;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == kAboutCommand) {
                OnSysCommand(wParam, lParam);
                return 0;
            }
            break;
        case WM_NCHITTEST:
            return OnNcHitTest(wParam, lParam);
        case WM_LBUTTONUP:
            m_areas.OnClick(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            break;
        case WM_RBUTTONDOWN:
            m_areas.OnClose();
            RefreshAreaStatistics();
            break;
        case WM_ERASEBKGND:
            OnEraseBackground(reinterpret_cast<HDC>(wParam));
            return TRUE;
        case WM_DESTROY:
            OnDestroy();
            break;
        case WM_QUERYENDSESSION:
            return TRUE;  // a run may end with the session: the end of session tears it down
        case WM_ENDSESSION:
            OnEndSession(wParam != FALSE);
            return 0;
        default:
            break;
    }
    return zuvo::Dialog::HandleMessage(message, wParam, lParam);
}

void CZUVOMTTDlg::ShowKeys() {
    // One message of the balloon per key, "F9: what it does" as title and text: the balloon
    // lays out one line of text per message, the newest on top, so the list is given from its
    // end.
    const std::wstring keys = zuvo::LoadUiString(GetModuleHandleW(nullptr), IDS_KEYS);
    std::vector<std::wstring> lines;
    for (size_t start = 0; start < keys.size();) {
        size_t end = keys.find(L"\r\n", start);
        if (end == std::wstring::npos) {
            end = keys.size();
        }
        lines.push_back(keys.substr(start, end - start));
        start = end + 2;
    }
    constexpr int kInformationIcon = 1;
    // Ids of their own: a balloon message replaces the one with its id, and the other notices
    // take the ids of their strings.
    constexpr int kFirstKeyNotice = 0x10000;
    for (size_t line = lines.size(); line-- > 0;) {
        const std::wstring& entry = lines[line];
        size_t colon = entry.find(L'\uFF1A');  // the full-width colon of the Chinese table
        size_t after = colon + 1;
        if (colon == std::wstring::npos) {
            colon = entry.find(L": ");
            after = colon + 2;
        }
        if (colon != std::wstring::npos) {
            ShowNotice(entry.substr(0, colon), entry.substr(after), kInformationIcon,
                       kFirstKeyNotice + static_cast<int>(line));
        }
    }
}

void CZUVOMTTDlg::OpenParameterDialog() {
    CConfigDlg dialog;
    dialog.DoModal(GetSafeHwnd());
}

LRESULT CZUVOMTTDlg::OnNcHitTest(WPARAM, LPARAM) {
    // The caption-less window is dragged by its background, except while an area is drawn.
    return m_areas.IsDrawing() ? HTCLIENT : HTCAPTION;
}

void CZUVOMTTDlg::OnEraseBackground(HDC dc) {
    RECT client;
    GetClientRect(GetSafeHwnd(), &client);
    zuvo::UniqueBrush brush(CreateSolidBrush(kWindowBackground));
    FillRect(dc, &client, brush.get());
}

void CZUVOMTTDlg::OnSysCommand(WPARAM, LPARAM) {
    if (m_eulaDlg) {
        ZUVO_EULADlg_Show(m_eulaDlg.get(), ZUVO_EULADLG_SHOW_ABOUT);
    }
}

void CZUVOMTTDlg::SaveRecordingSettings() {
    zuvo::settings::SaveRecordingSettings(zuvo::app::SettingsDocument(), m_programFolder.c_str(),
                                          m_settings);
}

void CZUVOMTTDlg::OnEndSession(bool ending) {
    if (!ending) {
        return;  // the session goes on
    }
    // After this message Windows ends the process without destroying the window.
    SaveRecordingSettings();
    EndRunTearDown();
    m_resultLog.Close();
}

void CZUVOMTTDlg::OnDestroy() {
    SaveRecordingSettings();
    m_delayEngine.Stop();
    EndRunTearDown();
    UnregisterFromLibrary();
    m_resultLog.Close();
    m_backgroundPicture.reset();
    // The library's windows belong to this one: they go while it still exists.
    m_waitingDlg.reset();
    m_eulaDlg.reset();
}
