#include "HexText.h"

namespace zuvo::dlg {

namespace {

bool IsBlank(wchar_t ch) {
    return ch == L' ' || ch == L'\t';
}

// The digit's value, or -1 for anything else (full-width digits included).
int DigitValue(wchar_t ch) {
    if (ch >= L'0' && ch <= L'9') {
        return ch - L'0';
    }
    if (ch >= L'a' && ch <= L'f') {
        return ch - L'a' + 10;
    }
    if (ch >= L'A' && ch <= L'F') {
        return ch - L'A' + 10;
    }
    return -1;
}

}  // namespace

HexParse ParseHex(std::wstring_view text, uint32_t maxValue) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    if (text.empty()) {
        return {HexError::Empty, 0};
    }
    if (text.size() >= 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        text.remove_prefix(2);
        if (text.empty()) {
            return {HexError::NotHex, 0};
        }
    }
    // Every character is checked before the range, so "FFFFFFFFFG" is reported as not
    // hexadecimal rather than as too large.
    uint64_t value = 0;
    bool tooLarge = false;
    for (wchar_t ch : text) {
        int digit = DigitValue(ch);
        if (digit < 0) {
            return {HexError::NotHex, 0};
        }
        if (!tooLarge) {
            value = value * 16 + static_cast<uint64_t>(digit);
            tooLarge = value > maxValue;
        }
    }
    if (tooLarge) {
        return {HexError::OutOfRange, 0};
    }
    return {HexError::None, static_cast<uint32_t>(value)};
}

std::wstring FormatHex(uint32_t value, int digits) {
    static const wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring reversed;
    do {
        reversed.push_back(kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    while (static_cast<int>(reversed.size()) < digits) {
        reversed.push_back(L'0');
    }
    return L"0x" + std::wstring(reversed.rbegin(), reversed.rend());
}

}  // namespace zuvo::dlg
