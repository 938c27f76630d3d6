// An operator's whole run, end to end: device detection, start and stop with the button states
// of each step, the object count type and its mode command, result logs, raw-data recording and
// its playback.
#include <gtest/gtest.h>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "PlaybackDevice.h"
#include "RawFileReader.h"
#include "framework/Handles.h"
#include "resources/resource.h"
#include "tests/support/ProgramDriver.h"
#include "tests/support/Capture.h"
#include "tests/support/LinePeer.h"
#include "tests/support/TestPaths.h"
#include "tests/support/WholeFile.h"

namespace {

using zuvo::test::DialogStaticTexts;
using zuvo::test::LinePeer;
using zuvo::test::PanelShowsNoObject;
using zuvo::test::PressDialogButton;
using zuvo::test::ProgramFolder;
using zuvo::test::RunningProgram;
using zuvo::test::WaitForDialog;
using zuvo::test::WaitForFolderBrowser;

constexpr DWORD kDialogTimeoutMs = 30000;
const std::wstring kIdlePanel = L"Object Information\r\ndistance: 0.00 m";

void Replace(std::string& text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());  // the test folders are plain ASCII
}

// The buttons of one row of the run-state table.
struct ButtonStates {
    bool startEnabled;
    bool startChecked;
    bool modeEnabled;
    bool playbackEnabled;
    bool playbackChecked;
    bool recordingEnabled;  // save-data switch and save path
    bool pauseEnabled;
};

void ExpectButtons(const RunningProgram& program, const ButtonStates& expected, const char* step) {
    SCOPED_TRACE(step);
    EXPECT_EQ(program.IsEnabled(IDC_START_STOP), expected.startEnabled);
    EXPECT_EQ(program.IsChecked(IDC_START_STOP), expected.startChecked);
    EXPECT_EQ(program.IsEnabled(IDC_MODE_SWITCH), expected.modeEnabled);
    EXPECT_EQ(program.IsEnabled(IDC_PLAYBACK), expected.playbackEnabled);
    EXPECT_EQ(program.IsChecked(IDC_PLAYBACK), expected.playbackChecked);
    EXPECT_EQ(program.IsEnabled(IDC_SAVE_DATA), expected.recordingEnabled);
    EXPECT_EQ(program.IsEnabled(IDC_SAVE_PATH), expected.recordingEnabled);
    EXPECT_EQ(program.IsEnabled(IDC_PAUSE), expected.pauseEnabled);
    EXPECT_FALSE(program.IsVisible(IDC_PAUSE)) << "the pause button is never shown";
}

bool Matches(const RunningProgram& program, const ButtonStates& expected) {
    return program.IsEnabled(IDC_START_STOP) == expected.startEnabled &&
           program.IsChecked(IDC_START_STOP) == expected.startChecked &&
           program.IsEnabled(IDC_MODE_SWITCH) == expected.modeEnabled &&
           program.IsEnabled(IDC_PLAYBACK) == expected.playbackEnabled &&
           program.IsChecked(IDC_PLAYBACK) == expected.playbackChecked &&
           program.IsEnabled(IDC_SAVE_DATA) == expected.recordingEnabled &&
           program.IsEnabled(IDC_SAVE_PATH) == expected.recordingEnabled &&
           program.IsEnabled(IDC_PAUSE) == expected.pauseEnabled;
}

// A click toggles a push-like check box at once, before the program has acted on it: wait for
// the whole row of the table instead.
void AwaitButtons(const RunningProgram& program, const ButtonStates& expected, const char* step,
                  DWORD timeoutMs = 15000) {
    RunningProgram::WaitUntil([&] { return Matches(program, expected); }, timeoutMs);
    Sleep(200);  // and still so a moment later
    ExpectButtons(program, expected, step);
}

constexpr ButtonStates kNoDevice{false, false, false, true, false, true, false};
constexpr ButtonStates kStopped{true, false, true, true, false, true, false};
constexpr ButtonStates kLiveRun{true, true, true, false, false, false, true};
constexpr ButtonStates kPlaybackRun{false, false, false, true, true, false, true};

// Every "Stop: N entries delivered" of the radar library's diagnostics, in order.
std::vector<long long> DeliveredAtStops(const std::string& diagnostics) {
    std::vector<long long> counts;
    const std::regex stop(R"(Stop: (\d+) entries delivered)");
    for (auto it = std::sregex_iterator(diagnostics.begin(), diagnostics.end(), stop);
         it != std::sregex_iterator(); ++it) {
        counts.push_back(std::atoll((*it)[1].str().c_str()));
    }
    return counts;
}

std::vector<std::string> ModeCommands(const std::string& diagnostics) {
    std::vector<std::string> commands;
    const std::regex command(R"(command (0x[0-9A-F]{4}) acknowledged)");
    for (auto it = std::sregex_iterator(diagnostics.begin(), diagnostics.end(), command);
         it != std::sregex_iterator(); ++it) {
        commands.push_back((*it)[1].str());
    }
    return commands;
}

// Files (or folders) of a folder matching a pattern, sorted by name.
std::vector<std::wstring> List(const std::wstring& folder, const wchar_t* pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + L"\\" + pattern).c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            names.push_back(entry.cFileName);
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// True while another process holds the file open for writing.
bool HeldForWriting(const std::wstring& path) {
    const zuvo::UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                  nullptr, OPEN_EXISTING, 0, nullptr));
    return !file && GetLastError() == ERROR_SHARING_VIOLATION;
}

class OperatorRun : public testing::Test {
protected:
    // The library's diagnostics on (they report mode commands and delivered entries), no
    // tower light attached, and the settings given.
    void Prepare(int processSite, const std::string& settingsAttributes, int lightPort = 240) {
        ASSERT_TRUE(m_folder.Write(L"ZUVO_Diagnostics.on", ""));
        std::string config = m_folder.Read(L"Radar_Config.ini");
        Replace(config, "ProcessSite = 0", "ProcessSite = " + std::to_string(processSite));
        Replace(config, "LightPort = 3", "LightPort = " + std::to_string(lightPort));
        ASSERT_TRUE(m_folder.Write(L"Radar_Config.ini", config));
        ASSERT_TRUE(m_folder.Write(L"appConfig.xml",
                                   "<?xml version=\"1.0\"?>\n<AppConfig Language=\"ENG\" " +
                                       settingsAttributes + " />\n"));
    }

    static void Detect(const RunningProgram& program) {
        EXPECT_EQ(zuvo::test::DetectDevice(program), L"Radar Emulator Detected");
    }

    // Playback of the folder the browser opens at.
    static void StartPlayback(const RunningProgram& program) {
        program.Click(IDC_PLAYBACK);
        const HWND browser = WaitForFolderBrowser(program.ProcessId(), kDialogTimeoutMs);
        ASSERT_NE(browser, nullptr);
        Sleep(500);  // as long as an operator looks at it
        PressDialogButton(browser, IDOK);
        ASSERT_TRUE(RunningProgram::WaitUntil([&] { return !IsWindow(browser); }, 5000));
        AwaitButtons(program, kPlaybackRun, "playback run");
    }

    // The next session starts the folder browser at the recording, as if the operator had
    // picked it before.
    void RememberPlaybackFolder(const std::wstring& recording) {
        std::string settings = m_folder.Read(L"appConfig.xml");
        Replace(settings, "<AppConfig ", "<AppConfig DataFilePath=\"" + Narrow(recording) + "\" ");
        ASSERT_TRUE(m_folder.Write(L"appConfig.xml", settings));
    }

    // Detects the device and plays back the remembered recording until the run ends by itself
    // (once everything read has been processed).
    static void PlayBackToItsEnd(const RunningProgram& program) {
        Detect(program);
        StartPlayback(program);
        AwaitButtons(program, kStopped, "playback ended", 30000);
    }

