#include "settings/Utf8Text.h"

#include <cstdint>

namespace zuvo::settings {

namespace {

constexpr bool kUtf16Wide = sizeof(wchar_t) == 2;

bool IsSurrogate(uint32_t codePoint) {
    return codePoint >= 0xD800 && codePoint <= 0xDFFF;
}

void AppendWide(uint32_t codePoint, std::wstring& out) {
    if (kUtf16Wide && codePoint >= 0x10000) {
        const uint32_t offset = codePoint - 0x10000;
        out.push_back(static_cast<wchar_t>(0xD800 + (offset >> 10)));
        out.push_back(static_cast<wchar_t>(0xDC00 + (offset & 0x3FF)));
        return;
    }
    out.push_back(static_cast<wchar_t>(codePoint));
}

void AppendUtf8(uint32_t codePoint, std::string& out) {
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

}  // namespace

bool Utf8ToWide(std::string_view text, std::wstring& out) {
    out.clear();
    out.reserve(text.size());
    size_t at = 0;
    while (at < text.size()) {
        const auto lead = static_cast<uint8_t>(text[at]);
        size_t extra = 0;
        uint32_t codePoint = 0;
        uint32_t smallest = 0;
        if (lead < 0x80) {
            codePoint = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            codePoint = lead & 0x1Fu;
            smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            codePoint = lead & 0x0Fu;
            smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            codePoint = lead & 0x07u;
            smallest = 0x10000;
        } else {
            return false;
        }
        if (text.size() - at - 1 < extra) {
            return false;
        }
        for (size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<uint8_t>(text[at + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            codePoint = (codePoint << 6) | (next & 0x3Fu);
        }
        if (codePoint < smallest || codePoint > 0x10FFFF || IsSurrogate(codePoint)) {
            return false;
        }
        AppendWide(codePoint, out);
        at += extra + 1;
    }
    return true;
}

bool WideToUtf8(std::wstring_view text, std::string& out) {
    out.clear();
    out.reserve(text.size());
    for (size_t at = 0; at < text.size(); ++at) {
        uint32_t codePoint = static_cast<uint32_t>(text[at]);
        if (kUtf16Wide) {
            codePoint &= 0xFFFF;
            if (codePoint >= 0xD800 && codePoint <= 0xDBFF && at + 1 < text.size()) {
                const uint32_t low = static_cast<uint32_t>(text[at + 1]) & 0xFFFF;
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (low - 0xDC00);
                    ++at;
                }
            }
        }
        if (codePoint > 0x10FFFF || IsSurrogate(codePoint)) {
            return false;
        }
        AppendUtf8(codePoint, out);
    }
    return true;
}

}  // namespace zuvo::settings
