// The radar sources the detection tries, in the order it tries them.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <vector>

#include "DeviceSearch.h"

namespace zuvo::dlg {

// Device text the emulator is reported with.
inline constexpr char kEmulatorDeviceText[] = "Radar Emulator";

// Every source worth probing, labelled in the language. Sensors on serial ports belong before
// the emulator, so that attached hardware wins; the radar emulator of the processing library
// is always there and comes last.
std::vector<DeviceCandidate> BuildDeviceCandidates(HMODULE module, LANGID language);

}  // namespace zuvo::dlg