    // A session with a live run of the given length (recording when the settings say so).
    void RecordLiveRun(DWORD milliseconds) {
        RunningProgram program(m_folder);
        ASSERT_NE(program.Window(), nullptr);
        Detect(program);
        program.Click(IDC_START_STOP);
        AwaitButtons(program, kLiveRun, "recording run");
        Sleep(milliseconds);
        program.Click(IDC_START_STOP);
        AwaitButtons(program, kStopped, "recording stopped");
        program.Click(IDC_CLOSE);
        EXPECT_EQ(program.WaitForExit(20000), 0u);
    }

    // Settings that record into recordings with the object count type, and a session with a
    // live run of the given length; the one recording folder it made in recording.
    void RecordIntoNewFolder(const std::wstring& recordings, const char* countType,
                             DWORD milliseconds, std::wstring& recording) {
        Prepare(0, std::string("ObjectCountType=\"") + countType +
                       "\" SaveData=\"1\" SaveDataPath=\"" + Narrow(recordings) + "\"");
        ASSERT_NO_FATAL_FAILURE(RecordLiveRun(milliseconds));
        const std::vector<std::wstring> runs = List(recordings, L"Radar_*");
        ASSERT_EQ(runs.size(), 1u) << "one recording folder";
        recording = recordings + L"\\" + runs[0];
    }

    // A session that plays the remembered recording back to its end and closes the program.
    void PlayBackInASession() {
        RunningProgram program(m_folder);
        ASSERT_NE(program.Window(), nullptr);
        PlayBackToItsEnd(program);
        program.Click(IDC_CLOSE);
        EXPECT_EQ(program.WaitForExit(20000), 0u);
    }

    std::string Diagnostics() const { return m_folder.Read(L"ZUVO_Diagnostics.log"); }

    ProgramFolder m_folder;
};

TEST_F(OperatorRun, DetectStartAndStopFollowTheButtonTable) {
    Prepare(0, "ObjectCountType=\"1\"");
    RunningProgram program(m_folder);
    ASSERT_NE(program.Window(), nullptr);
    ExpectButtons(program, kNoDevice, "start-up");

    Detect(program);
    AwaitButtons(program, kStopped, "device found");

    program.Click(IDC_START_STOP);
    AwaitButtons(program, kLiveRun, "live run");
    EXPECT_TRUE(RunningProgram::WaitUntil(
        [&] { return program.ControlText(IDC_OBJECT_PANEL_SINGLE).rfind(kIdlePanel, 0) != 0; },
        20000))
        << "the emulator's people reach the panel";
    Sleep(2500);  // long enough for tracks to draw their lines
    EXPECT_FALSE(zuvo::test::CaptureWindow(program.Window(), L"live_run").empty());

    program.Click(IDC_START_STOP);
    AwaitButtons(program, kStopped, "stopped");
}

TEST_F(OperatorRun, TheModeButtonSwitchesTypesAndCommandsASensorThatTracksByItself) {
    Prepare(10, "ObjectCountType=\"1\"");
    RunningProgram program(m_folder);
    ASSERT_NE(program.Window(), nullptr);
    Detect(program);
    EXPECT_TRUE(program.IsChecked(IDC_MODE_SWITCH)) << "single-object tracking";

    program.Click(IDC_START_STOP);
    AwaitButtons(program, kLiveRun, "live run");
    // The switch stops, changes the type and starts again; the panels follow last.
    program.Click(IDC_MODE_SWITCH);
    ASSERT_TRUE(
        RunningProgram::WaitUntil([&] { return program.IsVisible(IDC_OBJECT_PANEL_1); }, 15000));
    AwaitButtons(program, kLiveRun, "three objects");
    EXPECT_FALSE(program.IsChecked(IDC_MODE_SWITCH));
    EXPECT_FALSE(program.IsVisible(IDC_OBJECT_PANEL_SINGLE));

    program.Click(IDC_MODE_SWITCH);
    ASSERT_TRUE(RunningProgram::WaitUntil(
        [&] { return program.IsVisible(IDC_OBJECT_PANEL_SINGLE); }, 15000));
    AwaitButtons(program, kLiveRun, "one object again");
    EXPECT_TRUE(program.IsChecked(IDC_MODE_SWITCH));
    program.Click(IDC_START_STOP);
    AwaitButtons(program, kStopped, "stopped");

    EXPECT_EQ(ModeCommands(Diagnostics()),
              (std::vector<std::string>{"0x0080", "0x0090", "0x0080"}));
}

TEST_F(OperatorRun, AHostTrackingDeviceGetsNoModeCommand) {
    Prepare(0, "ObjectCountType=\"3\"");
    RunningProgram program(m_folder);
    ASSERT_NE(program.Window(), nullptr);
    EXPECT_FALSE(program.IsChecked(IDC_MODE_SWITCH)) << "three-object tracking";
    Detect(program);
    program.Click(IDC_MODE_SWITCH);  // from the stopped state it still starts the device
    ASSERT_TRUE(RunningProgram::WaitUntil(
        [&] { return program.IsVisible(IDC_OBJECT_PANEL_SINGLE); }, 15000));
    AwaitButtons(program, kLiveRun, "one object");
    EXPECT_TRUE(program.IsChecked(IDC_MODE_SWITCH));
    program.Click(IDC_MODE_SWITCH);
    ASSERT_TRUE(
        RunningProgram::WaitUntil([&] { return program.IsVisible(IDC_OBJECT_PANEL_1); }, 15000));
    AwaitButtons(program, kLiveRun, "three objects");
    program.Click(IDC_START_STOP);
    AwaitButtons(program, kStopped, "stopped");
    EXPECT_TRUE(ModeCommands(Diagnostics()).empty());
    EXPECT_EQ(DeliveredAtStops(Diagnostics()).size(), 2u) << "two runs were stopped";
}

// The lines of a result log, each checked against the line format; -1 when one is not a line.
long long ResultLines(const std::string& text) {
    const std::regex line(
        R"(\[\d\d:\d\d:\d\d\.\d\d\d\], -?\d+, -?\d+\.\d\d, -?\d+\.\d\d, -?\d+\.\d\d)");
    long long lines = 0;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        if (end == std::string::npos || !std::regex_match(text.substr(start, end - start), line)) {
            ADD_FAILURE() << "not a whole log line: " << text.substr(start, 80);
            return -1;
        }
        ++lines;
        start = end + 2;
    }
    return lines;
}

// Every run has a log of its own, and at every stop, while the program still runs and holds
// the log open, the file on disk has a line for every entry delivered.
TEST_F(OperatorRun, EveryRunWritesItsOwnLogWithALinePerDeliveredEntry) {
    Prepare(0, "ObjectCountType=\"3\"");
    const std::wstring logs = m_folder.File(L"Log");
    long long previous = 0;
    {
        RunningProgram program(m_folder);
        ASSERT_NE(program.Window(), nullptr);
        Detect(program);
        for (int run = 0; run < 2; ++run) {
            SCOPED_TRACE("run " + std::to_string(run));
            program.Click(IDC_START_STOP);
            AwaitButtons(program, kLiveRun, "live run");
            const std::vector<std::wstring> files = List(logs, L"ZUVO_MTT_Result_*.txt");
            ASSERT_EQ(files.size(), static_cast<size_t>(run + 1));
            if (run == 1) {
                EXPECT_FALSE(HeldForWriting(logs + L"\\" + files[0]))
                    << "the second start closed the first log";
            }
            Sleep(3000);
            program.Click(IDC_START_STOP);
            AwaitButtons(program, kStopped, "stopped");
            EXPECT_TRUE(HeldForWriting(logs + L"\\" + files[run])) << "a stop leaves the log open";

            const std::vector<long long> stops = DeliveredAtStops(Diagnostics());
            ASSERT_EQ(stops.size(), static_cast<size_t>(run + 1));
            const long long lines = ResultLines(m_folder.Read((L"Log\\" + files[run]).c_str()));
            EXPECT_EQ(lines, stops[run] - previous) << "lines on disk after the stop";
            EXPECT_GT(lines, 0);
            previous = stops[run];
        }
        program.Click(IDC_CLOSE);
        EXPECT_EQ(program.WaitForExit(20000), 0u);
    }
    EXPECT_EQ(List(logs, L"ZUVO_MTT_Result_*.txt").size(), 2u);
}

