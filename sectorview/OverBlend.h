// The over blend the view composes its overlays with.
//
// Destination D and source colour C are non-premultiplied ARGB; a_s is the source alpha in
// 0 ... 1. A = 1 - (1 - a_d)(1 - a_s); each colour channel becomes
// D x (1 - a_s) a_d / A + C x a_s / A, truncated; the alpha becomes A x 255, truncated; when A
// is 0 the result is 0x00000000.
#pragma once

#include <cstdint>
#include <vector>

namespace zuvo::sector {

// The two channel weights and the resulting alpha of one blend.
struct OverWeights {
    double destination = 0.0;
    double source = 0.0;
    uint32_t alpha = 0;
    bool transparent = true;  // A is 0
};

OverWeights ComputeOverWeights(uint32_t destinationAlpha, double sourceAlpha);

// Every blend of the view's overlays has a source alpha of q / 255 for an integer q (track
// lines: the line intensity; markers: the marker alpha scaled by the fade), so the weights of
// all 256 x 256 (q, destination alpha) pairs are computed once, and a blend is a lookup and
// three multiply-adds without a branch or a division.
class OverBlendTable {
public:
    static const OverBlendTable& Instance();

    // destination with colour blended over it at source alpha q / 255.
    uint32_t Blend(uint32_t destination, uint32_t colour, uint32_t q) const {
        // q first: along a line or a marker q mostly stays while the destination alpha drifts,
        // so neighbouring pixels read neighbouring entries.
        const uint32_t index = ((q & 0xFF) << 8) | (destination >> 24);
        const Weights& weights = m_weights[index];
        auto channel = [&](int shift) {
            const double value = ((destination >> shift) & 0xFF) * weights.destination +
                                 ((colour >> shift) & 0xFF) * weights.source;
            return static_cast<uint32_t>(value) << shift;
        };
        return (uint32_t{m_alphas[index]} << 24) | channel(16) | channel(8) | channel(0);
    }

private:
    // A transparent result has both weights 0 and alpha 0: 0x00000000 without a test. The
    // weights sum to 1, so a channel never exceeds 255.
    struct Weights {
        double destination;
        double source;
    };

    OverBlendTable();

    std::vector<Weights> m_weights;
    std::vector<uint8_t> m_alphas;
};

}  // namespace zuvo::sector
