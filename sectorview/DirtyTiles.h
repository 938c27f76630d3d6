// Which parts of a frame differ from its background: the frame keeps what it showed, and the
// next frame only needs the background back where the overlays were drawn.
#pragma once

#include <cstdint>
#include <vector>

#include "ZUVO_CommonCore.h"

namespace zuvo::sector {

// The frame in tiles of kTileWidth x kTileHeight pixels, each marked when something was drawn
// into it since the last restore. Restoring copies the marked tiles only, so rectangles that
// overlap (track boxes do, a lot) cost their union once.
class DirtyTiles {
public:
    static constexpr int kTileWidth = 64;
    static constexpr int kTileHeight = 8;

    // Starts over for a width x height frame, all of it to be restored.
    void Reset(int width, int height);
    void MarkAll();
    // Marks the tiles rect touches (clipped to the frame).
    void Mark(const ZRect& rect);
    // Copies the background into the frame where tiles are marked and unmarks them.
    void Restore(const uint32_t* background, uint32_t* frame);

private:
    int m_width = 0;
    int m_height = 0;
    int m_columns = 0;
    int m_rows = 0;
    std::vector<uint8_t> m_marked;  // one per tile, row by row
};

}  // namespace zuvo::sector
