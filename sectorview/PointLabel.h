// The number drawn on a monitoring point's disc.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <gdiplus.h>

#include <cstdint>
#include <memory>

#include "sectorview/DiscImage.h"

namespace zuvo::sector {

// The label font: "黑体" (the generic sans-serif family when that one is missing, else the
// face GDI draws the default GUI font with), bold, 8 x radiusScale points. Null when GDI+
// cannot make it (not started, no family at all, or a size of 0 or less).
std::unique_ptr<Gdiplus::Font> CreateLabelFont(double radiusScale);

// Draws text centred into the image in colour (ARGB) with anti-aliased text rendering, then
// gives every pixel that has colour but no alpha full alpha.
void DrawPointLabel(DiscImage& image, const wchar_t* text, Gdiplus::Font* font, uint32_t colour);

}  // namespace zuvo::sector
