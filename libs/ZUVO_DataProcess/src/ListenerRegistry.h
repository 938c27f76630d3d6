// The object-detection listeners of one filter. A delivery calls each listener with its own
// container of its own copies of the records, valid only during the call. Removing a listener
// waits for a delivery in progress, so once Remove returns the listener is never called again
// (a listener may remove itself from inside its call).
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "ZUVO_DataProcess.h"

namespace zuvo::radar {

class ListenerRegistry {
public:
    // false for null or a listener already registered.
    bool Add(IRadarObjectDetectListener* listener);
    // false when it was not registered.
    bool Remove(IRadarObjectDetectListener* listener);
    // Calls every listener; answers the number of entries handed over (entries times calls).
    int64_t Deliver(int64_t value, const std::vector<RadarObject>& objects);

private:
    bool Registered(IRadarObjectDetectListener* listener) const;

    std::recursive_mutex m_lock;
    std::vector<IRadarObjectDetectListener*> m_listeners;
};

}  // namespace zuvo::radar
