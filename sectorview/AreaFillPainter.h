// Fills the polygons of an area table into the frame with GDI+: translucent, without outline.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>
#include <vector>

#include "sectorview/SectorScene.h"

namespace zuvo::sector {

class AreaFillPainter : public IAreaPainter {
public:
    // dc: a memory device context with the frame's DIB section selected; pixels: the width x
    // height pixels of that section.
    AreaFillPainter(HDC dc, uint32_t* pixels, int width, int height)
        : m_dc(dc), m_pixels(pixels), m_width(width), m_height(height) {}

    // Each present slot in its active colour (a track is in it) or its inactive colour, at
    // alpha 0x7F over the pixel taken as opaque, with the alternate fill rule and no
    // anti-aliasing. Every pixel keeps the alpha byte it had.
    void PaintAreas(const AreaTable& table, uint32_t activeSlots) override;

private:
    void FillSlots(const AreaTable& table, uint32_t activeSlots);
    void SaveAlphas(const ZRect& box);
    void RestoreAlphas(const ZRect& box);

    HDC m_dc;
    uint32_t* m_pixels;
    int m_width;
    int m_height;
    std::vector<uint8_t> m_alphas;  // the alpha bytes under a table's fills, row by row
};

}  // namespace zuvo::sector
