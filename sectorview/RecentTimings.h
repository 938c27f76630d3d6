// The paint times and delivery-to-screen latencies of the last second, for the run-health
// overlay: the view adds one record per paint, the overlay asks for the medians.
//
// Times are milliseconds of one steady clock (the performance counter); user-interface thread
// only.
#pragma once

#include <cstddef>
#include <deque>

namespace zuvo::sector {

struct TimingMedians {
    size_t paints = 0;       // paints within the window
    double paintMs = 0.0;    // median paint time; 0 without paints
    size_t deliveries = 0;   // paints that showed a delivery
    double latencyMs = 0.0;  // median delivery-to-screen latency; 0 without such paints
};

class RecentTimings {
public:
    // A paint that ended at endMs and took paintMs; latencyMs < 0 when it showed no delivery.
    void Add(double endMs, double paintMs, double latencyMs);
    // The medians of the paints that ended within windowMs before nowMs; older ones are
    // forgotten.
    TimingMedians Medians(double nowMs, double windowMs = 1000.0);

private:
    struct Paint {
        double endMs;
        double paintMs;
        double latencyMs;
    };
    std::deque<Paint> m_paints;
};

}  // namespace zuvo::sector
