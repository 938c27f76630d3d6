// Monitoring points: discs at fixed positions that light up while an object is within reach.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "sectorview/DiscImage.h"
#include "sectorview/DirtyTiles.h"
#include "sectorview/SectorGeometry.h"
#include "sectorview/SectorMask.h"

namespace zuvo::sector {

struct MonitorPoint {
    double distance = 0.0;  // range gates
    double angle = 0.0;     // view degrees
    double size = 1.0;      // disc diameter in ring spacings
    int hit = 0;            // an object was within reach at the last update
    DiscImage normalImage;  // inactive colour, with the label
    DiscImage hitImage;     // active colour
    // The position in gate units (distance cos, distance sin of the angle) the hit test uses.
    double gateX = 0.0;
    double gateY = 0.0;
};

// A point with both discs sized for the geometry (diameter size ring spacings) in the two
// COLORREF colours; the label is drawn onto normalImage by the caller, which then calls
// FinishLabelledImage.
std::unique_ptr<MonitorPoint> MakeMonitorPoint(const SectorGeometry& geometry, double distance,
                                               double angle, double size, uint32_t inactiveColour,
                                               uint32_t activeColour);

// Gives every pixel that carries colour but no alpha full alpha.
void FinishLabelledImage(DiscImage& image);

// (distance cos a, distance sin a) of a position in view degrees, without mirroring.
void GatePosition(double distance, double angle, double& x, double& y);

// The list in insertion order. Not locked itself: the view guards it with its
// monitoring-point lock.
class MonitorPointList {
public:
    int Count() const { return static_cast<int>(m_points.size()); }
    const MonitorPoint& At(int index) const { return *m_points[static_cast<size_t>(index)]; }

    void Add(std::unique_ptr<MonitorPoint> point) { m_points.push_back(std::move(point)); }
    void Clear() { m_points.clear(); }
    void ClearHits();

    // Marks every point not yet hit whose distance to the object at (gateX, gateY) is below
    // (radiusScale + the point's size) x 0.5.
    void HitTest(double gateX, double gateY, double radiusScale);

    // Copies each point's image (the hit image while hit) centred on its position into pixels
    // (the window buffer) where the sector mask is 1 and the image is not transparent; marks
    // the images' places in drawn.
    void Draw(const SectorGeometry& geometry, const MaskRuns& sectorMask, uint32_t* pixels,
              DirtyTiles& drawn) const;

private:
    std::vector<std::unique_ptr<MonitorPoint>> m_points;
};

}  // namespace zuvo::sector
