// File and folder functions of the utility library on Windows.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "Platform.h"
#include "text/CodePage.h"
#include "ZUVO_CommonCoreExtras.h"
#include "framework/Handles.h"

namespace {

std::wstring FolderOfProcess(uint32_t processId) {
    if (processId == 0 || processId == GetCurrentProcessId()) {
        return zuvo::platform::ProgramFolder();
    }
    const zuvo::UniqueKernelHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) {
        return std::wstring();
    }
    wchar_t path[32768];
    DWORD size = static_cast<DWORD>(sizeof(path) / sizeof(path[0]));
    if (!QueryFullProcessImageNameW(process.get(), 0, path, &size)) {
        return std::wstring();
    }
    std::wstring text(path, size);
    size_t slash = text.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : text.substr(0, slash);
}

bool IsDirectory(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

extern "C" {

int ZUVO_CALL GetProgramPathW(uint32_t processId, wchar_t* out) {
    if (out == nullptr) {
        return 0;
    }
    std::wstring folder = FolderOfProcess(processId);
    if (folder.empty() || folder.size() >= ZUVO_MAX_PATH) {
        return 0;
    }
    std::wmemcpy(out, folder.c_str(), folder.size() + 1);
    return 1;
}

int ZUVO_CALL GetProgramPathA(uint32_t processId, char* out) {
    if (out == nullptr) {
        return 0;
    }
    std::wstring folder = FolderOfProcess(processId);
    // A folder the code page cannot name exactly is not answered with a look-alike.
    std::string narrow;
    if (!zuvo::text::PathToNarrow(folder, narrow) || narrow.empty() ||
        narrow.size() >= ZUVO_MAX_PATH) {
        return 0;
    }
    std::memcpy(out, narrow.c_str(), narrow.size() + 1);
    return 1;
}

int ZUVO_CALL IsDirExistW(const wchar_t* path) {
    return path != nullptr && IsDirectory(path) ? 1 : 0;
}

int ZUVO_CALL IsFileExistW(const wchar_t* path) {
    if (path == nullptr) {
        return 0;
    }
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int ZUVO_CALL RecursiveCreateDirectoryW(const wchar_t* path) {
    if (path == nullptr || *path == L'\0') {
        return 0;
    }
    std::wstring text(path);
    for (wchar_t& c : text) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    while (text.size() > 3 && text.back() == L'\\') {
        text.pop_back();
    }
    // Skip the root ("C:\" or "\\server\share\") before creating the pieces in order.
    size_t start = 0;
    if (text.size() >= 2 && text[1] == L':') {
        start = 3;
    } else if (text.rfind(L"\\\\", 0) == 0) {
        size_t server = text.find(L'\\', 2);
        size_t share = server == std::wstring::npos ? server : text.find(L'\\', server + 1);
        start = share == std::wstring::npos ? text.size() : share + 1;
    }
    for (size_t i = start; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == L'\\') {
            std::wstring part = text.substr(0, i);
            if (!part.empty() && !IsDirectory(part) && !CreateDirectoryW(part.c_str(), nullptr) &&
                GetLastError() != ERROR_ALREADY_EXISTS) {
                return 0;
            }
        }
    }
    return IsDirectory(text) ? 1 : 0;
}

int64_t ZUVO_CALL ReadFileDataW(const wchar_t* path, uint8_t** buffer) {
    if (buffer == nullptr) {
        return 0;
    }
    *buffer = nullptr;
    if (path == nullptr) {
        return 0;
    }
    // Shared for reading and writing so that a file another program holds open is still read.
    zuvo::UniqueFileHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                            nullptr));
    if (!file) {
        return 0;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 || size.QuadPart > 0x7FFFFFF0LL) {
        return 0;
    }
    auto length = static_cast<DWORD>(size.QuadPart);
    auto* data = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(length) + 2));
    if (data == nullptr) {
        return 0;
    }
    DWORD got = 0;
    BOOL ok = length == 0 || ReadFile(file.get(), data, length, &got, nullptr);
    file.reset();
    if (!ok || got != length) {
        std::free(data);
        return 0;
    }
    data[length] = 0;
    data[length + 1] = 0;
    *buffer = data;
    return static_cast<int64_t>(length);
}

void ZUVO_CALL ReleaseFileData(uint8_t* buffer) {
    std::free(buffer);
}

}  // extern "C"
