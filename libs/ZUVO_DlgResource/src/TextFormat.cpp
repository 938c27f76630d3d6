#include "TextFormat.h"

namespace zuvo::dlg {

std::wstring FormatText(std::wstring_view pattern,
                        std::initializer_list<std::wstring_view> arguments) {
    std::wstring out;
    out.reserve(pattern.size());
    for (size_t i = 0; i < pattern.size(); ++i) {
        wchar_t ch = pattern[i];
        if (ch != L'%' || i + 1 == pattern.size()) {
            out.push_back(ch);
            continue;
        }
        wchar_t next = pattern[i + 1];
        if (next == L'%') {
            out.push_back(L'%');
            ++i;
        } else if (next >= L'1' && next <= L'9' &&
                   static_cast<size_t>(next - L'1') < arguments.size()) {
            out.append(*(arguments.begin() + (next - L'1')));
            ++i;
        } else {
            out.push_back(ch);
        }
    }
    return out;
}

}  // namespace zuvo::dlg
