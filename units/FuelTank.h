// FuelTank.h: FuelTank, one fuel store of a moving unit, kept in the unit's
// unkeyed chain of tanks: what it holds, how fuel is drawn from it, how long
// it lasts at a rate, and its saved form. The fuel.dat record it is built from
// is annex/FuelAnnex.h.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/ChainLink.h"

// Fuel is held in whole counts plus a partial amount in base units: the base
// units already drawn out of a count and not yet used. How many base units a
// count holds depends on who asks:
//   raw          weapons: a count is one base unit, no conversion at all;
//   perHundred   aircraft: 100 base units per count;
//   neither      ships, submarines and the other moving units: by fuel type,
//                  0 "No Fuel" 1, 1 "Diesel Fuel" 36000, 2 "Gas Fuel" 36000,
//                  3 "Oil Fuel" 36000, 4 "Battery" 1, 5 "Air-Independent"
//                  36000, 6 "Rocket Fuel" 1, 7 "Aviation Fuel" 36000,
//                  8 "Weapon Coast Time" 1, 9 "Torpedo Fuel" 0.
// Raw wins over perHundred when both are passed. In the table mode a type
// whose count holds 0 base units (torpedo fuel, which only weapons burn, and
// those raw) is counted in raw units, and a type above 9 counts 1 base unit
// per count (with the whole-count rounding of the table mode).
class FuelTank : public ChainLink<FuelTank> {
public:
    // Bytes of the saved form.
    static constexpr int SAVED_BYTES = 16;

    // An empty tank of fuel type 1, as the chain load constructs it.
    FuelTank() = default;
    // A full tank of the fuel.dat record fuelID in the scenario's fuel table:
    // its fuel type, its capacity, as many counts as the capacity, partial 0.
    // A record (or table) that is missing gives an empty tank of type 0,
    // "No Fuel", which no engine is fed from.
    explicit FuelTank(uint16_t fuelID);

    uint32_t GetFuelType() const { return fuelType_; }
    uint32_t GetCapacity() const { return capacity_; }
    uint32_t GetCount() const { return count_; }
    uint32_t GetPartial() const { return partial_; }

    // Refuelling and scenario set-up change what the tank holds.
    void SetCount(uint32_t count) { count_ = count; }
    void SetPartial(uint32_t partial) { partial_ = partial; }

    // How long the fuel lasts, in game seconds, at rate base units per 60
    // game seconds: (counts in base units + partial) x 60 / rate, the
    // division truncating; rate 0 answers the amount in base units itself.
    // Worked in 64 bits: an answer beyond 0xFFFFFFFF is 0xFFFFFFFF (a full
    // diesel tank of 2000 counts at rate 60 lasts 72000000 seconds, not the
    // 32-bit wrap of it).
    uint32_t GetRemaining(uint32_t rate, bool raw, bool perHundred) const;

    // Draws amount base units. What partial holds goes first; the rest is
    // drawn in whole counts, one count more than the truncated quotient (also
    // when it divides exactly), and what is left of them becomes the new
    // partial. In raw units exactly the rest is drawn and partial ends 0.
    // When the tank cannot give the whole amount it is emptied (count and
    // partial 0) and the answer is false: the unit has run out of this fuel.
    bool Consume(uint32_t amount, bool raw, bool perHundred);

    // Saved form, little-endian, 16 bytes (an element of the unit's chain of
    // tanks):
    //   fuelType   u32   fuel type code
    //   capacity   u32   whole counts of a full tank
    //   count      u32   whole counts left
    //   partial    u32   base units drawn and not yet used
    // Save always writes all four: this system writes its file headers with
    // the flag byte 0, and a full-header file carries partial.
    // Load reads partial only from files that carry it: a file version later
    // than 3.5.9.1 and, from 3.5.10.0 on, a file header whose flag byte is 0
    // (both from gAdmin; with no gAdmin the present layout is read).
    // Otherwise partial becomes 0. A short read fails the stream, answers
    // false and leaves the tank as it was.
    bool Save(std::ostream& out) const;
    bool Load(std::istream& in);

private:
    uint32_t fuelType_ = 1;
    uint32_t capacity_ = 0;
    uint32_t count_ = 0;
    uint32_t partial_ = 0;
};
