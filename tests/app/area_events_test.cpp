// The enter and exit rules of the monitoring areas, with the clock handed in.
#include "app/AreaEvents.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using zuvo::app::AreaCount;
using zuvo::app::AreaEvent;
using zuvo::app::AreaEventTracker;
using zuvo::app::TrackArea;
using Kind = zuvo::app::AreaEventKind;

AreaEvent Enter(uint32_t at, int area, int64_t id) {
    return {at, area, id, Kind::kEnter, 0};
}
AreaEvent Exit(uint32_t at, int area, int64_t id, uint32_t dwell) {
    return {at, area, id, Kind::kExit, dwell};
}

struct Areas {
    AreaEventTracker tracker;
    Areas() { tracker.Begin(); }
    std::vector<AreaEvent> Update(uint32_t now, std::vector<TrackArea> tracks) {
        std::vector<AreaEvent> events;
        tracker.Observe(tracks, now, events);
        return events;
    }
    std::vector<AreaEvent> Stop(uint32_t now) {
        std::vector<AreaEvent> events;
        tracker.End(now, events);
        return events;
    }
};

TEST(AreaEvents, EnterStayAndLeave) {
    Areas run;
    EXPECT_TRUE(run.Update(100, {{7, -1}}).empty()) << "outside every area";
    EXPECT_EQ(run.Update(150, {{7, 2}}), (std::vector{Enter(150, 2, 7)}));
    EXPECT_TRUE(run.Update(200, {{7, 2}}).empty()) << "staying is no event";
    EXPECT_EQ(run.tracker.Count(2, 400), (AreaCount{1, 1, 250}));
    EXPECT_EQ(run.Update(450, {{7, -1}}), (std::vector{Exit(450, 2, 7, 300)}));
    EXPECT_EQ(run.tracker.Count(2, 500), (AreaCount{0, 1, 0}));
    // Back in: a second entry.
    EXPECT_EQ(run.Update(500, {{7, 2}}), (std::vector{Enter(500, 2, 7)}));
    EXPECT_EQ(run.tracker.Count(2, 500).entries, 2);
}

TEST(AreaEvents, AnotherAreaIsAnExitAndAnEnter) {
    Areas run;
    run.Update(0, {{1, 0}});
    EXPECT_EQ(run.Update(80, {{1, 5}}), (std::vector{Exit(80, 0, 1, 80), Enter(80, 5, 1)}));
    EXPECT_EQ(run.tracker.Count(0, 80), (AreaCount{0, 1, 0}));
    EXPECT_EQ(run.tracker.Count(5, 90), (AreaCount{1, 1, 10}));
}

TEST(AreaEvents, EventsComeInTheOrderOfTheIdsWhateverTheOrderOfTheTracks) {
    Areas run;
    EXPECT_EQ(run.Update(10, {{9, 1}, {2, 3}, {5, -1}, {4, 1}}),
              (std::vector{Enter(10, 3, 2), Enter(10, 1, 4), Enter(10, 1, 9)}));
    EXPECT_EQ(
        run.Update(20, {{5, 2}, {4, -1}, {2, -1}}),
        (std::vector{Exit(20, 3, 2, 10), Exit(20, 1, 4, 10), Exit(20, 1, 9, 10), Enter(20, 2, 5)}));
    // An id listed twice counts where it is listed last.
    EXPECT_EQ(run.Update(30, {{5, 1}, {5, 2}}), (std::vector<AreaEvent>{}));
    EXPECT_EQ(run.Update(40, {{5, 2}, {5, 1}}), (std::vector{Exit(40, 2, 5, 20), Enter(40, 1, 5)}));
}

TEST(AreaEvents, ATrackThatEndsExitsItsArea) {
    // An object that vanishes, or leaves the gate window, keeps its track (and the view keeps
    // its area) until its points have faded; the track's end is the exit.
    Areas run;
    run.Update(1000, {{3, 1}, {4, 1}});
    EXPECT_TRUE(run.Update(1500, {{3, 1}, {4, 1}}).empty());
    EXPECT_EQ(run.Update(3000, {{4, 1}}), (std::vector{Exit(3000, 1, 3, 2000)}));
    EXPECT_EQ(run.tracker.Count(1, 3000), (AreaCount{1, 2, 2000}));
    EXPECT_EQ(run.Update(3100, {}), (std::vector{Exit(3100, 1, 4, 2100)}));
}

TEST(AreaEvents, TheStopExitsEveryoneInsideAndTheNextRunStartsEmpty) {
    Areas run;
    run.Update(10, {{9, 3}, {2, 3}, {5, -1}, {6, 31}});
    EXPECT_EQ(run.Stop(60),
              (std::vector{Exit(60, 3, 2, 50), Exit(60, 31, 6, 50), Exit(60, 3, 9, 50)}));
    EXPECT_TRUE(run.Stop(70).empty()) << "nobody is left inside";
    run.tracker.Begin();
    EXPECT_EQ(run.tracker.Count(3, 70), (AreaCount{0, 0, 0}));
    EXPECT_EQ(run.Update(80, {{9, 3}}), (std::vector{Enter(80, 3, 9)}));
}

TEST(AreaEvents, TheClockMayWrapAndStrangeSlotsAreNoArea) {
    Areas run;
    const uint32_t nearTheEnd = 0xFFFFFF00u;
    run.Update(nearTheEnd, {{1, 4}, {2, 32}, {3, -7}});
    EXPECT_EQ(run.tracker.Count(4, 0x100), (AreaCount{1, 1, 0x200}));
    EXPECT_EQ(run.tracker.Count(32, 0x100), (AreaCount{})) << "not a slot";
    EXPECT_EQ(run.tracker.Count(-1, 0x100), (AreaCount{}));
    EXPECT_EQ(run.Update(0x100, {}), (std::vector{Exit(0x100, 4, 1, 0x200)}));
}

TEST(AreaEvents, TheLabelSaysWhoIsInHowManyCameAndTheLongestStay) {
    EXPECT_EQ(zuvo::app::FormatAreaStatistics(L"In", L"Entries", {2, 7, 65999}),
              L"In 2 \u00B7 Entries 7 \u00B7 1:05");
    EXPECT_EQ(zuvo::app::FormatAreaStatistics(L"\u533A\u5185", L"\u8FDB\u5165", {0, 0, 0}),
              L"\u533A\u5185 0 \u00B7 \u8FDB\u5165 0 \u00B7 0:00");
    EXPECT_EQ(zuvo::app::FormatAreaStatistics(L"In", L"Entries", {1, 1, 3723000}),
              L"In 1 \u00B7 Entries 1 \u00B7 1:02:03");
}

}  // namespace
