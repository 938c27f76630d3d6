// The numeric fields of the area panel under real keyboard input: typed characters filtered
// and taken back, values committed on leaving (Enter and Tab included) and corrected to
// their limits, one EN_CHANGE per committed value, and the balloon under the field.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <string>

#include "controls/DigitalEdit.h"
#include "controls/DlgItemDouble.h"
#include "tests/controls/TestDialog.h"
#include "tests/support/Capture.h"
#include "tests/support/ControlHost.h"

namespace {

using namespace zuvo::test;

constexpr uint32_t kErrorFill = 0xF03A17;     // RGB (240, 58, 23)
constexpr uint32_t kErrorOutline = 0xA52613;  // RGB (165, 38, 19)
constexpr uint32_t kWarningFill = 0xFCE100;   // RGB (252, 225, 0)
constexpr uint32_t kInformationFill = 0x0078D7;

class NumericField : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(nearField.SubclassDlgItem(kNearField, dialog.hwnd()));
        ASSERT_TRUE(farField.SubclassDlgItem(kFarField, dialog.hwnd()));
        // As the area panel sets them up for a sensor of 32 range gates.
        for (CDigitalEdit* field : {&nearField, &farField}) {
            field->ValueType = 5;
            field->SetMaxValue(31, 1e-16);
        }
        nearField.SetMinValue(0.0, 1e-16);
        farField.SetMinValue(1.0, 1e-16);
        SetDlgItemDouble(dialog.hwnd(), kNearField, 0.0);
        SetDlgItemDouble(dialog.hwnd(), kFarField, 12.0);
        dialog.ClearReceived();
    }

    // Puts the keyboard focus into the field with all of its text selected.
    void Enter(CDigitalEdit& field) {
        SetFocus(field.GetSafeHwnd());
        SendMessageW(field.GetSafeHwnd(), EM_SETSEL, 0, -1);
        Pump(30);
        ASSERT_EQ(GetFocus(), field.GetSafeHwnd());
    }

    std::wstring TextOf(int id) const {
        wchar_t text[64] = {};
        GetDlgItemTextW(dialog.hwnd(), id, text, 64);
        return text;
    }
    size_t Heard(int id, int code) const { return dialog.Received(id, code).size(); }
    HWND BalloonOf(const CDigitalEdit& field) const { return field.Balloon().GetSafeHwnd(); }
    bool BalloonShown(const CDigitalEdit& field) const {
        return BalloonOf(field) != nullptr && IsWindowVisible(BalloonOf(field));
    }

    TestDialog dialog;
    CDigitalEdit nearField;
    CDigitalEdit farField;
};

TEST_F(NumericField, AValueAboveTheMaximumIsCorrectedAndExplainedUnderTheField) {
    Enter(farField);
    TypeText(L"45");
    PressKey(VK_RETURN);
    ASSERT_TRUE(Pump(1000, [&] { return BalloonShown(farField); }));
    Pump(100);

    EXPECT_EQ(TextOf(kFarField), L"31");
    EXPECT_EQ(GetFocus(), dialog.Item(kNext)) << "Enter moved the focus on, within the dialog";
    EXPECT_EQ(GetForegroundWindow(), dialog.hwnd());
    EXPECT_EQ(Heard(kFarField, EN_CHANGE), 1u) << "only the correction is announced";
    EXPECT_EQ(Heard(kFarField, EN_KILLFOCUS), 1u);
    EXPECT_TRUE(dialog.Received(kNext, BN_CLICKED).empty()) << "Enter never clicks";

    const auto messages = farField.Balloon().State().LiveMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, L"Data Invalid");
    EXPECT_EQ(messages[0].text, L"MaxValue Must <= 31");
    EXPECT_EQ(messages[0].icon, 3);

    // Hanging from the field's bottom-left corner.
    RECT client;
    GetClientRect(farField.GetSafeHwnd(), &client);
    POINT corner{client.left, client.bottom - 2};
    ClientToScreen(farField.GetSafeHwnd(), &corner);
    RECT balloon;
    GetWindowRect(BalloonOf(farField), &balloon);
    EXPECT_EQ(balloon.left, corner.x);
    EXPECT_EQ(balloon.top, corner.y);

    const Capture capture(BalloonOf(farField), Capture::Source::Window);
    capture.Save(L"balloon_max_value");
    EXPECT_GT(capture.Count(kErrorFill), 200) << "the error icon's disc";
    EXPECT_GT(capture.Count(kErrorOutline), 20) << "and its outline";
}

