// RandomGen.cpp: the two generators. Every step is unsigned 32-bit
// arithmetic with its wrap written out; the saved games and the replay of a
// seed depend on these exact sequences.
#include "core/RandomGen.h"

#include "platform/Clock.h"

namespace {

constexpr uint32_t MP_MULTIPLIER = 69069;
constexpr uint32_t MP_MODULUS = 2147483647;   // 2^31 - 1, a prime
constexpr uint32_t SHORT_MULTIPLIER = 3533;

// The low 32 bits of the calendar time.
uint32_t ClockSeed()
{
    return static_cast<uint32_t>(static_cast<uint64_t>(platform::CalendarTime()) & 0xFFFFFFFFu);
}

// The low 32 bits of a product or sum, as the original 32-bit registers kept.
uint32_t Wrap32(uint64_t value)
{
    return static_cast<uint32_t>(value & 0xFFFFFFFFu);
}

} // namespace

RandomGen::RandomGen() : seed_(ClockSeed()) {}

void RandomGen::SetRandomSeed()
{
    seed_ = ClockSeed();
}

uint16_t RandomGen::MPRandom(uint16_t n)
{
    const uint32_t x = Wrap32(uint64_t{seed_} * MP_MULTIPLIER + 1);
    seed_ = x % MP_MODULUS;
    // seed >> 16 is below 32768, so the product stays below 2^31.
    return static_cast<uint16_t>(((seed_ >> 16) * uint32_t{n}) >> 15);
}

uint16_t RandomGen::Random(uint16_t n)
{
    // The formula was written for signed 32-bit registers with an arithmetic
    // shift; only the low 16 bits of the sum survive, and those depend only on
    // the low 16 bits of the seed, so unsigned arithmetic gives the same seed.
    const uint64_t s = seed_;
    const uint32_t high = Wrap32((s >> 8) * SHORT_MULTIPLIER);
    const uint64_t sum = s * SHORT_MULTIPLIER + 1 + (uint64_t{high} << 8) + (s << 8);
    seed_ = static_cast<uint32_t>(sum & 0xFFFFu);
    return static_cast<uint16_t>(((seed_ >> 8) * uint32_t{n}) >> 8);
}
