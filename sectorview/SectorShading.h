// The translucent shading of the fan over the rendered background.
#pragma once

#include <cstdint>

#include "sectorview/SectorGeometry.h"
#include "sectorview/ViewSettings.h"

namespace zuvo::sector {

// Shades every pixel of the fan (the sector rectangle's pixels within the angle window and the
// fan radius) in pixels, a width x height top-down ARGB buffer holding the picture and grid.
// The shade is the gate colour (inside or outside the gate band), weighted toward the sensor
// and toward the edges of the angle window; the pixel's new alpha (128 ... 255) is what the
// overlays later blend over.
void ShadeSector(const SectorGeometry& geometry, const SectorViewSettings& settings,
                 uint32_t* pixels);

// The angular weight term of the shade: |theta + 90| x 255 / half width of the window,
// truncated. A window of zero width (start equal to stop) has no angular weight. Values at or
// above kAngularSaturation are answered as kAngularSaturation: with opaque gate colours the
// weight is then full either way.
constexpr int kAngularSaturation = 511;
int AngularWeight(double theta, double halfWidth);

// numerator / divisor rounded toward zero, for |numerator| <= 255 * 255 and divisor
// 128 ... 255 (the shade's blend), by one multiplication instead of a division.
int DivideShade(int numerator, int divisor);

}  // namespace zuvo::sector
