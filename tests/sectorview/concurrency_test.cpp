// The radar library's thread feeding batches while the user-interface thread relayouts,
// rebuilds the areas, changes the gate range and composes frames. Run under ThreadSanitizer,
// which also checks the lock order.
#include <atomic>
#include <random>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "sectorview/SectorScene.h"

namespace zuvo::sector {
namespace {

TEST(SectorConcurrency, UpdatesRaceWithRelayoutAreasAndPainting) {
    SectorScene scene;
    SectorViewConfig config;
    config.smoothCount = 5;
    config.displayTimeMs = 50;
    scene.ApplyConfig(config);
    scene.Relayout(320, 200);
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
            batches.fetch_add(1);
        }
    });

    std::mt19937 random(2);
    std::vector<uint32_t> frame;
    std::vector<uint32_t> background;
    for (int step = 0; step < 120; ++step) {
        const int width = 200 + static_cast<int>(random() % 200);
        const int height = 100 + static_cast<int>(random() % 150);
        switch (step % 5) {
            case 0:
                scene.Relayout(width, height);
                break;
            case 1: {
                const int32_t square[] = {10, 10, 10, 120, 90, 120, 90, 10};
                scene.AddMonitorArea(square, 4, 0, 0);
                scene.AddAlgorithmArea(square, 4, 0, 0);
                break;
            }
            case 2:
                scene.ClearAlgorithmAreas();
                scene.SetGateRange(static_cast<double>(random() % 10), 25, 32);
                break;
            case 3:
                scene.ClearMonitorPoints();
                scene.AddMonitorPoint(scene.MakePoint(12, -90, 2, 0, 0));
                break;
            default:
                scene.ClearMonitorAreas();
        }
        scene.RefreshMasks();
        const SectorGeometry& g = scene.Geometry();
        background.assign(static_cast<size_t>(g.width) * g.height, 0xFF2A323Cu);
        frame.resize(background.size());
        scene.MarkBackgroundRendered();
        scene.ComposeFrame(frame.data(), background.data(), static_cast<uint32_t>(step * 11),
                           nullptr);
    }
    // Let the feeder run alongside the whole loop at least a few times before stopping.
    while (batches.load() < 50) {
        std::this_thread::yield();
    }
    stop.store(true);
    feeder.join();
    EXPECT_LE(scene.CopyTracks().size(), 100u);
}

}  // namespace
}  // namespace zuvo::sector
