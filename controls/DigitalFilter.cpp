#include "controls/DigitalFilter.h"

#include <algorithm>
#include <utility>

#include "ZUVO_CommonCore.h"

namespace zuvo::controls {

namespace {

CharVerdict Refused(wchar_t character) {
    std::wstring message = L"Invalid character '";
    message += character;
    message += L"'";
    return CharVerdict{false, std::move(message)};
}

const CharVerdict kAccepted{true, std::wstring()};

}  // namespace

CharVerdict CheckTypedChar(wchar_t character, std::wstring_view textAfter, int valueType,
                           bool hexLettersAllowed) {
    if (character == L'.') {
        const auto points = std::count(textAfter.begin(), textAfter.end(), L'.');
        return IsRealValueType(valueType) && points <= 1 ? kAccepted : Refused(character);
    }
    if (character == L'-') {
        if (IsUnsignedValueType(valueType)) {
            return Refused(character);
        }
        const auto minuses = std::count(textAfter.begin(), textAfter.end(), L'-');
        const bool leading = !textAfter.empty() && textAfter.front() == L'-';
        return leading && minuses == 1 ? kAccepted : Refused(character);
    }
    if (character < 0x20 || (character >= L'0' && character <= L'9')) {
        return kAccepted;
    }
    if (hexLettersAllowed && IsHexCharW(character) != 0) {
        return kAccepted;
    }
    return Refused(character);
}

}  // namespace zuvo::controls
