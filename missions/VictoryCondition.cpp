// VictoryCondition.cpp: the unit-count victory condition and the parts of it
// that every condition shares (sub-condition chain, lists, kind counts).

#include "missions/VictoryCondition.h"

#include <istream>
#include <ostream>

VictoryCondition::VictoryCondition() = default;

VictoryCondition::VictoryCondition(std::istream& in) { LoadData(in); }

VictoryCondition::~VictoryCondition() { delete subCondition; }

void VictoryCondition::CheckUnit(Unit*, uint16_t) {}

std::string VictoryCondition::Describe() const { return {}; }

bool VictoryCondition::IsMet() const { return met != 0 && (!subCondition || subCondition->IsMet()); }

void VictoryCondition::SetSense(uint8_t hostileSense)
{
    hostile = hostileSense;
    met = hostileSense ? 0 : 1;
}

void VictoryCondition::SaveData(std::ostream&) const {}

bool VictoryCondition::LoadData(std::istream& in) { return static_cast<bool>(in); }

void VictoryCondition::CountKindLoss(uint16_t, uint16_t, uint16_t, uint16_t, uint16_t) {}

void VictoryCondition::RecordCountedUnit(const Unit&) {}

void VictoryCondition::SaveLists(std::ostream&) const {}

bool VictoryCondition::LoadLists(std::istream& in) { return static_cast<bool>(in); }

VictoryCondition* VictoryCondition::LoadKind(uint8_t, std::istream&) { return nullptr; }

void VictoryCondition::SetSubCondition(VictoryCondition* sub)
{
    if (sub == subCondition)
        return;
    delete subCondition;
    subCondition = sub;
}

bool VictoryCondition::LoadSubCondition(std::istream& in, bool) { return static_cast<bool>(in); }

void VictoryCondition::SaveSubCondition(std::ostream&) const {}

bool VictoryCondition::IsSenseSide(uint16_t, uint16_t) const { return false; }
