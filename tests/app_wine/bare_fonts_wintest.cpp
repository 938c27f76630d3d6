// The whole program on a machine without the project's fonts: no font substitutions and no
// font with Chinese glyphs, as on an English Windows without the Chinese supplemental fonts
// (these cases run only as BareFonts.*). Its labels are drawn with GDI+, which finds neither
// "黑体" nor a generic sans-serif family there; the program must run and still show text.
#include <gtest/gtest.h>

#include <objidl.h>

#include <gdiplus.h>

#include <string>

#include "resources/resource.h"
#include "tests/support/Capture.h"
#include "tests/support/ControlHost.h"
#include "tests/support/ProgramDriver.h"

namespace {

using zuvo::test::Capture;
using zuvo::test::ProgramFolder;
using zuvo::test::RunningProgram;

constexpr DWORD kTimeoutMs = 20000;

bool FamilyExists(const wchar_t* name) {
    const Gdiplus::FontFamily family(name);
    return family.GetLastStatus() == Gdiplus::Ok;
}

void BringToFront(HWND window) {
    SetForegroundWindow(window);
    ASSERT_TRUE(RunningProgram::WaitUntil([&] { return GetForegroundWindow() == window; }, 5000));
    Sleep(1000);
}

// Pixels of the capture unlike the colour at its top-left corner, within the rectangle.
int InkIn(const Capture& capture, const RECT& area) {
    const uint32_t background = capture.At(area.left, area.top);
    int ink = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            ink += capture.At(x, y) != background ? 1 : 0;
        }
    }
    return ink;
}

// The client rectangle of a control in its top-level window's capture coordinates.
RECT ControlInWindow(HWND window, HWND control) {
    RECT bounds{};
    GetWindowRect(control, &bounds);
    RECT frame{};
    GetWindowRect(window, &frame);
    OffsetRect(&bounds, -frame.left, -frame.top);
    return bounds;
}

TEST(NoChineseFont, TheProgramRunsAndShowsItsTexts) {
    // The shard really is bare; otherwise this test would prove nothing.
    ASSERT_FALSE(FamilyExists(L"\x9ED1\x4F53")) << "黑体 is still there";
    ASSERT_FALSE(FamilyExists(L"WenQuanYi Micro Hei")) << "the Chinese font is still there";
    Gdiplus::GpFontFamily* generic = nullptr;
    ASSERT_NE(Gdiplus::DllExports::GdipGetGenericFontFamilySansSerif(&generic), Gdiplus::Ok)
        << "GDI+ still finds a generic sans-serif family";

    ProgramFolder folder;
    ASSERT_TRUE(folder.Write(L"appConfig.xml",
                             "<?xml version=\"1.0\"?>\n<AppConfig Language=\"ENG\" "
                             "ObjectCountType=\"3\" />\n"));
    RunningProgram program(folder);
    ASSERT_NE(program.Window(), nullptr);

    ASSERT_FALSE(zuvo::test::DetectDevice(program).empty()) << "no detection result";
    program.Click(IDC_START_STOP);
    ASSERT_TRUE(zuvo::test::WaitForObjectOnPanel(program, IDC_OBJECT_PANEL_1, kTimeoutMs))
        << "the emulator's people reach the panel";
    Sleep(1500);
    const Capture running(program.Window(), Capture::Source::Window);
    EXPECT_FALSE(running.Save(L"no_cjk_font_en").empty());
    EXPECT_GT(
        InkIn(running, ControlInWindow(program.Window(), program.Control(IDC_OBJECT_PANEL_1))), 100)
        << "the object panel shows its text";
    program.Click(IDC_START_STOP);

    program.Click(IDC_AREA_MONITOR);
    const HWND panel =
        zuvo::test::WaitForDialog(program.ProcessId(), L"Area Monitoring", kTimeoutMs);
    ASSERT_NE(panel, nullptr);
    BringToFront(panel);
    zuvo::test::KeyDown(VK_CONTROL);
    zuvo::test::PressKey(VK_F2);
    zuvo::test::KeyUp(VK_CONTROL);
    const HWND parameters =
        zuvo::test::WaitForDialog(program.ProcessId(), L"Parameter Setting", kTimeoutMs);
    EXPECT_NE(parameters, nullptr);
    if (parameters != nullptr) {
        Sleep(500);
        EXPECT_FALSE(zuvo::test::CaptureWindow(parameters, L"no_cjk_font_en_parameters").empty());
        PostMessageW(parameters, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(RunningProgram::WaitUntil([&] { return !IsWindow(parameters); }, kTimeoutMs));
    }
    EXPECT_FALSE(zuvo::test::CaptureWindow(panel, L"no_cjk_font_en_areas").empty());
    PostMessageW(panel, WM_SYSCOMMAND, SC_CLOSE, 0);

    EXPECT_EQ(program.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE)) << "the program crashed";
    PostMessageW(program.Window(), WM_CLOSE, 0, 0);
    const DWORD code = program.WaitForExit(kTimeoutMs);
    EXPECT_NE(code, static_cast<DWORD>(STILL_ACTIVE)) << "the program did not end";
    EXPECT_LT(code, 0xC0000000u) << "the program ended with an exception";
}

}  // namespace
