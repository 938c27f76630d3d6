#include "controls/BalloonWnd.h"

#include <windowsx.h>

#include <vector>

#include "ZUVO_Common.h"
#include "controls/BalloonLayout.h"
#include "controls/ControlDrawing.h"
#include "controls/ShapeRegion.h"

using namespace zuvo::controls;

namespace {

constexpr const wchar_t* kClassName = L"BALLOONWND";
constexpr DWORD kExStyle = WS_EX_NOACTIVATE | WS_EX_LAYERED;  // 0x08080000
constexpr DWORD kStyle = 0x80000100;                          // pop-up
constexpr COLORREF kKeyColour = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kTitleColour = RGB(0, 51, 153);
constexpr int kCornerDiameter = 14;
constexpr UINT kTextFlags = DT_LEFT | DT_TOP | DT_NOPREFIX;

RECT ToRect(const ZRect& rect) {
    return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

SIZE MeasureText(HDC dc, HFONT font, const std::wstring& text) {
    zuvo::SelectGuard selected(dc, font);
    RECT rect{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), -1, &rect, kTextFlags | DT_CALCRECT);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

void DrawFilledShape(HDC dc, COLORREF outline, COLORREF fill, int penWidth, auto draw) {
    zuvo::UniquePen pen(CreatePen(PS_SOLID, penWidth, outline));
    zuvo::UniqueBrush brush(CreateSolidBrush(fill));
    zuvo::SelectGuard selectedPen(dc, pen.get());
    zuvo::SelectGuard selectedBrush(dc, brush.get());
    draw();
}

void DrawLine(HDC dc, int fromX, int fromY, int toX, int toY) {
    MoveToEx(dc, fromX, fromY, nullptr);
    LineTo(dc, toX, toY);
}

// Two strokes from the corners of rect inset by inset: a cross.
void DrawCross(HDC dc, const RECT& rect, int inset, int penWidth, COLORREF colour) {
    zuvo::UniquePen pen(CreatePen(PS_SOLID, penWidth, colour));
    zuvo::SelectGuard selected(dc, pen.get());
    DrawLine(dc, rect.left + inset, rect.top + inset, rect.right - inset, rect.bottom - inset);
    DrawLine(dc, rect.left + inset, rect.bottom - inset, rect.right - inset, rect.top + inset);
}

void DrawSign(HDC dc, HFONT font, const wchar_t* sign, COLORREF colour, RECT rect, UINT flags) {
    zuvo::SelectGuard selected(dc, font);
    SetTextColor(dc, colour);
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, sign, -1, &rect, flags | DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    SetBkMode(dc, previousMode);
}

}  // namespace

CBalloonWnd::CBalloonWnd() : m_state(*this) {}

CBalloonWnd::~CBalloonWnd() {
    // Destroyed here, so that WM_DESTROY still finds this object whole.
    Destroy();
}

bool CBalloonWnd::Create(HWND owner) {
    if (GetSafeHwnd() != nullptr) {
        return true;
    }
    WNDCLASSEXW description{};
    description.style = CS_HREDRAW | CS_VREDRAW;
    description.hInstance = GetModuleHandleW(nullptr);
    description.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    description.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    description.lpszClassName = kClassName;
    if (!RegisterWindowClass(description)) {
        DbgOutputA(2, "BALLOONWND: RegisterClassEx Failed: %d\r\n",
                   static_cast<int>(GetLastError()));
        return false;
    }
    HWND topLevel = owner;
    while (topLevel != nullptr && (GetWindowLongPtrW(topLevel, GWL_STYLE) & WS_CHILD) != 0) {
        topLevel = GetParent(topLevel);
    }
    m_owner = owner;
    return CreateEx(kExStyle, kClassName, L"", kStyle, RECT{0, 0, 0, 0}, topLevel, nullptr);
}

void CBalloonWnd::ShowMessage(const wchar_t* title, const wchar_t* text, int icon, POINT anchor,
                              int id) {
    if (GetSafeHwnd() == nullptr) {
        return;
    }
    m_anchor = anchor;
    m_state.ShowMessage(title != nullptr ? title : L"", text != nullptr ? text : L"", icon, id);
}

void CBalloonWnd::ClearMessages() {
    m_state.ClearMessages();
}

LRESULT CBalloonWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            CreateFonts();
            return DefaultHandling(message, wParam, lParam);
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_TIMER:
            if (wParam == kExpiryTimer) {
                m_state.OnExpiryTimer();
            } else if (wParam == kFadeTimer) {
                m_state.OnFadeTimer();
            }
            return 0;
        case WM_MOUSEMOVE: {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, GetSafeHwnd(), 0};
            TrackMouseEvent(&track);
            const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (m_state.OnPointerMove(PtInRect(&m_close, point) != FALSE)) {
                InvalidateRect(GetSafeHwnd(), nullptr, FALSE);
            }
            return 0;
        }
        case WM_MOUSELEAVE:
            m_state.OnPointerLeave();
            return 0;
        case WM_LBUTTONDOWN: {
            const LRESULT result = DefaultHandling(message, wParam, lParam);
            SetForegroundWindow(GetSafeHwnd());
            return result;
        }
        case WM_LBUTTONUP: {
            const LRESULT result = DefaultHandling(message, wParam, lParam);
            const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (PtInRect(&m_close, point)) {
                m_state.OnCloseClicked();
            }
            return result;
        }
        case WM_WINDOWPOSCHANGING:
            OnWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lParam));
            return DefaultHandling(message, wParam, lParam);
        case WM_DESTROY: {
            const LRESULT result = DefaultHandling(message, wParam, lParam);
            m_bitmap.reset();
            m_warningSignFont.reset();
            m_informationSignFont.reset();
            m_titleFont.reset();
            m_textFont.reset();
            m_state.ClearMessages();
            return result;
        }
        default:
            return DefaultHandling(message, wParam, lParam);
    }
}

