// The skinned button under real mouse and keyboard input: the picture of each state, the
// checked state changed before the owner's click, the pushed look following the pointer
// while the button is held, radio groups, double clicks and the hand cursor.
#include <gtest/gtest.h>

#include "controls/ASkinButton.h"
#include "imaging/GdiplusHelpers.h"
#include "tests/controls/TestDialog.h"
#include "tests/support/Capture.h"
#include "tests/support/ControlHost.h"

namespace {

using namespace zuvo::test;

constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kGreen = 0x00A000;
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kYellow = 0xC8C800;
constexpr uint32_t kMagenta = 0xC800C8;
constexpr uint32_t kCyan = 0x00C8C8;

class SkinButton : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(check.SubclassDlgItem(kCheckA, dialog.hwnd()));
        ASSERT_TRUE(push.SubclassDlgItem(kPush, dialog.hwnd()));
        // Far from every control: the desktop beside the dialog.
        RECT frame;
        GetWindowRect(dialog.hwnd(), &frame);
        away = POINT{frame.right + 100, frame.bottom + 100};
        MoveMouse(away);
    }

    // The colour in the middle of the button as the screen shows it.
    static uint32_t Shown(const CASkinButton& button) {
        Pump(60);
        const Capture capture(button.GetSafeHwnd());
        return capture.At(capture.width() / 2, capture.height() / 2);
    }

    size_t Clicks(int id) const { return dialog.Received(id, BN_CLICKED).size(); }
    bool Pushed(const CASkinButton& button) const {
        return (SendMessageW(button.GetSafeHwnd(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    }

    TestDialog dialog;
    CASkinButton check;
    CASkinButton push;
    Picture normal = SolidPicture(0xFF000000 | kBlue);
    Picture pressed = SolidPicture(0xFF000000 | kGreen);
    Picture hover = SolidPicture(0xFF000000 | kRed);
    Picture icon = SolidPicture(0xFF000000 | kCyan);
    POINT away{0, 0};
};

TEST_F(SkinButton, AttachingDecidesTheKindAndMakesTheButtonOwnerDrawn) {
    EXPECT_EQ(check.Kind(), CASkinButton::ButtonKind::Check);
    EXPECT_EQ(push.Kind(), CASkinButton::ButtonKind::Push);
    EXPECT_EQ(GetWindowLongPtrW(check.GetSafeHwnd(), GWL_STYLE) & 0xF, BS_OWNERDRAW);

    check.SetImages(normal.get(), pressed.get(), nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(GetWindowTextLengthW(check.GetSafeHwnd()), 0) << "the pictures carry the caption";
    EXPECT_EQ(Shown(check), kBlue);
}

TEST_F(SkinButton, ACheckButtonTogglesBeforeItsOwnerHearsTheClick) {
    check.SetImages(normal.get(), pressed.get(), nullptr, nullptr, nullptr, nullptr);
    ClickAt(CentreOf(check.GetSafeHwnd()));
    ASSERT_TRUE(Pump(1000, [&] { return Clicks(kCheckA) == 1; }));
    EXPECT_EQ(dialog.Received(kCheckA, BN_CLICKED)[0].checkState, BST_CHECKED);
    EXPECT_EQ(Shown(check), kGreen) << "checked shows the pressed picture";

    ClickAt(CentreOf(check.GetSafeHwnd()));
    ASSERT_TRUE(Pump(1000, [&] { return Clicks(kCheckA) == 2; }));
    EXPECT_EQ(dialog.Received(kCheckA, BN_CLICKED)[1].checkState, BST_UNCHECKED);
}

TEST_F(SkinButton, ReleasedElsewhereItNeitherTogglesNorClicksAndItsLookFollowsThePointer) {
    check.SetImages(normal.get(), pressed.get(), nullptr, nullptr, nullptr, nullptr);
    MoveMouse(CentreOf(check.GetSafeHwnd()));
    LeftDown();
    EXPECT_TRUE(Pushed(check));
    EXPECT_EQ(Shown(check), kGreen);

    MoveMouse(away);
    EXPECT_FALSE(Pushed(check));
    EXPECT_EQ(Shown(check), kBlue);
    MoveMouse(CentreOf(check.GetSafeHwnd()));
    EXPECT_TRUE(Pushed(check)) << "back over the button while held";
    EXPECT_EQ(Shown(check), kGreen);

    MoveMouse(away);
    LeftUp();
    Pump(100);
    EXPECT_EQ(Clicks(kCheckA), 0u);
    EXPECT_FALSE(check.IsChecked());
    EXPECT_FALSE(check.IsPressed());
    EXPECT_EQ(Shown(check), kBlue);
}

TEST_F(SkinButton, ADoubleClickCountsAsTwoClicks) {
    const POINT centre = CentreOf(check.GetSafeHwnd());
    MoveMouse(centre);
    LeftDown();
    LeftUp();
    LeftDown();
    LeftUp();
    ASSERT_TRUE(Pump(1000, [&] { return Clicks(kCheckA) == 2; }));
    const std::vector<Notification> clicks = dialog.Received(kCheckA, BN_CLICKED);
    EXPECT_EQ(clicks[0].checkState, BST_CHECKED);
    EXPECT_EQ(clicks[1].checkState, BST_UNCHECKED);
    EXPECT_TRUE(dialog.Received(kCheckA, BN_DOUBLECLICKED).empty());
    EXPECT_FALSE(check.IsChecked());
}

TEST_F(SkinButton, ADisabledCheckedButtonShowsTheGreyPressedPicture) {
    check.SetImages(normal.get(), pressed.get(), nullptr, nullptr, nullptr, nullptr);
    SendMessageW(check.GetSafeHwnd(), BM_SETCHECK, BST_CHECKED, 0);
    EnableWindow(check.GetSafeHwnd(), FALSE);
    const Picture greyPressed(Gdiplus_Gray(pressed.get()));
    const Picture greyNormal(Gdiplus_Gray(normal.get()));
    ASSERT_NE(PictureColour(greyPressed.get()), PictureColour(greyNormal.get()));
    EXPECT_EQ(Shown(check), PictureColour(greyPressed.get()));

    SendMessageW(check.GetSafeHwnd(), BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_EQ(Shown(check), PictureColour(greyNormal.get()));

    const Picture disabled = SolidPicture(0xFF000000 | kYellow);
    const Picture disabledChecked = SolidPicture(0xFF000000 | kMagenta);
    check.SetImages(normal.get(), pressed.get(), nullptr, disabled.get(), disabledChecked.get(),
                    nullptr);
    EXPECT_EQ(Shown(check), kYellow);
    SendMessageW(check.GetSafeHwnd(), BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(Shown(check), kMagenta);
}

TEST_F(SkinButton, AnIconAloneShowsInEveryState) {
    check.SetImages(nullptr, nullptr, nullptr, nullptr, nullptr, icon.get());
    EXPECT_EQ(Shown(check), kCyan);
    SendMessageW(check.GetSafeHwnd(), BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(Shown(check), kCyan);
    EnableWindow(check.GetSafeHwnd(), FALSE);
    EXPECT_EQ(Shown(check), kCyan);
}

TEST_F(SkinButton, WithoutPicturesTheFrameAndBackgroundShow) {
    check.SetImages(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    Pump(60);
    const Capture capture(check.GetSafeHwnd());
    capture.Save(L"skin_button_frame");
    EXPECT_EQ(capture.At(capture.width() / 2, capture.height() / 2), 0x2A323Cu);
    EXPECT_EQ(capture.At(0, capture.height() / 2), 0x333333u) << "light outer line on the left";
    EXPECT_EQ(capture.At(capture.width() / 2, 0), 0x333333u);
    EXPECT_EQ(capture.At(capture.width() - 1, capture.height() / 2), 0u) << "black on the right";
    EXPECT_EQ(capture.At(capture.width() / 2, capture.height() - 1), 0u);
}

TEST_F(SkinButton, APushButtonStaysUncheckedAndStillClicks) {
    push.SetImages(normal.get(), pressed.get(), nullptr, nullptr, nullptr, nullptr);
    SendMessageW(push.GetSafeHwnd(), BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageW(push.GetSafeHwnd(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    ClickAt(CentreOf(push.GetSafeHwnd()));
    ASSERT_TRUE(Pump(1000, [&] { return Clicks(kPush) == 1; }));
    EXPECT_EQ(Shown(push), kBlue);
}

TEST_F(SkinButton, TheHoverPictureShowsWhileThePointerIsOver) {
    check.SetImages(normal.get(), pressed.get(), hover.get(), nullptr, nullptr, nullptr);
    MoveMouse(CentreOf(check.GetSafeHwnd()));
    ASSERT_TRUE(Pump(500, [&] { return check.IsHover(); }));
    EXPECT_EQ(Shown(check), kRed);
    MoveMouse(away);
    ASSERT_TRUE(Pump(1000, [&] { return !check.IsHover(); })) << "the leave notification";
    EXPECT_EQ(Shown(check), kBlue);
}

TEST_F(SkinButton, ARadioButtonClearsTheOthersOfItsGroup) {
    CASkinButton radios[3];
    const int ids[3] = {kRadio1, kRadio2, kRadio3};
    for (int index = 0; index < 3; ++index) {
        ASSERT_TRUE(radios[index].SubclassDlgItem(ids[index], dialog.hwnd()));
        EXPECT_EQ(radios[index].Kind(), CASkinButton::ButtonKind::Radio);
    }
    ClickAt(CentreOf(radios[0].GetSafeHwnd()));
    ASSERT_TRUE(Pump(1000, [&] { return Clicks(kRadio1) == 1; }));
    EXPECT_EQ(dialog.Received(kRadio1, BN_CLICKED)[0].checkState, BST_CHECKED);

    ClickAt(CentreOf(radios[1].GetSafeHwnd()));
    ASSERT_TRUE(Pump(1000, [&] { return Clicks(kRadio2) == 1; }));
    EXPECT_FALSE(radios[0].IsChecked());
    EXPECT_TRUE(radios[1].IsChecked());
    EXPECT_FALSE(radios[2].IsChecked());

    ClickAt(CentreOf(radios[1].GetSafeHwnd()));
    ASSERT_TRUE(Pump(1000, [&] { return Clicks(kRadio2) == 2; }));
    EXPECT_TRUE(radios[1].IsChecked()) << "a radio button does not toggle off";

    SendMessageW(radios[2].GetSafeHwnd(), BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_FALSE(radios[1].IsChecked()) << "the owner's check walks the group too";
    EXPECT_TRUE(radios[2].IsChecked());
    EXPECT_FALSE(check.IsChecked()) << "the walk stays inside the group";
}

TEST_F(SkinButton, TheSpaceBarTogglesOnceHoweverLongItIsHeld) {
    SetFocus(check.GetSafeHwnd());
    KeyDown(VK_SPACE);
    KeyDown(VK_SPACE);  // the keyboard's repeat
    KeyUp(VK_SPACE);
    ASSERT_TRUE(Pump(1000, [&] { return Clicks(kCheckA) == 1; }));
    EXPECT_EQ(dialog.Received(kCheckA, BN_CLICKED)[0].checkState, BST_CHECKED);
    EXPECT_TRUE(check.IsChecked());
}

TEST_F(SkinButton, OverAButtonTheCursorIsTheHand) {
    EXPECT_EQ(SendMessageW(check.GetSafeHwnd(), WM_SETCURSOR,
                           reinterpret_cast<WPARAM>(check.GetSafeHwnd()),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    EXPECT_EQ(SendMessageW(check.GetSafeHwnd(), WM_SETCURSOR,
                           reinterpret_cast<WPARAM>(dialog.Item(kLabel)),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              FALSE)
        << "over another kind of window the default decides";
}

TEST_F(SkinButton, PicturesComeFromThePngResources) {
    CASkinButton::LoadImagesFromResources(check, 501, 502, -1, -1, -1);
    EXPECT_EQ(Shown(check), kBlue);
    SendMessageW(check.GetSafeHwnd(), BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(Shown(check), kGreen);
    EnableWindow(check.GetSafeHwnd(), FALSE);
    const Picture greenPicture = SolidPicture(0xFF00A000);
    const Picture grey(Gdiplus_Gray(greenPicture.get()));
    EXPECT_EQ(Shown(check), PictureColour(grey.get()));

    // A picture that does not decode and a missing one are absent: the icon stands in.
    CASkinButton::LoadImagesFromResources(push, 506, 999, -1, -1, 504);
    EXPECT_EQ(Shown(push), kCyan);
}

}  // namespace
