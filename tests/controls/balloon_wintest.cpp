// The balloon window itself: its shape, its close button, its life on real timers with the
// pointer holding it, and hiding with its owner.
#include <gtest/gtest.h>

#include "controls/BalloonWnd.h"
#include "tests/controls/TestDialog.h"
#include "tests/support/Capture.h"
#include "tests/support/ControlHost.h"

namespace {

using namespace zuvo::test;

class Balloon : public testing::Test {
protected:
    void SetUp() override {
        owner = dialog.Item(kFarField);
        ASSERT_TRUE(balloon.Create(owner));
        anchor = CentreOf(owner);
    }

    bool Shown() const { return IsWindowVisible(balloon.GetSafeHwnd()) != FALSE; }
    BYTE Alpha() const {
        BYTE alpha = 0;
        DWORD flags = 0;
        GetLayeredWindowAttributes(balloon.GetSafeHwnd(), nullptr, &alpha, &flags);
        return alpha;
    }
    POINT OnBalloon(int x, int y) const {
        RECT window;
        GetWindowRect(balloon.GetSafeHwnd(), &window);
        return POINT{window.left + x, window.top + y};
    }

    TestDialog dialog;
    HWND owner = nullptr;
    CBalloonWnd balloon;
    POINT anchor{0, 0};
};

TEST_F(Balloon, ItIsAPopUpOwnedByTheTopLevelWindowThatNeverActivates) {
    EXPECT_EQ(GetWindow(balloon.GetSafeHwnd(), GW_OWNER), dialog.hwnd());
    EXPECT_NE(GetWindowLongPtrW(balloon.GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_NOACTIVATE, 0);
    EXPECT_FALSE(Shown());
    SetFocus(owner);
    balloon.ShowMessage(L"Title", L"Text", 1, anchor, 5);
    EXPECT_TRUE(Shown());
    EXPECT_EQ(GetFocus(), owner);
    EXPECT_EQ(GetForegroundWindow(), dialog.hwnd());
    EXPECT_TRUE(balloon.Create(owner)) << "made once";
}

TEST_F(Balloon, ItsShapeIsTheOutlineWithTheTail) {
    balloon.ShowMessage(L"Data Invalid", L"MaxValue Must <= 31", 3, anchor, 14);
    Pump(100);
    RECT window;
    GetWindowRect(balloon.GetSafeHwnd(), &window);
    EXPECT_EQ(window.left, anchor.x);
    EXPECT_EQ(window.top, anchor.y);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    EXPECT_EQ(width % 4, 0);

    zuvo::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(balloon.GetSafeHwnd(), region.get()), ERROR);
    EXPECT_FALSE(PtInRegion(region.get(), 5, 5)) << "left of the tail";
    EXPECT_TRUE(PtInRegion(region.get(), 22, 10)) << "inside the tail";
    EXPECT_FALSE(PtInRegion(region.get(), 38, 5)) << "right of the tail";
    EXPECT_TRUE(PtInRegion(region.get(), 30, 20)) << "where the tail opens into the body";
    EXPECT_TRUE(PtInRegion(region.get(), width / 2, height / 2));
    EXPECT_FALSE(PtInRegion(region.get(), 0, height - 1)) << "rounded corner";
    EXPECT_FALSE(PtInRegion(region.get(), width - 1, 21));

    const Capture capture(balloon.GetSafeHwnd());
    capture.Save(L"balloon_shape");
    EXPECT_EQ(capture.At(width / 2, height - 1), 0u) << "black outline";
    EXPECT_EQ(capture.At(width / 2, height - 3), 0xFFFFFFu) << "white body";
}

TEST_F(Balloon, TheCloseButtonHidesItAndForgetsTheMessages) {
    balloon.ShowMessage(L"A", L"first", 3, anchor, 1);
    balloon.ShowMessage(L"A", L"second", 2, anchor, 2);
    Pump(100);
    const RECT close = balloon.CloseRect();
    const POINT centre = OnBalloon((close.left + close.right) / 2, (close.top + close.bottom) / 2);
    MoveMouse(centre);
    ASSERT_TRUE(Pump(500, [&] { return balloon.State().CloseHot(); })) << "the button lights up";
    LeftDown();
    LeftUp();
    ASSERT_TRUE(Pump(500, [&] { return !Shown(); }));
    EXPECT_TRUE(balloon.State().AllMessages().empty());

    MoveMouse(OnBalloon(-200, -200));
    balloon.ShowMessage(L"A", L"third", 1, anchor, 3);
    EXPECT_EQ(balloon.State().AllMessages().size(), 1u) << "a fresh list";
    EXPECT_TRUE(Shown());
}

TEST_F(Balloon, ItHidesAndDropsItsMessagesWhileItsOwnerIsHidden) {
    balloon.ShowMessage(L"A", L"shown", 3, anchor, 1);
    ASSERT_TRUE(Shown());
    ShowWindow(dialog.hwnd(), SW_HIDE);
    SetWindowPos(balloon.GetSafeHwnd(), nullptr, anchor.x + 5, anchor.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_FALSE(Shown());
    EXPECT_TRUE(balloon.State().AllMessages().empty());

    balloon.ShowMessage(L"A", L"while hidden", 3, anchor, 1);
    Pump(50);
    EXPECT_FALSE(Shown()) << "nothing shows under a hidden owner";
}

TEST_F(Balloon, ItFadesAfterFiveSecondsAndThePointerHoldsIt) {
    MoveMouse(POINT{anchor.x + 600, anchor.y + 400});
    const DWORD start = GetTickCount();
    balloon.ShowMessage(L"Input Error", L"Invalid character 'x'", 3, anchor, 1);
    EXPECT_EQ(Alpha(), 255);
    ASSERT_TRUE(Pump(7000, [&] { return Alpha() < 255; }));
    const DWORD fadeStart = GetTickCount() - start;
    EXPECT_GE(fadeStart, 4900u);
    EXPECT_LE(fadeStart, 6000u);

    // Pointing at the fading balloon makes it opaque at once and holds it.
    MoveMouse(OnBalloon(60, 40));
    ASSERT_TRUE(Pump(500, [&] { return Alpha() == 255; }));
    Pump(1500);
    EXPECT_EQ(Alpha(), 255);
    EXPECT_TRUE(Shown());

    // Leaving shows it two more seconds, then it fades out in a second and a half.
    MoveMouse(POINT{anchor.x + 600, anchor.y + 400});
    const DWORD left = GetTickCount();
    ASSERT_TRUE(Pump(3000, [&] { return Alpha() < 255; }));
    EXPECT_GE(GetTickCount() - left, 1400u);
    ASSERT_TRUE(Pump(3000, [&] { return !Shown(); }));
    EXPECT_GE(GetTickCount() - left, 3000u);
    EXPECT_TRUE(balloon.State().AllMessages().empty());
}

}  // namespace
