// Areas in the running program: the area panel opened from the main window, polygons drawn
// with the mouse over the sector view, deleting one kind, the visible gate range, and the
// parameter dialog on Ctrl+F2.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "resources/AreaMonitorDialog.h"
#include "resources/resource.h"
#include "tests/support/ControlHost.h"
#include "tests/support/ProgramDriver.h"
#include "tests/support/WindowFinder.h"

namespace {

using zuvo::test::ProgramFolder;
using zuvo::test::RunningProgram;

constexpr DWORD kTimeoutMs = 15000;

size_t Count(const std::string& text, const std::string& what) {
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

class AreaDrawingRun : public testing::Test {
protected:
    void Start(int algorithmAreaEnable) {
        ASSERT_TRUE(m_folder.Write(L"appConfig.xml",
                                   "<?xml version=\"1.0\"?>\n<AppConfig Language=\"ENG\" "
                                   "AlgorithmAreaEnable=\"" +
                                       std::to_string(algorithmAreaEnable) + "\" />\n"));
        m_program = std::make_unique<RunningProgram>(m_folder);
        ASSERT_NE(m_program->Window(), nullptr);
        m_program->Click(IDC_AREA_MONITOR);
        m_panel = zuvo::test::WaitForDialog(m_program->ProcessId(), L"Area Monitoring", kTimeoutMs);
        ASSERT_NE(m_panel, nullptr) << "button 1092 shows the panel";
    }

    // A point of the sector view (fractions of its client size) in the main window's client
    // coordinates, where the mouse messages arrive while drawing.
    POINT InWindow(double x, double y) const {
        RECT view;
        GetClientRect(m_program->Control(IDC_SECTOR_VIEW), &view);
        POINT point{static_cast<LONG>(x * view.right), static_cast<LONG>(y * view.bottom)};
        MapWindowPoints(m_program->Control(IDC_SECTOR_VIEW), m_program->Window(), &point, 1);
        return point;
    }

    // Begins a polygon with a panel button, clicks the corners and closes it with the right
    // button; waits until the settings file holds count elements of the kind.
    void Draw(int beginButton, const POINT* corners, int cornerCount) {
        zuvo::test::PressDialogButton(m_panel, beginButton);
        Sleep(300);
        for (int i = 0; i < cornerCount; ++i) {
            PostMessageW(m_program->Window(), WM_LBUTTONUP, 0,
                         MAKELPARAM(corners[i].x, corners[i].y));
        }
        PostMessageW(m_program->Window(), WM_RBUTTONDOWN, MK_RBUTTON,
                     MAKELPARAM(corners[0].x, corners[0].y));
    }

    bool WaitForFile(const std::string& element, size_t count) const {
        return RunningProgram::WaitUntil(
            [&] { return Count(m_folder.Read(L"appConfig.xml"), "<" + element + " ") == count; },
            kTimeoutMs);
    }

    ProgramFolder m_folder;
    std::unique_ptr<RunningProgram> m_program;
    HWND m_panel = nullptr;
};

TEST_F(AreaDrawingRun, ThreeClicksInsideTheFanAndARightClickAddAMonitoringArea) {
    Start(0);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(m_panel, IDC_AREA_ADD_BOUNDARY)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(m_panel, IDC_AREA_DELETE_BOUNDARIES)));

    const HWND view = m_program->Control(IDC_SECTOR_VIEW);
    RECT client;
    GetClientRect(view, &client);
    const int insideX = client.right / 2;
    const int insideY = static_cast<int>(client.bottom * 0.7);
    const COLORREF before = zuvo::test::ClientPixel(view, insideX, insideY);

    const POINT corners[] = {InWindow(0.38, 0.55), InWindow(0.62, 0.55), InWindow(0.5, 0.9)};
    Draw(IDC_AREA_ADD_MONITOR, corners, 3);
    ASSERT_TRUE(WaitForFile("MonitorArea", 1));
    const std::string settings = m_folder.Read(L"appConfig.xml");
    // The panel's colours: cyan while no object is inside, orange-red with one.
    EXPECT_NE(settings.find("InactiveColor=\"" + std::to_string(0xFFFF00) + "\""),
              std::string::npos)
        << settings;
    EXPECT_NE(settings.find("ActiveColor=\"" + std::to_string(0x0054DC) + "\""), std::string::npos);

