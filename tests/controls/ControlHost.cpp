#include "tests/controls/ControlHost.h"

#include <gtest/gtest.h>

#include <cwchar>

#include "framework/Window.h"
#include "imaging/GdiplusHelpers.h"

namespace ctltest {

namespace {

constexpr int kDialogId = 100;
constexpr int kDialogX = 60;
constexpr int kDialogY = 60;

bool IsDialog(HWND window) {
    wchar_t name[16] = {};
    return window != nullptr && GetClassNameW(window, name, 16) > 0 &&
           std::wcscmp(name, L"#32770") == 0;
}

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

TestDialog::TestDialog() {
    m_dialog.reset(CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kDialogId),
                                      nullptr, Procedure, reinterpret_cast<LPARAM>(this)));
    if (!m_dialog) {
        ADD_FAILURE() << "the test dialog was not made: " << GetLastError();
        return;
    }
    SetWindowPos(m_dialog.get(), HWND_TOP, kDialogX, kDialogY, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(m_dialog.get());
    Pump(50);
}

TestDialog::~TestDialog() {
    m_dialog.reset();
    Pump(20);
}

std::vector<Notification> TestDialog::Received(int id, int code) const {
    std::vector<Notification> matching;
    for (const Notification& notification : m_received) {
        if (notification.id == id && notification.code == code) {
            matching.push_back(notification);
        }
    }
    return matching;
}

INT_PTR CALLBACK TestDialog::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        return TRUE;
    }
    INT_PTR answer = 0;
    if (zuvo::Window::ReflectDialogNotification(dialog, message, wParam, lParam, &answer)) {
        return answer;
    }
    auto* self = reinterpret_cast<TestDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (message == WM_COMMAND && self != nullptr && lParam != 0) {
        const auto control = reinterpret_cast<HWND>(lParam);
        self->m_received.push_back(
            Notification{LOWORD(wParam), HIWORD(wParam), SendMessageW(control, BM_GETCHECK, 0, 0)});
        return TRUE;
    }
    return FALSE;
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
            if (IsDialog(top) && IsDialogMessageW(top, &message)) {
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

Capture::Capture(HWND window, Source source) {
    RECT rect;
    GetWindowRect(window, &rect);
    m_width = rect.right - rect.left;
    m_height = rect.bottom - rect.top;
    m_pixels.assign(static_cast<size_t>(m_width) * m_height, 0);
    zuvo::WindowDc screen(nullptr);
    zuvo::WindowDc own(window, true);
    zuvo::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -m_height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    zuvo::UniqueBitmap bitmap(
        CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !memory) {
        ADD_FAILURE() << "no capture bitmap";
        return;
    }
    {
        zuvo::SelectGuard selected(memory.get(), bitmap.get());
        if (source == Source::Screen) {
            BitBlt(memory.get(), 0, 0, m_width, m_height, screen.get(), rect.left, rect.top,
                   SRCCOPY);
        } else {
            BitBlt(memory.get(), 0, 0, m_width, m_height, own.get(), 0, 0, SRCCOPY);
        }
    }
    GdiFlush();
    const auto* captured = static_cast<const uint32_t*>(bits);
    for (size_t index = 0; index < m_pixels.size(); ++index) {
        m_pixels[index] = captured[index] & 0xFFFFFF;
    }
}

int Capture::Count(uint32_t colour) const {
    int count = 0;
    for (uint32_t pixel : m_pixels) {
        count += pixel == colour ? 1 : 0;
    }
    return count;
}

void Capture::Save(const std::wstring& name) const {
    CreateDirectoryW(L"artefacts", nullptr);
    std::vector<uint32_t> opaque(m_pixels);
    for (uint32_t& pixel : opaque) {
        pixel |= 0xFF000000;
    }
    Picture picture(Gdiplus_LoadBitmapFromImageBits(opaque.data(), m_width, m_height, m_width * 4,
                                                    PixelFormat32bppARGB));
    Picture copy(Gdiplus_CopyBitmap(picture.get()));
    Gdiplus_SaveBitmapToFileW(copy.get(), (L"artefacts\\" + name + L".png").c_str());
}

void PictureDelete::operator()(Gdiplus::Bitmap* picture) const {
    Gdiplus_DeleteBitmap(picture);
}

Picture SolidPicture(uint32_t argb, int width, int height) {
    return Picture(Gdiplus_CreateColorBmp(width, height, argb));
}

uint32_t PictureColour(Gdiplus::Bitmap* picture, int x, int y) {
    Gdiplus::Color colour;
    picture->GetPixel(x, y, &colour);
    return colour.GetValue() & 0xFFFFFF;
}

}  // namespace ctltest
