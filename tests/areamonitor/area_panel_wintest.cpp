// The area monitoring panel from the program's own templates, driven with real mouse and
// keyboard input: its fields and their limits, what each button reports to the listener, the
// colour chooser, the close box, and both interface languages.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cwchar>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "framework/Handles.h"
#include "resources/AreaMonitorDialog.h"
#include "settings/AreaMonitorDlg.h"
#include "tests/support/Capture.h"
#include "tests/support/ControlHost.h"
#include "tests/support/LanguageScope.h"
#include "tests/support/WindowFinder.h"

namespace {

using namespace zuvo::test;

// One call the panel made, with its arguments.
struct Call {
    std::string name;
    double gateMin = 0.0;
    double gateMax = 0.0;
    uint32_t inactiveColour = 0;
    uint32_t activeColour = 0;
    int64_t context = 0;
};

class RecordingListener : public IAreaMonitorDlgListener {
public:
    bool ApplyGateRange(double gateMin, double gateMax, int64_t context) override {
        calls.push_back(Call{"ApplyGateRange", gateMin, gateMax, 0, 0, context});
        return true;
    }
    void BeginAddMonitorArea(uint32_t inactive, uint32_t active, int64_t context) override {
        calls.push_back(Call{"BeginAddMonitorArea", 0, 0, inactive, active, context});
    }
    void DeleteAllMonitorAreas(int64_t context) override {
        calls.push_back(Call{"DeleteAllMonitorAreas", 0, 0, 0, 0, context});
    }
    void BeginAddBoundary(uint32_t inactive, uint32_t active, int64_t context) override {
        calls.push_back(Call{"BeginAddBoundary", 0, 0, inactive, active, context});
    }
    void DeleteAllBoundaries(int64_t context) override {
        calls.push_back(Call{"DeleteAllBoundaries", 0, 0, 0, 0, context});
    }

