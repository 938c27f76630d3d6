#include "WaitingDlg.h"

#include <commctrl.h>
#include <process.h>

#include "DlgResourceIds.h"
#include "ThreadWait.h"
#include "ZUVO_Common.h"

namespace zuvo::dlg {

namespace {

constexpr UINT kShowMessage = WM_APP + 1;  // lParam: the text
constexpr UINT kHideMessage = WM_APP + 2;
constexpr UINT_PTR kAnimationTimer = 1;
constexpr UINT kAnimationPeriodMs = 40;
constexpr int kBarRange = 100;
constexpr int kBarStep = 4;  // one sweep in a second

}  // namespace

std::unique_ptr<WaitingDlg> WaitingDlg::Create(HWND parent) {
    std::unique_ptr<WaitingDlg> dialog(new WaitingDlg(parent));
    dialog->m_ready.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!dialog->m_ready) {
        return nullptr;
    }
    uintptr_t thread =
        _beginthreadex(nullptr, 0, ThreadEntry, dialog.get(), 0, &dialog->m_threadId);
    if (thread == 0) {
        DbgOutputA(2, "ZUVO_WaitingDlg: no thread for the window\r\n");
        return nullptr;
    }
    dialog->m_thread.reset(reinterpret_cast<HANDLE>(thread));
    // The thread sets m_ready once its window exists, or ends when it could not make one.
    HANDLE events[] = {dialog->m_ready.get(), dialog->m_thread.get()};
    WaitAnsweringSentMessages(events, 2);
    if (dialog->m_handle == nullptr) {
        return nullptr;  // the destructor waits for the ended thread
    }
    return dialog;
}

WaitingDlg::WaitingDlg(HWND parent) : m_parent(parent) {}

WaitingDlg::~WaitingDlg() {
    if (m_thread) {
        PostThreadMessageW(m_threadId, WM_QUIT, 0, 0);
        WaitAnsweringSentMessages(m_thread.get());
    }
}

void WaitingDlg::Show(const wchar_t* text) {
    SendMessageW(m_handle, kShowMessage, 0, reinterpret_cast<LPARAM>(text != nullptr ? text : L""));
}

void WaitingDlg::Hide() {
    SendMessageW(m_handle, kHideMessage, 0, 0);
}

unsigned __stdcall WaitingDlg::ThreadEntry(void* self) {
    auto* dialog = static_cast<WaitingDlg*>(self);
    try {
        dialog->RunThread();
    } catch (...) {
        DbgOutputA(2, "ZUVO_WaitingDlg: window thread failed\r\n");
    }
    if (dialog->Window() != nullptr) {
        DestroyWindow(dialog->Window());
    }
    SetEvent(dialog->m_ready.get());
    return 0;
}

void WaitingDlg::RunThread() {
    if (!CreateModeless(m_parent, IDD_WAITING)) {
        return;
    }
    m_handle = Window();
    SetEvent(m_ready.get());
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

INT_PTR WaitingDlg::OnMessage(UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            // The window has no caption; its title still names it (task switchers, automation).
            SetWindowTextW(Window(), Text(IDS_WAITING_TITLE).c_str());
            SendDlgItemMessageW(Window(), IDC_WAITING_PROGRESS, PBM_SETRANGE32, 0, kBarRange);
            return FALSE;  // no focus: the window never takes the activation from its parent
        case kShowMessage:
            ShowOnThread(reinterpret_cast<const wchar_t*>(lParam));
            return TRUE;
        case kHideMessage:
            HideOnThread();
            return TRUE;
        case WM_TIMER:
            Animate();
            return TRUE;
        case WM_MOUSEACTIVATE:
            SetWindowLongPtrW(Window(), DWLP_MSGRESULT, MA_NOACTIVATE);
            return TRUE;
        case WM_CLOSE:
            return TRUE;  // only its owner's Destroy ends it
        default:
            return FALSE;
    }
}

void WaitingDlg::ShowOnThread(const wchar_t* text) {
    SetItemText(IDC_WAITING_TEXT, text);
    CentreOn(m_parent);
    SetWindowPos(Window(), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetTimer(Window(), kAnimationTimer, kAnimationPeriodMs, nullptr);
    UpdateWindow(Window());
}

void WaitingDlg::HideOnThread() {
    KillTimer(Window(), kAnimationTimer);
    ShowWindow(Window(), SW_HIDE);
}

void WaitingDlg::Animate() {
    m_position = (m_position + kBarStep) % (kBarRange + 1);
    SendDlgItemMessageW(Window(), IDC_WAITING_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(m_position),
                        0);
}

}  // namespace zuvo::dlg
