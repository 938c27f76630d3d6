// The sector mask: 1 where a pixel lies in the fan and in the visible gate band.
#pragma once

#include <cstdint>
#include <vector>

#include "sectorview/SectorGeometry.h"
#include "sectorview/ViewSettings.h"

namespace zuvo::sector {

// Writes all width x height bytes of mask (row-major): 1 for pixels of the sector rectangle
// that lie in the angle window, within the fan radius and in the gate band, else 0. A geometry
// without pixels (a minimised window) writes nothing, so mask may then be null.
void BuildSectorMask(const SectorGeometry& geometry, const SectorViewSettings& settings,
                     uint8_t* mask);

// The same mask as runs of 1s, row by row: a row of the fan meets the angle window once and the
// gate band at most twice, so a few runs describe it, and drawing can walk them instead of
// reading a byte for every pixel.
class MaskRuns {
public:
    // Takes the runs of mask (width x height bytes).
    void Build(const uint8_t* mask, int width, int height);

    // Calls visit(from, to) for each run of row y within [left, right): columns from ... to - 1.
    template <typename Visit>
    void ForEach(int y, int left, int right, Visit&& visit) const {
        const size_t end = m_rowStarts[static_cast<size_t>(y) + 1];
        for (size_t i = m_rowStarts[static_cast<size_t>(y)]; i < end; ++i) {
            const int from = m_runs[i].from > left ? m_runs[i].from : left;
            const int to = m_runs[i].to < right ? m_runs[i].to : right;
            if (from < to) {
                visit(from, to);
            }
        }
    }

private:
    struct Run {
        int from;
        int to;  // exclusive
    };
    std::vector<size_t> m_rowStarts;  // row y's runs: m_runs[m_rowStarts[y] ... m_rowStarts[y + 1])
    std::vector<Run> m_runs;
};

}  // namespace zuvo::sector
