#include "controls/ColorStatic.h"

#include <string>
#include <utility>
#include <vector>

#include "ZUVO_Common.h"
#include "controls/DrawingUnits.h"
#include "controls/LabelLayout.h"
#include "framework/FamilyOwners.h"
#include "framework/GdiplusFonts.h"

using namespace zuvo::controls;

namespace {

constexpr COLORREF kSkinBackground = RGB(42, 50, 60);
constexpr COLORREF kWhite = RGB(255, 255, 255);

Gdiplus::Color OpaqueColour(COLORREF colour) {
    return Gdiplus::Color(OpaqueArgb(colour));
}

Gdiplus::StringAlignment AlignmentOf(int alignment) {
    switch (alignment) {
        case 1:
            return Gdiplus::StringAlignmentCenter;
        case 2:
            return Gdiplus::StringAlignmentFar;
        default:
            return Gdiplus::StringAlignmentNear;
    }
}

LineAlignment LineAlignmentOf(Gdiplus::StringAlignment alignment) {
    switch (alignment) {
        case Gdiplus::StringAlignmentCenter:
            return kAlignCentre;
        case Gdiplus::StringAlignmentFar:
            return kAlignFar;
        default:
            return kAlignNear;
    }
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The lines of a text split at every "\n". The carriage return of a "\r\n" line end is
// dropped: GDI+ would draw it as a box.
std::vector<std::wstring> TextLines(const wchar_t* text) {
    std::vector<std::wstring> lines;
    wchar_t** rawPieces = nullptr;
    const int count = DevideStringByCharListW(text, -1, L"\n", 1, 0, &rawPieces, -1);
    const zuvo::UniquePiecesW pieces(rawPieces);
    if (!pieces) {
        return lines;
    }
    for (int index = 0; index < count; ++index) {
        std::wstring line(pieces.get()[index]);
        if (!line.empty() && line.back() == L'\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace

CColorStatic::CColorStatic()
    : m_background(std::make_unique<Gdiplus::SolidBrush>(OpaqueColour(GetSysColor(COLOR_BTNFACE)))),
      m_textColour(GetSysColor(COLOR_BTNTEXT)),
      m_format(std::make_unique<Gdiplus::StringFormat>()) {
    m_format->SetAlignment(Gdiplus::StringAlignmentCenter);
    m_format->SetLineAlignment(Gdiplus::StringAlignmentCenter);
}

CColorStatic::~CColorStatic() {
    Destroy();
}

void CColorStatic::SetLabelStyle(Gdiplus::Bitmap* picture, int points, int lineSpacing,
                                 int alignment) {
    m_font = CreateControlFont(points, 0);
    if (GetSafeHwnd() != nullptr) {
        SendMessageW(GetSafeHwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), TRUE);
    }
    auto format = std::make_unique<Gdiplus::StringFormat>(0);
    format->SetAlignment(AlignmentOf(alignment));
    format->SetLineAlignment(Gdiplus::StringAlignmentCenter);
    m_format = std::move(format);
    m_lineSpacing = lineSpacing;
    m_textColour = kWhite;
    m_picture = CopyPicture(picture);
    SetBackColor(kSkinBackground);
    if (GetSafeHwnd() != nullptr) {
        SetWindowTextW(GetSafeHwnd(), L"");
        InvalidateRect(GetSafeHwnd(), nullptr, TRUE);
    }
}

void CColorStatic::SetLabelPicture(CColorStatic& label, int resourceId, int points, int lineSpacing,
                                   int alignment) {
    const PicturePtr picture = LoadPngPicture(resourceId);
    label.SetLabelStyle(picture.get(), points, lineSpacing, alignment);
}

void CColorStatic::SetPicture(Gdiplus::Bitmap* picture) {
    m_picture = CopyPicture(picture);
    if (GetSafeHwnd() != nullptr) {
        InvalidateRect(GetSafeHwnd(), nullptr, TRUE);
    }
}

void CColorStatic::SetBackColor(COLORREF colour) {
    m_background = std::make_unique<Gdiplus::SolidBrush>(OpaqueColour(colour));
}

void CColorStatic::OnSubclassed() {
    const auto style = static_cast<uint32_t>(GetWindowLongPtrW(GetSafeHwnd(), GWL_STYLE));
    SetWindowLongPtrW(GetSafeHwnd(), GWL_STYLE, static_cast<LONG_PTR>(OwnerDrawnLabelStyle(style)));
    if (m_font) {
        SendMessageW(GetSafeHwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), FALSE);
    }
    InvalidateRect(GetSafeHwnd(), nullptr, TRUE);
}

LRESULT CColorStatic::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return TRUE;  // the drawing covers the whole label
        case WM_SETTEXT: {
            const LRESULT result = DefaultHandling(message, wParam, lParam);
            InvalidateRect(GetSafeHwnd(), nullptr, FALSE);
            return result;
        }
        default:
            return DefaultHandling(message, wParam, lParam);
    }
}

HFONT CColorStatic::CurrentFont() const {
    if (m_font) {
        return m_font.get();
    }
    for (HWND parent = GetParent(GetSafeHwnd()); parent != nullptr; parent = GetParent(parent)) {
        if (auto font = reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0))) {
            return font;
        }
    }
    return nullptr;
}

