// The object slots: what a delivery fills and empties, and what the refresh pass expires and
// reports, with the clock given by the test.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "app/ObjectSlots.h"

namespace {

using zuvo::app::ObjectSlotTable;

RadarObject Entry(int64_t id, double metres, double angle = 0.0, double velocity = 0.0) {
    return RadarObject{id, metres * 4.0, metres, velocity, angle, 0.0, 0.0};
}

// A delivery container holding pointers to the records (null entries allowed).
struct Delivery {
    explicit Delivery(std::vector<const RadarObject*> entries) {
        for (const RadarObject* entry : entries) {
            list.AddData(const_cast<RadarObject*>(entry), -1);
        }
    }
    CPtrListCtrl list;
};

TEST(ObjectSlots, DeliveryFillsSlotsByPositionAndEmptiesThoseWithoutObject) {
    ObjectSlotTable table;
    RadarObject first = Entry(7, 1.5, -12.3, 0.25);
    RadarObject none = Entry(8, -1.0, 3.0, 0.5);
    RadarObject third = Entry(9, 4.0, 20.0, -1.0);
    Delivery delivery({&first, &none, &third});
    std::vector<SectorObject> view;
    std::vector<const RadarObject*> log;
    table.Intake(&delivery.list, 1000, view, &log);

    EXPECT_EQ(table.Slot(0).id, 7);
    EXPECT_DOUBLE_EQ(table.Slot(0).distance, 1.5);
    EXPECT_DOUBLE_EQ(table.Slot(0).angle, -12.3);
    EXPECT_DOUBLE_EQ(table.Slot(0).velocity, 0.25);
    EXPECT_EQ(table.Slot(1).id, -1);
    EXPECT_EQ(table.Slot(1).distance, 0.0);
    EXPECT_EQ(table.Slot(1).angle, 0.0);
    EXPECT_EQ(table.Slot(1).velocity, 0.0);
    EXPECT_EQ(table.Slot(2).id, 9);

    // Every entry reaches the view (the view drops the empty one by its gate range) and the log.
    ASSERT_EQ(view.size(), 3u);
    EXPECT_EQ(view[1].id, 8);
    EXPECT_DOUBLE_EQ(view[1].distance, -4.0);
    EXPECT_DOUBLE_EQ(view[0].angle, -102.3) << "view degrees are the library's angle - 90";
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[1], &none);
}

TEST(ObjectSlots, NullEntriesAndShorterDeliveriesLeaveSlotsAsTheyWere) {
    ObjectSlotTable table;
    RadarObject a = Entry(1, 1.0), b = Entry(2, 2.0), c = Entry(3, 3.0);
    std::vector<SectorObject> view;
    Delivery full({&a, &b, &c});
    table.Intake(&full.list, 1000, view, nullptr);

    RadarObject d = Entry(4, 4.0);
    Delivery shorter({nullptr, &d});
    table.Intake(&shorter.list, 1050, view, nullptr);
    EXPECT_EQ(table.Slot(0).id, 1) << "a null entry is skipped entirely";
    EXPECT_EQ(table.Slot(1).id, 4);
    EXPECT_EQ(table.Slot(2).id, 3) << "a shorter delivery leaves the higher slots";
    ASSERT_EQ(view.size(), 1u) << "no view object for a null entry";

    table.Intake(nullptr, 1100, view, nullptr);
    EXPECT_TRUE(view.empty());
}

TEST(ObjectSlots, IdsKeepTheirLow32BitsAndNaNDistancesMeanNoObject) {
    ObjectSlotTable table;
    RadarObject big = Entry(4294967297LL, 2.0);
    RadarObject negative = Entry(-5, 2.0);
    RadarObject nan = Entry(11, std::numeric_limits<double>::quiet_NaN());
    Delivery delivery({&big, &negative, &nan});
    std::vector<SectorObject> view;
    table.Intake(&delivery.list, 1000, view, nullptr);
    EXPECT_EQ(table.Slot(0).id, 1);
    EXPECT_EQ(view[0].id, 4294967297LL) << "the view gets the id unchanged";
    EXPECT_EQ(table.Slot(1).id, -5) << "low 32 bits, even when that reads as negative";
    EXPECT_EQ(table.Slot(2).id, -1);
}

