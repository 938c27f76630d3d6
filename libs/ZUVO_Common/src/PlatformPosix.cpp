// Operating-system hooks of the utility library on POSIX systems.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Platform.h"
#include "text/CodePage.h"

namespace zuvo::platform {

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
    std::wstring folder;
    return zuvo::text::PathToWide(path, folder) ? folder : std::wstring();
}

bool AppendToFile(const std::wstring& path, const char* text, size_t length) {
    std::string narrow;
    if (!zuvo::text::PathToNarrow(path, narrow)) {
        return false;
    }
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
