#include "tests/support/DialogDriver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <utility>

#include "tests/support/WindowFinder.h"

namespace zuvo::test {

std::wstring ItemText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}

void SetItemText(HWND dialog, int id, const std::wstring& text) {
    SetDlgItemTextW(dialog, id, text.c_str());
}

void Click(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    ASSERT_NE(button, nullptr) << "no control " << id;
    ASSERT_TRUE(IsWindowEnabled(button)) << "button " << id << " is disabled";
    SendMessageW(button, BM_CLICK, 0, 0);
}

int ListRowCount(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

std::wstring ListCell(HWND list, int row, int column) {
    wchar_t text[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 256;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

void SelectListRow(HWND list, int row) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

DialogDriver::DialogDriver(std::wstring caption, std::function<void(HWND)> action)
    : m_caption(std::move(caption)), m_action(std::move(action)), m_thread([this] { Run(); }) {}

DialogDriver::~DialogDriver() {
    Finish();
}

bool DialogDriver::Finish() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
    return m_found;
}

void DialogDriver::Run() {
    HWND dialog = WaitForDialog(m_caption);
    m_found = dialog != nullptr;
    if (dialog == nullptr) {
        // Whatever did open must not keep the test thread in its modal loop.
        WindowQuery visibleDialogs;
        visibleDialogs.className = L"#32770";
        visibleDialogs.visibleOnly = true;
        for (HWND other : FindTopWindows(visibleDialogs)) {
            PostMessageW(other, WM_COMMAND, IDCANCEL, 0);
        }
        return;
    }
    m_action(dialog);
    if (!WaitUntilGone(dialog)) {
        ADD_FAILURE() << "the dialog stayed open";
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
}

}  // namespace zuvo::test
