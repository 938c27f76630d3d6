#include "dialog_driver.h"

#include <windows.h>

#include <commctrl.h>
#include <gdiplus.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/Handles.h"

namespace dlgtest {

namespace {

struct DialogSearch {
    const std::wstring* caption;
    bool visibleOnly;
    HWND found;
};

// The caption without sending WM_GETTEXT: the search runs while the window's thread may be
// waiting for this one, and a sent message would then wait for ever.
std::wstring StoredCaption(HWND window) {
    wchar_t text[256] = {};
    InternalGetWindowText(window, text, 256);
    return text;
}

BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<DialogSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (process == GetCurrentProcessId() && std::wstring(className) == L"#32770" &&
        (!search->visibleOnly || IsWindowVisible(window)) &&
        StoredCaption(window) == *search->caption) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CancelDialog(HWND window, LPARAM) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (process == GetCurrentProcessId() && std::wstring(className) == L"#32770" &&
        IsWindowVisible(window)) {
        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    }
    return TRUE;
}

HWND Find(const std::wstring& caption, bool visibleOnly) {
    DialogSearch search{&caption, visibleOnly, nullptr};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The PNG encoder of GDI+, which the test program's main runs for the whole program.
bool PngEncoder(CLSID* clsid) {
    UINT count = 0;
    UINT size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    std::vector<BYTE> buffer(size);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, size, encoders);
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(encoders[i].MimeType) == L"image/png") {
            *clsid = encoders[i].Clsid;
            return true;
        }
    }
    return false;
}

}  // namespace

HWND WaitForDialog(const std::wstring& caption, std::chrono::milliseconds limit) {
    auto end = std::chrono::steady_clock::now() + limit;
    do {
        if (HWND found = Find(caption, true)) {
            return found;
        }
        Sleep(10);
    } while (std::chrono::steady_clock::now() < end);
    return nullptr;
}

HWND FindDialog(const std::wstring& caption) {
    return Find(caption, false);
}

bool WaitUntilGone(HWND window, std::chrono::milliseconds limit) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (IsWindow(window)) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        Sleep(10);
    }
    return true;
}

std::wstring WindowText(HWND window) {
    wchar_t text[4096] = {};
    GetWindowTextW(window, text, 4096);
    return text;
}

std::wstring ItemText(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    int length = GetWindowTextLengthW(item);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(item, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
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

void SaveScreenshot(HWND window, const std::wstring& name) {
    RECT rect{};
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    CLSID png{};
    ASSERT_TRUE(width > 0 && height > 0 && PngEncoder(&png));
    // Let the window finish painting before it is copied.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(100);
    zuvo::WindowDc source(window, true);
    zuvo::UniqueMemoryDc memory(CreateCompatibleDC(source.get()));
    zuvo::UniqueBitmap bitmap(CreateCompatibleBitmap(source.get(), width, height));
    {
        zuvo::SelectGuard select(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, width, height, source.get(), 0, 0, SRCCOPY);
    }
    CreateDirectoryW(L"artefacts", nullptr);
    auto picture = std::make_unique<Gdiplus::Bitmap>(bitmap.get(), nullptr);
    std::wstring path = L"artefacts\\" + name + L".png";
    EXPECT_EQ(picture->Save(path.c_str(), &png, nullptr), Gdiplus::Ok) << "screenshot";
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
        EnumWindows(CancelDialog, 0);
        return;
    }
    m_action(dialog);
    if (!WaitUntilGone(dialog)) {
        ADD_FAILURE() << "the dialog stayed open";
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
}

}  // namespace dlgtest
