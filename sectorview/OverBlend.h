// The over blend the view composes its overlays with.
//
// Destination D and source colour C are non-premultiplied ARGB; a_s is the source alpha in
// 0 ... 1. A = 1 - (1 - a_d)(1 - a_s); each colour channel becomes
// D x (1 - a_s) a_d / A + C x a_s / A, truncated; the alpha becomes A x 255, truncated.
#pragma once

#include <cstdint>

namespace zuvo::sector {

// The two channel weights and the resulting alpha of one blend.
struct OverWeights {
    double destination = 0.0;
    double source = 0.0;
    uint32_t alpha = 0;
    bool transparent = true;  // A is 0: the result is 0x00000000
};

OverWeights ComputeOverWeights(uint32_t destinationAlpha, double sourceAlpha);
uint32_t ApplyOverWeights(const OverWeights& weights, uint32_t destination, uint32_t colour);

inline uint32_t OverBlend(uint32_t destination, uint32_t colour, double sourceAlpha) {
    return ApplyOverWeights(ComputeOverWeights(destination >> 24, sourceAlpha), destination,
                            colour);
}

// Blends runs of pixels with source alphas q / 255 for integers q (track lines: the line
// intensity; markers: the marker alpha scaled by the fade). Neighbouring pixels mostly repeat
// the destination and q, or at least the destination alpha and q, so the last result and the
// last weights are kept and reused; the results are those of OverBlend(destination, colour,
// q / 255.0), bit for bit. One blender serves one run of one colour.
class OverBlender {
public:
    explicit OverBlender(uint32_t colour) : m_colour(colour) {}

    uint32_t Blend(uint32_t destination, uint32_t q) {
        if (destination == m_lastDestination && q == m_lastQ) {
            return m_lastResult;
        }
        const uint32_t key = ((destination >> 24) << 8) | q;
        if (key != m_weightsKey) {
            m_weightsKey = key;
            m_weights = ComputeOverWeights(destination >> 24, q / 255.0);
        }
        m_lastDestination = destination;
        m_lastQ = q;
        m_lastResult = ApplyOverWeights(m_weights, destination, m_colour);
        return m_lastResult;
    }

private:
    uint32_t m_colour;
    uint32_t m_lastDestination = 0;
    uint32_t m_lastQ = 0x100;  // no q yet
    uint32_t m_lastResult = 0;
    uint32_t m_weightsKey = 0x10000;
    OverWeights m_weights;
};

}  // namespace zuvo::sector
