#include "sectorview/SectorScene.h"

#include <utility>

namespace zuvo::sector {

namespace {

size_t PixelCount(const SectorGeometry& geometry) {
    return static_cast<size_t>(geometry.width) * static_cast<size_t>(geometry.height);
}

// The shared marker image for geometry and colour: the current one when it still fits.
std::shared_ptr<const DiscImage> MarkerImageFor(const std::shared_ptr<const DiscImage>& current,
                                                const SectorGeometry& geometry, uint32_t colour) {
    if (current && current->edge == 2 * geometry.markerRadius + 1 &&
        current->colour == (colour | 0xFF000000u)) {
        return current;
    }
    return std::make_shared<const DiscImage>(MakeDisc(geometry.markerRadius, colour));
}

}  // namespace

SectorScene::SectorScene()
    : m_markerImage(MarkerImageFor(nullptr, m_geometry, m_settings.markerColour)) {}

SectorScene::~SectorScene() = default;

void SectorScene::ApplyConfig(const SectorViewConfig& config) {
    ReplaceSettings(zuvo::sector::ApplyConfig(m_settings, config));
}

void SectorScene::SetGateRange(double gateMin, double gateMax, int gateCount) {
    SectorViewSettings settings = m_settings;
    settings.gateMin = gateMin;
    settings.gateMax = gateMax;
    settings.gateCount = gateCount;
    ClampGateRange(settings.gateMin, settings.gateMax, settings.gateCount);
    ReplaceSettings(settings);
}

void SectorScene::ReplaceSettings(const SectorViewSettings& settings) {
    // The gate count also sets the pixels per gate (and, without rings, the marker size), so
    // the derived geometry follows at once instead of waiting for the next relayout.
    const SectorGeometry geometry =
        m_laidOut ? NewLayout(m_geometry.width, m_geometry.height, settings) : m_geometry;
    auto markerImage = MarkerImageFor(m_markerImage, geometry, settings.markerColour);
    {
        CAutoBaseLock lock(m_trackLock);
        m_settings = settings;
        m_geometry = geometry;
        m_markerImage = std::move(markerImage);
        if (m_laidOut) {
            m_heat.Relayout(geometry);
        }
    }
    m_backgroundDirty = true;
    m_sectorMaskDirty = true;
}

SectorGeometry SectorScene::NewLayout(int width, int height, const SectorViewSettings& settings) {
    SectorGeometry geometry = ComputeGeometry(width, height, settings);
    geometry.layout = ++m_layoutCount;
    return geometry;
}

void SectorScene::Relayout(int width, int height) {
    const SectorGeometry geometry = NewLayout(width, height, m_settings);
    auto markerImage = MarkerImageFor(m_markerImage, geometry, m_settings.markerColour);
    std::vector<uint8_t> sectorMask(PixelCount(geometry));
    BuildSectorMask(geometry, m_settings, sectorMask.data());
    std::vector<uint32_t> boundaryMask;
    std::vector<uint32_t> monitorMask;
    BuildAreaMask(m_boundaries.table, geometry.width, geometry.height, boundaryMask);
    BuildAreaMask(m_monitorAreas.table, geometry.width, geometry.height, monitorMask);
    {
        CAutoBaseLock lock(m_trackLock);
        m_laidOut = true;
        m_geometry = geometry;
        m_markerImage = std::move(markerImage);
        m_boundaries.mask.swap(boundaryMask);
        m_monitorAreas.mask.swap(monitorMask);
        m_heat.Relayout(geometry);
    }
    m_sectorMask.swap(sectorMask);
    m_sectorRuns.Build(m_sectorMask.data(), geometry.width, geometry.height);
    m_locus.assign(PixelCount(geometry), 0);
    m_drawn.Reset(geometry.width, geometry.height);
    m_filled.Reset(geometry.width, geometry.height);
    ForgetFills();
    for (DirtyTiles* tiles : {&m_baseTouched, &m_heatTiles, &m_heatRebuild}) {
        tiles->Reset(geometry.width, geometry.height);
        tiles->UnmarkAll();
    }
    m_heatLayer = std::vector<uint32_t>();
    m_heatAll = true;
    m_sectorMaskDirty = false;
    m_boundaries.maskDirty = false;
    m_monitorAreas.maskDirty = false;
    m_backgroundDirty = true;
}

int SectorScene::AddAlgorithmArea(const int32_t* points, int count, uint32_t inactiveColour,
                                  uint32_t activeColour) {
    return AddArea(m_boundaries, points, count, inactiveColour, activeColour);
}

int SectorScene::AddMonitorArea(const int32_t* points, int count, uint32_t inactiveColour,
                                uint32_t activeColour) {
    return AddArea(m_monitorAreas, points, count, inactiveColour, activeColour);
}

void SectorScene::ClearAlgorithmAreas() {
    ClearArea(m_boundaries);
}

void SectorScene::ClearMonitorAreas() {
    ClearArea(m_monitorAreas);
}

int SectorScene::AddArea(AreaLayer& layer, const int32_t* points, int count,
                         uint32_t inactiveColour, uint32_t activeColour) {
    int index = -1;
    {
        CAutoBaseLock lock(m_trackLock);
        index = layer.table.Add(points, count, inactiveColour, activeColour, m_geometry.sector.top,
                                m_geometry.sector.left);
    }
    if (index >= 0) {
        layer.maskDirty = true;
        ++m_areaChanges;
    }
    return index;
}

void SectorScene::ClearArea(AreaLayer& layer) {
    {
        CAutoBaseLock lock(m_trackLock);
        layer.table.Clear();
    }
    layer.maskDirty = true;
    ++m_areaChanges;
}

std::unique_ptr<MonitorPoint> SectorScene::MakePoint(double distance, double angle, double size,
                                                     uint32_t inactiveColour,
                                                     uint32_t activeColour) const {
    return MakeMonitorPoint(m_geometry, distance, angle, size, inactiveColour, activeColour);
}

void SectorScene::AddMonitorPoint(std::unique_ptr<MonitorPoint> point) {
    if (!point) {
        return;
    }
    CAutoBaseLock lock(m_pointLock);
    m_points.Add(std::move(point));
}

void SectorScene::ClearMonitorPoints() {
    CAutoBaseLock lock(m_pointLock);
    m_points.Clear();
}

void SectorScene::RefreshMasks() {
    if (!m_laidOut) {
        return;
    }
    if (m_sectorMaskDirty && m_sectorMask.size() == PixelCount(m_geometry)) {
        BuildSectorMask(m_geometry, m_settings, m_sectorMask.data());
        m_sectorRuns.Build(m_sectorMask.data(), m_geometry.width, m_geometry.height);
        m_sectorMaskDirty = false;
    }
    if (m_boundaries.maskDirty) {
        RebuildAreaMask(m_boundaries);
    }
    if (m_monitorAreas.maskDirty) {
        RebuildAreaMask(m_monitorAreas);
    }
}

void SectorScene::RebuildAreaMask(AreaLayer& layer) {
    std::vector<uint32_t> mask;
    BuildAreaMask(layer.table, m_geometry.width, m_geometry.height, mask);
    {
        CAutoBaseLock lock(m_trackLock);
        layer.mask.swap(mask);
    }
    layer.maskDirty = false;
}

uint32_t SectorScene::ActiveSlots(bool boundaries) const {
    uint32_t active = 0;
    for (int i = 0; i < m_tracks.Count(); ++i) {
        const SectorTrack& track = m_tracks.At(i);
        const int32_t index = boundaries ? track.boundaryIndex : track.monitorIndex;
        if (index >= 0 && index < kAreaSlots) {
            active |= uint32_t{1} << index;
        }
    }
    return active;
}

void SectorScene::MarkBackgroundRendered() {
    m_backgroundDirty = false;
    m_drawn.MarkAll();
    ForgetFills();
    m_heatAll = true;
}

void SectorScene::ForgetFills() {
    m_filled.UnmarkAll();
    m_underlay = std::vector<uint32_t>();
    m_fillsValid = false;
}

void SectorScene::RefreshFills(uint32_t* frame, const uint32_t* background, IAreaPainter* painter) {
    const bool anyArea =
        (m_boundaries.table.PresentBits() | m_monitorAreas.table.PresentBits()) != 0;
    if (painter == nullptr || !anyArea) {
        if (m_fillsValid) {
            m_baseTouched.MarkUnion(m_filled);
            m_filled.Copy(background, frame);
            ForgetFills();
        }
        return;
    }
    const FillState wanted{m_areaChanges, ActiveSlots(true), ActiveSlots(false)};
    if (m_fillsValid && wanted == m_fills) {
        return;
    }
    // The painter fills over the bare background, wherever the old fills were and wherever
    // the new ones go.
    m_baseTouched.MarkUnion(m_filled);
    m_filled.Copy(background, frame);
    m_filled.UnmarkAll();
    for (const AreaLayer* layer : {&m_boundaries, &m_monitorAreas}) {
        for (int slot = 0; slot < kAreaSlots; ++slot) {
            const SectorArea& area = layer->table.Slot(slot);
            if (area.present) {
                m_filled.Mark(area.bounds);
            }
        }
    }
    m_baseTouched.MarkUnion(m_filled);
    m_filled.Copy(background, frame);
    if (m_boundaries.table.PresentBits() != 0) {
        painter->PaintAreas(m_boundaries.table, wanted.activeBoundaries);
    }
    if (m_monitorAreas.table.PresentBits() != 0) {
        painter->PaintAreas(m_monitorAreas.table, wanted.activeMonitorAreas);
    }
    if (painter->KeepsFillsInBackground()) {
        m_underlay = std::vector<uint32_t>();
    } else {
        m_underlay.resize(PixelCount(m_geometry));
        m_filled.Copy(frame, m_underlay.data());
    }
    m_fills = wanted;
    m_fillsValid = true;
}

void SectorScene::ComposeFrame(uint32_t* frame, const uint32_t* background, uint32_t now,
                               IAreaPainter* painter) {
    if (frame == nullptr || background == nullptr || m_sectorMask.empty() ||
        m_sectorMask.size() != PixelCount(m_geometry) || m_locus.size() != m_sectorMask.size()) {
        return;
    }
    m_drawn.Restore(RestoreSources(background), frame);
    {
        CAutoBaseLock lock(m_trackLock);
        RefreshFills(frame, background, painter);
        RefreshHeat(frame, background);
        const TrackCanvas canvas{m_geometry,     m_settings, m_sectorRuns,
                                 m_locus.data(), m_polyline, m_lineReach,
                                 frame,          m_drawn,    now};
        DrawTracks(canvas, m_tracks);
    }
    CAutoBaseLock lock(m_pointLock);
    m_points.Draw(m_geometry, m_sectorRuns, frame, m_drawn);
}

TileSources SectorScene::RestoreSources(const uint32_t* background) const {
    // Without an underlay of its own (none yet, or the painter keeps the fills in the
    // background), the background holds the base everywhere.
    TileSources sources{background, m_underlay.empty() ? nullptr : m_underlay.data(), &m_filled};
    if (m_heatShown && !m_heatLayer.empty()) {
        sources.overlay = m_heatLayer.data();
        sources.overlayTiles = &m_heatTiles;
    }
    return sources;
}

void SectorScene::RefreshHeat(uint32_t* frame, const uint32_t* background) {
    if (!m_heatShown) {
        m_baseTouched.UnmarkAll();
        return;
    }
    if (m_heatLayer.size() != PixelCount(m_geometry)) {
        m_heatLayer.assign(PixelCount(m_geometry), 0);
        m_heatTiles.UnmarkAll();
        m_heatAll = true;
    }
    // Made anew: the tiles whose heat changed, the heat tiles the fills put back to their base
    // (the layer holds the fills of before there), and all of them when the base changed
    // everywhere.
    m_heatRebuild.UnmarkAll();
    m_heat.TakeChanges(m_heatRebuild);
    if (m_heatAll) {
        m_heatRebuild.MarkAll();
        m_heatAll = false;
    }
    m_baseTouched.KeepIntersection(m_heatTiles);
    m_heatRebuild.MarkUnion(m_baseTouched);
    m_baseTouched.UnmarkAll();
    if (!m_heatRebuild.AnyMarked()) {
        return;
    }
    TileSources base = RestoreSources(background);
    base.overlay = nullptr;
    m_heatRebuild.Copy(base, m_heatLayer.data());
    m_heatRebuild.ForEachRect(
        [&](const ZRect& box) { m_heat.Blend(m_heatLayer.data(), m_sectorMask.data(), box); });
    m_heatRebuild.Copy(m_heatLayer.data(), frame);
    m_heatTiles.MarkUnion(m_heatRebuild);
}

void SectorScene::ShowHeatMap(bool shown) {
    if (shown == m_heatShown) {
        return;
    }
    m_heatShown = shown;
    if (shown) {
        m_heatAll = true;
        return;
    }
    // The frame goes back to its base wherever it showed the heat map.
    m_drawn.MarkUnion(m_heatTiles);
    m_heatTiles.UnmarkAll();
    m_heatLayer = std::vector<uint32_t>();
}

void SectorScene::ClearHeatMap() {
    CAutoBaseLock lock(m_trackLock);
    m_heat.Clear();
}

uint64_t SectorScene::HeatMapTotal() const {
    CAutoBaseLock lock(m_trackLock);
    return m_heat.Total();
}

void SectorScene::BlendHeatMap(uint32_t* pixels) const {
    if (pixels == nullptr || m_sectorMask.size() != PixelCount(m_geometry)) {
        return;
    }
    CAutoBaseLock lock(m_trackLock);
    m_heat.Blend(pixels, m_sectorMask.data(), ZRect{0, 0, m_geometry.width, m_geometry.height});
}

void SectorScene::ReleaseLayout() {
    std::vector<uint32_t> boundaryMask;
    std::vector<uint32_t> monitorMask;
    {
        CAutoBaseLock lock(m_trackLock);
        m_boundaries.table.Clear();
        m_monitorAreas.table.Clear();
        m_boundaries.mask.swap(boundaryMask);
        m_monitorAreas.mask.swap(monitorMask);
        m_tracks.Clear();
    }
    m_sectorMask = std::vector<uint8_t>();
    m_sectorRuns.Build(nullptr, 0, 0);
    m_locus = std::vector<uint8_t>();
    ForgetFills();
    m_heatLayer = std::vector<uint32_t>();
    m_heatTiles.UnmarkAll();
    m_heatAll = true;
    m_sectorMaskDirty = true;
    m_backgroundDirty = true;
}

uint32_t SectorScene::MaskBitsAt(const std::vector<uint32_t>& mask,
                                 const PixelPoint& position) const {
    int x = 0;
    int y = 0;
    if (!RoundToPixel(position, x, y) || !InView(m_geometry, x, y) ||
        mask.size() != PixelCount(m_geometry)) {
        return 0;
    }
    return mask[static_cast<size_t>(y) * static_cast<size_t>(m_geometry.width) +
                static_cast<size_t>(x)];
}

void SectorScene::UpdateObjects(const CPtrListCtrl* objects, uint32_t now) {
    {
        CAutoBaseLock lock(m_pointLock);
        m_points.ClearHits();
    }
    CAutoBaseLock lock(m_trackLock);
    m_tracks.ExpirePoints(now, m_settings.displayTimeMs);
    if (objects == nullptr) {
        return;
    }
    const int count = objects->GetCount();
    for (int i = 0; i < count; ++i) {
        const auto* object = static_cast<const SectorObject*>(objects->GetAt(i));
        if (object != nullptr) {
            AcceptObject(*object, now);
        }
    }
}

void SectorScene::AcceptObject(const SectorObject& object, uint32_t now) {
    const SectorViewSettings& settings = m_settings;
    if (!(settings.gateMin <= object.distance && object.distance <= settings.gateMax &&
          settings.angleStart <= object.angle && object.angle <= settings.angleStop)) {
        return;
    }
    const uint32_t boundaries = m_boundaries.table.PresentBits();
    const PixelPoint raw = PolarToPixel(m_geometry, object.distance, object.angle);
    if (boundaries != 0 && (MaskBitsAt(m_boundaries.mask, raw) & boundaries) == 0) {
        return;
    }
    m_heat.Add(raw);
    SectorTrack& track = m_tracks.Touch(object.id, settings.markerColour, m_markerImage);
    TrackPoint& point =
        AddTrackPoint(track, object.distance, object.angle, now, settings.smoothCount);
    const PixelPoint smoothed =
        PolarToPixel(m_geometry, point.smoothedDistance, point.smoothedAngle);
    point.pixel = smoothed;
    point.layout = m_geometry.layout;
    track.boundaryIndex =
        UpdateAreaIndex(track.boundaryIndex, boundaries, MaskBitsAt(m_boundaries.mask, smoothed));
    track.monitorIndex = UpdateAreaIndex(track.monitorIndex, m_monitorAreas.table.PresentBits(),
                                         MaskBitsAt(m_monitorAreas.mask, smoothed));
    double gateX = 0.0;
    double gateY = 0.0;
    GatePosition(point.smoothedDistance, point.smoothedAngle, gateX, gateY);
    CAutoBaseLock lock(m_pointLock);
    m_points.HitTest(gateX, gateY, settings.radiusScale);
}

void SectorScene::ClearTracks() {
    CAutoBaseLock lock(m_trackLock);
    m_tracks.Clear();
}

void SectorScene::TrackAreas(std::vector<TrackArea>& areas) const {
    CAutoBaseLock lock(m_trackLock);
    areas.clear();
    for (int i = 0; i < m_tracks.Count(); ++i) {
        const SectorTrack& track = m_tracks.At(i);
        areas.push_back(TrackArea{track.id, track.monitorIndex});
    }
}

std::vector<SectorTrack> SectorScene::CopyTracks() const {
    CAutoBaseLock lock(m_trackLock);
    std::vector<SectorTrack> copy;
    copy.reserve(static_cast<size_t>(m_tracks.Count()));
    for (int i = 0; i < m_tracks.Count(); ++i) {
        copy.push_back(m_tracks.At(i));
    }
    return copy;
}

HeatMap SectorScene::CopyHeatMap() const {
    CAutoBaseLock lock(m_trackLock);
    return m_heat;
}

std::vector<int> SectorScene::MonitorPointHits() const {
    CAutoBaseLock lock(m_pointLock);
    std::vector<int> hits;
    for (int i = 0; i < m_points.Count(); ++i) {
        hits.push_back(m_points.At(i).hit);
    }
    return hits;
}

}  // namespace zuvo::sector
