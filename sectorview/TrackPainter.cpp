#include "sectorview/TrackPainter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "sectorview/Argb.h"
#include "sectorview/OverBlend.h"
#include "sectorview/PackedPoint.h"

namespace zuvo::sector {

namespace {

constexpr double kPolylineSpacing = 4.0;

// How far beyond half its width a track line may colour pixels. The library promises a line of
// the given width, not its edge, so the box must hold for any reasonable drawing of it: one
// pixel of soft edge wholly outside the stroke, half a pixel more for a pixel that the edge
// only grazes (coverage measured over the pixel's area rather than at its centre), and half a
// pixel for an implementation that takes a point as a pixel's corner rather than its centre.
constexpr double kLineEdgeMargin = 2.0;

// Blends the line colour over every pixel of the box whose intensity is non-zero and whose
// sector mask is 1, and clears the box's intensities again. Blocks of eight empty bytes are
// passed over at once: a track's box is mostly empty.
void CompositeLocus(const TrackCanvas& canvas, const ZRect& box) {
    const OverBlendTable& blend = OverBlendTable::Instance();
    const size_t width = static_cast<size_t>(canvas.geometry.width);
    for (int y = box.top; y < box.bottom; ++y) {
        const size_t rowStart = static_cast<size_t>(y) * width;
        uint8_t* locus = canvas.locus + rowStart;
        uint32_t* pixels = canvas.pixels + rowStart;
        int first = box.right;  // the columns this row blended
        int last = box.left - 1;
        canvas.sectorMask.ForEach(y, box.left, box.right, [&](int from, int to) {
            int x = from;
            while (x < to) {
                if (x + 8 <= to) {
                    uint64_t block = 0;
                    std::memcpy(&block, locus + x, sizeof(block));
                    if (block == 0) {
                        x += 8;
                        continue;
                    }
                }
                for (const int end = std::min(x + 8, to); x < end; ++x) {
                    if (locus[x] != 0) {
                        first = std::min(first, x);
                        last = x;
                        pixels[x] = blend.Blend(pixels[x], kTrackLineColour, locus[x]);
                    }
                }
            }
        });
        // Waiting for frame pixels is most of the time here, and a line moves little from row
        // to row: ask for the frame where it will likely be two rows further on.
        if (y + 2 < box.bottom && first <= last) {
            const uint32_t* ahead = pixels + 2 * width;
            const int to = std::min(last + 8, box.right - 1);
            for (int x = std::max(first - 8, box.left); x <= to; x += 16) {
                __builtin_prefetch(ahead + x, 1);
            }
        }
        std::memset(locus + box.left, 0, static_cast<size_t>(box.right - box.left));
    }
}

}  // namespace

void BuildTrackPolyline(const SectorGeometry& geometry, const SectorTrack& track,
                        CPtrListCtrl& polyline) {
    // Emptied from the end: RemoveAll would also free the storage the next track reuses.
    while (polyline.GetCount() > 0) {
        polyline.RemoveAt(polyline.GetCount() - 1);
    }
    PixelPoint last{};
    bool haveLast = false;
    for (const TrackPoint& point : track.points) {
        const PixelPoint position = SmoothedPixel(geometry, point);
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
        polyline.AddData(PackPoint(x, y), -1);
        last = position;
        haveLast = true;
    }
}

void DrawTrackLine(const TrackCanvas& canvas, const SectorTrack& track, uint32_t fade) {
    CPtrListCtrl& polyline = canvas.polyline;
    BuildTrackPolyline(canvas.geometry, track, polyline);
    const double lineWidth = canvas.geometry.markerRadius * canvas.settings.locusRadiusScale;
    const int width = canvas.geometry.width;
    const int height = canvas.geometry.height;
    // The scratch is cleared, blended and marked dirty only inside this box, so the line must
    // not reach beyond it (see kLineEdgeMargin).
    const ZRect box = TrackLineBox(polyline, lineWidth, width, height);
    if (box.left >= box.right || box.top >= box.bottom) {
        return;  // no pixel of the view is within reach of the line
    }
    DrawGradualMultiLine(width, height, &polyline, lineWidth, 0.0, fade / 255.0, 0.0, canvas.locus);
    canvas.drawn.Mark(box);
    CompositeLocus(canvas, box);
}

ZRect TrackLineBox(const CPtrListCtrl& polyline, double lineWidth, int width, int height) {
    const int count = polyline.GetCount();
    if (count <= 0 || width <= 0 || height <= 0) {
        return ZRect{0, 0, 0, 0};
    }
    int64_t left = INT64_MAX;
    int64_t top = INT64_MAX;
    int64_t right = INT64_MIN;  // inclusive, like bottom
    int64_t bottom = INT64_MIN;
    for (int i = 0; i < count; ++i) {
        const void* entry = polyline.GetAt(i);
        left = std::min<int64_t>(left, PackedX(entry));
        right = std::max<int64_t>(right, PackedX(entry));
        top = std::min<int64_t>(top, PackedY(entry));
        bottom = std::max<int64_t>(bottom, PackedY(entry));
    }
    // A width that is not a positive number (NaN included) draws at most the soft edge. The
    // reach is limited to where the arithmetic stays exact: no pixel of a view lies farther
    // than that from any point of 32-bit coordinates.
    constexpr double kFarReach = 8.0e9;
    const double halfWidth = lineWidth > 0.0 ? lineWidth / 2.0 : 0.0;
    const double reach = std::min(halfWidth + kLineEdgeMargin, kFarReach);
    const int64_t grow = static_cast<int64_t>(std::ceil(reach));
    const ZRect box{static_cast<int32_t>(std::max<int64_t>(left - grow, 0)),
                    static_cast<int32_t>(std::max<int64_t>(top - grow, 0)),
                    static_cast<int32_t>(std::min<int64_t>(right + grow + 1, width)),
                    static_cast<int32_t>(std::min<int64_t>(bottom + grow + 1, height))};
    if (box.left >= box.right || box.top >= box.bottom) {
        return ZRect{0, 0, 0, 0};
    }
    return box;
}

void DrawTrackMarker(const TrackCanvas& canvas, const SectorTrack& track, uint32_t fade) {
    if (track.points.empty() || !track.markerImage) {
        return;
    }
    const TrackPoint& newest = track.points.front();
    int x0 = 0;
    int y0 = 0;
    if (!RoundToPixel(SmoothedPixel(canvas.geometry, newest), x0, y0)) {
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
    if (rowFrom >= rowTo || columnFrom >= columnTo) {
        return;
    }
    canvas.drawn.Mark(ZRect{x0 - half + columnFrom, y0 - half + rowFrom, x0 - half + columnTo,
                            y0 - half + rowTo});
    const OverBlendTable& blend = OverBlendTable::Instance();
    const size_t width = static_cast<size_t>(geometry.width);
    const int left = x0 - half;  // the view column of the image's column 0
    for (int row = rowFrom; row < rowTo; ++row) {
        const int y = y0 - half + row;
        uint32_t* pixels = canvas.pixels + static_cast<size_t>(y) * width;
        const DiscImage::RowSpan& span = image.rows[static_cast<size_t>(row)];
        const int from = left + std::max(columnFrom, span.first);
        const int to = left + std::min(columnTo - 1, span.last) + 1;
        canvas.sectorMask.ForEach(y, from, to, [&](int runFrom, int runTo) {
            if (image.solid) {
                const uint32_t q = (AlphaOf(image.colour) * fade) >> 8;
                for (int x = runFrom; x < runTo; ++x) {
                    pixels[x] = blend.Blend(pixels[x], image.colour, q);
                }
                return;
            }
            for (int x = runFrom; x < runTo; ++x) {
                const uint32_t colour = image.At(x - left, row);
                if (AlphaOf(colour) != 0) {
                    const uint32_t q = (AlphaOf(colour) * fade) >> 8;
                    pixels[x] = blend.Blend(pixels[x], colour, q);
                }
            }
        });
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
