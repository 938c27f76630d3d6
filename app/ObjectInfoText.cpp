#include "app/ObjectInfoText.h"

#include <cwchar>
#include <string_view>
#include <vector>

#include "settings/AppConfig.h"

namespace zuvo::app {

namespace {

struct Conversion {
    wchar_t kind;
    size_t position;  // of the conversion character
};

// The conversions of a printf format (flags, width and precision allowed, no length
// modifiers, no '*'); false when one is malformed.
bool Conversions(std::wstring_view format, std::vector<Conversion>& conversions) {
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != L'%') {
            continue;
        }
        ++i;
        if (i < format.size() && format[i] == L'%') {
            continue;
        }
        while (i < format.size() && std::wcschr(L"-+ #0", format[i]) != nullptr) {
            ++i;
        }
        while (i < format.size() && format[i] >= L'0' && format[i] <= L'9') {
            ++i;
        }
        if (i < format.size() && format[i] == L'.') {
            ++i;
            while (i < format.size() && format[i] >= L'0' && format[i] <= L'9') {
                ++i;
            }
        }
        if (i >= format.size()) {
            return false;
        }
        conversions.push_back(Conversion{format[i], i});
    }
    return true;
}

bool IsRealConversion(wchar_t kind) {
    return std::wcschr(L"fFeEgG", kind) != nullptr;
}

}  // namespace

std::wstring FormatObjectInfo(const std::wstring& format, int objectCountType, int index,
                              const ObjectSlot& slot) {
    std::vector<Conversion> conversions;
    if (!Conversions(format, conversions) || conversions.size() != 4 ||
        conversions[0].kind != L's' || !IsRealConversion(conversions[1].kind) ||
        !IsRealConversion(conversions[2].kind) || !IsRealConversion(conversions[3].kind)) {
        return std::wstring();
    }
    // "%s" takes a narrow string in C99 wide printf and a wide one in Microsoft's; "%ls" is a
    // wide string in both.
    std::wstring wide = format;
    wide.insert(conversions[0].position, 1, L'l');
    const std::wstring prefix = objectCountType == zuvo::settings::kSingleObjectTracking
                                    ? std::wstring()
                                    : L" " + std::to_wstring(index + 1);
    // swprintf tells only that the text did not fit, not how long it is: a value like 1e130
    // takes over a hundred digits in %f, so the buffer grows until the text fits. Three
    // doubles in %f are at most about a thousand characters, far below the last size tried.
    for (size_t size = wide.size() + 128; size <= (size_t{1} << 16); size *= 2) {
        std::vector<wchar_t> buffer(size);
        const int length = std::swprintf(buffer.data(), buffer.size(), wide.c_str(), prefix.c_str(),
                                         slot.distance, slot.angle, slot.velocity);
        if (length >= 0) {
            return std::wstring(buffer.data(), static_cast<size_t>(length));
        }
    }
    return std::wstring();
}

}  // namespace zuvo::app
