// Conversions the skinned controls share: font sizes between points and logical heights,
// and colour references to opaque ARGB. Portable.
#pragma once

#include <cstdint>

namespace zuvo::controls {

// The logical height of a font of points at dotsPerInch, negative (character height):
// -(points x dotsPerInch / 72), rounded half away from zero as MulDiv does.
int FontHeightForPoints(int points, int dotsPerInch);

// The size in points of a font of a logical height: -height x 72 / dotsPerInch, integer
// division. A positive (cell) height counts by its size; 0 when dotsPerInch is not positive.
int PointsForFontHeight(int height, int dotsPerInch);

// A colour reference (0x00BBGGRR) as opaque ARGB (0xFFRRGGBB).
inline uint32_t OpaqueArgb(uint32_t colourRef) {
    const uint32_t red = colourRef & 0xFF;
    const uint32_t green = (colourRef >> 8) & 0xFF;
    const uint32_t blue = (colourRef >> 16) & 0xFF;
    return 0xFF000000u | (red << 16) | (green << 8) | blue;
}

}  // namespace zuvo::controls
