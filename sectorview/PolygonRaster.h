// Scan-line filling of a polygon: into a bit mask, with the point-in-polygon rule of the
// utility library (a pixel counts when it lies inside by the even-odd rule or on the outline),
// and as the spans a non-anti-aliased fill covers.
#pragma once

#include <cstdint>
#include <vector>

namespace zuvo::sector {

// Sets bit in mask (width x height entries, row-major) at every pixel (x, y) for which
// IsPointInPolygonSides(y, x, pairs, count) answers 0 or more. pairs holds count (row, column)
// vertices; any int32 values are handled exactly. Work is proportional to the polygon's rows
// within the mask, its edges and the pixels set, not to the whole mask.
void RasterizePolygon(const int32_t* pairs, int count, int width, int height, uint32_t bit,
                      uint32_t* mask);

// A run of pixels of one row: columns from ... to - 1.
struct FillSpan {
    int y;
    int from;
    int to;
};

// The pixels of a width x height view that a fill of the polygon (count (row, column) vertices,
// any int32 values, exactly) covers, row by row from the top, each row's spans from the left.
// A pixel is covered when its point (column, row) lies inside by the even-odd rule; a point on
// an edge counts when the inside lies right of it, or below it on a horizontal edge. So the
// left and top edges of a rectangle are covered and its right and bottom ones are not, and
// polygons that share an edge cover each pixel of it once.
void CoveredSpans(const int32_t* pairs, int count, int width, int height,
                  std::vector<FillSpan>& spans);

}  // namespace zuvo::sector
