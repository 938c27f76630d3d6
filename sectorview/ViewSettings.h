// The settings the sector view draws and tracks with, and the colours it draws in.
#pragma once

#include <cstdint>

namespace zuvo::sector {

// ARGB colours of the view.
constexpr uint32_t kPlainFillColour = 0xFF2A323C;    // background without a picture
constexpr uint32_t kInnerGridColour = 0xFF6393AF;    // inner range rings and radial lines
constexpr uint32_t kOuterGridColour = 0xFF7CBEE3;    // outer range ring and the straight edge
constexpr uint32_t kGateInsideColour = 0xFF71ABCC;   // shading inside the visible gate band
constexpr uint32_t kGateOutsideColour = 0xFFE55778;  // shading outside the visible gate band
constexpr uint32_t kTrackLineColour = 0xFFFCB0FD;
constexpr uint32_t kMarkerColour = 0xFFFFFFFF;

// What the view holds; every member starts at the value the view is constructed with.
struct SectorViewSettings {
    int topView = 1;             // 1: sensor at the top edge, the fan opens downward
    double angleStart = -180.0;  // view degrees, lower bound of the visible angle window
    double angleStop = 0.0;      // view degrees, upper bound
    double angleStep = 15.0;     // degrees between radial grid lines
    int ringCount = 20;          // range rings; below 1 means one ring per gate
    double gateMin = 0.0;        // first gate of the visible band
    double gateMax = 31.0;       // last gate of the visible band
    int gateCount = 32;          // gates across the fan radius
    int smoothCount = 1;         // moving-average length of the tracks
    uint32_t displayTimeMs = 2000;
    int drawLocus = 1;
    double radiusScale = 1.0;       // marker diameter in ring spacings
    double locusRadiusScale = 0.5;  // track-line width as a fraction of the marker radius
    uint32_t markerColour = kMarkerColour;
};

// The values the main window reads from its settings file and hands to the view.
struct SectorViewConfig {
    int topViewMode = 1;
    int drawLocus = 1;
    int angleStart = -150;
    int angleStop = -30;
    int angleStep = 10;
    int sectorCount = 20;
    double gateMin = 0.0;
    double gateMax = 31.0;
    int gateCount = 32;  // range gates of the radar parameter record
    double radiusScale = 1.0;
    double locusRadiusScale = 0.5;
    int displayTimeMs = 2000;
    int smoothCount = 3;
};

// The gate window as SetGateRange stores it: a gate max of 0 or less means the last gate; both
// ends are clamped into the gate count (gate min is not forced below gate max).
void ClampGateRange(double& gateMin, double& gateMax, int gateCount);

// settings with every value of config applied and clamped; the gate range through
// ClampGateRange.
SectorViewSettings ApplyConfig(SectorViewSettings settings, const SectorViewConfig& config);

}  // namespace zuvo::sector
