#include "tests/support/TestPaths.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace zuvo::test {

namespace {

std::wstring FolderOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L"\\/"));
}

}  // namespace

std::wstring TestProgramFile() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, length);
}

std::wstring TestProgramFolder() {
    return FolderOf(TestProgramFile());
}

std::wstring BuiltProgramFolder() {
    return FolderOf(TestProgramFolder()) + L"\\bin";
}

std::wstring ArtefactsFolder() {
    const std::wstring folder = TestProgramFolder() + L"\\artefacts";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

}  // namespace zuvo::test
