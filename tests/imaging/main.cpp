// Test program of the picture helpers. Everything runs through the functions ZUVO_MTT.exe
// exports, taken with GetProcAddress; GDI+ is started with the program's own Gdiplus_Init,
// as another program would.
#include <cstdio>

#include <gtest/gtest.h>

#include "tests/imaging/ProgramApi.h"

int wmain(int argc, wchar_t** argv) {
    testing::InitGoogleTest(&argc, argv);
    std::wstring error;
    if (!program::Load(&error)) {
        std::fwprintf(stderr, L"cannot use the program's picture helpers: %ls\n", error.c_str());
        return 1;
    }
    GdiplusStartupRecord* gdiplus = program::Gdiplus_Init();
    if (gdiplus == nullptr || gdiplus->token == 0) {
        std::fwprintf(stderr, L"GDI+ did not start\n");
        return 1;
    }
    const int result = RUN_ALL_TESTS();
    program::Gdiplus_DeInit(gdiplus);
    return result;
}
