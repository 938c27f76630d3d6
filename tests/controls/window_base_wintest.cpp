// The framework's window base: windows it creates and controls it takes over, exceptions
// kept inside the window procedure, notifications reflected to the control that sent them
// and messages offered before the dialog manager sees them.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "framework/Window.h"
#include "tests/controls/TestDialog.h"

namespace {

constexpr UINT kPing = WM_APP + 1;
constexpr UINT kThrow = WM_APP + 2;

class RecordingWindow : public zuvo::Window {
public:
    ~RecordingWindow() override { Destroy(); }

    static bool Register() {
        WNDCLASSEXW description{};
        description.hInstance = GetModuleHandleW(nullptr);
        description.lpszClassName = L"ZuvoTestWindow";
        return RegisterWindowClass(description);
    }
    bool Make(HWND parent = nullptr, DWORD style = WS_OVERLAPPEDWINDOW) {
        return CreateEx(0, L"ZuvoTestWindow", L"test", style, RECT{0, 0, 200, 100}, parent,
                        nullptr);
    }

    std::vector<UINT> messages;
    std::vector<UINT> reflected;
    bool consumeKeys = false;
    bool handleReflected = true;
    int destroyed = 0;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        messages.push_back(message);
        switch (message) {
            case kPing:
                return static_cast<LRESULT>(wParam) + 1;
            case kThrow:
            case WM_GETTEXTLENGTH:
                if (message == kThrow || wParam == 7) {
                    throw std::runtime_error("handler failed");
                }
                break;
            case WM_DESTROY:
                ++destroyed;
                break;
            default:
                break;
        }
        return DefaultHandling(message, wParam, lParam);
    }
    bool OnReflectedMessage(UINT message, WPARAM, LPARAM, LRESULT* result) override {
        reflected.push_back(message);
        *result = 42;
        return handleReflected;
    }
    bool PreTranslateMessage(MSG& message) override {
        return consumeKeys && message.message == WM_KEYDOWN;
    }
};

int Count(const std::vector<UINT>& messages, UINT message) {
    int count = 0;
    for (UINT each : messages) {
        count += each == message ? 1 : 0;
    }
    return count;
}

