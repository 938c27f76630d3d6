// Driving the library's windows from a test: find a dialog by caption, read and set its
// controls, click its buttons and keep a screenshot of it, from a second thread while the test
// thread runs the dialog.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace dlgtest {

// A visible dialog (class #32770) of this process with exactly this caption, waiting at most
// limit; null when none appears.
HWND WaitForDialog(const std::wstring& caption,
                   std::chrono::milliseconds limit = std::chrono::seconds(10));
// Any dialog of this process with this caption, visible or not; null when there is none.
HWND FindDialog(const std::wstring& caption);
// Waits until the window is gone; false when it is still there after limit.
bool WaitUntilGone(HWND window, std::chrono::milliseconds limit = std::chrono::seconds(5));

std::wstring WindowText(HWND window);
std::wstring ItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const std::wstring& text);
// Clicks an enabled button like the operator; a disabled one is a test failure.
void Click(HWND dialog, int id);

// Rows of a report list view, each as its column texts.
int ListRowCount(HWND list);
std::wstring ListCell(HWND list, int row, int column);
void SelectListRow(HWND list, int row);

// Saves the window as artefacts/<name>.png beside the test program.
void SaveScreenshot(HWND window, const std::wstring& name);

// Runs action on a dialog from a second thread: waits for the dialog with the caption, runs
// action on it and then expects it to close by itself. A dialog that is still open (or an
// action that failed half-way) is cancelled, so a failing test never hangs in a modal loop.
class DialogDriver {
public:
    DialogDriver(std::wstring caption, std::function<void(HWND)> action);
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;
    ~DialogDriver();  // waits for the driver thread

    // Waits for the thread; answers whether the dialog was found.
    bool Finish();

private:
    void Run();

    std::wstring m_caption;
    std::function<void(HWND)> m_action;
    bool m_found = false;
    std::thread m_thread;
};

}  // namespace dlgtest
