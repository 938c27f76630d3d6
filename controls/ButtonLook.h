// Decisions of the skinned button that need no window: what kind of button a style makes,
// the owner-drawn style, and which picture a state shows. Portable.
#pragma once

#include <cstdint>

namespace zuvo::controls {

enum class ButtonKind { Push, Check, Radio };

// An automatic check box (style & 3 == 3) toggles, an automatic radio button (style & 9 ==
// 9) sets itself; everything else is a push button.
ButtonKind ButtonKindOfStyle(uint32_t style);

// The button's style made owner-drawn (BS_OWNERDRAW, 0xB).
inline uint32_t OwnerDrawnButtonStyle(uint32_t style) {
    return style | 0xB;
}

// The pictures a skinned button holds, as indices.
enum ButtonPicture {
    kPictureNormal = 0,
    kPicturePressed,
    kPictureHover,
    kPictureDisabled,
    kPictureDisabledChecked,
    kPictureIcon,
    kPictureCount,
    kPictureNone = -1,
};

// The picture to draw for a state, given which pictures exist: the state's own (disabled
// and selected or checked, disabled, selected or checked, hover, normal), else the normal
// picture, else the icon; kPictureNone when none of them exists.
ButtonPicture ChooseButtonPicture(bool disabled, bool selectedOrChecked, bool hover,
                                  const bool (&available)[kPictureCount]);

}  // namespace zuvo::controls
