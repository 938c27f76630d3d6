#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <climits>

#include "text/CodePage.h"
#include "text/Unicode.h"

namespace zuvo::text {

namespace {

UINT CodePageId(CodePage page) {
    return page == CodePage::Thread ? CP_THREAD_ACP : CP_ACP;
}

// With "Use Unicode UTF-8 for worldwide language support" switched on, the ANSI code page is
// UTF-8. Our own UTF-8 rules apply to it then (the same in every module), and
// WideCharToMultiByte would refuse the default-character query the path rule needs.
bool IsUtf8(CodePage page) {
    if (page == CodePage::Thread) {
        CPINFOEXW info{};
        return GetCPInfoExW(CP_THREAD_ACP, 0, &info) && info.CodePage == CP_UTF8;
    }
    return GetACP() == CP_UTF8;
}

// The wide text of narrow, flags as MultiByteToWideChar takes them; false when it fails.
bool ToWide(UINT codePage, DWORD flags, std::string_view narrow, std::wstring& out) {
    out.clear();
    if (narrow.empty()) {
        return true;
    }
    if (narrow.size() > INT_MAX) {
        return false;
    }
    const int length = static_cast<int>(narrow.size());
    const int needed = MultiByteToWideChar(codePage, flags, narrow.data(), length, nullptr, 0);
    if (needed <= 0) {
        return false;
    }
    out.resize(static_cast<size_t>(needed));
    if (MultiByteToWideChar(codePage, flags, narrow.data(), length, out.data(), needed) != needed) {
        out.clear();
        return false;
    }
    return true;
}

// The narrow text of wide. Exact: no best fit and no default character, else false.
bool ToNarrow(UINT codePage, bool exact, std::wstring_view wide, std::string& out) {
    out.clear();
    if (wide.empty()) {
        return true;
    }
    if (wide.size() > INT_MAX) {
        return false;
    }
    const int length = static_cast<int>(wide.size());
    const DWORD flags = exact ? WC_NO_BEST_FIT_CHARS : 0;
    BOOL usedDefault = FALSE;
    BOOL* const defaultFlag = exact ? &usedDefault : nullptr;
    const int needed =
        WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, nullptr, defaultFlag);
    if (needed <= 0 || usedDefault) {
        return false;
    }
    out.resize(static_cast<size_t>(needed));
    const int written = WideCharToMultiByte(codePage, flags, wide.data(), length, out.data(),
                                            needed, nullptr, defaultFlag);
    if (written != needed || usedDefault) {
        out.clear();
        return false;
    }
    return true;
}

}  // namespace

bool PathToWide(std::string_view narrow, std::wstring& out, CodePage page) {
    if (IsUtf8(page)) {
        return Utf8ToWideExact(narrow, out);
    }
    return ToWide(CodePageId(page), MB_ERR_INVALID_CHARS, narrow, out);
}

bool PathToNarrow(std::wstring_view wide, std::string& out, CodePage page) {
    if (IsUtf8(page)) {
        return WideToUtf8Exact(wide, out);
    }
    return ToNarrow(CodePageId(page), true, wide, out);
}

std::wstring DisplayToWide(std::string_view narrow, CodePage page) {
    if (IsUtf8(page)) {
        return Utf8ToWide(narrow);
    }
    std::wstring out;
    ToWide(CodePageId(page), 0, narrow, out);
    return out;
}

std::string DisplayToNarrow(std::wstring_view wide, CodePage page) {
    if (IsUtf8(page)) {
        return WideToUtf8(wide);
    }
    std::string out;
    ToNarrow(CodePageId(page), false, wide, out);
    return out;
}

}  // namespace zuvo::text