// The screen saver setting of the session, as another process sees it.
bool ScreenSaverActive() {
    BOOL active = FALSE;
    EXPECT_TRUE(SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0));
    return active != FALSE;
}

// The setting once it has reached this process: another process's change may take a moment
// to be seen here on a loaded machine. An operator's screen saver may well take that long.
bool ScreenSaverBecomes(bool expected) {
    RunningProgram::WaitUntil([&] { return ScreenSaverActive() == expected; }, 3000);
    return ScreenSaverActive() == expected;
}

void SetScreenSaverActive(bool active) {
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, active ? TRUE : FALSE, nullptr, 0));
}

// A run keeps the screen saver off and gives it back as it was: off stays off, and closing
// the window during a run gives it back too.
TEST_F(OperatorRun, ARunGivesTheScreenSaverBackAsItWas) {
    Prepare(0, "ObjectCountType=\"1\"");
    struct Case {
        const char* name;
        bool activeBefore;
        bool closeDuringRun;
    };
    for (const Case& c : {Case{"on, stopped", true, false}, Case{"off, stopped", false, false},
                          Case{"on, closed during the run", true, true}}) {
        SCOPED_TRACE(c.name);
        SetScreenSaverActive(c.activeBefore);
        RunningProgram program(m_folder);
        ASSERT_NE(program.Window(), nullptr);
        Detect(program);
        program.Click(IDC_START_STOP);
        AwaitButtons(program, kLiveRun, "live run");
        EXPECT_TRUE(ScreenSaverBecomes(false)) << "during the run";
        if (!c.closeDuringRun) {
            program.Click(IDC_START_STOP);
            AwaitButtons(program, kStopped, "stopped");
            EXPECT_TRUE(ScreenSaverBecomes(c.activeBefore)) << "after the stop";
        }
        program.Click(IDC_CLOSE);
        EXPECT_EQ(program.WaitForExit(20000), 0u);
        EXPECT_TRUE(ScreenSaverBecomes(c.activeBefore)) << "after the program ended";
    }
    SetScreenSaverActive(true);
}

// Windows ends the process after WM_ENDSESSION without destroying the window: the run must be
// torn down and the settings saved in that message already.
TEST_F(OperatorRun, TheEndOfTheSessionEndsTheRunAndSavesTheSettings) {
    Prepare(0, "ObjectCountType=\"1\" SaveData=\"0\"");
    SetScreenSaverActive(true);
    const std::wstring logs = m_folder.File(L"Log");
    {
        RunningProgram program(m_folder);
        ASSERT_NE(program.Window(), nullptr);
        Detect(program);
        program.Click(IDC_SAVE_DATA);  // the switch is a setting of its own, saved at exit
        ASSERT_TRUE(
            RunningProgram::WaitUntil([&] { return program.IsChecked(IDC_SAVE_DATA); }, 5000));
        program.Click(IDC_START_STOP);
        AwaitButtons(program, kLiveRun, "live run");
        Sleep(2000);
        DWORD_PTR answer = 0;
        ASSERT_TRUE(SendMessageTimeoutW(program.Window(), WM_QUERYENDSESSION, 0, 0,
                                        SMTO_ABORTIFHUNG, 10000, &answer));
        EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE)) << "the program lets the session end";
        ASSERT_TRUE(SendMessageTimeoutW(program.Window(), WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG,
                                        10000, &answer));

        const std::vector<long long> stops = DeliveredAtStops(Diagnostics());
        ASSERT_EQ(stops.size(), 1u) << "the device was stopped";
        const std::vector<std::wstring> files = List(logs, L"ZUVO_MTT_Result_*.txt");
        ASSERT_EQ(files.size(), 1u);
        EXPECT_FALSE(HeldForWriting(logs + L"\\" + files[0])) << "the log is closed";
        EXPECT_EQ(ResultLines(m_folder.Read((L"Log\\" + files[0]).c_str())), stops[0]);
        EXPECT_TRUE(ScreenSaverBecomes(true));
        EXPECT_NE(m_folder.Read(L"appConfig.xml").find("SaveData=\"1\""), std::string::npos)
            << m_folder.Read(L"appConfig.xml");
        // What Windows does next: the process ends without its window being destroyed.
        ASSERT_TRUE(TerminateProcess(program.Process(), 0));
    }
}

TEST_F(OperatorRun, ARecordingPlaysBackUntilItEndsByItself) {
    // A recording folder outside the user's profile: Wine's folder browser does not show the
    // profile's hidden AppData folder, so it could not open at a recording kept in the
    // temporary folder.
    const zuvo::test::TempFolder recordingsFolder(u8"e2e_recordings", L"C:\\");
    std::wstring recording;
    ASSERT_NO_FATAL_FAILURE(RecordIntoNewFolder(recordingsFolder.Wide(), "3", 4000, recording));
    EXPECT_EQ(List(recording, L"FILE_Radar_Config.ini").size(), 1u);
    EXPECT_FALSE(List(recording, L"RawData_*").empty());

    RememberPlaybackFolder(recording);
    const size_t logsBefore = List(m_folder.File(L"Log"), L"*.txt").size();

    {
        RunningProgram program(m_folder);
        ASSERT_NE(program.Window(), nullptr);
        PlayBackToItsEnd(program);  // about four seconds were recorded
        EXPECT_EQ(List(m_folder.File(L"Log"), L"*.txt").size(), logsBefore + 1);

        // The live parameters are back: Start begins a live run, not another playback. (Saving
        // off: Wine's folder browser fails to open at a folder whose parent holds several.)
        program.Click(IDC_SAVE_DATA);
        ASSERT_TRUE(
            RunningProgram::WaitUntil([&] { return !program.IsChecked(IDC_SAVE_DATA); }, 5000));
        program.Click(IDC_START_STOP);
        AwaitButtons(program, kLiveRun, "live run after the playback");
        program.Click(IDC_START_STOP);
        AwaitButtons(program, kStopped, "stopped");
    }

    // Pressing playback during a playback run stops it at once.
    RunningProgram program(m_folder);
    ASSERT_NE(program.Window(), nullptr);
    StartPlayback(program);
    const DWORD pressed = GetTickCount();
    program.Click(IDC_PLAYBACK);
    ASSERT_TRUE(RunningProgram::WaitUntil([&] { return Matches(program, kNoDevice); }, 3000));
    EXPECT_LT(GetTickCount() - pressed, 1500u) << "stopped at once";
    AwaitButtons(program, kNoDevice, "playback stopped by the operator, no device detected");
}

// What a program prints on its standard output, and its exit code (~0u when it does not run).
struct ProgramOutput {
    std::string out;
    DWORD exitCode = ~0u;
};

ProgramOutput RunAndRead(std::wstring commandLine) {
    ProgramOutput result;
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        return result;
    }
    const zuvo::UniqueKernelHandle reading(readEnd);
    zuvo::UniqueKernelHandle writing(writeEnd);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &started)) {
        return result;
    }
    const zuvo::UniqueKernelHandle process(started.hProcess);
    const zuvo::UniqueKernelHandle thread(started.hThread);
    writing = zuvo::UniqueKernelHandle();  // the child holds the only write end now
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        result.out.append(buffer, got);
    }
    WaitForSingleObject(started.hProcess, 60000);
    GetExitCodeProcess(started.hProcess, &result.exitCode);
    return result;
}

// "id, distance, angle, velocity" of every result-log line, as the log writes them.
std::vector<std::string> LoggedEntries(const std::string& log) {
    std::vector<std::string> entries;
    size_t start = 0;
    while (start < log.size()) {
        const size_t end = log.find("\r\n", start);
        const std::string line = log.substr(start, end - start);
        entries.push_back(line.substr(line.find("], ") + 3));
        start = end == std::string::npos ? log.size() : end + 2;
    }
    return entries;
}

