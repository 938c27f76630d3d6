#include <algorithm>
#include <cmath>
#include <cstring>

#include "ReferenceView.h"
#include "sectorview/Argb.h"
#include "sectorview/PixelAreaPainter.h"
#include "sectorview/TrackPainter.h"

namespace zuvo::sector::reference {

namespace {

struct Polar {
    double theta;
    double dist;
};

Polar PixelToPolar(const SectorGeometry& geometry, int x, int y) {
    const int dx = x - geometry.originX;
    const int dy = y - geometry.originY;
    return Polar{ViewAngleOf(dx, dy, geometry.topView),
                 std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy)};
}

bool InFan(const SectorGeometry& geometry, const SectorViewSettings& settings, const Polar& p) {
    return settings.angleStart <= p.theta && p.theta <= settings.angleStop &&
           p.dist <= geometry.radius;
}

bool InGateBand(const SectorGeometry& geometry, const SectorViewSettings& settings,
                const Polar& p) {
    return geometry.pixelsPerGate * settings.gateMin < p.dist &&
           p.dist < geometry.pixelsPerGate * (settings.gateMax + 1.0);
}

template <typename Visit>
void ForEachSectorPixel(const SectorGeometry& geometry, Visit&& visit) {
    for (int y = std::max(geometry.sector.top, 0);
         y < std::min(geometry.sector.bottom, geometry.height); ++y) {
        for (int x = std::max(geometry.sector.left, 0);
             x < std::min(geometry.sector.right, geometry.width); ++x) {
            visit(x, y);
        }
    }
}

}  // namespace

std::vector<uint8_t> SectorMask(const SectorGeometry& geometry,
                                const SectorViewSettings& settings) {
    std::vector<uint8_t> mask(static_cast<size_t>(geometry.width) * geometry.height, 0);
    ForEachSectorPixel(geometry, [&](int x, int y) {
        const Polar p = PixelToPolar(geometry, x, y);
        if (InFan(geometry, settings, p)) {
            mask[static_cast<size_t>(y) * geometry.width + x] =
                InGateBand(geometry, settings, p) ? 1 : 0;
        }
    });
    return mask;
}

void ShadeSector(const SectorGeometry& geometry, const SectorViewSettings& settings,
                 uint32_t* pixels) {
    const double halfWidth = std::fabs((settings.angleStop - settings.angleStart) * 0.5);
    ForEachSectorPixel(geometry, [&](int x, int y) {
        const Polar p = PixelToPolar(geometry, x, y);
        if (!InFan(geometry, settings, p)) {
            return;
        }
        const uint32_t c =
            InGateBand(geometry, settings, p) ? kGateInsideColour : kGateOutsideColour;
        // A zero-width window has no angular term; very large terms saturate (the gate colours
        // are opaque, so the weight is full either way) instead of overflowing the cast.
        int u = 0;
        if (halfWidth > 0.0) {
            const double value = std::fabs(p.theta + 90.0) * 255.0 / halfWidth;
            u = value >= 511.0 ? 511 : static_cast<int>(value);
        }
        const int v = static_cast<int>((geometry.radius - p.dist) * (-255.0) / geometry.radius);
        const int w = (u - v) / 2;
        const int alpha = std::min(w * static_cast<int>(AlphaOf(c)) / 255, 255);
        uint32_t& pixel = pixels[static_cast<size_t>(y) * geometry.width + x];
        const uint32_t d = pixel;
        const int k = alpha * 128 / 255;
        const int m = alpha - k + 128;
        auto mix = [&](uint32_t cc, uint32_t dc) {
            const int value =
                static_cast<int>(dc) + (static_cast<int>(cc) - static_cast<int>(dc)) * alpha / m;
            return static_cast<uint32_t>(std::clamp(value, 0, 255));
        };
        pixel = MakeArgb(static_cast<uint32_t>(std::clamp(m, 0, 255)), mix(RedOf(c), RedOf(d)),
                         mix(GreenOf(c), GreenOf(d)), mix(BlueOf(c), BlueOf(d)));
    });
}

std::vector<uint32_t> AreaMask(const AreaTable& table, int width, int height, bool wholeView) {
    std::vector<uint32_t> mask(static_cast<size_t>(width) * height, 0);
    for (int k = 0; k < kAreaSlots; ++k) {
        const SectorArea& area = table.Slot(k);
        if (!area.present) {
            continue;
        }
        const int count = static_cast<int>(area.polygon.size() / 2);
        int64_t rowFrom = 0;
        int64_t rowTo = height - 1;
        int64_t columnFrom = 0;
        int64_t columnTo = width - 1;
        if (!wholeView) {
            int64_t minRow = INT64_MAX, maxRow = INT64_MIN, minColumn = INT64_MAX,
                    maxColumn = INT64_MIN;
            for (int i = 0; i < count; ++i) {
                minRow = std::min<int64_t>(minRow, area.polygon[2 * i]);
                maxRow = std::max<int64_t>(maxRow, area.polygon[2 * i]);
                minColumn = std::min<int64_t>(minColumn, area.polygon[2 * i + 1]);
                maxColumn = std::max<int64_t>(maxColumn, area.polygon[2 * i + 1]);
            }
            rowFrom = std::max(rowFrom, minRow);
            rowTo = std::min(rowTo, maxRow);
            columnFrom = std::max(columnFrom, minColumn);
            columnTo = std::min(columnTo, maxColumn);
        }
        for (int64_t y = rowFrom; y <= rowTo; ++y) {
            for (int64_t x = columnFrom; x <= columnTo; ++x) {
                if (IsPointInPolygonSides(static_cast<int>(y), static_cast<int>(x),
                                          area.polygon.data(), count) >= 0) {
                    mask[static_cast<size_t>(y) * width + static_cast<size_t>(x)] |= uint32_t{1}
                                                                                     << k;
                }
            }
        }
    }
    return mask;
}

