// Outside Windows the narrow code page is UTF-8.
#include "settings/CodePage.h"
#include "settings/Utf8Text.h"

namespace zuvo::settings {

bool AnsiToWide(std::string_view text, std::wstring& out) {
    return Utf8ToWide(text, out);
}

bool WideToAnsi(std::wstring_view text, std::string& out) {
    return WideToUtf8(text, out);
}

}  // namespace zuvo::settings
