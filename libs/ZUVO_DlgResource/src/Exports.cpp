// The library's flat interface. Every entry checks its handle and arguments, and catches
// everything: no exception may leave the library.
//
// What our windows do beyond what boundary/ZUVO_DlgResource.h says, which tests rely on and the
// program must not: ZUVO_WaitingDlg_Create answers null on failure and the window is centred
// on its parent with an animated progress bar; ZUVO_EULADlg_CheckShowEULA shows the agreement
// modally unless this user accepted it before (the DWORD value EULAAccepted = 1 under
// HKEY_CURRENT_USER\Software\ZUVO\<product name>) and answers non-zero when it is accepted
// (now or before); ZUVO_DetectDeviceDlg_DoModal answers non-zero when a device was found;
// ZUVO_RegisterSettingDlg_DoModal changes the record only on OK and answers IDOK or IDCANCEL.
#include "ZUVO_DlgResource.h"

#include <commctrl.h>

#include <exception>

#include "AgreementKey.h"
#include "DetectDeviceDlg.h"
#include "EulaDlg.h"
#include "HandleTable.h"
#include "RegisterSettingDlg.h"
#include "WaitingDlg.h"
#include "ZUVO_Common.h"

namespace {

using zuvo::dlg::EulaDlg;
using zuvo::dlg::HandleTable;
using zuvo::dlg::WaitingDlg;

// The shortest detection the operator sees, so the search is noticed even when the emulator
// answers at once.
constexpr std::chrono::milliseconds kMinimumDetectionTime{1200};

HandleTable<WaitingDlg>& WaitingDialogs() {
    static HandleTable<WaitingDlg> table;
    return table;
}

HandleTable<EulaDlg>& EulaDialogs() {
    static HandleTable<EulaDlg> table;
    return table;
}

// The progress bar and the list view are common controls.
void RegisterControlClasses() {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
}

void LogFailure(const char* function, const std::exception* e) {
    DbgOutputA(2, "%s failed: %s\r\n", function, e != nullptr ? e->what() : "unknown error");
}

// Runs body, answering fallback when it throws.
template <typename Result, typename Body>
Result Guarded(const char* function, Result fallback, Body body) {
    try {
        return body();
    } catch (const std::exception& e) {
        LogFailure(function, &e);
    } catch (...) {
        LogFailure(function, nullptr);
    }
    return fallback;
}

template <typename Body>
void Guarded(const char* function, Body body) {
    Guarded(function, 0, [&] {
        body();
        return 0;
    });
}

void ClearDeviceOutputs(int* sourceType, CBaseStringA* deviceText, CBaseStringA* secondText,
                        int* deviceNumber) {
    if (sourceType != nullptr) {
        *sourceType = RADAR_SOURCE_NONE;
    }
    if (deviceText != nullptr) {
        deviceText->Format("%s", "");
    }
    if (secondText != nullptr) {
        secondText->Format("%s", "");
    }
    if (deviceNumber != nullptr) {
        *deviceNumber = 0;
    }
}

}  // namespace

