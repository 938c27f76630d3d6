// IAreaMonitorDlgListener: what the area monitoring panel reports. The panel does no work of
// its own; the main window implements this interface and receives every action with the
// context it gave the panel. Colours are COLORREF values (0x00BBGGRR).
#pragma once

#include <cstdint>

class IAreaMonitorDlgListener {
public:
    virtual ~IAreaMonitorDlgListener() = default;

    // Apply: the range-gate window typed into the two fields. Answers true when the settings
    // file was written; the panel does not look at the answer.
    virtual bool ApplyGateRange(double gateMin, double gateMax, int64_t context) = 0;
    // Starts drawing a monitoring area with the panel's colours of the moment.
    virtual void BeginAddMonitorArea(uint32_t inactiveColour, uint32_t activeColour,
                                     int64_t context) = 0;
    virtual void DeleteAllMonitorAreas(int64_t context) = 0;
    // Starts drawing a detection boundary.
    virtual void BeginAddBoundary(uint32_t inactiveColour, uint32_t activeColour,
                                  int64_t context) = 0;
    virtual void DeleteAllBoundaries(int64_t context) = 0;
};
