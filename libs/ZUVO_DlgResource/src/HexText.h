// Hexadecimal numbers as the operator types them into the register editor.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zuvo::dlg {

enum class HexError {
    None,        // parsed
    Empty,       // nothing but blanks
    NotHex,      // a character that is not part of a hexadecimal number
    OutOfRange,  // a hexadecimal number larger than the allowed maximum
};

struct HexParse {
    HexError error;
    uint32_t value;  // valid only when error is HexError::None
};

// Reads blanks, an optional "0x" or "0X", at least one hexadecimal digit and blanks. Leading
// zeros are allowed in any number; the value must not exceed maxValue.
HexParse ParseHex(std::wstring_view text, uint32_t maxValue);

// "0x" followed by the value in upper-case digits, zero-padded to at least digits digits.
std::wstring FormatHex(uint32_t value, int digits);

}  // namespace zuvo::dlg
