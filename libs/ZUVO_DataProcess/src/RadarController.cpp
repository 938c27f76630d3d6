#include "RadarController.h"

#include <algorithm>
#include <chrono>

#include "Diagnostics.h"
#include "EmulatorDevice.h"
#include "FileSystem.h"
#include "PlaybackDevice.h"
#include "RadarConfigFile.h"
#include "SerialSensorDevice.h"

namespace zuvo::radar {

namespace {

// Live frames wait at most this many frames for processing before the oldest gives way;
// recorded frames make the reader wait instead.
constexpr size_t kQueueCapacity = 64;
constexpr int kMaxCommandTimeoutMs = 60000;

bool IsAbsolutePath(const std::wstring& path) {
    return !path.empty() &&
           (path[0] == L'/' || path[0] == L'\\' || (path.size() >= 2 && path[1] == L':'));
}

std::wstring ResolvePath(const wchar_t* path, const std::wstring& programFolder) {
    const std::wstring text(path);
    if (text.empty() || IsAbsolutePath(text) || programFolder.empty()) {
        return text;
    }
    return fs::JoinPath(programFolder, text);
}

std::string UnsupportedSource(int sourceType) {
    switch (sourceType) {
        case RADAR_SOURCE_NONE:
            return "No radar device is selected: detect a device first.";
        case RADAR_SOURCE_LIBUSB:
            return "LibUSB devices are not supported by this library; use the radar emulator.";
        case RADAR_SOURCE_PELVO2:
        case RADAR_SOURCE_PELVO4:
            return "Pelvo boards are not supported by this library; use the radar emulator.";
        case RADAR_SOURCE_USB_ADAPTER:
            return "USB adapters are not supported by this library; use the radar emulator.";
        default:
            return "Unknown radar source type " + std::to_string(sourceType) + ".";
    }
}

// The sensor on COM<DeviceNumber>, once it has said who it is.
// The folder a live run records into, created if need be.
bool PrepareRecordFolder(const std::wstring& dataPath, std::string& error) {
    if (dataPath.empty()) {
        error = "Raw data is to be saved, but no folder for it is set.";
        return false;
    }
    if (RecursiveCreateDirectoryW(dataPath.c_str()) == 0) {
        error = "The raw-data folder " + fs::ToMessageText(dataPath) + " cannot be created.";
        return false;
    }
    return true;
}

std::shared_ptr<RadarDevice> OpenSerialSensor(const tagRADARPARAMETER& run,
                                              const std::wstring& recordFolder,
                                              std::string& error) {
    const std::string port = "COM" + std::to_string(run.DeviceNumber);
    std::string problem;
    std::unique_ptr<SerialLine> line = OpenSerialLine(run.DeviceNumber, kSensorBaudRate, problem);
    if (!line) {
        error = "The radar sensor cannot be reached: " + problem;
        return nullptr;
    }
    auto device = std::make_shared<SerialSensorDevice>(std::move(line), run, recordFolder);
    const std::optional<std::string> identity = device->Identify(problem);
    if (!identity) {
        error = "The radar sensor on " + port + " does not answer: " + problem + ".";
        return nullptr;
    }
    Diagnostic(1, "serial sensor on %s: %s", port.c_str(), identity->c_str());
    return device;
}

}  // namespace

RadarController::RadarController()
    : m_configLoaded(false),
      m_emulator{},
      m_runRecord{},
      m_started(false),
      m_paused(false),
      m_loop(false),
      m_processor(m_filters),
      m_queue(kQueueCapacity) {
    SetDefaultEmulatorSettings(m_emulator);
}

RadarController::~RadarController() {
    std::lock_guard<std::mutex> hold(m_controlLock);
    StopLocked();
    m_device.reset();
}

bool RadarController::Refused(const char* call) const {
    if (!OnLibraryThread()) {
        return false;
    }
    Diagnostic(2, "%s was called from inside a callback of the library and is refused", call);
    return true;
}

bool RadarController::LoadConfig(const std::wstring& path, tagRADARPARAMETER& target) {
    std::vector<std::string> problems;
    Configuration loaded;
    const bool ok = LoadConfiguration(path, loaded, problems);
    for (const std::string& problem : problems) {
        Diagnostic(2, "%s: %s", fs::ToMessageText(path).c_str(), problem.c_str());
    }
    if (ok) {
        target = loaded.record;
        if (loaded.emulator) {
            std::lock_guard<std::mutex> hold(m_emulatorLock);
            m_emulator = *loaded.emulator;
        }
        m_configLoaded.store(true);
    }
    return ok;
}

tagEMULATORSETTINGS RadarController::EmulatorSettings() const {
    std::lock_guard<std::mutex> hold(m_emulatorLock);
    return m_emulator;
}

bool RadarController::SetEmulatorSettings(const tagEMULATORSETTINGS& settings,
                                          std::string& problem) {
    if (!ValidateEmulatorSettings(settings, problem)) {
        return false;
    }
    std::lock_guard<std::mutex> hold(m_emulatorLock);
    m_emulator = settings;
    return true;
}

bool RadarController::OpenDevice(const tagRADARPARAMETER& record, const std::wstring& programFolder,
                                 std::string& error) {
    if (Refused("OpenDevice")) {
        error = "The device cannot be opened from inside a callback of the radar library.";
        return false;
    }
    std::lock_guard<std::mutex> hold(m_controlLock);
    if (m_started.load()) {
        error = "The device is running; stop it before opening it again.";
        return false;
    }
    m_device.reset();
    std::string problem;
    if (!ValidateParameters(record, problem)) {
        error = "The radar parameters are not usable: " + problem + ".";
        return false;
    }
    tagRADARPARAMETER run = record;
    const std::wstring dataPath = ResolvePath(record.DataPath, programFolder);
    if (record.ReadFromFile != 0) {
        RecordingInfo info;
        if (!InspectRecording(dataPath, info, error)) {
            return false;
        }
        // The recording's own range grid describes its data, whatever the caller's record says.
        run.GateCount = info.record.GateCount;
        run.RangeResolution = info.record.RangeResolution;
        run.FramePeriodMs = info.record.FramePeriodMs;
        m_device = std::make_shared<PlaybackDevice>(dataPath, info.files, run.FramePeriodMs, m_hub,
                                                    m_loop);
    } else if (record.SourceType == RADAR_SOURCE_EMULATOR ||
               record.SourceType == RADAR_SOURCE_COM) {
        std::wstring recordFolder;
        if (record.SaveRawData != 0) {
            if (!PrepareRecordFolder(dataPath, error)) {
                return false;
            }
            recordFolder = dataPath;
        }
        if (record.SourceType == RADAR_SOURCE_EMULATOR) {
            m_device = std::make_shared<EmulatorDevice>(run, EmulatorSettings(), recordFolder);
        } else {
            m_device = OpenSerialSensor(run, recordFolder, error);
        }
        if (!m_device) {
            return false;
        }
    } else {
        error = UnsupportedSource(record.SourceType);
        return false;
    }
    m_runRecord = run;
    return true;
}

bool RadarController::Start() {
    if (Refused("Start")) {
        return false;
    }
    std::lock_guard<std::mutex> hold(m_controlLock);
    if (!m_device) {
        Diagnostic(2, "Start without an open device");
        return false;
    }
    if (m_started.load()) {
        return true;
    }
    // A run the device ended by itself (its line went away) is cleared up first.
    if (m_processThread.joinable()) {
        StopLocked();
    }
    m_processor.Reset(ProcessingOf(m_runRecord));
    m_queue.Open();
    m_gate.Rearm();
    // Started before the first frame can reach a listener: a listener that asks during its first
    // delivery must not be told that nothing runs.
    m_started.store(true);
    const int reportS = EmulatorSettings().EmulatorDeliveryReportS;
    m_processThread = std::thread([this, reportS] { ProcessFrames(reportS); });
    m_device->Begin(m_queue, m_gate);
    return true;
}

void RadarController::ProcessFrames(int reportS) {
    MarkLibraryThread();
    const std::chrono::seconds reportPeriod(reportS);
    std::chrono::steady_clock::time_point nextReport =
        std::chrono::steady_clock::now() + reportPeriod;
    RadarFrame frame;
    while (m_queue.Pop(frame)) {
        try {
            m_processor.Process(frame);
        } catch (const std::exception& e) {
            Diagnostic(2, "frame %u was not processed: %s", frame.index, e.what());
        } catch (...) {
            Diagnostic(2, "frame %u was not processed", frame.index);
        }
        m_queue.FinishedFrame();
        if (reportS > 0 && std::chrono::steady_clock::now() >= nextReport) {
            nextReport += reportPeriod;
            Diagnostic(1, "Run: %lld entries delivered to listeners so far",
                       static_cast<long long>(DeliveredEntries()));
        }
    }
    // The queue ended without a stop: the device has finished the run by itself (a sensor's
    // line went away). The run is over; its threads are cleared up by the next control call.
    if (!m_gate.StopRequested()) {
        m_started.store(false);
        Diagnostic(2, "the device ended the run: %lld entries delivered to listeners so far",
                   static_cast<long long>(DeliveredEntries()));
    }
}

void RadarController::StopLocked() {
    // Also after the device ended the run by itself: its threads are still to be joined.
    if (m_processThread.joinable()) {
        m_gate.RequestStop();
        m_queue.Close();
        m_device->End();
        if (m_processThread.joinable()) {
            m_processThread.join();
        }
        m_started.store(false);
        // Lets a program's log be checked against what reached its listeners.
        Diagnostic(2, "Stop: %lld entries delivered to listeners so far",
                   static_cast<long long>(DeliveredEntries()));
    }
    m_paused.store(false);
    m_gate.SetPaused(false);
    m_queue.SetHeld(false);
}

bool RadarController::Stop() {
    if (Refused("Stop")) {
        return false;
    }
    std::lock_guard<std::mutex> hold(m_controlLock);
    StopLocked();
    return true;
}

bool RadarController::Pause() {
    return SetPaused(true, "Pause");
}

bool RadarController::Resume() {
    return SetPaused(false, "Resume");
}

bool RadarController::SetPaused(bool paused, const char* call) {
    if (Refused(call)) {
        return false;
    }
    std::lock_guard<std::mutex> hold(m_controlLock);
    if (!m_device) {
        return false;
    }
    m_paused.store(paused);
    m_gate.SetPaused(paused);
    m_queue.SetHeld(paused);
    return true;
}

bool RadarController::CloseDevice() {
    if (Refused("CloseDevice")) {
        return false;
    }
    std::lock_guard<std::mutex> hold(m_controlLock);
    StopLocked();
    m_device.reset();
    return true;
}

RADAR_DEVICE_HANDLE RadarController::DefaultDevice() const {
    std::lock_guard<std::mutex> hold(m_controlLock);
    return m_device.get();
}

std::shared_ptr<RadarDevice> RadarController::DeviceFor(RADAR_DEVICE_HANDLE handle) const {
    std::lock_guard<std::mutex> hold(m_controlLock);
    if (handle == nullptr || handle != m_device.get()) {
        return nullptr;
    }
    return m_device;
}

bool RadarController::StartCommandMode(RADAR_DEVICE_HANDLE handle, int param, int timeoutMs) {
    if (Refused("StartCmdMode")) {
        return false;
    }
    const std::shared_ptr<RadarDevice> device = DeviceFor(handle);
    if (!device) {
        Diagnostic(2, "StartCmdMode: the handle is not the open device");
        return false;
    }
    return device->EnterCommandMode(
        param, static_cast<uint32_t>(std::clamp(timeoutMs, 0, kMaxCommandTimeoutMs)));
}

bool RadarController::StopCommandMode(RADAR_DEVICE_HANDLE handle) {
    if (Refused("StopCmdMode")) {
        return false;
    }
    const std::shared_ptr<RadarDevice> device = DeviceFor(handle);
    return device && device->LeaveCommandMode();
}

bool RadarController::SendCommand(RADAR_DEVICE_HANDLE handle, uint16_t command, const void* data,
                                  int length, RadarCmdAckChecker checker, int64_t checkValue,
                                  int timeoutMs) {
    if (Refused("Protocol_SendCommand")) {
        return false;
    }
    if (length < 0 || (length > 0 && data == nullptr)) {
        Diagnostic(2, "command 0x%04X: %d data bytes at a null pointer refused", command, length);
        return false;
    }
    const std::shared_ptr<RadarDevice> device = DeviceFor(handle);
    if (!device) {
        Diagnostic(2, "command 0x%04X: the handle is not the open device", command);
        return false;
    }
    // The tracking-mode commands carry no data; the sensors take none.
    const int waitMs = std::clamp(timeoutMs, 0, kMaxCommandTimeoutMs);
    const std::vector<uint8_t> ack =
        device->SendCommandWaiting(command, static_cast<uint32_t>(waitMs));
    if (ack.empty()) {
        Diagnostic(
            2, "command 0x%04X: no acknowledgement within %d ms (is the sensor in command mode?)",
            command, waitMs);
        return false;
    }
    if (checker != nullptr) {
        const uint16_t code =
            checker(RADAR_PROTOCOL_V2, ack.data(), static_cast<int>(ack.size()), checkValue);
        if (code != 0) {
            Diagnostic(2, "command 0x%04X: the acknowledgement was refused with code %u", command,
                       code);
            return false;
        }
    }
    Diagnostic(2, "command 0x%04X acknowledged", command);
    return true;
}

ListenerRegistry& RadarController::Listeners(FilterKind kind) {
    switch (kind) {
        case FilterKind::Mod:
            return m_filters.modListeners;
        case FilterKind::Mtt:
            return m_filters.mttListeners;
        case FilterKind::MttData:
            break;
    }
    return m_filters.dataListeners;
}

std::wstring RadarController::RecordingFolder() const {
    std::lock_guard<std::mutex> hold(m_controlLock);
    return m_device ? m_device->RecordingFolder() : std::wstring();
}

}  // namespace zuvo::radar
