#include "sectorview/AreaFillPainter.h"

#include <gdiplus.h>

#include <algorithm>

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

}  // namespace

void AreaFillPainter::PaintAreas(const AreaTable& table, uint32_t activeSlots) {
    if (m_dc == nullptr || m_pixels == nullptr) {
        return;
    }
    const ZRect box = FillBox(table, m_width, m_height);
    if (box.left >= box.right || box.top >= box.bottom) {
        return;
    }
    // GDI+ on a device context takes its pixels as opaque, so the brush colour gets exactly
    // its own alpha whatever the fan's shading left in the alpha byte. What the fill then
    // writes into that byte is up to GDI+ (Wine's writes the alpha an "over" would give,
    // Windows' is not documented), yet the tracks and markers drawn next blend over it. So
    // every pixel gets its alpha byte back: a track shows as strongly inside an area as beside
    // it, and the same on every GDI+.
    SaveAlphas(box);
    FillSlots(table, activeSlots);
    // GDI may batch what GDI+ asked of it: the pixels are touched only once it has all landed.
    GdiFlush();
    RestoreAlphas(box);
}

void AreaFillPainter::FillSlots(const AreaTable& table, uint32_t activeSlots) {
    Gdiplus::Graphics graphics(m_dc);
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

void AreaFillPainter::SaveAlphas(const ZRect& box) {
    m_alphas.clear();
    for (int y = box.top; y < box.bottom; ++y) {
        const uint32_t* row = m_pixels + static_cast<size_t>(y) * static_cast<size_t>(m_width);
        for (int x = box.left; x < box.right; ++x) {
            m_alphas.push_back(static_cast<uint8_t>(AlphaOf(row[x])));
        }
    }
}

void AreaFillPainter::RestoreAlphas(const ZRect& box) {
    size_t index = 0;
    for (int y = box.top; y < box.bottom; ++y) {
        uint32_t* row = m_pixels + static_cast<size_t>(y) * static_cast<size_t>(m_width);
        for (int x = box.left; x < box.right; ++x) {
            row[x] = WithAlpha(row[x], m_alphas[index++]);
        }
    }
}

}  // namespace zuvo::sector
