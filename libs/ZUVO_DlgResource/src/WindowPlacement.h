// Where a dialog goes: centred on the window it belongs to, yet wholly on the screen.
#pragma once

#include "ZUVO_CommonCore.h"

namespace zuvo::dlg {

// The rectangle of a width x height window centred on anchor and then moved the least distance
// that brings it inside workArea. A window larger than the work area keeps its top-left corner
// at the work area's, so its caption and first controls stay reachable.
ZRect CentreOn(int width, int height, const ZRect& anchor, const ZRect& workArea);

}  // namespace zuvo::dlg
