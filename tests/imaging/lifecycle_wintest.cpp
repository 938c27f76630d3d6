// Starting GDI+, the bitmaps' last status and their release, and the exports themselves.
#include "tests/imaging/PictureSupport.h"

namespace {

using pictures::Owned;

// One case per helper: the program file exports it under its plain name, and the address is
// inside the program file, not in this test program.
class EveryHelper : public testing::TestWithParam<std::string> {};

TEST_P(EveryHelper, IsTakenFromTheProgramFile) {
    void* address = program::ExportedAddress(GetParam());
    ASSERT_NE(address, nullptr) << GetParam() << " is not exported by ZUVO_MTT.exe";
    HMODULE owner = nullptr;
    ASSERT_TRUE(GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        static_cast<LPCWSTR>(address), &owner));
    EXPECT_EQ(owner, program::ProgramModule());
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(owner, path, MAX_PATH);
    EXPECT_NE(std::wstring(path).find(L"ZUVO_MTT.exe"), std::wstring::npos);
}

INSTANTIATE_TEST_SUITE_P(Exports, EveryHelper, testing::ValuesIn(program::HelperNames()),
                         [](const testing::TestParamInfo<std::string>& helper) {
                             return helper.param;
                         });

TEST(Exports, TheProgramFileWorksAwayFromItsPreferredBase) {
    HMODULE owner = nullptr;
    ASSERT_TRUE(GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(program::Gdiplus_Gray), &owner));
    const auto* base = reinterpret_cast<const uint8_t*>(owner);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    // This test program sits at the base both were linked for, so the program file had to
    // move; deleting a bitmap it made goes through its (relocated) vtable.
    EXPECT_NE(reinterpret_cast<ULONGLONG>(owner), nt->OptionalHeader.ImageBase);
    program::Gdiplus_DeleteBitmap(program::Gdiplus_CreateBitmap(3, 3, PixelFormat24bppRGB));
}

TEST(Startup, InitAndDeInitPairUp) {
    GdiplusStartupRecord* record = program::Gdiplus_Init();
    ASSERT_NE(record, nullptr);
    EXPECT_NE(record->token, 0u);
    EXPECT_EQ(record->input.GdiplusVersion, 1u);
    EXPECT_EQ(record->input.DebugEventCallback, nullptr);
    EXPECT_FALSE(record->input.SuppressBackgroundThread);
    EXPECT_FALSE(record->input.SuppressExternalCodecs);
    program::Gdiplus_DeInit(record);
    program::Gdiplus_DeInit(nullptr);
    // The test program's own start-up is still in force.
    Owned bitmap(program::Gdiplus_CreateColorBmp(2, 2, 0xFF00FF00));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(pictures::PixelAt(bitmap.get(), 1, 1), 0xFF00FF00u);
}

TEST(LastStatus, ReadingItResetsIt) {
    Owned bitmap(program::Gdiplus_CreateBitmap(4, 4, PixelFormat32bppARGB));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(program::Gdiplus_BitmapOK(bitmap.get()), 1);

    // A copy in a pixel format that does not exist fails and leaves its status behind.
    const RECT all{0, 0, 4, 4};
    uint8_t buffer[64];
    EXPECT_EQ(program::Gdiplus_GetBitmapBuffer(bitmap.get(), &all, 0x12345, buffer, 16), 0);
    EXPECT_EQ(program::Gdiplus_BitmapOK(bitmap.get()), 0);
    EXPECT_EQ(program::Gdiplus_BitmapOK(bitmap.get()), 1);

    EXPECT_EQ(program::Gdiplus_GetBitmapBuffer(bitmap.get(), &all, 0x12345, buffer, 16), 0);
    EXPECT_NE(program::Gdiplus_BitmapLastError(bitmap.get()), Gdiplus::Ok);
    EXPECT_EQ(program::Gdiplus_BitmapLastError(bitmap.get()), Gdiplus::Ok);
}

TEST(LastStatus, NoBitmap) {
    EXPECT_EQ(program::Gdiplus_BitmapOK(nullptr), 0);
    EXPECT_EQ(program::Gdiplus_BitmapLastError(nullptr), Gdiplus::GenericError);
    program::Gdiplus_DeleteBitmap(nullptr);
}

}  // namespace
