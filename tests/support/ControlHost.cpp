#include "tests/support/ControlHost.h"

#include <gtest/gtest.h>

#include "framework/Window.h"
#include "tests/support/WindowFinder.h"

namespace zuvo::test {

namespace {

void Send(INPUT* inputs, UINT count) {
    ASSERT_EQ(SendInput(count, inputs, sizeof(INPUT)), count);
}

void MouseButton(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    Send(&input, 1);
    Pump(30);
}

void Key(WORD virtualKey, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = flags;
    Send(&input, 1);
    Pump(20);
}

}  // namespace

void BringToFront(HWND window) {
    // Asked again until it holds: a window that is still being shown or activated by its own
    // thread may take the front back from the first request.
    const DWORD start = GetTickCount();
    while (GetForegroundWindow() != window && GetTickCount() - start < 5000) {
        SetForegroundWindow(window);
        Pump(50);
    }
    ASSERT_EQ(GetForegroundWindow(), window) << "the window did not come to the front";
    // Wine's X11 driver sets the keyboard state from the X server's when a window gets the
    // focus, at the moment the window's thread reads the focus event: a key pressed before
    // that would be forgotten, so the change is given time to settle.
    Pump(1000);
}

bool Pump(int milliseconds, const std::function<bool()>& done) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (zuvo::Window::PreTranslate(message)) {
                continue;
            }
            // The dialog manager only for dialogs: a pop-up (the balloon) is its own root.
            const HWND top = GetAncestor(message.hwnd, GA_ROOT);
            if (IsDialogWindow(top) && IsDialogMessageW(top, &message)) {
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done && done()) {
            return true;
        }
        if (GetTickCount() - start >= static_cast<DWORD>(milliseconds)) {
            return !done;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

POINT CentreOf(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

void MoveMouse(POINT screen) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    Send(&input, 1);
    Pump(30, [&] {
        POINT cursor;
        return GetCursorPos(&cursor) && cursor.x == screen.x && cursor.y == screen.y;
    });
    Pump(20);
}

void LeftDown() {
    MouseButton(MOUSEEVENTF_LEFTDOWN);
}

void LeftUp() {
    MouseButton(MOUSEEVENTF_LEFTUP);
}

void ClickAt(POINT screen) {
    MoveMouse(screen);
    LeftDown();
    LeftUp();
}

void KeyDown(WORD virtualKey) {
    Key(virtualKey, 0);
}

void KeyUp(WORD virtualKey) {
    Key(virtualKey, KEYEVENTF_KEYUP);
}

void PressKey(WORD virtualKey) {
    KeyDown(virtualKey);
    KeyUp(virtualKey);
}

void TypeText(const std::wstring& text) {
    for (wchar_t character : text) {
        INPUT inputs[2] = {};
        for (INPUT& input : inputs) {
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = character;
            input.ki.dwFlags = KEYEVENTF_UNICODE;
        }
        inputs[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        Send(inputs, 2);
        Pump(20);
    }
}

}  // namespace zuvo::test
