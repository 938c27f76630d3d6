#include <unistd.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "settings/FileAccess.h"
#include "text/CodePage.h"

namespace zuvo::settings {

namespace {

bool Narrow(const wchar_t* path, std::string& out) {
    return path != nullptr &&
           zuvo::text::PathToNarrow(std::wstring_view(path, std::wcslen(path)), out);
}

}  // namespace

std::FILE* OpenFileForWriting(const wchar_t* path) {
    std::string narrow;
    return Narrow(path, narrow) ? std::fopen(narrow.c_str(), "wb") : nullptr;
}

bool CommitFileToDisk(std::FILE* file) {
    return file != nullptr && std::fflush(file) == 0 && fsync(fileno(file)) == 0;
}

bool ReplaceFileAtomically(const wchar_t* source, const wchar_t* target) {
    std::string from;
    std::string to;
    return Narrow(source, from) && Narrow(target, to) && std::rename(from.c_str(), to.c_str()) == 0;
}

bool RemoveFile(const wchar_t* path) {
    std::string narrow;
    return Narrow(path, narrow) && std::remove(narrow.c_str()) == 0;
}

}  // namespace zuvo::settings
