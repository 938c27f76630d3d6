// Test program of the sector view's window: GDI+ runs for the whole program, as in the
// application.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <gdiplus.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) {
        return 3;
    }
    const int result = RUN_ALL_TESTS();
    Gdiplus::GdiplusShutdown(token);
    return result;
}
