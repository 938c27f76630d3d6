// The area events file: its calendar arithmetic, its rows, and a run's file read back.
#include "app/AreaEventLog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"
#include "tests/support/WholeFile.h"

namespace {

using zuvo::app::AreaEvent;
using zuvo::app::AreaEventLog;
using zuvo::app::AreaEventTracker;
using zuvo::app::FormatEventRow;
using zuvo::app::FromMilliseconds;
using zuvo::app::LocalDateTime;
using zuvo::app::ToMilliseconds;
using Kind = zuvo::app::AreaEventKind;

TEST(AreaEventLog, DatesAndTimesConvertBothWays) {
    const struct {
        LocalDateTime time;
        int64_t milliseconds;
    } cases[] = {
        {{1970, 1, 1, 0, 0, 0, 0}, 0},
        {{1970, 1, 2, 0, 0, 0, 1}, 86400001},
        {{2000, 2, 29, 23, 59, 59, 999}, 951868799999},
        {{2000, 3, 1, 0, 0, 0, 0}, 951868800000},
        {{2024, 12, 31, 12, 0, 0, 0}, 1735646400000},
        {{2026, 12, 10, 15, 3, 9, 7}, 1796914989007},
        {{1969, 12, 31, 23, 59, 59, 999}, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToMilliseconds(c.time), c.milliseconds) << c.milliseconds;
        EXPECT_EQ(FromMilliseconds(c.milliseconds), c.time) << c.milliseconds;
    }
    // Across a year's end and a leap day, a millisecond at a time.
    for (int64_t ms : {ToMilliseconds({2023, 12, 31, 23, 59, 59, 999}),
                       ToMilliseconds({2024, 2, 28, 23, 59, 59, 999})}) {
        const LocalDateTime next = FromMilliseconds(ms + 1);
        EXPECT_EQ(next.hour + next.minute + next.second + next.millisecond, 0);
        EXPECT_EQ(ToMilliseconds(next), ms + 1);
    }
}

TEST(AreaEventLog, RowsNumberTheAreasFromOne) {
    const LocalDateTime time{2026, 12, 10, 15, 3, 9, 7};
    EXPECT_EQ(FormatEventRow(time, {0, 0, 7, Kind::kEnter, 0}),
              "2026-12-10 15:03:09.007,1,7,enter,0\r\n");
    EXPECT_EQ(FormatEventRow(time, {0, 31, -9223372036854775807 - 1, Kind::kExit, 4294967295u}),
              "2026-12-10 15:03:09.007,32,-9223372036854775808,exit,4294967295\r\n");
}

// A run's file: the header, then the rows; every exit's dwell is the difference of its time and
// its enter's, also when the clock wraps during the run and the run crosses midnight.
TEST(AreaEventLog, ARunsFileHasItsHeaderAndDwellsThatMatchTheRowTimes) {
    zuvo::test::TempFolder folder;
    const auto path = folder / "events.csv";
    AreaEventLog log;
    AreaEventTracker tracker;
    tracker.Begin();
    const uint32_t start = 0xFFFFF000u;
    log.Attach(std::fopen(path.string().c_str(), "wb"), start, {2026, 12, 10, 23, 59, 58, 500});
    std::vector<AreaEvent> events;
    tracker.Observe({{5, 0}, {6, 1}}, start + 100, events);
    tracker.Observe({{5, -1}, {6, 1}}, start + 1600, events);
    tracker.Observe({{6, 1}}, start + 5000, events);  // past midnight and past the wrap
    tracker.End(start + 7000, events);
    log.Write(events);
    log.Close();
    EXPECT_EQ(zuvo::test::ReadWholeFile(path),
              "time,area,object_id,event,dwell_ms\r\n"
              "2026-12-10 23:59:58.600,1,5,enter,0\r\n"
              "2026-12-10 23:59:58.600,2,6,enter,0\r\n"
              "2026-12-11 00:00:00.100,1,5,exit,1500\r\n"
              "2026-12-11 00:00:05.500,2,6,exit,6900\r\n");
    // Without a file nothing is written and nothing fails.
    log.Write(events);
    EXPECT_FALSE(log.IsOpen());
}

}  // namespace
