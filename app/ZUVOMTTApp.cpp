#include "app/ZUVOMTTApp.h"

#include <commctrl.h>

#include <cwchar>
#include <memory>
#include <string>

#include "ZUVO_Common.h"
#include "app/SettingsDocument.h"
#include "app/ZUVOMTTDlg.h"
#include "framework/GdiplusSession.h"
#include "framework/Handles.h"
#include "framework/Language.h"
#include "framework/ProcessSessions.h"
#include "resources/resource.h"
#include "settings/LanguageSetting.h"
#include "settings/SettingsFile.h"

namespace {

constexpr const wchar_t* kInstanceGuid = L"{7C1D2E90-5B3A-4F6E-8D21-0A9B3C4D5E6F}";
constexpr const wchar_t* kMainWindowClass = L"ZUVO_MTT";

// The main window's class: a copy of the system dialog class under the program's own name,
// so that a second instance finds the first one's window by class.
bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXW description{};
    description.cbSize = sizeof(description);
    if (!GetClassInfoExW(nullptr, L"#32770", &description)) {
        return false;
    }
    description.hInstance = instance;
    description.lpszClassName = kMainWindowClass;
    return RegisterClassExW(&description) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void BringFirstInstanceToFront() {
    if (HWND first = FindWindowW(kMainWindowClass, nullptr)) {
        if (IsIconic(first)) {
            ShowWindow(first, SW_RESTORE);
        }
        SetForegroundWindow(first);
    }
}

}  // namespace

bool CZUVOMTTApp::InitInstance() {
    wchar_t folder[ZUVO_MAX_PATH] = {};
    GetProgramPathW(0, folder);
    zuvo::settings::LoadDocument(zuvo::app::SettingsDocument(), folder);

    wchar_t instanceName[128];
    swprintf(instanceName, 128, L"Global\\%ls", kInstanceGuid);
    if (!CheckSingleInstanceW(instanceName)) {
        BringFirstInstanceToFront();
        return false;
    }

    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), 0xFF};
    InitCommonControlsEx(&controls);

    const std::wstring language = zuvo::settings::ReadLanguageLocale(zuvo::app::SettingsDocument());
    if (!language.empty()) {
        zuvo::SetUiLanguage(language.c_str());
    }

    // Held, with the name of the single-instance check, until the end of the run: declared
    // first, so that it is closed last, after the services below have stopped.
    zuvo::UniqueKernelHandle mutex;

    const zuvo::SocketSession sockets;
    if (!sockets.IsRunning()) {
        const std::wstring text = zuvo::LoadUiString(m_instance, IDS_SOCKETS_INIT_FAILED);
        MessageBoxW(nullptr, text.c_str(), nullptr, MB_OK | MB_ICONERROR);
        return false;
    }

    // The shell's folder browser needs COM on this thread.
    const zuvo::OleSession ole;

    mutex.reset(CreateMutexW(nullptr, FALSE, instanceName));
    RegisterMainWindowClass(m_instance);

    {
        // The main window and everything it drew with GDI+ go before GDI+ shuts down.
        const zuvo::GdiplusSession gdiplus;
        auto mainWindow = std::make_unique<CZUVOMTTDlg>();
        mainWindow->DoModal(nullptr);
    }
    return false;
}
