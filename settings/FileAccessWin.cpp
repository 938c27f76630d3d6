#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <io.h>

#include <cstdio>

#include "settings/FileAccess.h"

namespace zuvo::settings {

std::FILE* OpenFileForWriting(const wchar_t* path) {
    // _wfopen opens without a share restriction, so other programs may still read the file.
    return path != nullptr ? _wfopen(path, L"wb") : nullptr;
}

bool CommitFileToDisk(std::FILE* file) {
    return file != nullptr && std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
}

bool ReplaceFileAtomically(const wchar_t* source, const wchar_t* target) {
    if (source == nullptr || target == nullptr) {
        return false;
    }
    // A virus scanner or an editor may hold the file for a moment without delete sharing,
    // which refuses the replacement; such holds are short, so try again for a while.
    constexpr int kAttempts = 20;
    constexpr DWORD kPauseMs = 25;
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
            return true;
        }
        const DWORD error = GetLastError();
        if (attempt == kAttempts ||
            (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED)) {
            return false;
        }
        Sleep(kPauseMs);
    }
}

bool RemoveFile(const wchar_t* path) {
    return path != nullptr && DeleteFileW(path) != 0;
}

}  // namespace zuvo::settings
