#include "Random.h"

#include <cmath>

namespace zuvo::radar {

namespace {

uint64_t SplitMix64(uint64_t& x) {
    uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

uint64_t RotateLeft(uint64_t x, int k) {
    return (x << k) | (x >> (64 - k));
}

constexpr double kPi = 3.14159265358979323846;

}  // namespace

Random::Random(uint64_t seed) : m_state{}, m_hasSpare(false), m_spare(0.0) {
    for (uint64_t& word : m_state) {
        word = SplitMix64(seed);
    }
}

uint64_t Random::Next() {
    const uint64_t result = RotateLeft(m_state[1] * 5, 7) * 9;
    const uint64_t t = m_state[1] << 17;
    m_state[2] ^= m_state[0];
    m_state[3] ^= m_state[1];
    m_state[1] ^= m_state[2];
    m_state[0] ^= m_state[3];
    m_state[2] ^= t;
    m_state[3] = RotateLeft(m_state[3], 45);
    return result;
}

double Random::Uniform() {
    return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0);
}

double Random::Uniform(double low, double high) {
    return low + (high - low) * Uniform();
}

double Random::Gaussian(double sigma) {
    if (m_hasSpare) {
        m_hasSpare = false;
        return m_spare * sigma;
    }
    // Box-Muller; 1 - Uniform() lies in (0, 1], so the logarithm is finite.
    const double radius = std::sqrt(-2.0 * std::log(1.0 - Uniform()));
    const double turn = 2.0 * kPi * Uniform();
    m_spare = radius * std::sin(turn);
    m_hasSpare = true;
    return radius * std::cos(turn) * sigma;
}

int Random::Poisson(double mean) {
    if (!(mean > 0.0)) {
        return 0;
    }
    const double limit = std::exp(-mean);
    int count = 0;
    double product = Uniform();
    while (product > limit && count < 1000) {
        ++count;
        product *= Uniform();
    }
    return count;
}

bool Random::Chance(double p) {
    return Uniform() < p;
}

}  // namespace zuvo::radar
