#include "sectorview/MonitorPointList.h"

#include <algorithm>
#include <cmath>

#include "sectorview/Argb.h"

namespace zuvo::sector {

std::unique_ptr<MonitorPoint> MakeMonitorPoint(const SectorGeometry& geometry, double distance,
                                               double angle, double size, uint32_t inactiveColour,
                                               uint32_t activeColour) {
    auto point = std::make_unique<MonitorPoint>();
    point->distance = distance;
    point->angle = angle;
    point->size = size;
    const int radius = DiscRadius(geometry, size);
    point->normalImage = MakeDisc(radius, SwapRedBlue(inactiveColour));
    point->hitImage = MakeDisc(radius, SwapRedBlue(activeColour));
    GatePosition(distance, angle, point->gateX, point->gateY);
    return point;
}

void FinishLabelledImage(DiscImage& image) {
    for (uint32_t& pixel : image.pixels) {
        if ((pixel & 0x00FFFFFFu) != 0 && AlphaOf(pixel) == 0) {
            pixel |= 0xFF000000u;
        }
    }
    image.FindRowSpans();
}

void GatePosition(double distance, double angle, double& x, double& y) {
    const double radians = angle * kPi / 180.0;
    x = distance * std::cos(radians);
    y = distance * std::sin(radians);
}

void MonitorPointList::ClearHits() {
    for (auto& point : m_points) {
        point->hit = 0;
    }
}

void MonitorPointList::HitTest(double gateX, double gateY, double radiusScale) {
    for (auto& point : m_points) {
        if (point->hit != 0) {
            continue;
        }
        const double dx = gateX - point->gateX;
        const double dy = gateY - point->gateY;
        if (std::sqrt(dx * dx + dy * dy) < (radiusScale + point->size) * 0.5) {
            point->hit = 1;
        }
    }
}

void MonitorPointList::Draw(const SectorGeometry& geometry, const MaskRuns& sectorMask,
                            uint32_t* pixels, DirtyTiles& drawn) const {
    const size_t width = static_cast<size_t>(geometry.width);
    for (const auto& point : m_points) {
        int x0 = 0;
        int y0 = 0;
        if (!RoundToPixel(PolarToPixel(geometry, point->distance, point->angle), x0, y0)) {
            continue;
        }
        const DiscImage& image = point->hit != 0 ? point->hitImage : point->normalImage;
        // The image is placed by its own size: it was made for the layout of its time and
        // must never be read beyond its edge after a relayout changed the disc size.
        const int half = image.Half();
        const int rowFrom = std::max(0, half - y0);
        const int rowTo = std::min(image.edge, geometry.height - (y0 - half));
        const int columnFrom = std::max(0, half - x0);
        const int columnTo = std::min(image.edge, geometry.width - (x0 - half));
        if (rowFrom >= rowTo || columnFrom >= columnTo) {
            continue;
        }
        drawn.Mark(ZRect{x0 - half + columnFrom, y0 - half + rowFrom, x0 - half + columnTo,
                         y0 - half + rowTo});
        const int left = x0 - half;  // the view column of the image's column 0
        for (int row = rowFrom; row < rowTo; ++row) {
            const int y = y0 - half + row;
            uint32_t* line = pixels + static_cast<size_t>(y) * width;
            const DiscImage::RowSpan& span = image.rows[static_cast<size_t>(row)];
            const int from = left + std::max(columnFrom, span.first);
            const int to = left + std::min(columnTo - 1, span.last) + 1;
            sectorMask.ForEach(y, from, to, [&](int runFrom, int runTo) {
                for (int x = runFrom; x < runTo; ++x) {
                    const uint32_t colour = image.At(x - left, row);
                    if (AlphaOf(colour) != 0) {
                        line[x] = colour;
                    }
                }
            });
        }
    }
}

}  // namespace zuvo::sector
