#include "sectorview/AreaFillPainter.h"

#include <vector>

#include "sectorview/Argb.h"
#include "sectorview/PixelSurface.h"

namespace zuvo::sector {

void AreaFillPainter::PaintAreas(const AreaTable& table, uint32_t activeSlots) {
    // A surface per table, gone before the tracks are drawn into the same pixels.
    PixelSurface surface(m_pixels, m_width, m_height);
    if (!surface.Ready()) {
        return;
    }
    Gdiplus::Graphics& graphics = surface.Graphics();
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
}

}  // namespace zuvo::sector
