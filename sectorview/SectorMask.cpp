#include "sectorview/SectorMask.h"

#include <cstring>

#include "sectorview/FanRows.h"

namespace zuvo::sector {

void BuildSectorMask(const SectorGeometry& geometry, const SectorViewSettings& settings,
                     uint8_t* mask) {
    const size_t width = static_cast<size_t>(geometry.width);
    const size_t pixels = width * static_cast<size_t>(geometry.height);
    // A minimised window has no pixel, and its buffer may be a null pointer, which memset must
    // not get even for no bytes.
    if (pixels == 0) {
        return;
    }
    std::memset(mask, 0, pixels);
    const SquaredDistanceLimits limits = ComputeDistanceLimits(geometry, settings);
    const AngleWindowRows window(geometry.topView, settings.angleStart, settings.angleStop);
    ForEachFanRow(geometry, limits, window, [&](int y, int dy, const ColumnRun& run) {
        const int64_t dySq = int64_t{dy} * dy;
        uint8_t* row = mask + static_cast<size_t>(y) * width + geometry.originX;
        for (int dx = run.first; dx <= run.last; ++dx) {
            row[dx] = limits.InBand(int64_t{dx} * dx + dySq) ? 1 : 0;
        }
    });
}

void MaskRuns::Build(const uint8_t* mask, int width, int height) {
    m_rowStarts.assign(1, 0);
    m_runs.clear();
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = mask + static_cast<size_t>(y) * static_cast<size_t>(width);
        int x = 0;
        while (x < width) {
            if (row[x] != 1) {
                ++x;
                continue;
            }
            const int from = x;
            while (x < width && row[x] == 1) {
                ++x;
            }
            m_runs.push_back(Run{from, x});
        }
        m_rowStarts.push_back(m_runs.size());
    }
}

}  // namespace zuvo::sector
