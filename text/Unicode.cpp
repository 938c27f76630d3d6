#include "text/Unicode.h"

#include <algorithm>
#include <cwchar>

namespace zuvo::text {

namespace {

constexpr bool kUtf16Wide = sizeof(wchar_t) == 2;
// What DecodeNext answers for a malformed piece.
constexpr uint32_t kMalformed = 0xFFFFFFFF;

bool IsSurrogate(uint32_t value) {
    return value >= 0xD800 && value <= 0xDFFF;
}

bool IsHighSurrogate(uint32_t value) {
    return value >= 0xD800 && value <= 0xDBFF;
}

bool IsLowSurrogate(uint32_t value) {
    return value >= 0xDC00 && value <= 0xDFFF;
}

bool IsContinuation(char byte) {
    return (static_cast<uint8_t>(byte) & 0xC0) == 0x80;
}

// The number of bytes of the sequence a lead byte starts (0: it starts none).
size_t SequenceLength(char byte) {
    const auto lead = static_cast<uint8_t>(byte);
    if (lead < 0x80) {
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        return 2;
    }
    if ((lead & 0xF0) == 0xE0) {
        return 3;
    }
    if ((lead & 0xF8) == 0xF0) {
        return 4;
    }
    return 0;
}

// Decodes the UTF-8 sequence at text[at] and moves at past it. A malformed piece answers
// kMalformed and moves past its lead byte and the continuation bytes that followed it, so
// that the next byte that could start a sequence is read as one.
uint32_t DecodeNext(std::string_view text, size_t& at) {
    const char leadByte = text[at++];
    const size_t length = SequenceLength(leadByte);
    if (length == 1) {
        return static_cast<uint8_t>(leadByte);
    }
    if (length == 0) {
        return kMalformed;
    }
    static constexpr uint8_t kLeadBits[] = {0, 0, 0x1F, 0x0F, 0x07};
    static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    uint32_t value = static_cast<uint8_t>(leadByte) & kLeadBits[length];
    for (size_t k = 1; k < length; ++k) {
        if (at >= text.size() || !IsContinuation(text[at])) {
            return kMalformed;
        }
        value = (value << 6) | (static_cast<uint8_t>(text[at++]) & 0x3Fu);
    }
    if (value < kSmallest[length] || value > 0x10FFFF || IsSurrogate(value)) {
        return kMalformed;
    }
    return value;
}

void AppendWide(uint32_t value, std::wstring& out) {
    if (kUtf16Wide && value >= 0x10000) {
        const uint32_t offset = value - 0x10000;
        out.push_back(static_cast<wchar_t>(0xD800 + (offset >> 10)));
        out.push_back(static_cast<wchar_t>(0xDC00 + (offset & 0x3FF)));
        return;
    }
    out.push_back(static_cast<wchar_t>(value));
}

void AppendUtf8(uint32_t value, std::string& out) {
    if (value < 0x80) {
        out.push_back(static_cast<char>(value));
    } else if (value < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (value >> 6)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    } else if (value < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (value >> 12)));
        out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (value >> 18)));
        out.push_back(static_cast<char>(0x80 | ((value >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    }
}

// The code point of the wide character at text[at] (a surrogate pair where wide text is
// UTF-16), or kMalformed for a lone surrogate or a value beyond U+10FFFF; moves at past it.
uint32_t WideNext(std::wstring_view text, size_t& at) {
    uint32_t value = static_cast<uint32_t>(text[at++]);
    if (kUtf16Wide) {
        value &= 0xFFFF;
        if (IsHighSurrogate(value) && at < text.size()) {
            const uint32_t low = static_cast<uint32_t>(text[at]) & 0xFFFF;
            if (IsLowSurrogate(low)) {
                ++at;
                return 0x10000 + ((value - 0xD800) << 10) + (low - 0xDC00);
            }
        }
    }
    return value > 0x10FFFF || IsSurrogate(value) ? kMalformed : value;
}

// Both directions in both strengths: exact answers false at the first malformed piece,
// otherwise every one becomes U+FFFD.
bool DecodeAll(std::string_view text, std::wstring& out, bool exact) {
    out.clear();
    out.reserve(text.size());
    size_t at = 0;
    while (at < text.size()) {
        const uint32_t value = DecodeNext(text, at);
        if (value == kMalformed && exact) {
            out.clear();
            return false;
        }
        AppendWide(value == kMalformed ? kReplacementCharacter : value, out);
    }
    return true;
}

bool EncodeAll(std::wstring_view text, std::string& out, bool exact) {
    out.clear();
    out.reserve(text.size());
    size_t at = 0;
    while (at < text.size()) {
        const uint32_t value = WideNext(text, at);
        if (value == kMalformed && exact) {
            out.clear();
            return false;
        }
        AppendUtf8(value == kMalformed ? kReplacementCharacter : value, out);
    }
    return true;
}

}  // namespace

std::wstring Utf8ToWide(std::string_view text) {
    std::wstring out;
    DecodeAll(text, out, false);
    return out;
}

std::string WideToUtf8(std::wstring_view text) {
    std::string out;
    EncodeAll(text, out, false);
    return out;
}

bool Utf8ToWideExact(std::string_view text, std::wstring& out) {
    return DecodeAll(text, out, true);
}

bool WideToUtf8Exact(std::wstring_view text, std::string& out) {
    return EncodeAll(text, out, true);
}

bool IsValidUtf8(std::string_view text) {
    size_t at = 0;
    while (at < text.size()) {
        if (DecodeNext(text, at) == kMalformed) {
            return false;
        }
    }
    return true;
}

std::wstring Utf16LeToWide(const uint8_t* bytes, size_t byteCount) {
    std::wstring units;
    if (bytes == nullptr) {
        return units;
    }
    units.reserve(byteCount / 2);
    for (size_t i = 0; i + 1 < byteCount; i += 2) {
        units.push_back(static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8)));
    }
    // The units are UTF-16 whatever wchar_t is: pairs become one code point where wide text
    // is UTF-32, and lone surrogates are replaced either way.
    std::wstring out;
    out.reserve(units.size());
    for (size_t at = 0; at < units.size();) {
        uint32_t value = static_cast<uint32_t>(units[at++]) & 0xFFFF;
        if (IsHighSurrogate(value) && at < units.size() &&
            IsLowSurrogate(static_cast<uint32_t>(units[at]) & 0xFFFF)) {
            value = 0x10000 + ((value - 0xD800) << 10) +
                    ((static_cast<uint32_t>(units[at++]) & 0xFFFF) - 0xDC00);
        }
        AppendWide(IsSurrogate(value) ? kReplacementCharacter : value, out);
    }
    return out;
}

