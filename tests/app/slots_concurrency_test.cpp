// The delivering thread and the user-interface thread share the slot table.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "app/ObjectSlots.h"

namespace {

TEST(ObjectSlotsConcurrency, DeliveriesAndRefreshPassesInterleaveSafely) {
    // Deliveries go on until the refresh passes have had their turn too, so the two really
    // overlap however the threads are scheduled.
    constexpr int kRounds = 2000;
    constexpr int kPasses = 200;
    zuvo::app::ObjectSlotTable table;
    std::atomic<bool> stop{false};
    std::atomic<int> passes{0};
    // One clock for both threads, read before each takes the table's lock, as in the program:
    // a delivery's stamp may then lie after the now of a pass that overtook it.
    std::atomic<uint32_t> clock{0};
    std::thread deliverer([&] {
        std::vector<RadarObject> records(12);
        CPtrListCtrl list;
        for (size_t i = 0; i < records.size(); ++i) {
            records[i] = RadarObject{static_cast<int64_t>(i), 1.0, 0.25, 0.5, 1.0, 0.0, 0.0};
            list.AddData(&records[i], -1);
        }
        std::vector<SectorObject> view;
        std::vector<const RadarObject*> log;
        for (int round = 0; round < kRounds || passes.load() < kPasses; ++round) {
            log.clear();
            table.Intake(&list, clock.load(), view, &log);
        }
        stop = true;
    });
    while (!stop) {
        table.RefreshPass(clock.fetch_add(37) + 37);
        const zuvo::app::ObjectSlot slot = table.Slot(passes.load() % zuvo::app::kObjectSlotCount);
        EXPECT_TRUE(slot.id == -1 || slot.distance == 0.25);
        passes.fetch_add(1);
    }
    deliverer.join();
    EXPECT_GE(passes.load(), kPasses);
}

}  // namespace
