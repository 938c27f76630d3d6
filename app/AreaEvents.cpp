#include "app/AreaEvents.h"

#include <algorithm>
#include <cwchar>
#include <iterator>

namespace zuvo::app {

namespace {

bool IsArea(int area) {
    return area >= 0 && area < kEventAreaCount;
}

}  // namespace

std::wstring FormatAreaStatistics(const std::wstring& inWord, const std::wstring& entriesWord,
                                  const AreaCount& count) {
    const uint32_t seconds = count.dwellMs / 1000;
    wchar_t dwell[32];
    if (seconds >= 3600) {
        std::swprintf(dwell, std::size(dwell), L"%u:%02u:%02u", seconds / 3600, seconds / 60 % 60,
                      seconds % 60);
    } else {
        std::swprintf(dwell, std::size(dwell), L"%u:%02u", seconds / 60, seconds % 60);
    }
    return inWord + L" " + std::to_wstring(count.inside) + L" \u00B7 " + entriesWord + L" " +
           std::to_wstring(count.entries) + L" \u00B7 " + dwell;
}

void AreaEventTracker::Begin() {
    const std::lock_guard<std::mutex> hold(m_mutex);
    m_inside.clear();
    std::fill(std::begin(m_entries), std::end(m_entries), 0);
}

AreaEvent AreaEventTracker::Exit(int64_t id, const Stay& stay, uint32_t now) {
    return AreaEvent{now, stay.area, id, AreaEventKind::kExit, now - stay.since};
}

void AreaEventTracker::Observe(const std::vector<TrackArea>& tracks, uint32_t now,
                               std::vector<AreaEvent>& events) {
    const std::lock_guard<std::mutex> hold(m_mutex);
    m_seen.clear();
    for (const TrackArea& track : tracks) {
        m_seen.emplace_back(track.id, IsArea(track.area) ? track.area : -1);
    }
    // By id; of a repeated id the last one listed counts.
    std::stable_sort(m_seen.begin(), m_seen.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    size_t kept = 0;
    for (size_t i = 0; i < m_seen.size(); ++i) {
        if (i + 1 == m_seen.size() || m_seen[i + 1].first != m_seen[i].first) {
            m_seen[kept++] = m_seen[i];
        }
    }
    m_seen.resize(kept);
    auto find = [&](int64_t id) {
        const auto found = std::lower_bound(
            m_seen.begin(), m_seen.end(), id,
            [](const std::pair<int64_t, int>& entry, int64_t key) { return entry.first < key; });
        return found != m_seen.end() && found->first == id ? found : m_seen.end();
    };
    for (auto it = m_inside.begin(); it != m_inside.end();) {
        const auto found = find(it->first);
        if (found == m_seen.end() || found->second != it->second.area) {
            events.push_back(Exit(it->first, it->second, now));
            it = m_inside.erase(it);
        } else {
            ++it;
        }
    }
    for (const auto& [id, area] : m_seen) {
        if (area >= 0 && m_inside.find(id) == m_inside.end()) {
            m_inside.emplace(id, Stay{area, now});
            ++m_entries[area];
            events.push_back(AreaEvent{now, area, id, AreaEventKind::kEnter, 0});
        }
    }
}

void AreaEventTracker::End(uint32_t now, std::vector<AreaEvent>& events) {
    const std::lock_guard<std::mutex> hold(m_mutex);
    for (const auto& [id, stay] : m_inside) {
        events.push_back(Exit(id, stay, now));
    }
    m_inside.clear();
}

int AreaEventTracker::TotalEntries() const {
    const std::lock_guard<std::mutex> hold(m_mutex);
    int total = 0;
    for (int entries : m_entries) {
        total += entries;
    }
    return total;
}

AreaCount AreaEventTracker::Count(int area, uint32_t now) const {
    const std::lock_guard<std::mutex> hold(m_mutex);
    AreaCount count;
    if (!IsArea(area)) {
        return count;
    }
    count.entries = m_entries[area];
    for (const auto& [id, stay] : m_inside) {
        if (stay.area == area) {
            ++count.inside;
            count.dwellMs = std::max(count.dwellMs, now - stay.since);
        }
    }
    return count;
}

}  // namespace zuvo::app
