// Fills the polygons of an area table into the frame with GDI+: translucent, without outline.
#pragma once

#include <cstdint>

#include "sectorview/SectorScene.h"

namespace zuvo::sector {

class AreaFillPainter : public IAreaPainter {
public:
    // pixels: the width x height frame the areas are filled into.
    AreaFillPainter(uint32_t* pixels, int width, int height)
        : m_pixels(pixels), m_width(width), m_height(height) {}

    // Each present slot in its active colour (a track is in it) or its inactive colour, at
    // alpha 0x7F, with the alternate fill rule and no anti-aliasing.
    void PaintAreas(const AreaTable& table, uint32_t activeSlots) override;

private:
    uint32_t* m_pixels;
    int m_width;
    int m_height;
};

}  // namespace zuvo::sector
