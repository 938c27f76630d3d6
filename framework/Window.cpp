#include "framework/Window.h"

#include <commctrl.h>

#include <exception>

#include "ZUVO_Common.h"

namespace zuvo {

namespace {

// The property that leads from a window to its object.
constexpr const wchar_t* kObjectProperty = L"zuvo.Window";
constexpr UINT_PTR kSubclassId = 1;

// The control a reflected message concerns, or null when it concerns none.
HWND ControlOf(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
        case WM_COMMAND:
            // Menu and accelerator commands carry no control.
            return reinterpret_cast<HWND>(lParam);
        case WM_NOTIFY:
            return lParam != 0 ? reinterpret_cast<const NMHDR*>(lParam)->hwndFrom : nullptr;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            return wParam != 0 && item != nullptr && item->CtlType != ODT_MENU ? item->hwndItem
                                                                               : nullptr;
        }
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<HWND>(lParam);
        default:
            return nullptr;
    }
}

bool IsControlColourRequest(UINT message) noexcept {
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

void ReportException(const char* where, UINT message, const char* what) noexcept {
    DbgOutputA(2, "Window: exception in %s of message 0x%04X: %s\r\n", where, message, what);
}

}  // namespace

Window::~Window() {
    Destroy();
}

bool Window::RegisterWindowClass(WNDCLASSEXW description) noexcept {
    description.cbSize = sizeof(description);
    description.lpfnWndProc = ClassProcedure;
    if (RegisterClassExW(&description) != 0) {
        return true;
    }
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool Window::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                      const RECT& rect, HWND parent, HMENU idOrMenu) noexcept {
    if (m_window != nullptr) {
        return false;
    }
    // The procedure takes the object from the creation parameter at WM_NCCREATE.
    const HWND window = CreateWindowExW(exStyle, className, title, style, rect.left, rect.top,
                                        rect.right - rect.left, rect.bottom - rect.top, parent,
                                        idOrMenu, GetModuleHandleW(nullptr), this);
    return window != nullptr && window == m_window;
}

bool Window::SubclassWindow(HWND window) noexcept {
    if (m_window != nullptr || window == nullptr || !IsWindow(window) ||
        FromHandle(window) != nullptr) {
        return false;
    }
    if (!SetWindowSubclass(window, SubclassProcedure, kSubclassId,
                           reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    m_subclassed = true;
    if (!Attach(window)) {
        RemoveWindowSubclass(window, SubclassProcedure, kSubclassId);
        m_subclassed = false;
        return false;
    }
    try {
        OnSubclassed();
    } catch (const std::exception& error) {
        ReportException("OnSubclassed", 0, error.what());
    } catch (...) {
        ReportException("OnSubclassed", 0, "unknown exception");
    }
    return true;
}

bool Window::SubclassDlgItem(int controlId, HWND parent) noexcept {
    return SubclassWindow(GetDlgItem(parent, controlId));
}

HWND Window::UnsubclassWindow() noexcept {
    if (!m_subclassed || m_window == nullptr) {
        return nullptr;
    }
    const HWND window = m_window;
    RemoveWindowSubclass(window, SubclassProcedure, kSubclassId);
    Forget();
    return window;
}

void Window::Destroy() noexcept {
    if (m_window == nullptr) {
        return;
    }
    if (m_subclassed) {
        UnsubclassWindow();
    } else {
        // WM_NCDESTROY forgets the window.
        DestroyWindow(m_window);
        Forget();
    }
}

Window* Window::FromHandle(HWND window) noexcept {
    if (window == nullptr) {
        return nullptr;
    }
    return static_cast<Window*>(GetPropW(window, kObjectProperty));
}

bool Window::ReflectNotification(UINT message, WPARAM wParam, LPARAM lParam,
                                 LRESULT* result) noexcept {
    Window* control = FromHandle(ControlOf(message, wParam, lParam));
    if (control == nullptr || result == nullptr) {
        return false;
    }
    *result = 0;
    try {
        return control->OnReflectedMessage(message, wParam, lParam, result);
    } catch (const std::exception& error) {
        ReportException("a reflected notification", message, error.what());
    } catch (...) {
        ReportException("a reflected notification", message, "unknown exception");
    }
    return false;
}

bool Window::ReflectDialogNotification(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                                       INT_PTR* answer) noexcept {
    LRESULT result = 0;
    if (answer == nullptr || !ReflectNotification(message, wParam, lParam, &result)) {
        return false;
    }
    // A dialog procedure answers control colour requests directly (the brush); every other
    // result goes through DWLP_MSGRESULT.
    if (IsControlColourRequest(message)) {
        *answer = static_cast<INT_PTR>(result);
    } else {
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
        *answer = TRUE;
    }
    return true;
}

bool Window::PreTranslate(MSG& message) noexcept {
    for (HWND window = message.hwnd; window != nullptr; window = GetParent(window)) {
        if (Window* object = FromHandle(window)) {
            try {
                if (object->PreTranslateMessage(message)) {
                    return true;
                }
            } catch (const std::exception& error) {
                ReportException("PreTranslateMessage", message.message, error.what());
            } catch (...) {
                ReportException("PreTranslateMessage", message.message, "unknown exception");
            }
        }
        if ((GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) == 0) {
            break;
        }
    }
    return false;
}

bool Window::PreTranslateHere(MSG& message) noexcept {
    try {
        return PreTranslateMessage(message);
    } catch (const std::exception& error) {
        ReportException("PreTranslateMessage", message.message, error.what());
    } catch (...) {
        ReportException("PreTranslateMessage", message.message, "unknown exception");
    }
    return false;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultHandling(message, wParam, lParam);
}

bool Window::OnReflectedMessage(UINT, WPARAM, LPARAM, LRESULT*) {
    return false;
}

bool Window::PreTranslateMessage(MSG&) {
    return false;
}

LRESULT Window::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (m_subclassed) {
        return DefSubclassProc(m_window, message, wParam, lParam);
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

LRESULT CALLBACK Window::ClassProcedure(HWND window, UINT message, WPARAM wParam,
                                        LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* object = static_cast<Window*>(create->lpCreateParams);
        if (object != nullptr && !object->Attach(window)) {
            return FALSE;
        }
    }
    if (Window* object = FromHandle(window)) {
        return object->Dispatch(message, wParam, lParam);
    }
    // Messages before WM_NCCREATE (WM_GETMINMAXINFO), or a window made without an object.
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK Window::SubclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR reference) noexcept {
    auto* object = reinterpret_cast<Window*>(reference);
    if (object == nullptr || object->m_window != window) {
        return DefSubclassProc(window, message, wParam, lParam);
    }
    return object->Dispatch(message, wParam, lParam);
}

LRESULT Window::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    LRESULT result = 0;
    try {
        result = HandleMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        ReportException("HandleMessage", message, error.what());
        result = DefaultHandling(message, wParam, lParam);
    } catch (...) {
        ReportException("HandleMessage", message, "unknown exception");
        result = DefaultHandling(message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        // The window is gone: a taken-over control loses its link to this object too.
        if (m_subclassed) {
            RemoveWindowSubclass(m_window, SubclassProcedure, kSubclassId);
        }
        Forget();
    }
    return result;
}

bool Window::Attach(HWND window) noexcept {
    if (!SetPropW(window, kObjectProperty, this)) {
        return false;
    }
    m_window = window;
    return true;
}

void Window::Forget() noexcept {
    if (m_window != nullptr) {
        RemovePropW(m_window, kObjectProperty);
    }
    m_window = nullptr;
    m_subclassed = false;
}

}  // namespace zuvo
