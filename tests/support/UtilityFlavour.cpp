#include "tests/support/UtilityFlavour.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "tests/support/TestPaths.h"

namespace zuvo::test {

namespace {

constexpr const wchar_t* kVariable = L"ZUVO_UTILITY_FLAVOUR";

std::wstring FolderOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L"\\/"));
}

}  // namespace

bool ChosenUtilityFlavour(UtilityFlavour* flavour) {
    wchar_t value[32] = {};
    const DWORD length = GetEnvironmentVariableW(kVariable, value, 32);
    const std::wstring text = length < 32 ? std::wstring(value, length) : std::wstring(L"?");
    if (text.empty() || text == L"normal") {
        *flavour = UtilityFlavour::Normal;
        return true;
    }
    if (text == L"strict") {
        *flavour = UtilityFlavour::Strict;
        return true;
    }
    return false;
}

UtilityFlavour UtilityFlavourOfRun() {
    UtilityFlavour flavour = UtilityFlavour::Normal;
    ChosenUtilityFlavour(&flavour);  // an unknown value stops the program in its main
    return flavour;
}

const wchar_t* UtilityFlavourName() {
    return UtilityFlavourOfRun() == UtilityFlavour::Strict ? L"strict" : L"normal";
}

std::wstring UtilityLibraryFolder() {
    if (UtilityFlavourOfRun() == UtilityFlavour::Strict) {
        return FolderOf(TestProgramFolder()) + L"\\strict";
    }
    return BuiltProgramFolder();
}

std::wstring FlavouredName(const std::wstring& name) {
    return UtilityFlavourOfRun() == UtilityFlavour::Strict ? name + L"_strict" : name;
}

bool CheckUtilityFlavour(std::wstring* error) {
    UtilityFlavour flavour = UtilityFlavour::Normal;
    if (!ChosenUtilityFlavour(&flavour)) {
        *error = std::wstring(kVariable) + L" must be \"normal\" or \"strict\"";
        return false;
    }
    const HMODULE library = GetModuleHandleW(L"ZUVO_Common.dll");
    if (library == nullptr) {
        return true;  // this program does not use the library itself
    }
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(library, path, MAX_PATH);
    const std::wstring loaded = FolderOf(std::wstring(path, length));
    const std::wstring wanted = UtilityLibraryFolder();
    if (CompareStringOrdinal(loaded.c_str(), -1, wanted.c_str(), -1, TRUE) != CSTR_EQUAL) {
        *error = L"ZUVO_Common.dll of the " + std::wstring(UtilityFlavourName()) +
                 L" flavour should come from " + wanted + L", but was loaded from " + loaded;
        return false;
    }
    return true;
}

}  // namespace zuvo::test
