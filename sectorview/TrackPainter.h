// Drawing the tracks into the composed frame: a fading line through the track's points, then
// the marker disc at its newest point, both only where the sector mask is 1.
#pragma once

#include <cstdint>
#include <vector>

#include "ZUVO_CommonCore.h"
#include "sectorview/DirtyTiles.h"
#include "sectorview/SectorGeometry.h"
#include "sectorview/SectorMask.h"
#include "sectorview/TrackList.h"
#include "sectorview/ViewSettings.h"

namespace zuvo::sector {

// Columns from ... to - 1 of one row; empty when from >= to.
struct ColumnSpan {
    int from;
    int to;
};

struct TrackCanvas {
    const SectorGeometry& geometry;
    const SectorViewSettings& settings;
    const MaskRuns& sectorMask;      // where overlays may draw
    uint8_t* locus;                  // width x height line intensities, all 0 between calls
    CPtrListCtrl& polyline;          // scratch for one track's points at a time
    std::vector<ColumnSpan>& reach;  // scratch for one track line's rows (TrackLineRows)
    uint32_t* pixels;                // the window buffer
    DirtyTiles& drawn;               // marked wherever pixels changed
    uint32_t now;
};

// The track's polyline: the newest point's pixel, then each older point that lies more than
// 4 pixels (unrounded) from the last point taken. Pixels as packed points (PackedPoint.h).
void BuildTrackPolyline(const SectorGeometry& geometry, const SectorTrack& track,
                        CPtrListCtrl& polyline);

// The pixels of a width x height view that a line of lineWidth through the polyline can
// colour, whoever draws it: the points' bounding box grown by half the width and a margin for
// the line's soft edge, clipped to the view (right and bottom exclusive; all 0 when nothing of
// the view is within reach).
ZRect TrackLineBox(const CPtrListCtrl& polyline, double lineWidth, int width, int height);

// The same reach row by row: answers the box and leaves in rows, for each of its rows from the
// top, the columns within the box that lie within reach of a segment of the polyline (of its
// point when it has one), grown like the box. A line bends and runs at a slant, so these hold
// far fewer pixels than its box.
ZRect TrackLineRows(const CPtrListCtrl& polyline, double lineWidth, int width, int height,
                    std::vector<ColumnSpan>& rows);

// Draws the line (when the settings draw loci) and the marker of every track, in list order.
void DrawTracks(const TrackCanvas& canvas, const TrackList& tracks);

void DrawTrackLine(const TrackCanvas& canvas, const SectorTrack& track, uint32_t fade);
void DrawTrackMarker(const TrackCanvas& canvas, const SectorTrack& track, uint32_t fade);

}  // namespace zuvo::sector
