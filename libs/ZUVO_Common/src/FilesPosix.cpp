// File and folder functions of the utility library on POSIX systems.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "Platform.h"
#include "ZUVO_CommonCoreExtras.h"
#include "text/CodePage.h"

namespace {

// The file system's name of a path; empty (naming nothing) when the path has no exact one.
std::string Narrow(const wchar_t* path) {
    std::string narrow;
    zuvo::text::PathToNarrow(path, narrow);
    return narrow;
}

bool CopyOut(const std::wstring& text, wchar_t* out) {
    if (text.empty() || text.size() >= ZUVO_MAX_PATH) {
        return false;
    }
    std::wmemcpy(out, text.c_str(), text.size() + 1);
    return true;
}

std::wstring FolderOfProcess(uint32_t processId) {
    if (processId == 0 || processId == static_cast<uint32_t>(getpid())) {
        return zuvo::platform::ProgramFolder();
    }
    char link[64];
    std::snprintf(link, sizeof(link), "/proc/%u/exe", processId);
    char path[PATH_MAX];
    ssize_t n = readlink(link, path, sizeof(path) - 1);
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

}  // namespace

extern "C" {

int ZUVO_CALL GetProgramPathW(uint32_t processId, wchar_t* out) {
    if (out == nullptr) {
        return 0;
    }
    return CopyOut(FolderOfProcess(processId), out) ? 1 : 0;
}

int ZUVO_CALL GetProgramPathA(uint32_t processId, char* out) {
    if (out == nullptr) {
        return 0;
    }
    std::wstring folder = FolderOfProcess(processId);
    std::string narrow;
    if (!zuvo::text::PathToNarrow(folder, narrow) || narrow.empty() ||
        narrow.size() >= ZUVO_MAX_PATH) {
        return 0;
    }
    std::memcpy(out, narrow.c_str(), narrow.size() + 1);
    return 1;
}

int ZUVO_CALL IsDirExistW(const wchar_t* path) {
    struct stat info;
    return path != nullptr && stat(Narrow(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

int ZUVO_CALL IsFileExistW(const wchar_t* path) {
    struct stat info;
    return path != nullptr && stat(Narrow(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

int ZUVO_CALL RecursiveCreateDirectoryW(const wchar_t* path) {
    if (path == nullptr || *path == L'\0') {
        return 0;
    }
    std::string narrow = Narrow(path);
    for (char& c : narrow) {
        if (c == '\\') {
            c = '/';
        }
    }
    // Create every prefix that ends at a separator, then the whole path.
    for (size_t i = 1; i <= narrow.size(); ++i) {
        if (i == narrow.size() || narrow[i] == '/') {
            std::string part = narrow.substr(0, i);
            if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) {
                return 0;
            }
        }
    }
    struct stat info;
    return stat(narrow.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

int64_t ZUVO_CALL ReadFileDataW(const wchar_t* path, uint8_t** buffer) {
    if (buffer == nullptr) {
        return 0;
    }
    *buffer = nullptr;
    if (path == nullptr) {
        return 0;
    }
    std::FILE* file = std::fopen(Narrow(path).c_str(), "rb");
    if (file == nullptr) {
        return 0;
    }
    struct stat info;
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) {
        std::fclose(file);
        return 0;
    }
    auto size = static_cast<size_t>(info.st_size);
    auto* data = static_cast<uint8_t*>(std::malloc(size + 2));
    if (data == nullptr) {
        std::fclose(file);
        return 0;
    }
    size_t got = std::fread(data, 1, size, file);
    std::fclose(file);
    if (got != size) {
        std::free(data);
        return 0;
    }
    data[size] = 0;
    data[size + 1] = 0;
    *buffer = data;
    return static_cast<int64_t>(size);
}

void ZUVO_CALL ReleaseFileData(uint8_t* buffer) {
    std::free(buffer);
}

}  // extern "C"
