// Detection boundaries as the radar library's detection bounds.
//
// The view keeps a boundary in pixels relative to the sector rectangle; the library wants
// range gates and lateral offsets in gate units on its bound grid of K gates (the parameter
// record's BoundGateLimit), while the scale comes from the gate count G.
#pragma once

#include <cstdint>
#include <vector>

#include "ZUVO_DataProcess.h"
#include "settings/AppConfig.h"
#include "settings/AreaView.h"
#include "settings/DetectBoundSink.h"

namespace zuvo::settings {

// Converts count (row, column) pairs of a sector rectangle of fanWidth x fanHeight pixels:
// gate = round(row x G / fanHeight), lateral = round(column x 2G / fanWidth - G), halves away
// from zero; with the sensor at the bottom edge (topViewMode false) gate = K - gate; then gate
// is limited to 0 .. K - 1 and lateral to -K .. K - 1. Empty when the rectangle has no area.
std::vector<DetectBoundPoint> ToDetectBound(const int32_t* rowColumnPairs, int count,
                                            int32_t fanWidth, int32_t fanHeight, bool topViewMode,
                                            int gateCount, int boundGateLimit);

// Clears the bounds of the MOD and then the MTT filter and hands every detection boundary of
// the view, in slot order, to both filters (MOD first) with the same points. Uses the gate
// count and bound grid of radar and the orientation of settings.
void ApplyDetectBounds(const IAreaView& view, IDetectBoundSink& sink, const AppConfig& settings,
                       const tagRADARPARAMETER& radar);

}  // namespace zuvo::settings
