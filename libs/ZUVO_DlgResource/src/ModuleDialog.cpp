#include "ModuleDialog.h"

#include <exception>

#include "WindowPlacement.h"
#include "ZUVO_Common.h"
#include "framework/Language.h"

namespace zuvo::dlg {

HMODULE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

ModuleDialog::~ModuleDialog() {
    if (m_window != nullptr && !m_modal &&
        GetWindowThreadProcessId(m_window, nullptr) == GetCurrentThreadId()) {
        DestroyWindow(m_window);
    }
}

INT_PTR ModuleDialog::RunModal(HWND parent, UINT templateId) {
    m_language = CurrentUiLanguage();
    const DLGTEMPLATE* dialogTemplate = FindDialogTemplate(ThisModule(), templateId, m_language);
    if (dialogTemplate == nullptr) {
        DbgOutputA(2, "ZUVO_DlgResource: dialog template %u missing\r\n", templateId);
        return -1;
    }
    m_modal = true;
    INT_PTR result = DialogBoxIndirectParamW(ThisModule(), dialogTemplate, parent, Procedure,
                                             reinterpret_cast<LPARAM>(this));
    if (result == -1) {
        DbgOutputA(2, "ZUVO_DlgResource: dialog %u failed, error %lu\r\n", templateId,
                   GetLastError());
    }
    return result;
}

bool ModuleDialog::CreateModeless(HWND parent, UINT templateId) {
    m_language = CurrentUiLanguage();
    const DLGTEMPLATE* dialogTemplate = FindDialogTemplate(ThisModule(), templateId, m_language);
    if (dialogTemplate == nullptr) {
        DbgOutputA(2, "ZUVO_DlgResource: dialog template %u missing\r\n", templateId);
        return false;
    }
    m_modal = false;
    HWND window = CreateDialogIndirectParamW(ThisModule(), dialogTemplate, parent, Procedure,
                                             reinterpret_cast<LPARAM>(this));
    if (window == nullptr || m_window == nullptr) {
        DbgOutputA(2, "ZUVO_DlgResource: dialog %u failed, error %lu\r\n", templateId,
                   GetLastError());
        return false;
    }
    return true;
}

std::wstring ModuleDialog::Text(UINT id) const {
    return LoadStringInLanguage(ThisModule(), id, m_language);
}

void ModuleDialog::SetItemText(int id, const std::wstring& text) const {
    SetDlgItemTextW(m_window, id, text.c_str());
}

std::wstring ModuleDialog::ItemText(int id) const {
    HWND item = GetDlgItem(m_window, id);
    int length = GetWindowTextLengthW(item);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(item, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

void ModuleDialog::CentreOn(HWND anchor) const {
    RECT own{};
    GetWindowRect(m_window, &own);
    HMONITOR monitor =
        MonitorFromWindow(anchor != nullptr ? anchor : m_window, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(monitor, &info)) {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
    }
    RECT anchorRect = info.rcWork;
    if (anchor != nullptr && IsWindowVisible(anchor) && !IsIconic(anchor)) {
        GetWindowRect(anchor, &anchorRect);
    }
    const ZRect anchorBox{anchorRect.left, anchorRect.top, anchorRect.right, anchorRect.bottom};
    const ZRect workBox{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
    ZRect placed =
        zuvo::dlg::CentreOn(own.right - own.left, own.bottom - own.top, anchorBox, workBox);
    SetWindowPos(m_window, nullptr, placed.left, placed.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK ModuleDialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ModuleDialog* dialog = nullptr;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<ModuleDialog*>(lParam);
        dialog->m_window = window;
        SetWindowLongPtrW(window, DWLP_USER, lParam);
    } else {
        dialog = reinterpret_cast<ModuleDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    }
    if (dialog == nullptr) {
        return FALSE;  // messages before WM_INITDIALOG (WM_SETFONT, ...)
    }
    INT_PTR result = dialog->Dispatch(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        dialog->m_window = nullptr;
    }
    return result;
}

INT_PTR ModuleDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    // No exception may unwind through Windows' dialog manager.
    try {
        return OnMessage(message, wParam, lParam);
    } catch (const std::exception& e) {
        DbgOutputA(2, "ZUVO_DlgResource: message 0x%04X failed: %s\r\n", message, e.what());
    } catch (...) {
        DbgOutputA(2, "ZUVO_DlgResource: message 0x%04X failed\r\n", message);
    }
    if (message == WM_INITDIALOG) {
        // A window that could not be set up is closed rather than left half made.
        if (m_modal) {
            EndDialog(m_window, -1);
        } else {
            DestroyWindow(m_window);
        }
    }
    return FALSE;
}

}  // namespace zuvo::dlg
