// People who leave the sensor's field leave the panels and the tower light: a live run in
// three-object mode with the emulator's scripted scene (two people, the second leaves, then the
// first), the panels read while it runs, the light's frames watched on its line, and the times
// compared with the result log's. The same once more in a run across the wrap of the
// millisecond counter, with the track in the view watched too.
#include <gtest/gtest.h>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "resources/resource.h"
#include "tests/support/Capture.h"
#include "tests/support/LinePeer.h"
#include "tests/support/ProgramDriver.h"

namespace {

using zuvo::test::Capture;
using zuvo::test::LinePeer;
using zuvo::test::ProgramFolder;
using zuvo::test::RunningProgram;

constexpr int kLightPort = 65;
constexpr double kSecondLeavesS = 7.0;  // after the start of the emulator
constexpr double kFirstLeavesS = 12.0;
constexpr long kWithinMs = 2500;

const std::string kCoil0On("\x01\x05\x00\x00\xFF\x00\x8C\x3A", 8);
const std::string kCoil0Off("\x01\x05\x00\x00\x00\x00\xCD\xCA", 8);
const std::string kCoil2On("\x01\x05\x00\x02\xFF\x00\x2D\xFA", 8);
const std::string kCoil2Off("\x01\x05\x00\x02\x00\x00\x6C\x0A", 8);
const std::string kCoil3Off("\x01\x05\x00\x03\x00\x00\x3D\xCA", 8);

// Milliseconds of the local day, the clock of the result log's time stamps.
long NowOfDay() {
    SYSTEMTIME time;
    GetLocalTime(&time);
    return ((time.wHour * 60L + time.wMinute) * 60L + time.wSecond) * 1000L + time.wMilliseconds;
}

// b - a on the clock of the day, across midnight too.
long Elapsed(long a, long b) {
    constexpr long kDay = 24L * 3600L * 1000L;
    return ((b - a) % kDay + kDay) % kDay;
}

void Replace(std::string& text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}

using zuvo::test::PanelShowsNoObject;

std::vector<std::string> Frames(const std::string& line) {
    std::vector<std::string> frames;
    for (size_t at = 0; at + 8 <= line.size(); at += 8) {
        frames.push_back(line.substr(at, 8));
    }
    return frames;
}

// From the result log: for every object id, the time of the last line holding it.
std::map<long long, long> LastSightings(const std::string& log) {
    std::map<long long, long> last;
    size_t start = 0;
    while (start < log.size()) {
        size_t end = log.find("\r\n", start);
        if (end == std::string::npos) {
            end = log.size();
        }
        const std::string line = log.substr(start, end - start);
        int h = 0, m = 0, s = 0, ms = 0;
        long long id = 0;
        double distance = 0.0;
        if (std::sscanf(line.c_str(), "[%d:%d:%d.%d], %lld, %lf", &h, &m, &s, &ms, &id,
                        &distance) == 6 &&
            distance >= 0.0) {
            last[id] = ((h * 60L + m) * 60L + s) * 1000L + ms;
        }
        start = end + 2;
    }
    return last;
}

// The last sightings of the program's one result log.
std::map<long long, long> LastSightingsOfTheRun(const ProgramFolder& folder) {
    WIN32_FIND_DATAW entry;
    const HANDLE search =
        FindFirstFileW(folder.File(L"Log\\ZUVO_MTT_Result_*.txt").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "no result log";
        return {};
    }
    FindClose(search);
    return LastSightings(folder.Read((std::wstring(L"Log\\") + entry.cFileName).c_str()));
}

// Watches the tower light's line during a run: the time of day at which the object lamp first
// went off, and at which the no-object lamp came on after that.
class LampWatch {
public:
    explicit LampWatch(LinePeer& peer) : m_peer(peer) {}

    // One look at what the line has carried so far, at time now; false when the peer does not
    // answer.
    bool Look(long now) {
        m_peer.Forget(L"seen");
        if (!m_peer.Request(L"peek")) {
            return false;
        }
        const std::optional<std::string> seen = m_peer.WaitFor(L"seen", 2000);
        if (!seen.has_value()) {
            return false;
        }
        const std::vector<std::string> frames = Frames(*seen);
        for (; m_framesSeen < frames.size(); ++m_framesSeen) {
            if (frames[m_framesSeen] == kCoil0Off && coil0Off < 0) {
                coil0Off = now;
            } else if (frames[m_framesSeen] == kCoil2On && coil0Off >= 0) {
                coil2On = now;
            }
        }
        return true;
    }

