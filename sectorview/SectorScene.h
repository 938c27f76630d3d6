// The sector view without its window: settings, layout, masks, tracks, areas and monitoring
// points, and the composing of a frame's overlays. CObjectSectorWnd wraps it with buffers,
// GDI+ drawing and messages; tests and benchmarks drive it directly, with their own clock.
//
// Threads: everything here runs on the user-interface thread except UpdateObjects and
// ClearTracks, which any thread may call. The user-interface thread is the only writer of the
// settings, the layout, the area tables and their masks; it changes whatever UpdateObjects
// reads only while holding the track lock, and builds new masks aside before swapping them in
// under it, so the update never waits for a rebuild. The track lock is always taken before
// the monitoring-point lock.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "ZUVO_CommonCore.h"
#include "sectorview/AreaTable.h"
#include "sectorview/DirtyTiles.h"
#include "sectorview/DiscImage.h"
#include "sectorview/HeatMap.h"
#include "sectorview/MonitorPointList.h"
#include "sectorview/SectorGeometry.h"
#include "sectorview/SectorMask.h"
#include "sectorview/SectorObject.h"
#include "sectorview/TrackList.h"
#include "sectorview/TrackPainter.h"
#include "sectorview/ViewSettings.h"

namespace zuvo::sector {

// Fills the areas of one table into the frame (the window supplies GDI+ for it).
class IAreaPainter {
public:
    virtual ~IAreaPainter() = default;
    // Fills every present slot of table in slot order; bit k of activeSlots is set when a track
    // is in slot k. Only pixels within the slots' bounds may change, and only as the table,
    // the active slots and the pixels there decide: the scene keeps the fills it had painted
    // in the frame until one of them changes.
    virtual void PaintAreas(const AreaTable& table, uint32_t activeSlots) = 0;
    // True when the background handed to ComposeFrame with this painter already holds the
    // fills it made last (the painter keeps that layered background itself): the scene then
    // restores the frame from that background everywhere and keeps no copy of its own.
    virtual bool KeepsFillsInBackground() const { return false; }
};

class SectorScene {
public:
    SectorScene();
    SectorScene(const SectorScene&) = delete;
    SectorScene& operator=(const SectorScene&) = delete;
    ~SectorScene();

    // ----- settings and layout (user-interface thread) -----

    // Every view setting from the settings file, clamped; the layout follows with Relayout.
    void ApplyConfig(const SectorViewConfig& config);
    void SetGateRange(double gateMin, double gateMax, int gateCount);
    // Recomputes the geometry for width x height and rebuilds the sector and area masks.
    void Relayout(int width, int height);
    const SectorViewSettings& Settings() const { return m_settings; }
    const SectorGeometry& Geometry() const { return m_geometry; }
    ZRect GetSectorRect() const { return m_geometry.sector; }

    // ----- areas and monitoring points (user-interface thread) -----

    // points are count (row, column) pairs relative to the sector rectangle.
    int AddAlgorithmArea(const int32_t* points, int count, uint32_t inactiveColour,
                         uint32_t activeColour);
    int AddMonitorArea(const int32_t* points, int count, uint32_t inactiveColour,
                       uint32_t activeColour);
    void ClearAlgorithmAreas();
    void ClearMonitorAreas();
    const AreaTable& AlgorithmAreas() const { return m_boundaries.table; }
    const AreaTable& MonitorAreas() const { return m_monitorAreas.table; }

    // A point sized for the current layout, to be labelled and then added.
    std::unique_ptr<MonitorPoint> MakePoint(double distance, double angle, double size,
                                            uint32_t inactiveColour, uint32_t activeColour) const;
    void AddMonitorPoint(std::unique_ptr<MonitorPoint> point);
    void ClearMonitorPoints();

    // ----- painting (user-interface thread) -----

    bool BackgroundDirty() const { return m_backgroundDirty; }
    // The background was rendered anew: the next frame starts from all of it.
    void MarkBackgroundRendered();
    // Rebuilds the sector mask and the area masks that are marked dirty.
    void RefreshMasks();
    // Composes frame (width x height, the window buffer): the background, then the areas
    // (through painter, may be null), the heat map when shown, the tracks and the monitoring
    // points. The frame keeps
    // what the last composition left in it, so the background is only copied back where the
    // overlays were drawn, unless the layout or the background changed since; and the areas
    // are only filled again when a table, the areas holding a track, or the background
    // changed, or the layout did.
    void ComposeFrame(uint32_t* frame, const uint32_t* background, uint32_t now,
                      IAreaPainter* painter);
    const std::vector<uint8_t>& SectorMask() const { return m_sectorMask; }

    // ----- heat map -----

    // Shows the heat map under the tracks or hides it (user-interface thread). Positions are
    // counted either way.
    void ShowHeatMap(bool shown);
    bool HeatMapShown() const { return m_heatShown; }
    // Empties the heat map (a run starts; any thread).
    void ClearHeatMap();
    // Every position the heat map holds (any thread).
    uint64_t HeatMapTotal() const;
    // Blends the heat map over pixels, a frame of the view's size, inside the fan
    // (user-interface thread).
    void BlendHeatMap(uint32_t* pixels) const;

