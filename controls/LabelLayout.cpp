#include "controls/LabelLayout.h"

namespace zuvo::controls {

std::vector<float> LineTops(float itemTop, float itemHeight, const std::vector<float>& heights,
                            int spacing, LineAlignment alignment) {
    std::vector<float> tops;
    if (heights.empty()) {
        return tops;
    }
    float total = 0.0f;
    for (float height : heights) {
        total += height;
    }
    const auto count = static_cast<float>(heights.size());
    const float gap =
        spacing > 0 ? static_cast<float>(spacing) : (itemHeight - total) / (count + 1.0f);
    float y = itemTop;
    if (alignment == kAlignCentre) {
        y = itemTop + gap;
    } else if (alignment == kAlignFar) {
        y = itemTop + itemHeight - total - (count - 1.0f) * gap;
    }
    tops.reserve(heights.size());
    for (float height : heights) {
        tops.push_back(y);
        y += height + gap;
    }
    return tops;
}

}  // namespace zuvo::controls
