#include "sectorview/DirtyTiles.h"

#include <algorithm>
#include <cstring>

namespace zuvo::sector {

void DirtyTiles::Reset(int width, int height) {
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
    m_columns = (m_width + kTileWidth - 1) / kTileWidth;
    m_rows = (m_height + kTileHeight - 1) / kTileHeight;
    m_marked.assign(static_cast<size_t>(m_columns) * static_cast<size_t>(m_rows), 1);
}

void DirtyTiles::MarkAll() {
    std::fill(m_marked.begin(), m_marked.end(), 1);
}

void DirtyTiles::UnmarkAll() {
    std::fill(m_marked.begin(), m_marked.end(), 0);
}

bool DirtyTiles::AnyMarked() const {
    return std::find(m_marked.begin(), m_marked.end(), 1) != m_marked.end();
}

void DirtyTiles::Mark(const ZRect& rect) {
    const int left = std::max(rect.left, 0);
    const int top = std::max(rect.top, 0);
    const int right = std::min(rect.right, m_width);
    const int bottom = std::min(rect.bottom, m_height);
    if (left >= right || top >= bottom) {
        return;
    }
    for (int row = top / kTileHeight; row <= (bottom - 1) / kTileHeight; ++row) {
        uint8_t* tiles =
            m_marked.data() + static_cast<size_t>(row) * static_cast<size_t>(m_columns);
        std::fill(tiles + left / kTileWidth, tiles + (right - 1) / kTileWidth + 1, 1);
    }
}

void DirtyTiles::MarkUnion(const DirtyTiles& other) {
    if (!SameFrame(&other)) {
        return;
    }
    for (size_t i = 0; i < m_marked.size(); ++i) {
        m_marked[i] = static_cast<uint8_t>(m_marked[i] | other.m_marked[i]);
    }
}

void DirtyTiles::KeepIntersection(const DirtyTiles& other) {
    if (!SameFrame(&other)) {
        return;
    }
    for (size_t i = 0; i < m_marked.size(); ++i) {
        m_marked[i] = static_cast<uint8_t>(m_marked[i] & other.m_marked[i]);
    }
}

template <typename CopyRun>
void DirtyTiles::ForEachRun(const TileSources& sources, CopyRun&& copy) const {
    // Another frame's tiles never decide a source.
    const DirtyTiles* underlayTiles =
        sources.underlay != nullptr && SameFrame(sources.underlayTiles) ? sources.underlayTiles
                                                                        : nullptr;
    const DirtyTiles* overlayTiles = sources.overlay != nullptr && SameFrame(sources.overlayTiles)
                                         ? sources.overlayTiles
                                         : nullptr;
    const size_t width = static_cast<size_t>(m_width);
    for (int row = 0; row < m_rows; ++row) {
        const size_t rowStart = static_cast<size_t>(row) * static_cast<size_t>(m_columns);
        const uint8_t* tiles = m_marked.data() + rowStart;
        const uint8_t* under =
            underlayTiles != nullptr ? underlayTiles->m_marked.data() + rowStart : nullptr;
        const uint8_t* over =
            overlayTiles != nullptr ? overlayTiles->m_marked.data() + rowStart : nullptr;
        auto sourceOf = [&](int column) {
            if (over != nullptr && over[column] != 0) {
                return 2;
            }
            return under != nullptr && under[column] != 0 ? 1 : 0;
        };
        const int yFrom = row * kTileHeight;
        const int yTo = std::min(yFrom + kTileHeight, m_height);
        int column = 0;
        while (column < m_columns) {
            if (tiles[column] == 0) {
                ++column;
                continue;
            }
            // A run of marked tiles from one source is one copy per pixel row.
            const int source = sourceOf(column);
            int end = column;
            while (end < m_columns && tiles[end] != 0 && sourceOf(end) == source) {
                ++end;
            }
            const size_t x = static_cast<size_t>(column) * kTileWidth;
            const size_t count = std::min(static_cast<size_t>(end) * kTileWidth, width) - x;
            copy(x, count, yFrom, yTo, source);
            column = end;
        }
    }
}

void DirtyTiles::Copy(const uint32_t* source, uint32_t* target) const {
    Copy(TileSources{source}, target);
}

void DirtyTiles::Copy(const TileSources& sources, uint32_t* target) const {
    const size_t width = static_cast<size_t>(m_width);
    const uint32_t* const from[] = {sources.background, sources.underlay, sources.overlay};
    ForEachRun(sources, [&](size_t x, size_t count, int yFrom, int yTo, int source) {
        for (int y = yFrom; y < yTo; ++y) {
            const size_t offset = static_cast<size_t>(y) * width + x;
            std::memcpy(target + offset, from[source] + offset, count * sizeof(uint32_t));
        }
    });
}

void DirtyTiles::Restore(const uint32_t* background, uint32_t* frame) {
    Restore(TileSources{background}, frame);
}

void DirtyTiles::Restore(const uint32_t* background, const uint32_t* underlay,
                         const DirtyTiles& underlayTiles, uint32_t* frame) {
    Restore(TileSources{background, underlay, &underlayTiles}, frame);
}

void DirtyTiles::Restore(const TileSources& sources, uint32_t* frame) {
    Copy(sources, frame);
    UnmarkAll();
}

}  // namespace zuvo::sector