std::unique_ptr<Gdiplus::Font> CColorStatic::MakeGdiplusFont(HDC dc) const {
    LOGFONTW logical{};
    const HFONT font = CurrentFont();
    if (font == nullptr || GetObjectW(font, sizeof(logical), &logical) == 0) {
        return nullptr;
    }
    const int points = PointsForFontHeight(logical.lfHeight, GetDeviceCaps(dc, LOGPIXELSY));
    const int style =
        logical.lfWeight >= FW_SEMIBOLD ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular;
    // Without the face (or any sans-serif family) the text takes the face GDI draws this very
    // font with, as the dialog's own text does.
    return zuvo::MakeFont(logical.lfFaceName, static_cast<Gdiplus::REAL>(points), style,
                          Gdiplus::UnitPoint, font);
}

void CColorStatic::Draw(const DRAWITEMSTRUCT& item) {
    const int width = item.rcItem.right - item.rcItem.left;
    const int height = item.rcItem.bottom - item.rcItem.top;
    OffscreenCanvas canvas(item.hDC, width, height);
    if (!canvas) {
        return;
    }
    {
        Gdiplus::Graphics graphics(canvas.dc());
        const RECT local{0, 0, width, height};
        if (m_picture) {
            DrawPictureStretched(graphics, m_picture.get(), local);
        } else {
            graphics.FillRectangle(m_background.get(), 0, 0, width, height);
        }
        const std::wstring text = WindowText(GetSafeHwnd());
        const std::unique_ptr<Gdiplus::Font> font = MakeGdiplusFont(canvas.dc());
        if (!text.empty() && font) {
            const Gdiplus::SolidBrush brush(OpaqueColour(m_textColour));
            const Gdiplus::RectF box(0.0f, 0.0f, static_cast<Gdiplus::REAL>(width),
                                     static_cast<Gdiplus::REAL>(height));
            graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
            if (m_lineSpacing < 0) {
                graphics.DrawString(text.c_str(), -1, font.get(), box, m_format.get(), &brush);
            } else {
                DrawLines(graphics, text.c_str(), *font, box, brush);
            }
        }
    }
    canvas.CopyTo(item.hDC, item.rcItem.left, item.rcItem.top);
}

void CColorStatic::DrawLines(Gdiplus::Graphics& graphics, const wchar_t* text,
                             const Gdiplus::Font& font, const Gdiplus::RectF& item,
                             const Gdiplus::Brush& brush) const {
    const std::vector<std::wstring> lines = TextLines(text);
    if (lines.empty()) {
        return;
    }
    std::vector<float> heights;
    for (const std::wstring& line : lines) {
        Gdiplus::RectF bounds;
        graphics.MeasureString(line.c_str(), -1, &font, item, m_format.get(), &bounds);
        heights.push_back(bounds.Height);
    }
    const std::vector<float> tops = LineTops(item.Y, item.Height, heights, m_lineSpacing,
                                             LineAlignmentOf(m_format->GetLineAlignment()));
    Gdiplus::StringFormat lineFormat(m_format.get());
    lineFormat.SetLineAlignment(Gdiplus::StringAlignmentNear);
    for (size_t index = 0; index < lines.size(); ++index) {
        if (!lines[index].empty()) {
            const Gdiplus::RectF box(item.X, tops[index], item.Width, heights[index]);
            graphics.DrawString(lines[index].c_str(), -1, &font, box, &lineFormat, &brush);
        }
    }
}
