// Finding windows from a test: top-level windows by process, class, caption and owner, the
// dialogs (message boxes included) a test waits for, and their texts and buttons. Captions
// are compared as stored, without a message to the window, so a search never waits on a
// window whose thread is busy or waiting for the test.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

namespace zuvo::test {

// Which top-level windows a search takes; every field left empty takes any.
struct WindowQuery {
    DWORD processId = GetCurrentProcessId();
    const wchar_t* className = nullptr;
    const wchar_t* caption = nullptr;  // exactly
    HWND owner = nullptr;
    bool visibleOnly = false;
};

// The first top-level window that matches, or null; all of them in z-order.
HWND FindTopWindow(const WindowQuery& query);
std::vector<HWND> FindTopWindows(const WindowQuery& query);
// Waits up to limit for a matching window; null when none appeared.
HWND WaitForTopWindow(const WindowQuery& query, std::chrono::milliseconds limit);

// The top-level window of the class that belongs to the process, or null.
HWND FindProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* caption = nullptr);
// Waits up to timeoutMs for a visible dialog (class #32770, message boxes included) of the
// process with the caption; null when none appeared.
HWND WaitForDialog(DWORD processId, const wchar_t* caption, DWORD timeoutMs);
// The same for a dialog of this process.
HWND WaitForDialog(const std::wstring& caption,
                   std::chrono::milliseconds limit = std::chrono::seconds(10));
// Any dialog of this process with the caption, visible or not; null when there is none.
HWND FindDialog(const std::wstring& caption);
// Waits until the window is gone; false when it is still there after limit.
bool WaitUntilGone(HWND window, std::chrono::milliseconds limit = std::chrono::seconds(5));

bool IsDialogWindow(HWND window);
// The window's text: WM_GETTEXT for a window of this process, the stored caption for a
// window of another one.
std::wstring WindowText(HWND window);
// The caption as stored, without a message to the window.
std::wstring StoredCaption(HWND window);
// The texts of the window's child windows of the class (all classes: null), in z-order.
std::vector<std::wstring> ChildTexts(HWND window, const wchar_t* className = nullptr);
// Whether the window has a child window of the class.
bool HasChildOfClass(HWND window, const wchar_t* className);
// The texts of a dialog's static controls that are not empty, joined by line feeds (a message
// box's message).
std::wstring DialogStaticTexts(HWND dialog);
// Presses a dialog's button as a click would, without waiting for the dialog (OK: IDOK).
void PressDialogButton(HWND dialog, int id);

}  // namespace zuvo::test
