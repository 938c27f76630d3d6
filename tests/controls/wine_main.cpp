// Test program of the control windows: GDI+ runs for the whole program, as in ZUVO_MTT.exe.
#include <gtest/gtest.h>

#include <cstdio>

#include "imaging/GdiplusHelpers.h"

int wmain(int argc, wchar_t** argv) {
    testing::InitGoogleTest(&argc, argv);
    GdiplusStartupRecord* gdiplus = Gdiplus_Init();
    if (gdiplus == nullptr || gdiplus->token == 0) {
        std::fprintf(stderr, "GDI+ did not start\n");
        return 1;
    }
    const int result = RUN_ALL_TESTS();
    Gdiplus_DeInit(gdiplus);
    return result;
}