TEST(ObjectSlots, EntriesBeyondTheTenthReachTheViewButNoSlot) {
    ObjectSlotTable table;
    std::vector<RadarObject> records;
    for (int i = 0; i < 12; ++i) {
        records.push_back(Entry(100 + i, 1.0 + i));
    }
    std::vector<const RadarObject*> pointers;
    for (const RadarObject& record : records) {
        pointers.push_back(&record);
    }
    Delivery delivery(pointers);
    std::vector<SectorObject> view;
    std::vector<const RadarObject*> log;
    table.Intake(&delivery.list, 1000, view, &log);
    EXPECT_EQ(view.size(), 12u);
    EXPECT_EQ(log.size(), 12u);
    EXPECT_EQ(table.Slot(9).id, 109);
    EXPECT_EQ(table.Slot(10).id, -1) << "out of range reads as empty";
}

TEST(RefreshPass, FirstPassAfterResetEmptiesEverySlotAndRefreshes) {
    ObjectSlotTable table;
    RadarObject a = Entry(1, 1.0);
    Delivery delivery({&a});
    std::vector<SectorObject> view;
    table.Intake(&delivery.list, 4990, view, nullptr);

    const uint32_t now = 5000;
    zuvo::app::RefreshResult result = table.RefreshPass(now);
    EXPECT_TRUE(result.present) << "presence is counted before the expiry";
    EXPECT_TRUE(result.refreshed);
    EXPECT_EQ(table.Slot(0).id, -1) << "the slot just filled expires with the rest";
    for (int i = 0; i < zuvo::app::kObjectSlotCount; ++i) {
        EXPECT_EQ(table.Slot(i).lastRefresh, now);
    }
}

TEST(RefreshPass, PanelsRefreshAtMostEvery100MsWhileObjectsArePresent) {
    ObjectSlotTable table;
    ASSERT_TRUE(table.RefreshPass(5000).refreshed) << "the first pass stamps every slot";
    RadarObject a = Entry(1, 1.0);
    Delivery delivery({&a});
    std::vector<SectorObject> view;
    table.Intake(&delivery.list, 5050, view, nullptr);

    zuvo::app::RefreshResult result = table.RefreshPass(5100);
    EXPECT_TRUE(result.present);
    EXPECT_FALSE(result.refreshed) << "exactly 100 ms is not more than 100";
    result = table.RefreshPass(5101);
    EXPECT_TRUE(result.refreshed);
    EXPECT_EQ(table.Slot(0).id, 1);
    EXPECT_EQ(table.Slot(0).lastRefresh, 5101u);

    // Without objects nothing is rewritten until the expiry.
    ObjectSlotTable idle;
    idle.RefreshPass(5000);
    EXPECT_FALSE(idle.RefreshPass(7000).refreshed) << "2000 ms is not more than 2000";
    EXPECT_TRUE(idle.RefreshPass(7001).refreshed);
}

TEST(RefreshPass, DifferencesAreTakenAcrossTheClockWrap) {
    ObjectSlotTable table;
    ASSERT_TRUE(table.RefreshPass(0xFFFFFF00u).refreshed);
    RadarObject a = Entry(1, 1.0);
    Delivery delivery({&a});
    std::vector<SectorObject> view;
    table.Intake(&delivery.list, 0xFFFFFFF0u, view, nullptr);
    // 0x100 + 50 ms later, past the wrap: 306 ms, a refresh but no expiry.
    zuvo::app::RefreshResult result = table.RefreshPass(50);
    EXPECT_TRUE(result.refreshed);
    EXPECT_EQ(table.Slot(0).id, 1);
}

