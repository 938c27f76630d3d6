// The run's controller: which of the main window's run buttons can be pressed and which are
// down, and the radar library's shared parameter record around each run.
//
// The library's own run state (started, paused) is the only run state; the main window asks
// the library for it and tells the controller what happened: a detection, a start, a stop, a
// playback prepared or given up. The controller answers the state of every run button for the
// window to apply, and it is the one place that writes the shared record: the detected source
// at a detection, the raw-data switch and folder before a live start, the playback folder
// before a playback, and the working copy back at every stop, so that a run's temporary
// settings never outlive the run.
//
// Portable, and used on the user-interface thread only.
#pragma once

#include <string_view>

#include "ZUVO_DataProcess.h"

namespace zuvo::app {

// One button: whether it can be pressed, and whether it is down (a check button's check).
struct ButtonState {
    bool enabled = false;
    bool checked = false;
    bool operator==(const ButtonState&) const = default;
};

// The run buttons of the main window. Detection (1090) can always be pressed; the save-data
// switch's check (1102) is the operator's, only whether it can be pressed is the run's.
struct ControlsState {
    ButtonState startStop;  // 1091, a check button: down while a live run lasts
    ButtonState mode;       // 1093, a push button
    ButtonState pause;      // 1100, a check button, hidden
    bool pauseShown = false;
    ButtonState playback;     // 1101, a check button: down while a playback lasts
    bool saveEnabled = true;  // 1102 (save data) and 1103 (save path)
    bool operator==(const ControlsState&) const = default;
};

class RunController {
public:
    // How the library copies its record whole (the record may hold more than the fields the
    // program knows).
    using CopyParameters = void(ZUVO_CALL*)(tagRADARPARAMETER* destination,
                                            const tagRADARPARAMETER* source);

    // shared: the library's record, which outlives the controller.
    RunController(tagRADARPARAMETER& shared, CopyParameters copy)
        : m_shared(shared), m_copy(copy) {}

    // At start-up, once the library has loaded its configuration into the record: no device is
    // known, its source type is cleared and the working copy taken.
    void StartUp();

    const ControlsState& Controls() const { return m_controls; }
    // The parameters as they are between runs: the last detection's, without a run's
    // temporary settings.
    const tagRADARPARAMETER& Working() const { return m_working; }
    const tagRADARPARAMETER& Shared() const { return m_shared; }
    // The next start plays back a recording (else it runs the device).
    bool PlaybackPrepared() const { return m_shared.ReadFromFile != 0; }

    // The configuration did not load, or no device answered: Start can no longer be pressed,
    // the source and the mode button stay as they were.
    void DetectionFailed();
    // A device of sourceType answered as deviceNumber: the record takes both, and the working
    // copy the record.
    void DeviceDetected(int sourceType, int deviceNumber);

    // Before a start: a live run records raw data when saveData is set, into savePath (cut to
    // the record's field, never within a character).
    void PrepareLiveStart(bool saveData, std::wstring_view savePath);
    // The device runs: a live run or a playback, by the record.
    void Started();
    // The start failed: neither Start nor Playback stays down; what could be pressed still can.
    void StartFailed();
    // A run ended: the working copy back into the record, the buttons as after a detection (or
    // as at start-up when no device is known).
    void Stopped();

    // A recording in folder is to be played back by the next start.
    void PreparePlayback(std::wstring_view folder);
    // The operator chose no folder: Playback is not down.
    void PlaybackCancelled();
    // The folder held no recording, or its start failed: the working copy back into the
    // record, Start as the known device allows, Playback not down.
    void PlaybackGivenUp();

private:
    void RestoreWorking();

    tagRADARPARAMETER& m_shared;
    CopyParameters m_copy;
    tagRADARPARAMETER m_working{};
    ControlsState m_controls;
};

}  // namespace zuvo::app
