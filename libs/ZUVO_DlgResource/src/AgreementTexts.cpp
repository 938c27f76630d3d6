#include "AgreementTexts.h"

#include <string_view>
#include <vector>

#include "DlgResourceIds.h"
#include "framework/Language.h"
#include "text/Unicode.h"

namespace zuvo::dlg {

namespace {

std::wstring WithCrLf(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size() + text.size() / 32);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r') {
            continue;
        }
        if (text[i] == L'\n') {
            out.push_back(L'\r');
        }
        out.push_back(text[i]);
    }
    return out;
}

}  // namespace

std::wstring LoadLicenceText(HMODULE module, LANGID language) {
    DWORD size = 0;
    const auto* bytes = static_cast<const char*>(FindResourceInLanguage(
        module, ZUVO_TEXT_RESOURCE_TYPE, MAKEINTRESOURCEW(IDR_LICENCE_TEXT), language, &size));
    if (bytes == nullptr) {
        return std::wstring();
    }
    std::string_view text(bytes, size);
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    return WithCrLf(zuvo::text::Utf8ToWide(text));
}

std::wstring ProgramVersionText() {
    wchar_t path[MAX_PATH] = {};
    DWORD pathLength = GetModuleFileNameW(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    DWORD size =
        pathLength > 0 && pathLength < MAX_PATH ? GetFileVersionInfoSizeW(path, &ignored) : 0;
    if (size > 0) {
        std::vector<BYTE> block(size);
        VS_FIXEDFILEINFO* info = nullptr;
        UINT infoSize = 0;
        if (GetFileVersionInfoW(path, 0, size, block.data()) &&
            VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) &&
            info != nullptr && infoSize >= sizeof(VS_FIXEDFILEINFO)) {
            wchar_t text[64];
            swprintf(text, 64, L"%u.%u.%u.%u", HIWORD(info->dwProductVersionMS),
                     LOWORD(info->dwProductVersionMS), HIWORD(info->dwProductVersionLS),
                     LOWORD(info->dwProductVersionLS));
            return text;
        }
    }
    return L"" ZUVO_DLG_BUILD_VERSION;
}

}  // namespace zuvo::dlg
