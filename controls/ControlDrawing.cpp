#include "controls/ControlDrawing.h"

#include <cwchar>

#include "controls/DrawingUnits.h"
#include "imaging/GdiplusHelpers.h"

namespace zuvo::controls {

namespace {

// Gdiplus_DrawBitmap stretches for any mode that is not one of its named ones.
constexpr int kDrawStretched = -1;
constexpr const wchar_t* kControlFontFace = L"\x9ED1\x4F53";  // 黑体 (SimHei)

}  // namespace

void PictureDelete::operator()(Gdiplus::Bitmap* picture) const noexcept {
    Gdiplus_DeleteBitmap(picture);
}

PicturePtr CopyPicture(Gdiplus::Bitmap* picture) {
    return PicturePtr(picture != nullptr ? Gdiplus_CopyBitmap(picture) : nullptr);
}

PicturePtr LoadPngPicture(int resourceId) {
    if (resourceId <= 0) {
        return nullptr;
    }
    PicturePtr picture(Gdiplus_LoadBitmapFromResourceW(nullptr, L"PNG", resourceId));
    if (!picture || Gdiplus_BitmapOK(picture.get()) == 0) {
        return nullptr;
    }
    return picture;
}

void DrawPictureStretched(Gdiplus::Graphics& graphics, Gdiplus::Bitmap* picture, const RECT& rect) {
    Gdiplus_DrawBitmap(&graphics, &rect, picture, nullptr, kDrawStretched);
}

int ScreenDotsPerInchY() {
    WindowDc screen(nullptr);
    return screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
}

UniqueFont CreateControlFont(int points, int weight) {
    LOGFONTW font{};
    font.lfHeight = FontHeightForPoints(points, ScreenDotsPerInchY());
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    wcsncpy_s(font.lfFaceName, kControlFontFace, LF_FACESIZE - 1);
    return UniqueFont(CreateFontIndirectW(&font));
}

OffscreenCanvas::OffscreenCanvas(HDC target, int width, int height)
    : m_width(width),
      m_height(height),
      m_dc(CreateCompatibleDC(target)),
      m_bitmap(width > 0 && height > 0 ? CreateCompatibleBitmap(target, width, height) : nullptr) {
    if (m_dc && m_bitmap) {
        m_selected = SelectObject(m_dc.get(), m_bitmap.get());
    }
}

OffscreenCanvas::~OffscreenCanvas() {
    if (m_selected != nullptr) {
        SelectObject(m_dc.get(), m_selected);
    }
}

void OffscreenCanvas::CopyTo(HDC target, int x, int y) const {
    if (m_selected != nullptr) {
        BitBlt(target, x, y, m_width, m_height, m_dc.get(), 0, 0, SRCCOPY);
    }
}

}  // namespace zuvo::controls
