// Arithmetic of the coloured label: its owner-drawn style and the vertical placement of
// its lines. Portable.
#pragma once

#include <cstdint>
#include <vector>

namespace zuvo::controls {

// The static control's style made owner-drawn: the two lowest bits cleared, SS_OWNERDRAW
// (0xD) added.
inline uint32_t OwnerDrawnLabelStyle(uint32_t style) {
    return (style & ~uint32_t{3}) | 0xD;
}

// Line alignment of the label's string format.
enum LineAlignment { kAlignNear = 0, kAlignCentre = 1, kAlignFar = 2 };

// The top of each line, in order. heights are the measured line heights; spacing above 0 is
// the gap between lines, 0 spreads the lines so that the gaps above, between and below them
// are equal (negative when the lines are taller than the label, so they overlap). The first
// line starts at the top (near), one gap below it (centre) or so that the last ends at the
// bottom (far).
std::vector<float> LineTops(float itemTop, float itemHeight, const std::vector<float>& heights,
                            int spacing, LineAlignment alignment);

}  // namespace zuvo::controls