size_t WideFitLength(std::wstring_view text, size_t capacity) {
    size_t length = std::min(text.size(), capacity);
    // A cut between the two halves of a surrogate pair would leave half a character.
    if (kUtf16Wide && length < text.size() && length > 0 &&
        IsHighSurrogate(static_cast<uint32_t>(text[length - 1]) & 0xFFFF)) {
        --length;
    }
    return length;
}

size_t Utf8FitLength(std::string_view text, size_t capacity) {
    const size_t length = std::min(text.size(), capacity);
    if (length == text.size() || !IsContinuation(text[length])) {
        return length;
    }
    // The cut falls inside a sequence: end before its lead byte, which is at most three
    // bytes back. Continuation bytes without a lead are malformed anyway and cut as they are.
    for (size_t back = 1; back <= 3 && back <= length; ++back) {
        const char byte = text[length - back];
        if (!IsContinuation(byte)) {
            return SequenceLength(byte) > back ? length - back : length;
        }
    }
    return length;
}

void CopyToField(std::wstring_view text, wchar_t* field, size_t capacity) {
    if (field == nullptr || capacity == 0) {
        return;
    }
    const size_t length = WideFitLength(text, capacity - 1);
    std::wmemcpy(field, text.data(), length);
    field[length] = L'\0';
}

}  // namespace zuvo::text
