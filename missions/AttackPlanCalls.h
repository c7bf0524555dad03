// AttackPlanCalls.h: the calls the contact planning and attack allocation
// make of the layers above: the planned-attack event (0x0D) that takes a
// mission's allocated options, grouped by shooter, and the notice to a unit's
// group or base that the unit took up an engagement or not. The simulation
// and the bridge install them at start-up (SetAttackPlanCalls).
#pragma once

#include <cstdint>

#include "annex/TimedRecord.h"
#include "core/Chain.h"
#include "core/Event.h"
#include "core/ListLink.h"

// One row of an attack plan: the options of one shooter, in the order they
// stand in the mission's option chain. The rows point into that chain and
// own nothing.
class ShooterOptions : public ListLink {
public:
    explicit ShooterOptions(uint16_t shooter) : shooterID(shooter) {}
    ~ShooterOptions() override = default;

    uint16_t shooterID = 0;               // unit id
    uint16_t optionCount = 0;             // options of the shooter in the chain
    TimedRecord* firstOption = nullptr;   // the first of them
};

struct AttackPlanCalls {
    // A new planned-attack event that takes every option of `options` over
    // (the chain is left empty) with the shooter rows of `rows` (which stay
    // with the caller); null when the class cannot be made.
    Event* (*makePlannedAttackEvent)(Chain<TimedRecord>& options, const Chain<ListLink>& rows) = nullptr;
    // Tells the unit's parent unit (group or base) that the unit accepted
    // (1) or refused (0) an engagement.
    void (*notifyParentUnit)(uint16_t unitID, uint32_t value) = nullptr;
};

// Installs the calls; returns the ones they replace.
AttackPlanCalls SetAttackPlanCalls(const AttackPlanCalls& calls);

// The planned-attack event over the options; null while no class is
// installed, the options then staying in their chain.
Event* MakePlannedAttackEvent(Chain<TimedRecord>& options, const Chain<ListLink>& rows);

namespace gam2side {
// The parent-unit notice; nothing while no call is installed.
void NotifyParentUnit(uint16_t unitID, uint32_t value);
}  // namespace gam2side
