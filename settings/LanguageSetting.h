// The "Language" attribute of the settings element: which interface language to prefer.
#pragma once

#include <string>

#include "settings/XMLParser.h"

namespace zuvo::settings {

// Longest locale name handed on, in characters.
inline constexpr size_t kMaxLocaleNameLength = 31;

// "ENG" -> "en-US", "CHS" -> "zh-cn", "CHT" -> "zh-tw" (any case); any other text is taken as
// the locale name itself (narrow code page, cut to kMaxLocaleNameLength characters). Empty for
// a null or empty text, or text that does not convert: the system's language then stays.
std::wstring LanguageLocaleName(const char* text);

// The locale name for the document's "Language" attribute (see LanguageLocaleName).
std::wstring ReadLanguageLocale(const XMLParser& document);

}  // namespace zuvo::settings
