// The Windows half of the utility library against the real system: single instance across
// processes, bitmaps, folders and files, the program folder, diagnostics.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <optional>
#include <string>

#include "ZUVO_Common.h"
#include "framework/Handles.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestPaths.h"
#include "tests/support/WineMain.h"

namespace {

using zuvo::test::TestProgramFile;

constexpr wchar_t kChildInstance[] = L"--child-instance";

// Started with "--child-instance <name>" this program acts as the second process of the
// single-instance test and exits with the answer of CheckSingleInstanceW.
const bool kChildHook =
    zuvo::test::SetWineMainHooks({.instead = [](int argc, wchar_t** argv) -> std::optional<int> {
        if (argc == 3 && std::wcscmp(argv[1], kChildInstance) == 0) {
            return CheckSingleInstanceW(argv[2]);
        }
        return std::nullopt;
    }});

// Runs this program as a child with the arguments and answers its exit code.
DWORD RunChild(const std::wstring& arguments) {
    std::wstring command = L"\"" + TestProgramFile() + L"\" " + arguments;
    STARTUPINFOW startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        ADD_FAILURE() << "CreateProcess failed: " << GetLastError();
        return 0xFFFFFFFF;
    }
    zuvo::UniqueKernelHandle thread(process.hThread);
    zuvo::UniqueKernelHandle child(process.hProcess);
    EXPECT_EQ(WaitForSingleObject(child.get(), 30000), WAIT_OBJECT_0);
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(child.get(), &code);
    return code;
}

TEST(SingleInstance, SecondProcessSeesTheNameTaken) {
    std::wstring name = L"Global\\zuvo-test-" + std::to_wstring(GetCurrentProcessId()) +
                        L"-{7C1D2E90-5B3A-4F6E-8D21-0A9B3C4D5E6F}";
    EXPECT_EQ(RunChild(std::wstring(kChildInstance) + L" " + name), 1u)
        << "free before anybody holds it";
    ASSERT_EQ(CheckSingleInstanceW(name.c_str()), 1);
    EXPECT_EQ(CheckSingleInstanceW(name.c_str()), 0) << "an earlier call holds it";
    EXPECT_EQ(RunChild(std::wstring(kChildInstance) + L" " + name), 0u)
        << "a second process must be refused";
    EXPECT_EQ(RunChild(std::wstring(kChildInstance) + L" " + name + L"-other"), 1u);
    EXPECT_EQ(CheckSingleInstanceW(nullptr), 0);
    EXPECT_EQ(CheckSingleInstanceW(L""), 0);
}

TEST(CreateHBitmap, TopDownPixelsAreAddressableAndZeroed) {
    void* bits = nullptr;
    zuvo::UniqueBitmap bitmap(CreateHBitmap(&bits, 5, -3, 32));
    ASSERT_TRUE(bitmap);
    ASSERT_NE(bits, nullptr);
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(pixels[i], 0u);
    }
    pixels[0] = 0xFF112233;  // row 0 = the top row
    pixels[2 * 5 + 4] = 0xFFAABBCC;

    BITMAP info;
    ASSERT_EQ(GetObjectW(bitmap.get(), sizeof(info), &info), static_cast<int>(sizeof(info)));
    EXPECT_EQ(info.bmWidth, 5);
    EXPECT_EQ(info.bmHeight, 3);
    EXPECT_EQ(info.bmBitsPixel, 32);

    zuvo::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    zuvo::SelectGuard select(dc.get(), bitmap.get());
    EXPECT_EQ(GetPixel(dc.get(), 0, 0), RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(GetPixel(dc.get(), 4, 2), RGB(0xAA, 0xBB, 0xCC));
}

TEST(CreateHBitmap, BottomUp24BitRowsArePadded) {
    void* bits = nullptr;
    zuvo::UniqueBitmap bitmap(CreateHBitmap(&bits, 3, 2, 24));
    ASSERT_TRUE(bitmap);
    auto* bytes = static_cast<uint8_t*>(bits);
    // 3 pixels x 3 bytes = 9, padded to 12 per row; the first row in memory is the bottom one.
    bytes[12 + 0] = 0x10;  // blue of (0, top row)
    bytes[12 + 1] = 0x20;
    bytes[12 + 2] = 0x30;
    zuvo::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    zuvo::SelectGuard select(dc.get(), bitmap.get());
    EXPECT_EQ(GetPixel(dc.get(), 0, 0), RGB(0x30, 0x20, 0x10));
}

