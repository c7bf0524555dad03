// AttackOptionSet.h: AttackOptionSet, a unit's attack options against one
// target (keyed by the target's id): a chain of TimedRecords, the weapons the
// unit has readied against it, with their saved form and sums. A unit keeps
// its sets in one keyed list, its targeting records.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "annex/TimedRecord.h"
#include "core/TreeListOf.h"

class AttackOptionSet : public TreeListNode<AttackOptionSet> {
public:
    AttackOptionSet() = default;
    explicit AttackOptionSet(uint16_t targetID) : TreeListNode<AttackOptionSet>(targetID) {}
    ~AttackOptionSet() override = default;   // the chain deletes its options

    AttackOptionSet(const AttackOptionSet&) = delete;
    AttackOptionSet& operator=(const AttackOptionSet&) = delete;

    TimedRecordChain& Options() { return options; }
    const TimedRecordChain& Options() const { return options; }

    // Takes out and deletes the first option with the same mountKey,
    // weaponRecKey and quantity as r; nothing when none matches.
    void RemoveAttackOption(const TimedRecord& r);
    // Appends a copy of r.
    void AddAttackOption(const TimedRecord& r);
    // count: the sum of quantity over the options; weighted: the sum of
    // value16 x quantity. Both start at 0.
    void SumAttackOptions(int32_t& weighted, int32_t& count) const;

    // Saved form, little-endian:
    //   key       u16   the target's unit id
    //   options   u16 count, then each TimedRecord (41 bytes)
    // Load reads into a fresh set; a record cut short leaves the stream
    // failed and answers false.
    void Save(std::ostream& out) const;
    bool Load(std::istream& in);

private:
    TimedRecordChain options;
};