// The same of every row of zuvo-replay's objects, printed as the log prints them.
std::vector<std::string> ReplayedEntries(const std::string& csv) {
    std::vector<std::string> entries;
    size_t start = csv.find("\r\n") + 2;  // after the header
    while (start < csv.size()) {
        const size_t end = csv.find("\r\n", start);
        const std::string row = csv.substr(start, end - start);
        long long timeMs = 0;
        long long frame = 0;
        long long id = 0;
        double gate = 0.0;
        double distance = 0.0;
        double velocity = 0.0;
        double angle = 0.0;
        if (std::sscanf(row.c_str(), "%lld,%lld,%lld,%lf,%lf,%lf,%lf", &timeMs, &frame, &id, &gate,
                        &distance, &velocity, &angle) != 7) {
            ADD_FAILURE() << "not a row: " << row;
            break;
        }
        char entry[128];
        std::snprintf(entry, sizeof(entry), "%lld, %.2f, %.2f, %.2f", id, distance, angle,
                      velocity);
        entries.push_back(entry);
        start = end == std::string::npos ? csv.size() : end + 2;
    }
    return entries;
}

// A recording made by the program and played back by it: the playback's result log holds
// exactly what zuvo-replay reads from the same folder with the program's parameters.
TEST_F(OperatorRun, APlaybacksLogHoldsWhatZuvoReplayReads) {
    const zuvo::test::TempFolder recordingsFolder(u8"e2e_replay", L"C:\\");
    std::wstring recording;
    ASSERT_NO_FATAL_FAILURE(RecordIntoNewFolder(recordingsFolder.Wide(), "3", 6000, recording));
    RememberPlaybackFolder(recording);
    ASSERT_NO_FATAL_FAILURE(PlayBackInASession());
    const std::vector<std::wstring> logs = List(m_folder.File(L"Log"), L"ZUVO_MTT_Result_*.txt");
    ASSERT_EQ(logs.size(), 2u) << "the live run's and the playback's";
    const std::vector<std::string> logged =
        LoggedEntries(m_folder.Read((L"Log\\" + logs[1]).c_str()));

    const ProgramOutput replayed =
        RunAndRead(L"\"" + zuvo::test::BuiltProgramFolder() + L"\\zuvo-replay.exe\" objects \"" +
                   recording + L"\" --config \"" + m_folder.File(L"Radar_Config.ini") + L"\"");
    ASSERT_EQ(replayed.exitCode, 0u);
    const std::vector<std::string> read = ReplayedEntries(replayed.out);
    EXPECT_GT(read.size(), 100u) << "people were tracked";
    EXPECT_EQ(logged, read);
    std::printf("[ measured ] %zu entries in the playback's log and in zuvo-replay's objects\n",
                read.size());
}

// The disk fills up while a run records (the radar library's write budget stands in for it):
// the recording ends, once and with every complete frame kept, the run goes on, and the folder
// recorded so far plays back without a damaged frame.
TEST_F(OperatorRun, ADiskThatFillsUpWhileRecordingEndsOnlyTheRecording) {
    constexpr int kBudgetBytes = 8000;  // two or three seconds of the emulator's frames
    const zuvo::test::TempFolder recordingsFolder(u8"e2e_full_disk", L"C:\\");
    const std::wstring recordings = recordingsFolder.Wide();
    Prepare(0, "ObjectCountType=\"1\" SaveData=\"1\" SaveDataPath=\"" + Narrow(recordings) + "\"");
    ASSERT_TRUE(m_folder.Write(L"ZUVO_DiskBudget.on", std::to_string(kBudgetBytes)));
    const std::string ended = "raw-data recording ended: ";
    auto lineCount = [](const std::string& text) {
        return static_cast<long long>(std::count(text.begin(), text.end(), '\n'));
    };
    {
        RunningProgram program(m_folder);
        ASSERT_NE(program.Window(), nullptr);
        Detect(program);
        program.Click(IDC_START_STOP);
        AwaitButtons(program, kLiveRun, "recording run");
        const DWORD started = GetTickCount();
        ASSERT_TRUE(RunningProgram::WaitUntil(
            [&] { return Diagnostics().find(ended) != std::string::npos; }, 20000))
            << "the recording never ended";
        std::printf("[ measured ] the disk was full %lu ms into the run\n",
                    static_cast<unsigned long>(GetTickCount() - started));
        const std::wstring log =
            L"Log\\" + List(m_folder.File(L"Log"), L"ZUVO_MTT_Result_*.txt").back();
        const long long linesAtFailure = lineCount(m_folder.Read(log.c_str()));
        Sleep(3000);
        EXPECT_GT(lineCount(m_folder.Read(log.c_str())), linesAtFailure + 20)
            << "the run goes on with its deliveries and its log";
        EXPECT_TRUE(zuvo::test::WaitForObjectOnPanel(program, IDC_OBJECT_PANEL_SINGLE, 10000));
        ExpectButtons(program, kLiveRun, "still running");
        program.Click(IDC_START_STOP);
        AwaitButtons(program, kStopped, "stopped");
        program.Click(IDC_CLOSE);
        EXPECT_EQ(program.WaitForExit(20000), 0u);
    }
    const std::string recorded = Diagnostics();
    const size_t at = recorded.find(ended);
    EXPECT_EQ(recorded.find(ended, at + 1), std::string::npos) << "told once";
    std::printf("[ measured ] %s\n", recorded.substr(at, recorded.find('\r', at) - at).c_str());

    const std::vector<std::wstring> runs = List(recordings, L"Radar_*");
    ASSERT_EQ(runs.size(), 1u) << "one recording folder";
    const std::wstring recording = recordings + L"\\" + runs[0];
    size_t rawBytes = 0;
    for (const std::wstring& name : List(recording, L"RawData_*")) {
        rawBytes += zuvo::test::ReadWholeFile(recording + L"\\" + name).size();
    }
    EXPECT_GT(rawBytes, 0u);
    EXPECT_LE(rawBytes, static_cast<size_t>(kBudgetBytes)) << "nothing written past the full disk";

    // The recording plays back, to its end, without a word about damage.
    ASSERT_TRUE(DeleteFileW(m_folder.File(L"ZUVO_DiskBudget.on").c_str()));
    RememberPlaybackFolder(recording);
    const size_t logsBefore = List(m_folder.File(L"Log"), L"*.txt").size();
    ASSERT_NO_FATAL_FAILURE(PlayBackInASession());
    const std::vector<std::wstring> logs = List(m_folder.File(L"Log"), L"*.txt");
    ASSERT_EQ(logs.size(), logsBefore + 1);
    const std::string played = Diagnostics().substr(recorded.size());
    const std::vector<long long> delivered = DeliveredAtStops(played);
    ASSERT_EQ(delivered.size(), 1u) << played;
    std::printf("[ measured ] the playback delivered %lld entries\n", delivered[0]);
    EXPECT_GT(delivered[0], 0);
    for (const char* damage : {"ends inside a frame", "skipped", "damaged", "not a recording"}) {
        EXPECT_EQ(played.find(damage), std::string::npos) << damage << "\n" << played;
    }
}

// An error box of the program: its caption, its text, closed with OK.
void ExpectErrorBox(const RunningProgram& program, const wchar_t* caption, const std::wstring& text,
                    const char* step) {
    SCOPED_TRACE(step);
    const HWND box = WaitForDialog(program.ProcessId(), caption, kDialogTimeoutMs);
    ASSERT_NE(box, nullptr) << "no error box";
    const std::wstring shown = DialogStaticTexts(box);
    EXPECT_FALSE(shown.empty()) << "the box says nothing";
    EXPECT_NE(shown.find(text), std::wstring::npos) << Narrow(shown);
    PressDialogButton(box, IDOK);
    ASSERT_TRUE(RunningProgram::WaitUntil([&] { return !IsWindow(box); }, 5000));
}

// Start disabled, everything else as it was when the device was found.
constexpr ButtonStates kDetectionFailedAfterFound{false, false, true, true, false, true, false};

