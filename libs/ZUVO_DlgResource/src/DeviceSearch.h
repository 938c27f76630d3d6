// The search for a radar source: a list of candidates, each with a probe, tried in order on a
// worker thread until one answers. Real sensors come before the always-present emulator in the
// list, so hardware wins when it is attached.
//
// The search lasts at least a minimum time, so the operator sees it run even when the first
// probe answers at once; a cancel ends it at the next probe or tick.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace zuvo::dlg {

// A source that answered its probe.
struct FoundDevice {
    int sourceType = 0;  // eRADAR_SOURCE_TYPE
    int deviceNumber = 0;
    std::string deviceText;
    std::string secondText;
};

// Tells a probe whether the search was cancelled, and lets it wait without outliving a cancel.
class SearchStop {
public:
    bool Requested() const;
    // Waits up to duration; answers true as soon as a stop is requested.
    bool WaitFor(std::chrono::milliseconds duration) const;
    void Request();

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    bool m_requested = false;
};

// Answers true and fills found when the candidate is there. Runs on the search's worker; must
// return soon after stop is requested. An exception counts as "not there".
using DeviceProbe = std::function<bool(const SearchStop& stop, FoundDevice& found)>;

struct DeviceCandidate {
    std::wstring label;  // shown while the candidate is probed
    DeviceProbe probe;
};

// Receives the course of a search, on the search's worker thread.
class IDeviceSearchListener {
public:
    virtual ~IDeviceSearchListener() {}
    virtual void OnProbeStarted(int index, int count, const std::wstring& label) = 0;
    virtual void OnDeviceFound(const FoundDevice& device, const std::wstring& label) = 0;
    // Overall progress, 0 .. 1000, never decreasing.
    virtual void OnProgress(int perMille) = 0;
    // The last call of every search, also of a cancelled one.
    virtual void OnFinished() = 0;
};

// Progress of a search that has probed done of count candidates after elapsed of a minimum
// duration: the smaller of the two shares, in per mille, so the bar neither runs ahead of the
// probes nor finishes before the minimum time. A search that stopped probing early (a device
// was found) passes done == count.
int SearchProgress(int done, int count, std::chrono::milliseconds elapsed,
                   std::chrono::milliseconds minimum);

class DeviceSearch {
public:
    DeviceSearch(std::vector<DeviceCandidate> candidates,
                 std::chrono::milliseconds minimumDuration);
    DeviceSearch(const DeviceSearch&) = delete;
    DeviceSearch& operator=(const DeviceSearch&) = delete;
    // Cancels a running search and waits for it.
    ~DeviceSearch();

    // Starts the worker; the listener must outlive the search. Answers false when a search was
    // started before.
    bool Start(IDeviceSearchListener& listener);
    // Asks the worker to stop; returns at once.
    void Cancel();
    // Waits until the worker has finished.
    void Wait();

    // The device found, none while running, after a cancel or when no candidate answered.
    std::optional<FoundDevice> Result() const;
    bool WasCancelled() const;

private:
    void Run(IDeviceSearchListener& listener);
    void Probe(IDeviceSearchListener& listener);
    void WaitOutMinimum(IDeviceSearchListener& listener);
    void ReportProbing(int probed) const;
    void ReportProgress(IDeviceSearchListener& listener);

    const std::vector<DeviceCandidate> m_candidates;
    const std::chrono::milliseconds m_minimumDuration;
    SearchStop m_stop;
    std::chrono::steady_clock::time_point m_started;
    int m_done = 0;               // worker only
    int m_reportedProgress = -1;  // worker only

    mutable std::mutex m_resultMutex;
    std::optional<FoundDevice> m_result;
    bool m_cancelled = false;
    bool m_finished = false;

    std::thread m_worker;
};

}  // namespace zuvo::dlg
