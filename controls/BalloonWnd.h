// CBalloonWnd: a small shaped pop-up under a control that shows one or more short messages,
// each with an icon, a title and a text, under a tail pointing up at the control. Messages
// stay five seconds; when the last has run out the balloon fades away (BalloonState has the
// timing). Pointing at it holds it, leaving gives two more seconds, and the round close
// button at the top right dismisses it at once.
//
// The window draws itself into one bitmap, takes its shape from that bitmap's key colour
// (pure red outside the outline) and fades with whole-window transparency. It never takes
// the keyboard focus. User-interface thread only.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "controls/BalloonState.h"
#include "framework/Handles.h"
#include "framework/Window.h"

class CBalloonWnd : public zuvo::Window, private zuvo::controls::BalloonHost {
public:
    CBalloonWnd();
    ~CBalloonWnd() override;

    // Creates the (hidden) window, owned by the top-level window of owner; the balloon
    // hides itself while owner is hidden. False when the window class cannot be registered
    // or the window not made; later messages are then not shown.
    bool Create(HWND owner);
    // Adds or renews a message (id 0 or more: equal ids replace each other; negative: matched
    // by title and text) and shows the balloon with its top-left corner at anchor (screen
    // pixels); the tail's tip is 20 pixels right of it. icon: 1 information, 2 warning,
    // 3 error (4 to 6 the same), 0 none.
    void ShowMessage(const wchar_t* title, const wchar_t* text, int icon, POINT anchor, int id);
    void ClearMessages();

    const zuvo::controls::BalloonState& State() const { return m_state; }
    // The close button, in window pixels.
    RECT CloseRect() const { return m_close; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // BalloonHost
    void StartTimer(zuvo::controls::BalloonTimer timer, uint32_t periodMs) override;
    void StopTimer(zuvo::controls::BalloonTimer timer) override;
    void ApplyAlpha(int alpha) override;
    void Relayout() override;
    void Present() override;
    void Hide() override;

    void CreateFonts();
    void UpdateLayout();
    zuvo::UniqueRegion CreateShapeRegion(HDC dc, int width, int height) const;
    void DrawMessageIcon(HDC dc, int icon, const RECT& rect) const;
    void DrawCloseButton(HDC dc, bool hot) const;
    void OnPaint();
    void OnWindowPosChanging(WINDOWPOS& position);

    HWND m_owner = nullptr;
    zuvo::UniqueFont m_warningSignFont;
    zuvo::UniqueFont m_informationSignFont;
    zuvo::UniqueFont m_titleFont;
    zuvo::UniqueFont m_textFont;
    zuvo::UniqueBitmap m_bitmap;
    POINT m_anchor{0, 0};
    RECT m_close{0, 0, 0, 0};
    zuvo::controls::BalloonState m_state;
};
