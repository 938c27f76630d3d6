// A window region from a picture drawn over the key colour (see ShapeRuns.h).
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "framework/Handles.h"

namespace zuvo::controls {

// The region of the bitmap's pixels that are not key-coloured, built from one-pixel-high
// rectangles in batches of 2000; empty (null) when the bitmap cannot be read.
UniqueRegion RegionFromKeyedBitmap(HBITMAP bitmap);

}  // namespace zuvo::controls
