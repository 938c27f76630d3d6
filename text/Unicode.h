// The one conversion between UTF-8 and wide text (UTF-16 where wchar_t has 16 bits, UTF-32
// elsewhere), and cutting text to a fixed field without leaving half a character.
//
// Two strengths of decoding: the replacing forms never fail and turn every malformed piece
// (an invalid or overlong sequence, an encoded surrogate, a value beyond U+10FFFF, a sequence
// cut short, a lone surrogate in wide text) into U+FFFD; the exact forms refuse the whole
// text instead, for paths, where a changed character names another file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zuvo::text {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

// False (out cleared) when anything would have been replaced.
bool Utf8ToWideExact(std::string_view text, std::wstring& out);
bool WideToUtf8Exact(std::wstring_view text, std::string& out);
// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

// Little-endian UTF-16 bytes without a byte-order mark (an odd last byte is ignored).
std::wstring Utf16LeToWide(const uint8_t* bytes, size_t byteCount);

// The length of the longest start of text that has at most capacity units and does not end
// inside a character: not between the halves of a surrogate pair, not inside a UTF-8
// sequence.
size_t WideFitLength(std::wstring_view text, size_t capacity);
size_t Utf8FitLength(std::string_view text, size_t capacity);

// Copies text into a field of capacity wide characters, terminator included, cut as
// WideFitLength says. Nothing happens when capacity is 0.
void CopyToField(std::wstring_view text, wchar_t* field, size_t capacity);
template <size_t Capacity>
void CopyToField(std::wstring_view text, wchar_t (&field)[Capacity]) {
    CopyToField(text, field, Capacity);
}

}  // namespace zuvo::text
