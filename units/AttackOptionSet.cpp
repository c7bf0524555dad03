// AttackOptionSet.cpp: one target's attack options: matching, adding,
// summing and the saved form.
#include "units/AttackOptionSet.h"

#include <algorithm>
#include <cstdint>
#include <istream>
#include <ostream>

void AttackOptionSet::RemoveAttackOption(const TimedRecord& r)
{
    for (TimedRecord* option = options.First(); option != nullptr; option = option->GetNext()) {
        if (option->mountKey == r.mountKey && option->weaponRecKey == r.weaponRecKey
            && option->quantity == r.quantity) {
            options.Remove(option);
            delete option;
            return;
        }
    }
}

void AttackOptionSet::AddAttackOption(const TimedRecord& r)
{
    options.Append(new TimedRecord(r));
}

void AttackOptionSet::SumAttackOptions(int32_t& weighted, int32_t& count) const
{
    // Summed in 64 bits and held at the 32-bit limits: a loaded set may hold
    // up to 65535 options.
    int64_t weightedSum = 0;
    int64_t countSum = 0;
    for (const TimedRecord* option = options.First(); option != nullptr; option = option->GetNext()) {
        countSum += option->quantity;
        weightedSum += int64_t{option->value16} * option->quantity;
    }
    weighted = static_cast<int32_t>(std::clamp<int64_t>(weightedSum, INT32_MIN, INT32_MAX));
    count = static_cast<int32_t>(std::clamp<int64_t>(countSum, INT32_MIN, INT32_MAX));
}

void AttackOptionSet::Save(std::ostream& out) const
{
    SaveKey(out);
    options.Save(out);
}

bool AttackOptionSet::Load(std::istream& in)
{
    LoadKey(in);
    return in && options.Load(in);
}
