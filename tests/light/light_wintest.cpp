// CSerialLightCtrl_KWQ on real Wine COM ports backed by pseudo-terminals: the bytes on the
// line, the coils of a real Modbus RTU slave, a port that does not exist and a line that
// stops taking data. The refresh passes get their clock from the test, starting just before
// the 32-bit millisecond clock wraps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>

#include "ZUVO_Common.h"
#include "app/light/SerialLightCtrl_KWQ.h"
#include "tests/support/LinePeer.h"
#include "tests/support/ManualClock.h"

namespace {

using zuvo::test::LinePeer;
using zuvo::test::ManualClock;
using zuvo::test::OnDriveZ;
using zuvo::test::WineDevicesFolder;

// COM numbers no other test maps, one per case so that the cases may run side by side.
constexpr int kCapturePort = 61;
constexpr int kModbusPort = 62;
constexpr int kStallPort = 63;
constexpr int kMissingPort = 69;
constexpr int kBaudRate = 9600;

constexpr uint32_t kClockStart = 0xFFFFF000u;  // wraps 4096 ms into the run

// One frame costs the write's 500 ms bound plus the 100 ms pause when the line is stuck;
// the slack covers scheduling on a loaded machine.
constexpr uint32_t kStuckFrameMs = 600;
constexpr uint32_t kFrameSlackMs = 150;

// One refresh pass of a run and what the light shows after it; coils 0 to 3 of the slave,
// which starts with 0101 (coils 1 and 3 on, so that switching coil 3 off shows).
struct Pass {
    bool present;
    uint32_t at;  // ms after kClockStart
    int32_t state;
    const char* coils;
};

constexpr char kCoilsAfterOpen[] = "0111";
constexpr char kCoilsAfterClose[] = "0100";

using zuvo::light::kLightOff;
using zuvo::light::kNoObjectLit;
using zuvo::light::kObjectLit;

const Pass kRun[] = {
    {false, 100, kNoObjectLit, "0111"},
    {true, 500, kObjectLit, "1101"},  // object appears: coil 2 off, coil 0 on
    {true, 1500, kObjectLit, "1101"},
    {true, 3000, kObjectLit, "1101"},  // last pass with the object
    {false, 4000, kObjectLit, "1101"},
    {false, 5000, kObjectLit, "1101"},    // 2000 ms: not yet (the clock has wrapped meanwhile)
    {false, 5001, kNoObjectLit, "0111"},  // coil 0 off, coil 2 on
    {false, 9000, kNoObjectLit, "0111"},
    {true, 9500, kObjectLit, "1101"},  // the object is back when the run stops
};

// What the line carries for the open, kRun and the close.
const std::string kRunLine =
    "01 05 00 02 FF 00 2D FA "   // coil 2 on: start
    "01 05 00 02 00 00 6C 0A "   // coil 2 off
    "01 05 00 00 FF 00 8C 3A "   // coil 0 on
    "01 05 00 00 00 00 CD CA "   // coil 0 off
    "01 05 00 02 FF 00 2D FA "   // coil 2 on
    "01 05 00 02 00 00 6C 0A "   // coil 2 off
    "01 05 00 00 FF 00 8C 3A "   // coil 0 on
    "01 05 00 00 00 00 CD CA "   // coil 0 off: stop
    "01 05 00 03 00 00 3D CA ";  // coil 3 off

std::string Hex(const std::string& bytes) {
    std::string text;
    for (unsigned char byte : bytes) {
        char hex[4];
        std::snprintf(hex, sizeof(hex), "%02X ", byte);
        text += hex;
    }
    return text;
}

uint32_t ElapsedSince(uint32_t start) {
    return MS_GetTime() - start;
}

// A light opened on COM<port>, whose other end the peer serves in the given mode.
class LightOnLine : public testing::Test {
protected:
    void OpenOnLine(const char* mode, int port) {
        peer.emplace(mode, port, kBaudRate);
        ASSERT_EQ(peer->Start(), "");
        light.emplace();
        ASSERT_EQ(light->Open(port, kBaudRate), 1);
        EXPECT_EQ(light->LightState(), kNoObjectLit);
    }

    // The refresh passes' clock.
    uint32_t At(uint32_t elapsedMs) {
        clock.AdvanceTo(elapsedMs);
        return clock.Now();
    }

