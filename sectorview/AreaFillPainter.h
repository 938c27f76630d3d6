// Fills the polygons of an area table into the frame with GDI+: translucent, without outline.
//
// The painter lives as long as the window's frame and remembers what its fills gave: the
// pixels each table's fill changed, with the table and the lit slots it was made for. Areas and
// their lighting seldom change from one frame to the next while tracks move every frame, so a
// frame whose fills have the same inputs as the last one gets the remembered pixels back
// instead of filling 32 polygons of a thousand vertices again.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sectorview/SectorScene.h"

namespace zuvo::sector {

class AreaFillPainter : public IAreaPainter {
public:
    // Starts a frame. dc: a memory device context with the frame's DIB section selected;
    // pixels: the width x height pixels of that section. Under the fills the frame must show
    // the background the painter was last told about (Forget), with this frame's earlier
    // fills over it: the scene restores the background before it paints areas. A frame of
    // other pixels or another size starts the painter afresh.
    void BeginFrame(HDC dc, uint32_t* pixels, int width, int height);
    // The background changed: no remembered fill is valid any more.
    void Forget();

    // Each present slot in its active colour (a track is in it) or its inactive colour, at
    // alpha 0x7F over the pixel taken as opaque, with the alternate fill rule and no
    // anti-aliasing. Every pixel keeps the alpha byte it had.
    void PaintAreas(const AreaTable& table, uint32_t activeSlots) override;

private:
    // One table's fill as GDI+ made it: the pixels it changed, in runs along the rows.
    struct Fill {
        AreaTable table;
        uint32_t activeSlots = 0;          // only present slots' bits
        std::vector<size_t> runStarts;     // pixel index in the frame
        std::vector<uint32_t> runLengths;  // pixels
        std::vector<uint32_t> pixels;      // every run's pixels, one run after the other
    };

    void FillWithGdiplus(const AreaTable& table, uint32_t activeSlots, const ZRect& box);
    void Remember(Fill& fill, const ZRect& box) const;
    void Replay(const Fill& fill);

    HDC m_dc = nullptr;
    uint32_t* m_pixels = nullptr;
    int m_width = 0;
    int m_height = 0;
    // The fills of the frames so far, in the order a frame asks for them. The n-th of them is
    // valid for a frame only while the frame's earlier fills were the remembered ones too.
    std::vector<Fill> m_fills;
    size_t m_next = 0;               // the fill this frame asks for next
    bool m_same = false;             // this frame's fills so far were the remembered ones
    std::vector<uint32_t> m_before;  // the frame under a fill's box, row by row
};

}  // namespace zuvo::sector
