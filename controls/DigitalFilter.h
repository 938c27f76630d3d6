// The keystroke filter of numeric fields: whether a character just typed may stay, judged on
// the field's text with the character already in it. Portable.
#pragma once

#include <string>
#include <string_view>

namespace zuvo::controls {

// What a numeric field holds; the numbers are those the owner sets.
enum DigitalValueType {
    kValueInt32 = 0,
    kValueUInt32 = 1,
    kValueInt64 = 2,
    kValueUInt64 = 3,
    kValueFloat = 4,
    kValueDouble = 5,
};

inline bool IsRealValueType(int valueType) {
    return valueType == kValueFloat || valueType == kValueDouble;
}
inline bool IsUnsignedValueType(int valueType) {
    return valueType == kValueUInt32 || valueType == kValueUInt64;
}

// The verdict on one typed character: accepted, or refused with the text that explains it.
struct CharVerdict {
    bool accepted;
    std::wstring message;  // empty when accepted
};

// '.' only in real fields and only once; '-' never in unsigned fields, otherwise only as
// the first character and only once; control characters (Backspace, the Ctrl+letter
// characters such as Ctrl+V) and digits always; anything else only when hexadecimal letters
// are allowed and it is one.
CharVerdict CheckTypedChar(wchar_t character, std::wstring_view textAfter, int valueType,
                           bool hexLettersAllowed);

}  // namespace zuvo::controls
