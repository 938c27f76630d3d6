#include "WindowPlacement.h"

#include <algorithm>
#include <cstdint>

namespace zuvo::dlg {

namespace {

// Start of a span of the given length centred on [low, high), kept inside [minimum, maximum).
int32_t CentreSpan(int32_t length, int32_t low, int32_t high, int32_t minimum, int32_t maximum) {
    // 64-bit sums: coordinates near the int32 limits must not overflow.
    int64_t start = (static_cast<int64_t>(low) + high - length) / 2;
    start = std::min<int64_t>(start, static_cast<int64_t>(maximum) - length);
    start = std::max<int64_t>(start, minimum);
    return static_cast<int32_t>(start);
}

}  // namespace

ZRect CentreOn(int width, int height, const ZRect& anchor, const ZRect& workArea) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    int32_t left = CentreSpan(width, anchor.left, anchor.right, workArea.left, workArea.right);
    int32_t top = CentreSpan(height, anchor.top, anchor.bottom, workArea.top, workArea.bottom);
    return ZRect{left, top, left + width, top + height};
}

}  // namespace zuvo::dlg
