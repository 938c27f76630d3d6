// Detection bounds: polygons in the (gate, lateral) grid in front of the sensor. gate counts
// range gates along the boresight, lateral counts range gates to the right (negative to the
// left); the grid spans gates 0 .. limit - 1 and lateral -limit .. limit - 1. An object passes
// a filter's bounds when the filter has none or when it lies inside or on one of them.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "ZUVO_DataProcess.h"

namespace zuvo::radar {

class DetectBoundSet {
public:
    // Copies the polygon, its points limited to the grid of gateLimit. Refuses (false) fewer
    // than 3 points, a null array and a grid limit below 1.
    bool Add(const DetectBoundPoint* points, int count, int gateLimit);
    bool Empty() const { return m_bounds.empty(); }
    int Count() const { return static_cast<int>(m_bounds.size()); }

    // Whether the point (in gate units, fractions allowed) lies inside or on a bound.
    bool Contains(double forwardGates, double lateralGates) const;
    // No bounds, or inside one.
    bool Admits(double forwardGates, double lateralGates) const {
        return Empty() || Contains(forwardGates, lateralGates);
    }
    // The same for a position given as distance (gate units) and angle (degrees).
    bool AdmitsPolar(double gateDistance, double angleDeg) const;

private:
    struct Bound {
        std::vector<int32_t> pairs;  // (gate, lateral) pairs scaled to sub-gate units
        int32_t minGate, maxGate, minLateral, maxLateral;
    };
    std::vector<Bound> m_bounds;
};

// The bounds of one filter, changed by the caller's thread and read by the processing thread:
// every change makes a new set, so a reader keeps a consistent snapshot for a whole frame.
class SharedBounds {
public:
    SharedBounds();
    bool Add(const DetectBoundPoint* points, int count, int gateLimit);
    void Clear();
    std::shared_ptr<const DetectBoundSet> Snapshot() const;

private:
    mutable std::mutex m_lock;
    std::shared_ptr<const DetectBoundSet> m_current;
};

}  // namespace zuvo::radar
