#include "sectorview/OverBlend.h"

#include <algorithm>

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

const OverBlendTable& OverBlendTable::Instance() {
    static const OverBlendTable table;
    return table;
}

OverBlendTable::OverBlendTable() : m_weights(256 * 256), m_alphas(256 * 256) {
    for (uint32_t q = 0; q < 256; ++q) {
        for (uint32_t destinationAlpha = 0; destinationAlpha < 256; ++destinationAlpha) {
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
