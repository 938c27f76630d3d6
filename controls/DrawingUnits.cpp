#include "controls/DrawingUnits.h"

#include <cstdint>
#include <cstdlib>

namespace zuvo::controls {

int FontHeightForPoints(int points, int dotsPerInch) {
    const int64_t product = int64_t{points} * dotsPerInch;
    const int64_t magnitude = (std::llabs(product) + 36) / 72;
    const int64_t rounded = product < 0 ? -magnitude : magnitude;
    return static_cast<int>(-rounded);
}

int PointsForFontHeight(int height, int dotsPerInch) {
    if (dotsPerInch <= 0) {
        return 0;
    }
    return static_cast<int>(std::llabs(int64_t{height}) * 72 / dotsPerInch);
}

}  // namespace zuvo::controls
