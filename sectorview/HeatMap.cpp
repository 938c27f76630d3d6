#include "sectorview/HeatMap.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "sectorview/OverBlend.h"

namespace zuvo::sector {

namespace {

size_t CellCount(int columns, int rows) {
    return static_cast<size_t>(columns) * static_cast<size_t>(rows);
}

uint32_t AddSaturated(uint32_t count, uint32_t more) {
    return count > std::numeric_limits<uint32_t>::max() - more
               ? std::numeric_limits<uint32_t>::max()
               : count + more;
}

// The smallest power of two at least kMinScale that count does not exceed.
uint32_t ScaleFor(uint32_t count) {
    uint32_t scale = HeatMap::kMinScale;
    while (scale < count && scale <= std::numeric_limits<uint32_t>::max() / 2) {
        scale *= 2;
    }
    return scale;
}

// One colour blend and blend weight per level, made once.
struct Ramp {
    std::vector<OverBlendTable::ColourBlend> blends;
    uint8_t weights[256] = {};
};

const Ramp& TheRamp() {
    static const Ramp ramp = [] {
        Ramp made;
        made.blends.reserve(256);
        for (int level = 0; level < 256; ++level) {
            const uint32_t colour = HeatMap::RampColour(static_cast<uint8_t>(level));
            made.blends.push_back(OverBlendTable::Instance().For(colour));
            made.weights[level] = static_cast<uint8_t>(colour >> 24);
        }
        return made;
    }();
    return ramp;
}

}  // namespace

uint8_t HeatMap::LevelOf(uint32_t count, uint32_t scale) {
    if (count == 0) {
        return 0;
    }
    if (count >= scale || scale < 2) {
        return 255;
    }
    const double share =
        std::log2(static_cast<double>(count)) / std::log2(static_cast<double>(scale));
    return static_cast<uint8_t>(1 + static_cast<int>(254.0 * share));
}

uint32_t HeatMap::RampColour(uint8_t level) {
    // Blue through cyan and yellow to red; the more often a cell was visited, the more it
    // covers what lies under it.
    struct Stop {
        double r, g, b;
    };
    static constexpr Stop kStops[] = {
        {0x28, 0x60, 0xFF}, {0x00, 0xE0, 0xFF}, {0xFF, 0xE0, 0x00}, {0xFF, 0x20, 0x00}};
    if (level == 0) {
        return 0;
    }
    const double t = (level - 1) / 254.0 * 3.0;
    const int from = std::min(static_cast<int>(t), 2);
    const double f = t - from;
    auto mix = [&](double a, double b) { return static_cast<uint32_t>(a + (b - a) * f + 0.5); };
    const uint32_t r = mix(kStops[from].r, kStops[from + 1].r);
    const uint32_t g = mix(kStops[from].g, kStops[from + 1].g);
    const uint32_t b = mix(kStops[from].b, kStops[from + 1].b);
    // A cell seen once still stands out from a dark background.
    const uint32_t alpha = 0x68 + static_cast<uint32_t>((level - 1) * (0xD0 - 0x68) / 254);
    return (alpha << 24) | (r << 16) | (g << 8) | b;
}

void HeatMap::Relayout(const SectorGeometry& geometry) {
    const int width = std::max(geometry.width, 0);
    const int height = std::max(geometry.height, 0);
    if (width == m_width && height == m_height && geometry.originX == m_originX &&
        geometry.originY == m_originY && geometry.pixelsPerGate == m_pixelsPerGate &&
        geometry.topView == m_topView && !m_counts.empty()) {
        return;
    }
    const int columns = (width + kCellSize - 1) / kCellSize;
    const int rows = (height + kCellSize - 1) / kCellSize;
    std::vector<uint32_t> counts(CellCount(columns, rows), 0);
    uint64_t total = 0;
    uint32_t highest = 0;
    const bool scaled = m_pixelsPerGate > 0.0 && geometry.pixelsPerGate > 0.0 &&
                        std::isfinite(m_pixelsPerGate) && std::isfinite(geometry.pixelsPerGate);
    if (scaled && m_total > 0) {
        // Each cell's centre, in gates from the sensor, is where its positions lie in the new
        // layout; mirroring the view flips the rows.
        const double ratio = geometry.pixelsPerGate / m_pixelsPerGate;
        const double flip = geometry.topView == m_topView ? 1.0 : -1.0;
        for (int row = 0; row < m_rows; ++row) {
            for (int column = 0; column < m_columns; ++column) {
                const uint32_t count = m_counts[CellCount(m_columns, row) + column];
                if (count == 0) {
                    continue;
                }
                const PixelPoint centre{
                    geometry.originX + (column * kCellSize + kCellSize / 2.0 - m_originX) * ratio,
                    geometry.originY +
                        flip * (row * kCellSize + kCellSize / 2.0 - m_originY) * ratio};
                int x = 0;
                int y = 0;
                if (!RoundToPixel(centre, x, y) || x < 0 || y < 0 || x >= width || y >= height) {
                    continue;
                }
                uint32_t& cell = counts[CellCount(columns, y / kCellSize) + x / kCellSize];
                cell = AddSaturated(cell, count);
                highest = std::max(highest, cell);
                total += count;
            }
        }
    }
    m_width = width;
    m_height = height;
    m_columns = columns;
    m_rows = rows;
    m_originX = geometry.originX;
    m_originY = geometry.originY;
    m_pixelsPerGate = geometry.pixelsPerGate;
    m_topView = geometry.topView;
    m_counts.swap(counts);
    m_levels.assign(m_counts.size(), 0);
    m_total = total;
    m_scale = ScaleFor(highest);
    Relevel();
    m_changed.Reset(width, height);
    m_changed.UnmarkAll();
    m_allChanged = true;
}

void HeatMap::Clear() {
    std::fill(m_counts.begin(), m_counts.end(), 0);
    std::fill(m_levels.begin(), m_levels.end(), 0);
    m_total = 0;
    m_scale = kMinScale;
    m_changed.UnmarkAll();
    m_allChanged = true;
}

void HeatMap::Add(const PixelPoint& position) {
    int x = 0;
    int y = 0;
    if (!RoundToPixel(position, x, y) || x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return;
    }
    const int column = x / kCellSize;
    const int row = y / kCellSize;
    const size_t cell = CellCount(m_columns, row) + column;
    uint32_t& count = m_counts[cell];
    count = AddSaturated(count, 1);
    ++m_total;
    if (count > m_scale) {
        m_scale = ScaleFor(count);
        Relevel();
        m_allChanged = true;
        return;
    }
    const uint8_t before = m_levels[cell];
    SetLevel(cell);
    if (m_levels[cell] != before) {
        MarkCell(column, row);
    }
}

uint32_t HeatMap::Count(int column, int row) const {
    if (column < 0 || row < 0 || column >= m_columns || row >= m_rows) {
        return 0;
    }
    return m_counts[CellCount(m_columns, row) + column];
}

uint8_t HeatMap::Level(int column, int row) const {
    if (column < 0 || row < 0 || column >= m_columns || row >= m_rows) {
        return 0;
    }
    return m_levels[CellCount(m_columns, row) + column];
}

void HeatMap::SetLevel(size_t cell) {
    m_levels[cell] = LevelOf(m_counts[cell], m_scale);
}

void HeatMap::Relevel() {
    for (size_t cell = 0; cell < m_counts.size(); ++cell) {
        if (m_counts[cell] != 0) {
            SetLevel(cell);
        }
    }
}

void HeatMap::MarkCell(int column, int row) {
    m_changed.Mark(ZRect{column * kCellSize, row * kCellSize, (column + 1) * kCellSize,
                         (row + 1) * kCellSize});
}

void HeatMap::TakeChanges(DirtyTiles& tiles) {
    if (m_allChanged) {
        tiles.MarkAll();
    } else {
        tiles.MarkUnion(m_changed);
    }
    m_changed.UnmarkAll();
    m_allChanged = false;
}

void HeatMap::Blend(uint32_t* pixels, const uint8_t* sectorMask, const ZRect& box) const {
    const int left = std::max(box.left, 0);
    const int top = std::max(box.top, 0);
    const int right = std::min(box.right, m_width);
    const int bottom = std::min(box.bottom, m_height);
    if (pixels == nullptr || sectorMask == nullptr || left >= right || top >= bottom) {
        return;
    }
    const Ramp& ramp = TheRamp();
    const size_t width = static_cast<size_t>(m_width);
    for (int row = top / kCellSize; row <= (bottom - 1) / kCellSize; ++row) {
        const uint8_t* levels = m_levels.data() + CellCount(m_columns, row);
        const int yFrom = std::max(row * kCellSize, top);
        const int yTo = std::min((row + 1) * kCellSize, bottom);
        for (int column = left / kCellSize; column <= (right - 1) / kCellSize; ++column) {
            const uint8_t level = levels[column];
            if (level == 0) {
                continue;
            }
            const OverBlendTable::ColourBlend& blend = ramp.blends[level];
            const uint32_t q = ramp.weights[level];
            const int xFrom = std::max(column * kCellSize, left);
            const int xTo = std::min((column + 1) * kCellSize, right);
            for (int y = yFrom; y < yTo; ++y) {
                const size_t offset = static_cast<size_t>(y) * width;
                for (int x = xFrom; x < xTo; ++x) {
                    if (sectorMask[offset + x] != 0) {
                        uint32_t& pixel = pixels[offset + x];
                        pixel = blend.Over(pixel, q);
                    }
                }
            }
        }
    }
}

}  // namespace zuvo::sector
