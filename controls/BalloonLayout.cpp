#include "controls/BalloonLayout.h"

#include <algorithm>

namespace zuvo::controls {

namespace {

constexpr int kFirstTop = 32;
constexpr int kIconLeft = 14;
constexpr int kIconSize = 30;
constexpr int kTextLeft = 54;
constexpr int kTextPadding = 2;
constexpr int kMessageGap = 8;
constexpr int kRightMargin = 40;
constexpr int kBottomMargin = 6;
constexpr int kCloseSize = 20;
constexpr int kCloseRightMargin = 10;

}  // namespace

BalloonGeometry LayOutBalloon(const std::vector<MessageExtent>& extents) {
    BalloonGeometry geometry{{}, 0, 0, ZRect{0, 0, 0, 0}};
    geometry.messages.reserve(extents.size());
    int y = kFirstTop;
    int right = 0;
    for (const MessageExtent& extent : extents) {
        MessageBoxes boxes;
        boxes.icon = ZRect{kIconLeft, y, kIconLeft + kIconSize, y + kIconSize};
        boxes.title = ZRect{kTextLeft, y, kTextLeft + kTextPadding + extent.titleWidth,
                            y + extent.titleHeight + kTextPadding};
        const int textTop = boxes.title.bottom + kTextPadding;
        boxes.text = ZRect{kTextLeft, textTop, kTextLeft + kTextPadding + extent.textWidth,
                           textTop + extent.textHeight + kTextPadding};
        right = std::max({right, boxes.title.right, boxes.text.right});
        y = std::max({boxes.icon.bottom, boxes.title.bottom, boxes.text.bottom}) + kMessageGap;
        geometry.messages.push_back(boxes);
    }
    geometry.width = (right + kRightMargin + 3) / 4 * 4;
    geometry.height = y + kBottomMargin;
    const int closeRight = geometry.width - kCloseRightMargin;
    geometry.close = ZRect{closeRight - kCloseSize, kFirstTop, closeRight, kFirstTop + kCloseSize};
    return geometry;
}

}  // namespace zuvo::controls