TEST_F(OperatorRun, AFailedDetectionShowsItsBoxAndDisablesStartOnly) {
    Prepare(0, "ObjectCountType=\"1\"");
    const std::string config = m_folder.Read(L"Radar_Config.ini");
    RunningProgram program(m_folder);
    ASSERT_NE(program.Window(), nullptr);
    Detect(program);
    AwaitButtons(program, kStopped, "device found");
    EXPECT_EQ(m_folder.Read(L"Radar_Config.ini"), config)
        << "only a serial sensor's port is written back";

    // The operator cancels the search: no device.
    program.Click(IDC_DETECT_DEVICE);
    const HWND search = WaitForDialog(program.ProcessId(), L"Detect Device", kDialogTimeoutMs);
    ASSERT_NE(search, nullptr);
    PressDialogButton(search, IDCANCEL);
    ExpectErrorBox(program, L"Error", L"No Device Detected", "no device");
    AwaitButtons(program, kDetectionFailedAfterFound, "after no device");

    // The configuration has gone: no search at all.
    ASSERT_TRUE(DeleteFileW(m_folder.File(L"Radar_Config.ini").c_str()));
    program.Click(IDC_DETECT_DEVICE);
    ExpectErrorBox(program, L"Error", L"Fail to Load Config. File", "configuration missing");
    EXPECT_EQ(FindWindowW(nullptr, L"Detect Device"), nullptr)
        << "no search without a configuration";
    AwaitButtons(program, kDetectionFailedAfterFound, "after the configuration failed");

    // Back, and the device is found again.
    ASSERT_TRUE(m_folder.Write(L"Radar_Config.ini", config));
    Detect(program);
    AwaitButtons(program, kStopped, "found again");
}

// A start that fails shows its box, clears Start and touches nothing else: no result log is
// opened. The playback's own failures restore the live run's parameters.
TEST_F(OperatorRun, AStartThatFailsShowsItsBoxAndLeavesTheDeviceStopped) {
    // Outside the user's profile, so that Wine's folder browser can open at it.
    const zuvo::test::TempFolder outside(u8"e2e_failures", L"C:\\");
    const std::wstring raw = outside.Wide(L"raw");
    const std::wstring gone = outside.Wide(L"deleted_recording");
    Prepare(0, "ObjectCountType=\"1\" SaveData=\"1\" SaveDataPath=\"" + Narrow(raw) +
                   "\" DataFilePath=\"" + Narrow(gone) + "\"");
    RunningProgram program(m_folder);
    ASSERT_NE(program.Window(), nullptr);
    Detect(program);
    AwaitButtons(program, kStopped, "device found");
    const std::wstring logs = m_folder.File(L"Log");
    const size_t logsBefore = List(logs, L"ZUVO_MTT_Result_*.txt").size();

    // The raw-data folder cannot be made: a file has taken its name (a stick pulled and a file
    // written in its place, say).
    ASSERT_TRUE(RemoveDirectoryW(raw.c_str()));
    ASSERT_TRUE(zuvo::test::WriteWholeFile(raw, "not a folder"));
    program.Click(IDC_START_STOP);
    ExpectErrorBox(program, L"Fail to Start Device", L"cannot be created", "live start");
    AwaitButtons(program, kStopped, "after the failed live start");
    EXPECT_EQ(List(logs, L"ZUVO_MTT_Result_*.txt").size(), logsBefore) << "no log for no run";

    // Playback: the remembered folder was deleted, so the browser opens at the save path. An
    // empty folder there is not a recording: nothing starts, and the operator is told so.
    ASSERT_TRUE(DeleteFileW(raw.c_str()));
    ASSERT_TRUE(CreateDirectoryW(raw.c_str(), nullptr));
    const std::string settings = m_folder.Read(L"appConfig.xml");
    auto pickInBrowser = [&](const char* step) {
        SCOPED_TRACE(step);
        program.Click(IDC_PLAYBACK);
        const HWND browser = WaitForFolderBrowser(program.ProcessId(), kDialogTimeoutMs);
        ASSERT_NE(browser, nullptr);
        Sleep(500);
        PressDialogButton(browser, IDOK);
        ASSERT_TRUE(RunningProgram::WaitUntil([&] { return !IsWindow(browser); }, 5000));
    };
    pickInBrowser("a folder without a configuration");
    ExpectErrorBox(program, L"Error", L"This folder is not a recording", "not a recording");
    AwaitButtons(program, kStopped, "after a folder that is not a recording");
    EXPECT_EQ(m_folder.Read(L"appConfig.xml"), settings) << "the remembered folder stays";

    // With a configuration but no recorded data, the start itself fails and says why. The
    // folder is remembered before the start, which shows the browser opened at the save path.
    ASSERT_TRUE(zuvo::test::WriteWholeFile(raw + L"\\FILE_Radar_Config.ini",
                                           m_folder.Read(L"Radar_Config.ini")));
    pickInBrowser("a configuration without data");
    ExpectErrorBox(program, L"Fail to Start Device", L"", "playback start");
    AwaitButtons(program, kStopped, "after the failed playback");
    EXPECT_NE(m_folder.Read(L"appConfig.xml").find("DataFilePath=\"" + Narrow(raw) + "\""),
              std::string::npos)
        << m_folder.Read(L"appConfig.xml");
    EXPECT_EQ(List(logs, L"ZUVO_MTT_Result_*.txt").size(), logsBefore) << "no log for no run";

    // The live parameters are back: a live run starts (saving into the folder again).
    program.Click(IDC_START_STOP);
    AwaitButtons(program, kLiveRun, "live run after the failures");
    program.Click(IDC_START_STOP);
    AwaitButtons(program, kStopped, "stopped");
    EXPECT_EQ(List(logs, L"ZUVO_MTT_Result_*.txt").size(), logsBefore + 1);
    EXPECT_EQ(List(raw, L"Radar_*").size(), 1u) << "the live run recorded";
}

// Without a configuration nothing can start, whatever asks for it: the end of a playback
// arriving late asks for a start too.
TEST_F(OperatorRun, WithoutAConfigurationNothingStarts) {
    Prepare(0, "ObjectCountType=\"1\"");
    ASSERT_TRUE(DeleteFileW(m_folder.File(L"Radar_Config.ini").c_str()));
    RunningProgram program(m_folder);
    ASSERT_NE(program.Window(), nullptr);
    ExpectButtons(program, kNoDevice, "start-up");

    PostMessageW(program.Window(), WM_USER + 260, 0, 0);  // the playback's end-of-reading toggle
    ExpectErrorBox(program, L"Error", L"Please Load Config. File", "start without configuration");
    AwaitButtons(program, kNoDevice, "after the refused start");
    EXPECT_TRUE(List(m_folder.File(L"Log"), L"ZUVO_MTT_Result_*.txt").empty());

    program.Click(IDC_DETECT_DEVICE);
    ExpectErrorBox(program, L"Error", L"Fail to Load Config. File", "detection");
    AwaitButtons(program, kNoDevice, "after the detection");
    program.Click(IDC_CLOSE);
    EXPECT_EQ(program.WaitForExit(20000), 0u);
}

// Raw-data bytes whose every 24 bytes claim the largest frame, with counts that agree: a
// reader finds a candidate frame everywhere and must check each one.
std::string CraftedFrames(size_t size) {
    const uint32_t length = 16 + 40 * (1024 + 64);
    std::string block = "ZFRM";
    for (int i = 0; i < 4; ++i) {
        block.push_back(static_cast<char>(length >> (8 * i)));
    }
    block.append(std::string("\0\0\0\0\0\0\0\0\x00\x04\x40\x00\0\0\0\0", 16));
    std::string bytes;
    bytes.reserve(size);
    while (bytes.size() + block.size() <= size) {
        bytes += block;
    }
    return bytes;
}

