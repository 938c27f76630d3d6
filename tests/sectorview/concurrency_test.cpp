// The radar library's thread feeding batches while the user-interface thread applies settings,
// relayouts, rebuilds the areas, changes the gate range and composes frames with their areas
// and the heat map.
// Run under ThreadSanitizer too, which also checks the lock order.
#include <atomic>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "sectorview/SectorScene.h"

namespace zuvo::sector {
namespace {

// What the user-interface thread made each layout with: a point placed in a layout must have
// been accepted with that layout's settings and mapped with its geometry.
struct LayoutRecord {
    SectorGeometry geometry;
    SectorViewSettings settings;
};

class LayoutBook {
public:
    void Record(const SectorScene& scene) {
        m_layouts[scene.Geometry().layout] = LayoutRecord{scene.Geometry(), scene.Settings()};
    }

    // Empty when every point of the tracks fits the layout it names; otherwise what does not.
    std::string Check(const std::vector<SectorTrack>& tracks) const {
        for (const SectorTrack& track : tracks) {
            for (const TrackPoint& point : track.points) {
                const auto found = m_layouts.find(point.layout);
                if (point.layout == 0 || found == m_layouts.end()) {
                    return "a point of track " + std::to_string(track.id) + " in unknown layout " +
                           std::to_string(point.layout);
                }
                const SectorViewSettings& settings = found->second.settings;
                if (point.distance < settings.gateMin || point.distance > settings.gateMax ||
                    point.angle < settings.angleStart || point.angle > settings.angleStop) {
                    return "track " + std::to_string(track.id) + " took (" +
                           std::to_string(point.distance) + ", " + std::to_string(point.angle) +
                           ") outside the window of layout " + std::to_string(point.layout);
                }
                const PixelPoint expected = PolarToPixel(
                    found->second.geometry, point.smoothedDistance, point.smoothedAngle);
                if (point.pixel.x != expected.x || point.pixel.y != expected.y) {
                    return "track " + std::to_string(track.id) + " has a pixel not of layout " +
                           std::to_string(point.layout);
                }
            }
        }
        return std::string();
    }

private:
    std::map<uint32_t, LayoutRecord> m_layouts;
};

// Counts the area paintings and keeps what the last one was given.
class RecordingPainter : public IAreaPainter {
public:
    void PaintAreas(const AreaTable& table, uint32_t activeSlots) override {
        ++calls;
        lastPresent = table.PresentBits();
        lastActive = activeSlots;
    }
    int calls = 0;
    uint32_t lastPresent = 0;
    uint32_t lastActive = 0;
};

SectorViewConfig Config(int gateMin, int gateMax, int angleStart, int angleStop, int smooth) {
    SectorViewConfig config;
    config.gateMin = gateMin;
    config.gateMax = gateMax;
    config.angleStart = angleStart;
    config.angleStop = angleStop;
    config.smoothCount = smooth;
    config.displayTimeMs = 50;
    return config;
}

void Compose(SectorScene& scene, RecordingPainter& painter, uint32_t now) {
    scene.RefreshMasks();
    const SectorGeometry& g = scene.Geometry();
    std::vector<uint32_t> background(static_cast<size_t>(g.width) * g.height, 0xFF2A323Cu);
    std::vector<uint32_t> frame(background.size());
    scene.MarkBackgroundRendered();
    scene.ComposeFrame(frame.data(), background.data(), now, &painter);
}

TEST(SectorConcurrency, UpdatesRaceWithRelayoutAreasAndPainting) {
    SectorScene scene;
    LayoutBook layouts;
    scene.ApplyConfig(Config(0, 31, -180, 0, 5));
    scene.Relayout(320, 200);
    layouts.Record(scene);
    std::atomic<bool> stop{false};
    std::atomic<int> batches{0};

    std::thread feeder([&] {
        std::mt19937 random(1);
        uint32_t now = 0;
        while (!stop.load()) {
            std::vector<SectorObject> objects(20);
            for (SectorObject& object : objects) {
                object = SectorObject{static_cast<int64_t>(random() % 150),
                                      static_cast<double>(random() % 32),
                                      -static_cast<double>(random() % 180)};
            }
            CPtrListCtrl list;
            for (SectorObject& object : objects) {
                list.AddData(&object, -1);
            }
            scene.UpdateObjects(&list, now += 7);
            if (random() % 16 == 0) {
                scene.ClearTracks();
            }
            if (random() % 32 == 0) {
                scene.ClearHeatMap();  // a run starts on another thread
            }
            batches.fetch_add(1);
        }
    });

    std::mt19937 random(2);
    RecordingPainter painter;
    std::string problem;
    for (int step = 0; step < 150 && problem.empty(); ++step) {
        const int width = 200 + static_cast<int>(random() % 200);
        const int height = 100 + static_cast<int>(random() % 150);
        const int32_t square[] = {10, 10, 10, 120, 90, 120, 90, 10};
        switch (step % 6) {
            case 0:
                scene.Relayout(width, height);
                break;
            case 1:
                scene.AddMonitorArea(square, 4, 0, 0);
                scene.AddAlgorithmArea(square, 4, 0, 0);
                break;
            case 2:
                scene.ClearAlgorithmAreas();
                scene.SetGateRange(static_cast<double>(random() % 10), 25, 32);
                break;
            case 3:
                scene.ClearMonitorPoints();
                scene.AddMonitorPoint(scene.MakePoint(12, -90, 2, 0, 0));
                scene.AddMonitorArea(square, 4, 0, 0);
                break;
            case 4: {
                // A narrower window in both directions, and another smoothing length.
                const int low = static_cast<int>(random() % 12);
                const int start = -170 + static_cast<int>(random() % 60);
                scene.ApplyConfig(Config(low, low + 8 + static_cast<int>(random() % 10), start,
                                         start + 40 + static_cast<int>(random() % 60),
                                         1 + static_cast<int>(random() % 6)));
                break;
            }
            default:
                scene.ClearMonitorAreas();
        }
        layouts.Record(scene);
        scene.ShowHeatMap(step % 5 != 0);
        Compose(scene, painter, static_cast<uint32_t>(step * 11));
        problem = layouts.Check(scene.CopyTracks());
    }
    // Let the feeder run alongside the whole loop at least a few times before stopping.
    while (batches.load() < 50) {
        std::this_thread::yield();
    }
    stop.store(true);
    feeder.join();
    EXPECT_EQ(problem, "");
    EXPECT_EQ(layouts.Check(scene.CopyTracks()), "");
    EXPECT_LE(scene.CopyTracks().size(), 100u);
    EXPECT_GT(painter.calls, 0) << "the areas were painted during the race";

    // Afterwards the scene works as on its first day: an object inside a monitoring area lights
    // it, and the painting is told so.
    scene.ClearTracks();
    scene.ClearAlgorithmAreas();
    scene.ClearMonitorAreas();
    scene.ApplyConfig(Config(0, 31, -150, -30, 1));
    scene.Relayout(320, 200);
    const SectorGeometry& g = scene.Geometry();
    const PixelPoint centre = PolarToPixel(g, 10.0, -90.0);
    const int32_t row = static_cast<int32_t>(centre.y) - g.sector.top;
    const int32_t column = static_cast<int32_t>(centre.x) - g.sector.left;
    const int32_t around[] = {row - 20, column - 20, row - 20, column + 20,
                              row + 20, column + 20, row + 20, column - 20};
    ASSERT_EQ(scene.AddMonitorArea(around, 4, 0, 0), 0);
    scene.RefreshMasks();
    SectorObject inside{42, 10.0, -90.0};
    CPtrListCtrl list;
    list.AddData(&inside, -1);
    scene.ClearHeatMap();
    scene.UpdateObjects(&list, 100000);
    EXPECT_EQ(scene.HeatMapTotal(), 1u);
    const std::vector<SectorTrack> tracks = scene.CopyTracks();
    ASSERT_EQ(tracks.size(), 1u);
    EXPECT_EQ(tracks[0].id, 42);
    EXPECT_EQ(tracks[0].monitorIndex, 0);
    Compose(scene, painter, 100001);
    EXPECT_EQ(painter.lastPresent, 1u);
    EXPECT_EQ(painter.lastActive, 1u);
}

}  // namespace
}  // namespace zuvo::sector
