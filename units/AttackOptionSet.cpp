// AttackOptionSet.cpp: one target's attack options: matching, adding,
// summing and the saved form.
#include "units/AttackOptionSet.h"

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
    weighted = 0;
    count = 0;
    for (const TimedRecord* option = options.First(); option != nullptr; option = option->GetNext()) {
        count += option->quantity;
        weighted += int32_t{option->value16} * option->quantity;
    }
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
