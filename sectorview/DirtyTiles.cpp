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

void DirtyTiles::Restore(const uint32_t* background, uint32_t* frame) {
    const size_t width = static_cast<size_t>(m_width);
    for (int row = 0; row < m_rows; ++row) {
        uint8_t* tiles =
            m_marked.data() + static_cast<size_t>(row) * static_cast<size_t>(m_columns);
        const int yEnd = std::min((row + 1) * kTileHeight, m_height);
        int column = 0;
        while (column < m_columns) {
            if (tiles[column] == 0) {
                ++column;
                continue;
            }
            // A run of marked tiles is one copy per pixel row.
            int end = column;
            while (end < m_columns && tiles[end] != 0) {
                tiles[end++] = 0;
            }
            const size_t x = static_cast<size_t>(column) * kTileWidth;
            const size_t count = std::min(static_cast<size_t>(end) * kTileWidth, width) - x;
            for (int y = row * kTileHeight; y < yEnd; ++y) {
                const size_t offset = static_cast<size_t>(y) * width + x;
                std::memcpy(frame + offset, background + offset, count * sizeof(uint32_t));
            }
            column = end;
        }
    }
}

}  // namespace zuvo::sector
