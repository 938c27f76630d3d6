// The interface language for the life of the object (a test); en-US again afterwards, so the
// next test starts in the language every test expects by default.
#pragma once

#include "framework/Language.h"

namespace zuvo::test {

class LanguageScope {
public:
    explicit LanguageScope(const wchar_t* locale) { SetUiLanguage(locale); }
    ~LanguageScope() { SetUiLanguage(L"en-US"); }
    LanguageScope(const LanguageScope&) = delete;
    LanguageScope& operator=(const LanguageScope&) = delete;
};

}  // namespace zuvo::test
