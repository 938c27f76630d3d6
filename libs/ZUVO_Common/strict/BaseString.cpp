// CBaseStringA and CBaseStringW of the strict flavour.
//
// Every change allocates the exact size anew (measure, allocate, print), so a caller that kept
// a GetString pointer across a change reads freed memory under the sanitizers instead of a
// buffer that happens to survive. Format and AppendFormat answer 1 on success and 0 on
// failure, with the text unchanged; our normal strings answer the length. An empty string's
// GetString is "".
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "Platform.h"
#include "text/CodePage.h"
#include "ZUVO_CommonCore.h"

namespace {

// The formatted text, or false when the format fails (an encoding error, or no memory).
bool FormatNarrow(std::string& out, const char* format, va_list args) {
    if (format == nullptr) {
        return false;
    }
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length < 0) {
        return false;
    }
    try {
        out.assign(static_cast<size_t>(length) + 1, '\0');
    } catch (...) {
        return false;
    }
    va_list print;
    va_copy(print, args);
    const int written = std::vsnprintf(out.data(), out.size(), format, print);
    va_end(print);
    if (written != length) {
        return false;
    }
    out.resize(static_cast<size_t>(length));
    return true;
}

// Replaces text with head followed by tail, exactly sized; false (text unchanged) without
// memory.
template <typename Char>
bool Replace(Char*& text, size_t& length, size_t& capacity, const Char* head, size_t headLength,
             const Char* tail, size_t tailLength) {
    const size_t total = headLength + tailLength;
    Char* fresh = static_cast<Char*>(std::malloc((total + 1) * sizeof(Char)));
    if (fresh == nullptr) {
        return false;
    }
    if (headLength > 0) {
        std::memcpy(fresh, head, headLength * sizeof(Char));
    }
    if (tailLength > 0) {
        std::memcpy(fresh + headLength, tail, tailLength * sizeof(Char));
    }
    fresh[total] = Char(0);
    std::free(text);
    text = fresh;
    length = total;
    capacity = total + 1;
    return true;
}

int SetNarrow(char*& text, size_t& length, size_t& capacity, bool append, const char* format,
              va_list args) {
    std::string formatted;
    if (!FormatNarrow(formatted, format, args)) {
        return 0;
    }
    const size_t keep = append ? length : 0;
    return Replace(text, length, capacity, text, keep, formatted.data(), formatted.size()) ? 1 : 0;
}

int SetWide(wchar_t*& text, size_t& length, size_t& capacity, bool append, const char* format,
            va_list args) {
    std::string formatted;
    if (!FormatNarrow(formatted, format, args)) {
        return 0;
    }
    std::wstring wide;
    try {
        wide = zuvo::text::DisplayToWide(formatted);
    } catch (...) {
        return 0;
    }
    const size_t keep = append ? length : 0;
    return Replace(text, length, capacity, text, keep, wide.data(), wide.size()) ? 1 : 0;
}

}  // namespace

CBaseStringA::CBaseStringA() : m_text(nullptr), m_length(0), m_capacity(0) {}

CBaseStringA::~CBaseStringA() {
    std::free(m_text);
}

int CBaseStringA::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int result = SetNarrow(m_text, m_length, m_capacity, false, format, args);
    va_end(args);
    return result;
}

int CBaseStringA::AppendFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int result = SetNarrow(m_text, m_length, m_capacity, true, format, args);
    va_end(args);
    return result;
}

const char* CBaseStringA::GetString() const {
    return m_text != nullptr ? m_text : "";
}

int CBaseStringA::GetLength() const {
    return static_cast<int>(m_length);
}

CBaseStringW::CBaseStringW() : m_text(nullptr), m_length(0), m_capacity(0) {}

CBaseStringW::~CBaseStringW() {
    std::free(m_text);
}

int CBaseStringW::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int result = SetWide(m_text, m_length, m_capacity, false, format, args);
    va_end(args);
    return result;
}

int CBaseStringW::AppendFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int result = SetWide(m_text, m_length, m_capacity, true, format, args);
    va_end(args);
    return result;
}

const wchar_t* CBaseStringW::GetString() const {
    return m_text != nullptr ? m_text : L"";
}

int CBaseStringW::GetLength() const {
    return static_cast<int>(m_length);
}
