#include "framework/Dialog.h"

#include <exception>

#include "ZUVO_Common.h"
#include "framework/Language.h"

namespace zuvo {

namespace {

// The dialog a message belongs to: the top-level window of its target when that is one of
// our dialogs (pop-ups such as balloons and message boxes are left to their own handling).
HWND DialogOf(HWND window) noexcept {
    if (window == nullptr) {
        return nullptr;
    }
    HWND root = GetAncestor(window, GA_ROOT);
    return dynamic_cast<Dialog*>(Window::FromHandle(root)) != nullptr ? root : nullptr;
}

// Puts the visible windows the owner owns (other than except) back above it. Windows keeps
// owned windows above their owner whatever is activated; Wine can stack an owner that is
// activated again above them, and the modeless window disappears behind it.
void RaiseOwnedWindows(HWND owner, HWND except) noexcept {
    struct Search {
        HWND owner;
        HWND except;
    } search{owner, except};
    EnumThreadWindows(
        GetWindowThreadProcessId(owner, nullptr),
        [](HWND window, LPARAM parameter) -> BOOL {
            const auto* wanted = reinterpret_cast<const Search*>(parameter);
            if (window != wanted->except && GetWindow(window, GW_OWNER) == wanted->owner &&
                IsWindowVisible(window)) {
                SetWindowPos(window, HWND_TOP, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
}

}  // namespace

Dialog::Dialog(UINT templateId, HMODULE resources) noexcept
    : m_templateId(templateId),
      m_resources(resources != nullptr ? resources : GetModuleHandleW(nullptr)) {}

Dialog::~Dialog() {
    DestroyDialogWindow();
}

void Dialog::DestroyDialogWindow() noexcept {
    // The dialog window is ours although it is reached through a subclass: destroy it (its
    // WM_NCDESTROY forgets the link), rather than only giving it back.
    if (HWND dialog = GetSafeHwnd()) {
        DestroyWindow(dialog);
    }
}

HWND Dialog::CreateFromTemplate(HWND owner) {
    const DLGTEMPLATE* found = FindDialogTemplate(m_resources, m_templateId, CurrentUiLanguage());
    if (found == nullptr) {
        DbgOutputA(2, "Dialog: template %u not found\r\n", m_templateId);
        return nullptr;
    }
    return CreateDialogIndirectParamW(m_resources, found, owner, DialogProcedure,
                                      reinterpret_cast<LPARAM>(this));
}

INT_PTR Dialog::DoModal(HWND owner) {
    m_modal = true;
    m_result = -1;
    // Disabling the owner before creating keeps it from being activated in between.
    const bool ownerWasEnabled = owner != nullptr && IsWindowEnabled(owner);
    const HWND activeBefore = GetActiveWindow();
    if (ownerWasEnabled) {
        EnableWindow(owner, FALSE);
    }
    const HWND dialog = CreateFromTemplate(owner);
    if (dialog == nullptr || GetSafeHwnd() != dialog) {
        if (ownerWasEnabled) {
            EnableWindow(owner, TRUE);
        }
        m_modal = false;
        return -1;
    }
    m_modalRunning = true;
    ShowWindow(dialog, SW_SHOW);
    MSG message;
    while (m_modalRunning) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // WM_QUIT ends the run and is left for the outer loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got == -1) {
            break;
        }
        PumpModalMessage(message);
    }
    m_modalRunning = false;
    // Hidden first, so that nothing activates it again while the owner comes back.
    SetWindowPos(dialog, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    if (ownerWasEnabled) {
        EnableWindow(owner, TRUE);
        // Back to the window the operator came from: the owner, or a modeless window it owns
        // (the dialog may have been opened from one). Activating the owner instead would, under
        // Wine, stack it above the modeless window it owns and hide that window.
        const bool cameFromOwned = activeBefore != nullptr && activeBefore != owner &&
                                   IsWindow(activeBefore) && IsWindowVisible(activeBefore) &&
                                   GetWindow(activeBefore, GW_OWNER) == owner;
        SetActiveWindow(cameFromOwned ? activeBefore : owner);
        RaiseOwnedWindows(owner, dialog);
    }
    DestroyDialogWindow();
    m_modal = false;
    return m_result;
}

bool Dialog::Create(HWND owner) {
    m_modal = false;
    const HWND dialog = CreateFromTemplate(owner);
    return dialog != nullptr && GetSafeHwnd() == dialog;
}

void Dialog::EndDialog(INT_PTR result) {
    m_result = result;
    if (m_modal) {
        m_modalRunning = false;
        // Wakes the loop if it waits in GetMessage.
        PostMessageW(GetSafeHwnd(), WM_NULL, 0, 0);
    } else {
        DestroyDialogWindow();
    }
}

void Dialog::PumpMessage(MSG& message) {
    if (Window::PreTranslate(message)) {
        return;
    }
    DeliverMessage(message);
}

void Dialog::PumpModalMessage(MSG& message) {
    if (Window::PreTranslate(message)) {
        return;
    }
    const bool keystroke = message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST;
    if (keystroke && IsOwnedModeless(message.hwnd) && PreTranslateHere(message)) {
        return;
    }
    DeliverMessage(message);
}

bool Dialog::IsOwnedModeless(HWND window) const noexcept {
    const HWND self = GetSafeHwnd();
    const HWND top = window != nullptr ? GetAncestor(window, GA_ROOT) : nullptr;
    return self != nullptr && top != nullptr && top != self && GetWindow(top, GW_OWNER) == self;
}

void Dialog::DeliverMessage(MSG& message) {
    HWND dialog = DialogOf(message.hwnd);
    if (dialog != nullptr && IsDialogMessageW(dialog, &message)) {
        return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

bool Dialog::OnCommand(UINT, UINT, HWND) {
    return false;
}

LRESULT Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT reflected = 0;
    if (Window::ReflectNotification(message, wParam, lParam, &reflected)) {
        return reflected;
    }
    if (message == WM_COMMAND) {
        const UINT id = LOWORD(wParam);
        const UINT notification = HIWORD(wParam);
        const auto control = reinterpret_cast<HWND>(lParam);
        // Buttons and the dialog manager's Enter / Esc send BN_CLICKED (0).
        if (id == IDOK && notification == BN_CLICKED) {
            OnOK();
            return 0;
        }
        if (id == IDCANCEL && notification == BN_CLICKED) {
            OnCancel();
            return 0;
        }
        if (OnCommand(id, notification, control)) {
            return 0;
        }
    }
    return DefaultHandling(message, wParam, lParam);
}

INT_PTR CALLBACK Dialog::DialogProcedure(HWND dialog, UINT message, WPARAM,
                                         LPARAM lParam) noexcept {
    if (message != WM_INITDIALOG) {
        // Everything after initialisation reaches the object through its subclass first;
        // what it leaves, the dialog manager handles.
        return FALSE;
    }
    auto* object = reinterpret_cast<Dialog*>(lParam);
    if (object == nullptr || !object->SubclassWindow(dialog)) {
        return TRUE;
    }
    try {
        object->DoDataExchange();
        return object->OnInitDialog() ? TRUE : FALSE;
    } catch (const std::exception& error) {
        DbgOutputA(2, "Dialog %u: exception in initialisation: %s\r\n", object->m_templateId,
                   error.what());
    } catch (...) {
        DbgOutputA(2, "Dialog %u: exception in initialisation\r\n", object->m_templateId);
    }
    return TRUE;
}

}  // namespace zuvo
