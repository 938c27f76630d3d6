#include "sectorview/TrackPainter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "sectorview/Argb.h"
#include "sectorview/OverBlend.h"

namespace zuvo::sector {

namespace {

constexpr double kPolylineSpacing = 4.0;

// Blends the line colour over every pixel of the box whose intensity is non-zero and whose
// sector mask is 1, and clears the intensities again. Blocks of eight empty bytes are passed
// over at once: a track's box is mostly empty.
void CompositeLocus(const TrackCanvas& canvas, const ZRect& box) {
    OverBlender blend(kTrackLineColour);
    const size_t width = static_cast<size_t>(canvas.geometry.width);
    for (int y = box.top; y < box.bottom; ++y) {
        const size_t rowStart = static_cast<size_t>(y) * width;
        uint8_t* locus = canvas.locus + rowStart;
        const uint8_t* mask = canvas.sectorMask + rowStart;
        uint32_t* pixels = canvas.pixels + rowStart;
        int x = box.left;
        while (x < box.right) {
            if (x + 8 <= box.right) {
                uint64_t block = 0;
                std::memcpy(&block, locus + x, sizeof(block));
                if (block == 0) {
                    x += 8;
                    continue;
                }
            }
            const int end = std::min(x + 8, box.right);
            for (; x < end; ++x) {
                const uint32_t intensity = locus[x];
                if (intensity == 0) {
                    continue;
                }
                locus[x] = 0;
                if (mask[x] == 1) {
                    pixels[x] = blend.Blend(pixels[x], intensity);
                }
            }
        }
    }
}

}  // namespace

void BuildTrackPolyline(const SectorGeometry& geometry, const SectorTrack& track,
                        CPtrListCtrl& polyline) {
    polyline.RemoveAll();
    PixelPoint last{};
    bool haveLast = false;
    for (const TrackPoint& point : track.points) {
        const PixelPoint position =
            PolarToPixel(geometry, point.smoothedDistance, point.smoothedAngle);
        if (haveLast) {
            const double dx = position.x - last.x;
            const double dy = position.y - last.y;
            if (!(std::sqrt(dx * dx + dy * dy) > kPolylineSpacing)) {
                continue;
            }
        }
        int x = 0;
        int y = 0;
        if (!RoundToPixel(position, x, y)) {
            continue;
        }
        polyline.AddData(ZUVO_PackPoint(x, y), -1);
        last = position;
        haveLast = true;
    }
}

void DrawTrackLine(const TrackCanvas& canvas, const SectorTrack& track, uint32_t fade) {
    CPtrListCtrl polyline;
    BuildTrackPolyline(canvas.geometry, track, polyline);
    const double lineWidth = canvas.geometry.markerRadius * canvas.settings.locusRadiusScale;
    ZRect touched{0, 0, 0, 0};
    DrawGradualMultiLine(canvas.geometry.width, canvas.geometry.height, &polyline, lineWidth, 0.0,
                         fade / 255.0, 0.0, canvas.locus, &touched);
    CompositeLocus(canvas, touched);
}

void DrawTrackMarker(const TrackCanvas& canvas, const SectorTrack& track, uint32_t fade) {
    if (track.points.empty() || !track.markerImage) {
        return;
    }
    const TrackPoint& newest = track.points.front();
    int x0 = 0;
    int y0 = 0;
    if (!RoundToPixel(PolarToPixel(canvas.geometry, newest.smoothedDistance, newest.smoothedAngle),
                      x0, y0)) {
        return;
    }
    const DiscImage& image = *track.markerImage;
    // Placed by the image's own size, which a relayout since the track's creation may have
    // made differ from the view's marker radius.
    const int half = image.Half();
    const SectorGeometry& geometry = canvas.geometry;
    const int rowFrom = std::max(0, half - y0);
    const int rowTo = std::min(image.edge, geometry.height - (y0 - half));
    const int columnFrom = std::max(0, half - x0);
    const int columnTo = std::min(image.edge, geometry.width - (x0 - half));
    // Every pixel of the disc has the marker's colour: one blender serves the whole image.
    OverBlender blend(image.colour);
    const size_t width = static_cast<size_t>(geometry.width);
    for (int row = rowFrom; row < rowTo; ++row) {
        const size_t base = static_cast<size_t>(y0 - half + row) * width;
        for (int column = columnFrom; column < columnTo; ++column) {
            const uint32_t colour = image.At(column, row);
            const size_t index = base + static_cast<size_t>(x0 - half + column);
            if (AlphaOf(colour) == 0 || canvas.sectorMask[index] != 1) {
                continue;
            }
            const uint32_t q = (AlphaOf(colour) * fade) >> 8;
            canvas.pixels[index] = blend.Blend(canvas.pixels[index], q);
        }
    }
}

void DrawTracks(const TrackCanvas& canvas, const TrackList& tracks) {
    for (int i = 0; i < tracks.Count(); ++i) {
        const SectorTrack& track = tracks.At(i);
        if (track.points.empty()) {
            continue;
        }
        const uint32_t fade =
            TrackFade(canvas.now, track.points.front().time, canvas.settings.displayTimeMs);
        if (canvas.settings.drawLocus != 0) {
            DrawTrackLine(canvas, track, fade);
        }
        DrawTrackMarker(canvas, track, fade);
    }
}

}  // namespace zuvo::sector
