// The run buttons and the shared parameter record through every transition of a run.
#include "app/RunController.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <functional>
#include <string>
#include <vector>

namespace {

using zuvo::app::ButtonState;
using zuvo::app::ControlsState;
using zuvo::app::RunController;

void ZUVO_CALL CopyRecord(tagRADARPARAMETER* destination, const tagRADARPARAMETER* source) {
    *destination = *source;
}

constexpr ButtonState kOff{false, false};
constexpr ButtonState kEnabled{true, false};
constexpr ButtonState kDown{true, true};

// 1091 / 1093 / 1100 / 1101 / 1102 and 1103, as the run's state table lists them.
ControlsState Buttons(ButtonState startStop, bool mode, ButtonState pause, ButtonState playback,
                      bool save) {
    ControlsState state;
    state.startStop = startStop;
    state.mode.enabled = mode;
    state.pause = pause;
    state.playback = playback;
    state.saveEnabled = save;
    return state;
}

struct Session {
    tagRADARPARAMETER shared{};
    RunController run{shared, &CopyRecord};
    Session() {
        shared.SourceType = RADAR_SOURCE_EMULATOR;  // what the configuration file said
        std::wcscpy(shared.DataPath, L"C:\\Live");
        run.StartUp();
    }
    void Detect() { run.DeviceDetected(RADAR_SOURCE_EMULATOR, 4); }
    void StartLive() {
        run.PrepareLiveStart(false, L"");
        run.Started();
    }
    void StartPlayback() {
        run.PreparePlayback(L"C:\\Recording");
        run.Started();
    }
};

struct Transition {
    const char* name;
    std::function<void(Session&)> steps;
    ControlsState expected;
};

TEST(RunController, EveryTransitionGivesTheButtonsOfItsState) {
    const ControlsState noDevice = Buttons(kOff, false, kOff, kEnabled, true);
    const ControlsState deviceFound = Buttons(kEnabled, true, kOff, kEnabled, true);
    const ControlsState liveRun = Buttons(kDown, true, kEnabled, kOff, false);
    const ControlsState playbackFromDevice = Buttons(kOff, false, kEnabled, kDown, false);
    const std::vector<Transition> table{
        {"start-up", [](Session&) {}, noDevice},
        {"detection success", [](Session& r) { r.Detect(); }, deviceFound},
        {"detection success while found", [](Session& r) { r.Detect(), r.Detect(); }, deviceFound},
        {"detection failure with no device", [](Session& r) { r.run.DetectionFailed(); }, noDevice},
        // Start can no longer be pressed; the mode button keeps what it was.
        {"detection failure after a device was found",
         [](Session& r) { r.Detect(), r.run.DetectionFailed(); },
         Buttons(kOff, true, kOff, kEnabled, true)},
        {"live start", [](Session& r) { r.Detect(), r.StartLive(); }, liveRun},
        {"live stop", [](Session& r) { r.Detect(), r.StartLive(), r.run.Stopped(); }, deviceFound},
        {"playback start with a device found", [](Session& r) { r.Detect(), r.StartPlayback(); },
         playbackFromDevice},
        {"playback start with no device", [](Session& r) { r.StartPlayback(); },
         playbackFromDevice},
        {"playback stop with a device found",
         [](Session& r) { r.Detect(), r.StartPlayback(), r.run.Stopped(); }, deviceFound},
        {"playback stop with no device", [](Session& r) { r.StartPlayback(), r.run.Stopped(); },
         noDevice},
        // The buttons that went down with the click come up; what could be pressed still can.
        {"start failure",
         [](Session& r) { r.Detect(), r.run.PrepareLiveStart(false, L""), r.run.StartFailed(); },
         deviceFound},
        {"playback cancelled", [](Session& r) { r.Detect(), r.run.PlaybackCancelled(); },
         deviceFound},
        {"playback given up with a device found",
         [](Session& r) { r.Detect(), r.run.PreparePlayback(L"C:\\Not"), r.run.PlaybackGivenUp(); },
         deviceFound},
        {"playback given up with no device",
         [](Session& r) { r.run.PreparePlayback(L"C:\\Not"), r.run.PlaybackGivenUp(); }, noDevice},
        // The mode switch stops and starts again, also from the stopped state.
        {"mode switch while live",
         [](Session& r) { r.Detect(), r.StartLive(), r.run.Stopped(), r.StartLive(); }, liveRun},
        {"mode switch while stopped",
         [](Session& r) { r.Detect(), r.run.Stopped(), r.StartLive(); }, liveRun},
        // Detection while running stops first.
        {"detection while live",
         [](Session& r) { r.Detect(), r.StartLive(), r.run.Stopped(), r.Detect(); }, deviceFound},
    };
    for (const Transition& row : table) {
        Session r;
        row.steps(r);
        const ControlsState& got = r.run.Controls();
        EXPECT_EQ(got.startStop, row.expected.startStop) << row.name << ": start/stop (1091)";
        EXPECT_EQ(got.mode, row.expected.mode) << row.name << ": mode (1093)";
        EXPECT_EQ(got.pause, row.expected.pause) << row.name << ": pause (1100)";
        EXPECT_EQ(got.playback, row.expected.playback) << row.name << ": playback (1101)";
        EXPECT_EQ(got.saveEnabled, row.expected.saveEnabled) << row.name << ": save (1102, 1103)";
        EXPECT_FALSE(got.pauseShown) << row.name;
    }
}

TEST(RunController, ARunsTemporarySettingsNeverOutliveIt) {
    Session r;
    EXPECT_EQ(r.shared.SourceType, RADAR_SOURCE_NONE) << "no device is known at start-up";
    r.run.DeviceDetected(RADAR_SOURCE_COM, 7);
    EXPECT_EQ(r.shared.SourceType, RADAR_SOURCE_COM);
    EXPECT_EQ(r.shared.DeviceNumber, 7);
    EXPECT_EQ(r.run.Working().DeviceNumber, 7);

    // Save data off: the data folder is not touched.
    r.run.PrepareLiveStart(false, L"C:\\Elsewhere");
    EXPECT_EQ(r.shared.SaveRawData, 0);
    EXPECT_EQ(std::wstring(r.shared.DataPath), L"C:\\Live");
    // On: the save path becomes the data folder, for this run only.
    r.run.PrepareLiveStart(true, L"D:\\Raw");
    r.run.Started();
    EXPECT_EQ(r.shared.SaveRawData, 1);
    EXPECT_EQ(std::wstring(r.shared.DataPath), L"D:\\Raw");
    r.run.Stopped();
    EXPECT_EQ(r.shared.SaveRawData, 0);
    EXPECT_EQ(std::wstring(r.shared.DataPath), L"C:\\Live");

    // A playback's folder, and what its configuration loaded, end with the playback.
    r.run.PreparePlayback(L"E:\\Recording");
    r.shared.GateCount = 99;  // the folder's configuration, loaded by the library
    EXPECT_TRUE(r.run.PlaybackPrepared());
    // The raw-data switch belongs to live runs: a playback records nothing of its own.
    r.run.PrepareLiveStart(true, L"D:\\Raw");
    EXPECT_EQ(std::wstring(r.shared.DataPath), L"E:\\Recording");
    r.run.Started();
    r.run.Stopped();
    EXPECT_FALSE(r.run.PlaybackPrepared());
    EXPECT_EQ(r.shared.ReadFromFile, 0);
    EXPECT_EQ(std::wstring(r.shared.DataPath), L"C:\\Live");
    EXPECT_EQ(r.shared.GateCount, r.run.Working().GateCount);
    EXPECT_EQ(r.shared.SourceType, RADAR_SOURCE_COM);

    // A folder that held no recording: the same.
    r.run.PreparePlayback(L"E:\\Nothing");
    r.run.PlaybackGivenUp();
    EXPECT_EQ(r.shared.ReadFromFile, 0);
    EXPECT_EQ(std::wstring(r.shared.DataPath), L"C:\\Live");
}

// A folder too long for the record is cut to it, and never inside a character: a character
// beyond the basic plane is two units of 16-bit wide text (Windows), one of 32-bit.
TEST(RunController, AFolderTooLongForTheRecordIsCutBetweenCharacters) {
    Session r;
    const std::wstring face = L"\U0001F600";
    const std::wstring start(ZUVO_MAX_PATH - 2, L'a');
    r.run.PreparePlayback(start + face + L"z");
    EXPECT_EQ(std::wstring(r.shared.DataPath), face.size() == 2 ? start : start + face);
    r.run.PlaybackGivenUp();
    const std::wstring fits = std::wstring(ZUVO_MAX_PATH - 1 - face.size(), L'b') + face;
    r.run.PrepareLiveStart(true, fits + L"z");
    EXPECT_EQ(std::wstring(r.shared.DataPath), fits);
}

}  // namespace
