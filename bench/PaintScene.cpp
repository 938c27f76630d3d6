#include "PaintScene.h"

#include <cmath>

namespace zuvo::bench {

namespace {

constexpr double kAngleStart = -150.0;
constexpr double kAngleStop = -30.0;
// The walkers stay within this share of the fan radius; the areas' centres lie in the outer
// band, far enough out that not even the largest outline reaches the walkers.
constexpr double kWalkersOut = 0.32;
constexpr double kWalkersIn = 0.10;
constexpr double kAreasIn = 0.50;
constexpr double kAreasOut = 0.80;
constexpr int kCircleSteps = 80;  // a circle inside an area every 4 s

}  // namespace

sector::SectorViewConfig PaintSceneConfig() {
    sector::SectorViewConfig config;
    config.topViewMode = 1;
    config.angleStart = static_cast<int>(kAngleStart);
    config.angleStop = static_cast<int>(kAngleStop);
    config.gateMin = 2.0;
    config.gateMax = 28.0;
    config.gateCount = 32;
    config.displayTimeMs = 2000;
    config.smoothCount = 3;
    return config;
}

PaintScene::PaintScene(const sector::SectorGeometry& geometry, uint32_t seed)
    : m_geometry(geometry), m_random(seed) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double gates = geometry.radius / geometry.pixelsPerGate;  // the fan radius in gates
    const double scale = geometry.radius / 960.0;                   // sizes grow with the view
    for (int i = 0; i < kBoundaryCount; ++i) {
        m_boundaries.push_back(Wedge(i));
    }
    for (int i = 0; i < kMonitorAreaCount; ++i) {
        const double distance = gates * (kAreasIn + (kAreasOut - kAreasIn) * unit(m_random));
        const double angle = kAngleStart + 5.0 + 110.0 * unit(m_random);
        const double size = (40.0 + 110.0 * unit(m_random)) * scale;
        m_areas.push_back(RaggedArea(distance, angle, size));
        m_areaCentres.push_back(PointSpot{distance, angle});
        if (i < kLitAreaCount) {
            // Well inside the outline, whose vertices lie at 0.55 to 1.0 times the size.
            const double radius = 0.3 * 0.55 * size;
            m_circlers.push_back(
                Circler{distance, angle, radius / geometry.pixelsPerGate,
                        radius / (distance * geometry.pixelsPerGate) * 180.0 / sector::kPi,
                        2.0 * sector::kPi * unit(m_random)});
        }
    }
    for (int i = 0; i < kPointCount; ++i) {
        m_points.push_back(PointSpot{3.0 + 24.0 * unit(m_random), -145.0 + 110.0 * unit(m_random)});
    }
    for (int id = 0; id < kObjectCount; ++id) {
        SectorObject object{id, 0.0, 0.0};
        if (id >= kLitAreaCount) {
            object.distance = gates * (kWalkersIn + (kWalkersOut - kWalkersIn) * unit(m_random));
            object.angle = kAngleStart + 2.0 + 116.0 * unit(m_random);
            const double sign1 = unit(m_random) < 0.5 ? -1.0 : 1.0;
            const double sign2 = unit(m_random) < 0.5 ? -1.0 : 1.0;
            m_walkers.push_back(Walker{(0.05 + 0.1 * unit(m_random)) * sign1,
                                       (0.1 + 0.5 * unit(m_random)) * sign2});
        }
        m_objects.push_back(object);
    }
}

// Wedge i of kBoundaryCount that share the angle window: the sensor and a slightly ragged arc
// just inside the fan's radius.
std::vector<int32_t> PaintScene::Wedge(int index) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double gates = m_geometry.radius / m_geometry.pixelsPerGate;
    const double width = (kAngleStop - kAngleStart) / kBoundaryCount;
    const double from = kAngleStart + width * index;
    std::vector<int32_t> pairs;
    const auto add = [&](const sector::PixelPoint& pixel) {
        pairs.push_back(static_cast<int32_t>(std::lround(pixel.y)) - m_geometry.sector.top);
        pairs.push_back(static_cast<int32_t>(std::lround(pixel.x)) - m_geometry.sector.left);
    };
    add(sector::PolarToPixel(m_geometry, 0.0, from));
    for (int i = 0; i + 1 < kAreaVertices; ++i) {
        const double angle = from + width * i / (kAreaVertices - 2);
        add(sector::PolarToPixel(m_geometry, gates * (0.96 + 0.035 * unit(m_random)), angle));
    }
    return pairs;
}

// A ragged star of kAreaVertices vertices around (distance, angle), as an operator's freehand
// outline might be: concave, every scan line crossing it many times.
std::vector<int32_t> PaintScene::RaggedArea(double distance, double angle, double size) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const sector::PixelPoint centre = sector::PolarToPixel(m_geometry, distance, angle);
    std::vector<int32_t> pairs;
    for (int i = 0; i < kAreaVertices; ++i) {
        const double a = 2.0 * sector::kPi * i / kAreaVertices;
        const double r = size * (0.55 + 0.45 * unit(m_random));
        pairs.push_back(static_cast<int32_t>(centre.y + r * std::sin(a)) - m_geometry.sector.top);
        pairs.push_back(static_cast<int32_t>(centre.x + r * std::cos(a)) - m_geometry.sector.left);
    }
    return pairs;
}

void PaintScene::Step(size_t index) {
    SectorObject& object = m_objects[index];
    if (index < m_circlers.size()) {
        Circler& circler = m_circlers[index];
        circler.phase += 2.0 * sector::kPi / kCircleSteps;
        object.distance = circler.distance + circler.radiusGates * std::cos(circler.phase);
        object.angle = circler.angle + circler.radiusDegrees * std::sin(circler.phase);
        return;
    }
    const double gates = m_geometry.radius / m_geometry.pixelsPerGate;
    Walker& walker = m_walkers[index - m_circlers.size()];
    const double distance = object.distance + walker.distanceStep;
    if (distance < gates * kWalkersIn || distance > gates * kWalkersOut) {
        walker.distanceStep = -walker.distanceStep;
    }
    const double angle = object.angle + walker.angleStep;
    if (angle < kAngleStart + 2.0 || angle > kAngleStop - 2.0) {
        walker.angleStep = -walker.angleStep;
    }
    object.distance += walker.distanceStep;
    object.angle += walker.angleStep;
}

const CPtrListCtrl& PaintScene::Next(int visitArea) {
    const bool visit = visitArea >= 0 && static_cast<size_t>(visitArea) < m_areaCentres.size();
    m_list.RemoveAll();
    for (size_t i = 0; i < m_objects.size(); ++i) {
        Step(i);
        // A visitor takes the last object's place in the delivery, which keeps its own way.
        if (!visit || i + 1 < m_objects.size()) {
            m_list.AddData(&m_objects[i], -1);
        }
    }
    if (visit) {
        const PointSpot& centre = m_areaCentres[static_cast<size_t>(visitArea)];
        m_visitor = SectorObject{1000 + m_visitors++, centre.distance, centre.angle};
        m_list.AddData(&m_visitor, -1);
    }
    return m_list;
}

}  // namespace zuvo::bench
