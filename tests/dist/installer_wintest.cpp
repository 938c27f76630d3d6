// The installer as an operator's IT department uses it, silently, in the test's own Wine
// prefix: install, start the installed program, upgrade over it, uninstall. And the portable
// zip unpacked into an empty folder, started and closed.
#include <gtest/gtest.h>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "resources/resource.h"
#include "tests/support/Capture.h"
#include "tests/support/ProgramDriver.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WholeFile.h"

namespace {

using zuvo::test::RunningProgram;

// A folder of this Linux machine as Wine sees it.
std::wstring WinePath(const char* linuxPath) {
    std::wstring path = L"Z:";
    for (const char* c = linuxPath; *c != '\0'; ++c) {
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    }
    return path;
}

std::wstring Package(const char* version, const wchar_t* kind) {
    return WinePath(ZUVO_DIST_FOLDER) + L"\\ZUVO_MTT-" +
           std::wstring(version, version + strlen(version)) + L"-x64" + kind;
}

std::wstring Expanded(const wchar_t* text) {
    wchar_t expanded[MAX_PATH] = {};
    ExpandEnvironmentStringsW(text, expanded, MAX_PATH);
    return expanded;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Runs msiexec with arguments and answers its exit code (~0u when it cannot start).
DWORD Msiexec(const std::wstring& arguments) {
    std::wstring command = L"msiexec.exe " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
        return ~0u;
    }
    const zuvo::UniqueKernelHandle process(started.hProcess);
    const zuvo::UniqueKernelHandle thread(started.hThread);
    DWORD code = ~0u;
    if (WaitForSingleObject(started.hProcess, 120000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(started.hProcess, &code);
    }
    return code;
}

// The product's entry under Add/Remove Programs, per user or per machine: its DisplayVersion
// and DisplayIcon, empty when there is none.
struct UninstallEntry {
    std::wstring version;
    std::wstring icon;
    int count = 0;  // entries named ZUVO MTT
};

std::wstring StringValue(HKEY key, const wchar_t* name) {
    wchar_t value[512] = {};
    DWORD size = sizeof(value);
    if (RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
        return {};
    }
    return value;
}

UninstallEntry FindUninstallEntry() {
    UninstallEntry entry;
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        HKEY uninstall = nullptr;
        if (RegOpenKeyExW(root, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", 0,
                          KEY_READ, &uninstall) != ERROR_SUCCESS) {
            continue;
        }
        wchar_t name[256];
        for (DWORD i = 0;; ++i) {
            DWORD length = 256;
            if (RegEnumKeyExW(uninstall, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS) {
                break;
            }
            HKEY product = nullptr;
            if (RegOpenKeyExW(uninstall, name, 0, KEY_READ, &product) != ERROR_SUCCESS) {
                continue;
            }
            if (StringValue(product, L"DisplayName") == L"ZUVO MTT") {
                ++entry.count;
                entry.version = StringValue(product, L"DisplayVersion");
                entry.icon = StringValue(product, L"DisplayIcon");
            }
            RegCloseKey(product);
        }
        RegCloseKey(uninstall);
    }
    return entry;
}

const wchar_t* const kInstalledFiles[] = {
    L"ZUVO_MTT.exe",    L"ZUVO_Common.dll", L"ZUVO_DataProcess.dll",    L"ZUVO_DlgResource.dll",
    L"zuvo-replay.exe", L"README.txt",      L"Radar_Config.default.ini"};

std::wstring Wide(const char* text) {
    return std::wstring(text, text + strlen(text));
}

TEST(Installer, InstallsRunsUpgradesAndUninstallsSilently) {
    const std::wstring folder = Expanded(L"%LOCALAPPDATA%\\Programs\\ZUVO MTT");
    const std::wstring shortcut =
        Expanded(L"%APPDATA%\\Microsoft\\Windows\\Start Menu\\Programs\\ZUVO MTT.lnk");
    ASSERT_FALSE(Exists(folder)) << "the prefix is fresh";

    ASSERT_EQ(Msiexec(L"/i \"" + Package(ZUVO_DIST_VERSION, L".msi") + L"\" /qn"), 0u);
    for (const wchar_t* file : kInstalledFiles) {
        EXPECT_TRUE(Exists(folder + L"\\" + file)) << "installed: " << file;
    }
    EXPECT_TRUE(Exists(shortcut)) << "a Start-menu shortcut";
    UninstallEntry entry = FindUninstallEntry();
    EXPECT_EQ(entry.count, 1);
    EXPECT_EQ(entry.version, Wide(ZUVO_DIST_VERSION));

    // The installed program starts to its main window and keeps its files beside itself.
    {
        RunningProgram program(folder);
        ASSERT_NE(program.Window(), nullptr) << "the installed program shows its main window";
        EXPECT_FALSE(zuvo::test::Capture(program.Window(), zuvo::test::Capture::Source::Window)
                         .Save(L"installed_program")
                         .empty());
        program.Click(IDC_CLOSE);
        EXPECT_EQ(program.WaitForExit(20000), 0u);
    }
    const std::wstring settings = folder + L"\\appConfig.xml";
    const std::wstring parameters = folder + L"\\Radar_Config.ini";
    ASSERT_TRUE(Exists(settings)) << "appConfig.xml in the install folder";
    ASSERT_TRUE(Exists(parameters)) << "Radar_Config.ini made from the default";
    // What the operator changed and collected.
    std::string settingsBytes = zuvo::test::ReadWholeFile(settings);
    settingsBytes.insert(settingsBytes.find("<AppConfig") + 10, " Operator=\"kept\"");
    ASSERT_TRUE(zuvo::test::WriteWholeFile(settings, settingsBytes));
    const std::string parameterBytes =
        zuvo::test::ReadWholeFile(parameters) + "; the operator's own line\r\n";
    ASSERT_TRUE(zuvo::test::WriteWholeFile(parameters, parameterBytes));
    ASSERT_TRUE(CreateDirectoryW((folder + L"\\Log").c_str(), nullptr));
    ASSERT_TRUE(zuvo::test::WriteWholeFile(folder + L"\\Log\\ZUVO_MTT_Result_x.txt", "line\r\n"));

    // A higher version replaces the lower one and keeps all of that byte for byte.
    ASSERT_EQ(Msiexec(L"/i \"" + Package(ZUVO_DIST_NEXT_VERSION, L".msi") + L"\" /qn"), 0u);
    entry = FindUninstallEntry();
    EXPECT_EQ(entry.count, 1) << "one product after the upgrade";
    EXPECT_EQ(entry.version, Wide(ZUVO_DIST_NEXT_VERSION));
    for (const wchar_t* file : kInstalledFiles) {
        EXPECT_TRUE(Exists(folder + L"\\" + file)) << "after the upgrade";
    }
    EXPECT_EQ(zuvo::test::ReadWholeFile(settings), settingsBytes);
    EXPECT_EQ(zuvo::test::ReadWholeFile(parameters), parameterBytes);
    EXPECT_EQ(zuvo::test::ReadWholeFile(folder + L"\\Log\\ZUVO_MTT_Result_x.txt"), "line\r\n");

    // Uninstalling removes every installed file and the shortcut; what the program wrote stays.
    ASSERT_EQ(Msiexec(L"/x \"" + Package(ZUVO_DIST_NEXT_VERSION, L".msi") + L"\" /qn"), 0u);
    for (const wchar_t* file : kInstalledFiles) {
        EXPECT_FALSE(Exists(folder + L"\\" + file)) << "removed";
    }
    EXPECT_FALSE(Exists(shortcut));
    EXPECT_EQ(FindUninstallEntry().count, 0);
    EXPECT_EQ(zuvo::test::ReadWholeFile(settings), settingsBytes);
}

// The version of the VERSION file in every file that ships, with an English and a Chinese
// description.
TEST(VersionResources, EveryShippedFileCarriesTheVersionInBothLanguages) {
    const std::wstring unpacked = WinePath(ZUVO_DIST_FOLDER) + L"\\unpacked\\ZUVO MTT\\";
    unsigned major = 0;
    unsigned minor = 0;
    unsigned patch = 0;
    ASSERT_EQ(sscanf(ZUVO_DIST_VERSION, "%u.%u.%u", &major, &minor, &patch), 3);
    for (const wchar_t* file : {L"ZUVO_MTT.exe", L"ZUVO_Common.dll", L"ZUVO_DataProcess.dll",
                                L"ZUVO_DlgResource.dll", L"zuvo-replay.exe"}) {
        const std::wstring path = unpacked + file;
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
        ASSERT_GT(size, 0u) << "a version resource";
        std::vector<BYTE> block(size);
        ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
        EXPECT_EQ(fixed->dwProductVersionMS, (major << 16) | minor);
        EXPECT_EQ(fixed->dwProductVersionLS, patch << 16);
        EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
        auto text = [&](const wchar_t* language, const wchar_t* name) {
            wchar_t* value = nullptr;
            UINT chars = 0;
            const std::wstring query =
                std::wstring(L"\\StringFileInfo\\") + language + L"\\" + name;
            return VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value),
                                  &chars) &&
                           value != nullptr
                       ? std::wstring(value)
                       : std::wstring();
        };
        for (const wchar_t* language : {L"040904b0", L"080404b0"}) {
            EXPECT_EQ(text(language, L"ProductVersion"), Wide(ZUVO_DIST_VERSION));
            EXPECT_EQ(text(language, L"ProductName"), L"ZUVO MTT");
            EXPECT_EQ(text(language, L"CompanyName"), L"ZUVO");
            EXPECT_EQ(text(language, L"OriginalFilename"), file);
            EXPECT_FALSE(text(language, L"LegalCopyright").empty());
        }
        const std::wstring english = text(L"040904b0", L"FileDescription");
        const std::wstring chinese = text(L"080404b0", L"FileDescription");
        EXPECT_EQ(english.rfind(L"ZUVO ", 0), 0u) << file;
        EXPECT_NE(chinese, english) << file;
        EXPECT_TRUE(std::any_of(chinese.begin(), chinese.end(), [](wchar_t c) {
            return c >= 0x4E00 && c <= 0x9FFF;
        })) << "a Chinese description";
    }
}

TEST(PortableZip, UnpackedIntoAnEmptyFolderItRuns) {
    const std::wstring unpacked = WinePath(ZUVO_DIST_FOLDER) + L"\\unpacked\\ZUVO MTT";
    const zuvo::test::TempFolder empty(u8"portable");
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW((unpacked + L"\\*").c_str(), &entry);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    int copied = 0;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            ASSERT_TRUE(CopyFileW((unpacked + L"\\" + entry.cFileName).c_str(),
                                  empty.Wide(entry.cFileName).c_str(), TRUE));
            ++copied;
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    EXPECT_EQ(copied, 7);
    {
        RunningProgram program(empty.Wide());
        ASSERT_NE(program.Window(), nullptr);
        program.Click(IDC_CLOSE);
        EXPECT_EQ(program.WaitForExit(20000), 0u);
    }
    EXPECT_TRUE(Exists(empty.Wide(L"appConfig.xml")));
}

}  // namespace
