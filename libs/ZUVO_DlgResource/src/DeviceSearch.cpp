#include "DeviceSearch.h"

#include <algorithm>
#include <exception>

#include "ZUVO_CommonCore.h"

namespace zuvo::dlg {

namespace {

// How often the progress moves while the search waits out its minimum duration.
constexpr std::chrono::milliseconds kProgressTick{40};

}  // namespace

bool SearchStop::Requested() const {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_requested;
}

bool SearchStop::WaitFor(std::chrono::milliseconds duration) const {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, duration, [this] { return m_requested; });
}

void SearchStop::Request() {
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_requested = true;
    }
    m_changed.notify_all();
}

int SearchProgress(int done, int count, std::chrono::milliseconds elapsed,
                   std::chrono::milliseconds minimum) {
    int64_t probeShare =
        count <= 0 ? 1000 : 1000 * static_cast<int64_t>(std::clamp(done, 0, count)) / count;
    int64_t timeShare = minimum.count() <= 0
                            ? 1000
                            : 1000 * std::max<int64_t>(elapsed.count(), 0) / minimum.count();
    return static_cast<int>(std::min<int64_t>({probeShare, timeShare, 1000}));
}

DeviceSearch::DeviceSearch(std::vector<DeviceCandidate> candidates,
                           std::chrono::milliseconds minimumDuration)
    : m_candidates(std::move(candidates)), m_minimumDuration(minimumDuration) {}

DeviceSearch::~DeviceSearch() {
    Cancel();
    Wait();
}

bool DeviceSearch::Start(IDeviceSearchListener& listener) {
    if (m_worker.joinable() || m_finished) {
        return false;
    }
    m_started = std::chrono::steady_clock::now();
    m_worker = std::thread([this, &listener] { Run(listener); });
    return true;
}

void DeviceSearch::Cancel() {
    m_stop.Request();
}

void DeviceSearch::Wait() {
    if (m_worker.joinable()) {
        m_worker.join();
    }
}

std::optional<FoundDevice> DeviceSearch::Result() const {
    std::lock_guard<std::mutex> guard(m_resultMutex);
    return m_finished ? m_result : std::nullopt;
}

bool DeviceSearch::WasCancelled() const {
    std::lock_guard<std::mutex> guard(m_resultMutex);
    return m_cancelled;
}

void DeviceSearch::Run(IDeviceSearchListener& listener) {
    // Nothing may leave a thread's entry: a listener's exception ends the search as cancelled.
    try {
        Probe(listener);
        WaitOutMinimum(listener);
    } catch (const std::exception& e) {
        DbgOutputA(2, "DeviceSearch: search failed: %s\r\n", e.what());
        m_stop.Request();
    } catch (...) {
        DbgOutputA(2, "DeviceSearch: search failed\r\n");
        m_stop.Request();
    }
    bool cancelled = m_stop.Requested();
    {
        std::lock_guard<std::mutex> guard(m_resultMutex);
        m_cancelled = cancelled;
        if (cancelled) {
            m_result.reset();
        }
        m_finished = true;
    }
    try {
        if (!cancelled) {
            m_done = static_cast<int>(m_candidates.size());
            ReportProgress(listener);
        }
        listener.OnFinished();
    } catch (...) {
        DbgOutputA(2, "DeviceSearch: listener failed at the end of the search\r\n");
    }
}

// How long the probing took tells whether ports without a sensor cost more than they should.
void DeviceSearch::ReportProbing(int probed) const {
    const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - m_started);
    DbgOutputA(1, "DeviceSearch: %d of %d candidates probed in %lld ms\r\n", probed,
               static_cast<int>(m_candidates.size()), static_cast<long long>(spent.count()));
}

void DeviceSearch::Probe(IDeviceSearchListener& listener) {
    const int count = static_cast<int>(m_candidates.size());
    for (int i = 0; i < count && !m_stop.Requested(); ++i) {
        const DeviceCandidate& candidate = m_candidates[static_cast<size_t>(i)];
        listener.OnProbeStarted(i, count, candidate.label);
        FoundDevice device;
        bool found = false;
        try {
            found = candidate.probe && candidate.probe(m_stop, device);
        } catch (const std::exception& e) {
            DbgOutputA(2, "DeviceSearch: probe %d failed: %s\r\n", i, e.what());
        } catch (...) {
            DbgOutputA(2, "DeviceSearch: probe %d failed\r\n", i);
        }
        m_done = i + 1;
        if (found && !m_stop.Requested()) {
            {
                std::lock_guard<std::mutex> guard(m_resultMutex);
                m_result = device;
            }
            m_done = count;
            ReportProbing(i + 1);
            listener.OnDeviceFound(device, candidate.label);
            ReportProgress(listener);
            return;
        }
        ReportProgress(listener);
    }
    ReportProbing(m_done);
}

void DeviceSearch::WaitOutMinimum(IDeviceSearchListener& listener) {
    for (;;) {
        auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - m_started);
        ReportProgress(listener);
        if (elapsed >= m_minimumDuration ||
            m_stop.WaitFor(std::min(kProgressTick, m_minimumDuration - elapsed))) {
            return;
        }
    }
}

void DeviceSearch::ReportProgress(IDeviceSearchListener& listener) {
    auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - m_started);
    int progress =
        SearchProgress(m_done, static_cast<int>(m_candidates.size()), elapsed, m_minimumDuration);
    if (progress > m_reportedProgress) {
        m_reportedProgress = progress;
        listener.OnProgress(progress);
    }
}

}  // namespace zuvo::dlg
