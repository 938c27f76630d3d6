#include "sectorview/TrackPainter.h"

#include <algorithm>
#include <bit>
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

// The columns a line can reach on either side of a point: half its width and the edge margin,
// rounded up. A width that is not a positive number (NaN included) draws at most the soft edge.
// The reach is limited to where the arithmetic stays exact: no pixel of a view lies farther
// than that from any point of 32-bit coordinates.
int64_t LineGrowth(double lineWidth) {
    constexpr double kFarReach = 8.0e9;
    const double halfWidth = lineWidth > 0.0 ? lineWidth / 2.0 : 0.0;
    return static_cast<int64_t>(std::ceil(std::min(halfWidth + kLineEdgeMargin, kFarReach)));
}

// The low seven bits of each byte of a block of eight intensities (the first in the lowest
// byte, as the processors the program runs on store them).
static_assert(std::endian::native == std::endian::little);
constexpr uint64_t kLowBits = 0x7F7F7F7F7F7F7F7Full;

// Blends the line colour over every pixel of the rows' reach whose intensity is non-zero and
// whose sector mask is 1, clears the reach's intensities again and marks the pixels it
// blended. Intensities are read eight at a time, and only the non-zero ones are visited: most
// of the reach is the line's surroundings.
void CompositeLocus(const TrackCanvas& canvas, const ZRect& box) {
    const OverBlendTable::ColourBlend line = OverBlendTable::Instance().For(kTrackLineColour);
    const size_t width = static_cast<size_t>(canvas.geometry.width);
    // The blended columns of the current band of tile rows, marked once per band.
    ZRect band{box.right, box.top, box.left, box.top};
    auto markBand = [&] {
        if (band.left < band.right) {
            canvas.drawn.Mark(band);
        }
    };
    for (int y = box.top; y < box.bottom; ++y) {
        if (y % DirtyTiles::kTileHeight == 0 && y > band.top) {
            markBand();
            band = ZRect{box.right, y, box.left, y};
        }
        const ColumnSpan& reach = canvas.reach[static_cast<size_t>(y - box.top)];
        if (reach.from >= reach.to) {
            continue;
        }
        const size_t rowStart = static_cast<size_t>(y) * width;
        uint8_t* locus = canvas.locus + rowStart;
        uint32_t* pixels = canvas.pixels + rowStart;
        int first = reach.to;  // the columns this row blended
        int last = reach.from - 1;
        auto put = [&](int x) { pixels[x] = line.Over(pixels[x], locus[x]); };
        canvas.sectorMask.ForEach(y, reach.from, reach.to, [&](int from, int to) {
            int x = from;
            for (; x + 8 <= to; x += 8) {
                uint64_t block = 0;
                std::memcpy(&block, locus + x, sizeof(block));
                // The top bit of every byte that is not 0, and no other bit.
                uint64_t lit = (((block & kLowBits) + kLowBits) | block) & ~kLowBits;
                if (lit == 0) {
                    continue;
                }
                first = std::min(first, x + std::countr_zero(lit) / 8);
                last = std::max(last, x + (63 - std::countl_zero(lit)) / 8);
                do {
                    put(x + std::countr_zero(lit) / 8);
                    lit &= lit - 1;
                } while (lit != 0);
            }
            for (; x < to; ++x) {
                if (locus[x] != 0) {
                    first = std::min(first, x);
                    last = x;
                    put(x);
                }
            }
        });
        std::memset(locus + reach.from, 0, static_cast<size_t>(reach.to - reach.from));
        if (first > last) {
            continue;
        }
        band.left = std::min(band.left, first);
        band.right = std::max(band.right, last + 1);
        band.bottom = y + 1;
        // Waiting for frame pixels is most of the time here, and a line moves little from row
        // to row: ask for the frame where it will likely be two rows further on.
        if (y + 2 < box.bottom) {
            const uint32_t* ahead = pixels + 2 * width;
            const int to = std::min(last + 8, box.right - 1);
            for (int x = std::max(first - 8, box.left); x <= to; x += 16) {
                __builtin_prefetch(ahead + x, 1);
            }
        }
    }
    markBand();
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
    // The scratch is cleared and blended only within the line's reach, so the line must not
    // reach beyond it (see kLineEdgeMargin).
    const ZRect box = TrackLineRows(polyline, lineWidth, width, height, canvas.reach);
    if (box.left >= box.right || box.top >= box.bottom) {
        return;  // no pixel of the view is within reach of the line
    }
    DrawGradualMultiLine(width, height, &polyline, lineWidth, 0.0, fade / 255.0, 0.0, canvas.locus);
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
    const int64_t grow = LineGrowth(lineWidth);
    const ZRect box{static_cast<int32_t>(std::max<int64_t>(left - grow, 0)),
                    static_cast<int32_t>(std::max<int64_t>(top - grow, 0)),
                    static_cast<int32_t>(std::min<int64_t>(right + grow + 1, width)),
                    static_cast<int32_t>(std::min<int64_t>(bottom + grow + 1, height))};
    if (box.left >= box.right || box.top >= box.bottom) {
        return ZRect{0, 0, 0, 0};
    }
    return box;
}

ZRect TrackLineRows(const CPtrListCtrl& polyline, double lineWidth, int width, int height,
                    std::vector<ColumnSpan>& rows) {
    const ZRect box = TrackLineBox(polyline, lineWidth, width, height);
    rows.assign(static_cast<size_t>(box.bottom - box.top), ColumnSpan{box.right, box.left});
    if (rows.empty()) {
        return box;
    }
    // Each segment's bounding box grown like the box holds every pixel within reach of it.
    const int64_t grow = LineGrowth(lineWidth);
    const int count = polyline.GetCount();
    const int segments = count > 1 ? count - 1 : count;  // one point is a dot
    for (int i = 0; i < segments; ++i) {
        const void* from = polyline.GetAt(i);
        const void* to = polyline.GetAt(count > 1 ? i + 1 : i);
        const int64_t rowFrom =
            std::max<int64_t>(std::min(PackedY(from), PackedY(to)) - grow, box.top);
        const int64_t rowTo =
            std::min<int64_t>(std::max(PackedY(from), PackedY(to)) + grow + 1, box.bottom);
        const int left = static_cast<int>(
            std::max<int64_t>(std::min(PackedX(from), PackedX(to)) - grow, box.left));
        const int right = static_cast<int>(
            std::min<int64_t>(std::max(PackedX(from), PackedX(to)) + grow + 1, box.right));
        if (left >= right) {
            continue;  // beside the view
        }
        for (int64_t y = rowFrom; y < rowTo; ++y) {
            ColumnSpan& row = rows[static_cast<size_t>(y - box.top)];
            row.from = std::min(row.from, left);
            row.to = std::max(row.to, right);
        }
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
    const OverBlendTable::ColourBlend disc = blend.For(image.colour);
    const uint32_t discAlpha = (AlphaOf(image.colour) * fade) >> 8;
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
                for (int x = runFrom; x < runTo; ++x) {
                    pixels[x] = disc.Over(pixels[x], discAlpha);
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
