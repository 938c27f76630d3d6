#include "app/FolderBrowser.h"

#include <shlobj.h>

namespace zuvo::app {

namespace {

struct BrowseStart {
    HWND owner;
    const wchar_t* folder;
};

void CentreOver(HWND window, HWND owner) {
    RECT own;
    RECT ownerRect;
    if (owner == nullptr || !GetWindowRect(window, &own) || !GetWindowRect(owner, &ownerRect)) {
        return;
    }
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    const int x = ownerRect.left + (ownerRect.right - ownerRect.left - width) / 2;
    const int y = ownerRect.top + (ownerRect.bottom - ownerRect.top - height) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CALLBACK OnBrowseEvent(HWND browser, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED) {
        const auto* start = reinterpret_cast<const BrowseStart*>(data);
        SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(start->folder));
        CentreOver(browser, start->owner);
    }
    return 0;
}

}  // namespace

bool BrowseForFolder(HWND owner, const std::wstring& initialFolder, std::wstring& chosen) {
    BrowseStart start{owner, initialFolder.c_str()};
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pszDisplayName = displayName;
    info.lpfn = OnBrowseEvent;
    info.lParam = reinterpret_cast<LPARAM>(&start);
    PIDLIST_ABSOLUTE picked = SHBrowseForFolderW(&info);
    if (picked == nullptr) {
        return false;
    }
    wchar_t path[MAX_PATH] = {};
    const bool isFolder = SHGetPathFromIDListW(picked, path) != FALSE;
    CoTaskMemFree(picked);
    if (!isFolder) {
        return false;
    }
    chosen = path;
    return true;
}

}  // namespace zuvo::app
