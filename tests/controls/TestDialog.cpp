#include "tests/controls/TestDialog.h"

#include <gtest/gtest.h>

#include "framework/Window.h"
#include "imaging/GdiplusHelpers.h"
#include "tests/support/ControlHost.h"

namespace zuvo::test {

namespace {

constexpr int kDialogId = 100;
constexpr int kDialogX = 60;
constexpr int kDialogY = 60;

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

INT_PTR CALLBACK TestDialog::Procedure(HWND dialog, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        return TRUE;
    }
    INT_PTR answer = 0;
    if (Window::ReflectDialogNotification(dialog, message, wParam, lParam, &answer)) {
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

}  // namespace zuvo::test
