// StockEntry.h: StockEntry, one line of a unit's weapon stocks: how many
// rounds of one weapon a unit (a base, a carrier, a facility) holds for
// arming its aircraft, in which of its magazines, and how many that magazine
// entry holds when full. Stocks are kept in a chain grouped by unit, the
// entries of one unit following each other.
#pragma once

#include <cstdint>

#include "core/Chain.h"
#include "core/ChainLink.h"

class StockEntry : public ChainLink<StockEntry> {
public:
    StockEntry() = default;
    StockEntry(uint16_t unit, uint16_t weapon, uint16_t rounds) : unitID(unit), weaponID(weapon), count(rounds) {}
    StockEntry(uint16_t unit, uint16_t magazine, uint16_t weapon, uint16_t rounds, uint16_t full)
        : unitID(unit), magazineKey(magazine), weaponID(weapon), count(rounds), capacity(full)
    {
    }

    uint16_t unitID = 0;
    uint16_t magazineKey = 0;   // key of the magazine in the unit's list; 0 = none
    uint16_t weaponID = 0;      // weapon.dat record
    uint16_t count = 0;         // rounds on hand
    uint16_t capacity = 0;      // rounds the entry holds when full
};

using StockChain = Chain<StockEntry>;
