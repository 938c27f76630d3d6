#include "sectorview/AreaTable.h"

#include <algorithm>
#include <bit>

#include "sectorview/Argb.h"
#include "sectorview/PolygonRaster.h"

namespace zuvo::sector {

namespace {

// A point read from a damaged settings file may lie near the int32 limits: it stays there
// instead of overflowing to the other side.
int32_t Shifted(int32_t value, int offset) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{value} + offset, INT32_MIN, INT32_MAX));
}

// The vertices' bounding box grown by a pixel on every side, for the rounding of a fill.
ZRect FillBounds(const std::vector<int32_t>& polygon) {
    int32_t top = INT32_MAX;
    int32_t left = INT32_MAX;
    int32_t bottom = INT32_MIN;
    int32_t right = INT32_MIN;
    for (size_t i = 0; i + 1 < polygon.size(); i += 2) {
        top = std::min(top, polygon[i]);
        bottom = std::max(bottom, polygon[i]);
        left = std::min(left, polygon[i + 1]);
        right = std::max(right, polygon[i + 1]);
    }
    return ZRect{Shifted(left, -1), Shifted(top, -1), Shifted(right, 2), Shifted(bottom, 2)};
}

}  // namespace

int AreaTable::Add(const int32_t* points, int count, uint32_t inactiveColour, uint32_t activeColour,
                   int rowOffset, int columnOffset) {
    if (points == nullptr || count <= 2) {
        return -1;
    }
    for (int index = 0; index < kAreaSlots; ++index) {
        SectorArea& slot = m_slots[static_cast<size_t>(index)];
        if (slot.present) {
            continue;
        }
        slot.inactiveColour = SwapRedBlue(inactiveColour);
        slot.activeColour = SwapRedBlue(activeColour);
        slot.polygon.resize(static_cast<size_t>(count) * 2);
        for (size_t i = 0; i < static_cast<size_t>(count); ++i) {
            slot.polygon[2 * i] = Shifted(points[2 * i], rowOffset);
            slot.polygon[2 * i + 1] = Shifted(points[2 * i + 1], columnOffset);
        }
        slot.bounds = FillBounds(slot.polygon);
        slot.present = true;
        m_presentBits |= uint32_t{1} << index;
        return index;
    }
    return -1;
}

void AreaTable::Clear() {
    for (SectorArea& slot : m_slots) {
        slot.present = false;
        slot.polygon.clear();
        slot.polygon.shrink_to_fit();
    }
    m_presentBits = 0;
}

void BuildAreaMask(const AreaTable& table, int width, int height, std::vector<uint32_t>& mask) {
    // The areas' pixels are the ones for which the utility library's IsPointInPolygonSides
    // answers 0 or more. Asking it pixel by pixel costs a test per pixel and slot, so the
    // polygons are filled row by row instead, with the library's rule (even-odd inside, the
    // outline included) built in: the result must stay the library's at every pixel, which
    // PolygonRaster.EqualsThePointInPolygonTestEverywhere checks against the library the
    // tests run with. A library with another rule needs this loop to ask it instead.
    const size_t size =
        static_cast<size_t>(std::max(width, 0)) * static_cast<size_t>(std::max(height, 0));
    mask.assign(size, 0);
    for (int index = 0; index < kAreaSlots; ++index) {
        const SectorArea& slot = table.Slot(index);
        if (slot.present) {
            RasterizePolygon(slot.polygon.data(), static_cast<int>(slot.polygon.size() / 2), width,
                             height, uint32_t{1} << index, mask.data());
        }
    }
}

int32_t UpdateAreaIndex(int32_t current, uint32_t presentBits, uint32_t pixelBits) {
    const uint32_t candidates = presentBits & pixelBits;
    if (current >= 0 && current < kAreaSlots && ((candidates >> current) & 1) != 0) {
        return current;
    }
    return candidates == 0 ? -1 : std::countr_zero(candidates);
}

bool AreaLabelAnchor(const AreaTable& table, int slot, const std::vector<uint32_t>& mask, int width,
                     int height, int& x, int& y) {
    if (slot < 0 || slot >= kAreaSlots || width <= 0 || height <= 0 ||
        mask.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
        return false;
    }
    const SectorArea& area = table.Slot(slot);
    if (!area.present || area.polygon.size() < 2) {
        return false;
    }
    const uint32_t bit = uint32_t{1} << slot;
    auto inside = [&](int64_t px, int64_t py) {
        return px >= 0 && py >= 0 && px < width && py < height &&
               (mask[static_cast<size_t>(py) * width + static_cast<size_t>(px)] & bit) != 0;
    };
    double sumRow = 0.0;
    double sumColumn = 0.0;
    const size_t vertices = area.polygon.size() / 2;
    for (size_t i = 0; i < vertices; ++i) {
        sumRow += area.polygon[2 * i];
        sumColumn += area.polygon[2 * i + 1];
    }
    const double meanRow = sumRow / static_cast<double>(vertices);
    const double meanColumn = sumColumn / static_cast<double>(vertices);
    if (meanRow > -1e9 && meanRow < 1e9 && meanColumn > -1e9 && meanColumn < 1e9 &&
        inside(static_cast<int64_t>(meanColumn), static_cast<int64_t>(meanRow))) {
        x = static_cast<int>(meanColumn);
        y = static_cast<int>(meanRow);
        return true;
    }
    const int top = std::clamp(area.bounds.top, 0, height);
    const int bottom = std::clamp(area.bounds.bottom, 0, height);
    const int left = std::clamp(area.bounds.left, 0, width);
    const int right = std::clamp(area.bounds.right, 0, width);
    const int middle = top + (bottom - top) / 2;
    for (int step = 0; step <= bottom - top; ++step) {
        for (int row : {middle - step, middle + step}) {
            if (row < top || row >= bottom || (step == 0 && row != middle - step)) {
                continue;
            }
            int bestStart = -1;
            int bestLength = 0;
            for (int column = left; column < right;) {
                if (!inside(column, row)) {
                    ++column;
                    continue;
                }
                const int start = column;
                while (column < right && inside(column, row)) {
                    ++column;
                }
                if (column - start > bestLength) {
                    bestStart = start;
                    bestLength = column - start;
                }
            }
            if (bestLength > 0) {
                x = bestStart + bestLength / 2;
                y = row;
                return true;
            }
        }
    }
    return false;
}

}  // namespace zuvo::sector