uint32_t OverBlend(uint32_t destination, uint32_t colour, double sourceAlpha) {
    const double ad = AlphaOf(destination) / 255.0;
    const double a = 1.0 - (1.0 - ad) * (1.0 - sourceAlpha);
    if (a == 0.0) {
        return 0;
    }
    const double ws = sourceAlpha / a;
    const double wd = (1.0 - sourceAlpha) * ad / a;
    auto mix = [&](uint32_t d, uint32_t c) {
        return static_cast<uint32_t>(std::clamp(static_cast<int>(d * wd + c * ws), 0, 255));
    };
    return MakeArgb(static_cast<uint32_t>(std::clamp(static_cast<int>(a * 255.0), 0, 255)),
                    mix(RedOf(destination), RedOf(colour)),
                    mix(GreenOf(destination), GreenOf(colour)),
                    mix(BlueOf(destination), BlueOf(colour)));
}

void Compose(const SectorGeometry& layout, const SectorViewSettings& settings,
             const std::vector<uint8_t>& sectorMask, const std::vector<SectorTrack>& tracks,
             const MonitorPointList& points, const uint32_t* background, uint32_t* pixels,
             uint32_t now, const AreaTable* boundaries, const AreaTable* monitorAreas,
             const HeatMap* heat) {
    // Every position is mapped anew, never taken from what the view keeps.
    SectorGeometry geometry = layout;
    geometry.layout = 0;
    const size_t size = static_cast<size_t>(geometry.width) * geometry.height;
    std::memcpy(pixels, background, size * sizeof(uint32_t));
    PixelAreaPainter areas(pixels, geometry.width, geometry.height);
    for (const AreaTable* table : {boundaries, monitorAreas}) {
        if (table == nullptr || table->PresentBits() == 0) {
            continue;
        }
        uint32_t active = 0;
        for (const SectorTrack& track : tracks) {
            const int32_t index = table == boundaries ? track.boundaryIndex : track.monitorIndex;
            if (index >= 0 && index < kAreaSlots) {
                active |= uint32_t{1} << index;
            }
        }
        areas.PaintAreas(*table, active);
    }
    for (int y = 0; heat != nullptr && y < geometry.height; ++y) {
        for (int x = 0; x < geometry.width; ++x) {
            const size_t index = static_cast<size_t>(y) * geometry.width + x;
            const uint8_t level = heat->Level(x / HeatMap::kCellSize, y / HeatMap::kCellSize);
            if (sectorMask[index] == 1 && level != 0) {
                const uint32_t colour = HeatMap::RampColour(level);
                pixels[index] = OverBlend(pixels[index], colour, AlphaOf(colour) / 255.0);
            }
        }
    }
    std::vector<uint8_t> scratch(size);
    auto drawImage = [&](const DiscImage& image, int x0, int y0, auto&& put) {
        const int h = image.Half();
        for (int j = 0; j < image.edge; ++j) {
            for (int i = 0; i < image.edge; ++i) {
                const int x = x0 - h + i;
                const int y = y0 - h + j;
                const uint32_t m = image.pixels[static_cast<size_t>(j) * image.edge + i];
                if (!InView(geometry, x, y) || AlphaOf(m) == 0) {
                    continue;
                }
                const size_t index = static_cast<size_t>(y) * geometry.width + x;
                if (sectorMask[index] == 1) {
                    put(pixels[index], m);
                }
            }
        }
    };
    for (const SectorTrack& track : tracks) {
        const uint32_t f = TrackFade(now, track.points.front().time, settings.displayTimeMs);
        if (settings.drawLocus != 0) {
            std::fill(scratch.begin(), scratch.end(), 0);
            CPtrListCtrl polyline;
            BuildTrackPolyline(geometry, track, polyline);
            DrawGradualMultiLine(geometry.width, geometry.height, &polyline,
                                 geometry.markerRadius * settings.locusRadiusScale, 0.0, f / 255.0,
                                 0.0, scratch.data());
            for (size_t i = 0; i < size; ++i) {
                if (sectorMask[i] == 1 && scratch[i] != 0) {
                    pixels[i] = OverBlend(pixels[i], kTrackLineColour, scratch[i] / 255.0);
                }
            }
        }
        const TrackPoint& newest = track.points.front();
        const PixelPoint p = PolarToPixel(geometry, newest.smoothedDistance, newest.smoothedAngle);
        drawImage(*track.markerImage, static_cast<int>(std::round(p.x)),
                  static_cast<int>(std::round(p.y)), [&](uint32_t& d, uint32_t m) {
                      d = OverBlend(d, m, ((AlphaOf(m) * f) >> 8) / 255.0);
                  });
    }
    for (int i = 0; i < points.Count(); ++i) {
        const MonitorPoint& point = points.At(i);
        const PixelPoint p = PolarToPixel(geometry, point.distance, point.angle);
        drawImage(point.hit != 0 ? point.hitImage : point.normalImage,
                  static_cast<int>(std::round(p.x)), static_cast<int>(std::round(p.y)),
                  [](uint32_t& d, uint32_t m) { d = m; });
    }
}

}  // namespace zuvo::sector::reference
