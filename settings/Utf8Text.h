// Exact conversion between UTF-8 and wide text (UTF-16 where wchar_t has 16 bits, UTF-32
// elsewhere). Paths must survive a round trip unchanged, so malformed input is refused rather
// than replaced.
#pragma once

#include <string>
#include <string_view>

namespace zuvo::settings {

// False (out unspecified) on a malformed sequence: an overlong form, a surrogate code point,
// a value beyond U+10FFFF or a truncated sequence.
bool Utf8ToWide(std::string_view text, std::wstring& out);
// False (out unspecified) on an unpaired surrogate or a value beyond U+10FFFF.
bool WideToUtf8(std::wstring_view text, std::string& out);

}  // namespace zuvo::settings
