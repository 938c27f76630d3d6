// Rendering the view's background: the picture or the plain fill, the grid and the shading.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <gdiplus.h>

#include <cstdint>

#include "sectorview/SectorGeometry.h"
#include "sectorview/ViewSettings.h"

namespace zuvo::sector {

// Renders into pixels (geometry.width x geometry.height, top-down ARGB): the picture stretched
// over the whole buffer (or the plain fill without one), the range rings, the radial lines and
// the straight edge, then the shading of the fan over all of it.
void RenderSectorBackground(uint32_t* pixels, const SectorGeometry& geometry,
                            const SectorViewSettings& settings, Gdiplus::Bitmap* picture);

}  // namespace zuvo::sector
