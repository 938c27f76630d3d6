#include "controls/ASkinButton.h"

#include <windowsx.h>

#include <cwchar>

#include "imaging/GdiplusHelpers.h"

using namespace zuvo::controls;

namespace {

constexpr COLORREF kSkinBackground = RGB(42, 50, 60);
constexpr COLORREF kFrameLight = RGB(51, 51, 51);
constexpr COLORREF kFrameDark = RGB(0, 0, 0);
constexpr LPARAM kKeyRepeatBit = LPARAM{1} << 30;

PicturePtr GreyOf(const PicturePtr& picture) {
    return PicturePtr(picture ? Gdiplus_Gray(picture.get()) : nullptr);
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    zuvo::UniqueBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, brush.get());
}

bool IsButtonClass(HWND window) {
    wchar_t name[16] = {};
    return GetClassNameW(window, name, 16) > 0 && _wcsicmp(name, L"Button") == 0;
}

}  // namespace

CASkinButton::CASkinButton() : m_background(GetSysColor(COLOR_BTNFACE)) {}

CASkinButton::~CASkinButton() {
    Destroy();
}

void CASkinButton::SetImages(Gdiplus::Bitmap* normal, Gdiplus::Bitmap* pressed,
                             Gdiplus::Bitmap* hover, Gdiplus::Bitmap* disabled,
                             Gdiplus::Bitmap* disabledChecked, Gdiplus::Bitmap* icon) {
    m_pictures[kPictureNormal] = CopyPicture(normal);
    m_pictures[kPicturePressed] = CopyPicture(pressed);
    m_pictures[kPictureHover] = CopyPicture(hover);
    m_pictures[kPictureIcon] = CopyPicture(icon);
    m_pictures[kPictureDisabled] =
        disabled != nullptr ? CopyPicture(disabled) : GreyOf(m_pictures[kPictureNormal]);
    m_pictures[kPictureDisabledChecked] = disabledChecked != nullptr
                                              ? CopyPicture(disabledChecked)
                                              : GreyOf(m_pictures[kPicturePressed]);
    m_background = kSkinBackground;
    if (GetSafeHwnd() != nullptr) {
        SetWindowTextW(GetSafeHwnd(), L"");
        Repaint();
    }
}

void CASkinButton::LoadImagesFromResources(CASkinButton& button, int normalId, int pressedId,
                                           int disabledId, int disabledCheckedId, int iconId) {
    const PicturePtr normal = LoadPngPicture(normalId);
    const PicturePtr pressed = LoadPngPicture(pressedId);
    const PicturePtr disabled = LoadPngPicture(disabledId);
    const PicturePtr disabledChecked = LoadPngPicture(disabledCheckedId);
    const PicturePtr icon = LoadPngPicture(iconId);
    button.SetImages(normal.get(), pressed.get(), nullptr, disabled.get(), disabledChecked.get(),
                     icon.get());
}

void CASkinButton::OnSubclassed() {
    const auto style = static_cast<uint32_t>(GetWindowLongPtrW(GetSafeHwnd(), GWL_STYLE));
    m_kind = ButtonKindOfStyle(style);
    SetWindowLongPtrW(GetSafeHwnd(), GWL_STYLE,
                      static_cast<LONG_PTR>(OwnerDrawnButtonStyle(style)));
    Repaint();
}

LRESULT CASkinButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case BM_SETCHECK:
            SetCheck(wParam != BST_UNCHECKED);
            return 0;
        case BM_GETCHECK:
            return m_checked ? BST_CHECKED : BST_UNCHECKED;
        case WM_SKIN_UNCHECK:
            if (m_checked) {
                m_checked = false;
                SendMessageW(GetSafeHwnd(), BM_SETSTATE, FALSE, 0);
                Repaint();
            }
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(wParam, lParam);
            return 0;
        case WM_MOUSELEAVE:
            m_hover = false;
            Repaint();
            return DefaultHandling(message, wParam, lParam);
        case WM_LBUTTONDOWN:
            return OnLeftButtonDown(wParam, lParam);
        case WM_LBUTTONUP:
            return OnLeftButtonUp(wParam, lParam);
        case WM_LBUTTONDBLCLK:
            // The second press of a double click is a press like the first: two clicks.
            return SendMessageW(GetSafeHwnd(), WM_LBUTTONDOWN, wParam, lParam);
        case WM_KEYDOWN:
            // Held down, the space bar repeats; only its first press changes the state, as
            // only its release clicks.
            if (wParam == VK_SPACE && m_kind != ButtonKind::Push && (lParam & kKeyRepeatBit) == 0) {
                ToggleByUser();
            }
            return DefaultHandling(message, wParam, lParam);
        case WM_KILLFOCUS:
            if (GetCapture() == GetSafeHwnd()) {
                ReleaseCapture();
                m_pressed = false;
            }
            return DefaultHandling(message, wParam, lParam);
        case WM_SETCURSOR:
            if (IsButtonClass(reinterpret_cast<HWND>(wParam))) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            return DefaultHandling(message, wParam, lParam);
        case WM_ERASEBKGND:
            return TRUE;  // the drawing covers the whole button
        default:
            return DefaultHandling(message, wParam, lParam);
    }
}

