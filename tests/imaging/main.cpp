// Test program of the picture helpers. Everything runs through the functions ZUVO_MTT.exe
// exports, taken with GetProcAddress; GDI+ is started with the program's own Gdiplus_Init,
// as another program would.
#include <cstdio>

#include <gtest/gtest.h>

#include "tests/imaging/ProgramApi.h"

namespace {

// GDI+ for the whole test run. Started through the program's Gdiplus_Init when the program
// exports it and its partner; otherwise directly, so that the tests of the other helpers can
// still run (the missing export fails its own case).
class TestGdiplus {
public:
    TestGdiplus() {
        if (program::ExportedAddress("Gdiplus_Init") != nullptr &&
            program::ExportedAddress("Gdiplus_DeInit") != nullptr) {
            m_record = program::Gdiplus_Init();
        } else {
            Gdiplus::GdiplusStartupInput input;
            if (Gdiplus::GdiplusStartup(&m_ownToken, &input, nullptr) != Gdiplus::Ok) {
                m_ownToken = 0;
            }
        }
    }
    ~TestGdiplus() {
        if (m_record != nullptr) {
            program::Gdiplus_DeInit(m_record);
        }
        if (m_ownToken != 0) {
            Gdiplus::GdiplusShutdown(m_ownToken);
        }
    }
    TestGdiplus(const TestGdiplus&) = delete;
    TestGdiplus& operator=(const TestGdiplus&) = delete;

    bool Running() const {
        return (m_record != nullptr && m_record->token != 0) || m_ownToken != 0;
    }

private:
    GdiplusStartupRecord* m_record = nullptr;
    ULONG_PTR m_ownToken = 0;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    testing::InitGoogleTest(&argc, argv);
    std::wstring error;
    if (!program::Load(&error)) {
        std::fwprintf(stderr, L"cannot use the program's picture helpers: %ls\n", error.c_str());
        return 1;
    }
    const TestGdiplus gdiplus;
    if (!gdiplus.Running()) {
        std::fwprintf(stderr, L"GDI+ did not start\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
