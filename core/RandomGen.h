// RandomGen.h: RandomGen, the program's pseudo-random number generator: one
// 32-bit seed shared by two formulas, MPRandom (the one in use) and Random
// (a 16-bit generator kept for its published interface). The Arena owns the
// generator the simulation draws from.
#pragma once

#include <cstdint>

class RandomGen {
public:
    // Seeded with the calendar time in whole seconds (its low 32 bits).
    RandomGen();
    RandomGen(const RandomGen& other) = default;             // copies the seed
    RandomGen& operator=(const RandomGen& other) = default;  // copies the seed
    ~RandomGen() = default;

    void SetSeed(uint32_t newSeed) { seed_ = newSeed; }
    // Seeds again from the calendar time in whole seconds.
    void SetRandomSeed();
    uint32_t QuerySeed() const { return seed_; }

    // Advances the seed to (seed * 69069 + 1, wrapped to 32 bits) mod (2^31 - 1)
    // and returns ((seed >> 16) * n) >> 15, in 0..n-1 (0 when n is 0). The
    // seed is then below 2^31 - 1.
    uint16_t MPRandom(uint16_t n);

    // Advances the seed by the 16-bit formula, which leaves it in 0..65535
    // (cutting a seed MPRandom left), and returns ((seed >> 8) * n) >> 8, in
    // 0..n-1 (0 when n is 0).
    uint16_t Random(uint16_t n);

private:
    uint32_t seed_;
};
