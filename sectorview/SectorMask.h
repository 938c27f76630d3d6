// The sector mask: 1 where a pixel lies in the fan and in the visible gate band.
#pragma once

#include <cstdint>

#include "sectorview/SectorGeometry.h"
#include "sectorview/ViewSettings.h"

namespace zuvo::sector {

// Writes all width x height bytes of mask (row-major): 1 for pixels of the sector rectangle
// that lie in the angle window, within the fan radius and in the gate band, else 0.
void BuildSectorMask(const SectorGeometry& geometry, const SectorViewSettings& settings,
                     uint8_t* mask);

}  // namespace zuvo::sector
