// ShooterOptions.h: ShooterOptions, one row of a mission's attack plan: the
// options of one shooter in the mission's option chain, kept in the
// mission's linkChain while its attacks are allocated.
#pragma once

#include <cstdint>

#include "annex/TimedRecord.h"
#include "core/ListLink.h"

// The rows point into the option chain and own nothing.
class ShooterOptions : public ListLink {
public:
    explicit ShooterOptions(uint16_t shooter) : shooterID(shooter) {}
    ~ShooterOptions() override = default;

    uint16_t shooterID = 0;               // unit id
    uint16_t optionCount = 0;             // options of the shooter in the chain
    TimedRecord* firstOption = nullptr;   // the first of them
};
