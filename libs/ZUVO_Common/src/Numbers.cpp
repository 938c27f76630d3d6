// Number text: the reading side of what the settings files write ("%lld", "%llu", "%.1f").
//
// Integers are parsed by hand so that range checks are exact for every type; reals go through
// std::from_chars, which (unlike strtod) ignores the process locale: a program that called
// setlocale for its user interface must still read "12.5" written on another machine.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>
#include <system_error>

#include "ZUVO_CommonCoreExtras.h"

static_assert(sizeof(float) == 4 && sizeof(double) == 8, "IEEE single and double reals");

// Indexed by type code: none, bool8, flag, int8, int16, int32, uint32, int64, uint64, float,
// double.
const int gDigitalTypeSize[DIGITAL_TYPE_COUNT] = {0, 1, 4, 1, 2, 4, 4, 8, 8, 4, 8};

namespace {

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

int HexValue(char ch) {
    if (ch >= '0' && ch <= '9') {
        return ch - '0';
    }
    if (ch >= 'a' && ch <= 'f') {
        return ch - 'a' + 10;
    }
    if (ch >= 'A' && ch <= 'F') {
        return ch - 'A' + 10;
    }
    return -1;
}

// An integer as sign and magnitude, so that every int64 and uint64 value is representable.
struct ParsedInteger {
    bool negative;
    uint64_t magnitude;
};

// [sign] digits, or [sign] 0x hexdigits; the whole range must be used. False on anything else,
// including a magnitude beyond 64 bits.
bool ParseInteger(const char* begin, const char* end, ParsedInteger* out) {
    const char* at = begin;
    bool negative = false;
    if (at < end && (*at == '+' || *at == '-')) {
        negative = *at == '-';
        ++at;
    }
    unsigned base = 10;
    if (end - at >= 2 && at[0] == '0' && (at[1] == 'x' || at[1] == 'X')) {
        base = 16;
        at += 2;
    }
    if (at == end) {
        return false;
    }
    uint64_t magnitude = 0;
    for (; at < end; ++at) {
        const int digit = HexValue(*at);
        if (digit < 0 || static_cast<unsigned>(digit) >= base) {
            return false;
        }
        if (magnitude >
            (std::numeric_limits<uint64_t>::max() - static_cast<unsigned>(digit)) / base) {
            return false;
        }
        magnitude = magnitude * base + static_cast<unsigned>(digit);
    }
    out->negative = negative;
    out->magnitude = magnitude;
    return true;
}

// Whether the integer lies in [min, max] of a signed type, and its value.
bool FitsSigned(const ParsedInteger& number, int64_t min, int64_t max, int64_t* value) {
    if (number.negative) {
        // -min as an unsigned magnitude, written so that it does not overflow for INT64_MIN.
        const uint64_t limit = static_cast<uint64_t>(-(min + 1)) + 1;
        if (number.magnitude > limit) {
            return false;
        }
        *value = number.magnitude == 0 ? 0 : -static_cast<int64_t>(number.magnitude - 1) - 1;
        return true;
    }
    if (number.magnitude > static_cast<uint64_t>(max)) {
        return false;
    }
    *value = static_cast<int64_t>(number.magnitude);
    return true;
}

bool FitsUnsigned(const ParsedInteger& number, uint64_t max, uint64_t* value) {
    if (number.negative && number.magnitude != 0) {
        return false;
    }
    if (number.magnitude > max) {
        return false;
    }
    *value = number.magnitude;
    return true;
}

// Reads a real the way strtod would in the C locale (optional sign, decimal or 0x hexadecimal,
// exponent, inf, nan), requiring the whole range. from_chars leaves the leading '+' and the
// "0x" prefix to the caller.
template <typename Real>
bool ParseReal(const char* begin, const char* end, Real* out) {
    const char* at = begin;
    bool negative = false;
    if (at < end && (*at == '+' || *at == '-')) {
        negative = *at == '-';
        ++at;
    }
    if (at == end || *at == '+' || *at == '-') {
        return false;
    }
    std::chars_format format = std::chars_format::general;
    if (end - at >= 2 && at[0] == '0' && (at[1] == 'x' || at[1] == 'X')) {
        format = std::chars_format::hex;
        at += 2;
        if (at == end || *at == '+' || *at == '-') {
            return false;
        }
    }
    Real value = 0;
    const std::from_chars_result result = std::from_chars(at, end, value, format);
    if (result.ec != std::errc() || result.ptr != end) {
        return false;
    }
    *out = negative ? -value : value;
    return true;
}

bool ParseAs(const char* begin, const char* end, int typeCode, void* dest) {
    if (typeCode == DIGITAL_TYPE_FLOAT) {
        float value = 0;
        if (!ParseReal(begin, end, &value)) {
            return false;
        }
        std::memcpy(dest, &value, sizeof(value));
        return true;
    }
    if (typeCode == DIGITAL_TYPE_DOUBLE) {
        double value = 0;
        if (!ParseReal(begin, end, &value)) {
            return false;
        }
        std::memcpy(dest, &value, sizeof(value));
        return true;
    }

    ParsedInteger number{};
    if (!ParseInteger(begin, end, &number)) {
        return false;
    }
    int64_t signedValue = 0;
    uint64_t unsignedValue = 0;
    switch (typeCode) {
        case DIGITAL_TYPE_BOOL8: {
            const uint8_t value = number.magnitude != 0 ? 1 : 0;
            std::memcpy(dest, &value, sizeof(value));
            return true;
        }
        case DIGITAL_TYPE_FLAG:
        case DIGITAL_TYPE_INT32: {
            if (!FitsSigned(number, INT32_MIN, INT32_MAX, &signedValue)) {
                return false;
            }
            const int32_t value = static_cast<int32_t>(signedValue);
            std::memcpy(dest, &value, sizeof(value));
            return true;
        }
        case DIGITAL_TYPE_INT8: {
            if (!FitsSigned(number, INT8_MIN, INT8_MAX, &signedValue)) {
                return false;
            }
            const int8_t value = static_cast<int8_t>(signedValue);
            std::memcpy(dest, &value, sizeof(value));
            return true;
        }
        case DIGITAL_TYPE_INT16: {
            if (!FitsSigned(number, INT16_MIN, INT16_MAX, &signedValue)) {
                return false;
            }
            const int16_t value = static_cast<int16_t>(signedValue);
            std::memcpy(dest, &value, sizeof(value));
            return true;
        }
        case DIGITAL_TYPE_UINT32: {
            if (!FitsUnsigned(number, UINT32_MAX, &unsignedValue)) {
                return false;
            }
            const uint32_t value = static_cast<uint32_t>(unsignedValue);
            std::memcpy(dest, &value, sizeof(value));
            return true;
        }
        case DIGITAL_TYPE_INT64: {
            if (!FitsSigned(number, INT64_MIN, INT64_MAX, &signedValue)) {
                return false;
            }
            std::memcpy(dest, &signedValue, sizeof(signedValue));
            return true;
        }
        case DIGITAL_TYPE_UINT64: {
            if (!FitsUnsigned(number, UINT64_MAX, &unsignedValue)) {
                return false;
            }
            std::memcpy(dest, &unsignedValue, sizeof(unsignedValue));
            return true;
        }
        default:
            return false;
    }
}

bool IsKnownType(int typeCode) {
    return typeCode > DIGITAL_TYPE_NONE && typeCode < DIGITAL_TYPE_COUNT;
}

size_t TextLength(const char* text, int length) {
    return length < 0 ? std::strlen(text) : static_cast<size_t>(length);
}

// Parses [begin, end) with blanks allowed around the number; dest is left alone on failure.
bool ParseTrimmed(const char* begin, const char* end, int typeCode, void* dest) {
    while (begin < end && IsBlank(*begin)) {
        ++begin;
    }
    while (end > begin && IsBlank(end[-1])) {
        --end;
    }
    return begin < end && ParseAs(begin, end, typeCode, dest);
}

}  // namespace

