// Square images of a filled disc: track markers and monitoring points.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zuvo::sector {

// edge x edge ARGB pixels, row by row (index row x edge + column).
struct DiscImage {
    // The columns first ... last of a row hold all its pixels that are not transparent.
    struct RowSpan {
        int first;
        int last;
    };

    int edge = 0;
    uint32_t colour = 0;  // the disc's colour, alpha 0xFF
    std::vector<uint32_t> pixels;
    std::vector<RowSpan> rows;  // what drawing visits; see FindRowSpans
    // Every pixel within the spans is colour (a plain disc, no label).
    bool solid = false;

    // Finds each row's span (and whether the spans are solid) after the pixels changed.
    void FindRowSpans();

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
