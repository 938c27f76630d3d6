// The radar sources the detection tries, in the order it tries them.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <chrono>
#include <vector>

#include "DeviceSearch.h"

namespace zuvo::dlg {

// Device text the emulator is reported with.
inline constexpr char kEmulatorDeviceText[] = "Radar Emulator";

// The COM ports probed for a serial sensor. Windows gives the built-in ports COM1 and COM2 and
// numbers USB-serial adapters from COM3 upwards, rarely beyond COM16 on a workstation. A port
// that does not exist costs nothing (opening it fails at once) and one without a sensor at most
// kIdentifyTimeout, so the whole range stays well under a second unless many ports exist.
inline constexpr int kFirstProbedPort = 1;
inline constexpr int kLastProbedPort = 16;
// A sensor answers an identity request within a few milliseconds.
inline constexpr std::chrono::milliseconds kIdentifyTimeout{150};
inline constexpr uint32_t kSerialWriteTimeoutMs = 100;
inline constexpr uint32_t kSerialReadSliceMs = 30;

// Every source worth probing, labelled in the language. Sensors on serial ports belong before
// the emulator, so that attached hardware wins; the radar emulator of the processing library
// is always there and comes last.
std::vector<DeviceCandidate> BuildDeviceCandidates(HMODULE module, LANGID language);

}  // namespace zuvo::dlg
