// Where the parts of a balloon tip go, from the measured sizes of its messages. Portable.
//
// Messages are stacked from y = 32 down (the tail and a margin above them): an icon box of
// 30 x 30 at x = 14, the title at x = 54 and the text under the title, 8 pixels between
// messages. The close button sits at the top right.
#pragma once

#include <vector>

#include "ZUVO_CommonCore.h"

namespace zuvo::controls {

struct MessageExtent {
    int titleWidth;
    int titleHeight;
    int textWidth;
    int textHeight;
};

struct MessageBoxes {
    ZRect icon;
    ZRect title;
    ZRect text;
};

struct BalloonGeometry {
    std::vector<MessageBoxes> messages;  // in the order of the extents
    int width;                           // a multiple of 4
    int height;
    ZRect close;
};

// Layout of the messages in list order; with none the balloon is 40 x 38.
BalloonGeometry LayOutBalloon(const std::vector<MessageExtent>& extents);

// The tail's tip, relative to the window's top-left corner.
constexpr int kBalloonTailTipX = 20;

}  // namespace zuvo::controls
