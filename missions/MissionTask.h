// MissionTask.h: MissionTask, one contact that a mission means to act on (a
// target, a threat or a contact to watch), with its counts and the attack
// options gathered for it. Missions keep tasks in chains by priority,
// highest first, through InsertTaskInOrder.
#pragma once

#include <cstdint>

#include "annex/TimedRecord.h"
#include "core/Chain.h"
#include "core/ChainLink.h"

class MissionTask : public ChainLink<MissionTask> {
public:
    // A task for the contact on unit `contactID`: every count 0, no options,
    // in no chain.
    explicit MissionTask(uint16_t contactID = 0) : targetID(contactID) {}
    // The option chain deletes its options (not the stocks they point to);
    // then the task leaves the chain it is in.
    ~MissionTask() = default;

    MissionTask(const MissionTask&) = delete;
    MissionTask& operator=(const MissionTask&) = delete;

    // Never saved: the chains are rebuilt from the contacts as the game runs.
    uint16_t targetID = 0;         // the contact's unit id (its key in the side's contacts)
    uint16_t priority = 0;         // 0..100, highest first in a chain
    uint16_t needCount = 0;        // attackers (aircraft or units) the target calls for
    uint16_t needValue = 0;        // attack value the target calls for
    uint16_t allocatedCount = 0;   // attackers allocated so far
    uint16_t allocatedValue = 0;   // attack value allocated so far
    uint8_t changed = 0;           // 1 once any option was allocated to it
    TimedRecordChain options;      // owned attack options gathered for the contact
};

using MissionTaskChain = Chain<MissionTask>;

// Puts task into chain, which runs from the highest priority down: before
// the first task of lower priority, else at the end, so that equal
// priorities keep their arrival order. A chain that already holds a task for
// the same contact (anywhere, also below the place the task would take) is
// left as it was and the answer is false: the task stays
// with the caller, who deletes it. Null task: false.
bool InsertTaskInOrder(MissionTaskChain& chain, MissionTask* task);