// A recording damaged in every way a copy can be plays what is intact, in order, and ends by
// itself; and Stop ends playback at once even while the reader scans a huge damaged file.
TEST_F(OperatorRun, DamagedRecordingsPlayWhatIsIntactAndStopByThemselves) {
    const zuvo::test::TempFolder outside(u8"e2e_damaged", L"C:\\");
    std::wstring recording;
    ASSERT_NO_FATAL_FAILURE(RecordIntoNewFolder(outside.Wide(), "1", 3000, recording));
    auto file = [&](const wchar_t* name) { return recording + L"\\" + name; };
    const std::string intact = zuvo::test::ReadWholeFile(file(L"RawData_0001.zrd"));
    ASSERT_GT(intact.size(), 2000u);
    const std::vector<std::wstring> logs = List(m_folder.File(L"Log"), L"ZUVO_MTT_Result_*.txt");
    ASSERT_EQ(logs.size(), 1u);
    const long long liveLines = ResultLines(m_folder.Read((L"Log\\" + logs[0]).c_str()));
    ASSERT_GT(liveLines, 20);

    // 1: a byte flipped inside a frame; 2: cut inside its last frame; 3: not a recording at
    // all; 4: a header and then only crafted frames; 5: intact.
    std::string flipped = intact;
    flipped[1000] = static_cast<char>(flipped[1000] ^ 0x5A);
    ASSERT_TRUE(zuvo::test::WriteWholeFile(file(L"RawData_0001.zrd"), flipped));
    ASSERT_TRUE(
        zuvo::test::WriteWholeFile(file(L"RawData_0002.zrd"), intact.substr(0, intact.size() - 7)));
    ASSERT_TRUE(zuvo::test::WriteWholeFile(
        file(L"RawData_0003.zrd"), "These are notes about the run, not data from the sensor."));
    ASSERT_TRUE(zuvo::test::WriteWholeFile(file(L"RawData_0004.zrd"),
                                           intact.substr(0, 36) + CraftedFrames(8 << 20)));
    ASSERT_TRUE(zuvo::test::WriteWholeFile(file(L"RawData_0005.zrd"), intact));
    std::string settings = m_folder.Read(L"appConfig.xml");
    Replace(settings, "<AppConfig ", "<AppConfig DataFilePath=\"" + Narrow(recording) + "\" ");
    ASSERT_TRUE(m_folder.Write(L"appConfig.xml", settings));

    RunningProgram program(m_folder);
    ASSERT_NE(program.Window(), nullptr);
    Detect(program);
    StartPlayback(program);
    AwaitButtons(program, kStopped, "the damaged recording has ended by itself", 60000);
    const std::vector<std::wstring> after = List(m_folder.File(L"Log"), L"ZUVO_MTT_Result_*.txt");
    ASSERT_EQ(after.size(), 2u);
    const long long playedLines = ResultLines(m_folder.Read((L"Log\\" + after[1]).c_str()));
    // Three copies of the live run, less a frame or two: the files after the damaged ones
    // were played too.
    EXPECT_GE(playedLines, 2 * liveLines + liveLines / 2) << "live: " << liveLines;
    const std::string diagnostics = Diagnostics();
    EXPECT_NE(diagnostics.find("RawData_0003.zrd: not a raw data file; the file is skipped"),
              std::string::npos);
    EXPECT_NE(diagnostics.find("damaged data at byte"), std::string::npos);
    EXPECT_NE(diagnostics.find("ends inside a frame"), std::string::npos);

    // Only a huge damaged file left: Stop ends the playback while the reader scans it.
    for (const wchar_t* name :
         {L"RawData_0001.zrd", L"RawData_0002.zrd", L"RawData_0003.zrd", L"RawData_0005.zrd"}) {
        ASSERT_TRUE(DeleteFileW(file(name).c_str()));
    }
    ASSERT_TRUE(zuvo::test::WriteWholeFile(file(L"RawData_0004.zrd"),
                                           intact.substr(0, 36) + CraftedFrames(256 << 20)));
    StartPlayback(program);
    Sleep(1000);
    const DWORD pressed = GetTickCount();
    program.Click(IDC_PLAYBACK);
    EXPECT_TRUE(RunningProgram::WaitUntil([&] { return Matches(program, kStopped); }, 5000));
    const DWORD stoppedAfter = GetTickCount() - pressed;
    std::printf(
        "[ measured ] a playback of 256 MiB of crafted frames stopped %lu ms after the "
        "click\n",
        stoppedAfter);
    EXPECT_LT(stoppedAfter, 1500u) << "stopped at once";
    AwaitButtons(program, kStopped, "the scan stopped by the operator");
}

// The tower light follows a live run on a COM port whose other end is a pseudo-terminal read
// on the Linux side: the no-object lamp at the start, a change of lamp (off, then on) when
// people appear, and at the stop the lit lamp and coil 3 off.
TEST_F(OperatorRun, TheTowerLightFollowsTheRun) {
    constexpr int kLightPort = 64;
    LinePeer peer("capture", kLightPort, 9600);
    ASSERT_EQ(peer.Start(), "");
    Prepare(0, "ObjectCountType=\"1\"", kLightPort);
    {
        RunningProgram program(m_folder);
        ASSERT_NE(program.Window(), nullptr);
        Detect(program);
        program.Click(IDC_START_STOP);
        AwaitButtons(program, kLiveRun, "live run");
        ASSERT_TRUE(RunningProgram::WaitUntil(
            [&] { return program.ControlText(IDC_OBJECT_PANEL_SINGLE).rfind(kIdlePanel, 0) != 0; },
            20000));
        Sleep(2500);  // the refresh pass runs every second
        program.Click(IDC_START_STOP);
        AwaitButtons(program, kStopped, "stopped");
        program.Click(IDC_CLOSE);
        EXPECT_EQ(program.WaitForExit(20000), 0u);
    }
    ASSERT_EQ(peer.Stop(), "");
    const std::optional<std::string> line = peer.WaitFor(L"line.bin", 2000);
    ASSERT_TRUE(line.has_value());

    const std::string coil0On("\x01\x05\x00\x00\xFF\x00\x8C\x3A", 8);
    const std::string coil0Off("\x01\x05\x00\x00\x00\x00\xCD\xCA", 8);
    const std::string coil2On("\x01\x05\x00\x02\xFF\x00\x2D\xFA", 8);
    const std::string coil2Off("\x01\x05\x00\x02\x00\x00\x6C\x0A", 8);
    const std::string coil3Off("\x01\x05\x00\x03\x00\x00\x3D\xCA", 8);
    ASSERT_EQ(line->size() % 8, 0u) << "whole frames only";
    std::vector<std::string> frames;
    for (size_t at = 0; at < line->size(); at += 8) {
        frames.push_back(line->substr(at, 8));
    }
    ASSERT_GE(frames.size(), 5u);
    EXPECT_EQ(frames[0], coil2On) << "no object yet at the start";
    EXPECT_EQ(frames[1], coil2Off) << "people appeared";
    EXPECT_EQ(frames[2], coil0On);
    EXPECT_EQ(frames.back(), coil3Off) << "the stop";
    const std::string& lastLamp = frames[frames.size() - 2];
    EXPECT_TRUE(lastLamp == coil0Off || lastLamp == coil2Off);
    // Never two lamps at once: every on follows the other lamp's off.
    int lit = 2;
    for (size_t i = 1; i + 1 < frames.size(); ++i) {
        if (frames[i] == coil0Off || frames[i] == coil2Off) {
            EXPECT_EQ(frames[i], lit == 0 ? coil0Off : coil2Off) << "frame " << i;
            lit = -1;
        } else {
            EXPECT_EQ(lit, -1) << "frame " << i << " lights a lamp while another is lit";
            lit = frames[i] == coil0On ? 0 : 2;
            EXPECT_TRUE(frames[i] == coil0On || frames[i] == coil2On) << "frame " << i;
        }
    }
}

