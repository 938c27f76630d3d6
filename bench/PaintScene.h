// The scene the window benchmark paints: what an operator's busy view holds, laid out for one
// view geometry and moved as a 20 Hz sensor moves it.
//   - 8 detection boundaries: wedges that together cover the fan, so every object is shown;
//   - 32 monitoring areas of 1000 vertices, ragged concave outlines in the fan's outer half;
//   - 100 objects: one circling inside each of the first 11 areas (a third of them lit), the
//     others walking through the inner half of the fan, where no area reaches;
//   - 20 monitoring points.
// Nothing here depends on the window: areas are fan-relative (row, column) pairs, as the view's
// add operations take them.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "ZUVO_CommonCore.h"
#include "sectorview/SectorGeometry.h"
#include "sectorview/SectorObject.h"

namespace zuvo::bench {

constexpr int kBoundaryCount = 8;
constexpr int kMonitorAreaCount = 32;
constexpr int kLitAreaCount = 11;  // areas with an object circling inside
constexpr int kObjectCount = 100;
constexpr int kPointCount = 20;
constexpr int kAreaVertices = 1000;
constexpr uint32_t kDeliveryIntervalMs = 50;  // 20 Hz: 40 points in a display time of 2 s

// The view settings the scene is made for: top view, angles -150 ... -30, gates 2 ... 28,
// display time 2000 ms, smooth count 3.
sector::SectorViewConfig PaintSceneConfig();

struct PointSpot {
    double distance;  // gates
    double angle;     // view degrees
};

class PaintScene {
public:
    PaintScene(const sector::SectorGeometry& geometry, uint32_t seed);

    // (row, column) pairs relative to the sector rectangle.
    const std::vector<std::vector<int32_t>>& Boundaries() const { return m_boundaries; }
    const std::vector<std::vector<int32_t>>& MonitorAreas() const { return m_areas; }
    const std::vector<PointSpot>& Points() const { return m_points; }

    // The next delivery: every object one step further. The list points into this scene and
    // stays valid until the next call. With visitArea, the last object is a new one each time,
    // in the middle of that monitoring area: the area lights up.
    const CPtrListCtrl& Next(int visitArea = -1);

private:
    struct Circler {
        double distance;  // centre, gates
        double angle;     // centre, view degrees
        double radiusGates;
        double radiusDegrees;
        double phase;
    };
    struct Walker {
        double distanceStep;
        double angleStep;
    };

    std::vector<int32_t> Wedge(int index);
    std::vector<int32_t> RaggedArea(double distance, double angle, double size);
    void Step(size_t index);

    sector::SectorGeometry m_geometry;
    std::mt19937 m_random;
    std::vector<std::vector<int32_t>> m_boundaries;
    std::vector<std::vector<int32_t>> m_areas;
    std::vector<PointSpot> m_points;
    std::vector<PointSpot> m_areaCentres;
    SectorObject m_visitor;
    int64_t m_visitors = 0;
    std::vector<Circler> m_circlers;  // objects 0 ... kLitAreaCount - 1
    std::vector<Walker> m_walkers;    // the others
    std::vector<SectorObject> m_objects;
    CPtrListCtrl m_list;
};

}  // namespace zuvo::bench
