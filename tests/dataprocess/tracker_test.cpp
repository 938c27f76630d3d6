// The multi-target tracker on scenes with known truth, and its assignment step.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <ostream>
#include <set>
#include <string>

#include "Assignment.h"
#include "MttTracker.h"
#include "SceneScript.h"

namespace zuvo::radar {
namespace {

using test::Distance;
using test::MeasureWalks;
using test::ScriptedWalk;

constexpr uint32_t kFrameMs = 50;

// Which person (index into walks) each reported track follows: the nearest within 0.8 m.
std::map<int64_t, int> TrackOwners(const MttTracker& tracker,
                                   const std::vector<ScriptedWalk>& walks, double t) {
    std::map<int64_t, int> owners;
    for (const TrackReport& track : tracker.ReportedTracks()) {
        for (size_t i = 0; i < walks.size(); ++i) {
            if (Distance(track.position, walks[i].At(t)) < 0.8) {
                owners[track.id] = static_cast<int>(i);
            }
        }
    }
    return owners;
}

// Brute force over all assignments of rows to distinct columns or to nothing.
void BestAssignment(const std::vector<double>& cost, int rows, int cols, int row,
                    std::vector<bool>& used, int pairs, double total, int& bestPairs,
                    double& bestTotal) {
    if (row == rows) {
        if (pairs > bestPairs || (pairs == bestPairs && total < bestTotal - 1e-9)) {
            bestPairs = pairs;
            bestTotal = total;
        }
        return;
    }
    BestAssignment(cost, rows, cols, row + 1, used, pairs, total, bestPairs, bestTotal);
    for (int c = 0; c < cols; ++c) {
        const double value = cost[static_cast<size_t>(row) * cols + c];
        if (!used[c] && value < kForbiddenCost) {
            used[c] = true;
            BestAssignment(cost, rows, cols, row + 1, used, pairs + 1, total + value, bestPairs,
                           bestTotal);
            used[c] = false;
        }
    }
}

TEST(Assignment, MatchesBruteForceOnRandomMatrices) {
    Random random(5);
    for (int round = 0; round < 400; ++round) {
        const int rows = 1 + static_cast<int>(random.Uniform() * 5);
        const int cols = 1 + static_cast<int>(random.Uniform() * 5);
        std::vector<double> cost(static_cast<size_t>(rows) * cols);
        for (double& value : cost) {
            value = random.Chance(0.3) ? kForbiddenCost : std::floor(random.Uniform(0.0, 14.0));
        }
        const std::vector<int> assigned = AssignMinimumCost(cost, rows, cols);
        ASSERT_EQ(assigned.size(), static_cast<size_t>(rows));
        int pairs = 0;
        double total = 0.0;
        std::vector<bool> taken(cols, false);
        for (int r = 0; r < rows; ++r) {
            if (assigned[r] < 0) {
                continue;
            }
            ASSERT_FALSE(taken[assigned[r]]) << "column given twice";
            taken[assigned[r]] = true;
            const double value = cost[static_cast<size_t>(r) * cols + assigned[r]];
            ASSERT_LT(value, kForbiddenCost) << "a forbidden pair was assigned";
            ++pairs;
            total += value;
        }
        std::vector<bool> used(cols, false);
        int bestPairs = 0;
        double bestTotal = 0.0;
        BestAssignment(cost, rows, cols, 0, used, 0, 0.0, bestPairs, bestTotal);
        EXPECT_EQ(pairs, bestPairs) << "round " << round;
        EXPECT_NEAR(total, bestTotal, 1e-9) << "round " << round;
    }
}

TEST(Assignment, EmptyAndMismatchedInputsAssignNothing) {
    EXPECT_TRUE(AssignMinimumCost({}, 0, 3).empty());
    EXPECT_EQ(AssignMinimumCost({}, 2, 0), (std::vector<int>{-1, -1}));
    EXPECT_EQ(AssignMinimumCost({1.0}, 2, 2), (std::vector<int>{-1, -1}));
}

TEST(MttTracker, FollowsAWalkerAndLearnsHisVelocity) {
    const std::vector<ScriptedWalk> walks = {{{-3.0, 6.0}, {2.0, 2.0}, 0.0, 6.0}};
    MttTracker tracker;
    Random random(3);
    for (uint32_t t = 0; t <= 5000; t += kFrameMs) {
        tracker.Update(t, MeasureWalks(walks, t / 1000.0, random));
    }
    const std::vector<TrackReport> tracks = tracker.ReportedTracks();
    ASSERT_EQ(tracks.size(), 1u);
    EXPECT_EQ(tracks[0].id, 1);
    EXPECT_LT(Distance(tracks[0].position, walks[0].At(5.0)), 0.25);
    EXPECT_NEAR(tracks[0].velocity.x, walks[0].Velocity(5.0).x, 0.2);
    EXPECT_NEAR(tracks[0].velocity.y, walks[0].Velocity(5.0).y, 0.2);
}

struct CrossingCase {
    uint64_t seed;
    double headingDifferenceDeg;  // between the two walking directions; 180 is head-on
};

void PrintTo(const CrossingCase& c, std::ostream* os) {
    *os << "seed " << c.seed << ", paths " << c.headingDifferenceDeg << " degrees apart";
}

// Named by the angle between the paths and by the seed of the measurement noise.
std::string CrossingName(const testing::TestParamInfo<CrossingCase>& row) {
    return "At" + std::to_string(std::lround(row.param.headingDifferenceDeg)) + "DegreesSeed" +
           std::to_string(row.param.seed);
}

class MttCrossing : public testing::TestWithParam<CrossingCase> {};

// Two people whose paths cross (and whose detections merge while they pass) keep their ids.
TEST_P(MttCrossing, TwoPeopleCrossingKeepTheirIds) {
    const double half = (180.0 - GetParam().headingDifferenceDeg) / 2.0 * test::kPi / 180.0;
    const Vec2 meet{0.5, 4.5};
    const double reach = 3.0;
    const double speed = 1.0;
    const double endS = 2.0 * reach / speed;
    const std::vector<ScriptedWalk> walks = {
        {{meet.x - reach * std::cos(half), meet.y - reach * std::sin(half)},
         {meet.x + reach * std::cos(half), meet.y + reach * std::sin(half)},
         0.0,
         endS},
        {{meet.x + reach * std::cos(half), meet.y - reach * std::sin(half)},
         {meet.x - reach * std::cos(half), meet.y + reach * std::sin(half)},
         0.0,
         endS}};
    MttTracker tracker;
    Random random(GetParam().seed);
    std::map<int64_t, int> before;
    for (uint32_t t = 0; t <= static_cast<uint32_t>(endS * 1000); t += kFrameMs) {
        tracker.Update(t, MeasureWalks(walks, t / 1000.0, random));
        if (t == 1000) {
            before = TrackOwners(tracker, walks, 1.0);
        }
    }
    const std::map<int64_t, int> after = TrackOwners(tracker, walks, endS);
    ASSERT_EQ(before.size(), 2u);
    EXPECT_EQ(after, before);
    EXPECT_EQ(tracker.ReportedTracks().size(), 2u);
}

// Paths meeting at 60 degrees or more. (Nearly parallel paths, where the two stay merged for
// more than a second, are beyond a nearest-neighbour tracker.)
INSTANTIATE_TEST_SUITE_P(Scenes, MttCrossing,
                         testing::Values(CrossingCase{1, 160.0}, CrossingCase{2, 160.0},
                                         CrossingCase{3, 140.0}, CrossingCase{4, 120.0},
                                         CrossingCase{5, 90.0}, CrossingCase{6, 90.0},
                                         CrossingCase{7, 60.0}, CrossingCase{8, 60.0}),
                         CrossingName);

// Heavy clutter all over the field (two false alarms a frame, as many as the emulator makes in
// seven) never makes a confirmed track; the person still gets one.
TEST(MttTracker, FalseAlarmsNeverBecomeConfirmedTracks) {
    const std::vector<ScriptedWalk> walks = {{{-2.0, 2.0}, {2.0, 7.0}, 0.0, 20.0}};
    MttTracker tracker;
    Random random(11);
    std::set<int64_t> ids;
    for (uint32_t t = 0; t <= 20000; t += kFrameMs) {
        std::vector<Detection> detections = MeasureWalks(walks, t / 1000.0, random);
        const int alarms = random.Poisson(2.0);
        for (int i = 0; i < alarms; ++i) {
            const double range = random.Uniform(0.5, 8.0);
            const double angle = random.Uniform(-60.0, 60.0) * test::kPi / 180.0;
            Detection alarm =
                test::DetectionAt(Vec2{range * std::sin(angle), range * std::cos(angle)});
            alarm.velocity = random.Gaussian(0.8);  // clutter has no consistent Doppler
            detections.push_back(alarm);
        }
        tracker.Update(t, detections);
        for (const TrackReport& track : tracker.ReportedTracks()) {
            ids.insert(track.id);
            EXPECT_LT(Distance(track.position, walks[0].At(t / 1000.0)), 1.0)
                << "track " << track.id << " at " << t << " ms follows no one";
        }
    }
    EXPECT_EQ(ids, (std::set<int64_t>{1}));
}

TEST(MttTracker, ASingleFalseAlarmStaysTentative) {
    MttTracker tracker;
    tracker.Update(0, {test::DetectionAt(Vec2{1.0, 3.0})});
    for (uint32_t t = kFrameMs; t < 1000; t += kFrameMs) {
        tracker.Update(t, {});
        EXPECT_TRUE(tracker.ReportedTracks().empty());
    }
    EXPECT_EQ(tracker.TrackCount(), 0);
}

// A person who walks out of the field is reported briefly after his last detection, then the
// track ends.
TEST(MttTracker, APersonWhoLeavesIsDeleted) {
    const std::vector<ScriptedWalk> walks = {{{0.0, 5.0}, {0.0, 10.0}, 0.0, 5.0}};
    MttTracker tracker;
    Random random(9);
    uint32_t lastSeenMs = 0;
    uint32_t lastReportedMs = 0;
    uint32_t goneMs = 0;
    for (uint32_t t = 0; t <= 6000; t += kFrameMs) {
        const std::vector<Detection> detections = MeasureWalks(walks, t / 1000.0, random, 0.0);
        if (!detections.empty()) {
            lastSeenMs = t;
        }
        tracker.Update(t, detections);
        if (!tracker.ReportedTracks().empty()) {
            lastReportedMs = t;
        }
        if (goneMs == 0 && lastSeenMs > 0 && t > lastSeenMs && tracker.TrackCount() == 0) {
            goneMs = t;
        }
    }
    const TrackerSettings settings;
    EXPECT_NEAR(lastSeenMs, 3000.0, 100.0);  // 8 m reached after 3 s
    EXPECT_LE(lastReportedMs - lastSeenMs, settings.reportCoastMs);
    EXPECT_GT(goneMs, lastSeenMs + settings.deleteAfterMs - kFrameMs);
    EXPECT_LE(goneMs, lastSeenMs + settings.deleteAfterMs + kFrameMs);
}

// Someone who stops for a while (and is missed more often then) keeps the id.
TEST(MttTracker, APersonWhoStopsKeepsTheId) {
    const std::vector<ScriptedWalk> walks = {{{-2.0, 3.0}, {1.0, 5.0}, 0.0, 3.0}};
    MttTracker tracker;
    Random random(21);
    for (uint32_t t = 0; t <= 9000; t += kFrameMs) {
        const double missRate = t > 3000 ? 0.3 : 0.05;
        tracker.Update(t, MeasureWalks(walks, t / 1000.0, random, missRate));
        if (t > 500) {
            const std::vector<TrackReport> tracks = tracker.ReportedTracks();
            if (!tracks.empty()) {
                EXPECT_EQ(tracks[0].id, 1) << t;
            }
        }
    }
    ASSERT_EQ(tracker.ReportedTracks().size(), 1u);
    EXPECT_LT(Distance(tracker.ReportedTracks()[0].position, walks[0].to), 0.3);
}

TEST(MttTracker, TimeGoingBackStartsAfresh) {
    MttTracker tracker;
    for (uint32_t t = 0; t <= 500; t += kFrameMs) {
        tracker.Update(t, {test::DetectionAt(Vec2{0.0, 4.0})});
    }
    ASSERT_EQ(tracker.ReportedTracks().size(), 1u);
    tracker.Update(100, {test::DetectionAt(Vec2{0.0, 4.0})});
    EXPECT_TRUE(tracker.ReportedTracks().empty());
    for (uint32_t t = 150; t <= 300; t += kFrameMs) {
        tracker.Update(t, {test::DetectionAt(Vec2{0.0, 4.0})});
    }
    ASSERT_EQ(tracker.ReportedTracks().size(), 1u);
    EXPECT_EQ(tracker.ReportedTracks()[0].id, 1) << "ids start again at 1";
}

TEST(MttTracker, DetectionsThatAreNotNumbersAreIgnored) {
    MttTracker tracker;
    Detection broken = test::DetectionAt(Vec2{0.0, 4.0});
    broken.angle = std::nan("");
    Detection negative = test::DetectionAt(Vec2{1.0, 4.0});
    negative.distance = -1.0;
    for (uint32_t t = 0; t <= 500; t += kFrameMs) {
        tracker.Update(t, {broken, negative});
    }
    EXPECT_EQ(tracker.TrackCount(), 0);
}

}  // namespace
}  // namespace zuvo::radar
