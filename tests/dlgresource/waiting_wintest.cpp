// The waiting window: hidden after creation, shown centred on its parent with the text and a
// moving bar (also while the caller is blocked), hidden and destroyed again; nothing breaks on
// odd handles or a parent that went first.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "DlgResourceIds.h"
#include "ZUVO_DlgResource.h"
#include "framework/Handles.h"
#include "framework/Language.h"
#include "framework/LibraryDialogs.h"
#include "tests/support/Capture.h"
#include "tests/support/ControlHost.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/WindowFinder.h"

namespace {

using zuvo::test::CentreOf;
using zuvo::test::FindDialog;
using zuvo::test::ItemText;

// A plain top-level window standing in for the program's main window.
zuvo::UniqueWindow MakeParent(int x, int y, int width, int height) {
    return zuvo::UniqueWindow(
        CreateWindowExW(0, L"STATIC", L"parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, width,
                        height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
}

int BarPosition(HWND waiting) {
    return static_cast<int>(SendDlgItemMessageW(waiting, IDC_WAITING_PROGRESS, PBM_GETPOS, 0, 0));
}

class Waiting : public testing::Test {
protected:
    void SetUp() override { zuvo::SetUiLanguage(L"en-US"); }
};

TEST_F(Waiting, ShowsTheTextCentredOnItsParentThenHidesAndGoes) {
    zuvo::UniqueWindow parent = MakeParent(100, 80, 900, 600);
    ASSERT_TRUE(parent);
    // Owned, so that a failed assertion does not leave the window to the next test.
    zuvo::UniqueWaitingDlg owner(ZUVO_WaitingDlg_Create(parent.get()));
    ASSERT_TRUE(owner);
    ZUVO_WAITINGDLG_HANDLE handle = owner.get();
    HWND window = FindDialog(L"Please wait");
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window)) << "created hidden";
    EXPECT_EQ(GetWindow(window, GW_OWNER), parent.get());

    ZUVO_WaitingDlg_Show(handle, 0, 0, L"Starting Radar Sensor\x2026");
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(ItemText(window, IDC_WAITING_TEXT), L"Starting Radar Sensor\x2026");
    POINT own = CentreOf(window);
    POINT expected = CentreOf(parent.get());
    EXPECT_NEAR(own.x, expected.x, 1);
    EXPECT_NEAR(own.y, expected.y, 1);
    EXPECT_NE(GetForegroundWindow(), window) << "it never takes the activation";
    zuvo::test::SaveScreenshot(window, L"waiting_en-US");

    // The parent moved: the next show follows it.
    SetWindowPos(parent.get(), nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ZUVO_WaitingDlg_Show(handle, 0, 0, nullptr);
    EXPECT_EQ(ItemText(window, IDC_WAITING_TEXT), L"");
    own = CentreOf(window);
    expected = CentreOf(parent.get());
    EXPECT_NEAR(own.x, expected.x, 1);
    EXPECT_NEAR(own.y, expected.y, 1);

    ZUVO_WaitingDlg_Hide(handle);
    EXPECT_FALSE(IsWindowVisible(window));
    owner.reset();
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(Waiting, TheBarMovesWhileTheCallerIsBlocked) {
    zuvo::UniqueWindow parent = MakeParent(0, 0, 640, 480);
    ZUVO_WAITINGDLG_HANDLE handle = ZUVO_WaitingDlg_Create(parent.get());
    ASSERT_NE(handle, nullptr);
    HWND window = FindDialog(L"Please wait");
    ASSERT_NE(window, nullptr);

    ZUVO_WaitingDlg_Show(handle, 0, 0, L"busy");
    // This thread handles no messages during the sleep, as a program does while it opens a
    // device; the bar must move anyway.
    int samples[4];
    for (int& sample : samples) {
        sample = BarPosition(window);
        Sleep(150);
    }
    int moves = 0;
    for (int i = 1; i < 4; ++i) {
        moves += samples[i] != samples[i - 1] ? 1 : 0;
    }
    EXPECT_EQ(moves, 3) << samples[0] << " " << samples[1] << " " << samples[2] << " "
                        << samples[3];

    ZUVO_WaitingDlg_Hide(handle);
    int hidden = BarPosition(window);
    Sleep(150);
    EXPECT_EQ(BarPosition(window), hidden) << "a hidden window does not animate";
    ZUVO_WaitingDlg_Destroy(handle);
}

TEST_F(Waiting, WithoutAParentItSitsInTheMiddleOfTheScreen) {
    ZUVO_WAITINGDLG_HANDLE handle = ZUVO_WaitingDlg_Create(nullptr);
    ASSERT_NE(handle, nullptr);
    HWND window = FindDialog(L"Please wait");
    ZUVO_WaitingDlg_Show(handle, 0, 0, L"no parent");
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    POINT own = CentreOf(window);
    EXPECT_NEAR(own.x, (work.left + work.right) / 2, 1);
    EXPECT_NEAR(own.y, (work.top + work.bottom) / 2, 1);
    ZUVO_WaitingDlg_Destroy(handle);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(Waiting, ChineseTitle) {
    zuvo::SetUiLanguage(L"zh-CN");
    ZUVO_WAITINGDLG_HANDLE handle = ZUVO_WaitingDlg_Create(nullptr);
    ASSERT_NE(handle, nullptr);
    HWND window = FindDialog(L"\x8BF7\x7A0D\x5019");
    ASSERT_NE(window, nullptr);
    ZUVO_WaitingDlg_Show(handle, 0, 0,
                         L"\x6B63\x5728\x542F\x52A8\x6BEB\x7C73\x6CE2\x4F20\x611F\x5668...");
    zuvo::test::SaveScreenshot(window, L"waiting_zh-CN");
    ZUVO_WaitingDlg_Destroy(handle);
}

TEST_F(Waiting, ParentGoneFirstAndStaleHandlesAreHarmless) {
    zuvo::UniqueWindow parent = MakeParent(0, 0, 640, 480);
    ZUVO_WAITINGDLG_HANDLE handle = ZUVO_WaitingDlg_Create(parent.get());
    ASSERT_NE(handle, nullptr);
    ZUVO_WaitingDlg_Show(handle, 0, 0, L"parent goes");
    parent.reset();
    ZUVO_WaitingDlg_Hide(handle);
    ZUVO_WaitingDlg_Destroy(handle);
    EXPECT_EQ(FindDialog(L"Please wait"), nullptr);

    // A destroyed, a null and a foreign handle are refused.
    ZUVO_WaitingDlg_Show(handle, 0, 0, L"stale");
    ZUVO_WaitingDlg_Hide(handle);
    ZUVO_WaitingDlg_Destroy(handle);
    int foreign = 0;
    ZUVO_WaitingDlg_Show(&foreign, 0, 0, L"foreign");
    ZUVO_WaitingDlg_Destroy(&foreign);
    ZUVO_WaitingDlg_Show(nullptr, 0, 0, L"null");
    ZUVO_WaitingDlg_Destroy(nullptr);
    EXPECT_EQ(FindDialog(L"Please wait"), nullptr);
}

}  // namespace
