// CColorStatic: an owner-drawn label. It shows a picture stretched over its whole area or a
// solid background colour, and over it its window text: one aligned block, or lines spread
// evenly over its height (or a fixed number of pixels apart). Drawn off-screen and copied to
// the screen in one step.
//
// It takes over a dialog's static control (SubclassDlgItem) and draws itself when its parent
// reflects WM_DRAWITEM to it.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <memory>

#include "controls/ControlDrawing.h"
#include "framework/Handles.h"
#include "controls/OwnerDrawnControl.h"

class CColorStatic : public zuvo::controls::OwnerDrawnControl {
public:
    CColorStatic();
    ~CColorStatic() override;

    // The label's look: its own font "黑体" of points, lineSpacing (below 0: one block; 0:
    // lines spread evenly; above 0: that many pixels between lines), horizontal alignment
    // (0 near, 1 centre, 2 far), white text on RGB (42, 50, 60) or a copy of the picture.
    // The window text becomes empty.
    void SetLabelStyle(Gdiplus::Bitmap* picture, int points, int lineSpacing, int alignment);
    // SetLabelStyle with the program's PNG resource of the id (0 or below, missing or not
    // decodable: no picture).
    static void SetLabelPicture(CColorStatic& label, int resourceId, int points, int lineSpacing,
                                int alignment);
    // Replaces only the picture (a copy; null: none) and repaints.
    void SetPicture(Gdiplus::Bitmap* picture);
    // The fill used without a picture; the caller repaints.
    void SetBackColor(COLORREF colour);

    int LineSpacing() const { return m_lineSpacing; }

protected:
    void OnSubclassed() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Draw(const DRAWITEMSTRUCT& item) override;

private:
    HFONT CurrentFont() const;
    std::unique_ptr<Gdiplus::Font> MakeGdiplusFont(HDC dc) const;
    void DrawLines(Gdiplus::Graphics& graphics, const wchar_t* text, const Gdiplus::Font& font,
                   const Gdiplus::RectF& item, const Gdiplus::Brush& brush) const;

    zuvo::controls::PicturePtr m_picture;
    std::unique_ptr<Gdiplus::SolidBrush> m_background;
    COLORREF m_textColour;
    std::unique_ptr<Gdiplus::StringFormat> m_format;
    zuvo::UniqueFont m_font;
    int m_lineSpacing = -1;
};
