#include "controls/LimitValue.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <limits>
#include <string>

#include "controls/DecimalText.h"
#include "controls/DigitalFilter.h"

namespace zuvo::controls {

namespace {

template <typename T>
T Bits(uint64_t bits) {
    T value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

template <typename T>
uint64_t FromValue(T value) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof(value));
    return bits;
}

// value rounded to the nearest integer of T, limited to T's range (NaN gives 0).
template <typename T>
T ToInteger(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double rounded = std::round(value);
    if (rounded <= static_cast<double>(std::numeric_limits<T>::min())) {
        return std::numeric_limits<T>::min();
    }
    // The largest 64-bit values are not exact as doubles: anything at or above 2^63 (2^64)
    // is the maximum.
    if (rounded >= static_cast<double>(std::numeric_limits<T>::max())) {
        return std::numeric_limits<T>::max();
    }
    return static_cast<T>(rounded);
}

// value as a float; beyond the float range it becomes an infinity of its sign.
float ToFloat(double value) {
    constexpr double kLargest = std::numeric_limits<float>::max();
    if (value > kLargest) {
        return std::numeric_limits<float>::infinity();
    }
    if (value < -kLargest) {
        return -std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(value);
}

// A print format's single conversion, rewritten as a narrow format for one number.
struct Conversion {
    size_t begin = 0;  // position of '%' in the wide format
    size_t end = 0;    // one past the conversion character
    std::string narrow;
};

bool IsOneOf(wchar_t character, const wchar_t* set) {
    return character != 0 && std::wcschr(set, character) != nullptr;
}

// Up to three digits of a width or precision.
bool TakeDigits(std::wstring_view format, size_t* at, std::string* narrow) {
    int count = 0;
    while (*at < format.size() && format[*at] >= L'0' && format[*at] <= L'9') {
        if (++count > 3) {
            return false;
        }
        *narrow += static_cast<char>(format[(*at)++]);
    }
    return true;
}

bool SuitsType(int valueType, std::string_view length, wchar_t conversion) {
    switch (valueType) {
        case kValueInt32:
            return length.empty() && IsOneOf(conversion, L"di");
        case kValueUInt32:
            return length.empty() && IsOneOf(conversion, L"uxXo");
        case kValueInt64:
            return length == "ll" && IsOneOf(conversion, L"di");
        case kValueUInt64:
            return length == "ll" && IsOneOf(conversion, L"uxXo");
        case kValueFloat:
        case kValueDouble:
            return (length.empty() || length == "l") && IsOneOf(conversion, L"fFeEgGaA");
        default:
            return false;
    }
}

// Finds the one conversion of format; false when there is none, more than one, or one
// that does not suit the type.
bool FindConversion(std::wstring_view format, int valueType, Conversion* found) {
    bool seen = false;
    for (size_t at = 0; at < format.size(); ++at) {
        if (format[at] != L'%') {
            continue;
        }
        if (at + 1 < format.size() && format[at + 1] == L'%') {
            ++at;
            continue;
        }
        if (seen) {
            return false;
        }
        Conversion conversion;
        conversion.begin = at;
        conversion.narrow = "%";
        size_t next = at + 1;
        while (next < format.size() && IsOneOf(format[next], L"-+ #0")) {
            conversion.narrow += static_cast<char>(format[next++]);
        }
        if (!TakeDigits(format, &next, &conversion.narrow)) {
            return false;
        }
        if (next < format.size() && format[next] == L'.') {
            conversion.narrow += '.';
            ++next;
            if (!TakeDigits(format, &next, &conversion.narrow)) {
                return false;
            }
        }
        std::string length;
        while (next < format.size() && format[next] == L'l' && length.size() < 2) {
            length += 'l';
            ++next;
        }
        if (next >= format.size() || !SuitsType(valueType, length, format[next])) {
            return false;
        }
        conversion.narrow += length;
        conversion.narrow += static_cast<char>(format[next]);
        conversion.end = next + 1;
        *found = conversion;
        seen = true;
        at = next;
    }
    return seen;
}

// Literal text of a format: "%%" stands for '%'.
std::wstring Literal(std::wstring_view text) {
    std::wstring result;
    for (size_t at = 0; at < text.size(); ++at) {
        result += text[at];
        if (text[at] == L'%' && at + 1 < text.size() && text[at + 1] == L'%') {
            ++at;
        }
    }
    return result;
}

// The format was checked by FindConversion: one conversion whose argument type matches.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
std::wstring PrintOne(const std::string& narrowFormat, int valueType, uint64_t bits) {
    char text[512];
    switch (valueType) {
        case kValueInt32:
            std::snprintf(text, sizeof(text), narrowFormat.c_str(), Bits<int32_t>(bits));
            break;
        case kValueUInt32:
            std::snprintf(text, sizeof(text), narrowFormat.c_str(), Bits<uint32_t>(bits));
            break;
        case kValueInt64:
            std::snprintf(text, sizeof(text), narrowFormat.c_str(),
                          static_cast<long long>(Bits<int64_t>(bits)));
            break;
        case kValueUInt64:
            std::snprintf(text, sizeof(text), narrowFormat.c_str(),
                          static_cast<unsigned long long>(bits));
            break;
        default:
            std::snprintf(text, sizeof(text), narrowFormat.c_str(), LimitAsDouble(valueType, bits));
            break;
    }
    return std::wstring(text, text + std::strlen(text));
}
#pragma GCC diagnostic pop

std::string DefaultFormat(int valueType, uint64_t bits) {
    switch (valueType) {
        case kValueInt32:
            return "%d";
        case kValueUInt32:
            return "%u";
        case kValueInt64:
            return "%lld";
        case kValueUInt64:
            return "%llu";
        default:
            return "%." + std::to_string(DecimalsNeeded(LimitAsDouble(valueType, bits), 10)) + "f";
    }
}

}  // namespace

uint64_t EncodeLimitValue(int valueType, double value) {
    switch (valueType) {
        case kValueInt32:
            return FromValue(ToInteger<int32_t>(value));
        case kValueUInt32:
            return FromValue(ToInteger<uint32_t>(value));
        case kValueInt64:
            return FromValue(ToInteger<int64_t>(value));
        case kValueUInt64:
            return FromValue(ToInteger<uint64_t>(value));
        case kValueFloat:
            return FromValue(ToFloat(value));
        case kValueDouble:
            return FromValue(value);
        default:
            return 0;
    }
}

double LimitAsDouble(int valueType, uint64_t bits) {
    switch (valueType) {
        case kValueInt32:
            return Bits<int32_t>(bits);
        case kValueUInt32:
            return Bits<uint32_t>(bits);
        case kValueInt64:
            return static_cast<double>(Bits<int64_t>(bits));
        case kValueUInt64:
            return static_cast<double>(bits);
        case kValueFloat:
            return Bits<float>(bits);
        case kValueDouble:
            return Bits<double>(bits);
        default:
            return 0.0;
    }
}

std::wstring LimitText(int valueType, uint64_t bits, std::wstring_view format) {
    if (valueType < kValueInt32 || valueType > kValueDouble) {
        return std::wstring();
    }
    Conversion conversion;
    if (!format.empty() && FindConversion(format, valueType, &conversion)) {
        return Literal(format.substr(0, conversion.begin)) +
               PrintOne(conversion.narrow, valueType, bits) +
               Literal(format.substr(conversion.end));
    }
    return PrintOne(DefaultFormat(valueType, bits), valueType, bits);
}

}  // namespace zuvo::controls
