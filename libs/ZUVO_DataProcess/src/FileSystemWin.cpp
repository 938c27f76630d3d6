// File system functions on Windows: wide paths go to the wide API unchanged.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <io.h>

#include <algorithm>
#include <cstdio>

#include "FileSystem.h"
#include "AsciiText.h"
#include "framework/Handles.h"
#include "text/Unicode.h"

namespace zuvo::radar::fs {

namespace {

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
        }
    }
    return text;
}

}  // namespace

UniqueFile OpenFile(const std::wstring& path, const char* mode) {
    const std::wstring wideMode = zuvo::text::Utf8ToWide(mode);
    return UniqueFile(_wfopen(path.c_str(), wideMode.c_str()));
}

bool FlushToDisk(std::FILE* file) {
    return std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
}

std::optional<uint64_t> FileSize(std::FILE* file) {
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    LARGE_INTEGER length;
    if (handle == INVALID_HANDLE_VALUE || GetFileSizeEx(handle, &length) == 0) {
        return std::nullopt;
    }
    return static_cast<uint64_t>(length.QuadPart);
}

bool TruncateFile(std::FILE* file, uint64_t size) {
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    LARGE_INTEGER length;
    if (handle == INVALID_HANDLE_VALUE || GetFileSizeEx(handle, &length) == 0) {
        return false;
    }
    if (static_cast<uint64_t>(length.QuadPart) <= size) {
        return true;
    }
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    return SetFilePointerEx(handle, end, nullptr, FILE_BEGIN) != 0 && SetEndOfFile(handle) != 0;
}

bool MoveFileOver(const std::wstring& from, const std::wstring& to) {
    // Write-through: the move returns only once it is on the disk, so a crash right after it
    // leaves the new file, not a name pointing at nothing.
    return MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool RemoveFile(const std::wstring& path) {
    return DeleteFileW(path.c_str()) != 0;
}

std::vector<std::wstring> ListFiles(const std::wstring& folder, const std::wstring& prefix,
                                    const std::wstring& suffix) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    const std::wstring pattern = JoinPath(folder, L"*");
    const UniqueFind find(FindFirstFileW(pattern.c_str(), &data));
    if (!find) {
        return names;
    }
    const std::wstring wantedPrefix = Lower(prefix);
    const std::wstring wantedSuffix = Lower(suffix);
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            continue;
        }
        const std::wstring name = Lower(data.cFileName);
        if (name.size() >= wantedPrefix.size() + wantedSuffix.size() &&
            name.compare(0, wantedPrefix.size(), wantedPrefix) == 0 &&
            name.compare(name.size() - wantedSuffix.size(), wantedSuffix.size(), wantedSuffix) ==
                0) {
            names.push_back(data.cFileName);
        }
    } while (FindNextFileW(find.get(), &data));
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace zuvo::radar::fs