    // The view tints the inside with the inactive colour (blue and green up, red down).
    InvalidateRect(view, nullptr, FALSE);
    COLORREF after = before;
    EXPECT_TRUE(RunningProgram::WaitUntil(
        [&] {
            after = zuvo::test::ClientPixel(view, insideX, insideY);
            return GetGValue(after) > GetGValue(before) + 20 &&
                   GetRValue(after) + 20 < GetRValue(before);
        },
        kTimeoutMs))
        << std::hex << "before " << before << ", after " << after;
    ShowWindow(m_panel, SW_HIDE);  // the capture is of the main window alone
    Sleep(300);
    zuvo::test::CaptureWindow(m_program->Window(), L"drawn_area");

    // Two points and a right click store nothing and end the drawing: the window can be
    // dragged by its background again.
    const POINT two[] = {InWindow(0.3, 0.6), InWindow(0.35, 0.7)};
    Draw(IDC_AREA_ADD_MONITOR, two, 2);
    Sleep(1000);
    EXPECT_EQ(Count(m_folder.Read(L"appConfig.xml"), "<MonitorArea "), 1u);
    const POINT corner = InWindow(0.5, 0.5);
    POINT onScreen = corner;
    ClientToScreen(m_program->Window(), &onScreen);
    EXPECT_EQ(
        SendMessageW(m_program->Window(), WM_NCHITTEST, 0, MAKELPARAM(onScreen.x, onScreen.y)),
        HTCAPTION);
}

TEST_F(AreaDrawingRun, DeleteAllAreasRemovesOnlyMonitoringAreas) {
    Start(1);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(m_panel, IDC_AREA_ADD_BOUNDARY)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(m_panel, IDC_AREA_DELETE_BOUNDARIES)));
    const POINT boundary[] = {InWindow(0.3, 0.5), InWindow(0.45, 0.5), InWindow(0.4, 0.8)};
    Draw(IDC_AREA_ADD_BOUNDARY, boundary, 3);
    ASSERT_TRUE(WaitForFile("AlgorithmArea", 1));
    const POINT area[] = {InWindow(0.55, 0.5), InWindow(0.7, 0.5), InWindow(0.6, 0.8)};
    Draw(IDC_AREA_ADD_MONITOR, area, 3);
    ASSERT_TRUE(WaitForFile("MonitorArea", 1));

    zuvo::test::PressDialogButton(m_panel, IDC_AREA_DELETE_MONITOR);
    ASSERT_TRUE(WaitForFile("MonitorArea", 0));
    EXPECT_EQ(Count(m_folder.Read(L"appConfig.xml"), "<AlgorithmArea "), 1u);
}