    ManualClock clock{kClockStart};
    std::optional<LinePeer> peer;
    std::optional<CSerialLightCtrl_KWQ> light;  // after the peer: the port closes first
};

TEST_F(LightOnLine, CarriesTheRunsFramesByteForByte) {
    ASSERT_NO_FATAL_FAILURE(OpenOnLine("capture", kCapturePort));
    for (const Pass& pass : kRun) {
        light->ApplyPresence(pass.present, At(pass.at));
        EXPECT_EQ(light->LightState(), pass.state) << "pass at " << pass.at;
    }
    light->CloseLight();
    EXPECT_EQ(light->LightState(), kLightOff);
    light.reset();
    ASSERT_EQ(peer->Stop(), "");
    const std::optional<std::string> line = peer->WaitFor(L"line.bin", 1000);
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(Hex(*line), kRunLine);
}

// Polls the slave until its coils read as expected or a second has passed; the last reading.
std::string CoilsOnceSettled(LinePeer& peer, int& query, const std::string& expected) {
    std::string coils;
    const uint32_t start = MS_GetTime();
    do {
        const std::wstring name = std::to_wstring(++query);
        if (!peer.Request(L"query-" + name)) {
            return "(cannot ask the slave)";
        }
        coils = peer.WaitFor(L"coils-" + name, 2000).value_or("(no answer)");
    } while (coils != expected && ElapsedSince(start) < 1000);
    return coils;
}

TEST_F(LightOnLine, ModbusSlaveCoilsFollowTheFrames) {
    ASSERT_NO_FATAL_FAILURE(OpenOnLine("modbus", kModbusPort));
    int query = 0;
    EXPECT_EQ(CoilsOnceSettled(*peer, query, kCoilsAfterOpen), kCoilsAfterOpen);
    for (const Pass& pass : kRun) {
        light->ApplyPresence(pass.present, At(pass.at));
        EXPECT_EQ(CoilsOnceSettled(*peer, query, pass.coils), pass.coils) << "pass at " << pass.at;
    }
    // The light's destruction ends the run like a stop.
    light.reset();
    EXPECT_EQ(CoilsOnceSettled(*peer, query, kCoilsAfterClose), kCoilsAfterClose);
    EXPECT_EQ(peer->Stop(), "");
}

TEST(LightWithoutLine, MissingPortLeavesTheRunWorking) {
    const std::wstring devices = WineDevicesFolder();
    ASSERT_FALSE(devices.empty()) << "WINEPREFIX is not set";
    const std::wstring mapping = OnDriveZ(devices + L"/com" + std::to_wstring(kMissingPort));
    ASSERT_EQ(GetFileAttributesW(mapping.c_str()), INVALID_FILE_ATTRIBUTES)
        << "COM" << kMissingPort << " is mapped: the case needs a port that does not exist";

    ManualClock clock(kClockStart);
    // Every frame costs its 100 ms pause, so an operation that sent one takes that long. Each
    // operation is timed on its own: under a loaded machine the whole sequence may take longer
    // than one pause without any frame being sent.
    uint32_t longest = 0;
    const auto timed = [&](const std::function<void()>& operation) {
        const uint32_t start = MS_GetTime();
        operation();
        longest = std::max(longest, ElapsedSince(start));
    };
    {
        CSerialLightCtrl_KWQ light;
        timed([&] { EXPECT_EQ(light.Open(kMissingPort, kBaudRate), 0); });
        EXPECT_EQ(light.LightState(), kLightOff);
        for (const Pass& pass : kRun) {
            clock.AdvanceTo(pass.at);
            timed([&] { light.ApplyPresence(pass.present, clock.Now()); });
            EXPECT_EQ(light.LightState(), kLightOff) << "pass at " << pass.at;
        }
        timed([&] { light.SwitchLightOn(kObjectLit); });
        timed([&] { light.TurnOffLight(); });
        timed([&] { light.CloseLight(); });
        EXPECT_EQ(light.LightState(), kLightOff);
    }
    EXPECT_LT(longest, 100u) << "an operation took as long as a frame's pause: a frame was sent";
}

// Fills the line until nothing more fits, runs one light operation and checks that its first
// frame took the write bound and that no frame took longer. A frame cut short by the time-out
// makes the light close and reopen its port, so the line takes the frames after it again: only
// the first one is stuck.
//
// What this pseudo-terminal line can show of that: under Wine a close keeps what the
// pseudo-terminal holds (a raw CreateFile, CloseHandle, CreateFile leaves the next write stuck
// for its whole time-out; PurgeComm frees it), and what frees the line here is our utility
// library's OpenSerial, which clears the port's buffers when it opens. The part that does not
// depend on that is the light's own: it notices the cut-off frame by the time the send took,
// and closes and reopens the port (tower_light_test checks the calls). On Windows the serial
// driver cancels the pending rest of a write when its handle is closed.
uint32_t TimeStuckFrames(LinePeer& peer, const char* what, uint32_t frames,
                         const std::function<void()>& operation) {
    peer.Forget(L"filled");
    EXPECT_TRUE(peer.Request(L"fill"));
    EXPECT_TRUE(peer.WaitFor(L"filled", 30000).has_value()) << "the peer did not fill the line";
    const uint32_t start = MS_GetTime();
    operation();
    const uint32_t elapsed = ElapsedSince(start);
    // Less than the write bound would mean the line was not stuck and nothing was measured.
    EXPECT_GE(elapsed, kStuckFrameMs - 20) << what;
    EXPECT_LE(elapsed, frames * (kStuckFrameMs + kFrameSlackMs)) << what;
    return elapsed;
}

TEST_F(LightOnLine, StuckLineCostsEachFrameItsBoundAndNoMore) {
    ASSERT_NO_FATAL_FAILURE(OpenOnLine("stall", kStallPort));

    uint32_t longest = 0;
    for (int round = 0; round < 3; ++round) {
        longest = std::max(longest,
                           TimeStuckFrames(*peer, "coil 2 off", 1, [&] { light->TurnOffLight(); }));
        EXPECT_EQ(light->LightState(), kLightOff);
        // The port was reopened after the cut-off frame: the next frame goes out at once.
        const uint32_t start = MS_GetTime();
        light->SwitchLightOn(kNoObjectLit);
        EXPECT_LT(ElapsedSince(start), kStuckFrameMs - 200) << "coil 2 on after the reopen";
        EXPECT_EQ(light->LightState(), kNoObjectLit);
    }
    const uint32_t change =
        TimeStuckFrames(*peer, "lamp change", 2, [&] { light->ApplyPresence(true, clock.Now()); });
    EXPECT_EQ(light->LightState(), kObjectLit) << "the state records the change all the same";
    const uint32_t close = TimeStuckFrames(*peer, "close", 2, [&] { light->CloseLight(); });
    EXPECT_EQ(light->LightState(), kLightOff);
    std::printf("stuck line: longest single frame %u ms, lamp change %u ms, close %u ms\n", longest,
                change, close);
    light.reset();
    EXPECT_EQ(peer->Stop(), "");
}

}  // namespace
