// A table of 32 polygon slots (detection boundaries or monitoring areas) and its pixel mask.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ZUVO_CommonCore.h"

namespace zuvo::sector {

constexpr int kAreaSlots = 32;

struct SectorArea {
    bool present = false;
    std::vector<int32_t> polygon;  // (row, column) pairs in view pixels
    ZRect bounds{0, 0, 0, 0};      // the pixels a fill of the polygon can touch, with a margin
    uint32_t inactiveColour = 0;   // red and blue exchanged: 0x..RRGGBB
    uint32_t activeColour = 0;
};

class AreaTable {
public:
    // Stores a copy of the count (row, column) points, moved by (rowOffset, columnOffset) into
    // view pixels, in the lowest free slot. Answers the slot, or -1 when points is missing,
    // count is below 3 or every slot is taken; the table is then unchanged.
    int Add(const int32_t* points, int count, uint32_t inactiveColour, uint32_t activeColour,
            int rowOffset, int columnOffset);
    void Clear();

    const SectorArea& Slot(int index) const { return m_slots[static_cast<size_t>(index)]; }
    // Bit k set when slot k is present.
    uint32_t PresentBits() const { return m_presentBits; }

private:
    std::array<SectorArea, kAreaSlots> m_slots;
    uint32_t m_presentBits = 0;
};

// The table's membership mask: bit k of entry y x width + x set where slot k is present and
// the pixel lies inside or on its polygon. mask is resized to width x height.
void BuildAreaMask(const AreaTable& table, int width, int height, std::vector<uint32_t>& mask);

// The slot a position keeps or takes: the current slot while it is present and its bit is set
// in pixelBits (the mask entry at the position, 0 outside the view), otherwise the lowest
// present slot set there, or -1.
int32_t UpdateAreaIndex(int32_t current, uint32_t presentBits, uint32_t pixelBits);

// Where a label of slot sits inside its area: the mean of its vertices when that pixel has the
// slot's bit in mask (width x height), otherwise the middle of the longest run of such pixels
// in the row nearest the middle of the slot's bounds that has one. False when the slot is
// absent or covers no pixel. x, y: view pixels.
bool AreaLabelAnchor(const AreaTable& table, int slot, const std::vector<uint32_t>& mask, int width,
                     int height, int& x, int& y);

}  // namespace zuvo::sector
