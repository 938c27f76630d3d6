#include "app/ObjectSlots.h"

#include <cmath>

namespace zuvo::app {

namespace {

void Empty(ObjectSlot& slot) {
    slot.id = -1;
    slot.distance = 0.0;
    slot.angle = 0.0;
    slot.velocity = 0.0;
}

// Whether a delivery's stamp is more than limit before now. The delivering thread reads the
// clock before it takes the lock, so its stamp may lie a little after the now of a pass that
// ran in between: such a stamp is fresh, not 49 days old. The signed view of the difference
// keeps the clock's wrap harmless as well.
bool WrittenLongerAgoThan(uint32_t now, uint32_t written, uint32_t limit) {
    const int32_t age = static_cast<int32_t>(now - written);
    return age > static_cast<int32_t>(limit);
}

}  // namespace

void ObjectSlotTable::Reset() {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (ObjectSlot& slot : m_slots) {
        Empty(slot);
        slot.lastRefresh = 0;
        slot.lastWrite = 0;
    }
}

void ObjectSlotTable::Intake(const CPtrCtrl* entries, uint32_t now,
                             std::vector<SectorObject>& viewObjects,
                             std::vector<const RadarObject*>* logEntries) {
    viewObjects.clear();
    if (entries == nullptr) {
        return;
    }
    const int count = entries->GetCount();
    viewObjects.reserve(static_cast<size_t>(count));
    std::lock_guard<std::mutex> lock(m_mutex);
    for (int i = 0; i < count; ++i) {
        const auto* entry = static_cast<const RadarObject*>(entries->GetAt(i));
        if (entry == nullptr) {
            continue;
        }
        if (i < kObjectSlotCount) {
            ObjectSlot& slot = m_slots[i];
            // "Not less than zero" also refuses NaN, which marks an empty entry too.
            if (entry->Distance >= 0.0) {
                slot.id = static_cast<int32_t>(static_cast<uint32_t>(entry->Id));
                slot.distance = entry->Distance;
                slot.angle = entry->Angle;
                slot.velocity = entry->Velocity;
            } else {
                Empty(slot);
            }
            slot.lastWrite = now;
        }
        viewObjects.push_back(SectorObject{entry->Id, entry->GateDistance, entry->Angle - 90.0});
        if (logEntries != nullptr) {
            logEntries->push_back(entry);
        }
    }
}

RefreshResult ObjectSlotTable::RefreshPass(uint32_t now) {
    RefreshResult result;
    std::lock_guard<std::mutex> lock(m_mutex);
    for (ObjectSlot& slot : m_slots) {
        const uint32_t age = now - slot.lastRefresh;  // unsigned: the clock may wrap
        const bool held = slot.id >= 0;
        const bool stale = held && WrittenLongerAgoThan(now, slot.lastWrite, kSlotExpiryMs);
        if (held && !stale) {
            result.present = true;
        }
        if (age > kSlotExpiryMs || stale) {
            Empty(slot);
            result.refreshed = true;
        } else if (held && age > kPanelRefreshPeriodMs) {
            result.refreshed = true;
        }
    }
    if (result.refreshed) {
        for (ObjectSlot& slot : m_slots) {
            slot.lastRefresh = now;
        }
    }
    return result;
}

ObjectSlot ObjectSlotTable::Slot(int index) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return index >= 0 && index < kObjectSlotCount ? m_slots[index] : ObjectSlot{};
}

}  // namespace zuvo::app
