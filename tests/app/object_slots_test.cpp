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
    table.Intake(&delivery.list, view, &log);

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
    table.Intake(&full.list, view, nullptr);

    RadarObject d = Entry(4, 4.0);
    Delivery shorter({nullptr, &d});
    table.Intake(&shorter.list, view, nullptr);
    EXPECT_EQ(table.Slot(0).id, 1) << "a null entry is skipped entirely";
    EXPECT_EQ(table.Slot(1).id, 4);
    EXPECT_EQ(table.Slot(2).id, 3) << "a shorter delivery leaves the higher slots";
    ASSERT_EQ(view.size(), 1u) << "no view object for a null entry";

    table.Intake(nullptr, view, nullptr);
    EXPECT_TRUE(view.empty());
}

TEST(ObjectSlots, IdsKeepTheirLow32BitsAndNaNDistancesMeanNoObject) {
    ObjectSlotTable table;
    RadarObject big = Entry(4294967297LL, 2.0);
    RadarObject negative = Entry(-5, 2.0);
    RadarObject nan = Entry(11, std::numeric_limits<double>::quiet_NaN());
    Delivery delivery({&big, &negative, &nan});
    std::vector<SectorObject> view;
    table.Intake(&delivery.list, view, nullptr);
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
    table.Intake(&delivery.list, view, &log);
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
    table.Intake(&delivery.list, view, nullptr);

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
    table.Intake(&delivery.list, view, nullptr);

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
    table.Intake(&delivery.list, view, nullptr);
    // 0x100 + 50 ms later, past the wrap: 306 ms, a refresh but no expiry.
    zuvo::app::RefreshResult result = table.RefreshPass(50);
    EXPECT_TRUE(result.refreshed);
    EXPECT_EQ(table.Slot(0).id, 1);
}

}  // namespace
