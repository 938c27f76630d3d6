// The interface language of the process and resources loaded in it.
//
// Windows picks resource languages from the preferred UI languages, but Wine 8 accepts
// SetProcessPreferredUILanguages and changes nothing. So the program, its DLLs and Windows
// agree, every resource is found by explicit language: the chosen language is recorded in
// the process environment (ZUVO_UI_LANGUAGE, a locale name such as "zh-CN"), which the
// family DLLs of this program read too, and the platform is told as well.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

namespace zuvo {

// Makes localeName ("en-US", "zh-cn", ...) the interface language of this process: the
// platform's preferred language list and ZUVO_UI_LANGUAGE. Answers false for an empty name.
bool SetUiLanguage(const wchar_t* localeName);

// The interface language: ZUVO_UI_LANGUAGE when it names a known locale, otherwise the
// platform's user interface language.
LANGID CurrentUiLanguage();

// Finds a resource in the language, falling back to the same primary language (zh-TW ->
// zh-CN), then to en-US, then to any language. Answers the resource's bytes (valid while
// the module is loaded) and size, or null.
const void* FindResourceInLanguage(HMODULE module, const wchar_t* type, const wchar_t* name,
                                   LANGID language, DWORD* size = nullptr);

// A string of the module's string table in the language (same fallbacks); empty if missing.
std::wstring LoadStringInLanguage(HMODULE module, UINT id, LANGID language);
inline std::wstring LoadUiString(HMODULE module, UINT id) {
    return LoadStringInLanguage(module, id, CurrentUiLanguage());
}

// The dialog template of the module in the language (same fallbacks), or null.
const DLGTEMPLATE* FindDialogTemplate(HMODULE module, UINT id, LANGID language);

}  // namespace zuvo
