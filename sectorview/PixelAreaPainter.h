// Area fills straight into 32-bit frame pixels, without GDI+: the polygons covered as a
// non-anti-aliased alternate-rule fill covers them, the brush at alpha 0x7F over each pixel
// taken as opaque, the pixel's alpha byte kept.
#pragma once

#include <cstdint>
#include <vector>

#include "sectorview/AreaTable.h"
#include "sectorview/PolygonRaster.h"
#include "sectorview/SectorScene.h"

namespace zuvo::sector {

// One colour channel of the brush channel c at alpha 0x7F over the channel d: d x 128 / 255
// + c x 127 / 255, each term rounded to the nearest integer on its own, as a blend with the
// brush colour premultiplied rounds them.
constexpr uint32_t BrushChannel(uint32_t d, uint32_t c) {
    return (c * 127 + 127) / 255 + (d * 128 + 127) / 255;
}

class PixelAreaPainter : public IAreaPainter {
public:
    // pixels: the width x height frame, row-major.
    PixelAreaPainter(uint32_t* pixels, int width, int height)
        : m_pixels(pixels), m_width(width), m_height(height) {}

    // Each present slot in slot order, in its active colour (bit set in activeSlots) or its
    // inactive one, over what the earlier slots left.
    void PaintAreas(const AreaTable& table, uint32_t activeSlots) override;

private:
    uint32_t* m_pixels;
    int m_width;
    int m_height;
    std::vector<FillSpan> m_spans;  // scratch, kept for the next slot
};

}  // namespace zuvo::sector
