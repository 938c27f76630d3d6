// Which parts of a frame differ from what it is restored from: the frame keeps what it showed,
// and the next frame only needs its base back where the overlays were drawn.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "ZUVO_CommonCore.h"

namespace zuvo::sector {

// The frame in tiles of kTileWidth x kTileHeight pixels, each marked or not. Copies take whole
// runs of marked tiles, so rectangles that overlap (track boxes do, a lot) cost their union
// once.
class DirtyTiles;

// What a frame is restored from, tile by tile: the overlay where overlayTiles marks the tile,
// else the underlay where underlayTiles does, else the background. Sources without their tiles
// (or with another frame's) are never chosen.
struct TileSources {
    const uint32_t* background = nullptr;
    const uint32_t* underlay = nullptr;
    const DirtyTiles* underlayTiles = nullptr;
    const uint32_t* overlay = nullptr;
    const DirtyTiles* overlayTiles = nullptr;
};

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
    // Marks every tile other marks too; keeps only the tiles other marks too (other covers the
    // same frame; one that does not changes nothing).
    void MarkUnion(const DirtyTiles& other);
    void KeepIntersection(const DirtyTiles& other);
    // Calls visit(rect) for each run of marked tiles along a tile row, clipped to the frame.
    template <typename Visit>
    void ForEachRect(Visit&& visit) const;

    // Copies source into target where tiles are marked; the marks stay.
    void Copy(const uint32_t* source, uint32_t* target) const;
    // Copies each marked tile into target from the source sources choose for it; the marks stay.
    void Copy(const TileSources& sources, uint32_t* target) const;
    // Copies the background into the frame where tiles are marked and unmarks them.
    void Restore(const uint32_t* background, uint32_t* frame);
    // The same, but from underlay instead where underlayTiles (of the same frame) is marked too.
    void Restore(const uint32_t* background, const uint32_t* underlay,
                 const DirtyTiles& underlayTiles, uint32_t* frame);
    // The same from the source sources choose for each tile.
    void Restore(const TileSources& sources, uint32_t* frame);

private:
    // Calls copy(x, count, yFrom, yTo, source) for each run of marked tiles of one tile row
    // that come from the same source: 0 the background, 1 the underlay, 2 the overlay.
    template <typename CopyRun>
    void ForEachRun(const TileSources& sources, CopyRun&& copy) const;
    bool SameFrame(const DirtyTiles* other) const {
        return other != nullptr && other->m_marked.size() == m_marked.size() &&
               other->m_columns == m_columns;
    }

    int m_width = 0;
    int m_height = 0;
    int m_columns = 0;
    int m_rows = 0;
    std::vector<uint8_t> m_marked;  // one per tile, row by row
};

template <typename Visit>
void DirtyTiles::ForEachRect(Visit&& visit) const {
    for (int row = 0; row < m_rows; ++row) {
        const uint8_t* tiles =
            m_marked.data() + static_cast<size_t>(row) * static_cast<size_t>(m_columns);
        int column = 0;
        while (column < m_columns) {
            if (tiles[column] == 0) {
                ++column;
                continue;
            }
            int end = column;
            while (end < m_columns && tiles[end] != 0) {
                ++end;
            }
            const int top = row * kTileHeight;
            visit(ZRect{column * kTileWidth, top, std::min(end * kTileWidth, m_width),
                        std::min(top + kTileHeight, m_height)});
            column = end;
        }
    }
}

}  // namespace zuvo::sector
