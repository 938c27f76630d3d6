// Diagnostic lines reach the log beside the program only while the switch is on, stamped and
// one line each.
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "ZUVO_CommonCore.h"
#include "libs/ZUVO_Common/src/Platform.h"
#include "tests/support/WholeFile.h"
#include "text/Unicode.h"

namespace {

std::string Narrow(const std::wstring& wide) {
    return zuvo::text::WideToUtf8(wide);
}

// One test on purpose: the log file beside the program is shared by all of its steps.
TEST(Diagnostics, LogFollowsTheSwitch) {
    const std::string folder = Narrow(zuvo::platform::ProgramFolder());
    ASSERT_FALSE(folder.empty());
    const std::string log = folder + "/ZUVO_Diagnostics.log";
    const std::string switchFile = folder + "/ZUVO_Diagnostics.on";
    std::remove(log.c_str());
    std::remove(switchFile.c_str());
    unsetenv("ZUVO_DIAGNOSTICS");

    DbgOutputA(1, "switched off %d", 1);
    EXPECT_EQ(zuvo::test::ReadWholeFile(log), "");

    setenv("ZUVO_DIAGNOSTICS", "1", 1);
    DbgOutputA(2, "probe %d %s", 42, "by variable");
    DbgOutputA(1, "already ended\n");
    unsetenv("ZUVO_DIAGNOSTICS");
    std::FILE* marker = std::fopen(switchFile.c_str(), "wb");
    ASSERT_NE(marker, nullptr);
    std::fclose(marker);
    DbgOutputA(1, "%s", std::string(5000, 'L').c_str());
    std::remove(switchFile.c_str());
    DbgOutputA(1, "switched off again");

    const std::string text = zuvo::test::ReadWholeFile(log);
    std::remove(log.c_str());
    const std::string stamp = R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} )";
    const std::regex expected(stamp + R"(\[L2\] probe 42 by variable\n)" + stamp +
                              R"(\[L1\] already ended\n)" + stamp + R"(\[L1\] L{4095}\n)");
    EXPECT_TRUE(std::regex_match(text, expected)) << text.substr(0, 200);
}

}  // namespace