// Host-side filters deliver only the objects they see: a slot that later deliveries no longer
// reach must empty by itself, and presence must end with the last delivery that held an object.
struct PassStep {
    uint32_t at;           // the delivery's and the pass's clock
    int deliveredObjects;  // objects in this delivery, at positions 0 .. n-1
    bool slot1Held;        // after the pass
    bool present;          // what the pass reports
};

void RunSteps(const std::vector<PassStep>& steps) {
    ObjectSlotTable table;
    ASSERT_TRUE(table.RefreshPass(9900).refreshed) << "the first pass empties and stamps all";
    RadarObject records[3] = {Entry(1, 1.0), Entry(2, 2.0), Entry(3, 3.0)};
    for (const PassStep& step : steps) {
        SCOPED_TRACE(testing::Message() << "at " << step.at);
        std::vector<const RadarObject*> entries;
        for (int i = 0; i < step.deliveredObjects; ++i) {
            entries.push_back(&records[i]);
        }
        Delivery delivery(entries);
        std::vector<SectorObject> view;
        table.Intake(&delivery.list, step.at, view, nullptr);
        const zuvo::app::RefreshResult result = table.RefreshPass(step.at);
        EXPECT_EQ(table.Slot(1).id >= 0, step.slot1Held);
        EXPECT_EQ(result.present, step.present);
    }
}

TEST(RefreshPass, ASlotNoLongerWrittenEmptiesAfter2000MsWhileAnotherIsStillWritten) {
    std::vector<PassStep> steps = {{10000, 3, true, true}};
    // Only the first object is delivered from now on, every 50 ms.
    for (uint32_t at = 10050; at <= 12000; at += 50) {
        steps.push_back({at, 1, true, true});
    }
    steps.push_back({12001, 1, false, true});  // more than 2000 ms since slot 1 was written
    steps.push_back({12500, 1, false, true});
    RunSteps(steps);
}

TEST(RefreshPass, PresenceEnds2000MsAfterTheLastDeliveryThatHeldAnObject) {
    std::vector<PassStep> steps = {{10000, 2, true, true}};
    // Deliveries go on, empty, as a host filter sends them when nobody is there.
    for (uint32_t at = 10100; at <= 12000; at += 100) {
        steps.push_back({at, 0, true, true});
    }
    steps.push_back({12001, 0, false, false});
    steps.push_back({15000, 0, false, false});
    RunSteps(steps);

    // The refresh timer alone (no deliveries at all) ends it the same way.
    ObjectSlotTable table;
    table.RefreshPass(9900);
    RadarObject a = Entry(1, 1.0);
    Delivery delivery({&a});
    std::vector<SectorObject> view;
    table.Intake(&delivery.list, 10000, view, nullptr);
    EXPECT_TRUE(table.RefreshPass(11000).present);
    EXPECT_TRUE(table.RefreshPass(12000).present) << "2000 ms is not more than 2000";
    const zuvo::app::RefreshResult last = table.RefreshPass(12001);
    EXPECT_FALSE(last.present);
    EXPECT_TRUE(last.refreshed) << "the emptied slot is rewritten";
    EXPECT_EQ(table.Slot(0).id, -1);
}

TEST(RefreshPass, ADeliveryStampedJustAfterThePassClockIsFresh) {
    // The delivering thread reads the clock before it takes the lock; a pass that read its
    // clock a moment earlier may run after it.
    ObjectSlotTable table;
    table.RefreshPass(4000);
    RadarObject a = Entry(1, 1.0);
    Delivery delivery({&a});
    std::vector<SectorObject> view;
    table.Intake(&delivery.list, 5001, view, nullptr);
    const zuvo::app::RefreshResult result = table.RefreshPass(5000);
    EXPECT_TRUE(result.present);
    EXPECT_EQ(table.Slot(0).id, 1);
}

}  // namespace
