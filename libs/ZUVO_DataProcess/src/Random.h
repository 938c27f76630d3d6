// A small deterministic random source (xoshiro256**, seeded through splitmix64): the same seed
// gives the same sequence on every platform and C library, which the emulator's "same seed,
// same scene" promise needs (the standard distributions differ between libraries).
#pragma once

#include <cstdint>

namespace zuvo::radar {

class Random {
public:
    explicit Random(uint64_t seed);

    uint64_t Next();
    // Uniform in [0, 1).
    double Uniform();
    // Uniform in [low, high).
    double Uniform(double low, double high);
    // Normal with mean 0 and the given standard deviation.
    double Gaussian(double sigma);
    // Poisson-distributed count with the given mean (meant for small means).
    int Poisson(double mean);
    // true with probability p.
    bool Chance(double p);

private:
    uint64_t m_state[4];
    bool m_hasSpare;
    double m_spare;
};

}  // namespace zuvo::radar