TEST(WindowBase, ACreatedWindowReachesItsObjectFromTheStartUntilItIsDestroyed) {
    ASSERT_TRUE(RecordingWindow::Register());
    ASSERT_TRUE(RecordingWindow::Register()) << "registering again is no failure";
    auto window = std::make_unique<RecordingWindow>();
    ASSERT_TRUE(window->Make());
    const HWND hwnd = window->GetSafeHwnd();
    EXPECT_EQ(zuvo::Window::FromHandle(hwnd), window.get());
    ASSERT_FALSE(window->messages.empty());
    EXPECT_EQ(window->messages.front(), static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(Count(window->messages, WM_CREATE), 1);
    EXPECT_EQ(SendMessageW(hwnd, kPing, 41, 0), 42);
    EXPECT_FALSE(window->Make()) << "one window per object";

    window.reset();
    EXPECT_FALSE(IsWindow(hwnd)) << "the object destroys the window it owns";
    EXPECT_EQ(zuvo::Window::FromHandle(hwnd), nullptr);

    RecordingWindow second;
    ASSERT_TRUE(second.Make());
    const HWND other = second.GetSafeHwnd();
    DestroyWindow(other);
    EXPECT_EQ(second.GetSafeHwnd(), nullptr) << "a window destroyed from outside is forgotten";
    EXPECT_EQ(second.destroyed, 1);
}

TEST(WindowBase, AnExceptionInAHandlerAnswersTheDefaultHandling) {
    RecordingWindow::Register();
    RecordingWindow window;
    ASSERT_TRUE(window.Make());
    EXPECT_EQ(SendMessageW(window.GetSafeHwnd(), kThrow, 0, 0), 0);
    // The default answer of WM_GETTEXTLENGTH is the caption's length.
    EXPECT_EQ(SendMessageW(window.GetSafeHwnd(), WM_GETTEXTLENGTH, 7, 0), 4);
    EXPECT_EQ(SendMessageW(window.GetSafeHwnd(), kPing, 1, 0), 2) << "the window still works";
}

TEST(WindowBase, ATakenOverControlIsGivenBackUnharmed) {
    zuvo::UniqueWindow edit(CreateWindowExW(0, L"Edit", L"abc", WS_POPUP, 0, 0, 100, 20, nullptr,
                                            nullptr, GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(edit);
    {
        RecordingWindow control;
        ASSERT_TRUE(control.SubclassWindow(edit.get()));
        EXPECT_EQ(zuvo::Window::FromHandle(edit.get()), &control);
        SetWindowTextW(edit.get(), L"hello");
        EXPECT_EQ(Count(control.messages, WM_SETTEXT), 1);
        wchar_t text[16] = {};
        GetWindowTextW(edit.get(), text, 16);
        EXPECT_STREQ(text, L"hello") << "the control's own handling still runs";

        RecordingWindow second;
        EXPECT_FALSE(second.SubclassWindow(edit.get())) << "a control belongs to one object";
        EXPECT_FALSE(control.SubclassWindow(edit.get()));
    }
    EXPECT_TRUE(IsWindow(edit.get())) << "a taken-over control outlives its object";
    EXPECT_EQ(zuvo::Window::FromHandle(edit.get()), nullptr);
    SetWindowTextW(edit.get(), L"again");
    wchar_t text[16] = {};
    GetWindowTextW(edit.get(), text, 16);
    EXPECT_STREQ(text, L"again");

    RecordingWindow control;
    ASSERT_TRUE(control.SubclassWindow(edit.get())) << "and can be taken over again";
    EXPECT_EQ(control.UnsubclassWindow(), edit.get());
    SetWindowTextW(edit.get(), L"x");
    EXPECT_EQ(Count(control.messages, WM_SETTEXT), 0);

    ASSERT_TRUE(control.SubclassWindow(edit.get()));
    edit.reset();
    EXPECT_EQ(control.GetSafeHwnd(), nullptr) << "a destroyed control is forgotten";
}

TEST(WindowBase, NotificationsAreReflectedToTheControlThatSentThem) {
    zuvo::test::TestDialog dialog;
    RecordingWindow button;
    ASSERT_TRUE(button.SubclassDlgItem(zuvo::test::kPush, dialog.hwnd()));
    SendMessageW(button.GetSafeHwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(Count(button.reflected, WM_COMMAND), 1);
    EXPECT_TRUE(dialog.Received(zuvo::test::kPush, BN_CLICKED).empty())
        << "a handled notification does not reach the dialog";

    button.handleReflected = false;
    SendMessageW(button.GetSafeHwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(dialog.Received(zuvo::test::kPush, BN_CLICKED).size(), 1u);

    // A control colour request answers the brush directly; others through DWLP_MSGRESULT.
    RecordingWindow field;
    ASSERT_TRUE(field.SubclassDlgItem(zuvo::test::kNearField, dialog.hwnd()));
    zuvo::WindowDc dc(field.GetSafeHwnd());
    INT_PTR answer = 0;
    EXPECT_TRUE(zuvo::Window::ReflectDialogNotification(
        dialog.hwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.get()),
        reinterpret_cast<LPARAM>(field.GetSafeHwnd()), &answer));
    EXPECT_EQ(answer, 42);
    NMHDR header{field.GetSafeHwnd(), zuvo::test::kNearField, 0};
    EXPECT_TRUE(
        zuvo::Window::ReflectDialogNotification(dialog.hwnd(), WM_NOTIFY, zuvo::test::kNearField,
                                                reinterpret_cast<LPARAM>(&header), &answer));
    EXPECT_EQ(answer, TRUE);
    EXPECT_EQ(GetWindowLongPtrW(dialog.hwnd(), DWLP_MSGRESULT), 42);

    LRESULT result = 0;
    EXPECT_FALSE(zuvo::Window::ReflectNotification(WM_COMMAND, IDOK, 0, &result))
        << "menu commands name no control";
    EXPECT_FALSE(zuvo::Window::ReflectNotification(
        WM_COMMAND, MAKEWPARAM(zuvo::test::kCheckA, BN_CLICKED),
        reinterpret_cast<LPARAM>(dialog.Item(zuvo::test::kCheckA)), &result))
        << "a control without an object";
}

TEST(WindowBase, MessagesAreOfferedToTheWindowAndItsParents) {
    RecordingWindow::Register();
    RecordingWindow parent;
    ASSERT_TRUE(parent.Make());
    RecordingWindow child;
    ASSERT_TRUE(child.Make(parent.GetSafeHwnd(), WS_CHILD));
    MSG message{child.GetSafeHwnd(), WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_FALSE(zuvo::Window::PreTranslate(message));
    parent.consumeKeys = true;
    EXPECT_TRUE(zuvo::Window::PreTranslate(message)) << "the parent claims the key";

    RecordingWindow owned;
    ASSERT_TRUE(owned.Make(parent.GetSafeHwnd(), WS_POPUP));
    MSG toPopup{owned.GetSafeHwnd(), WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_FALSE(zuvo::Window::PreTranslate(toPopup)) << "the walk ends at a top-level window";
}

}  // namespace
