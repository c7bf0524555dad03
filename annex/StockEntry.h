// StockEntry.h: StockEntry, one line of a unit's weapon stocks: how many
// rounds of one weapon a unit (a base, a carrier, a facility) holds for
// arming its aircraft. Stocks are kept in a chain grouped by unit, the
// entries of one unit following each other.
#pragma once

#include <cstdint>

#include "core/Chain.h"
#include "core/ChainLink.h"

class StockEntry : public ChainLink<StockEntry> {
public:
    StockEntry() = default;
    StockEntry(uint16_t unit, uint16_t weapon, uint32_t rounds) : unitID(unit), weaponID(weapon), count(rounds) {}

    uint16_t unitID = 0;
    uint16_t weaponID = 0;   // weapon.dat record
    uint32_t count = 0;      // rounds held
};

using StockChain = Chain<StockEntry>;
