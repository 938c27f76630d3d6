// CBaseStringA and CBaseStringW: growable zero-terminated strings with printf formatting.
//
// Storage is plain malloc/realloc so that running out of memory is an ordinary return value and
// never an exception. Formatting always goes through a scratch buffer first, so an argument may
// point into the string being formatted. When formatting fails (an encoding error, or no
// memory) Format and AppendFormat answer -1 and leave the text as it was.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "Platform.h"
#include "ZUVO_CommonCore.h"

namespace {

constexpr size_t kFirstScratchChars = 256;
// vswprintf answers -1 both for "buffer too small" and for a real encoding error, so growth
// must stop somewhere: 4 Mi characters is far beyond any line this system formats.
constexpr size_t kMaxFormatChars = size_t{1} << 22;
constexpr size_t kMinCapacity = 16;

// A malloc'ed buffer that frees itself.
template <typename Char>
class Scratch {
public:
    Scratch() = default;
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    ~Scratch() { std::free(m_data); }

    bool Resize(size_t chars) {
        void* grown = std::realloc(m_data, chars * sizeof(Char));
        if (grown == nullptr) {
            return false;
        }
        m_data = static_cast<Char*>(grown);
        m_size = chars;
        return true;
    }
    Char* Data() const { return m_data; }
    size_t Size() const { return m_size; }

private:
    Char* m_data = nullptr;
    size_t m_size = 0;
};

int PrintInto(char* buffer, size_t size, const char* format, va_list args) {
    return std::vsnprintf(buffer, size, format, args);
}

int PrintInto(wchar_t* buffer, size_t size, const wchar_t* format, va_list args) {
    return std::vswprintf(buffer, size, format, args);
}

// Formats into scratch; answers the length, or -1 on a format error or when memory ran out.
// A C99 vsnprintf answers the length it needs; vswprintf (and old runtimes) answer -1 when the
// buffer is too small, in which case the buffer doubles until kMaxFormatChars.
template <typename Char>
int FormatToScratch(Scratch<Char>& scratch, const Char* format, va_list args) {
    if (format == nullptr) {
        return -1;
    }
    size_t wanted = kFirstScratchChars;
    for (;;) {
        if (!scratch.Resize(wanted)) {
            return -1;
        }
        va_list copy;
        va_copy(copy, args);
        const int written = PrintInto(scratch.Data(), scratch.Size(), format, copy);
        va_end(copy);
        if (written >= 0 && static_cast<size_t>(written) < scratch.Size()) {
            return written;
        }
        if (written >= 0) {
            wanted = static_cast<size_t>(written) + 1;
        } else {
            wanted = scratch.Size() * 2;
        }
        if (wanted > kMaxFormatChars) {
            return -1;
        }
    }
}

// Formats narrow text and converts it to wide text.
bool FormatNarrowToWide(std::wstring& out, const char* format, va_list args) {
    Scratch<char> scratch;
    const int length = FormatToScratch(scratch, format, args);
    if (length < 0) {
        return false;
    }
    try {
        out = zuvo::platform::AnsiToWide(scratch.Data(), static_cast<size_t>(length));
    } catch (...) {
        return false;
    }
    return true;
}

// The capacity to reserve for needed characters plus the terminator: doubling keeps repeated
// appends linear.
size_t GrownCapacity(size_t current, size_t needed) {
    size_t capacity = current < kMinCapacity ? kMinCapacity : current;
    while (capacity < needed) {
        capacity *= 2;
    }
    return capacity;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// CBaseStringA
// ---------------------------------------------------------------------------------------------

CBaseStringA::CBaseStringA() : m_text(nullptr), m_length(0), m_capacity(0) {}

CBaseStringA::CBaseStringA(const char* text) : CBaseStringA() {
    SetString(text);
}

CBaseStringA::CBaseStringA(const CBaseStringA& other) : CBaseStringA() {
    SetString(other.GetString(), other.GetLength());
}

CBaseStringA& CBaseStringA::operator=(const CBaseStringA& other) {
    if (this != &other) {
        SetString(other.GetString(), other.GetLength());
    }
    return *this;
}

CBaseStringA::~CBaseStringA() {
    std::free(m_text);
}

int CBaseStringA::Format(const char* format, ...) {
    Scratch<char> scratch;
    va_list args;
    va_start(args, format);
    const int length = FormatToScratch(scratch, format, args);
    va_end(args);
    if (length < 0) {
        return -1;
    }
    SetString(scratch.Data(), length);
    return GetLength();
}

int CBaseStringA::AppendFormat(const char* format, ...) {
    Scratch<char> scratch;
    va_list args;
    va_start(args, format);
    const int length = FormatToScratch(scratch, format, args);
    va_end(args);
    if (length < 0) {
        return -1;
    }
    Append(scratch.Data(), static_cast<size_t>(length));
    return GetLength();
}

void CBaseStringA::SetString(const char* text, int length) {
    if (text == nullptr) {
        Empty();
        return;
    }
    const size_t count = length < 0 ? std::strlen(text) : static_cast<size_t>(length);
    if (count < m_capacity) {
        // Also right when text points into this string: memmove copes with the overlap.
        std::memmove(m_text, text, count);
        m_text[count] = '\0';
        m_length = count;
        return;
    }
    // Text longer than the buffer cannot lie inside it, so the old buffer may go.
    const size_t capacity = GrownCapacity(0, count + 1);
    char* fresh = static_cast<char*>(std::malloc(capacity));
    if (fresh == nullptr) {
        return;
    }
    std::memcpy(fresh, text, count);
    fresh[count] = '\0';
    std::free(m_text);
    m_text = fresh;
    m_length = count;
    m_capacity = capacity;
}

void CBaseStringA::Empty() {
    m_length = 0;
    if (m_text != nullptr) {
        m_text[0] = '\0';
    }
}

const char* CBaseStringA::GetString() const {
    return m_text != nullptr ? m_text : "";
}

int CBaseStringA::GetLength() const {
    return static_cast<int>(m_length);
}

// Only called with formatted scratch text, never with text inside this string (Reserve may
// move the buffer).
void CBaseStringA::Append(const char* text, size_t length) {
    if (text == nullptr || length == 0) {
        return;
    }
    Reserve(m_length + length + 1);
    if (m_capacity < m_length + length + 1) {
        return;
    }
    std::memcpy(m_text + m_length, text, length);
    m_length += length;
    m_text[m_length] = '\0';
}

void CBaseStringA::Reserve(size_t capacity) {
    if (capacity <= m_capacity) {
        return;
    }
    const size_t grown = GrownCapacity(m_capacity, capacity);
    char* fresh = static_cast<char*>(std::realloc(m_text, grown));
    if (fresh == nullptr) {
        return;
    }
    if (m_text == nullptr) {
        fresh[0] = '\0';
    }
    m_text = fresh;
    m_capacity = grown;
}

// ---------------------------------------------------------------------------------------------
// CBaseStringW
// ---------------------------------------------------------------------------------------------

CBaseStringW::CBaseStringW() : m_text(nullptr), m_length(0), m_capacity(0) {}

CBaseStringW::CBaseStringW(const wchar_t* text) : CBaseStringW() {
    SetString(text);
}

CBaseStringW::CBaseStringW(const CBaseStringW& other) : CBaseStringW() {
    SetString(other.GetString(), other.GetLength());
}

CBaseStringW& CBaseStringW::operator=(const CBaseStringW& other) {
    if (this != &other) {
        SetString(other.GetString(), other.GetLength());
    }
    return *this;
}

CBaseStringW::~CBaseStringW() {
    std::free(m_text);
}

int CBaseStringW::Format(const char* format, ...) {
    std::wstring wide;
    va_list args;
    va_start(args, format);
    const bool formatted = FormatNarrowToWide(wide, format, args);
    va_end(args);
    if (!formatted) {
        return -1;
    }
    SetString(wide.c_str(), static_cast<int>(wide.size()));
    return GetLength();
}

int CBaseStringW::Format(const wchar_t* format, ...) {
    Scratch<wchar_t> scratch;
    va_list args;
    va_start(args, format);
    const int length = FormatToScratch(scratch, format, args);
    va_end(args);
    if (length < 0) {
        return -1;
    }
    SetString(scratch.Data(), length);
    return GetLength();
}

int CBaseStringW::AppendFormat(const char* format, ...) {
    std::wstring wide;
    va_list args;
    va_start(args, format);
    const bool formatted = FormatNarrowToWide(wide, format, args);
    va_end(args);
    if (!formatted) {
        return -1;
    }
    Append(wide.c_str(), wide.size());
    return GetLength();
}

int CBaseStringW::AppendFormat(const wchar_t* format, ...) {
    Scratch<wchar_t> scratch;
    va_list args;
    va_start(args, format);
    const int length = FormatToScratch(scratch, format, args);
    va_end(args);
    if (length < 0) {
        return -1;
    }
    Append(scratch.Data(), static_cast<size_t>(length));
    return GetLength();
}

void CBaseStringW::SetString(const wchar_t* text, int length) {
    if (text == nullptr) {
        Empty();
        return;
    }
    const size_t count = length < 0 ? std::wcslen(text) : static_cast<size_t>(length);
    if (count < m_capacity) {
        std::wmemmove(m_text, text, count);
        m_text[count] = L'\0';
        m_length = count;
        return;
    }
    const size_t capacity = GrownCapacity(0, count + 1);
    wchar_t* fresh = static_cast<wchar_t*>(std::malloc(capacity * sizeof(wchar_t)));
    if (fresh == nullptr) {
        return;
    }
    std::wmemcpy(fresh, text, count);
    fresh[count] = L'\0';
    std::free(m_text);
    m_text = fresh;
    m_length = count;
    m_capacity = capacity;
}

void CBaseStringW::Empty() {
    m_length = 0;
    if (m_text != nullptr) {
        m_text[0] = L'\0';
    }
}

const wchar_t* CBaseStringW::GetString() const {
    return m_text != nullptr ? m_text : L"";
}

int CBaseStringW::GetLength() const {
    return static_cast<int>(m_length);
}

// Only called with formatted scratch text, never with text inside this string (Reserve may
// move the buffer).
void CBaseStringW::Append(const wchar_t* text, size_t length) {
    if (text == nullptr || length == 0) {
        return;
    }
    Reserve(m_length + length + 1);
    if (m_capacity < m_length + length + 1) {
        return;
    }
    std::wmemcpy(m_text + m_length, text, length);
    m_length += length;
    m_text[m_length] = L'\0';
}

void CBaseStringW::Reserve(size_t capacity) {
    if (capacity <= m_capacity) {
        return;
    }
    const size_t grown = GrownCapacity(m_capacity, capacity);
    wchar_t* fresh = static_cast<wchar_t*>(std::realloc(m_text, grown * sizeof(wchar_t)));
    if (fresh == nullptr) {
        return;
    }
    if (m_text == nullptr) {
        fresh[0] = L'\0';
    }
    m_text = fresh;
    m_capacity = grown;
}
