// IAreaView: what the stored areas need of the sector view. The main window implements it by
// forwarding to its CObjectSectorWnd; tests implement it with a recording stand-in.
//
// Area points are (row, column) pairs of pixels relative to the top-left corner of the sector
// rectangle; colours are COLORREF values (0x00BBGGRR).
#pragma once

#include <cstdint>
#include <vector>

#include "ZUVO_CommonCore.h"

namespace zuvo::settings {

// Slots the view keeps for each kind of polygon.
inline constexpr int kAreaSlotCount = 32;

class IAreaView {
public:
    virtual ~IAreaView() = default;

    // The bounding rectangle of the fan in the view's client area.
    virtual ZRect GetSectorRect() const = 0;

    // Detection boundaries. Add answers the slot taken, or -1 when refused (all slots in use).
    virtual void ClearAlgorithmAreas() = 0;
    virtual int AddAlgorithmArea(const int32_t* rowColumnPairs, int count, uint32_t inactiveColour,
                                 uint32_t activeColour) = 0;
    // Monitoring areas, the same way.
    virtual void ClearMonitorAreas() = 0;
    virtual int AddMonitorArea(const int32_t* rowColumnPairs, int count, uint32_t inactiveColour,
                               uint32_t activeColour) = 0;

    // Monitoring points: a disc at (distance in range gates, angle in view degrees) of the
    // given size, labelled in labelColour.
    virtual void ClearMonitorPoints() = 0;
    virtual void AddMonitorPoint(double distance, double angle, double size, const wchar_t* label,
                                 uint32_t inactiveColour, uint32_t activeColour,
                                 uint32_t labelColour) = 0;

    // The detection boundary in slot (0 .. kAreaSlotCount - 1): false when the slot is empty,
    // otherwise its points as (row, column) pairs relative to the sector rectangle.
    virtual bool GetAlgorithmArea(int slot, std::vector<int32_t>& rowColumnPairs) const = 0;
};

}  // namespace zuvo::settings