    long coil0Off = -1;
    long coil2On = -1;

private:
    LinePeer& m_peer;
    size_t m_framesSeen = 0;
};

// Stops the run and ends the program.
void StopAndClose(const RunningProgram& program) {
    program.Click(IDC_START_STOP);
    ASSERT_TRUE(
        RunningProgram::WaitUntil([&] { return !program.IsChecked(IDC_START_STOP); }, 15000));
    program.Click(IDC_CLOSE);
    EXPECT_EQ(program.WaitForExit(20000), 0u);
}

// The frames on the light's line once the peer has stopped: no object, the people, nobody
// again, the stop.
void ExpectOneDepartureOfAll(LinePeer& peer) {
    ASSERT_EQ(peer.Stop(), "");
    const std::optional<std::string> line = peer.WaitFor(L"line.bin", 2000);
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(Frames(*line), (std::vector<std::string>{kCoil2On, kCoil2Off, kCoil0On, kCoil0Off,
                                                       kCoil2On, kCoil2Off, kCoil3Off}))
        << "no object, the people, nobody again, the stop";
}

struct Language {
    const char* setting;
    const wchar_t* prompt;  // caption of the detection result
    const wchar_t* screenshot;
};

void PrintTo(const Language& language, std::ostream* out) {
    *out << language.setting;
}

class Departures : public testing::TestWithParam<Language> {};

TEST_P(Departures, PeopleWhoLeaveLeaveThePanelsAndTheTowerLight) {
    LinePeer peer("capture", kLightPort, 9600);
    ASSERT_EQ(peer.Start(), "");
    ProgramFolder folder;
    std::string config = folder.Read(L"Radar_Config.ini");
    Replace(config, "LightPort = 3", "LightPort = " + std::to_string(kLightPort));
    Replace(config, "EmulatorMissRate = 0.05", "EmulatorMissRate = 0");
    Replace(config, "EmulatorFalseAlarmRate = 0.3", "EmulatorFalseAlarmRate = 0");
    Replace(config, "EmulatorScriptedPeople = 0", "EmulatorScriptedPeople = 2");
    Replace(config, "EmulatorLeave1S = 0", "EmulatorLeave1S = " + std::to_string(kFirstLeavesS));
    Replace(config, "EmulatorLeave2S = 0", "EmulatorLeave2S = " + std::to_string(kSecondLeavesS));
    ASSERT_TRUE(folder.Write(L"Radar_Config.ini", config));
    ASSERT_TRUE(folder.Write(L"appConfig.xml", std::string("<?xml version=\"1.0\"?>\n<AppConfig "
                                                           "Language=\"") +
                                                   GetParam().setting +
                                                   "\" ObjectCountType=\"3\" />\n"));

    long panelsEmptied = -1;  // panels 2 and 3 both empty again after both were seen
    LampWatch lamps(peer);
    {
        RunningProgram program(folder);
        ASSERT_NE(program.Window(), nullptr);
        ASSERT_FALSE(zuvo::test::DetectDevice(program, GetParam().prompt).empty())
            << "no detection result";
        program.Click(IDC_START_STOP);

        ASSERT_TRUE(RunningProgram::WaitUntil(
            [&] {
                return !PanelShowsNoObject(program.ControlText(IDC_OBJECT_PANEL_1)) &&
                       !PanelShowsNoObject(program.ControlText(IDC_OBJECT_PANEL_2));
            },
            static_cast<DWORD>(kSecondLeavesS * 1000)))
            << "both people reach the panels";
        EXPECT_TRUE(PanelShowsNoObject(program.ControlText(IDC_OBJECT_PANEL_3)));

        // Watch the panels and the light's line until the light has changed back.
        const DWORD deadline = GetTickCount() + static_cast<DWORD>(kFirstLeavesS * 1000) + 10000;
        while (lamps.coil2On < 0 && GetTickCount() < deadline) {
            const long now = NowOfDay();
            if (panelsEmptied < 0 && PanelShowsNoObject(program.ControlText(IDC_OBJECT_PANEL_2)) &&
                PanelShowsNoObject(program.ControlText(IDC_OBJECT_PANEL_3))) {
                panelsEmptied = now;
                EXPECT_FALSE(PanelShowsNoObject(program.ControlText(IDC_OBJECT_PANEL_1)))
                    << "the first person is still there";
                EXPECT_FALSE(
                    zuvo::test::CaptureWindow(program.Window(), GetParam().screenshot).empty());
            }
            ASSERT_TRUE(lamps.Look(now));
            Sleep(10);
        }
        StopAndClose(program);
    }
    ExpectOneDepartureOfAll(peer);

    // The times of the last deliveries that held each person, from the result log.
    const std::map<long long, long> last = LastSightingsOfTheRun(folder);
    ASSERT_EQ(last.size(), 2u) << "two people, tracked without a break";
    const long secondGone = std::min(last.begin()->second, std::next(last.begin())->second);
    const long everyoneGone = std::max(last.begin()->second, std::next(last.begin())->second);

    ASSERT_GE(panelsEmptied, 0) << "panels 2 and 3 never emptied";
    const long panelMs = Elapsed(secondGone, panelsEmptied);
    std::printf(
        "[ measured ] panels 2 and 3 empty %ld ms after the second person's last "
        "delivery\n",
        panelMs);
    EXPECT_LE(panelMs, kWithinMs);
    ASSERT_GE(lamps.coil0Off, 0) << "the object lamp never went off";
    ASSERT_GE(lamps.coil2On, 0) << "the no-object lamp never came on";
    const long offMs = Elapsed(everyoneGone, lamps.coil0Off);
    const long onMs = Elapsed(everyoneGone, lamps.coil2On);
    std::printf("[ measured ] coil 0 off after %ld ms, coil 2 on after %ld ms\n", offMs, onMs);
    // The log's stamp and the light's pass read different clocks a moment apart: allow for it.
    EXPECT_GE(offMs, 2000 - 100) << "the object lamp stays for 2 s after the last object";
    EXPECT_LE(offMs, kWithinMs);
    EXPECT_LE(onMs, kWithinMs);
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, Departures,
                         testing::Values(Language{"ENG", L"Prompt", L"three_objects_left_en"},
                                         Language{"CHS", L"\u63D0\u793A",
                                                  L"three_objects_left_zh"}),
                         [](const testing::TestParamInfo<Language>& param) {
                             return std::string(param.param.setting) == "ENG" ? "English"
                                                                              : "Chinese";
                         });

// The millisecond counter wraps in the middle of a run (the utility library's clock-wrap switch
// starts it kWrapLeadMs before the wrap). Two people: the second leaves 1.5 s before the
// wrap, so that the 2 s for which its slot and its track outlive it run across the wrap; the
// first leaves after the wrap. A run can only begin late, never early (a loaded machine takes
// longer from the click to the first frame), so the second person's time leaves more room
// after it than before it. Their tracks fade and go, the panels empty and the tower light
// changes lamps in time, as without a wrap.
constexpr uint32_t kWrapLeadMs = 20000;
constexpr long kStartAfterMs = 5000;  // Start is pressed this long after the wrap is known
constexpr long kSecondLeavesBeforeWrapMs = 1500;
constexpr long kFirstLeavesAfterWrapMs = 5000;

// The time of day at which the program's counter wraps, from the switch's diagnostic line
// (stamped with the local time, like the result log); -1 while there is none.
long WrapTimeOfDay(const std::string& diagnostics) {
    const std::string marker = "MS_GetTime: the clock-wrap switch starts the counter ";
    const size_t at = diagnostics.find(marker);
    if (at == std::string::npos) {
        return -1;
    }
    const size_t lineStart = diagnostics.rfind('\n', at);
    const std::string line = diagnostics.substr(lineStart == std::string::npos ? 0 : lineStart + 1);
    int year = 0, month = 0, day = 0, h = 0, m = 0, s = 0, ms = 0;
    unsigned lead = 0;
    if (std::sscanf(line.c_str(), "%d-%d-%d %d:%d:%d.%d", &year, &month, &day, &h, &m, &s, &ms) !=
            7 ||
        std::sscanf(diagnostics.c_str() + at + marker.size(), "%u", &lead) != 1) {
        return -1;
    }
    constexpr long kDay = 24L * 3600L * 1000L;
    return (((h * 60L + m) * 60L + s) * 1000L + ms + static_cast<long>(lead)) % kDay;
}

// The view as its main window shows it (a capture of the window, cut to the view's rectangle).
Capture ViewPicture(HWND top, HWND view) {
    RECT frame;
    RECT area;
    GetWindowRect(top, &frame);
    GetWindowRect(view, &area);
    const Capture whole(top, Capture::Source::Window);
    return whole.Part(area.left - frame.left, area.top - frame.top, area.right - area.left,
                      area.bottom - area.top);
}

// How many pixels of the view differ from its idle picture: the tracks and their markers.
int PixelsBeyondIdle(const Capture& idle, HWND top, HWND view) {
    const Capture now = ViewPicture(top, view);
    if (now.width() != idle.width() || now.height() != idle.height()) {
        return -1;
    }
    int changed = 0;
    for (size_t i = 0; i < now.Pixels().size(); ++i) {
        changed += now.Pixels()[i] != idle.Pixels()[i] ? 1 : 0;
    }
    return changed;
}

std::string Seconds(long ms) {
    return std::to_string(ms / 1000.0);
}

TEST(DeparturesAcrossTheClockWrap, TracksPanelsAndTheTowerLightFollowPeopleWhoLeave) {
    LinePeer peer("capture", kLightPort, 9600);
    ASSERT_EQ(peer.Start(), "");
    ProgramFolder folder;
    const std::string config = folder.Read(L"Radar_Config.ini");
    ASSERT_TRUE(folder.Write(L"appConfig.xml",
                             "<?xml version=\"1.0\"?>\n<AppConfig "
                             "Language=\"ENG\" ObjectCountType=\"3\" />\n"));
    ASSERT_TRUE(folder.Write(L"ZUVO_Diagnostics.on", ""));
    ASSERT_TRUE(folder.Write(L"ZUVO_ClockWrap.on", std::to_string(kWrapLeadMs)));

    long wrapAt = -1;
    long startAt = -1;
    int beforeWrap = -1;  // track pixels before the wrap, after it, after everyone left
    int afterWrap = -1;
    int afterAll = -1;
    long secondEmptied = -1;  // panel 2 empty again
    long firstEmptied = -1;   // panel 1 empty again
    LampWatch lamps(peer);
    {
        RunningProgram program(folder);
        ASSERT_NE(program.Window(), nullptr);
        ASSERT_TRUE(RunningProgram::WaitUntil(
            [&] { return (wrapAt = WrapTimeOfDay(folder.Read(L"ZUVO_Diagnostics.log"))) >= 0; },
            10000))
            << "the switch tells when the counter wraps";
        // The scene is read by the detection: the departures are set relative to the wrap.
        startAt = NowOfDay() + kStartAfterMs;
        const long untilWrap = Elapsed(startAt, wrapAt);
        ASSERT_LT(untilWrap, static_cast<long>(kWrapLeadMs)) << "the program took too long";
        std::string scene = config;
        Replace(scene, "LightPort = 3", "LightPort = " + std::to_string(kLightPort));
        Replace(scene, "EmulatorMissRate = 0.05", "EmulatorMissRate = 0");
        Replace(scene, "EmulatorFalseAlarmRate = 0.3", "EmulatorFalseAlarmRate = 0");
        Replace(scene, "EmulatorScriptedPeople = 0", "EmulatorScriptedPeople = 2");
        Replace(scene, "EmulatorLeave1S = 0",
                "EmulatorLeave1S = " + Seconds(untilWrap + kFirstLeavesAfterWrapMs));
        Replace(scene, "EmulatorLeave2S = 0",
                "EmulatorLeave2S = " + Seconds(untilWrap - kSecondLeavesBeforeWrapMs));
        ASSERT_TRUE(folder.Write(L"Radar_Config.ini", scene));
        ASSERT_EQ(zuvo::test::DetectDevice(program), L"Radar Emulator Detected");
        const HWND view = program.Control(IDC_SECTOR_VIEW);
        // The idle picture is taken first: a capture takes a while on a loaded machine, and
        // the click must come when the departures were planned for.
        const Capture idle = ViewPicture(program.Window(), view);
        ASSERT_GT(idle.width(), 0);
        ASSERT_LT(Elapsed(NowOfDay(), startAt), kStartAfterMs - 500) << "the detection was slow";
        Sleep(static_cast<DWORD>(Elapsed(NowOfDay(), startAt)));
        program.Click(IDC_START_STOP);

        ASSERT_TRUE(RunningProgram::WaitUntil(
            [&] {
                return !PanelShowsNoObject(program.ControlText(IDC_OBJECT_PANEL_1)) &&
                       !PanelShowsNoObject(program.ControlText(IDC_OBJECT_PANEL_2));
            },
            5000))
            << "both people reach the panels";
        Sleep(2500);  // long enough for the tracks to draw their lines
        beforeWrap = PixelsBeyondIdle(idle, program.Window(), view);
        EXPECT_FALSE(zuvo::test::CaptureWindow(program.Window(), L"clock_wrap_before").empty());

        // Watch the panels and the light's line until the no-object lamp is back; look at the
        // view once the second person's track had the time to go, after the wrap.
        const long lookAfterWrap = (wrapAt + 2000) % (24L * 3600L * 1000L);
        const DWORD deadline = GetTickCount() + kWrapLeadMs + kFirstLeavesAfterWrapMs;
        while (lamps.coil2On < 0 && GetTickCount() < deadline) {
            const long now = NowOfDay();
            if (secondEmptied < 0 && PanelShowsNoObject(program.ControlText(IDC_OBJECT_PANEL_2))) {
                secondEmptied = now;
            }
            if (firstEmptied < 0 && PanelShowsNoObject(program.ControlText(IDC_OBJECT_PANEL_1))) {
                firstEmptied = now;
            }
            if (afterWrap < 0 && Elapsed(lookAfterWrap, now) < kFirstLeavesAfterWrapMs - 2000) {
                afterWrap = PixelsBeyondIdle(idle, program.Window(), view);
                EXPECT_FALSE(
                    zuvo::test::CaptureWindow(program.Window(), L"clock_wrap_after").empty());
            }
            ASSERT_TRUE(lamps.Look(now));
            Sleep(10);
        }
        Sleep(1000);  // the last track had more than the display time to go
        afterAll = PixelsBeyondIdle(idle, program.Window(), view);
        EXPECT_FALSE(zuvo::test::CaptureWindow(program.Window(), L"clock_wrap_gone").empty());
        StopAndClose(program);
    }
    ExpectOneDepartureOfAll(peer);

    const std::map<long long, long> last = LastSightingsOfTheRun(folder);
    ASSERT_EQ(last.size(), 2u) << "two people, tracked without a break across the wrap";
    // Times relative to the wrap, negative before it.
    auto relative = [&](long timeOfDay) {
        const long after = Elapsed(wrapAt, timeOfDay);
        return after < 12L * 3600L * 1000L ? after : after - 24L * 3600L * 1000L;
    };
    const long secondGone =
        relative(std::min(last.begin()->second, std::next(last.begin())->second));
    const long firstGone =
        relative(std::max(last.begin()->second, std::next(last.begin())->second));
    std::printf(
        "[ measured ] relative to the wrap: second person gone at %ld ms, panel 2 empty at %ld "
        "ms; first person gone at %ld ms, panel 1 empty at %ld ms, coil 0 off at %ld ms, coil 2 "
        "on at %ld ms\n",
        secondGone, relative(secondEmptied), firstGone, relative(firstEmptied),
        relative(lamps.coil0Off), relative(lamps.coil2On));
    std::printf("[ measured ] track pixels: %d before the wrap, %d after it, %d after both left\n",
                beforeWrap, afterWrap, afterAll);
    ASSERT_LT(secondGone, -200) << "the second person left before the wrap";
    ASSERT_GT(secondGone, -1900) << "and less than the 2 s of its slot and track before it";
    ASSERT_GT(firstGone, 0) << "the first person left after the wrap";

    EXPECT_GE(beforeWrap, 400) << "two tracks with their lines before the wrap";
    EXPECT_GE(afterWrap, 100) << "one after it";
    EXPECT_LT(afterWrap, beforeWrap * 3 / 4) << "the second person's track has gone";
    EXPECT_LE(afterAll, 20) << "and the first one's too";

    // The library marks a departure among others with an empty entry, which empties the slot
    // at once; the last person's slot expires after its 2 s. Either way, within kWithinMs.
    for (const auto& [gone, emptied, which] : {std::tuple{secondGone, secondEmptied, "panel 2"},
                                               std::tuple{firstGone, firstEmptied, "panel 1"}}) {
        SCOPED_TRACE(which);
        ASSERT_GE(emptied, 0) << "never emptied";
        EXPECT_GE(relative(emptied), gone);
        EXPECT_LE(relative(emptied) - gone, kWithinMs);
    }
    ASSERT_GE(lamps.coil0Off, 0) << "the object lamp never went off";
    ASSERT_GE(lamps.coil2On, 0) << "the no-object lamp never came on";
    // The log's stamp and the pass read different clocks a moment apart: allow for it.
    EXPECT_GE(relative(lamps.coil0Off) - firstGone, 2000 - 150)
        << "the object lamp stays for 2 s after the last object";
    EXPECT_LE(relative(lamps.coil0Off) - firstGone, kWithinMs);
    EXPECT_LE(relative(lamps.coil2On) - firstGone, kWithinMs);
}

}  // namespace