// The tower light's line goes away in a run and comes back: the run goes on, and once the
// line is back the light shows the right lamp again. One scripted person stands in the fan
// and leaves while the line is away, so the light has something to change then.
TEST_F(OperatorRun, TheTowerLightFollowsAgainWhenItsLineComesBack) {
    constexpr int kLightPort = 65;
    constexpr int kLeavesS = 9;
    Prepare(0, "ObjectCountType=\"1\"", kLightPort);
    std::string config = m_folder.Read(L"Radar_Config.ini");
    Replace(config, "EmulatorMissRate = 0.05", "EmulatorMissRate = 0");
    Replace(config, "EmulatorFalseAlarmRate = 0.3", "EmulatorFalseAlarmRate = 0");
    Replace(config, "EmulatorScriptedPeople = 0", "EmulatorScriptedPeople = 1");
    Replace(config, "EmulatorLeave1S = 0", "EmulatorLeave1S = " + std::to_string(kLeavesS));
    ASSERT_TRUE(m_folder.Write(L"Radar_Config.ini", config));

    const std::string coil0On("\x01\x05\x00\x00\xFF\x00\x8C\x3A", 8);
    const std::string coil0Off("\x01\x05\x00\x00\x00\x00\xCD\xCA", 8);
    const std::string coil2On("\x01\x05\x00\x02\xFF\x00\x2D\xFA", 8);
    const std::string coil2Off("\x01\x05\x00\x02\x00\x00\x6C\x0A", 8);
    const std::string coil3Off("\x01\x05\x00\x03\x00\x00\x3D\xCA", 8);

    auto first = std::make_unique<LinePeer>("capture", kLightPort, 9600);
    ASSERT_EQ(first->Start(), "");
    RunningProgram program(m_folder);
    ASSERT_NE(program.Window(), nullptr);
    Detect(program);
    program.Click(IDC_START_STOP);
    AwaitButtons(program, kLiveRun, "live run");
    const DWORD started = GetTickCount();
    ASSERT_TRUE(zuvo::test::WaitForObjectOnPanel(program, IDC_OBJECT_PANEL_SINGLE, 20000));
    Sleep(2500);  // the refresh pass has lit the object lamp

    // The line goes away; the person leaves while it is away.
    ASSERT_EQ(first->Stop(), "");
    const std::optional<std::string> before = first->WaitFor(L"line.bin", 2000);
    ASSERT_TRUE(before.has_value());
    EXPECT_EQ(before->substr(before->size() - 8), coil0On) << "the object lamp was lit";
    first.reset();
    const std::wstring log =
        L"Log\\" + List(m_folder.File(L"Log"), L"ZUVO_MTT_Result_*.txt").back();
    const long long linesAtLoss = ResultLines(m_folder.Read(log.c_str()));
    while (GetTickCount() - started < (kLeavesS + 4) * 1000u) {
        Sleep(200);
    }
    EXPECT_TRUE(PanelShowsNoObject(program.ControlText(IDC_OBJECT_PANEL_SINGLE)))
        << "the run went on without the light";
    EXPECT_GT(ResultLines(m_folder.Read(log.c_str())), linesAtLoss) << "and kept its log";

    // The line comes back: within a few refresh passes both lamps go off and the no-object
    // lamp comes on.
    LinePeer second("capture", kLightPort, 9600);
    ASSERT_EQ(second.Start(), "");
    Sleep(5000);
    program.Click(IDC_START_STOP);
    AwaitButtons(program, kStopped, "stopped");
    ASSERT_EQ(second.Stop(), "");
    const std::optional<std::string> after = second.WaitFor(L"line.bin", 2000);
    ASSERT_TRUE(after.has_value());
    std::vector<std::string> frames;
    for (size_t at = 0; at + 8 <= after->size(); at += 8) {
        frames.push_back(after->substr(at, 8));
    }
    const std::vector<std::string> expected = {coil0Off, coil2Off, coil2On, coil2Off, coil3Off};
    std::string lightLines;
    {
        const std::string diagnostics = Diagnostics();
        size_t at = 0;
        while ((at = diagnostics.find("KWQ", at)) != std::string::npos) {
            const size_t begin = diagnostics.rfind('\n', at);
            const size_t end = diagnostics.find('\n', at);
            lightLines += diagnostics.substr(begin == std::string::npos ? 0 : begin + 1,
                                             end - (begin == std::string::npos ? 0 : begin + 1)) +
                          "\n";
            at = end == std::string::npos ? diagnostics.size() : end;
        }
    }
    EXPECT_EQ(frames, expected) << "back: both lamps off, the no-object lamp on; then the stop\n"
                                << lightLines;
}

// A Log that cannot be written (here a file has its name): the run goes on without a log and
// the operator is told once, in a balloon that needs no answer, in both languages.
TEST_F(OperatorRun, AResultLogThatCannotBeWrittenIsToldOnceAndTheRunGoesOn) {
    Prepare(0, "ObjectCountType=\"1\"");
    for (const char* language : {"ENG", "CHS"}) {
        SCOPED_TRACE(language);
        ASSERT_TRUE(m_folder.Write(L"appConfig.xml",
                                   std::string("<?xml version=\"1.0\"?>\n<AppConfig Language=\"") +
                                       language + "\" ObjectCountType=\"1\" />\n"));
        ASSERT_TRUE(m_folder.Write(L"Log", "not a folder"));
        RunningProgram program(m_folder);
        ASSERT_NE(program.Window(), nullptr);
        const bool english = std::string(language) == "ENG";
        EXPECT_FALSE(
            zuvo::test::DetectDevice(program, english ? L"Prompt" : L"\u63D0\u793A").empty());
        auto balloon = [&] {
            const HWND found = zuvo::test::FindProcessWindow(program.ProcessId(), L"BALLOONWND");
            return found != nullptr && IsWindowVisible(found) ? found : nullptr;
        };
        EXPECT_EQ(balloon(), nullptr);
        program.Click(IDC_START_STOP);
        AwaitButtons(program, kLiveRun, "live run without a log");
        ASSERT_TRUE(RunningProgram::WaitUntil([&] { return balloon() != nullptr; }, 5000))
            << "the operator is told";
        Sleep(500);
        // From the screen: the balloon is a window of its own over the main window.
        EXPECT_FALSE(zuvo::test::Capture(program.Window(), zuvo::test::Capture::Source::Screen)
                         .Save(english ? L"no_result_log_en" : L"no_result_log_zh")
                         .empty());
        EXPECT_TRUE(zuvo::test::WaitForObjectOnPanel(program, IDC_OBJECT_PANEL_SINGLE, 20000))
            << "the run goes on";
        // The balloon goes after its five seconds and does not come back in this run.
        EXPECT_TRUE(RunningProgram::WaitUntil([&] { return balloon() == nullptr; }, 10000));
        Sleep(3000);
        EXPECT_EQ(balloon(), nullptr) << "told once";
        program.Click(IDC_START_STOP);
        AwaitButtons(program, kStopped, "stopped");
        EXPECT_EQ(m_folder.Read(L"Log"), "not a folder") << "nothing written over the file";
        program.Click(IDC_CLOSE);
        EXPECT_EQ(program.WaitForExit(20000), 0u);
        ASSERT_TRUE(DeleteFileW(m_folder.File(L"Log").c_str()));
    }
}

// A radar sensor on a real Wine COM port: tools/sensor_simulator on the Linux end of a
// pseudo-terminal, answering with the radar emulator's scene.
class SerialSensorRun : public OperatorRun {
protected:
    // The sensor tracks as processSite says; the configuration names configPort.
    void PrepareSensor(int processSite, int configPort, const std::string& settingsAttributes) {
        Prepare(processSite, settingsAttributes);
        std::string config = m_folder.Read(L"Radar_Config.ini");
        Replace(config, "DeviceNumber = 1", "DeviceNumber = " + std::to_string(configPort));
        ASSERT_TRUE(m_folder.Write(L"Radar_Config.ini", config));
    }

    // Detects and answers how long the search took.
    static DWORD DetectSensor(const RunningProgram& program) {
        const DWORD started = GetTickCount();
        EXPECT_EQ(zuvo::test::DetectDevice(program), L"COM Device Detected");
        return GetTickCount() - started;
    }

    // The dialog library's account of its last search: candidates probed and the time spent.
    std::string ProbingReport() const {
        const std::string diagnostics = Diagnostics();
        const size_t at = diagnostics.rfind("DeviceSearch: ");
        return at == std::string::npos ? "no account"
                                       : diagnostics.substr(at, diagnostics.find('\r', at) - at);
    }

    static void StartAndSeeAnObject(const RunningProgram& program) {
        program.Click(IDC_START_STOP);
        AwaitButtons(program, kLiveRun, "live run");
        EXPECT_TRUE(RunningProgram::WaitUntil(
            [&] { return program.ControlText(IDC_OBJECT_PANEL_SINGLE).rfind(kIdlePanel, 0) != 0; },
            20000))
            << "the simulated sensor's people reach the panel";
    }
};

