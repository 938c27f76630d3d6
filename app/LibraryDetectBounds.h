// The radar library's two tracking filters as receivers of detection bounds.
#pragma once

#include "ZUVO_DataProcess.h"
#include "settings/DetectBoundSink.h"

class CLibraryDetectBounds : public zuvo::settings::IDetectBoundSink {
public:
    void ClearModBounds() override { ZUVO_Interface_RadarProcessFilter_MOD_ClearHorzDetectBound(); }
    void ClearMttBounds() override { ZUVO_Interface_RadarProcessFilter_MTT_ClearDetectBound(); }
    void AddModBound(const DetectBoundPoint* points, int count) override {
        ZUVO_Interface_RadarProcessFilter_MOD_AddHorzDetectBound(points, count);
    }
    void AddMttBound(const DetectBoundPoint* points, int count) override {
        ZUVO_Interface_RadarProcessFilter_MTT_AddDetectBound(points, count);
    }
};
