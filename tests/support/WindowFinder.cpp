#include "tests/support/WindowFinder.h"

#include <cwchar>

#include "tests/support/WaitUntil.h"

namespace zuvo::test {

namespace {

constexpr wchar_t kDialogClass[] = L"#32770";
constexpr std::chrono::milliseconds kPoll(10);

struct Search {
    const WindowQuery* query;
    bool firstOnly;
    std::vector<HWND> found;
};

bool Matches(HWND window, const WindowQuery& query) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (query.processId != 0 && owner != query.processId) {
        return false;
    }
    if (query.className != nullptr) {
        wchar_t name[256] = {};
        GetClassNameW(window, name, 256);
        if (std::wcscmp(name, query.className) != 0) {
            return false;
        }
    }
    if (query.owner != nullptr && GetWindow(window, GW_OWNER) != query.owner) {
        return false;
    }
    if (query.visibleOnly && !IsWindowVisible(window)) {
        return false;
    }
    return query.caption == nullptr || StoredCaption(window) == query.caption;
}

// The enumeration callbacks are noexcept: an exception (out of memory) must not unwind through
// the system's EnumWindows; it ends the test program instead.
BOOL CALLBACK CollectMatch(HWND window, LPARAM parameter) noexcept {
    auto* search = reinterpret_cast<Search*>(parameter);
    if (Matches(window, *search->query)) {
        search->found.push_back(window);
        return search->firstOnly ? FALSE : TRUE;
    }
    return TRUE;
}

struct ChildSearch {
    const wchar_t* className;
    std::vector<std::wstring> texts;
    bool found = false;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM parameter) noexcept {
    auto* search = reinterpret_cast<ChildSearch*>(parameter);
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    if (search->className == nullptr || _wcsicmp(name, search->className) == 0) {
        search->found = true;
        search->texts.push_back(WindowText(child));
    }
    return TRUE;
}

std::vector<HWND> Find(const WindowQuery& query, bool firstOnly) {
    Search search{&query, firstOnly, {}};
    EnumWindows(CollectMatch, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

HWND FindTopWindow(const WindowQuery& query) {
    const std::vector<HWND> found = Find(query, true);
    return found.empty() ? nullptr : found.front();
}

std::vector<HWND> FindTopWindows(const WindowQuery& query) {
    return Find(query, false);
}

HWND WaitForTopWindow(const WindowQuery& query, std::chrono::milliseconds limit) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopWindow(query)) != nullptr; }, limit, kPoll);
    return found;
}

HWND FindProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* caption) {
    return FindTopWindow(WindowQuery{processId, className, caption});
}

HWND WaitForDialog(DWORD processId, const wchar_t* caption, DWORD timeoutMs) {
    return WaitForTopWindow(WindowQuery{processId, kDialogClass, caption, nullptr, true},
                            std::chrono::milliseconds(timeoutMs));
}

HWND WaitForDialog(const std::wstring& caption, std::chrono::milliseconds limit) {
    return WaitForDialog(GetCurrentProcessId(), caption.c_str(), static_cast<DWORD>(limit.count()));
}

HWND FindDialog(const std::wstring& caption) {
    return FindTopWindow(WindowQuery{GetCurrentProcessId(), kDialogClass, caption.c_str()});
}

bool WaitUntilGone(HWND window, std::chrono::milliseconds limit) {
    return WaitUntil([window] { return !IsWindow(window); }, limit, kPoll);
}

bool IsDialogWindow(HWND window) {
    wchar_t name[16] = {};
    return window != nullptr && GetClassNameW(window, name, 16) > 0 &&
           std::wcscmp(name, kDialogClass) == 0;
}

std::wstring WindowText(HWND window) {
    // The buffer grows until the text fits rather than asking for the length first:
    // GetWindowTextLength sends a message also to a window of another process, which
    // GetWindowText leaves alone.
    std::wstring text(256, L'\0');
    for (;;) {
        const int capacity = static_cast<int>(text.size());
        const int copied = GetWindowTextW(window, text.data(), capacity);
        if (copied < capacity - 1) {
            text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
            return text;
        }
        text.resize(text.size() * 2);
    }
}

std::wstring StoredCaption(HWND window) {
    wchar_t text[256] = {};
    InternalGetWindowText(window, text, 256);
    return text;
}

std::vector<std::wstring> ChildTexts(HWND window, const wchar_t* className) {
    ChildSearch search{className, {}};
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&search));
    return search.texts;
}

bool HasChildOfClass(HWND window, const wchar_t* className) {
    ChildSearch search{className, {}};
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring DialogStaticTexts(HWND dialog) {
    std::wstring joined;
    for (const std::wstring& text : ChildTexts(dialog, L"Static")) {
        if (text.empty()) {
            continue;
        }
        if (!joined.empty()) {
            joined += L'\n';
        }
        joined += text;
    }
    return joined;
}

void PressDialogButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace zuvo::test
