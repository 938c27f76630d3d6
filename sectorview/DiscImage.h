// Square images of a filled disc: track markers and monitoring points.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zuvo::sector {

// edge x edge ARGB pixels, row by row (index row x edge + column).
struct DiscImage {
    int edge = 0;
    uint32_t colour = 0;  // the disc's colour, alpha 0xFF
    std::vector<uint32_t> pixels;

    int Half() const { return edge / 2; }
    uint32_t At(int column, int row) const {
        return pixels[static_cast<size_t>(row) * static_cast<size_t>(edge) +
                      static_cast<size_t>(column)];
    }
};

// A disc of the given radius (edge 2 x radius + 1): the pixels whose centre lies closer than
// radius + 0.2 to the middle one take colour with alpha 0xFF, the others are 0.
DiscImage MakeDisc(int radius, uint32_t colour);

}  // namespace zuvo::sector
