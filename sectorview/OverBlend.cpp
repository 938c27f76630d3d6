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

const OverBlendTable& OverBlendTable::Instance() {
    static const OverBlendTable table;
    return table;
}

OverBlendTable::OverBlendTable() : m_weights(256 * 256), m_alphas(256 * 256) {
    for (uint32_t destinationAlpha = 0; destinationAlpha < 256; ++destinationAlpha) {
        for (uint32_t q = 0; q < 256; ++q) {
            const OverWeights weights = ComputeOverWeights(destinationAlpha, q / 255.0);
            const uint32_t index = (q << 8) | destinationAlpha;
            if (!weights.transparent) {
                m_weights[index] = Weights{weights.destination, weights.source};
                m_alphas[index] = static_cast<uint8_t>(weights.alpha);
            }
        }
    }
}

}  // namespace zuvo::sector
