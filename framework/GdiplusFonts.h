// GDI+ fonts for text that must show whatever fonts the machine has. GDI always finds some
// font for a face name; GDI+ does not: a family that is not installed (an English Windows
// without the Chinese supplemental fonts has no "黑体"), and on Wine even the generic
// sans-serif family, fail. So every GDI+ font of the program is made here, with the
// fallbacks in one order, and the callers draw no text when even the last one fails.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <memory>

namespace zuvo {

// The GDI+ family to draw text of the face with. In order: the family of that name; the
// generic sans-serif family; the family GDI really draws the GDI font fallback with (null:
// the default GUI font), which is what the dialog's own text looks like. Null when GDI+
// knows none of them (or is not started).
std::unique_ptr<Gdiplus::FontFamily> FindFontFamily(const wchar_t* face, HFONT fallback) noexcept;

// A GDI+ font of that family (FindFontFamily) of the size in unit and the style. Null when
// there is no family or GDI+ refuses the font (a size of 0 or less, for example).
std::unique_ptr<Gdiplus::Font> MakeFont(const wchar_t* face, Gdiplus::REAL size, INT style,
                                        Gdiplus::Unit unit, HFONT fallback) noexcept;

}  // namespace zuvo
