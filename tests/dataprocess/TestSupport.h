// Helpers of the radar library's tests: a listener that keeps what it receives, temporary
// folders, and detections placed by hand.
#pragma once

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ZUVO_DataProcess.h"

#if !defined(_WIN32)
#include "TextCodec.h"
#endif

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

// A fresh folder below the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    // name is UTF-8 (a u8"" literal), so folders with any characters can be made everywhere.
    explicit TempFolder(std::u8string_view name) {
        static std::atomic<int> counter{0};
        const std::string unique =
            "_" + std::to_string(counter++) + "_" +
            std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
        m_path = std::filesystem::temp_directory_path() /
                 std::filesystem::path(u8"zuvo_dp_" + std::u8string(name) +
                                       std::u8string(unique.begin(), unique.end()));
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::wstring Wide() const { return WidePath(m_path); }
    std::wstring Wide(const std::wstring& name) const {
        return WidePath(m_path) + kSeparator + name;
    }

    // The path as the library takes it. Outside Windows the file system's names are UTF-8,
    // whatever the C locale says.
    static std::wstring WidePath(const std::filesystem::path& path) {
#if defined(_WIN32)
        return path.wstring();
#else
        return radar::Utf8ToWide(path.string());
#endif
    }

private:
    static constexpr wchar_t kSeparator = ZUVO_PATH_SEPARATOR;
    std::filesystem::path m_path;
};

inline void SetPath(wchar_t (&field)[ZUVO_MAX_PATH], const std::wstring& path) {
    const size_t n = path.size() < ZUVO_MAX_PATH - 1 ? path.size() : ZUVO_MAX_PATH - 1;
    path.copy(field, n);
    field[n] = L'\0';
}

}  // namespace zuvo::test
