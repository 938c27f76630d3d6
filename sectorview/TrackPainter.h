// Drawing the tracks into the composed frame: a fading line through the track's points, then
// the marker disc at its newest point, both only where the sector mask is 1.
#pragma once

#include <cstdint>

#include "ZUVO_CommonCore.h"
#include "sectorview/DirtyTiles.h"
#include "sectorview/SectorGeometry.h"
#include "sectorview/SectorMask.h"
#include "sectorview/TrackList.h"
#include "sectorview/ViewSettings.h"

namespace zuvo::sector {

struct TrackCanvas {
    const SectorGeometry& geometry;
    const SectorViewSettings& settings;
    const MaskRuns& sectorMask;  // where overlays may draw
    uint8_t* locus;              // width x height line intensities, all 0 between calls
    CPtrListCtrl& polyline;      // scratch for one track's points at a time
    uint32_t* pixels;            // the window buffer
    DirtyTiles& drawn;           // marked wherever pixels may change
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

// Draws the line (when the settings draw loci) and the marker of every track, in list order.
void DrawTracks(const TrackCanvas& canvas, const TrackList& tracks);

void DrawTrackLine(const TrackCanvas& canvas, const SectorTrack& track, uint32_t fade);
void DrawTrackMarker(const TrackCanvas& canvas, const SectorTrack& track, uint32_t fade);

}  // namespace zuvo::sector
