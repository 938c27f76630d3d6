// The tower light's rules over a recording port and an injected clock: which frames go out in
// which order, with which time-out and pause, and what the light reports.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/light/TowerLight.h"
#include "tests/support/ManualClock.h"

namespace zuvo::light {
namespace {

using Events = std::vector<std::string>;

// Records every call as one line; a write finishes unless writesFinish is false.
class RecordingPort : public LightPort {
public:
    int OpenPort(int portNumber, int baudRate) noexcept override {
        events.push_back("open " + std::to_string(portNumber) + " " + std::to_string(baudRate));
        open = openResult != 0;
        return openResult;
    }
    bool IsPortOpen() const noexcept override { return open; }
    bool WritePort(const uint8_t* bytes, int count, int timeoutMs) noexcept override {
        std::string line = "write";
        for (int i = 0; i < count; ++i) {
            char hex[4];
            std::snprintf(hex, sizeof(hex), " %02X", bytes[i]);
            line += hex;
        }
        events.push_back(line + " /" + std::to_string(timeoutMs));
        return writesFinish;
    }
    void ClosePort() noexcept override {
        events.push_back("close");
        open = false;
    }
    void Pause(uint32_t milliseconds) noexcept override {
        events.push_back("pause " + std::to_string(milliseconds));
    }
    void Diagnostic(int level, const char* line) noexcept override {
        events.push_back("diag " + std::to_string(level) + " " + line);
    }

    // The events since the last call.
    Events Take() {
        Events taken;
        taken.swap(events);
        return taken;
    }

