#include "settings/LanguageSetting.h"

#include "settings/CodePage.h"

namespace zuvo::settings {

std::wstring LanguageLocaleName(const char* text) {
    if (text == nullptr || *text == '\0') {
        return std::wstring();
    }
    if (NamesMatch(text, "ENG")) {
        return L"en-US";
    }
    if (NamesMatch(text, "CHS")) {
        return L"zh-cn";
    }
    if (NamesMatch(text, "CHT")) {
        return L"zh-tw";
    }
    std::wstring name;
    if (!AnsiToWide(text, name)) {
        return std::wstring();
    }
    if (name.size() > kMaxLocaleNameLength) {
        name.resize(kMaxLocaleNameLength);
    }
    return name;
}

std::wstring ReadLanguageLocale(const XMLParser& document) {
    return LanguageLocaleName(document.GetRootNode().GetAttributeText("Language"));
}

}  // namespace zuvo::settings
