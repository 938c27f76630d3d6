#include "AgreementKey.h"

namespace zuvo::dlg {

namespace {

// Registry key names are at most 255 characters.
constexpr size_t kMaxKeyNameLength = 255;

}  // namespace

std::optional<std::wstring> AgreementKeyPath(std::wstring_view productName) {
    if (productName.empty() || productName.size() > kMaxKeyNameLength) {
        return std::nullopt;
    }
    for (wchar_t ch : productName) {
        if (ch == L'\\' || ch < 0x20 || ch == 0x7F) {
            return std::nullopt;
        }
    }
    return L"Software\\ZUVO\\" + std::wstring(productName);
}

}  // namespace zuvo::dlg