    // Frees the masks and the scratch, empties both area tables and drops every track (the
    // window is being destroyed); the settings and the monitoring points stay.
    void ReleaseLayout();

    // ----- any thread -----

    // Feeds one batch of SectorObject pointers (null: an empty batch) taken at time now.
    void UpdateObjects(const CPtrListCtrl* objects, uint32_t now);
    void ClearTracks();
    // Where the label of monitoring area slot sits (user-interface thread, after RefreshMasks:
    // that thread alone changes the areas and their masks). False without such an area.
    bool MonitorAreaLabelAnchor(int slot, int& x, int& y) const {
        return AreaLabelAnchor(m_monitorAreas.table, slot, m_monitorAreas.mask, m_geometry.width,
                               m_geometry.height, x, y);
    }
    // Counts every change of either area table: labels placed for one count stay right until
    // the next (or the next layout).
    uint32_t AreaChanges() const { return m_areaChanges; }
    // The frame was drawn on inside box outside the composition (user-interface thread): the
    // next composition restores it there first.
    void MarkOverlay(const ZRect& box) { m_drawn.Mark(box); }

    // Every track's monitoring area, in the track list's order (any thread, under the track
    // lock): what the area events observe after each update.
    void TrackAreas(std::vector<TrackArea>& areas) const;

    // Copies for tests and diagnostics, taken under the locks.
    std::vector<SectorTrack> CopyTracks() const;
    std::vector<int> MonitorPointHits() const;
    HeatMap CopyHeatMap() const;

private:
    struct AreaLayer {
        AreaTable table;
        std::vector<uint32_t> mask;
        bool maskDirty = false;
    };

    void AcceptObject(const SectorObject& object, uint32_t now);
    uint32_t MaskBitsAt(const std::vector<uint32_t>& mask, const PixelPoint& position) const;
    int AddArea(AreaLayer& layer, const int32_t* points, int count, uint32_t inactiveColour,
                uint32_t activeColour);
    void ClearArea(AreaLayer& layer);
    void RebuildAreaMask(AreaLayer& layer);
    // The geometry of a width x height view with settings, with a layout id of its own.
    SectorGeometry NewLayout(int width, int height, const SectorViewSettings& settings);
    // Takes new settings with the geometry and marker image they give.
    void ReplaceSettings(const SectorViewSettings& settings);
    uint32_t ActiveSlots(bool boundaries) const;
    // Brings the area fills in frame up to date for painter (none when null); under the track
    // lock, after the frame was restored.
    void RefreshFills(uint32_t* frame, const uint32_t* background, IAreaPainter* painter);
    // Brings the heat map in frame and in its layer up to date; under the track lock, after the
    // fills.
    void RefreshHeat(uint32_t* frame, const uint32_t* background);
    // The sources the frame is restored from, heat map and fills included.
    TileSources RestoreSources(const uint32_t* background) const;
    // Starts the fills over: none in the frame, none kept.
    void ForgetFills();

    // What the fills in the frame were painted for.
    struct FillState {
        uint32_t areaChanges = 0;  // m_areaChanges then
        uint32_t activeBoundaries = 0;
        uint32_t activeMonitorAreas = 0;
        bool operator==(const FillState&) const = default;
    };

    mutable CBaseLock m_trackLock;
    mutable CBaseLock m_pointLock;

    // Written under the track lock by the user-interface thread, read by UpdateObjects.
    SectorViewSettings m_settings;
    SectorGeometry m_geometry;
    bool m_laidOut = false;
    uint32_t m_layoutCount = 0;  // user-interface thread only
    std::shared_ptr<const DiscImage> m_markerImage;
    AreaLayer m_boundaries;
    AreaLayer m_monitorAreas;
    // Guarded by the track lock.
    TrackList m_tracks;
    // Every accepted position of the run.
    HeatMap m_heat;
    // Guarded by the monitoring-point lock.
    MonitorPointList m_points;

    // User-interface thread only.
    std::vector<uint8_t> m_sectorMask;
    MaskRuns m_sectorRuns;  // the same mask as runs, for drawing
    std::vector<uint8_t> m_locus;
    CPtrListCtrl m_polyline;
    std::vector<ColumnSpan> m_lineReach;
    DirtyTiles m_drawn;  // where the frame differs from what it is restored from
    // The area fills: where the frame holds them, underlay holds the background with them,
    // and the frame is restored from there.
    DirtyTiles m_filled;
    std::vector<uint32_t> m_underlay;
    FillState m_fills;
    bool m_fillsValid = false;
    uint32_t m_areaChanges = 0;  // counts the changes of either table
    // Tiles the fills put back to the base (background and fills) in this composition.
    DirtyTiles m_baseTouched;
    // The heat map, while shown: where heatTiles marks it, heatLayer holds the base with the
    // heat map over it, and the frame is restored from there.
    bool m_heatShown = false;
    bool m_heatAll = true;  // every tile of the heat layer is to be made anew
    std::vector<uint32_t> m_heatLayer;
    DirtyTiles m_heatTiles;
    DirtyTiles m_heatRebuild;  // scratch: the tiles made anew in this composition
    bool m_backgroundDirty = true;
    bool m_sectorMaskDirty = true;
};

}  // namespace zuvo::sector
