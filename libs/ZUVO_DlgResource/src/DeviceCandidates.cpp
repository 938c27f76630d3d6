#include "DeviceCandidates.h"

#include <chrono>
#include <string>

#include "DlgResourceIds.h"
#include "SensorLink.h"
#include "SerialLine.h"
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

// Asks the port for a sensor's identity. A port that does not exist or is held by another
// program fails at once; one that exists costs at most kIdentifyTimeout.
bool ProbeSerialSensor(int port, const SearchStop& stop, FoundDevice& found) {
    std::string error;
    std::unique_ptr<radar::SerialLine> line =
        radar::OpenSerialLine(port, radar::kSensorBaudRate, error);
    if (!line) {
        return false;
    }
    const std::vector<uint8_t> request = radar::link::Encode(radar::link::IdentifyRequest{});
    if (!line->Write(request.data(), request.size(), kSerialWriteTimeoutMs)) {
        return false;
    }
    radar::link::SensorLinkDecoder decoder;
    std::vector<radar::link::Message> messages;
    uint8_t buffer[512];
    const auto deadline = std::chrono::steady_clock::now() + kIdentifyTimeout;
    while (!stop.Requested() && std::chrono::steady_clock::now() < deadline) {
        const int got = line->Read(buffer, sizeof(buffer), kSerialReadSliceMs);
        if (got < 0) {
            return false;
        }
        decoder.Feed(buffer, static_cast<size_t>(got), messages);
        for (const radar::link::Message& message : messages) {
            const auto* identity = std::get_if<radar::link::Identity>(&message);
            if (identity != nullptr && identity->protocolVersion == radar::link::kProtocolVersion) {
                found.sourceType = RADAR_SOURCE_COM;
                found.deviceNumber = port;
                found.deviceText = "COM" + std::to_string(port);
                found.secondText = identity->text;
                return true;
            }
        }
    }
    return false;
}

}  // namespace

std::vector<DeviceCandidate> BuildDeviceCandidates(HMODULE module, LANGID language) {
    std::vector<DeviceCandidate> candidates;
    // The tower light's port holds a Modbus light, not a sensor: it is not to hear our
    // requests. The radar library has loaded the configuration before a detection.
    const int lightPort = gRadarParameter.LightPort;
    for (int port = kFirstProbedPort; port <= kLastProbedPort; ++port) {
        if (port == lightPort) {
            continue;
        }
        candidates.push_back(DeviceCandidate{L"COM" + std::to_wstring(port),
                                             [port](const SearchStop& stop, FoundDevice& found) {
                                                 return ProbeSerialSensor(port, stop, found);
                                             }});
    }
    candidates.push_back(DeviceCandidate{
        LoadStringInLanguage(module, IDS_DEVICE_EMULATOR, language), ProbeEmulator});
    return candidates;
}

}  // namespace zuvo::dlg
