#include "controls/ButtonLook.h"

#include <initializer_list>

namespace zuvo::controls {

ButtonKind ButtonKindOfStyle(uint32_t style) {
    if ((style & 3) == 3) {
        return ButtonKind::Check;
    }
    if ((style & 9) == 9) {
        return ButtonKind::Radio;
    }
    return ButtonKind::Push;
}

ButtonPicture ChooseButtonPicture(bool disabled, bool selectedOrChecked, bool hover,
                                  const bool (&available)[kPictureCount]) {
    ButtonPicture wanted = kPictureNormal;
    if (disabled) {
        wanted = selectedOrChecked ? kPictureDisabledChecked : kPictureDisabled;
    } else if (selectedOrChecked) {
        wanted = kPicturePressed;
    } else if (hover) {
        wanted = kPictureHover;
    }
    for (ButtonPicture candidate : {wanted, kPictureNormal, kPictureIcon}) {
        if (available[candidate]) {
            return candidate;
        }
    }
    return kPictureNone;
}

}  // namespace zuvo::controls