TEST(CreateHBitmap, RefusesBadArguments) {
    void* bits = reinterpret_cast<void*>(1);
    EXPECT_EQ(CreateHBitmap(&bits, 0, 10, 32), nullptr);
    EXPECT_EQ(bits, nullptr);
    EXPECT_EQ(CreateHBitmap(nullptr, 10, 0, 32), nullptr);
    EXPECT_EQ(CreateHBitmap(nullptr, 10, 10, 16), nullptr);
    EXPECT_EQ(CreateHBitmap(nullptr, 100000, 100000, 32), nullptr);
}

TEST(Files, ProgramFolderIsTheFolderOfThisProgram) {
    wchar_t folder[ZUVO_MAX_PATH];
    ASSERT_EQ(GetProgramPathW(0, folder), 1);
    std::wstring program = TestProgramFile();
    EXPECT_EQ(program.substr(0, program.find_last_of(L'\\')), folder);
    wchar_t again[ZUVO_MAX_PATH];
    ASSERT_EQ(GetProgramPathW(GetCurrentProcessId(), again), 1);
    EXPECT_STREQ(again, folder);
    char narrow[ZUVO_MAX_PATH];
    ASSERT_EQ(GetProgramPathA(0, narrow), 1);
    EXPECT_EQ(std::strlen(narrow), std::wcslen(folder));
}

TEST(Files, NestedFoldersAreCreatedAndFilesReadWhileSharedForWriting) {
    const zuvo::test::TempFolder temp(u8"common");
    // Four levels that do not exist yet.
    const std::wstring folder = temp.Wide(L"run\\a\\b\\c");
    EXPECT_EQ(IsDirExistW(folder.c_str()), 0);
    ASSERT_EQ(RecursiveCreateDirectoryW(folder.c_str()), 1);
    EXPECT_EQ(IsDirExistW(folder.c_str()), 1);
    EXPECT_EQ(RecursiveCreateDirectoryW((folder + L"\\").c_str()), 1) << "existing folder";

    wchar_t file[ZUVO_MAX_PATH];
    ASSERT_GT(CombinePathNameW(file, folder.c_str(), L"data.bin"), 0);
    EXPECT_EQ(IsFileExistW(file), 0);
    uint8_t* data = reinterpret_cast<uint8_t*>(1);
    EXPECT_EQ(ReadFileDataW(file, &data), 0);
    EXPECT_EQ(data, nullptr) << "a missing file answers no buffer";

    {
        // Another writer holds the file open (as a result log would be).
        zuvo::UniqueFileHandle writer(CreateFileW(file, GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(writer);
        const char text[] = "hello\r\n";
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(writer.get(), text, 7, &written, nullptr));
        EXPECT_EQ(IsFileExistW(file), 1);
        EXPECT_EQ(IsDirExistW(file), 0);
        int64_t size = ReadFileDataW(file, &data);
        ASSERT_EQ(size, 7);
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(std::memcmp(data, text, 7), 0);
        EXPECT_EQ(data[7], 0) << "the copy is zero-terminated";
        ReleaseFileData(data);
    }
    EXPECT_EQ(IsFileExistW(folder.c_str()), 0) << "a folder is not a file";
}

TEST(Diagnostics, LinesGoToTheLogBesideTheProgramWhenSwitchedOn) {
    wchar_t folder[ZUVO_MAX_PATH];
    ASSERT_EQ(GetProgramPathW(0, folder), 1);
    wchar_t log[ZUVO_MAX_PATH];
    ASSERT_GT(CombinePathNameW(log, folder, L"ZUVO_Diagnostics.log"), 0);
    DeleteFileW(log);

    SetEnvironmentVariableW(L"ZUVO_DIAGNOSTICS", nullptr);
    DbgOutputA(1, "not logged %d\r\n", 1);
    EXPECT_EQ(IsFileExistW(log), 0) << "the switch is off by default";

    SetEnvironmentVariableW(L"ZUVO_DIAGNOSTICS", L"1");
    DbgOutputA(2, "Open KWQ = %d\r\n", 0);
    SetEnvironmentVariableW(L"ZUVO_DIAGNOSTICS", nullptr);

    uint8_t* data = nullptr;
    int64_t size = ReadFileDataW(log, &data);
    ASSERT_GT(size, 0);
    std::string text(reinterpret_cast<char*>(data), static_cast<size_t>(size));
    ReleaseFileData(data);
    DeleteFileW(log);
    EXPECT_NE(text.find("[L2] Open KWQ = 0\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("not logged"), std::string::npos);
}

TEST(Clock, MillisecondCounterAdvancesWithSleep) {
    uint32_t before = MS_GetTime();
    HQ_Sleep(50);
    uint32_t elapsed = MS_GetTime() - before;
    EXPECT_GE(elapsed, 50u);
    EXPECT_LT(elapsed, 1000u);
}

}  // namespace