extern "C" {

int ZUVO_CALL DigtalStringToValue(const char* text, int length, void* dest, int typeCode) {
    if (text == nullptr || dest == nullptr || !IsKnownType(typeCode)) {
        return 0;
    }
    return ParseTrimmed(text, text + TextLength(text, length), typeCode, dest) ? 1 : 0;
}

int ZUVO_CALL ParseDigitalArrayValue(const char* text, int length, const char* separators,
                                     int keepEmpty, int trim, int typeCode, void* dest,
                                     int capacity) {
    // Blanks around a number are always allowed, so trim changes nothing here.
    (void)trim;
    if (text == nullptr || !IsKnownType(typeCode)) {
        return 0;
    }
    const size_t typeSize = static_cast<size_t>(gDigitalTypeSize[typeCode]);
    const char* const textEnd = text + TextLength(text, length);
    auto isSeparator = [separators](char ch) {
        return separators != nullptr && ch != '\0' && std::strchr(separators, ch) != nullptr;
    };

    int parsed = 0;
    const char* pieceBegin = text;
    for (;;) {
        const char* pieceEnd = pieceBegin;
        while (pieceEnd < textEnd && !isSeparator(*pieceEnd)) {
            ++pieceEnd;
        }
        const bool blank = std::all_of(pieceBegin, pieceEnd, IsBlank);
        if (!blank || keepEmpty != 0) {
            // An 8-byte slot holds any of the types; the value is copied out only when it fits
            // the caller's capacity.
            unsigned char value[8] = {};
            if (!ParseTrimmed(pieceBegin, pieceEnd, typeCode, value)) {
                break;
            }
            if (dest != nullptr && parsed < capacity) {
                std::memcpy(
                    static_cast<unsigned char*>(dest) + static_cast<size_t>(parsed) * typeSize,
                    value, typeSize);
            }
            ++parsed;
        }
        if (pieceEnd == textEnd) {
            break;
        }
        pieceBegin = pieceEnd + 1;
    }
    return parsed;
}

int ZUVO_CALL IsHexCharW(wchar_t ch) {
    return (ch >= L'0' && ch <= L'9') || (ch >= L'a' && ch <= L'f') || (ch >= L'A' && ch <= L'F')
               ? 1
               : 0;
}

}  // extern "C"
