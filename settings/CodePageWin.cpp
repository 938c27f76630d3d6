#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <climits>

#include "settings/CodePage.h"
#include "settings/Utf8Text.h"

namespace zuvo::settings {

// With "Use Unicode UTF-8 for worldwide language support" switched on, the ANSI code page is
// UTF-8, for which WideCharToMultiByte refuses the default-character query used below.
static bool AnsiIsUtf8() {
    return GetACP() == CP_UTF8;
}

bool AnsiToWide(std::string_view text, std::wstring& out) {
    out.clear();
    if (text.empty()) {
        return true;
    }
    if (AnsiIsUtf8()) {
        return Utf8ToWide(text, out);
    }
    if (text.size() > INT_MAX) {
        return false;
    }
    const int length = static_cast<int>(text.size());
    const int needed =
        MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (needed <= 0) {
        return false;
    }
    out.resize(static_cast<size_t>(needed));
    return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), length, out.data(),
                               needed) == needed;
}

bool WideToAnsi(std::wstring_view text, std::string& out) {
    out.clear();
    if (text.empty()) {
        return true;
    }
    if (AnsiIsUtf8()) {
        return WideToUtf8(text, out);
    }
    if (text.size() > INT_MAX) {
        return false;
    }
    const int length = static_cast<int>(text.size());
    // Best-fit mapping would silently turn a character into a look-alike ("ā" into "a"), and
    // the default character into '?': either names another folder.
    BOOL usedDefault = FALSE;
    const int needed = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length,
                                           nullptr, 0, nullptr, &usedDefault);
    if (needed <= 0 || usedDefault) {
        return false;
    }
    out.resize(static_cast<size_t>(needed));
    const int written = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length,
                                            out.data(), needed, nullptr, &usedDefault);
    return written == needed && !usedDefault;
}

}  // namespace zuvo::settings
