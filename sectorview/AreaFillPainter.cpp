#include "sectorview/AreaFillPainter.h"

#include <gdiplus.h>

#include <algorithm>
#include <cstring>

#include "sectorview/Argb.h"

namespace zuvo::sector {

namespace {

// The frame pixels the present slots' fills can touch.
ZRect FillBox(const AreaTable& table, int width, int height) {
    ZRect box{width, height, 0, 0};
    for (int slot = 0; slot < kAreaSlots; ++slot) {
        const SectorArea& area = table.Slot(slot);
        if (area.present) {
            box.left = std::min(box.left, area.bounds.left);
            box.top = std::min(box.top, area.bounds.top);
            box.right = std::max(box.right, area.bounds.right);
            box.bottom = std::max(box.bottom, area.bounds.bottom);
        }
    }
    return ZRect{std::max(box.left, 0), std::max(box.top, 0), std::min(box.right, width),
                 std::min(box.bottom, height)};
}

// Whether two tables fill the same: the same slots with the same outlines and colours.
bool SameFill(const AreaTable& a, const AreaTable& b) {
    if (a.PresentBits() != b.PresentBits()) {
        return false;
    }
    for (int slot = 0; slot < kAreaSlots; ++slot) {
        const SectorArea& x = a.Slot(slot);
        const SectorArea& y = b.Slot(slot);
        if (x.present && (x.activeColour != y.activeColour ||
                          x.inactiveColour != y.inactiveColour || x.polygon != y.polygon)) {
            return false;
        }
    }
    return true;
}

void FillSlots(HDC dc, const AreaTable& table, uint32_t activeSlots) {
    Gdiplus::Graphics graphics(dc);
    if (graphics.GetLastStatus() != Gdiplus::Ok) {
        return;
    }
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeNone);
    std::vector<Gdiplus::Point> points;
    for (int slot = 0; slot < kAreaSlots; ++slot) {
        const SectorArea& area = table.Slot(slot);
        if (!area.present) {
            continue;
        }
        points.clear();
        for (size_t i = 0; i + 1 < area.polygon.size(); i += 2) {
            points.emplace_back(area.polygon[i + 1], area.polygon[i]);  // (column, row)
        }
        const bool active = ((activeSlots >> slot) & 1) != 0;
        Gdiplus::SolidBrush brush(
            Gdiplus::Color(WithAlpha(active ? area.activeColour : area.inactiveColour, 0x7F)));
        graphics.FillPolygon(&brush, points.data(), static_cast<INT>(points.size()),
                             Gdiplus::FillModeAlternate);
    }
    graphics.Flush(Gdiplus::FlushIntentionSync);
}

}  // namespace

void AreaFillPainter::BeginFrame(HDC dc, uint32_t* pixels, int width, int height) {
    if (pixels != m_pixels || width != m_width || height != m_height) {
        Forget();
    }
    m_dc = dc;
    m_pixels = pixels;
    m_width = width;
    m_height = height;
    m_next = 0;
    m_same = true;
}

void AreaFillPainter::Forget() {
    m_fills.clear();
    m_next = 0;
    m_same = false;
}

void AreaFillPainter::PaintAreas(const AreaTable& table, uint32_t activeSlots) {
    if (m_dc == nullptr || m_pixels == nullptr) {
        return;
    }
    const uint32_t active = activeSlots & table.PresentBits();
    if (m_same && m_next < m_fills.size() && m_fills[m_next].activeSlots == active &&
        SameFill(m_fills[m_next].table, table)) {
        Replay(m_fills[m_next++]);
        return;
    }
    // The remembered fills after this one were made over what this one changes.
    m_same = false;
    m_fills.resize(m_next);
    Fill& fill = m_fills.emplace_back();
    ++m_next;
    fill.table = table;
    fill.activeSlots = active;
    const ZRect box = FillBox(table, m_width, m_height);
    if (box.left < box.right && box.top < box.bottom) {
        FillWithGdiplus(table, active, box);
        Remember(fill, box);
    }
}

void AreaFillPainter::FillWithGdiplus(const AreaTable& table, uint32_t activeSlots,
                                      const ZRect& box) {
    // GDI+ on a device context takes its pixels as opaque, so the brush colour gets exactly
    // its own alpha whatever the fan's shading left in the alpha byte. What the fill then
    // writes into that byte is up to GDI+ (Wine's writes the alpha an "over" would give,
    // Windows' is not documented), yet the tracks and markers drawn next blend over it. So
    // every pixel gets its alpha byte back: a track shows as strongly inside an area as beside
    // it, and the same on every GDI+.
    const size_t boxWidth = static_cast<size_t>(box.right - box.left);
    m_before.resize(boxWidth * static_cast<size_t>(box.bottom - box.top));
    for (int y = box.top; y < box.bottom; ++y) {
        std::memcpy(&m_before[static_cast<size_t>(y - box.top) * boxWidth],
                    m_pixels + static_cast<size_t>(y) * static_cast<size_t>(m_width) +
                        static_cast<size_t>(box.left),
                    boxWidth * sizeof(uint32_t));
    }
    FillSlots(m_dc, table, activeSlots);
    // GDI may batch what GDI+ asked of it: the pixels are touched only once it has all landed.
    GdiFlush();
    size_t index = 0;
    for (int y = box.top; y < box.bottom; ++y) {
        uint32_t* row = m_pixels + static_cast<size_t>(y) * static_cast<size_t>(m_width);
        for (int x = box.left; x < box.right; ++x) {
            row[x] = WithAlpha(row[x], AlphaOf(m_before[index++]));
        }
    }
}

void AreaFillPainter::Remember(Fill& fill, const ZRect& box) const {
    const size_t boxWidth = static_cast<size_t>(box.right - box.left);
    for (int y = box.top; y < box.bottom; ++y) {
        const size_t rowStart = static_cast<size_t>(y) * static_cast<size_t>(m_width);
        const uint32_t* row = m_pixels + rowStart;
        const uint32_t* before = &m_before[static_cast<size_t>(y - box.top) * boxWidth];
        int x = box.left;
        while (x < box.right) {
            if (row[x] == before[x - box.left]) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < box.right && row[x] != before[x - box.left]) {
                ++x;
            }
            fill.runStarts.push_back(rowStart + static_cast<size_t>(start));
            fill.runLengths.push_back(static_cast<uint32_t>(x - start));
            fill.pixels.insert(fill.pixels.end(), row + start, row + x);
        }
    }
}

void AreaFillPainter::Replay(const Fill& fill) {
    const uint32_t* from = fill.pixels.data();
    for (size_t run = 0; run < fill.runStarts.size(); ++run) {
        std::memcpy(m_pixels + fill.runStarts[run], from, fill.runLengths[run] * sizeof(uint32_t));
        from += fill.runLengths[run];
    }
}

}  // namespace zuvo::sector