extern "C" {

ZUVO_WAITINGDLG_HANDLE ZUVO_CALL ZUVO_WaitingDlg_Create(HWND parent) {
    return Guarded("ZUVO_WaitingDlg_Create", static_cast<void*>(nullptr), [&] {
        RegisterControlClasses();
        return WaitingDialogs().Insert(WaitingDlg::Create(parent));
    });
}

void ZUVO_CALL ZUVO_WaitingDlg_Show(ZUVO_WAITINGDLG_HANDLE dialog, int, int, const wchar_t* text) {
    Guarded("ZUVO_WaitingDlg_Show", [&] {
        if (WaitingDlg* waiting = WaitingDialogs().Find(dialog)) {
            waiting->Show(text);
        }
    });
}

void ZUVO_CALL ZUVO_WaitingDlg_Hide(ZUVO_WAITINGDLG_HANDLE dialog) {
    Guarded("ZUVO_WaitingDlg_Hide", [&] {
        if (WaitingDlg* waiting = WaitingDialogs().Find(dialog)) {
            waiting->Hide();
        }
    });
}

void ZUVO_CALL ZUVO_WaitingDlg_Destroy(ZUVO_WAITINGDLG_HANDLE dialog) {
    Guarded("ZUVO_WaitingDlg_Destroy", [&] { WaitingDialogs().Take(dialog).reset(); });
}

ZUVO_EULADLG_HANDLE ZUVO_CALL ZUVO_EULADlg_Create(HWND parent, const wchar_t* productName,
                                                  const wchar_t* secondText) {
    return Guarded("ZUVO_EULADlg_Create", static_cast<void*>(nullptr), [&]() -> void* {
        std::wstring name = productName != nullptr ? productName : L"";
        if (!zuvo::dlg::AgreementKeyPath(name)) {
            DbgOutputA(2, "ZUVO_EULADlg_Create: the product name is empty or not a key name\r\n");
            return nullptr;
        }
        return EulaDialogs().Insert(std::make_unique<EulaDlg>(
            parent, std::move(name), secondText != nullptr ? secondText : L""));
    });
}

int ZUVO_CALL ZUVO_EULADlg_CheckShowEULA(ZUVO_EULADLG_HANDLE dialog) {
    return Guarded("ZUVO_EULADlg_CheckShowEULA", 0, [&] {
        EulaDlg* eula = EulaDialogs().Find(dialog);
        return eula != nullptr && eula->CheckShowAgreement() ? 1 : 0;
    });
}

int ZUVO_CALL ZUVO_EULADlg_Show(ZUVO_EULADLG_HANDLE dialog, int mode) {
    return Guarded("ZUVO_EULADlg_Show", 0, [&] {
        EulaDlg* eula = EulaDialogs().Find(dialog);
        if (eula == nullptr) {
            return 0;
        }
        if (mode != ZUVO_EULADLG_SHOW_ABOUT) {
            DbgOutputA(2, "ZUVO_EULADlg_Show: unknown mode %d\r\n", mode);
            return 0;
        }
        return eula->ShowAbout() ? 1 : 0;
    });
}

void ZUVO_CALL ZUVO_EULADlg_Destroy(ZUVO_EULADLG_HANDLE dialog) {
    Guarded("ZUVO_EULADlg_Destroy", [&] { EulaDialogs().Take(dialog).reset(); });
}

int ZUVO_CALL ZUVO_DetectDeviceDlg_DoModal(HWND parent, int* sourceType, CBaseStringA* deviceText,
                                           CBaseStringA* secondText, int* deviceNumber) {
    ClearDeviceOutputs(sourceType, deviceText, secondText, deviceNumber);
    return Guarded("ZUVO_DetectDeviceDlg_DoModal", 0, [&] {
        RegisterControlClasses();
        zuvo::dlg::DetectDeviceDlg dialog(kMinimumDetectionTime);
        std::optional<zuvo::dlg::FoundDevice> found = dialog.Run(parent);
        if (!found) {
            return 0;
        }
        if (sourceType != nullptr) {
            *sourceType = found->sourceType;
        }
        if (deviceText != nullptr) {
            deviceText->Format("%s", found->deviceText.c_str());
        }
        if (secondText != nullptr) {
            secondText->Format("%s", found->secondText.c_str());
        }
        if (deviceNumber != nullptr) {
            *deviceNumber = found->deviceNumber;
        }
        return 1;
    });
}

int ZUVO_CALL ZUVO_RegisterSettingDlg_DoModal(HWND parent, tagRADARPARAMETER* record) {
    return Guarded("ZUVO_RegisterSettingDlg_DoModal", static_cast<int>(IDCANCEL), [&] {
        if (record == nullptr) {
            DbgOutputA(2, "ZUVO_RegisterSettingDlg_DoModal: no record\r\n");
            return static_cast<int>(IDCANCEL);
        }
        RegisterControlClasses();
        zuvo::dlg::RegisterSettingDlg dialog(*record);
        return static_cast<int>(dialog.Run(parent));
    });
}

}  // extern "C"
