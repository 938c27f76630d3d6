// Narrow text of the settings file: paths are stored in the system's ANSI code page on
// Windows (so files written by earlier versions stay readable) and in UTF-8 elsewhere.
#pragma once

#include <string>
#include <string_view>

namespace zuvo::settings {

// Both answer false when the text cannot be converted exactly (an invalid byte sequence, or a
// character the code page cannot hold): a path that changed on the way would name another
// folder, so callers keep what they had instead.
bool AnsiToWide(std::string_view text, std::wstring& out);
bool WideToAnsi(std::wstring_view text, std::string& out);

}  // namespace zuvo::settings