TEST_F(NumericField, ARefusedCharacterIsTakenBackAndExplained) {
    Enter(farField);
    TypeText(L"1.2.");
    EXPECT_EQ(TextOf(kFarField), L"1.2");
    ASSERT_TRUE(Pump(500, [&] { return BalloonShown(farField); }));
    auto messages = farField.Balloon().State().LiveMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, L"Input Error");
    EXPECT_EQ(messages[0].text, L"Invalid character '.'");
    EXPECT_EQ(messages[0].id, 1);

    TypeText(L"x-");
    EXPECT_EQ(TextOf(kFarField), L"1.2");
    messages = farField.Balloon().State().LiveMessages();
    ASSERT_EQ(messages.size(), 1u) << "the same message, renewed";
    EXPECT_EQ(messages[0].text, L"Invalid character '-'") << "naming the latest character";
    EXPECT_EQ(GetFocus(), farField.GetSafeHwnd()) << "the balloon leaves the focus alone";
    EXPECT_EQ(Heard(kFarField, EN_CHANGE), 0u) << "typing is never announced";

    PressKey(VK_TAB);
    EXPECT_EQ(Heard(kFarField, EN_CHANGE), 1u) << "the commit is";
    EXPECT_DOUBLE_EQ(GetDlgItemDouble(dialog.hwnd(), kFarField), 1.2);
}

TEST_F(NumericField, LeavingAnUntouchedFieldChecksAndAnnouncesNothing) {
    Enter(farField);
    PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), dialog.Item(kNext));
    EXPECT_EQ(Heard(kFarField, EN_CHANGE), 0u);
    EXPECT_EQ(Heard(kFarField, EN_KILLFOCUS), 0u);
    EXPECT_EQ(BalloonOf(farField), nullptr);
}

TEST_F(NumericField, AnEmptiedFieldReadsAsZeroAndMeetsItsMinimum) {
    Enter(nearField);
    PressKey(VK_BACK);
    PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), farField.GetSafeHwnd());
    EXPECT_EQ(TextOf(kNearField), L"") << "a minimum of 0 takes the empty field";
    EXPECT_EQ(Heard(kNearField, EN_CHANGE), 1u);
    EXPECT_EQ(Heard(kNearField, EN_KILLFOCUS), 1u);
    EXPECT_EQ(BalloonOf(nearField), nullptr);

    SendMessageW(farField.GetSafeHwnd(), EM_SETSEL, 0, -1);
    PressKey(VK_BACK);
    PressKey(VK_TAB);
    EXPECT_EQ(TextOf(kFarField), L"1");
    ASSERT_TRUE(Pump(500, [&] { return BalloonShown(farField); }));
    const auto messages = farField.Balloon().State().LiveMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, L"MinValue Must >= 1");
    EXPECT_EQ(messages[0].id, 13);
}

TEST_F(NumericField, ASuggestedAndAHardLimitShowTwoMessagesInOneBalloon) {
    farField.SetSuggestedMaxValue(20, 1e-16);
    Enter(farField);
    TypeText(L"45");
    PressKey(VK_RETURN);
    ASSERT_TRUE(Pump(1000, [&] { return BalloonShown(farField); }));
    Pump(100);
    const auto messages = farField.Balloon().State().LiveMessages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].id, 14) << "the hard limit, shown last, is on top";
    EXPECT_EQ(messages[1].id, 12);
    EXPECT_EQ(messages[1].text, L"MaxValue Suggest <= 20");
    const Capture capture(BalloonOf(farField), Capture::Source::Window);
    capture.Save(L"balloon_two_messages");
    EXPECT_GT(capture.Count(kErrorFill), 200);
    EXPECT_GT(capture.Count(kWarningFill), 100) << "the warning triangle";
}

