// VictoryConditionList.cpp: the victory manager's conditions and their saved
// records.

#include "missions/VictoryConditionList.h"

#include <istream>
#include <ostream>

VictoryConditionList::~VictoryConditionList() { Clear(); }

VictoryCondition* VictoryConditionList::Get(int index) const
{
    if (index < 0 || index >= static_cast<int>(conditions.size()))
        return nullptr;
    return conditions[static_cast<size_t>(index)];
}

bool VictoryConditionList::Append(VictoryCondition* condition)
{
    if (!condition || static_cast<int>(conditions.size()) >= MAX_COUNT)
        return false;
    conditions.push_back(condition);
    return true;
}

void VictoryConditionList::Clear()
{
    for (VictoryCondition* c : conditions)
        delete c;
    conditions.clear();
}

void VictoryConditionList::Save(std::ostream&) const {}

bool VictoryConditionList::Load(std::istream& in, uint8_t) { return static_cast<bool>(in); }
