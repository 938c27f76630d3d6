// Fills the polygons of an area table into the frame with GDI+: translucent, without outline.
//
// Areas and their lighting seldom change while tracks move every frame, and GDI+ takes its
// time over a polygon of a thousand vertices (under Wine some 5 ms each, whatever its size).
// So the painter keeps the background with the fills over it (the layered background) and
// hands it to the scene to restore the frame from: while the fills a frame asks for are the
// ones of the last frame, the frame already shows them and nothing is filled. When an area
// lights up or goes dark, only the polygons that reach where it lies are filled again, there;
// when a table's areas change, that table and the ones filled after it are filled anew.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "sectorview/SectorScene.h"

namespace zuvo::sector {

class AreaFillPainter : public IAreaPainter {
public:
    // The background the frames start from: width x height pixels that the caller keeps and
    // leaves unchanged until the next call. The layered background starts as a copy of it.
    void SetBackground(const uint32_t* background, int width, int height);
    // Frees the layered background and forgets every fill (the background goes away).
    void Release();
    // The background with the fills of the last frame over it: what the frame must show under
    // the overlays before its fills (the scene restores the frame from it where the last frame
    // drew, areas included). Null without a background.
    const uint32_t* Layered() const { return m_layered.empty() ? nullptr : m_layered.data(); }

    // Starts a frame. dc: a memory device context with the frame's DIB section selected;
    // frame: its pixels, of the background's size. tables: every table the scene may fill in
    // this frame, in the order it fills them. False (and nothing is filled) without a
    // background of that size.
    bool BeginFrame(HDC dc, uint32_t* frame, int width, int height,
                    std::initializer_list<const AreaTable*> tables);

    // Each present slot in its active colour (a track is in it) or its inactive colour, at
    // alpha 0x7F over the pixel taken as opaque, with the alternate fill rule and no
    // anti-aliasing. Every pixel keeps the alpha byte it had.
    void PaintAreas(const AreaTable& table, uint32_t activeSlots) override;
    // The frame is composed from Layered(), which holds the fills.
    bool KeepsFillsInBackground() const override { return true; }

private:
    // A set of boxes, which may overlap.
    using Boxes = std::vector<ZRect>;

    // One table's fill: what it was made of and what lay under it.
    struct Fill {
        AreaTable table;
        uint32_t activeSlots = 0;     // only present slots' bits
        ZRect box{0, 0, 0, 0};        // the pixels it can touch
        std::vector<uint32_t> under;  // the box's pixels before the fill, row by row
    };

    void Forget();
    // Drops the fills from index on: the layered background shows what lay under them.
    void DropFills(size_t index);
    // Fills fill's table anew over the whole box, taking what lies there as what is under it.
    void FillAnew(Fill& fill);
    // Fills fill's table again inside changed, over what lies under it.
    void FillAgain(Fill& fill, const Boxes& changed);
    void FillInside(const Fill& fill, const Boxes& clip);
    // Frame and layered background back to the bare background wherever a fill was; then the
    // first count fills are made anew.
    void StartOver(size_t count);
    void CopyBox(const uint32_t* from, uint32_t* to, const ZRect& box) const;
    // Between a view-sized buffer and a fill's pixels under it, inside both boxes.
    void ToUnder(const uint32_t* from, Fill& fill, const ZRect& box) const;
    void FromUnder(const Fill& fill, uint32_t* to, const ZRect& box) const;

    const uint32_t* m_background = nullptr;
    std::vector<uint32_t> m_layered;
    int m_width = 0;
    int m_height = 0;
    HDC m_dc = nullptr;
    uint32_t* m_frame = nullptr;
    // The fills of the last frame, in the order a frame asks for them; the layered background
    // holds all of them.
    std::vector<Fill> m_fills;
    size_t m_next = 0;  // the fill this frame asks for next
    Boxes m_changed;    // where this frame's fills so far came out otherwise
};

// One fill as the painter makes it, nothing kept: the present slots of table into the width x
// height pixels of the DIB section selected into dc.
void FillAreasOnce(HDC dc, uint32_t* pixels, int width, int height, const AreaTable& table,
                   uint32_t activeSlots);

}  // namespace zuvo::sector