    int openResult = 1;
    bool writesFinish = true;
    bool open = false;
    Events events;
};

// One frame on the line: the write with its 500 ms bound, then the 100 ms pause.
Events Frame(const char* hex) {
    return {std::string("write ") + hex + " /500", "pause 100"};
}
Events operator+(Events a, const Events& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Events kCoil0On = Frame("01 05 00 00 FF 00 8C 3A");
const Events kCoil0Off = Frame("01 05 00 00 00 00 CD CA");
const Events kCoil2On = Frame("01 05 00 02 FF 00 2D FA");
const Events kCoil2Off = Frame("01 05 00 02 00 00 6C 0A");
const Events kCoil3Off = Frame("01 05 00 03 00 00 3D CA");
const Events kClosed = {"close", "diag 2 Close KWQ\r\n"};

class LightRun : public testing::Test {
protected:
    void OpenLight() {
        ASSERT_EQ(light.Open(7, 9600), 1);
        ASSERT_EQ(port.Take(), Events({"open 7 9600", "diag 2 Open KWQ = 1\r\n"}) + kCoil2On);
        ASSERT_EQ(light.LightState(), kNoObjectLit);
    }

    RecordingPort port;
    TowerLight light{port, 0};  // the line checks have a test of their own
};

TEST_F(LightRun, PortThatDoesNotOpenLeavesEverythingSilent) {
    port.openResult = 0;
    EXPECT_EQ(light.Open(9, 19200), 0);
    EXPECT_EQ(port.Take(), Events({"open 9 19200", "diag 2 Open KWQ = 0\r\n"}));
    EXPECT_EQ(light.LightState(), kLightOff);

    light.ApplyPresence(true, 1000);
    light.ApplyPresence(false, 5000);
    light.SwitchLightOn(kObjectLit);
    light.TurnOffLight();
    light.CloseLight();
    EXPECT_EQ(port.Take(), Events());
    EXPECT_EQ(light.LightState(), kLightOff);
    EXPECT_EQ(light.LastPresenceTime(), 1000u);
}

TEST_F(LightRun, StopSwitchesTheLitLampAndCoil3OffAndClosesOnce) {
    OpenLight();
    light.CloseLight();
    EXPECT_EQ(port.Take(), kCoil2Off + kCoil3Off + kClosed) << "no object";

    OpenLight();
    light.ApplyPresence(true, 50);
    port.Take();
    light.CloseLight();
    EXPECT_EQ(port.Take(), kCoil0Off + kCoil3Off + kClosed) << "an object present";
    EXPECT_EQ(light.LightState(), kLightOff);

    light.CloseLight();
    light.ApplyPresence(true, 100);
    light.ApplyPresence(false, 5000);
    EXPECT_EQ(port.Take(), Events()) << "a closed light sends nothing";
}

TEST_F(LightRun, SecondStartClosesTheFirst) {
    OpenLight();
    light.ApplyPresence(true, 10);
    port.Take();
    EXPECT_EQ(light.Open(8, 115200), 1);
    EXPECT_EQ(port.Take(), kCoil0Off + kCoil3Off + kClosed +
                               Events({"open 8 115200", "diag 2 Open KWQ = 1\r\n"}) + kCoil2On);
    EXPECT_EQ(light.LightState(), kNoObjectLit);
}

// A frame cut off by its time-out: written once, then the port is closed and opened again so
// that its rest cannot go out in front of the next frame.
Events CutFrame(const char* hex, int reopened) {
    return Events({std::string("write ") + hex + " /500", "close", "open 7 9600",
                   "diag 2 KWQ frame cut off, reopen = " + std::to_string(reopened) + "\r\n",
                   "pause 100"});
}

TEST_F(LightRun, UnwrittenFramesAreNotRepeatedAndTheStateIsKept) {
    OpenLight();
    port.writesFinish = false;
    light.ApplyPresence(true, 100);
    EXPECT_EQ(port.Take(),
              CutFrame("01 05 00 02 00 00 6C 0A", 1) + CutFrame("01 05 00 00 FF 00 8C 3A", 1));
    EXPECT_EQ(light.LightState(), kObjectLit);
    light.ApplyPresence(true, 200);
    EXPECT_EQ(port.Take(), Events());
    port.writesFinish = true;
    light.ApplyPresence(false, 3000);
    EXPECT_EQ(port.Take(), kCoil0Off + kCoil2On) << "the reopened port carries the next frames";
}

TEST_F(LightRun, PortThatDoesNotReopenLeavesTheLightSilent) {
    OpenLight();
    port.writesFinish = false;
    port.openResult = 0;
    light.ApplyPresence(true, 100);
    EXPECT_EQ(port.Take(), CutFrame("01 05 00 02 00 00 6C 0A", 0))
        << "coil 0 on is not sent on a closed port";
    light.ApplyPresence(false, 3000);
    light.CloseLight();
    EXPECT_EQ(port.Take(), Events());
    EXPECT_EQ(light.LightState(), kLightOff);
}

// A line that went away in the run is tried again every two seconds of the refresh clock;
// once it opens, both lamps go off and the presence rule lights the right one again. Presence
// seen while the line was away still counts.
TEST_F(LightRun, ALineThatComesBackIsOpenedAgainAndTheLampsFollow) {
    OpenLight();
    port.writesFinish = false;
    port.openResult = 0;
    light.ApplyPresence(true, 100);
    EXPECT_EQ(port.Take(), CutFrame("01 05 00 02 00 00 6C 0A", 0));
    port.writesFinish = true;

    light.ApplyPresence(true, 1100);  // the first pass without the line starts the clock
    light.ApplyPresence(true, 2100);
    EXPECT_EQ(port.Take(), Events()) << "no try within two seconds";
    light.ApplyPresence(true, 3100);
    EXPECT_EQ(port.Take(), Events({"open 7 9600"})) << "a try, silent while it fails";
    light.ApplyPresence(false, 4100);
    EXPECT_EQ(port.Take(), Events());

    port.openResult = 1;
    light.ApplyPresence(false, 5200);
    EXPECT_EQ(port.Take(), Events({"open 7 9600", "diag 2 KWQ line back\r\n"}) + kCoil0Off +
                               kCoil2Off + kCoil2On)
        << "the last presence was at 3100: absent for more than two seconds";
    EXPECT_EQ(light.LightState(), kNoObjectLit);
    light.ApplyPresence(true, 6100);
    EXPECT_EQ(port.Take(), kCoil2Off + kCoil0On);
    light.CloseLight();
    EXPECT_EQ(port.Take(), kCoil0Off + kCoil3Off + kClosed);

    // The next run starts afresh: a port that does not open at the start is never tried again.
    port.openResult = 0;
    light.Open(7, 9600);
    port.Take();
    light.ApplyPresence(true, 10000);
    light.ApplyPresence(true, 20000);
    EXPECT_EQ(port.Take(), Events());
}

// A line that is gone fails its writes at once, which looks like a write that went out: every
// five seconds the port is closed and opened again, and a port that does not open is a lost
// line, tried again every two seconds until it is back.
TEST(LightLine, IsCheckedByReopeningAndALostLineIsTriedUntilItIsBack) {
    RecordingPort port;
    TowerLight light{port};
    ASSERT_EQ(light.Open(7, 9600), 1);
    port.Take();
    light.ApplyPresence(true, 1000);  // the first pass starts the check clock
    EXPECT_EQ(port.Take(), kCoil2Off + kCoil0On);
    light.ApplyPresence(true, 5999);
    EXPECT_EQ(port.Take(), Events());
    light.ApplyPresence(true, 6000);
    EXPECT_EQ(port.Take(), Events({"close", "open 7 9600"})) << "a check, nothing on the line";

    port.openResult = 0;
    light.ApplyPresence(false, 11000);
    EXPECT_EQ(port.Take(), Events({"close", "open 7 9600", "diag 2 KWQ line lost\r\n"}));
    light.ApplyPresence(false, 12000);
    EXPECT_EQ(port.Take(), Events());
    light.ApplyPresence(false, 13000);
    EXPECT_EQ(port.Take(), Events({"open 7 9600"}));
    port.openResult = 1;
    light.ApplyPresence(false, 15000);
    EXPECT_EQ(port.Take(), Events({"open 7 9600", "diag 2 KWQ line back\r\n"}) + kCoil0Off +
                               kCoil2Off + kCoil2On)
        << "absent since 6000";
    light.ApplyPresence(false, 19999);
    EXPECT_EQ(port.Take(), Events()) << "the check clock starts again at the return";
    light.ApplyPresence(false, 20001);
    EXPECT_EQ(port.Take(), Events({"close", "open 7 9600"}));
}

TEST_F(LightRun, OnlyTheTwoLampStatesCanBeSwitchedOn) {
    OpenLight();
    for (int32_t state : {-1, 0, 2, 4}) {
        light.SwitchLightOn(state);
        EXPECT_EQ(port.Take(), Events()) << "state " << state;
        EXPECT_EQ(light.LightState(), kNoObjectLit) << "state " << state;
    }
}

TEST_F(LightRun, LampTurnedOffComesBackAloneAfterTheAbsence) {
    OpenLight();
    light.TurnOffLight();
    EXPECT_EQ(port.Take(), kCoil2Off);
    EXPECT_EQ(light.LightState(), kLightOff);
    light.TurnOffLight();
    EXPECT_EQ(port.Take(), Events()) << "nothing is lit, nothing to switch off";
    light.ApplyPresence(false, 3000);
    EXPECT_EQ(port.Take(), kCoil2On);
}

// The presence rule through a whole run, from several clock origins: the 32-bit millisecond
// clock wraps every 49.7 days, and a wrap inside the run must not change a single frame.
class PresenceAcrossTheClock : public LightRun, public testing::WithParamInterface<uint32_t> {
protected:
    // The clock's time elapsedMs after the origin.
    uint32_t At(uint64_t elapsedMs) {
        clock.AdvanceTo(elapsedMs);
        return clock.Now();
    }

    zuvo::test::ManualClock clock{GetParam()};
};

TEST_P(PresenceAcrossTheClock, FramesFollowTheObject) {
    OpenLight();
    light.ApplyPresence(false, At(0));
    EXPECT_EQ(port.Take(), Events()) << "the no-object lamp is lit already";

    light.ApplyPresence(true, At(500));
    EXPECT_EQ(port.Take(), kCoil2Off + kCoil0On) << "an object comes into view";
    EXPECT_EQ(light.LightState(), kObjectLit);
    for (uint64_t t = 600; t <= 10000; t += 100) {
        light.ApplyPresence(true, At(t));
    }
    EXPECT_EQ(port.Take(), Events()) << "present in every pass: coil 0 is not sent again";
    EXPECT_EQ(light.LastPresenceTime(), At(10000));

    light.ApplyPresence(false, At(11000));
    light.ApplyPresence(false, At(12000));
    EXPECT_EQ(port.Take(), Events()) << "2000 ms without an object is not yet absence";
    light.ApplyPresence(false, At(12001));
    EXPECT_EQ(port.Take(), kCoil0Off + kCoil2On);
    EXPECT_EQ(light.LightState(), kNoObjectLit);
    light.ApplyPresence(false, At(30000));
    EXPECT_EQ(port.Take(), Events());

    light.ApplyPresence(true, At(31000));
    light.ApplyPresence(false, At(32000));
    light.ApplyPresence(true, At(32900));
    light.ApplyPresence(false, At(34900));
    EXPECT_EQ(port.Take(), kCoil2Off + kCoil0On) << "short gaps keep the object lamp lit";
}

// Named by where the clock wraps: ClockWrapsAfter4096Ms wraps while the object is present,
// ClockStartsAt123456 runs without a wrap.
std::string ClockOriginName(const testing::TestParamInfo<uint32_t>& row) {
    constexpr uint64_t kRunMs = 34900;  // the time of the run's last pass above
    const uint64_t untilTheWrap = (uint64_t{1} << 32) - row.param;
    return untilTheWrap <= kRunMs ? "ClockWrapsAfter" + std::to_string(untilTheWrap) + "Ms"
                                  : "ClockStartsAt" + std::to_string(row.param);
}

INSTANTIATE_TEST_SUITE_P(Light, PresenceAcrossTheClock,
                         testing::Values(0u, 123456u, 0xFFFFFFFFu - 11000u, 0xFFFFF000u,
                                         0xFFFFFFFFu),
                         ClockOriginName);

}  // namespace
}  // namespace zuvo::light
