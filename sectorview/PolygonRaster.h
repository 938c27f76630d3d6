// Scan-line filling of a polygon into a bit mask, with the point-in-polygon rule of the
// utility library: a pixel counts when it lies inside (even-odd rule) or on the outline.
#pragma once

#include <cstdint>

namespace zuvo::sector {

// Sets bit in mask (width x height entries, row-major) at every pixel (x, y) for which
// IsPointInPolygonSides(y, x, pairs, count) answers 0 or more. pairs holds count (row, column)
// vertices; any int32 values are handled exactly. Work is proportional to the polygon's rows
// within the mask, its edges and the pixels set, not to the whole mask.
void RasterizePolygon(const int32_t* pairs, int count, int width, int height, uint32_t bit,
                      uint32_t* mask);

}  // namespace zuvo::sector
