#include "app/SectorViewAreas.h"

ZRect CSectorViewAreas::GetSectorRect() const {
    const RECT rect = m_view.GetSectorRect();
    return ZRect{rect.left, rect.top, rect.right, rect.bottom};
}

bool CSectorViewAreas::GetAlgorithmArea(int slot, std::vector<int32_t>& rowColumnPairs) const {
    rowColumnPairs.clear();
    if (slot < 0 || slot >= zuvo::sector::kAreaSlots) {
        return false;
    }
    const zuvo::sector::SectorArea& area = m_view.AlgorithmAreas().Slot(slot);
    if (!area.present) {
        return false;
    }
    // The view keeps its polygons in view pixels; stored and converted areas are relative to
    // the sector rectangle.
    const RECT sector = m_view.GetSectorRect();
    rowColumnPairs.reserve(area.polygon.size());
    for (size_t i = 0; i + 1 < area.polygon.size(); i += 2) {
        rowColumnPairs.push_back(area.polygon[i] - sector.top);
        rowColumnPairs.push_back(area.polygon[i + 1] - sector.left);
    }
    return true;
}
