#include "app/RunController.h"

#include "text/Unicode.h"

namespace zuvo::app {

void RunController::StartUp() {
    m_controls = ControlsState{};
    m_shared.SourceType = RADAR_SOURCE_NONE;
    m_copy(&m_working, &m_shared);
    // No device: only Playback and the save-data controls can be pressed.
    m_controls.playback.enabled = true;
    m_controls.saveEnabled = true;
}

void RunController::DetectionFailed() {
    m_controls.startStop.enabled = false;
}

void RunController::DeviceDetected(int sourceType, int deviceNumber) {
    m_controls.startStop.enabled = true;
    m_controls.mode.enabled = true;
    m_shared.SourceType = sourceType;
    m_shared.DeviceNumber = deviceNumber;
    m_copy(&m_working, &m_shared);
}

void RunController::PrepareLiveStart(bool saveData, std::wstring_view savePath) {
    if (PlaybackPrepared()) {
        return;
    }
    m_shared.SaveRawData = saveData ? 1 : 0;
    if (saveData) {
        zuvo::text::CopyToField(savePath, m_shared.DataPath);
    }
}

void RunController::Started() {
    if (PlaybackPrepared()) {
        m_controls.playback = {true, true};
        m_controls.startStop.enabled = false;
        m_controls.mode.enabled = false;
    } else {
        m_controls.startStop = {true, true};
        m_controls.playback.enabled = false;
        m_controls.mode.enabled = true;
    }
    m_controls.pause = {true, false};
    m_controls.saveEnabled = false;
}

void RunController::StartFailed() {
    m_controls.playback.checked = false;
    m_controls.startStop.checked = false;
}

void RunController::Stopped() {
    m_controls.startStop.checked = false;
    m_controls.pause.checked = false;
    m_controls.playback.checked = false;
    RestoreWorking();
    const bool deviceKnown = m_shared.SourceType != RADAR_SOURCE_NONE;
    m_controls.startStop.enabled = deviceKnown;
    m_controls.mode.enabled = deviceKnown;
    m_controls.playback.enabled = true;
    m_controls.saveEnabled = true;
    m_controls.pause.enabled = false;
}

void RunController::PreparePlayback(std::wstring_view folder) {
    m_shared.ReadFromFile = 1;
    zuvo::text::CopyToField(folder, m_shared.DataPath);
}

void RunController::PlaybackCancelled() {
    m_controls.playback.checked = false;
}

void RunController::PlaybackGivenUp() {
    RestoreWorking();
    m_controls.startStop.enabled = m_shared.SourceType != RADAR_SOURCE_NONE;
    m_controls.playback.checked = false;
}

void RunController::RestoreWorking() {
    m_copy(&m_shared, &m_working);
}

}  // namespace zuvo::app
