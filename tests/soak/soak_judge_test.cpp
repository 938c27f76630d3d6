// The soak's verdict: what counts as flat, as a complete log and as a view still painted.
#include <gtest/gtest.h>

#include <functional>

#include "tests/soak/SoakJudge.h"

namespace zuvo::soak {
namespace {

// Ten minutes sampled every 10 s plus the sample after the stop, with a program that settles
// in its first minute and then stays put; change shapes a sample.
std::vector<SoakSample> TenMinutes(const std::function<void(SoakSample&, int)>& change = nullptr) {
    std::vector<SoakSample> samples;
    for (int i = 0; i <= 61; ++i) {
        SoakSample s;
        s.timeS = 10.0 * std::min(i, 60);
        const bool settled = i >= 6;
        s.privateBytes = settled ? 60'000'000 : 40'000'000 + i * 3'000'000;
        s.gdiObjects = settled ? 120 : 60 + i * 10;
        s.userObjects = 40;
        s.handles = 200 + (i % 2);  // a file opened at some samples
        s.delivered = std::min(i, 60) * 50'000LL;
        s.logLines = s.delivered - (i == 61 ? 0 : 700);  // not all flushed while it runs
        s.paints = std::min(i, 60) * 20LL;
        if (change) {
            change(s, i);
        }
        samples.push_back(s);
    }
    samples.back().logLines = samples.back().delivered;
    return samples;
}

const SeriesVerdict& Series(const SoakVerdict& verdict, const std::string& name) {
    for (const SeriesVerdict& s : verdict.series) {
        if (s.name == name) {
            return s;
        }
    }
    static const SeriesVerdict none;
    ADD_FAILURE() << "no series " << name;
    return none;
}

TEST(SoakJudge, ASettledProgramPassesWithItsFiguresInTheTable) {
    const std::vector<SoakSample> samples = TenMinutes();
    const SoakVerdict verdict = JudgeSoak(samples, 60.0, 3'000'000);
    EXPECT_TRUE(verdict.pass) << FormatVerdict(verdict);
    const SeriesVerdict& gdi = Series(verdict, "GDI objects");
    EXPECT_EQ(gdi.start, 60);
    EXPECT_EQ(gdi.settled, 120) << "the first minute's growth does not count";
    EXPECT_EQ(gdi.growth, 0);
    EXPECT_EQ(Series(verdict, "handles").peak, 201);
    const std::string table = FormatVerdict(verdict);
    EXPECT_NE(table.find("soak: pass"), std::string::npos) << table;
    EXPECT_EQ(table.find("FAIL"), std::string::npos) << table;
    const std::string csv = SamplesCsv(samples);
    EXPECT_EQ(csv.rfind("time_s,private_bytes,gdi_objects,user_objects,handles,delivered,", 0), 0u);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 63);
    EXPECT_NE(csv.find("\n600.0,60000000,120,40,"), std::string::npos) << csv.substr(0, 400);
}

TEST(SoakJudge, GrowthBeyondOnePercentOrAHandfulIsALeak) {
    struct Case {
        const char* what;
        const char* series;
        std::function<void(SoakSample&, int)> change;
        bool pass;
    };
    const Case cases[] = {
        {"memory 0.9 %", "private bytes",
         [](SoakSample& s, int i) { s.privateBytes += i >= 6 ? (i - 6) * 10'000 : 0; }, true},
        {"memory 1.1 %", "private bytes",
         [](SoakSample& s, int i) { s.privateBytes += i >= 6 ? (i - 6) * 12'300 : 0; }, false},
        {"a GDI object a minute", "GDI objects",
         [](SoakSample& s, int i) { s.gdiObjects += i >= 6 ? (i - 6) / 6 : 0; }, false},
        {"a handful of windows more", "USER objects",
         [](SoakSample& s, int i) { s.userObjects += i >= 40 ? 4 : 0; }, true},
        {"five windows more", "USER objects",
         [](SoakSample& s, int i) { s.userObjects += i >= 40 ? 5 : 0; }, false},
        {"a handle per sample", "handles", [](SoakSample& s, int i) { s.handles += i; }, false},
        {"memory given back", "private bytes",
         [](SoakSample& s, int i) { s.privateBytes -= i >= 30 ? 5'000'000 : 0; }, true},
    };
    for (const Case& c : cases) {
        const SoakVerdict verdict = JudgeSoak(TenMinutes(c.change), 60.0, 3'000'000);
        EXPECT_EQ(Series(verdict, c.series).pass, c.pass) << c.what << "\n"
                                                          << FormatVerdict(verdict);
        EXPECT_EQ(verdict.pass, c.pass) << c.what;
    }
}

TEST(SoakJudge, ALostLineAStalledDeliveryOrAStillViewFails) {
    std::vector<SoakSample> lost = TenMinutes();
    lost.back().logLines -= 1;
    SoakVerdict verdict = JudgeSoak(lost, 60.0, 3'000'000);
    EXPECT_FALSE(Series(verdict, "log lines").pass);
    EXPECT_FALSE(verdict.pass);
    EXPECT_NE(FormatVerdict(verdict).find("-1 from the entries delivered"), std::string::npos)
        << FormatVerdict(verdict);

    verdict = JudgeSoak(TenMinutes(), 60.0, 3'000'001);
    EXPECT_FALSE(Series(verdict, "log lines").pass) << "one entry more at the stop than lines";

    verdict = JudgeSoak(TenMinutes([](SoakSample& s, int i) {
                            if (i >= 30 && i <= 60) {
                                s.delivered = 30 * 50'000LL;
                            }
                        }),
                        60.0, 3'000'000);
    EXPECT_FALSE(Series(verdict, "deliveries").pass);
    EXPECT_FALSE(verdict.pass);

    verdict = JudgeSoak(TenMinutes([](SoakSample& s, int i) {
                            if (i >= 50) {
                                s.paints = 50 * 20;
                            }
                        }),
                        60.0, 3'000'000);
    EXPECT_FALSE(Series(verdict, "paints").pass);
    EXPECT_TRUE(Series(verdict, "deliveries").pass);
    EXPECT_FALSE(verdict.pass);
}

TEST(SoakJudge, ARunThatEndsInItsFirstMinuteIsNoPass) {
    std::vector<SoakSample> samples = TenMinutes();
    samples.resize(7);
    const SoakVerdict verdict = JudgeSoak(samples, 60.0, 300'000);
    EXPECT_FALSE(verdict.pass);
    EXPECT_NE(FormatVerdict(verdict).find("too few samples"), std::string::npos);
    EXPECT_FALSE(JudgeSoak({}, 60.0, 0).pass);
}

}  // namespace
}  // namespace zuvo::soak
