// A dialog of this library, built from a template of the library's own resources in the
// program's interface language. The language is fixed when the window is made, so every text
// of one window comes from the same language.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

namespace zuvo::dlg {

// The library's own module (resources live there, not in the program).
HMODULE ThisModule();

class ModuleDialog {
public:
    ModuleDialog(const ModuleDialog&) = delete;
    ModuleDialog& operator=(const ModuleDialog&) = delete;
    // Destroys a modeless window that is still open (on its own thread only).
    virtual ~ModuleDialog();

    HWND Window() const { return m_window; }

protected:
    ModuleDialog() = default;

    // Runs the template modally; answers the EndDialog result, or -1 when the window could
    // not be made.
    INT_PTR RunModal(HWND parent, UINT templateId);
    // Makes the template as a hidden modeless window of the calling thread.
    bool CreateModeless(HWND parent, UINT templateId);

    LANGID Language() const { return m_language; }
    // A string of the library in the window's language.
    std::wstring Text(UINT id) const;
    void SetItemText(int id, const std::wstring& text) const;
    std::wstring ItemText(int id) const;
    // Moves the window to the middle of anchor (the screen's work area when anchor is null,
    // hidden or minimised), keeping it on the screen.
    void CentreOn(HWND anchor) const;

    // The window's messages, answered as a dialog procedure answers. WM_INITDIALOG arrives
    // here too. Exceptions are caught and logged by the caller; one in WM_INITDIALOG closes
    // the window again.
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window = nullptr;
    LANGID m_language = 0;
    bool m_modal = false;
};

}  // namespace zuvo::dlg
