// The millisecond counter, the sleep built on it and the switch that starts the counter
// shortly before its wrap.
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "ZUVO_CommonCore.h"
#include "libs/ZUVO_Common/src/ClockWrap.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WholeFile.h"

namespace {

using zuvo::clock::kDefaultClockWrapLeadMs;
using zuvo::clock::ReadClockWrapLead;

TEST(Clock, SleepsAtLeastTheTimeAsked) {
    const uint32_t before = MS_GetTime();
    HQ_Sleep(30);
    const uint32_t elapsed = MS_GetTime() - before;  // unsigned: right across the wrap
    EXPECT_GE(elapsed, 30u);
    EXPECT_LT(elapsed, 5000u);
}

TEST(ClockWrapSwitch, TheFileGivesTheLeadBeforeTheWrap) {
    const zuvo::test::TempFolder folder(u8"clock_wrap");
    uint32_t lead = 1;
    EXPECT_FALSE(ReadClockWrapLead(folder.Wide(), &lead)) << "no file: no switch";
    EXPECT_FALSE(ReadClockWrapLead(L"", &lead)) << "the program's folder unknown";
    EXPECT_EQ(lead, 1u) << "left alone";

    const struct {
        std::string text;
        uint32_t lead;
    } rows[] = {
        {"", kDefaultClockWrapLeadMs},
        {"2500", 2500},
        {" 15000\r\n", 15000},
        {"0", 0},
        {"4294967295", 4294967295u},
        {"4294967296", kDefaultClockWrapLeadMs},  // beyond the counter
        {"-5", kDefaultClockWrapLeadMs},
        {"12 s", kDefaultClockWrapLeadMs},
        {"soon", kDefaultClockWrapLeadMs},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("\"" + row.text + "\"");
        ASSERT_TRUE(zuvo::test::WriteWholeFile(folder / "ZUVO_ClockWrap.on", row.text));
        lead = 1;
        EXPECT_TRUE(ReadClockWrapLead(folder.Wide(), &lead));
        EXPECT_EQ(lead, row.lead);
    }
}

}  // namespace
