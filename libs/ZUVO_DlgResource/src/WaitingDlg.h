// The waiting window: a small modeless window with a text and an animated progress bar, shown
// centred on its parent while the program is busy.
//
// The program shows it just before a call that blocks its user-interface thread (opening a
// device), so the window runs on a thread of its own: its bar keeps moving and it repaints
// while the caller is blocked. The caller's calls reach that thread with SendMessage, so the
// window is visible (or hidden) when they return.
#pragma once

#include <memory>

#include "ModuleDialog.h"
#include "framework/Handles.h"

namespace zuvo::dlg {

class WaitingDlg : public ModuleDialog {
public:
    // The hidden window, owned by parent (which may be null); null when it could not be made.
    static std::unique_ptr<WaitingDlg> Create(HWND parent);
    // Destroys the window and ends its thread.
    ~WaitingDlg() override;

    void Show(const wchar_t* text);
    void Hide();
    // The window, for the caller's thread.
    HWND Handle() const { return m_handle; }

private:
    explicit WaitingDlg(HWND parent);
    static unsigned __stdcall ThreadEntry(void* self);
    void RunThread();
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void ShowOnThread(const wchar_t* text);
    void HideOnThread();
    void Animate();

    const HWND m_parent;
    HWND m_handle = nullptr;  // written by the thread before m_ready is set
    UniqueKernelHandle m_ready;
    UniqueKernelHandle m_thread;
    unsigned m_threadId = 0;
    int m_position = 0;  // window thread only
};

}  // namespace zuvo::dlg
