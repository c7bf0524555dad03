// Side.cpp: the side's relations and its mission calls.
#include "missions/Side.h"

uint8_t Side::GetRelation(uint16_t other) const
{
    if (other == GetID())
        return 2;
    const SideEntry* const entry = relations.Find(other);
    return entry ? entry->GetRelation() : 0;
}

bool Side::AddRelation(SideEntry* entry)
{
    relations.Insert(entry);
    return true;
}

bool Side::SetRelation(uint16_t other, uint8_t relation)
{
    SideEntry* const entry = relations.Find(other);
    return entry ? entry->SetRelation(relation) : false;
}

bool Side::RemoveRelation(uint16_t other)
{
    SideEntry* const entry = relations.Find(other);
    if (!entry)
        return false;
    relations.Remove(entry);
    delete entry;
    return true;
}

void Side::ReturnUnitToStanding(uint16_t, uint16_t) {}

void Side::MoveUnitToMission(uint16_t, uint16_t) {}

void Side::MoveReference(uint16_t, uint16_t, uint16_t, uint16_t) {}
