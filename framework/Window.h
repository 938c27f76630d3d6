// zuvo::Window: the window base of our framework. An object owns a window it created from a
// class registered here, or takes over an existing window (a dialog's control) and gives it
// back when it is destroyed.
//
// Every message of the window goes to the virtual HandleMessage, whose default is the
// window's own handling (DefWindowProc, or the taken-over control's original procedure).
// No C++ exception leaves a window procedure: the dispatcher catches it, writes a diagnostic
// line and answers the default handling.
//
// Controls draw and check themselves: the parent's procedure calls ReflectNotification (or
// ReflectDialogNotification from a dialog procedure) first, which hands WM_DRAWITEM, the
// WM_COMMAND and WM_NOTIFY notifications and the WM_CTLCOLOR* requests to the object of the
// control they concern (OnReflectedMessage). A message loop calls PreTranslate before
// IsDialogMessage, so a control can claim keys the dialog manager would otherwise take.
//
// Destruction: an owned window is destroyed by ~Window, when the derived parts of the object
// are already gone; a derived class whose handlers must see WM_DESTROY calls Destroy() in its
// own destructor. User-interface thread only.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace zuvo {

class Window {
public:
    Window() noexcept = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    // Registers a window class whose procedure is the framework's (the description's
    // lpfnWndProc and cbSize are set here). Answers true also when the class exists already
    // (ERROR_CLASS_ALREADY_EXISTS); otherwise false with the error left in GetLastError.
    static bool RegisterWindowClass(WNDCLASSEXW description) noexcept;

    // Creates a window of a class registered with RegisterWindowClass and owns it. parent is
    // the parent of a child window or the owner of a pop-up; idOrMenu the child id or menu.
    bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                  const RECT& rect, HWND parent, HMENU idOrMenu) noexcept;

    // Takes over an existing window: its messages reach HandleMessage first. Fails when this
    // object already has a window or the window already belongs to an object.
    bool SubclassWindow(HWND window) noexcept;
    bool SubclassDlgItem(int controlId, HWND parent) noexcept;
    // Gives a taken-over window back to its own procedure; answers it (null when none).
    HWND UnsubclassWindow() noexcept;
    // Destroys an owned window, gives a taken-over one back.
    void Destroy() noexcept;

    HWND GetSafeHwnd() const noexcept { return m_window; }
    // The object of a window, or null.
    static Window* FromHandle(HWND window) noexcept;

    // For a parent's window procedure: hands a notification or drawing request of a control
    // to the control's object. Answers true when the object handled it; *result then holds
    // the answer.
    static bool ReflectNotification(UINT message, WPARAM wParam, LPARAM lParam,
                                    LRESULT* result) noexcept;
    // The same for a dialog procedure: when it answers true the procedure returns *answer,
    // the control's result having been put where the dialog manager reads it.
    static bool ReflectDialogNotification(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                                          INT_PTR* answer) noexcept;
    // For a message loop: offers the message to the objects of its window and of that
    // window's parents up to the top-level window. True when one consumed it.
    static bool PreTranslate(MSG& message) noexcept;

protected:
    // One message of the window; the default is DefaultHandling. Exceptions are caught by
    // the dispatcher.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // A message the parent reflected to this control; answer true when handled.
    virtual bool OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A message about to be dispatched to this window or one of its children; answer true
    // to consume it.
    virtual bool PreTranslateMessage(MSG& message);
    // Called right after an existing window was taken over.
    virtual void OnSubclassed() {}
    // PreTranslateMessage of this object for a message of any window, exceptions caught.
    bool PreTranslateHere(MSG& message) noexcept;

    // The window's own handling: DefWindowProc, or the original procedure of a control.
    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

private:
    static LRESULT CALLBACK ClassProcedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) noexcept;
    static LRESULT CALLBACK SubclassProcedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR id,
                                              DWORD_PTR reference) noexcept;
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    bool Attach(HWND window) noexcept;
    void Forget() noexcept;

    HWND m_window = nullptr;
    bool m_subclassed = false;
};

}  // namespace zuvo
