// The over blend the view composes its overlays with.
//
// Destination D and source colour C are non-premultiplied ARGB; a_s is the source alpha in
// 0 ... 1. A = 1 - (1 - a_d)(1 - a_s); each colour channel becomes
// D x (1 - a_s) a_d / A + C x a_s / A, truncated; the alpha becomes A x 255, truncated; when A
// is 0 the result is 0x00000000.
#pragma once

#include <cstdint>
#include <vector>

// SSE2 belongs to every x86-64 processor, the only kind the program and its tests are built for.
#if !defined(__SSE2__) && !defined(_M_X64)
#error "the over blend needs SSE2"
#endif
#include <emmintrin.h>

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
private:
    // A transparent result has both weights 0 and alpha 0: 0x00000000 without a test. The
    // weights sum to 1, so a channel never exceeds 255.
    struct Weights {
        double destination;
        double source;
    };

public:
    static const OverBlendTable& Instance();

    // One colour blended over many pixels: the colour's channels are converted and the tables
    // found once, and a loop keeps them at hand (its stores cannot move them).
    class ColourBlend {
    public:
        // destination with the colour blended over it at source alpha q / 255.
        uint32_t Over(uint32_t destination, uint32_t q) const {
            // q first: along a line or a marker q mostly stays while the destination alpha
            // drifts, so neighbouring pixels read neighbouring entries.
            const uint32_t index = ((q & 0xFF) << 8) | (destination >> 24);
            const Weights& weights = m_weights[index];
            // The channels two by two, (blue, green) and (red, alpha), each in a double lane:
            // the same products, sums and truncations as one channel at a time, in half the
            // steps. The alpha lane's result is not used.
            const __m128i zero = _mm_setzero_si128();
            const __m128i d = _mm_unpacklo_epi16(
                _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(destination)), zero), zero);
            const __m128d wd = _mm_set1_pd(weights.destination);
            const __m128d ws = _mm_set1_pd(weights.source);
            const __m128i low = _mm_cvttpd_epi32(
                _mm_add_pd(_mm_mul_pd(_mm_cvtepi32_pd(d), wd), _mm_mul_pd(m_low, ws)));
            const __m128i high = _mm_cvttpd_epi32(_mm_add_pd(
                _mm_mul_pd(_mm_cvtepi32_pd(_mm_unpackhi_epi64(d, d)), wd), _mm_mul_pd(m_high, ws)));
            __m128i result = _mm_unpacklo_epi64(low, high);
            result = _mm_packs_epi32(result, result);
            result = _mm_packus_epi16(result, result);
            return (static_cast<uint32_t>(_mm_cvtsi128_si32(result)) & 0x00FFFFFFu) |
                   (uint32_t{m_alphas[index]} << 24);
        }

    private:
        friend class OverBlendTable;
        ColourBlend(const OverBlendTable& table, uint32_t colour);

        const Weights* m_weights;
        const uint8_t* m_alphas;
        __m128d m_low;   // the colour's blue and green
        __m128d m_high;  // its red and alpha
    };

    ColourBlend For(uint32_t colour) const { return ColourBlend(*this, colour); }

    // destination with colour blended over it at source alpha q / 255.
    uint32_t Blend(uint32_t destination, uint32_t colour, uint32_t q) const {
        return For(colour).Over(destination, q);
    }

private:
    OverBlendTable();

    std::vector<Weights> m_weights;
    std::vector<uint8_t> m_alphas;
};

inline OverBlendTable::ColourBlend::ColourBlend(const OverBlendTable& table, uint32_t colour)
    : m_weights(table.m_weights.data()), m_alphas(table.m_alphas.data()) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i c = _mm_unpacklo_epi16(
        _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(colour)), zero), zero);
    m_low = _mm_cvtepi32_pd(c);
    m_high = _mm_cvtepi32_pd(_mm_unpackhi_epi64(c, c));
}

}  // namespace zuvo::sector
