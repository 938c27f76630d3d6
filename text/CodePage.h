// Narrow text in the system's code page (the ANSI code page on Windows, UTF-8 elsewhere), by
// two rules:
// - Paths are converted exactly or not at all: a character the code page cannot hold, or a
//   byte sequence it does not define, is an error, never a look-alike ("ā" as "a") or the
//   default character '?', either of which would name another file.
// - Display text (messages, diagnostics, formatted strings) is always converted: a character
//   the code page cannot hold becomes its best-fit look-alike or '?', an undefined byte
//   sequence U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace zuvo::text {

// Whose code page narrow text is in.
enum class CodePage {
    Ansi,    // the process's ANSI code page
    Thread,  // the calling thread's ANSI code page
};

// False (out cleared) when the text cannot be converted exactly.
bool PathToWide(std::string_view narrow, std::wstring& out, CodePage page = CodePage::Ansi);
bool PathToNarrow(std::wstring_view wide, std::string& out, CodePage page = CodePage::Ansi);

std::wstring DisplayToWide(std::string_view narrow, CodePage page = CodePage::Ansi);
std::string DisplayToNarrow(std::wstring_view wide, CodePage page = CodePage::Ansi);

}  // namespace zuvo::text
