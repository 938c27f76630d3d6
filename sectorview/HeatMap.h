// Where the objects of a run have been: every accepted position counts in a grid of cells of
// kCellSize x kCellSize view pixels, which the view draws under the tracks as a translucent
// colour ramp. It shows where people walk and stand over a whole run, which is what areas are
// placed by, and where a fan or a curtain keeps producing detections.
//
// A cell's colour is its level: 0 for an empty cell, else 1 ... 255 on a logarithmic ramp up to
// the scale, the smallest power of two (at least kMinScale) no cell exceeds. The scale only
// doubles during a run, so the colours of every cell change a few times per run and otherwise
// only where positions arrive.
//
// Not synchronised: the scene guards it with its track lock.
#pragma once

#include <cstdint>
#include <vector>

#include "ZUVO_CommonCore.h"
#include "sectorview/DirtyTiles.h"
#include "sectorview/SectorGeometry.h"

namespace zuvo::sector {

class HeatMap {
public:
    static constexpr int kCellSize = 4;
    static constexpr uint32_t kMinScale = 16;

    // Takes geometry's layout. The counts of the layout before move to the cells their
    // positions fall in now (those that fall outside the view are dropped); the first layout,
    // or one without a scale in either, starts empty.
    void Relayout(const SectorGeometry& geometry);
    // Empties every cell (a run starts).
    void Clear();
    // Counts one position in view pixels; positions outside the view are not counted.
    void Add(const PixelPoint& position);

    int Columns() const { return m_columns; }
    int Rows() const { return m_rows; }
    uint32_t Count(int column, int row) const;
    uint8_t Level(int column, int row) const;
    uint32_t Scale() const { return m_scale; }
    // Every position counted since the last Clear that still lies in the view.
    uint64_t Total() const { return m_total; }

    // Marks in tiles (of the view's frame) every tile whose colours changed since the last
    // call, and forgets them; every tile after a relayout, a clear or a change of scale.
    void TakeChanges(DirtyTiles& tiles);

    // Blends the colours of the cells over pixels (the view's width x height frame) inside box,
    // only where sectorMask (width x height bytes) is non-zero.
    void Blend(uint32_t* pixels, const uint8_t* sectorMask, const ZRect& box) const;

    // The level of count at scale, and the ramp's colour (0xAARRGGBB, alpha the weight of the
    // blend) of a level.
    static uint8_t LevelOf(uint32_t count, uint32_t scale);
    static uint32_t RampColour(uint8_t level);

private:
    void SetLevel(size_t cell);
    void Relevel();
    void MarkCell(int column, int row);

    int m_width = 0;
    int m_height = 0;
    int m_columns = 0;
    int m_rows = 0;
    // The layout positions were counted in.
    double m_originX = 0.0;
    double m_originY = 0.0;
    double m_pixelsPerGate = 0.0;
    bool m_topView = true;

    std::vector<uint32_t> m_counts;  // row by row
    std::vector<uint8_t> m_levels;
    uint32_t m_scale = kMinScale;
    uint64_t m_total = 0;
    DirtyTiles m_changed;
    bool m_allChanged = true;
};

}  // namespace zuvo::sector