    std::vector<Call> calls;
};

// 0xRRGGBB as captures give it, from a COLORREF.
uint32_t CapturedColour(COLORREF colour) {
    return (static_cast<uint32_t>(GetRValue(colour)) << 16) |
           (static_cast<uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

// The visible dialog owned by the window (the colour chooser of the panel), or null.
WindowQuery OwnedDialog(HWND owner) {
    WindowQuery query;
    query.className = L"#32770";
    query.owner = owner;
    query.visibleOnly = true;
    return query;
}

HWND FindOwnedDialog(HWND owner) {
    return FindTopWindow(OwnedDialog(owner));
}

// Operates the colour chooser from a second thread while the panel's thread sits in the
// chooser's own modal loop: waits for it to appear, then runs the action on it.
class ChooserOperator {
public:
    ChooserOperator(HWND panel, std::function<void(HWND)> action)
        : m_thread([this, panel, action] {
              if (HWND chooser = WaitForTopWindow(OwnedDialog(panel), std::chrono::seconds(5))) {
                  m_found = true;
                  action(chooser);
              }
              m_finished = true;
          }) {}
    ChooserOperator(const ChooserOperator&) = delete;
    ChooserOperator& operator=(const ChooserOperator&) = delete;
    ~ChooserOperator() { m_thread.join(); }

    // Runs the panel's messages until the operator is done; answers whether it found the
    // chooser.
    bool Wait() {
        Pump(8000, [this] { return m_finished.load(); });
        Pump(100);
        return m_found;
    }

private:
    std::atomic<bool> m_found{false};
    std::atomic<bool> m_finished{false};
    std::thread m_thread;
};

// The chooser's red, green and blue fields (the same ids on Windows and Wine).
constexpr int kChooserRed = 706;
constexpr int kChooserGreen = 707;
constexpr int kChooserBlue = 708;

// A click whose release is already queued when the press is handled: the close box tracks
// the mouse in a loop of its own until the button comes up.
void ClickWithoutWaiting(POINT screen) {
    MoveMouse(screen);
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(SendInput(2, inputs, sizeof(INPUT)), 2u);
    Pump(150);
}

class AreaPanel : public testing::Test {
protected:
    void TearDown() override { Pump(20); }

    // Creates the panel as the main window does (values first, then Create, then the
    // listener), shows it in front and gives it the keyboard.
    void Open(double gateMin = 0.0, double gateMax = 31.0, int gateCount = 32,
              int showBoundaryButtons = 1, int64_t context = 0) {
        panel.SetGateRange(gateMin, gateMax);
        panel.SetGateCount(gateCount);
        panel.SetShowBoundaryButtons(showBoundaryButtons);
        ASSERT_TRUE(panel.Create(nullptr));
        panel.SetListener(&listener, context);
        EXPECT_FALSE(IsWindowVisible(hwnd())) << "created hidden";
        panel.Show();
        SetForegroundWindow(hwnd());
        Pump(80);
        ASSERT_TRUE(IsWindowVisible(hwnd()));
    }

    HWND hwnd() const { return panel.GetSafeHwnd(); }
    HWND Item(int id) const { return GetDlgItem(hwnd(), id); }
    std::wstring TextOf(int id) const { return WindowText(Item(id)); }

    // Types into a field as an operator would (all of its text replaced) and leaves it with
    // Tab; answers what the field then shows.
    std::wstring TypeInto(int id, const std::wstring& text) {
        SetForegroundWindow(hwnd());
        SetFocus(Item(id));
        SendMessageW(Item(id), EM_SETSEL, 0, -1);
        Pump(20);
        TypeText(text);
        PressKey(VK_TAB);
        Pump(50);
        return TextOf(id);
    }

    void Click(int id) { ClickAt(CentreOf(Item(id))); }

    // The colour at the middle of a swatch, as on the screen.
    uint32_t SwatchColour(int id) {
        Pump(50);
        const Capture capture(Item(id), Capture::Source::Window);
        return capture.At(capture.width() / 2, capture.height() / 2);
    }

    RecordingListener listener;
    CAreaMonitorDlg panel;
};

TEST_F(AreaPanel, FieldsShowTheStoredRangeWithAtMostOneDecimal) {
    Open(3.0, 12.5);
    EXPECT_EQ(TextOf(IDC_AREA_GATE_MIN), L"3");
    EXPECT_EQ(TextOf(IDC_AREA_GATE_MAX), L"12.5");

    CAreaMonitorDlg whole;
    whole.SetGateRange(0.27, 12.0);
    ASSERT_TRUE(whole.Create(nullptr));
    EXPECT_EQ(WindowText(GetDlgItem(whole.GetSafeHwnd(), IDC_AREA_GATE_MIN)), L"0.3");
    EXPECT_EQ(WindowText(GetDlgItem(whole.GetSafeHwnd(), IDC_AREA_GATE_MAX)), L"12");
}

// What a field shows after the operator typed into it and left it, with 32 range gates.
struct Typing {
    int field;
    const wchar_t* typed;
    const wchar_t* shown;
};

constexpr Typing kTypingWithThirtyTwoGates[] = {
    {IDC_AREA_GATE_MIN, L"0", L"0"},     {IDC_AREA_GATE_MIN, L"31", L"31"},
    {IDC_AREA_GATE_MIN, L"7.5", L"7.5"}, {IDC_AREA_GATE_MIN, L"32", L"31"},
    {IDC_AREA_GATE_MIN, L"-1", L"0"},    {IDC_AREA_GATE_MIN, L"4x", L"4"},  // letters refused
    {IDC_AREA_GATE_MAX, L"1", L"1"},     {IDC_AREA_GATE_MAX, L"31", L"31"},
    {IDC_AREA_GATE_MAX, L"0", L"1"},     {IDC_AREA_GATE_MAX, L"45", L"31"},
};

TEST_F(AreaPanel, FieldsAcceptZeroOrOneUpToTheLastGate) {
    Open();
    for (const Typing& typing : kTypingWithThirtyTwoGates) {
        EXPECT_EQ(TypeInto(typing.field, typing.typed), typing.shown)
            << "field " << typing.field << " typed " << typing.typed;
    }
}

TEST_F(AreaPanel, FieldLimitsFollowTheGateCount) {
    Open(0.0, 31.0, 64);
    EXPECT_EQ(TypeInto(IDC_AREA_GATE_MAX, L"63"), L"63");
    EXPECT_EQ(TypeInto(IDC_AREA_GATE_MAX, L"64"), L"63");
    EXPECT_EQ(TypeInto(IDC_AREA_GATE_MIN, L"40"), L"40");
}

TEST_F(AreaPanel, ApplyReportsTheTypedRangeAndKeepsIt) {
    Open();
    TypeInto(IDC_AREA_GATE_MIN, L"3");
    TypeInto(IDC_AREA_GATE_MAX, L"20.5");
    Click(IDC_AREA_APPLY);

    ASSERT_EQ(listener.calls.size(), 1u);
    const Call& call = listener.calls.front();
    EXPECT_EQ(call.name, "ApplyGateRange");
    EXPECT_DOUBLE_EQ(call.gateMin, 3.0);
    EXPECT_DOUBLE_EQ(call.gateMax, 20.5);
    EXPECT_EQ(call.context, 0);
    EXPECT_DOUBLE_EQ(panel.GateMin(), 3.0);
    EXPECT_DOUBLE_EQ(panel.GateMax(), 20.5);
}

TEST_F(AreaPanel, ApplyStraightFromAFieldReportsTheCorrectedValue) {
    Open();
    SetFocus(Item(IDC_AREA_GATE_MAX));
    SendMessageW(Item(IDC_AREA_GATE_MAX), EM_SETSEL, 0, -1);
    TypeText(L"45");
    // Pressing the button takes the focus from the field, which commits it first.
    Click(IDC_AREA_APPLY);

    ASSERT_EQ(listener.calls.size(), 1u);
    EXPECT_DOUBLE_EQ(listener.calls.front().gateMax, 31.0);
    EXPECT_EQ(TextOf(IDC_AREA_GATE_MAX), L"31");
}

TEST_F(AreaPanel, ButtonsReportTheColoursAndTheContext) {
    Open(0.0, 31.0, 32, 1, 0);
    for (const int id : {IDC_AREA_ADD_MONITOR, IDC_AREA_DELETE_MONITOR, IDC_AREA_ADD_BOUNDARY,
                         IDC_AREA_DELETE_BOUNDARIES}) {
        Click(id);
    }
    ASSERT_EQ(listener.calls.size(), 4u);
    EXPECT_EQ(listener.calls[0].name, "BeginAddMonitorArea");
    EXPECT_EQ(listener.calls[0].inactiveColour, 0xFFFF00u);
    EXPECT_EQ(listener.calls[0].activeColour, 0x0054DCu);
    EXPECT_EQ(listener.calls[1].name, "DeleteAllMonitorAreas");
    EXPECT_EQ(listener.calls[2].name, "BeginAddBoundary");
    EXPECT_EQ(listener.calls[2].inactiveColour, 0xFFFF00u);
    EXPECT_EQ(listener.calls[2].activeColour, 0x0054DCu);
    EXPECT_EQ(listener.calls[3].name, "DeleteAllBoundaries");
    for (const Call& call : listener.calls) {
        EXPECT_EQ(call.context, 0) << call.name;
    }
}

TEST_F(AreaPanel, TheContextComesBackUnchanged) {
    const int64_t context = 0x123456789ABCDEF0;
    Open(0.0, 31.0, 32, 1, context);
    Click(IDC_AREA_DELETE_MONITOR);
    Click(IDC_AREA_APPLY);
    ASSERT_EQ(listener.calls.size(), 2u);
    EXPECT_EQ(listener.calls[0].context, context);
    EXPECT_EQ(listener.calls[1].context, context);
}

TEST_F(AreaPanel, WithoutAListenerTheButtonsDoNothing) {
    Open(2.0, 9.0);
    panel.SetListener(nullptr, 0);
    TypeInto(IDC_AREA_GATE_MAX, L"20");
    for (const int id : {IDC_AREA_APPLY, IDC_AREA_ADD_MONITOR, IDC_AREA_DELETE_MONITOR,
                         IDC_AREA_ADD_BOUNDARY, IDC_AREA_DELETE_BOUNDARIES}) {
        Click(id);
    }
    EXPECT_TRUE(listener.calls.empty());
    EXPECT_DOUBLE_EQ(panel.GateMax(), 9.0) << "nothing was applied";
    EXPECT_TRUE(IsWindowVisible(hwnd()));
}

TEST_F(AreaPanel, BoundaryButtonsFollowTheFlag) {
    Open(0.0, 31.0, 32, 0);
    EXPECT_FALSE(IsWindowVisible(Item(IDC_AREA_ADD_BOUNDARY)));
    EXPECT_FALSE(IsWindowVisible(Item(IDC_AREA_DELETE_BOUNDARIES)));
    EXPECT_TRUE(IsWindowVisible(Item(IDC_AREA_ADD_MONITOR)));
    EXPECT_TRUE(IsWindowVisible(Item(IDC_AREA_DELETE_MONITOR)));

    CAreaMonitorDlg withBoundaries;
    withBoundaries.SetShowBoundaryButtons(1);
    ASSERT_TRUE(withBoundaries.Create(nullptr));
    withBoundaries.Show();
    Pump(30);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(withBoundaries.GetSafeHwnd(), IDC_AREA_ADD_BOUNDARY)));
    EXPECT_TRUE(
        IsWindowVisible(GetDlgItem(withBoundaries.GetSafeHwnd(), IDC_AREA_DELETE_BOUNDARIES)));
}

TEST_F(AreaPanel, CloseBoxAndEscapeOnlyHideThePanel) {
    Open();
    RECT frame;
    GetWindowRect(hwnd(), &frame);
    // The close box, found where the panel itself says it is.
    POINT closeBox{0, 0};
    for (int y = frame.top; y < frame.top + 40 && closeBox.x == 0; ++y) {
        for (int x = frame.right - 1; x > frame.right - 60; --x) {
            const LRESULT hit = SendMessageW(hwnd(), WM_NCHITTEST, 0, MAKELPARAM(x, y));
            if (hit == HTCLOSE) {
                closeBox = POINT{x - 3, y + 3};
                break;
            }
        }
    }
    ASSERT_NE(closeBox.x, 0) << "the panel has a close box";
    ClickWithoutWaiting(closeBox);
    EXPECT_FALSE(IsWindowVisible(hwnd()));
    EXPECT_TRUE(IsWindow(hwnd())) << "hidden, not destroyed";

    panel.Show();
    SetForegroundWindow(hwnd());
    SetFocus(Item(IDC_AREA_ADD_MONITOR));
    Pump(50);
    PressKey(VK_ESCAPE);
    EXPECT_FALSE(IsWindowVisible(hwnd()));
    EXPECT_TRUE(IsWindow(hwnd()));

    panel.Show();
    Pump(30);
    EXPECT_TRUE(IsWindowVisible(hwnd())) << "it can be shown again";
    EXPECT_TRUE(listener.calls.empty());
}

TEST_F(AreaPanel, GoesWithItsOwner) {
    zuvo::UniqueWindow owner(CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 100, 100,
                                             nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(owner);
    ASSERT_TRUE(panel.Create(owner.get()));
    const HWND created = hwnd();
    EXPECT_EQ(GetWindow(created, GW_OWNER), owner.get());

    owner.reset();
    Pump(20);
    EXPECT_FALSE(IsWindow(created));
    EXPECT_EQ(hwnd(), nullptr) << "the panel knows its window is gone";
    panel.Show();
}

TEST_F(AreaPanel, SwatchesShowTheDefaultColours) {
    Open();
    EXPECT_EQ(SwatchColour(IDC_AREA_ABSENT_COLOUR), CapturedColour(0xFFFF00));
    EXPECT_EQ(SwatchColour(IDC_AREA_PRESENT_COLOUR), CapturedColour(0x0054DC));
}

TEST_F(AreaPanel, CancellingTheColourChooserKeepsTheColour) {
    Open();
    std::wstring chooserTitle;
    {
        ChooserOperator chooser(hwnd(), [&](HWND dialog) {
            chooserTitle = WindowText(dialog);
            PressDialogButton(dialog, IDCANCEL);
        });
        Click(IDC_AREA_ABSENT_COLOUR);
        ASSERT_TRUE(chooser.Wait()) << "a click on the swatch opens the colour chooser";
    }
    EXPECT_FALSE(chooserTitle.empty());
    EXPECT_EQ(FindOwnedDialog(hwnd()), nullptr) << "the chooser is gone";
    EXPECT_EQ(panel.InactiveColour(), 0xFFFF00u);
    EXPECT_EQ(SwatchColour(IDC_AREA_ABSENT_COLOUR), CapturedColour(0xFFFF00));

    Click(IDC_AREA_ADD_MONITOR);
    ASSERT_EQ(listener.calls.size(), 1u);
    EXPECT_EQ(listener.calls[0].inactiveColour, 0xFFFF00u);
}

TEST_F(AreaPanel, ChoosingAColourRepaintsTheSwatchAndColoursNewAreas) {
    Open();
    const COLORREF chosen = RGB(10, 200, 30);
    {
        ChooserOperator chooser(hwnd(), [&](HWND dialog) {
            SetDlgItemInt(dialog, kChooserRed, GetRValue(chosen), FALSE);
            SetDlgItemInt(dialog, kChooserGreen, GetGValue(chosen), FALSE);
            SetDlgItemInt(dialog, kChooserBlue, GetBValue(chosen), FALSE);
            PressDialogButton(dialog, IDOK);
        });
        Click(IDC_AREA_PRESENT_COLOUR);
        ASSERT_TRUE(chooser.Wait());
    }
    EXPECT_EQ(panel.ActiveColour(), chosen);
    EXPECT_EQ(SwatchColour(IDC_AREA_PRESENT_COLOUR), CapturedColour(chosen));
    EXPECT_EQ(SwatchColour(IDC_AREA_ABSENT_COLOUR), CapturedColour(0xFFFF00));

    // Accepting without a change keeps the colour the chooser started from.
    // A second press soon after the first would be a double click, which opens nothing.
    Pump(static_cast<int>(GetDoubleClickTime()) + 50);
    {
        ChooserOperator chooser(hwnd(), [](HWND dialog) { PressDialogButton(dialog, IDOK); });
        Click(IDC_AREA_PRESENT_COLOUR);
        ASSERT_TRUE(chooser.Wait());
    }
    EXPECT_EQ(panel.ActiveColour(), chosen);

    Click(IDC_AREA_ADD_BOUNDARY);
    ASSERT_EQ(listener.calls.size(), 1u);
    EXPECT_EQ(listener.calls[0].inactiveColour, 0xFFFF00u);
    EXPECT_EQ(listener.calls[0].activeColour, chosen);
}

// The texts of every child window of the panel.
std::set<std::wstring> ChildTextSet(HWND panel) {
    const std::vector<std::wstring> texts = ChildTexts(panel);
    return std::set<std::wstring>(texts.begin(), texts.end());
}

// The client area in dialog units of the panel's template.
SIZE ClientInDialogUnits(HWND panel, int width, int height) {
    RECT units{0, 0, width, height};
    MapDialogRect(panel, &units);
    RECT client;
    GetClientRect(panel, &client);
    EXPECT_EQ(client.right, units.right);
    EXPECT_EQ(client.bottom, units.bottom);
    return SIZE{client.right, client.bottom};
}

TEST_F(AreaPanel, EnglishTemplate) {
    LanguageScope language(L"en-US");
    Open();
    EXPECT_EQ(WindowText(hwnd()), L"Area Monitoring");
    const std::set<std::wstring> texts = ChildTextSet(hwnd());
    for (const wchar_t* expected :
         {L"Set visible range gate(unit: gate)", L"-", L"Apply", L"Target Abs. Color:",
          L"Target Pres. Color:", L"Add Monitor Area", L"Delete All Areas", L"Add Detect Area"}) {
        EXPECT_EQ(texts.count(expected), 1u) << std::string(expected, expected + wcslen(expected));
    }
    EXPECT_EQ(TextOf(IDC_AREA_DELETE_BOUNDARIES), L"Delete All Areas");
    ClientInDialogUnits(hwnd(), 147, 109);
    Capture(hwnd(), Capture::Source::Window).Save(L"area_panel_en-US");
}

TEST_F(AreaPanel, ChineseTemplate) {
    LanguageScope language(L"zh-CN");
    Open();
    EXPECT_EQ(WindowText(hwnd()), L"区域监控");
    const std::set<std::wstring> texts = ChildTextSet(hwnd());
    for (const wchar_t* expected :
         {L"设置可见区域范围(单位:距离门)", L"无目标颜色:", L"有目标颜色:"}) {
        EXPECT_EQ(texts.count(expected), 1u);
    }
    EXPECT_EQ(TextOf(IDC_AREA_APPLY), L"应用");
    EXPECT_EQ(TextOf(IDC_AREA_ADD_MONITOR), L"新增监控区域");
    EXPECT_EQ(TextOf(IDC_AREA_DELETE_MONITOR), L"删除所有监控区");
    EXPECT_EQ(TextOf(IDC_AREA_ADD_BOUNDARY), L"新增算法边界");
    EXPECT_EQ(TextOf(IDC_AREA_DELETE_BOUNDARIES), L"删除所有算法边界");
    ClientInDialogUnits(hwnd(), 142, 109);
    Capture(hwnd(), Capture::Source::Window).Save(L"area_panel_zh-CN");
}

TEST_F(AreaPanel, ChineseFieldsBehaveAsTheEnglishOnes) {
    LanguageScope language(L"zh-CN");
    Open(0.0, 12.5);
    EXPECT_EQ(TextOf(IDC_AREA_GATE_MAX), L"12.5");
    EXPECT_EQ(TypeInto(IDC_AREA_GATE_MAX, L"40"), L"31");
    Click(IDC_AREA_APPLY);
    ASSERT_EQ(listener.calls.size(), 1u);
    EXPECT_DOUBLE_EQ(listener.calls[0].gateMax, 31.0);
}

}  // namespace
