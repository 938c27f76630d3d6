#include "sectorview/RecentTimings.h"

#include <algorithm>
#include <vector>

namespace zuvo::sector {

namespace {

// The median of values (the mean of the middle two for an even count); 0 for none.
double Median(std::vector<double>& values) {
    if (values.empty()) {
        return 0.0;
    }
    const size_t middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle),
                     values.end());
    const double upper = values[middle];
    if (values.size() % 2 != 0) {
        return upper;
    }
    const double lower =
        *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle));
    return (lower + upper) / 2.0;
}

// Paints are kept for a few windows at most, whatever the caller asks.
constexpr size_t kMaxPaints = 2000;

}  // namespace

void RecentTimings::Add(double endMs, double paintMs, double latencyMs) {
    m_paints.push_back(Paint{endMs, paintMs, latencyMs});
    while (m_paints.size() > kMaxPaints) {
        m_paints.pop_front();
    }
}

TimingMedians RecentTimings::Medians(double nowMs, double windowMs) {
    while (!m_paints.empty() && m_paints.front().endMs < nowMs - windowMs) {
        m_paints.pop_front();
    }
    std::vector<double> paints;
    std::vector<double> latencies;
    for (const Paint& paint : m_paints) {
        if (paint.endMs <= nowMs) {
            paints.push_back(paint.paintMs);
            if (paint.latencyMs >= 0.0) {
                latencies.push_back(paint.latencyMs);
            }
        }
    }
    TimingMedians medians;
    medians.paints = paints.size();
    medians.deliveries = latencies.size();
    medians.paintMs = Median(paints);
    medians.latencyMs = Median(latencies);
    return medians;
}

}  // namespace zuvo::sector
