// One detected object as the main window hands it to the sector view.
#pragma once

#include <cstdint>

struct SectorObject {
    int64_t id = 0;         // the radar library's object identifier; the key of the track
    double distance = 0.0;  // range-gate units
    double angle = 0.0;     // view degrees: the library's angle minus 90
};