// Found on the port the configuration names: the file stays as it was. A run shows the
// sensor's objects, and the mode switch commands it, acknowledged.
TEST_F(SerialSensorRun, DetectionFindsTheSensorAndARunTakesItsObjectsAndModeCommands) {
    constexpr int kPort = 9;
    LinePeer sensor(kPort, "--scripted 2");
    ASSERT_EQ(sensor.Start(), "");
    PrepareSensor(10, kPort, "ObjectCountType=\"1\"");
    const std::string config = m_folder.Read(L"Radar_Config.ini");
    {
        RunningProgram program(m_folder);
        ASSERT_NE(program.Window(), nullptr);
        const DWORD detectionMs = DetectSensor(program);
        RecordProperty("detection_with_sensor_ms", static_cast<int>(detectionMs));
        std::printf("detection with a sensor on COM%d: %lu ms (%s)\n", kPort, detectionMs,
                    ProbingReport().c_str());
        AwaitButtons(program, kStopped, "sensor found");
        EXPECT_EQ(m_folder.Read(L"Radar_Config.ini"), config) << "found where it was";

        StartAndSeeAnObject(program);
        program.Click(IDC_MODE_SWITCH);
        ASSERT_TRUE(RunningProgram::WaitUntil([&] { return program.IsVisible(IDC_OBJECT_PANEL_1); },
                                              15000));
        AwaitButtons(program, kLiveRun, "three objects");
        EXPECT_TRUE(WaitForObjectOnPanel(program, IDC_OBJECT_PANEL_1, 20000));
        program.Click(IDC_START_STOP);
        AwaitButtons(program, kStopped, "stopped");
        program.Click(IDC_CLOSE);
        EXPECT_EQ(program.WaitForExit(20000), 0u);
    }
    EXPECT_EQ(ModeCommands(Diagnostics()), (std::vector<std::string>{"0x0080", "0x0090"}))
        << "each mode command acknowledged";
    EXPECT_NE(Diagnostics().find("serial sensor on COM9"), std::string::npos);
    ASSERT_EQ(sensor.Stop(), "");
    const std::string report = sensor.WaitFor(L"report", 2000).value_or("");
    EXPECT_NE(report.find("commands 0x0080 0x0090\n"), std::string::npos) << report;
}

// Found on another port than the configuration names: the file gets the new number and
// nothing else, and the run opens the port it was found on. "Save Data" records the sensor's
// frames as it records the emulator's.
TEST_F(SerialSensorRun, ASensorFoundOnAnotherPortRewritesOnlyTheDeviceNumber) {
    constexpr int kPort = 11;
    LinePeer sensor(kPort, "--scripted 1");
    ASSERT_EQ(sensor.Start(), "");
    const zuvo::test::TempFolder recordingsFolder(u8"e2e_sensor_recordings", L"C:\\");
    const std::wstring recordings = recordingsFolder.Wide();
    PrepareSensor(
        0, 4, "ObjectCountType=\"1\" SaveData=\"1\" SaveDataPath=\"" + Narrow(recordings) + "\"");
    std::string expected = m_folder.Read(L"Radar_Config.ini");
    Replace(expected, "DeviceNumber = 4", "DeviceNumber = 11");
    RunningProgram program(m_folder);
    ASSERT_NE(program.Window(), nullptr);
    DetectSensor(program);
    AwaitButtons(program, kStopped, "sensor found");
    EXPECT_EQ(m_folder.Read(L"Radar_Config.ini"), expected);
    StartAndSeeAnObject(program);
    // A second of frames (20 of them) before the stop: the first object can be seen after a
    // handful of frames, and a slow machine gets to Stop before the fifth.
    Sleep(1000);
    program.Click(IDC_START_STOP);
    AwaitButtons(program, kStopped, "stopped");
    EXPECT_NE(Diagnostics().find("serial sensor on COM11"), std::string::npos);

    const std::vector<std::wstring> runs = List(recordings, L"Radar_*");
    ASSERT_EQ(runs.size(), 1u) << "one recording folder";
    const std::wstring recording = recordings + L"\\" + runs[0];
    // The recording reads back as playback reads it: every frame intact and in order.
    zuvo::radar::RecordingInfo info;
    std::string error;
    ASSERT_TRUE(zuvo::radar::InspectRecording(recording, info, error)) << error;
    EXPECT_EQ(info.record.SourceType, RADAR_SOURCE_COM);
    ASSERT_EQ(info.files.size(), 1u);
    zuvo::radar::RawFileReader reader;
    ASSERT_TRUE(reader.Open(recording + L"\\" + info.files[0], error)) << error;
    std::vector<uint32_t> indices;
    zuvo::radar::RadarFrame frame;
    while (reader.Next(frame)) {
        indices.push_back(frame.index);
    }
    EXPECT_EQ(reader.DamagedStretches(), 0);
    ASSERT_GE(indices.size(), 5u) << "the frames of the run";
    EXPECT_EQ(indices.back() - indices.front() + 1, indices.size()) << "no frame missing";
}

// The sensor's line goes away in the middle of a run: the run ends, an error box says so, the
// result log holds every entry delivered up to the loss, the buttons are those of a found
// device, and with the sensor back a new detection finds it.
TEST_F(SerialSensorRun, ALostLineEndsTheRunWithAnErrorBoxAndTheSensorIsFoundAgain) {
    constexpr int kPort = 5;
    auto sensor = std::make_unique<LinePeer>(kPort, "--scripted 2 --close-after-ms 5000");
    ASSERT_EQ(sensor->Start(), "");
    PrepareSensor(0, kPort, "ObjectCountType=\"1\"");
    RunningProgram program(m_folder);
    ASSERT_NE(program.Window(), nullptr);
    DetectSensor(program);
    StartAndSeeAnObject(program);

    ASSERT_TRUE(sensor->WaitFor(L"closed", 20000)) << "the simulator closes its line";
    ExpectErrorBox(program, L"Error", L"The connection to the radar sensor was lost", "line lost");
    AwaitButtons(program, kStopped, "after the loss");
    EXPECT_FALSE(program.IsChecked(IDC_START_STOP));

    const std::vector<std::wstring> logs = List(m_folder.File(L"Log"), L"ZUVO_MTT_Result_*.txt");
    ASSERT_EQ(logs.size(), 1u);
    const std::vector<long long> stops = DeliveredAtStops(Diagnostics());
    ASSERT_EQ(stops.size(), 1u) << "the lost run was stopped once";
    EXPECT_GT(stops[0], 0);
    EXPECT_EQ(ResultLines(m_folder.Read((L"Log\\" + logs[0]).c_str())), stops[0])
        << "a line for every entry delivered before the loss";
    ASSERT_EQ(sensor->Stop(), "");

    // The sensor is back (on the same port): found again, and it runs.
    sensor = std::make_unique<LinePeer>(kPort, "--scripted 2");
    ASSERT_EQ(sensor->Start(), "");
    DetectSensor(program);
    AwaitButtons(program, kStopped, "found again");
    StartAndSeeAnObject(program);
    program.Click(IDC_START_STOP);
    AwaitButtons(program, kStopped, "stopped");
}

// Detection without a sensor: every probed port costs at most its time-out, and the emulator
// answers last.
TEST_F(SerialSensorRun, WithoutASensorTheSearchEndsAtTheEmulatorQuickly) {
    Prepare(0, "ObjectCountType=\"1\"");
    RunningProgram program(m_folder);
    ASSERT_NE(program.Window(), nullptr);
    const DWORD started = GetTickCount();
    Detect(program);
    const DWORD detectionMs = GetTickCount() - started;
    RecordProperty("detection_without_sensor_ms", static_cast<int>(detectionMs));
    std::printf("detection without a sensor: %lu ms (%s)\n", detectionMs, ProbingReport().c_str());
    EXPECT_LT(detectionMs, 5000u);
}

}  // namespace
