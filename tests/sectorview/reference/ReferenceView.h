// Straightforward implementations of the sector view's pixel and track steps, written the way
// the rules read: every pixel of the view, every track into a whole-view scratch buffer, every
// blend in floating point, tracks in the utility library's pointer containers. They are slow
// on purpose and serve as oracles: the tests require the view's fast paths to give exactly
// their results, and the benchmarks time them beside the fast paths.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "ZUVO_CommonCore.h"
#include "sectorview/AreaTable.h"
#include "sectorview/HeatMap.h"
#include "sectorview/MonitorPointList.h"
#include "sectorview/SectorGeometry.h"
#include "sectorview/SectorObject.h"
#include "sectorview/TrackList.h"
#include "sectorview/ViewSettings.h"

namespace zuvo::sector::reference {

// 1 where a pixel of the sector rectangle is in the fan and the gate band.
std::vector<uint8_t> SectorMask(const SectorGeometry& geometry, const SectorViewSettings& settings);

// Shades the fan of pixels (width x height) pixel by pixel.
void ShadeSector(const SectorGeometry& geometry, const SectorViewSettings& settings,
                 uint32_t* pixels);

// Every present slot's polygon tested at every pixel with IsPointInPolygonSides. With
// wholeView false only the pixels of each polygon's bounding box are tested (the test
// answers "outside" everywhere else), which keeps large views affordable.
std::vector<uint32_t> AreaMask(const AreaTable& table, int width, int height, bool wholeView);

uint32_t OverBlend(uint32_t destination, uint32_t colour, double sourceAlpha);

// Copies background into pixels, fills the areas of the tables given (detection boundaries,
// then monitoring areas, with the portable fill, lit where a track's index names the slot),
// then blends the heat map's colour of every pixel's cell in the fan (when given), then draws
// every track (line into a cleared whole-view scratch buffer, scanned whole; marker pixel by
// pixel) and the monitoring points.
void Compose(const SectorGeometry& geometry, const SectorViewSettings& settings,
             const std::vector<uint8_t>& sectorMask, const std::vector<SectorTrack>& tracks,
             const MonitorPointList& points, const uint32_t* background, uint32_t* pixels,
             uint32_t now, const AreaTable* boundaries = nullptr,
             const AreaTable* monitorAreas = nullptr, const HeatMap* heat = nullptr);

// The object update as written: tracks in a CPtrArrayCtrl, points in CPtrListCtrls, the track
// found with FindData, a marker image made for every new track, monitoring positions converted
// at every test.
class Tracker {
public:
    Tracker(const SectorGeometry& geometry, const SectorViewSettings& settings);
    Tracker(const Tracker&) = delete;
    Tracker& operator=(const Tracker&) = delete;
    ~Tracker();

    // The area tables and masks the filter and the membership read.
    void SetAreas(const AreaTable* boundaries, const std::vector<uint32_t>* boundaryMask,
                  const AreaTable* monitorAreas, const std::vector<uint32_t>* monitorMask);
    // (distance, angle, size) of each monitoring point.
    void AddMonitorPoint(double distance, double angle, double size);

    void UpdateObjects(const CPtrListCtrl* objects, uint32_t now);

    // The tracks in the view's own form, for comparison.
    std::vector<SectorTrack> Snapshot() const;
    const std::vector<int>& Hits() const { return m_hits; }

private:
    struct Point {
        double distance;
        double angle;
        double size;
    };

    void Accept(const SectorObject& object, uint32_t now);
    bool InAnyBoundary(double distance, double angle) const;
    int32_t Membership(int32_t current, const AreaTable* table, const std::vector<uint32_t>* mask,
                       double distance, double angle) const;
    void FreeTrack(void* track);

    SectorGeometry m_geometry;
    SectorViewSettings m_settings;
    const AreaTable* m_boundaries = nullptr;
    const std::vector<uint32_t>* m_boundaryMask = nullptr;
    const AreaTable* m_monitorAreas = nullptr;
    const std::vector<uint32_t>* m_monitorMask = nullptr;
    std::vector<Point> m_points;
    std::vector<int> m_hits;
    CPtrArrayCtrl m_tracks;
};

}  // namespace zuvo::sector::reference
