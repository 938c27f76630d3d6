// The main window's listener for the radar library's deliveries, on the library's thread.
//
// Each delivery fills the object slots, appends its lines to the result log, hands the view
// its batch, writes the area events the view's tracks show and tells the user-interface thread
// that objects arrived; it touches no window.
// The collaborators are reached through narrow interfaces so that the listener carries no
// window code and is tested without one.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "ZUVO_DataProcess.h"
#include "app/AreaEventLog.h"
#include "app/AreaEvents.h"
#include "app/ObjectSlots.h"
#include "app/ResultLog.h"

namespace zuvo::app {

// Where the batch for the sector view goes (a CPtrListCtrl of SectorObject records, valid for
// the call only). Called on the library's thread.
class IObjectView {
public:
    virtual ~IObjectView() = default;
    virtual void UpdateObjects(const CPtrListCtrl* objects) = 0;
    // Every track's monitoring area after the last update.
    virtual void TrackAreas(std::vector<TrackArea>& areas) const = 0;
};

// The clock and the messenger of the intake. Called on the library's thread; neither may
// throw.
class IIntakeHost {
public:
    virtual ~IIntakeHost() = default;
    // The local time of day that stamps a delivery's log lines.
    virtual LogTime LocalTime() const noexcept = 0;
    // Objects arrived: the user-interface thread's refresh (a posted message).
    virtual void NotifyObjectsArrived() noexcept = 0;
};

class ObjectIntake {
public:
    ObjectIntake(ObjectSlotTable& slots, ResultLog& log, IObjectView& view, IIntakeHost& host,
                 AreaEventTracker& areaEvents, AreaEventLog& eventLog)
        : m_slots(slots),
          m_log(log),
          m_view(view),
          m_host(host),
          m_areaEvents(areaEvents),
          m_eventLog(eventLog) {}

    // One delivery at time now (MS_GetTime). The library's thread calls it through the main
    // window, and no exception may go back into the library: a delivery that cannot be taken
    // whole (no memory) is dropped, and the next one is taken as usual.
    void Deliver(const CPtrCtrl* objects, uint32_t now) noexcept;

    // For the run-health overlay (any thread): the deliveries taken so far, and the objects
    // the last one handed the view.
    uint64_t Deliveries() const { return m_deliveries.load(); }
    int LastObjects() const { return m_lastObjects.load(); }

private:
    ObjectSlotTable& m_slots;
    ResultLog& m_log;
    IObjectView& m_view;
    IIntakeHost& m_host;
    AreaEventTracker& m_areaEvents;
    AreaEventLog& m_eventLog;
    // Deliveries of different filters may come on different threads: the events of one
    // update are observed and written before the next update's.
    std::mutex m_eventOrder;
    // Guarded by m_eventOrder: kept from one delivery to the next.
    std::vector<TrackArea> m_trackAreas;
    std::vector<AreaEvent> m_events;
    std::atomic<uint64_t> m_deliveries{0};
    std::atomic<int> m_lastObjects{0};
};

}  // namespace zuvo::app
