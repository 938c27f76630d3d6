#include "sectorview/DiscImage.h"

#include <algorithm>
#include <cmath>

#include "sectorview/Argb.h"

namespace zuvo::sector {

void DiscImage::FindRowSpans() {
    rows.assign(static_cast<size_t>(edge), RowSpan{edge, -1});
    for (int row = 0; row < edge; ++row) {
        for (int column = 0; column < edge; ++column) {
            if (AlphaOf(At(column, row)) != 0) {
                RowSpan& span = rows[static_cast<size_t>(row)];
                span.first = std::min(span.first, column);
                span.last = column;
            }
        }
    }
    solid = true;
    for (int row = 0; row < edge && solid; ++row) {
        const RowSpan& span = rows[static_cast<size_t>(row)];
        for (int column = span.first; column <= span.last && solid; ++column) {
            solid = At(column, row) == colour;
        }
    }
}

DiscImage MakeDisc(int radius, uint32_t colour) {
    DiscImage image;
    image.edge = 2 * std::max(radius, 0) + 1;
    image.pixels.assign(static_cast<size_t>(image.edge) * static_cast<size_t>(image.edge), 0);
    const int half = image.Half();
    const uint32_t opaque = WithAlpha(colour, 0xFF);
    image.colour = opaque;
    for (int row = 0; row < image.edge; ++row) {
        for (int column = 0; column < image.edge; ++column) {
            const double dx = half - column;
            const double dy = half - row;
            if (std::sqrt(dx * dx + dy * dy) < half + 0.2) {
                image.pixels[static_cast<size_t>(row) * static_cast<size_t>(image.edge) +
                             static_cast<size_t>(column)] = opaque;
            }
        }
    }
    image.FindRowSpans();
    return image;
}

}  // namespace zuvo::sector
