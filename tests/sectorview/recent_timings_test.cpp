// The medians of the run-health overlay over the last second.
#include "sectorview/RecentTimings.h"

#include <gtest/gtest.h>

namespace {

using zuvo::sector::RecentTimings;

TEST(RecentTimings, MediansOfTheLastSecondOnly) {
    RecentTimings timings;
    EXPECT_EQ(timings.Medians(0.0).paints, 0u);
    EXPECT_EQ(timings.Medians(0.0).paintMs, 0.0);
    timings.Add(100.0, 50.0, 90.0);  // slow, and more than a second before the end
    timings.Add(1200.0, 4.0, 10.0);
    timings.Add(1300.0, 6.0, -1.0);  // showed no delivery
    timings.Add(1400.0, 5.0, 7.0);
    timings.Add(1500.0, 7.0, 12.0);
    const auto medians = timings.Medians(1500.0);
    EXPECT_EQ(medians.paints, 4u);
    EXPECT_DOUBLE_EQ(medians.paintMs, 5.5) << "the mean of the middle two of 4, 5, 6, 7";
    EXPECT_EQ(medians.deliveries, 3u);
    EXPECT_DOUBLE_EQ(medians.latencyMs, 10.0);
    // A second later only the last paint is within the window, and the old ones are gone.
    const auto later = timings.Medians(2450.0);
    EXPECT_EQ(later.paints, 1u);
    EXPECT_DOUBLE_EQ(later.paintMs, 7.0);
    EXPECT_EQ(timings.Medians(5000.0).paints, 0u);
}

}  // namespace
