// Operating-system hooks of the utility library on Windows.
#include <windows.h>

#include <climits>
#include <string>

#include "Platform.h"
#include "framework/Handles.h"

namespace zuvo::platform {

void DebugChannelWrite(const char* line) {
    OutputDebugStringA(line);
}

std::wstring ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) {
            return std::wstring();
        }
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

bool AppendToFile(const std::wstring& path, const char* text, size_t length) {
    const zuvo::UniqueFileHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok = WriteFile(file.get(), text, static_cast<DWORD>(length), &written, nullptr);
    return ok && written == length;
}

bool EnvironmentEquals(const char* name, const char* value) {
    char buffer[64];
    DWORD n = GetEnvironmentVariableA(name, buffer, sizeof(buffer));
    return n > 0 && n < sizeof(buffer) && lstrcmpA(buffer, value) == 0;
}

}  // namespace zuvo::platform
