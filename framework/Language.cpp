#include "framework/Language.h"

#include <cwchar>

namespace zuvo {

namespace {

constexpr const wchar_t* kLanguageVariable = L"ZUVO_UI_LANGUAGE";
const LANGID kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

HRSRC FindExact(HMODULE module, const wchar_t* type, const wchar_t* name, LANGID language) {
    return FindResourceExW(module, type, name, language);
}

struct LanguageSearch {
    LANGID wanted;
    LANGID found;
    bool foundPrimary;
};

// Picks a language of the same primary language when the exact one is missing.
BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) {
    auto* search = reinterpret_cast<LanguageSearch*>(param);
    if (PRIMARYLANGID(language) == PRIMARYLANGID(search->wanted) && !search->foundPrimary) {
        search->found = language;
        search->foundPrimary = true;
    } else if (search->found == 0) {
        search->found = language;
    }
    return TRUE;
}

HRSRC FindWithFallbacks(HMODULE module, const wchar_t* type, const wchar_t* name, LANGID language) {
    if (HRSRC exact = FindExact(module, type, name, language)) {
        return exact;
    }
    LanguageSearch search{language, 0, false};
    EnumResourceLanguagesW(module, type, name, CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&search));
    if (search.foundPrimary) {
        return FindExact(module, type, name, search.found);
    }
    if (HRSRC english = FindExact(module, type, name, kEnglishUs)) {
        return english;
    }
    return search.found != 0 ? FindExact(module, type, name, search.found) : nullptr;
}

}  // namespace

bool SetUiLanguage(const wchar_t* localeName) {
    if (localeName == nullptr || *localeName == L'\0') {
        return false;
    }
    // A one-entry, double-zero-terminated list of language names.
    std::wstring list(localeName);
    list.push_back(L'\0');
    ULONG count = 0;
    SetProcessPreferredUILanguages(MUI_LANGUAGE_NAME, list.c_str(), &count);
    SetEnvironmentVariableW(kLanguageVariable, localeName);
    LCID locale = LocaleNameToLCID(localeName, 0);
    if (locale != 0) {
        SetThreadUILanguage(LANGIDFROMLCID(locale));
    }
    return true;
}

LANGID CurrentUiLanguage() {
    wchar_t name[LOCALE_NAME_MAX_LENGTH];
    DWORD n = GetEnvironmentVariableW(kLanguageVariable, name, LOCALE_NAME_MAX_LENGTH);
    if (n > 0 && n < LOCALE_NAME_MAX_LENGTH) {
        LCID locale = LocaleNameToLCID(name, 0);
        if (locale != 0) {
            return LANGIDFROMLCID(locale);
        }
    }
    return GetUserDefaultUILanguage();
}

const void* FindResourceInLanguage(HMODULE module, const wchar_t* type, const wchar_t* name,
                                   LANGID language, DWORD* size) {
    if (size != nullptr) {
        *size = 0;
    }
    HRSRC resource = FindWithFallbacks(module, type, name, language);
    if (resource == nullptr) {
        return nullptr;
    }
    HGLOBAL loaded = LoadResource(module, resource);
    if (loaded == nullptr) {
        return nullptr;
    }
    if (size != nullptr) {
        *size = SizeofResource(module, resource);
    }
    return LockResource(loaded);
}

std::wstring LoadStringInLanguage(HMODULE module, UINT id, LANGID language) {
    // Strings are stored in blocks of 16 counted strings; block id/16 + 1 holds string id.
    DWORD size = 0;
    const auto* block = static_cast<const WCHAR*>(
        FindResourceInLanguage(module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language, &size));
    if (block == nullptr) {
        return std::wstring();
    }
    const WCHAR* end = block + size / sizeof(WCHAR);
    const WCHAR* entry = block;
    for (UINT i = 0; i < (id & 15); ++i) {
        if (entry >= end) {
            return std::wstring();
        }
        entry += 1 + *entry;
    }
    if (entry >= end || entry + 1 + *entry > end) {
        return std::wstring();
    }
    return std::wstring(entry + 1, *entry);
}

const DLGTEMPLATE* FindDialogTemplate(HMODULE module, UINT id, LANGID language) {
    return static_cast<const DLGTEMPLATE*>(
        FindResourceInLanguage(module, RT_DIALOG, MAKEINTRESOURCEW(id), language));
}

}  // namespace zuvo
