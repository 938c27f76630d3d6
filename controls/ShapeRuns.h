// The shape of a picture drawn over a key colour: the runs of pixels in each row that are
// not key-coloured, as rectangles one pixel high (what a window region is built from).
// Portable.
#pragma once

#include <cstdint>
#include <vector>

#include "ZUVO_CommonCore.h"

namespace zuvo::controls {

// A pixel of a 32-bit DIB (blue in the low byte, red in the third) is key-coloured when its
// red is 255 and its green and blue are at most 16.
inline bool IsKeyColoured(uint32_t pixel) {
    const uint32_t red = (pixel >> 16) & 0xFF;
    const uint32_t green = (pixel >> 8) & 0xFF;
    const uint32_t blue = pixel & 0xFF;
    return red == 255 && green <= 16 && blue <= 16;
}

// The runs of rows from the top; pixels holds height rows of stride pixels each, of which the
// first width count.
std::vector<ZRect> ShapeRuns(const uint32_t* pixels, int width, int height, int stride);

}  // namespace zuvo::controls