TEST_F(AreaDrawingRun, ApplyStoresTheGateRangeAndTheViewFollows) {
    Start(0);
    const HWND view = m_program->Control(IDC_SECTOR_VIEW);
    RECT client;
    GetClientRect(view, &client);
    // Straight down from the sensor, beyond gate 12.5 of 31.
    const int x = client.right / 2;
    const int y = static_cast<int>(client.bottom * 0.8);
    const COLORREF before = zuvo::test::ClientPixel(view, x, y);

    SetWindowTextW(GetDlgItem(m_panel, IDC_AREA_GATE_MAX), L"12.5");
    zuvo::test::PressDialogButton(m_panel, IDC_AREA_APPLY);
    ASSERT_TRUE(RunningProgram::WaitUntil(
        [&] {
            return m_folder.Read(L"appConfig.xml").find("ObjectWnd_GateMax=\"12.5\"") !=
                   std::string::npos;
        },
        kTimeoutMs))
        << m_folder.Read(L"appConfig.xml");
    COLORREF after = before;
    EXPECT_TRUE(RunningProgram::WaitUntil(
        [&] {
            after = zuvo::test::ClientPixel(view, x, y);
            return after != before;
        },
        kTimeoutMs))
        << "the visible band ends at gate 12.5 now";
    zuvo::test::CaptureWindow(m_program->Window(), L"gate_range_12_5");

    // The close box hides the panel; button 1092 brings it back.
    PostMessageW(m_panel, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(RunningProgram::WaitUntil([&] { return !IsWindowVisible(m_panel); }, kTimeoutMs));
    EXPECT_TRUE(IsWindow(m_panel));
    m_program->Click(IDC_AREA_MONITOR);
    EXPECT_TRUE(
        RunningProgram::WaitUntil([&] { return IsWindowVisible(m_panel) != FALSE; }, kTimeoutMs));
}

void PressCtrlF2() {
    zuvo::test::KeyDown(VK_CONTROL);
    zuvo::test::PressKey(VK_F2);
    zuvo::test::KeyUp(VK_CONTROL);
}

// The parameter dialog is opened by real keystrokes, as an operator gives them: Ctrl+F2 in the
// main window or in the area panel, and never F2 alone, also after Ctrl was let go in a window
// of another program.
TEST(ParameterDialog, CtrlF2OpensItFromTheMainWindowOrThePanelAndF2AloneDoesNot) {
    ProgramFolder folder;
    RunningProgram program(folder);
    ASSERT_NE(program.Window(), nullptr);
    const std::string config = folder.Read(L"Radar_Config.ini");
    auto expectDialog = [&](bool opens, const char* step) {
        SCOPED_TRACE(step);
        const HWND dialog = zuvo::test::WaitForDialog(program.ProcessId(), L"Parameter Setting",
                                                      opens ? kTimeoutMs : 1500);
        EXPECT_EQ(dialog != nullptr, opens);
        if (dialog != nullptr) {
            PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            ASSERT_TRUE(RunningProgram::WaitUntil([&] { return !IsWindow(dialog); }, kTimeoutMs));
        }
    };

    zuvo::test::BringToFront(program.Window());
    zuvo::test::PressKey(VK_F2);
    expectDialog(false, "F2 alone in the main window");
    PressCtrlF2();
    expectDialog(true, "Ctrl+F2 in the main window");

    program.Click(IDC_AREA_MONITOR);
    const HWND panel =
        zuvo::test::WaitForDialog(program.ProcessId(), L"Area Monitoring", kTimeoutMs);
    ASSERT_NE(panel, nullptr);
    zuvo::test::BringToFront(panel);
    PressCtrlF2();
    expectDialog(true, "Ctrl+F2 in the area panel");
    // The operator is back in the panel, and it is still in sight above the main window.
    EXPECT_TRUE(RunningProgram::WaitUntil([&] { return GetForegroundWindow() == panel; }, 3000));
    for (HWND above = GetWindow(panel, GW_HWNDPREV); above != nullptr;
         above = GetWindow(above, GW_HWNDPREV)) {
        EXPECT_NE(above, program.Window()) << "the main window covers the area panel";
    }
    PostMessageW(panel, WM_SYSCOMMAND, SC_CLOSE, 0);

    // Ctrl pressed in the main window and let go in a window of this test program.
    const HWND other = CreateWindowExW(0, L"STATIC", L"another program", WS_POPUP | WS_VISIBLE, 10,
                                       10, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    zuvo::test::BringToFront(program.Window());
    zuvo::test::KeyDown(VK_CONTROL);
    zuvo::test::BringToFront(other);
    zuvo::test::KeyUp(VK_CONTROL);
    zuvo::test::BringToFront(program.Window());
    zuvo::test::PressKey(VK_F2);
    expectDialog(false, "F2 alone after Ctrl was let go elsewhere");
    DestroyWindow(other);
    EXPECT_EQ(folder.Read(L"Radar_Config.ini"), config) << "the close box saves nothing";
}

}  // namespace
