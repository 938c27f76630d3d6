// Test support for the control windows: a modeless dialog from the test template with a
// message loop like the program's (pre-translation, then the dialog manager), real input
// through SendInput, and captures of what is on the screen.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Handles.h"

namespace ctltest {

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
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    zuvo::UniqueWindow m_dialog;
    std::vector<Notification> m_received;
};

// Runs the message loop for the time, or until done answers true (checked between messages).
// Answers done's last answer (true without a condition).
bool Pump(int milliseconds, const std::function<bool()>& done = nullptr);

// Real input.
POINT CentreOf(HWND window);  // screen coordinates
void MoveMouse(POINT screen);
void LeftDown();
void LeftUp();
void ClickAt(POINT screen);
void KeyDown(WORD virtualKey);
void KeyUp(WORD virtualKey);
void PressKey(WORD virtualKey);
// Types the characters as Unicode keystrokes.
void TypeText(const std::wstring& text);

// What is on the screen in the window's rectangle (or what the window itself holds), as
// 0xRRGGBB per pixel, rows from the top.
class Capture {
public:
    // Screen: as the operator sees it, other windows over it included. Window: the window's
    // own pixels; for a pop-up over its owner, because Wine without a window manager raises
    // the owner's X window above its pop-ups whenever the focus moves inside the owner (on
    // Windows an owned window always stays above its owner).
    enum class Source { Screen, Window };
    explicit Capture(HWND window, Source source = Source::Screen);
    int width() const { return m_width; }
    int height() const { return m_height; }
    uint32_t At(int x, int y) const { return m_pixels[static_cast<size_t>(y) * m_width + x]; }
    // How many pixels are exactly the colour (0xRRGGBB).
    int Count(uint32_t colour) const;
    // Saves the capture as artefacts/<name>.png beside the test program.
    void Save(const std::wstring& name) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<uint32_t> m_pixels;
};

// An opaque picture of one colour (0xAARRGGBB), owned by the test.
struct PictureDelete {
    void operator()(Gdiplus::Bitmap* picture) const;
};
using Picture = std::unique_ptr<Gdiplus::Bitmap, PictureDelete>;
Picture SolidPicture(uint32_t argb, int width = 40, int height = 20);
// The colour of a picture's pixel as 0xRRGGBB.
uint32_t PictureColour(Gdiplus::Bitmap* picture, int x = 0, int y = 0);

}  // namespace ctltest
