// One delivery through the intake: the slots, the log, the view and the wake-up, and a view
// that throws.
#include "app/ObjectIntake.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"
#include "tests/support/WholeFile.h"

namespace {

using zuvo::app::IIntakeHost;
using zuvo::app::IObjectView;
using zuvo::app::LogTime;
using zuvo::app::ObjectIntake;
using zuvo::app::ObjectSlotTable;
using zuvo::app::ResultLog;

struct Viewer : IObjectView {
    void UpdateObjects(const CPtrListCtrl* objects) override {
        if (throwing) {
            throw std::bad_alloc();
        }
        std::vector<SectorObject> batch;
        for (int i = 0; i < objects->GetCount(); ++i) {
            batch.push_back(*static_cast<const SectorObject*>(objects->GetAt(i)));
        }
        batches.push_back(batch);
        areas.clear();
        for (const SectorObject& object : batch) {
            // Objects closer than 5 gates are in area 0 here.
            areas.push_back({object.id, object.distance >= 0 && object.distance < 5.0 ? 0 : -1});
        }
    }
    void TrackAreas(std::vector<zuvo::app::TrackArea>& out) const override { out = areas; }
    std::vector<zuvo::app::TrackArea> areas;
    bool throwing = false;
    std::vector<std::vector<SectorObject>> batches;
};

struct Host : IIntakeHost {
    LogTime LocalTime() const noexcept override { return {9, 8, 7, 6}; }
    void NotifyObjectsArrived() noexcept override { ++notified; }
    int notified = 0;
};

struct Delivery {
    std::vector<RadarObject> records;
    CPtrListCtrl list;
    explicit Delivery(std::vector<RadarObject> entries) : records(std::move(entries)) {
        for (RadarObject& record : records) {
            list.AddData(&record, -1);
        }
    }
    ~Delivery() { list.RemoveAll(); }
};

TEST(ObjectIntake, ADeliveryReachesTheSlotsTheLogAndTheViewAndWakesTheWindow) {
    zuvo::test::TempFolder folder;
    const std::filesystem::path path = folder.Path() / "log.txt";
    ObjectSlotTable slots;
    ResultLog log;
    Viewer view;
    Host host;
    zuvo::app::AreaEventTracker areaEvents;
    areaEvents.Begin();
    zuvo::app::AreaEventLog eventLog;
    const std::filesystem::path eventsPath = folder.Path() / "events.csv";
    eventLog.Attach(std::fopen(eventsPath.string().c_str(), "wb"), 1000,
                    {2026, 12, 10, 9, 8, 7, 6});
    ObjectIntake intake(slots, log, view, host, areaEvents, eventLog);

    // No log open: the delivery still reaches the slots and the view.
    Delivery first({{3, 8.0, 2.0, 0.5, 10.0, 0, 0}});
    intake.Deliver(&first.list, 1000);
    EXPECT_EQ(slots.Slot(0).id, 3);
    ASSERT_EQ(view.batches.size(), 1u);
    ASSERT_EQ(view.batches[0].size(), 1u);
    EXPECT_EQ(view.batches[0][0].id, 3);
    EXPECT_EQ(host.notified, 1);

    log.Attach(std::fopen(path.string().c_str(), "wb"));
    Delivery second({{5, 4.0, 1.0, -0.25, 0.0, 0, 0}, {6, -1.0, -1.0, 0.0, 0.0, 0, 0}});
    intake.Deliver(&second.list, 1100);
    log.Flush();
    EXPECT_EQ(zuvo::test::ReadWholeFile(path),
              "[09:08:07.006], 5, 1.00, 0.00, -0.25\r\n"
              "[09:08:07.006], 6, -1.00, 0.00, 0.00\r\n");
    EXPECT_EQ(slots.Slot(0).id, 5);
    EXPECT_EQ(slots.Slot(1).id, -1) << "an entry holding no object empties its slot";
    EXPECT_EQ(view.batches.size(), 2u);
    EXPECT_EQ(host.notified, 2);

    // Nothing that goes wrong in a delivery goes back into the library's thread, and the
    // window still hears of it; the next delivery is taken as usual.
    view.throwing = true;
    Delivery third({{7, 4.0, 1.0, 0.0, 0.0, 0, 0}});
    EXPECT_NO_THROW(intake.Deliver(&third.list, 1200));
    EXPECT_EQ(host.notified, 3);
    view.throwing = false;
    intake.Deliver(&first.list, 1300);
    EXPECT_EQ(view.batches.size(), 3u);
    EXPECT_EQ(slots.Slot(0).id, 3);
    EXPECT_EQ(intake.Deliveries(), 4u);
    EXPECT_EQ(intake.LastObjects(), 1);
    EXPECT_EQ(log.LinesWritten(), 4u) << "two lines of the second delivery, one of each after";
    log.Close();

    // The view's areas after each update: object 3 (8 gates) outside, 5 (4 gates) in area 0
    // from the second delivery, gone with the third.
    eventLog.Close();
    EXPECT_EQ(zuvo::test::ReadWholeFile(eventsPath),
              "time,area,object_id,event,dwell_ms\r\n"
              "2026-12-10 09:08:07.106,1,5,enter,0\r\n"
              "2026-12-10 09:08:07.306,1,5,exit,200\r\n");
}

}  // namespace
