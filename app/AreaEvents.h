// Who is in which monitoring area, and since when: the enter and exit events of a run and the
// counts behind the areas' statistics.
//
// The sector view decides which area a track is in (a track stays with the area it entered
// first until it leaves it, the rule that lights the areas); after every update the tracks'
// areas are observed here. A track that leaves its area, or whose area changes, exits it; a
// track that ends (its object vanished, or left the gate window, and its points faded) exits
// the area it was in; the end of the run exits everyone still inside. Times are MS_GetTime
// values: every difference is taken unsigned, so the counter may wrap.
//
// The library's thread observes, the user-interface thread reads the counts: one lock guards
// both.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "sectorview/TrackList.h"

namespace zuvo::app {

// The monitoring-area slots the sector view has.
constexpr int kEventAreaCount = 32;

enum class AreaEventKind { kEnter, kExit };

struct AreaEvent {
    uint32_t at = 0;       // MS_GetTime of the update that saw it
    int area = 0;          // monitoring-area slot
    int64_t objectId = 0;  // the track's object id
    AreaEventKind kind = AreaEventKind::kEnter;
    uint32_t dwellMs = 0;  // for an exit: how long the object was inside; 0 for an enter
    bool operator==(const AreaEvent&) const = default;
};

// One track as an update left it: its area slot, or -1.
using TrackArea = zuvo::sector::TrackArea;

// One area's figures at a moment.
struct AreaCount {
    int inside = 0;        // objects inside now
    int entries = 0;       // enters since the run began
    uint32_t dwellMs = 0;  // the longest stay of the objects inside now; 0 when empty
    bool operator==(const AreaCount&) const = default;
};

// An area's label: "<in> 2 · <entries> 7 · 1:05" (the longest current stay in minutes and
// seconds, hours too from an hour on).
std::wstring FormatAreaStatistics(const std::wstring& inWord, const std::wstring& entriesWord,
                                  const AreaCount& count);

class AreaEventTracker {
public:
    // A run begins: nobody inside, no entries.
    void Begin();
    // Every track after one update at now (tracks not listed have ended). Appends the events,
    // exits before enters, each group in the order of the track ids.
    void Observe(const std::vector<TrackArea>& tracks, uint32_t now,
                 std::vector<AreaEvent>& events);
    // The run ends at now: an exit for everyone still inside, in the order of the track ids.
    void End(uint32_t now, std::vector<AreaEvent>& events);
    // The figures of area slot (0 .. kEventAreaCount - 1; others: none) at now.
    AreaCount Count(int area, uint32_t now) const;
    // The enters of every area since the run began.
    int TotalEntries() const;

private:
    struct Stay {
        int area;
        uint32_t since;
    };
    static AreaEvent Exit(int64_t id, const Stay& stay, uint32_t now);

    mutable std::mutex m_mutex;
    std::map<int64_t, Stay> m_inside;  // by track id: the tracks that are in an area
    // Scratch of Observe, kept for the next delivery: (track id, area or -1) by id.
    std::vector<std::pair<int64_t, int>> m_seen;
    int m_entries[kEventAreaCount] = {};
};

}  // namespace zuvo::app
