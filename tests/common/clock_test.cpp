// The millisecond counter and the sleep built on it.
#include <cstdint>

#include <gtest/gtest.h>

#include "ZUVO_CommonCore.h"

namespace {

TEST(Clock, SleepsAtLeastTheTimeAsked) {
    const uint32_t before = MS_GetTime();
    HQ_Sleep(30);
    const uint32_t elapsed = MS_GetTime() - before;  // unsigned: right across the wrap
    EXPECT_GE(elapsed, 30u);
    EXPECT_LT(elapsed, 5000u);
}

}  // namespace
