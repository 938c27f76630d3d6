// Helpers of the radar library's tests: a listener that keeps what it receives, the
// emulator's settings changed for one test, and paths placed into the parameter record. Temporary
// folders and whole files come from tests/support.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ZUVO_DataProcess.h"
#include "ZUVO_DataProcessExtras.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WholeFile.h"

namespace zuvo::test {

struct Delivery {
    int64_t value;
    std::vector<RadarObject> objects;
    std::thread::id thread;
};

// Copies every delivery (the records are valid only during the call).
class CollectingListener : public IRadarObjectDetectListener {
public:
    void OnRadarObjectDetect(int64_t value, CPtrCtrl* objects) override {
        Delivery delivery{value, {}, std::this_thread::get_id()};
        for (int i = 0; i < objects->GetCount(); ++i) {
            if (const auto* object = static_cast<const RadarObject*>(objects->GetAt(i))) {
                delivery.objects.push_back(*object);
            }
        }
        std::lock_guard<std::mutex> hold(m_lock);
        m_deliveries.push_back(std::move(delivery));
        m_changed.notify_all();
    }

    std::vector<Delivery> Deliveries() const {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_deliveries;
    }
    size_t Count() const {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_deliveries.size();
    }
    // Waits until at least count deliveries arrived; false on time-out.
    bool WaitFor(size_t count, int timeoutMs) {
        std::unique_lock<std::mutex> hold(m_lock);
        return m_changed.wait_for(hold, std::chrono::milliseconds(timeoutMs),
                                  [&] { return m_deliveries.size() >= count; });
    }
    void Clear() {
        std::lock_guard<std::mutex> hold(m_lock);
        m_deliveries.clear();
    }

private:
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<Delivery> m_deliveries;
};

// Changes the library's emulator settings for one test and puts the previous ones back.
class ScopedEmulatorSettings {
public:
    ScopedEmulatorSettings() { ZUVO_Emulator_GetSettings(&m_previous); }
    ~ScopedEmulatorSettings() { ZUVO_Emulator_SetSettings(&m_previous); }
    ScopedEmulatorSettings(const ScopedEmulatorSettings&) = delete;
    ScopedEmulatorSettings& operator=(const ScopedEmulatorSettings&) = delete;

    // The settings as they are now, to change and hand to Set.
    tagEMULATORSETTINGS Current() const {
        tagEMULATORSETTINGS settings{};
        ZUVO_Emulator_GetSettings(&settings);
        return settings;
    }
    bool Set(const tagEMULATORSETTINGS& settings) const {
        return ZUVO_Emulator_SetSettings(&settings) != 0;
    }

private:
    tagEMULATORSETTINGS m_previous{};
};

inline void SetPath(wchar_t (&field)[ZUVO_MAX_PATH], const std::wstring& path) {
    const size_t n = path.size() < ZUVO_MAX_PATH - 1 ? path.size() : ZUVO_MAX_PATH - 1;
    path.copy(field, n);
    field[n] = L'\0';
}

}  // namespace zuvo::test
