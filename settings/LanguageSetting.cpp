#include "settings/LanguageSetting.h"

#include "text/CodePage.h"
#include "text/Unicode.h"

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
    // A language name, like a path, is taken exactly or not at all: a look-alike names
    // another language.
    std::wstring name;
    if (!zuvo::text::PathToWide(text, name)) {
        return std::wstring();
    }
    name.resize(zuvo::text::WideFitLength(name, kMaxLocaleNameLength));
    return name;
}

std::wstring ReadLanguageLocale(const XMLParser& document) {
    return LanguageLocaleName(document.GetRootNode().GetAttributeText("Language"));
}

}  // namespace zuvo::settings
