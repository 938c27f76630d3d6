#include "settings/ConfigDlg.h"

#include <string>

#include "ZUVO_Common.h"
#include "ZUVO_DlgResource.h"
#include "framework/Language.h"
#include "resources/ConfigDialog.h"
#include "resources/resource.h"
#include "settings/ConfigDlgItems.h"

namespace {

const wchar_t kConfigFileName[] = L"Radar_Config.ini";

// The list texts by item, in list order.
constexpr UINT kItemStringIds[zuvo::kConfigAlgorithmItemCount] = {
    IDS_CONFIG_ITEM_PC_MTT,
    IDS_CONFIG_ITEM_PC_MOD,
    IDS_CONFIG_ITEM_MCU_MTT,
    IDS_CONFIG_ITEM_MCU_MTT2,
};

}  // namespace

CConfigDlg::CConfigDlg(HMODULE resources) noexcept
    : zuvo::Dialog(IDD_CONFIG, resources),
      m_resources(resources != nullptr ? resources : GetModuleHandleW(nullptr)) {
    ZUVO_Interface_RadarParameter_Init(&m_parameters);
}

CConfigDlg::~CConfigDlg() {
    DestroyDialogWindow();
}

HWND CConfigDlg::AlgorithmList() const noexcept {
    return GetDlgItem(GetSafeHwnd(), IDC_CONFIG_ALGORITHM);
}

void CConfigDlg::FillAlgorithmList() {
    HWND list = AlgorithmList();
    const LANGID language = zuvo::CurrentUiLanguage();
    for (UINT id : kItemStringIds) {
        const std::wstring text = zuvo::LoadStringInLanguage(m_resources, id, language);
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

bool CConfigDlg::OnInitDialog() {
    FillAlgorithmList();
    // Each opening starts from the file; a missing one leaves the library's defaults.
    wchar_t folder[ZUVO_MAX_PATH] = {};
    if (GetProgramPathW(0, folder) == 0 ||
        CombinePathNameW(m_configPath, folder, kConfigFileName) == 0) {
        m_configPath[0] = L'\0';
        DbgOutputA(2, "ConfigDlg: no path for the configuration file\r\n");
    } else {
        ZUVO_Interface_RadarParameter_LoadFromFile(m_configPath, &m_parameters);
    }
    SendMessageW(AlgorithmList(), CB_SETCURSEL,
                 static_cast<WPARAM>(zuvo::ConfigItemForRecord(m_parameters)), 0);
    return true;
}

void CConfigDlg::OnAlgorithmChanged() {
    const auto item = static_cast<int>(SendMessageW(AlgorithmList(), CB_GETCURSEL, 0, 0));
    zuvo::ApplyConfigItem(item, m_parameters);
}

bool CConfigDlg::OnCommand(UINT id, UINT notification, HWND) {
    if (id == IDC_CONFIG_ALGORITHM && notification == CBN_SELCHANGE) {
        OnAlgorithmChanged();
        return true;
    }
    if (id == IDC_CONFIG_REGISTER && notification == BN_CLICKED) {
        // The register dialog edits the record in place; its result says nothing to rely on.
        ZUVO_RegisterSettingDlg_DoModal(GetSafeHwnd(), &m_parameters);
        return true;
    }
    return false;
}

void CConfigDlg::OnOK() {
    // The dialog stays open when the file does not hold the choice, so the operator neither
    // believes the choice saved nor loses it.
    if (m_configPath[0] == L'\0' || !SaveAndReadBack()) {
        ReportSaveFailure();
        return;
    }
    EndDialog(IDOK);
}

// The radar library's save answers nothing a caller may count on, but its load tells whether a
// file was read: so the file is read back and must hold the fields the choice set. (A save that
// failed over a file with the same choice goes unnoticed; that loses nothing of the choice.)
bool CConfigDlg::SaveAndReadBack() const {
    ZUVO_Interface_RadarParameter_SaveToFile(m_configPath, &m_parameters);
    tagRADARPARAMETER saved;
    ZUVO_Interface_RadarParameter_Init(&saved);
    return ZUVO_Interface_RadarParameter_LoadFromFile(m_configPath, &saved) != 0 &&
           zuvo::SameAlgorithmFields(saved, m_parameters);
}

void CConfigDlg::ReportSaveFailure() {
    const LANGID language = zuvo::CurrentUiLanguage();
    std::wstring text = zuvo::LoadStringInLanguage(m_resources, IDS_CONFIG_SAVE_FAILED, language);
    text += L"\r\n";
    text += m_configPath;
    const std::wstring caption = zuvo::LoadStringInLanguage(m_resources, IDS_ERROR, language);
    MessageBoxW(GetSafeHwnd(), text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR | MB_TOPMOST);
}
