#include "sectorview/PixelAreaPainter.h"

#include <array>

#include "sectorview/Argb.h"

namespace zuvo::sector {

namespace {

// The destination's term of BrushChannel for every channel value.
struct DestinationTerms {
    std::array<uint8_t, 256> terms{};
    DestinationTerms() {
        for (uint32_t d = 0; d < 256; ++d) {
            terms[d] = static_cast<uint8_t>(BrushChannel(d, 0));
        }
    }
};

}  // namespace

void PixelAreaPainter::PaintAreas(const AreaTable& table, uint32_t activeSlots) {
    if (m_pixels == nullptr || m_width <= 0 || m_height <= 0) {
        return;
    }
    static const DestinationTerms destination;
    const std::array<uint8_t, 256>& d = destination.terms;
    const size_t width = static_cast<size_t>(m_width);
    for (int slot = 0; slot < kAreaSlots; ++slot) {
        const SectorArea& area = table.Slot(slot);
        if (!area.present) {
            continue;
        }
        const uint32_t colour =
            ((activeSlots >> slot) & 1) != 0 ? area.activeColour : area.inactiveColour;
        // The brush's terms, the same for every pixel, in their channels' places.
        const uint32_t brush = (BrushChannel(0, RedOf(colour)) << 16) |
                               (BrushChannel(0, GreenOf(colour)) << 8) |
                               BrushChannel(0, BlueOf(colour));
        CoveredSpans(area.polygon.data(), static_cast<int>(area.polygon.size() / 2), m_width,
                     m_height, m_spans);
        for (const FillSpan& span : m_spans) {
            uint32_t* row = m_pixels + static_cast<size_t>(span.y) * width;
            for (int x = span.from; x < span.to; ++x) {
                const uint32_t p = row[x];
                // No channel carries into the next: each sum is at most 127 + 128.
                row[x] = (p & 0xFF000000u) + brush + (uint32_t{d[RedOf(p)]} << 16) +
                         (uint32_t{d[GreenOf(p)]} << 8) + d[BlueOf(p)];
            }
        }
    }
}

}  // namespace zuvo::sector
