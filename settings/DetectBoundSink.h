// IDetectBoundSink: the radar library's detection bounds of its two tracking filters. The
// main window implements it with the library's ZUVO_Interface_RadarProcessFilter_... calls.
// The points are valid only during an add: the receiver copies what it keeps.
#pragma once

#include "ZUVO_DataProcess.h"

namespace zuvo::settings {

class IDetectBoundSink {
public:
    virtual ~IDetectBoundSink() = default;

    virtual void ClearModBounds() = 0;
    virtual void ClearMttBounds() = 0;
    virtual void AddModBound(const DetectBoundPoint* points, int count) = 0;
    virtual void AddMttBound(const DetectBoundPoint* points, int count) = 0;
};

}  // namespace zuvo::settings
