// Which parts of a frame differ from what it is restored from: the frame keeps what it showed,
// and the next frame only needs its base back where the overlays were drawn.
#pragma once

#include <cstdint>
#include <vector>

#include "ZUVO_CommonCore.h"

namespace zuvo::sector {

// The frame in tiles of kTileWidth x kTileHeight pixels, each marked or not. Copies take whole
// runs of marked tiles, so rectangles that overlap (track boxes do, a lot) cost their union
// once.
class DirtyTiles {
public:
    static constexpr int kTileWidth = 64;
    static constexpr int kTileHeight = 8;

    // Starts over for a width x height frame, every tile marked.
    void Reset(int width, int height);
    void MarkAll();
    void UnmarkAll();
    // Marks the tiles rect touches (clipped to the frame).
    void Mark(const ZRect& rect);
    bool AnyMarked() const;

    // Copies source into target where tiles are marked; the marks stay.
    void Copy(const uint32_t* source, uint32_t* target) const;
    // Copies the background into the frame where tiles are marked and unmarks them.
    void Restore(const uint32_t* background, uint32_t* frame);
    // The same, but from underlay instead where underlayTiles (of the same frame) is marked too.
    void Restore(const uint32_t* background, const uint32_t* underlay,
                 const DirtyTiles& underlayTiles, uint32_t* frame);

private:
    // Calls copy(x, count, yFrom, yTo, fromUnderlay) for each run of marked tiles of one tile
    // row that come from the same source (fromUnderlay: underlayTiles, when given, marks them).
    template <typename CopyRun>
    void ForEachRun(const DirtyTiles* underlayTiles, CopyRun&& copy) const;

    int m_width = 0;
    int m_height = 0;
    int m_columns = 0;
    int m_rows = 0;
    std::vector<uint8_t> m_marked;  // one per tile, row by row
};

}  // namespace zuvo::sector
