#include "controls/OwnerDrawnControl.h"

namespace zuvo::controls {

bool OwnerDrawnControl::OnReflectedMessage(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
    if (message != WM_DRAWITEM) {
        return false;
    }
    Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    *result = TRUE;
    return true;
}

}  // namespace zuvo::controls
