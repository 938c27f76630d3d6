// The library's state behind its flat interface: the configuration, the open device, the run
// with its processing thread, the filters with their listeners and bounds, and the playback
// data source.
//
// Control calls (open, start, stop, pause, resume, close, command mode) come from the caller's
// threads and are serialised; the run's state queries answer at once from atomics, so they may
// also be asked from inside a callback. Control calls made from one of the library's own
// threads (inside a callback) are refused, because Stop and Close wait for those threads.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "FileSourceHub.h"
#include "FrameProcessor.h"
#include "FrameQueue.h"
#include "RadarDevice.h"
#include "RunGate.h"
#include "ZUVO_DataProcess.h"
#include "ZUVO_DataProcessExtras.h"

namespace zuvo::radar {

enum class FilterKind { Mod, Mtt, MttData };

class RadarController {
public:
    RadarController();
    ~RadarController();
    RadarController(const RadarController&) = delete;
    RadarController& operator=(const RadarController&) = delete;

    // Loads the file into target, and its emulator settings (when it has an [Emulator] section)
    // into the library's own; on failure both are left as they were.
    bool LoadConfig(const std::wstring& path, tagRADARPARAMETER& target);
    // The settings every emulator opened from now on uses. They may be asked and changed from
    // any thread, also from inside a callback; a device already open keeps its own.
    tagEMULATORSETTINGS EmulatorSettings() const;
    // false, changing nothing, when a value is out of range (problem tells which).
    bool SetEmulatorSettings(const tagEMULATORSETTINGS& settings, std::string& problem);
    bool IsConfigLoaded() const { return m_configLoaded.load(); }

    // Opens the device the record names (or the recording in DataPath when ReadFromFile is 1).
    // A relative DataPath is taken relative to programFolder. On failure error tells why.
    bool OpenDevice(const tagRADARPARAMETER& record, const std::wstring& programFolder,
                    std::string& error);
    bool Start();
    // Returns once the last delivery has finished; frames still waiting are dropped.
    bool Stop();
    bool Pause();
    bool Resume();
    bool CloseDevice();

    bool IsStarted() const { return m_started.load(); }
    bool IsPaused() const { return m_paused.load(); }
    bool HasIncompleteData() const { return m_queue.HasPending(); }
    void EnableObjectDetection(bool on) { m_processor.SetObjectDetection(on); }

    RADAR_DEVICE_HANDLE DefaultDevice() const;
    bool StartCommandMode(RADAR_DEVICE_HANDLE handle, int param, int timeoutMs);
    bool StopCommandMode(RADAR_DEVICE_HANDLE handle);
    // Waits at most timeoutMs for the acknowledgement; with a checker, the command succeeds
    // only when the checker answers 0 for it.
    bool SendCommand(RADAR_DEVICE_HANDLE handle, uint16_t command, const void* data, int length,
                     RadarCmdAckChecker checker, int64_t checkValue, int timeoutMs);

    void SetFileSource(IFileRadarDataSource* source) { m_hub.SetSource(source); }
    void SetLoopRead(bool loop) { m_loop.store(loop); }

    ListenerRegistry& Listeners(FilterKind kind);
    SharedBounds& ModBounds() { return m_filters.modBounds; }
    SharedBounds& MttBounds() { return m_filters.mttBounds; }
    int64_t DeliveredEntries() const { return m_processor.DeliveredEntries(); }
    // The folder the live run records into (empty when it does not record).
    std::wstring RecordingFolder() const;

private:
    bool Refused(const char* call) const;
    bool SetPaused(bool paused, const char* call);
    std::shared_ptr<RadarDevice> DeviceFor(RADAR_DEVICE_HANDLE handle) const;
    void StopLocked();
    // reportS: seconds between two reports of the delivered entries, 0 for none.
    void ProcessFrames(int reportS);

    mutable std::mutex m_controlLock;
    std::atomic<bool> m_configLoaded;
    // Its own lock, never held while waiting for anything: loading a configuration from inside
    // a callback must not wait for a Stop that waits for that callback.
    mutable std::mutex m_emulatorLock;
    tagEMULATORSETTINGS m_emulator;
    std::shared_ptr<RadarDevice> m_device;
    tagRADARPARAMETER m_runRecord;
    std::atomic<bool> m_started;
    std::atomic<bool> m_paused;
    std::atomic<bool> m_loop;

    FilterSet m_filters;
    FrameProcessor m_processor;
    FrameQueue m_queue;
    RunGate m_gate;
    FileSourceHub m_hub;
    std::thread m_processThread;
};

}  // namespace zuvo::radar
