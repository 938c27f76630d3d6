#include "settings/ResizeArithmetic.h"

#include <algorithm>

namespace zuvo::settings {

bool ComputeResizeFactors(int recordedWidth, int recordedHeight, int newWidth, int newHeight,
                          ResizeFactors* factors) {
    *factors = ResizeFactors{};
    if (recordedWidth <= 0 || recordedHeight <= 0) {
        return false;
    }
    factors->horizontal = static_cast<double>(newWidth) / recordedWidth;
    factors->vertical = static_cast<double>(newHeight) / recordedHeight;
    factors->smaller = std::min(factors->horizontal, factors->vertical);
    return true;
}

ScaledRect ScaleRect(int left, int top, int right, int bottom, const ResizeFactors& factors) {
    ScaledRect scaled;
    scaled.x = static_cast<int>(left * factors.horizontal);
    scaled.y = static_cast<int>(top * factors.vertical);
    scaled.width = static_cast<int>(right * factors.horizontal) - scaled.x;
    scaled.height = static_cast<int>(bottom * factors.vertical) - scaled.y;
    return scaled;
}

int ScaleFontDimension(int value, const ResizeFactors& factors) {
    return static_cast<int>(value * factors.smaller);
}

}  // namespace zuvo::settings
