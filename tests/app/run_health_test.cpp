// The run-health overlay's text.
#include "app/RunHealth.h"

#include <gtest/gtest.h>

namespace {

using zuvo::app::FormatRunHealth;
using zuvo::app::RunHealth;
using zuvo::app::RunHealthWords;

TEST(RunHealth, OneLinePerFigureAndADashForWhatWasNotTimed) {
    const RunHealthWords words{L"Deliveries/s", L"Objects", L"Entries",
                               L"Log lines",    L"Paint",   L"Latency"};
    RunHealth health;
    health.deliveriesPerSecond = 19.96;
    health.objects = 3;
    health.entries = 12;
    health.logLines = 4567;
    health.painted = true;
    health.paintMs = 6.16;
    EXPECT_EQ(FormatRunHealth(words, health),
              L"Deliveries/s 20.0\nObjects 3\nEntries 12\nLog lines 4567\n"
              L"Paint 6.2 ms\nLatency -");
    health.delivered = true;
    health.latencyMs = 7.04;
    const std::wstring text = FormatRunHealth(words, health);
    EXPECT_EQ(text.substr(text.rfind(L'\n') + 1), L"Latency 7.0 ms");
}

}  // namespace
