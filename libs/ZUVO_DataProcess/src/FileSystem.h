// What the library needs from the file system beyond the utility library: opening files by
// wide path, replacing a file in one step and listing a folder. Implemented once for Windows
// (FileSystemWin.cpp) and once for POSIX systems (FileSystemPosix.cpp).
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ZUVO_CommonCore.h"
#include "text/CodePage.h"

namespace zuvo::radar::fs {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// Opens a file with a C library mode ("rb", "wb", ...); empty on failure.
UniqueFile OpenFile(const std::wstring& path, const char* mode);

// Hands what the stream buffers to the operating system and waits until it is on the disk.
bool FlushToDisk(std::FILE* file);

// The size of the stream's file in bytes; nothing when it cannot be told.
std::optional<uint64_t> FileSize(std::FILE* file);

// Cuts the file of an unbuffered stream to size bytes (never longer than it is); the stream is
// to be closed afterwards, its position is left where it was.
bool TruncateFile(std::FILE* file, uint64_t size);

// Moves from over to in one step, so a reader sees either the old or the new file, never a
// partial one (flush from to the disk first).
bool MoveFileOver(const std::wstring& from, const std::wstring& to);

bool RemoveFile(const std::wstring& path);

// Names (not paths) of the regular files in folder whose names start with prefix and end with
// suffix, compared without regard to ASCII case, sorted by name.
std::vector<std::wstring> ListFiles(const std::wstring& folder, const std::wstring& prefix,
                                    const std::wstring& suffix);

// Text for a message in the narrow code page the caller's user interface reads (the ANSI code
// page on Windows, UTF-8 elsewhere), by the display rule: a character the code page cannot
// hold is shown as its look-alike.
inline std::string ToMessageText(const std::wstring& wide) {
    return zuvo::text::DisplayToNarrow(wide);
}

#if defined(_WIN32)
constexpr wchar_t kPathSeparator = L'\\';
#else
constexpr wchar_t kPathSeparator = L'/';
#endif

// folder + separator + name, without the length limit of the utility library's joining.
inline std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty()) {
        return name;
    }
    const wchar_t last = folder.back();
    if (last == L'/' || last == L'\\') {
        return folder + name;
    }
    return folder + kPathSeparator + name;
}

}  // namespace zuvo::radar::fs
