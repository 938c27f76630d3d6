#include "DeviceCandidates.h"

#include "DlgResourceIds.h"
#include "ZUVO_DataProcess.h"
#include "framework/Language.h"

namespace zuvo::dlg {

namespace {

// The emulator is built into the radar processing library and needs no hardware, so it
// always answers.
bool ProbeEmulator(const SearchStop&, FoundDevice& found) {
    found.sourceType = RADAR_SOURCE_EMULATOR;
    found.deviceNumber = 0;
    found.deviceText = kEmulatorDeviceText;
    found.secondText = "Built-in radar emulator, no hardware";
    return true;
}

}  // namespace

std::vector<DeviceCandidate> BuildDeviceCandidates(HMODULE module, LANGID language) {
    std::vector<DeviceCandidate> candidates;
    candidates.push_back(DeviceCandidate{
        LoadStringInLanguage(module, IDS_DEVICE_EMULATOR, language), ProbeEmulator});
    return candidates;
}

}  // namespace zuvo::dlg
