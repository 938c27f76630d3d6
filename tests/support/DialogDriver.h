// Driving a dialog of this process from a test: read and set its controls, click its buttons,
// read its list views, and operate it from a second thread while the test thread runs it
// modally.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <functional>
#include <string>
#include <thread>

namespace zuvo::test {

std::wstring ItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const std::wstring& text);
// Clicks an enabled button like the operator; a disabled one is a test failure.
void Click(HWND dialog, int id);

// Rows of a report list view, each as its column texts.
int ListRowCount(HWND list);
std::wstring ListCell(HWND list, int row, int column);
void SelectListRow(HWND list, int row);

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

}  // namespace zuvo::test
