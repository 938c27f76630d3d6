#include "sectorview/OverBlend.h"

#include <algorithm>

#include "sectorview/Argb.h"

namespace zuvo::sector {

OverWeights ComputeOverWeights(uint32_t destinationAlpha, double sourceAlpha) {
    OverWeights weights;
    const double destination = destinationAlpha / 255.0;
    const double combined = 1.0 - (1.0 - destination) * (1.0 - sourceAlpha);
    if (!(combined > 0.0)) {
        return weights;
    }
    weights.transparent = false;
    weights.source = sourceAlpha / combined;
    weights.destination = (1.0 - sourceAlpha) * destination / combined;
    weights.alpha = static_cast<uint32_t>(std::clamp(static_cast<int>(combined * 255.0), 0, 255));
    return weights;
}

uint32_t ApplyOverWeights(const OverWeights& weights, uint32_t destination, uint32_t colour) {
    if (weights.transparent) {
        return 0;
    }
    auto channel = [&](uint32_t d, uint32_t c) {
        const double value = d * weights.destination + c * weights.source;
        return static_cast<uint32_t>(std::clamp(static_cast<int>(value), 0, 255));
    };
    return MakeArgb(weights.alpha, channel(RedOf(destination), RedOf(colour)),
                    channel(GreenOf(destination), GreenOf(colour)),
                    channel(BlueOf(destination), BlueOf(colour)));
}

}  // namespace zuvo::sector
