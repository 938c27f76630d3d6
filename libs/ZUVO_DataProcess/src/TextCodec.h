// Conversions between wide text (UTF-16 on Windows, UTF-32 elsewhere) and UTF-8, the encoding
// of the configuration files. Malformed input is replaced with U+FFFD, never refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zuvo::radar {

std::string WideToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view text);
// Little-endian UTF-16 bytes (without a byte-order mark) to wide text.
std::wstring Utf16LeToWide(const uint8_t* bytes, size_t byteCount);

// Lower-case ASCII copy, for keys compared without regard to case.
std::string AsciiLower(std::string_view text);
// text without leading and trailing blanks (space, tab, CR, LF).
std::string_view TrimBlanks(std::string_view text);

}  // namespace zuvo::radar
