// Helpers the sector view's tests share: feeding a batch of objects, random numbers.
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

}  // namespace zuvo::sector::support