TEST_F(NumericField, TextWrittenByTheOwnerIsNotAnnouncedNorCommitted) {
    SetDlgItemDouble(dialog.hwnd(), kFarField, 0.5);
    EXPECT_EQ(TextOf(kFarField), L"0.5");
    SetDlgItemDouble(dialog.hwnd(), kFarField, 2.44);
    EXPECT_EQ(TextOf(kFarField), L"2.4");
    EXPECT_DOUBLE_EQ(GetDlgItemDouble(dialog.hwnd(), kFarField), 2.4);
    SetDlgItemDouble(dialog.hwnd(), kFarField, 45.0);
    EXPECT_EQ(TextOf(kFarField), L"45");
    EXPECT_EQ(Heard(kFarField, EN_CHANGE), 0u);
    EXPECT_FALSE(farField.IsModified());

    Enter(farField);
    PressKey(VK_TAB);
    EXPECT_EQ(TextOf(kFarField), L"45") << "no commit without the operator's change";
    EXPECT_EQ(GetDlgItemDouble(dialog.hwnd(), 4242), 0.0) << "no such control";
}

TEST_F(NumericField, PastedTextPassesTheFilterAndTheCommitChecksIt) {
    ASSERT_TRUE(OpenClipboard(dialog.hwnd()));
    EmptyClipboard();
    const wchar_t pasted[] = L"77abc";
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof(pasted));
    std::memcpy(GlobalLock(memory), pasted, sizeof(pasted));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();

    Enter(farField);
    KeyDown(VK_CONTROL);
    PressKey('V');
    KeyUp(VK_CONTROL);
    EXPECT_EQ(TextOf(kFarField), L"77abc");
    EXPECT_EQ(BalloonOf(farField), nullptr) << "Ctrl+V is a control character";
    PressKey(VK_TAB);
    EXPECT_EQ(TextOf(kFarField), L"31");
}

TEST_F(NumericField, ADeletionIsCommittedLikeTyping) {
    Enter(farField);
    SendMessageW(farField.GetSafeHwnd(), EM_SETSEL, 0, 0);
    PressKey(VK_DELETE);
    EXPECT_EQ(TextOf(kFarField), L"2");
    PressKey(VK_TAB);
    EXPECT_EQ(Heard(kFarField, EN_CHANGE), 1u);
}

TEST_F(NumericField, ShiftTabAlsoMovesForward) {
    Enter(nearField);
    TypeText(L"5");
    KeyDown(VK_SHIFT);
    PressKey(VK_TAB);
    KeyUp(VK_SHIFT);
    EXPECT_EQ(GetFocus(), farField.GetSafeHwnd());
    EXPECT_EQ(Heard(kNearField, EN_CHANGE), 1u);
}

TEST_F(NumericField, EnterInTheOnlyFieldCommitsInPlace) {
    // With every other control unable to take the focus, the focus stays in the field.
    for (int id : {kCheckA, kCheckB, kPush, kRadio1, kRadio2, kRadio3, kNearField, kNext}) {
        EnableWindow(dialog.Item(id), FALSE);
    }
    Enter(farField);
    TypeText(L"50");
    PressKey(VK_RETURN);
    EXPECT_EQ(GetFocus(), farField.GetSafeHwnd());
    EXPECT_EQ(TextOf(kFarField), L"31");
    EXPECT_EQ(Heard(kFarField, EN_KILLFOCUS), 0u);
}

TEST_F(NumericField, ThePlatformBalloonRequestShowsOurBalloon) {
    EDITBALLOONTIP tip{sizeof(tip), L"Tip", L"Range gates", TTI_INFO};
    EXPECT_EQ(
        SendMessageW(farField.GetSafeHwnd(), EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&tip)),
        TRUE);
    ASSERT_TRUE(Pump(500, [&] { return BalloonShown(farField); }));
    const auto messages = farField.Balloon().State().LiveMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, L"Range gates");
    EXPECT_EQ(messages[0].id, -1);
    Pump(100);
    EXPECT_GT(Capture(BalloonOf(farField), Capture::Source::Window).Count(kInformationFill), 200);
    EXPECT_EQ(SendMessageW(farField.GetSafeHwnd(), EM_SHOWBALLOONTIP, 0, 0), FALSE);
}

}  // namespace
