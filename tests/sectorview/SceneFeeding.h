// Helpers the sector view's tests share: feeding a batch of objects, random numbers, random
// polygons.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "ZUVO_CommonCore.h"
#include "sectorview/SectorObject.h"

namespace zuvo::sector::support {

// Hands objects to update (a SectorScene or a reference tracker) as one batch at time now.
template <typename Updater>
void Feed(Updater& update, std::vector<SectorObject> objects, uint32_t now) {
    CPtrListCtrl list;
    for (SectorObject& object : objects) {
        list.AddData(&object, -1);
    }
    update.UpdateObjects(&list, now);
}

class Random {
public:
    explicit Random(uint32_t seed) : m_engine(seed) {}

    double Uniform(double from, double to) {
        return std::uniform_real_distribution<double>(from, to)(m_engine);
    }
    int Pick(int from, int to) { return std::uniform_int_distribution<int>(from, to)(m_engine); }
    uint32_t Bits() { return static_cast<uint32_t>(m_engine()); }

private:
    std::mt19937 m_engine;
};

// 1 to 12 (row, column) vertices around a width x height view: mostly near it, some repeated
// or on the row of the one before (horizontal edges), some far outside near the int32 limits.
inline std::vector<int32_t> RandomPolygon(std::mt19937& random, int width, int height) {
    auto pick = [&](int from, int to) {
        return std::uniform_int_distribution<int>(from, to)(random);
    };
    const int count = pick(1, 12);
    std::vector<int32_t> pairs;
    for (int i = 0; i < count; ++i) {
        const int kind = pick(0, 9);
        if (kind == 0 && i > 0) {  // repeat a vertex, or share its row: horizontal edges
            pairs.push_back(pairs[pairs.size() - 2]);
            pairs.push_back(pick(0, 1) ? pairs[pairs.size() - 2] : pick(-5, width + 5));
        } else if (kind == 1) {  // far outside the view
            pairs.push_back(pick(-2000000000, 2000000000));
            pairs.push_back(pick(-2000000000, 2000000000));
        } else {
            pairs.push_back(pick(-8, height + 8));
            pairs.push_back(pick(-8, width + 8));
        }
    }
    return pairs;
}

}  // namespace zuvo::sector::support
