// The host dialog of the control tests, made from the test template (controls_test.rc), and
// pictures owned by the tests. The message loop, real input and captures come from
// tests/support.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/Handles.h"

namespace zuvo::test {

// Control ids of the test dialog (controls_test.rc).
enum ControlId {
    kCheckA = 1090,  // push-like automatic check boxes
    kCheckB = 1093,
    kPush = 1091,    // push button
    kRadio1 = 1201,  // a group of three automatic radio buttons
    kRadio2 = 1202,
    kRadio3 = 1203,
    kLabel = 1084,  // static text
    kNearField = 2001,
    kFarField = 2002,
    kNext = 1300,  // push button after the fields in tab order
};

// A WM_COMMAND notification the dialog received, with the sender's check state at that time.
struct Notification {
    int id;
    int code;
    LRESULT checkState;
};

// The test dialog, shown at the screen's top-left area, foreground, with the notifications
// it received. It reflects notifications to control objects as a program's dialog does.
class TestDialog {
public:
    TestDialog();
    TestDialog(const TestDialog&) = delete;
    TestDialog& operator=(const TestDialog&) = delete;
    ~TestDialog();

    HWND hwnd() const { return m_dialog.get(); }
    HWND Item(int id) const { return GetDlgItem(m_dialog.get(), id); }
    // Notifications of one control with one code, in order.
    std::vector<Notification> Received(int id, int code) const;
    void ClearReceived() { m_received.clear(); }

private:
    // noexcept: nothing may unwind through the dialog manager.
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam,
                                      LPARAM lParam) noexcept;

    UniqueWindow m_dialog;
    std::vector<Notification> m_received;
};

// An opaque picture of one colour (0xAARRGGBB), owned by the test.
struct PictureDelete {
    void operator()(Gdiplus::Bitmap* picture) const;
};
using Picture = std::unique_ptr<Gdiplus::Bitmap, PictureDelete>;
Picture SolidPicture(uint32_t argb, int width = 40, int height = 20);
// The colour of a picture's pixel as 0xRRGGBB.
uint32_t PictureColour(Gdiplus::Bitmap* picture, int x = 0, int y = 0);

}  // namespace zuvo::test
