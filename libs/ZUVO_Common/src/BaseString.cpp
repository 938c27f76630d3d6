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
#include "text/CodePage.h"
#include "ZUVO_CommonCoreExtras.h"

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

// The format comes from the caller of Format, whose declaration has it checked; clang (the
// fuzz build) would also want every template on the way marked, gcc does not.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wformat-nonliteral"
#endif
int PrintInto(char* buffer, size_t size, const char* format, va_list args) {
    return std::vsnprintf(buffer, size, format, args);
}
#if defined(__clang__)
#pragma clang diagnostic pop
#endif

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
        out = zuvo::text::DisplayToWide(
            std::string_view(scratch.Data(), static_cast<size_t>(length)));
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

// The three data members of a string, for the helpers below: the classes keep their storage in
// plain members (its layout is shared with the program), and these work on it for both.
template <typename Char>
struct Storage {
    Char*& text;
    size_t& length;
    size_t& capacity;
};

template <typename Char>
size_t TextLength(const Char* text) {
    return std::char_traits<Char>::length(text);
}

// Replaces the text with count characters of text, which may point into the string itself.
template <typename Char>
void Assign(Storage<Char> string, const Char* text, size_t count) {
    if (count < string.capacity) {
        // Also right when text points into this string: move copes with the overlap.
        std::char_traits<Char>::move(string.text, text, count);
        string.text[count] = Char(0);
        string.length = count;
        return;
    }
    // Text longer than the buffer cannot lie inside it, so the old buffer may go.
    const size_t capacity = GrownCapacity(0, count + 1);
    Char* fresh = static_cast<Char*>(std::malloc(capacity * sizeof(Char)));
    if (fresh == nullptr) {
        return;
    }
    std::char_traits<Char>::copy(fresh, text, count);
    fresh[count] = Char(0);
    std::free(string.text);
    string.text = fresh;
    string.length = count;
    string.capacity = capacity;
}

template <typename Char>
void Clear(Storage<Char> string) {
    string.length = 0;
    if (string.text != nullptr) {
        string.text[0] = Char(0);
    }
}

// Null text empties the string; a negative length takes text up to its zero.
template <typename Char>
void AssignText(Storage<Char> string, const Char* text, int length) {
    if (text == nullptr) {
        Clear(string);
        return;
    }
    Assign(string, text, length < 0 ? TextLength(text) : static_cast<size_t>(length));
}

template <typename Char>
void Reserve(Storage<Char> string, size_t capacity) {
    if (capacity <= string.capacity) {
        return;
    }
    const size_t grown = GrownCapacity(string.capacity, capacity);
    Char* fresh = static_cast<Char*>(std::realloc(string.text, grown * sizeof(Char)));
    if (fresh == nullptr) {
        return;
    }
    if (string.text == nullptr) {
        fresh[0] = Char(0);
    }
    string.text = fresh;
    string.capacity = grown;
}

// Only called with formatted scratch text, never with text inside this string (Reserve may
// move the buffer).
template <typename Char>
void Append(Storage<Char> string, const Char* text, size_t length) {
    if (text == nullptr || length == 0) {
        return;
    }
    Reserve(string, string.length + length + 1);
    if (string.capacity < string.length + length + 1) {
        return;
    }
    std::char_traits<Char>::copy(string.text + string.length, text, length);
    string.length += length;
    string.text[string.length] = Char(0);
}

// Formats into the string (replacing or appending); answers the new length or -1.
template <typename Char>
int FormatInto(Storage<Char> string, bool append, const Char* format, va_list args) {
    Scratch<Char> scratch;
    const int length = FormatToScratch(scratch, format, args);
    if (length < 0) {
        return -1;
    }
    if (append) {
        Append(string, scratch.Data(), static_cast<size_t>(length));
    } else {
        Assign(string, scratch.Data(), static_cast<size_t>(length));
    }
    return static_cast<int>(string.length);
}