void CBalloonWnd::StartTimer(BalloonTimer timer, uint32_t periodMs) {
    SetTimer(GetSafeHwnd(), timer, periodMs, nullptr);
}

void CBalloonWnd::StopTimer(BalloonTimer timer) {
    KillTimer(GetSafeHwnd(), timer);
}

void CBalloonWnd::ApplyAlpha(int alpha) {
    SetLayeredWindowAttributes(GetSafeHwnd(), 0, static_cast<BYTE>(alpha), LWA_ALPHA);
}

void CBalloonWnd::Relayout() {
    UpdateLayout();
}

void CBalloonWnd::Present() {
    RECT window;
    GetWindowRect(GetSafeHwnd(), &window);
    MoveWindow(GetSafeHwnd(), m_anchor.x, m_anchor.y, window.right - window.left,
               window.bottom - window.top, FALSE);
    UpdateLayout();
    // Showing must not move the keyboard focus away from the control being edited.
    const HWND focus = GetFocus();
    ShowWindow(GetSafeHwnd(), SW_SHOWNOACTIVATE);
    if (focus != nullptr && GetFocus() != focus) {
        SetFocus(focus);
    }
}

void CBalloonWnd::Hide() {
    ShowWindow(GetSafeHwnd(), SW_HIDE);
}

void CBalloonWnd::CreateFonts() {
    m_warningSignFont = CreateControlFont(10, FW_NORMAL);
    m_informationSignFont = CreateControlFont(14, FW_NORMAL);
    m_titleFont = CreateControlFont(14, FW_NORMAL);
    m_textFont = CreateControlFont(9, FW_NORMAL);
}

void CBalloonWnd::UpdateLayout() {
    const std::vector<BalloonMessage> messages = m_state.LiveMessages();
    zuvo::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) {
        return;
    }
    std::vector<MessageExtent> extents;
    for (const BalloonMessage& message : messages) {
        const SIZE title = MeasureText(dc.get(), m_titleFont.get(), message.title);
        const SIZE text = MeasureText(dc.get(), m_textFont.get(), message.text);
        extents.push_back(MessageExtent{title.cx, title.cy, text.cx, text.cy});
    }
    const BalloonGeometry geometry = LayOutBalloon(extents);
    m_close = ToRect(geometry.close);

    m_bitmap.reset(CreateHBitmap(nullptr, geometry.width, -geometry.height, 24));
    if (!m_bitmap) {
        return;
    }
    zuvo::UniqueRegion region;
    {
        zuvo::SelectGuard selected(dc.get(), m_bitmap.get());
        region = CreateShapeRegion(dc.get(), geometry.width, geometry.height);
        for (size_t index = 0; index < messages.size(); ++index) {
            const BalloonMessage& message = messages[index];
            const MessageBoxes& boxes = geometry.messages[index];
            DrawMessageIcon(dc.get(), message.icon, ToRect(boxes.icon));
            SetBkColor(dc.get(), kWhite);
            SetBkMode(dc.get(), OPAQUE);
            RECT title = ToRect(boxes.title);
            RECT text = ToRect(boxes.text);
            {
                zuvo::SelectGuard font(dc.get(), m_titleFont.get());
                SetTextColor(dc.get(), kTitleColour);
                DrawTextW(dc.get(), message.title.c_str(), -1, &title, kTextFlags);
            }
            zuvo::SelectGuard font(dc.get(), m_textFont.get());
            SetTextColor(dc.get(), kBlack);
            DrawTextW(dc.get(), message.text.c_str(), -1, &text, kTextFlags);
        }
    }
    // The window owns the region from here on.
    if (region && SetWindowRgn(GetSafeHwnd(), region.get(), TRUE) != 0) {
        region.release();
    }
    SetWindowPos(GetSafeHwnd(), nullptr, 0, 0, geometry.width, geometry.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(GetSafeHwnd(), nullptr, TRUE);
}

