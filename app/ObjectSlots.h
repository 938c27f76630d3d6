// The main window's ten object slots: what the information panels show. Deliveries of the
// radar library fill them on the library's thread; the refresh pass on the user-interface
// thread expires them. One lock guards the table during both.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "ZUVO_DataProcess.h"
#include "sectorview/SectorObject.h"

namespace zuvo::app {

constexpr int kObjectSlotCount = 10;
constexpr uint32_t kSlotExpiryMs = 2000;  // a slot not refreshed or written for longer empties
constexpr uint32_t kPanelRefreshPeriodMs = 100;  // panels are rewritten at most this often

struct ObjectSlot {
    int32_t id = -1;           // low 32 bits of the object id; -1: empty
    double distance = 0.0;     // metres
    double angle = 0.0;        // degrees
    double velocity = 0.0;     // metres per second
    uint32_t lastRefresh = 0;  // MS_GetTime of the last panel refresh
    uint32_t lastWrite = 0;    // MS_GetTime of the last delivery that wrote this slot
};

// What one refresh pass found.
struct RefreshResult {
    bool present = false;    // some slot held an object at the start of the pass
    bool refreshed = false;  // the panels must be rewritten
};

class ObjectSlotTable {
public:
    ObjectSlotTable() { Reset(); }

    // Every slot empty with last refresh 0, so the first pass after it empties all and
    // rewrites the panels.
    void Reset();

    // One delivery (library thread) at time now: entry i fills slot i (the first ten
    // entries), a null entry is skipped and leaves its slot; an entry whose distance is not
    // >= 0 empties its slot. Every slot an entry fills or empties is stamped with now. Every
    // non-null entry, the ones beyond the tenth included, is appended to viewObjects (id, gate
    // distance, angle - 90) and to logEntries when that is given.
    void Intake(const CPtrCtrl* entries, uint32_t now, std::vector<SectorObject>& viewObjects,
                std::vector<const RadarObject*>* logEntries);

    // The refresh pass (user-interface thread) at time now. A held slot counts as present
    // only while a delivery wrote it within kSlotExpiryMs, and presence is counted before the
    // expiry. A slot whose panel refresh is older than kSlotExpiryMs empties, and so does a
    // held slot that no delivery wrote for longer than that (libraries that deliver only the
    // objects they see never empty the slots of the ones that went). A held slot whose
    // refresh is older than kPanelRefreshPeriodMs asks for a refresh; a refresh stamps all
    // ten slots with now.
    RefreshResult RefreshPass(uint32_t now);

    ObjectSlot Slot(int index) const;

private:
    mutable std::mutex m_mutex;
    ObjectSlot m_slots[kObjectSlotCount];
};

}  // namespace zuvo::app
