// Operating-system hooks of the utility library on POSIX systems, where narrow text is UTF-8
// and wchar_t holds UTF-32 code points.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Platform.h"

namespace zuvo::platform {

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at text[i]; advances i. Malformed input gives U+FFFD.
wchar_t DecodeUtf8(const unsigned char* text, size_t length, size_t& i) {
    unsigned char lead = text[i++];
    if (lead < 0x80) {
        return lead;
    }
    int extra = 0;
    uint32_t cp = 0;
    uint32_t min = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
        min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
        min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
        min = 0x10000;
    } else {
        return kReplacement;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= length || (text[i] & 0xC0) != 0x80) {
            return kReplacement;
        }
        cp = (cp << 6) | (text[i++] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return kReplacement;
    }
    return static_cast<wchar_t>(cp);
}

void EncodeUtf8(uint32_t cp, std::string& out) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        cp = 0xFFFD;
    }
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

}  // namespace

std::wstring AnsiToWide(const char* text, size_t length) {
    std::wstring out;
    if (text == nullptr) {
        return out;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    out.reserve(length);
    size_t i = 0;
    while (i < length) {
        out.push_back(DecodeUtf8(bytes, length, i));
    }
    return out;
}

std::string WideToAnsi(const wchar_t* text, size_t length) {
    std::string out;
    if (text == nullptr) {
        return out;
    }
    out.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        EncodeUtf8(static_cast<uint32_t>(text[i]), out);
    }
    return out;
}

void DebugChannelWrite(const char* line) {
    // The debugger channel of Windows shows each call on its own; on a terminal a line
    // without its line end would run into the next one.
    std::fputs(line, stderr);
    size_t length = std::strlen(line);
    if (length == 0 || line[length - 1] != '\n') {
        std::fputc('\n', stderr);
    }
}

std::wstring ProgramFolder() {
    char path[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (n <= 0) {
        return std::wstring();
    }
    path[n] = '\0';
    char* slash = std::strrchr(path, '/');
    if (slash == nullptr) {
        return std::wstring();
    }
    *slash = '\0';
    return AnsiToWide(path, std::strlen(path));
}

bool AppendToFile(const std::wstring& path, const char* text, size_t length) {
    std::string narrow = WideToAnsi(path.c_str(), path.size());
    std::FILE* file = std::fopen(narrow.c_str(), "ab");
    if (file == nullptr) {
        return false;
    }
    bool ok = std::fwrite(text, 1, length, file) == length;
    ok = (std::fclose(file) == 0) && ok;
    return ok;
}

bool EnvironmentEquals(const char* name, const char* value) {
    const char* actual = std::getenv(name);
    return actual != nullptr && std::strcmp(actual, value) == 0;
}

}  // namespace zuvo::platform