// Formats narrow text, converts it to wide text and puts it into the string.
int FormatNarrowInto(Storage<wchar_t> string, bool append, const char* format, va_list args) {
    std::wstring wide;
    if (!FormatNarrowToWide(wide, format, args)) {
        return -1;
    }
    if (append) {
        Append(string, wide.c_str(), wide.size());
    } else {
        Assign(string, wide.c_str(), wide.size());
    }
    return static_cast<int>(string.length);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// CBaseStringA
// ---------------------------------------------------------------------------------------------

CBaseStringA::CBaseStringA() : m_text(nullptr), m_length(0), m_capacity(0) {}

CBaseStringA::~CBaseStringA() {
    std::free(m_text);
}

int CBaseStringA::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int length = FormatInto(Storage<char>{m_text, m_length, m_capacity}, false, format, args);
    va_end(args);
    return length;
}

int CBaseStringA::AppendFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int length = FormatInto(Storage<char>{m_text, m_length, m_capacity}, true, format, args);
    va_end(args);
    return length;
}

const char* CBaseStringA::GetString() const {
    return m_text != nullptr ? m_text : "";
}

int CBaseStringA::GetLength() const {
    return static_cast<int>(m_length);
}

// ---------------------------------------------------------------------------------------------
// CBaseStringW
// ---------------------------------------------------------------------------------------------

CBaseStringW::CBaseStringW() : m_text(nullptr), m_length(0), m_capacity(0) {}

CBaseStringW::~CBaseStringW() {
    std::free(m_text);
}

int CBaseStringW::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int length =
        FormatNarrowInto(Storage<wchar_t>{m_text, m_length, m_capacity}, false, format, args);
    va_end(args);
    return length;
}

int CBaseStringW::AppendFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int length =
        FormatNarrowInto(Storage<wchar_t>{m_text, m_length, m_capacity}, true, format, args);
    va_end(args);
    return length;
}

const wchar_t* CBaseStringW::GetString() const {
    return m_text != nullptr ? m_text : L"";
}

int CBaseStringW::GetLength() const {
    return static_cast<int>(m_length);
}

// ---------------------------------------------------------------------------------------------
// What our library adds: CBaseStringAEx, CBaseStringWEx
// ---------------------------------------------------------------------------------------------

CBaseStringAEx::CBaseStringAEx() = default;

CBaseStringAEx::CBaseStringAEx(const char* text) {
    SetString(text, -1);
}

CBaseStringAEx::CBaseStringAEx(const CBaseStringAEx& other) : CBaseStringA() {
    SetString(other.GetString(), other.GetLength());
}

CBaseStringAEx& CBaseStringAEx::operator=(const CBaseStringAEx& other) {
    if (this != &other) {
        SetString(other.GetString(), other.GetLength());
    }
    return *this;
}

CBaseStringAEx::~CBaseStringAEx() = default;

void CBaseStringAEx::SetString(const char* text, int length) {
    AssignText(Storage<char>{m_text, m_length, m_capacity}, text, length);
}

void CBaseStringAEx::Empty() {
    Clear(Storage<char>{m_text, m_length, m_capacity});
}

CBaseStringWEx::CBaseStringWEx() = default;

CBaseStringWEx::CBaseStringWEx(const wchar_t* text) {
    SetString(text, -1);
}

CBaseStringWEx::CBaseStringWEx(const CBaseStringWEx& other) : CBaseStringW() {
    SetString(other.GetString(), other.GetLength());
}

CBaseStringWEx& CBaseStringWEx::operator=(const CBaseStringWEx& other) {
    if (this != &other) {
        SetString(other.GetString(), other.GetLength());
    }
    return *this;
}

CBaseStringWEx::~CBaseStringWEx() = default;

int CBaseStringWEx::Format(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    const int length =
        FormatInto(Storage<wchar_t>{m_text, m_length, m_capacity}, false, format, args);
    va_end(args);
    return length;
}

int CBaseStringWEx::AppendFormat(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    const int length =
        FormatInto(Storage<wchar_t>{m_text, m_length, m_capacity}, true, format, args);
    va_end(args);
    return length;
}

void CBaseStringWEx::SetString(const wchar_t* text, int length) {
    AssignText(Storage<wchar_t>{m_text, m_length, m_capacity}, text, length);
}

void CBaseStringWEx::Empty() {
    Clear(Storage<wchar_t>{m_text, m_length, m_capacity});
}
