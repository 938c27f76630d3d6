#include "ListenerRegistry.h"

#include <algorithm>

#include "Diagnostics.h"

namespace zuvo::radar {

bool ListenerRegistry::Add(IRadarObjectDetectListener* listener) {
    std::lock_guard<std::recursive_mutex> hold(m_lock);
    if (listener == nullptr || Registered(listener)) {
        return false;
    }
    m_listeners.push_back(listener);
    return true;
}

bool ListenerRegistry::Remove(IRadarObjectDetectListener* listener) {
    std::lock_guard<std::recursive_mutex> hold(m_lock);
    const auto it = std::find(m_listeners.begin(), m_listeners.end(), listener);
    if (it == m_listeners.end()) {
        return false;
    }
    m_listeners.erase(it);
    return true;
}

bool ListenerRegistry::Registered(IRadarObjectDetectListener* listener) const {
    return std::find(m_listeners.begin(), m_listeners.end(), listener) != m_listeners.end();
}

int64_t ListenerRegistry::Deliver(int64_t value, const std::vector<RadarObject>& objects) {
    std::lock_guard<std::recursive_mutex> hold(m_lock);
    int64_t delivered = 0;
    const std::vector<IRadarObjectDetectListener*> listeners = m_listeners;
    for (IRadarObjectDetectListener* listener : listeners) {
        // A listener removed by an earlier one during this delivery is not called.
        if (!Registered(listener)) {
            continue;
        }
        std::vector<RadarObject> copies = objects;
        CPtrArrayCtrl container;
        for (RadarObject& object : copies) {
            container.AddData(&object, -1);
        }
        delivered += container.GetCount();
        try {
            listener->OnRadarObjectDetect(value, &container);
        } catch (...) {
            Diagnostic(2, "an object-detection listener threw an exception; delivery goes on");
        }
    }
    return delivered;
}

}  // namespace zuvo::radar
