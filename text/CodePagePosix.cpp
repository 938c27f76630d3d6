// Outside Windows narrow text is UTF-8 in every code page.
#include "text/CodePage.h"
#include "text/Unicode.h"

namespace zuvo::text {

bool PathToWide(std::string_view narrow, std::wstring& out, CodePage) {
    return Utf8ToWideExact(narrow, out);
}

bool PathToNarrow(std::wstring_view wide, std::string& out, CodePage) {
    return WideToUtf8Exact(wide, out);
}

std::wstring DisplayToWide(std::string_view narrow, CodePage) {
    return Utf8ToWide(narrow);
}

std::string DisplayToNarrow(std::wstring_view wide, CodePage) {
    return WideToUtf8(wide);
}

}  // namespace zuvo::text
