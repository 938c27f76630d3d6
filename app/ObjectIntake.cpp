#include "app/ObjectIntake.h"

#include <exception>

namespace zuvo::app {

void ObjectIntake::Deliver(const CPtrCtrl* objects, uint32_t now) noexcept {
    try {
        // One small record per entry and no window work here: the panels are rewritten by the
        // refresh pass on the user-interface thread.
        std::vector<SectorObject> viewObjects;
        std::vector<const RadarObject*> logEntries;
        m_slots.Intake(objects, now, viewObjects, &logEntries);
        ++m_deliveries;
        m_lastObjects = static_cast<int>(viewObjects.size());
        if (!logEntries.empty() && m_log.IsOpen()) {
            m_log.Write(logEntries, m_host.LocalTime());
        }
        CPtrListCtrl batch;
        for (SectorObject& object : viewObjects) {
            batch.AddData(&object, -1);
        }
        {
            const std::lock_guard<std::mutex> hold(m_eventOrder);
            m_view.UpdateObjects(&batch);
            batch.RemoveAll();
            m_view.TrackAreas(m_trackAreas);
            m_events.clear();
            m_areaEvents.Observe(m_trackAreas, now, m_events);
            m_eventLog.Write(m_events);
        }
    } catch (const std::exception&) {
        // Dropped; the slots expire what it would have refreshed.
    }
    m_host.NotifyObjectsArrived();
}

}  // namespace zuvo::app
