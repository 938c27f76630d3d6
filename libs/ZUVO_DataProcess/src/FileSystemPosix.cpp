// File system functions on POSIX systems: wide paths are UTF-8 on the disk.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "FileSystem.h"
#include "AsciiText.h"
#include "text/Unicode.h"

namespace zuvo::radar::fs {

namespace {

std::string Native(const std::wstring& path) {
    std::string narrow = zuvo::text::WideToUtf8(path);
    std::replace(narrow.begin(), narrow.end(), '\\', '/');
    return narrow;
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           AsciiLower(text.substr(text.size() - suffix.size())) == AsciiLower(suffix);
}

}  // namespace

UniqueFile OpenFile(const std::wstring& path, const char* mode) {
    return UniqueFile(std::fopen(Native(path).c_str(), mode));
}

bool FlushToDisk(std::FILE* file) {
    return std::fflush(file) == 0 && fsync(fileno(file)) == 0;
}

std::optional<uint64_t> FileSize(std::FILE* file) {
    struct stat info;
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return static_cast<uint64_t>(info.st_size);
}

bool TruncateFile(std::FILE* file, uint64_t size) {
    struct stat info;
    const int descriptor = fileno(file);
    if (fstat(descriptor, &info) != 0) {
        return false;
    }
    return static_cast<uint64_t>(info.st_size) <= size ||
           ftruncate(descriptor, static_cast<off_t>(size)) == 0;
}

bool MoveFileOver(const std::wstring& from, const std::wstring& to) {
    return std::rename(Native(from).c_str(), Native(to).c_str()) == 0;
}

bool RemoveFile(const std::wstring& path) {
    return std::remove(Native(path).c_str()) == 0;
}

std::vector<std::wstring> ListFiles(const std::wstring& folder, const std::wstring& prefix,
                                    const std::wstring& suffix) {
    std::vector<std::wstring> names;
    const std::string base = Native(folder);
    DIR* dir = opendir(base.c_str());
    if (dir == nullptr) {
        return names;
    }
    const std::string wantedPrefix = AsciiLower(zuvo::text::WideToUtf8(prefix));
    const std::string wantedSuffix = zuvo::text::WideToUtf8(suffix);
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (AsciiLower(name.substr(0, wantedPrefix.size())) != wantedPrefix ||
            !EndsWithIgnoringCase(name, wantedSuffix)) {
            continue;
        }
        struct stat info;
        if (stat((base + "/" + name).c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            names.push_back(zuvo::text::Utf8ToWide(name));
        }
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace zuvo::radar::fs