zuvo::UniqueRegion CBalloonWnd::CreateShapeRegion(HDC dc, int width, int height) const {
    {
        zuvo::UniqueBrush key(CreateSolidBrush(kKeyColour));
        const RECT all{0, 0, width, height};
        FillRect(dc, &all, key.get());
    }
    DrawFilledShape(dc, kBlack, kWhite, 1, [&] {
        const POINT tail[3] = {{20, 0}, {20, 20}, {40, 20}};
        Polygon(dc, tail, 3);
        RoundRect(dc, 0, 20, width, height, kCornerDiameter, kCornerDiameter);
    });
    {
        // Opens the tail into the body.
        zuvo::UniquePen white(CreatePen(PS_SOLID, 1, kWhite));
        zuvo::SelectGuard selected(dc, white.get());
        DrawLine(dc, 20, 20, 40, 20);
    }
    GdiFlush();
    return RegionFromKeyedBitmap(m_bitmap.get());
}

void CBalloonWnd::DrawMessageIcon(HDC dc, int icon, const RECT& rect) const {
    switch (icon) {
        case 1:
        case 4:
            DrawFilledShape(dc, RGB(0, 78, 140), RGB(0, 120, 215), 1,
                            [&] { Ellipse(dc, rect.left, rect.top, rect.right, rect.bottom); });
            DrawSign(dc, m_informationSignFont.get(), L"i", kWhite, rect, DT_VCENTER);
            break;
        case 2:
        case 5: {
            const POINT corners[3] = {{(rect.left + rect.right) / 2, rect.top},
                                      {rect.left, rect.bottom},
                                      {rect.right, rect.bottom}};
            DrawFilledShape(dc, RGB(255, 185, 0), RGB(252, 225, 0), 1,
                            [&] { Polygon(dc, corners, 3); });
            RECT sign = rect;
            sign.bottom -= 1;
            DrawSign(dc, m_warningSignFont.get(), L"!", kBlack, sign, DT_BOTTOM);
            break;
        }
        case 3:
        case 6:
            DrawFilledShape(dc, RGB(165, 38, 19), RGB(240, 58, 23), 1,
                            [&] { Ellipse(dc, rect.left, rect.top, rect.right, rect.bottom); });
            DrawCross(dc, rect, 8, 2, kWhite);
            break;
        default:
            break;
    }
}

void CBalloonWnd::DrawCloseButton(HDC dc, bool hot) const {
    DrawFilledShape(dc, GetSysColor(hot ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER),
                    GetSysColor(hot ? COLOR_HIGHLIGHT : COLOR_BTNFACE), 1,
                    [&] { Ellipse(dc, m_close.left, m_close.top, m_close.right, m_close.bottom); });
    DrawCross(dc, m_close, 6, 3, hot ? kWhite : kBlack);
}

void CBalloonWnd::OnPaint() {
    zuvo::PaintDc paint(GetSafeHwnd());
    if (!m_bitmap) {
        return;
    }
    zuvo::UniqueMemoryDc dc(CreateCompatibleDC(paint.get()));
    zuvo::SelectGuard selected(dc.get(), m_bitmap.get());
    DrawCloseButton(dc.get(), m_state.CloseHot());
    RECT client;
    GetClientRect(GetSafeHwnd(), &client);
    BitBlt(paint.get(), 0, 0, client.right, client.bottom, dc.get(), 0, 0, SRCCOPY);
}

void CBalloonWnd::OnWindowPosChanging(WINDOWPOS& position) {
    if (m_owner == nullptr || !IsWindow(m_owner) || IsWindowVisible(m_owner)) {
        return;
    }
    m_state.OnOwnerHidden();
    // Hidden as part of this very change: a show that is under way does not happen, and no
    // nested hide re-enters here.
    position.flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
    if (IsWindowVisible(GetSafeHwnd())) {
        position.flags |= SWP_HIDEWINDOW;
    }
}