void CASkinButton::SetCheck(bool checked) {
    m_checked = checked && m_kind != ButtonKind::Push;
    if (m_checked && m_kind == ButtonKind::Radio) {
        UncheckGroup();
    }
    Repaint();
}

void CASkinButton::UncheckGroup() {
    const HWND self = GetSafeHwnd();
    const HWND parent = GetParent(self);
    const HWND first = GetNextDlgGroupItem(parent, self, FALSE);
    for (HWND member = first; member != nullptr && member != self;) {
        SendMessageW(member, WM_SKIN_UNCHECK, 0, 0);
        member = GetNextDlgGroupItem(parent, member, FALSE);
        if (member == first) {
            break;
        }
    }
}

void CASkinButton::ToggleByUser() {
    const WPARAM state = m_kind == ButtonKind::Check && m_checked ? BST_UNCHECKED : BST_CHECKED;
    SendMessageW(GetSafeHwnd(), BM_SETCHECK, state, 0);
}

bool CASkinButton::ShowsPushedLook() const {
    return (SendMessageW(GetSafeHwnd(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
}

bool CASkinButton::PointerOverThis(POINT screenPoint) const {
    return WindowFromPoint(screenPoint) == GetSafeHwnd();
}

void CASkinButton::Repaint() const {
    if (GetSafeHwnd() != nullptr) {
        InvalidateRect(GetSafeHwnd(), nullptr, FALSE);
    }
}

void CASkinButton::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    DefaultHandling(WM_MOUSEMOVE, wParam, lParam);
    if (m_pressed && GetCapture() == GetSafeHwnd()) {
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(GetSafeHwnd(), &point);
        const bool over = PointerOverThis(point);
        if (over != ShowsPushedLook()) {
            SendMessageW(GetSafeHwnd(), BM_SETSTATE, over ? TRUE : FALSE, 0);
            Repaint();
        }
        return;
    }
    if (!m_hover) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, GetSafeHwnd(), 0};
        if (TrackMouseEvent(&track)) {
            m_hover = true;
            Repaint();
        }
    }
}

LRESULT CASkinButton::OnLeftButtonDown(WPARAM wParam, LPARAM lParam) {
    if (m_hover) {
        TRACKMOUSEEVENT track{sizeof(track), TME_CANCEL | TME_LEAVE, GetSafeHwnd(), 0};
        if (TrackMouseEvent(&track)) {
            m_hover = false;
        }
    }
    const LRESULT result = DefaultHandling(WM_LBUTTONDOWN, wParam, lParam);
    m_pressed = true;
    return result;
}

LRESULT CASkinButton::OnLeftButtonUp(WPARAM wParam, LPARAM lParam) {
    // The check changes exactly when the release clicks: over the button while it shows the
    // pushed look.
    RECT client;
    GetClientRect(GetSafeHwnd(), &client);
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (m_pressed && m_kind != ButtonKind::Push && PtInRect(&client, point) && ShowsPushedLook()) {
        ToggleByUser();
    }
    m_pressed = false;
    return DefaultHandling(WM_LBUTTONUP, wParam, lParam);
}

void CASkinButton::Draw(const DRAWITEMSTRUCT& item) {
    if (m_pressed && GetCapture() == GetSafeHwnd()) {
        // While held, the pushed look follows the pointer; the state change draws again.
        POINT cursor;
        if (GetCursorPos(&cursor)) {
            const bool over = PointerOverThis(cursor);
            const bool pushed = ShowsPushedLook();
            if (over != pushed) {
                SendMessageW(GetSafeHwnd(), BM_SETSTATE, over ? TRUE : FALSE, 0);
                return;
            }
        }
    }
    const int width = item.rcItem.right - item.rcItem.left;
    const int height = item.rcItem.bottom - item.rcItem.top;
    OffscreenCanvas canvas(item.hDC, width, height);
    if (!canvas) {
        return;
    }
    const RECT local{0, 0, width, height};
    DrawFrame(canvas.dc(), local);

    bool available[kPictureCount];
    for (int index = 0; index < kPictureCount; ++index) {
        available[index] = m_pictures[index] != nullptr;
    }
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const bool selected = (item.itemState & ODS_SELECTED) != 0 || m_checked;
    const ButtonPicture picture = ChooseButtonPicture(disabled, selected, m_hover, available);
    if (picture != kPictureNone) {
        Gdiplus::Graphics graphics(canvas.dc());
        DrawPictureStretched(graphics, m_pictures[picture].get(), local);
    }
    canvas.CopyTo(item.hDC, item.rcItem.left, item.rcItem.top);
}

void CASkinButton::DrawFrame(HDC dc, const RECT& rect) const {
    RECT edge = rect;
    DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
    // A darker line over the edge's outer line: light at the top and left, black at the
    // bottom and right.
    FillSolid(dc, RECT{rect.left, rect.top, rect.right, rect.top + 1}, kFrameLight);
    FillSolid(dc, RECT{rect.left, rect.top, rect.left + 1, rect.bottom}, kFrameLight);
    FillSolid(dc, RECT{rect.left, rect.bottom - 1, rect.right, rect.bottom}, kFrameDark);
    FillSolid(dc, RECT{rect.right - 1, rect.top, rect.right, rect.bottom}, kFrameDark);
    FillSolid(dc, RECT{rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 2}, m_background);
}
