// UnitPairRecord.cpp: the record of one incident between two units: its
// comparison, saved form and description.
#include "missions/UnitPairRecord.h"

#include <istream>
#include <ostream>

#include "core/ResourceText.h"
#include "core/StreamFields.h"

UnitPairRecord::UnitPairRecord(uint16_t code, const char* actor, const char* other)
    : VictoryItem(VictoryTag::UNIT_PAIR), eventCode(code)
{
    actorName.Set(actor);
    otherName.Set(other);
}

UnitPairRecord::UnitPairRecord(std::istream& in) : VictoryItem(VictoryTag::UNIT_PAIR)
{
    Load(in);
}

// The other unit's name is saved before the actor's.
void UnitPairRecord::Save(std::ostream& out) const
{
    SaveField(out, GetTag());
    SaveField(out, eventCode);
    otherName.Save(out);
    actorName.Save(out);
}

void UnitPairRecord::Load(std::istream& in)
{
    LoadField(in, eventCode);
    otherName.Load(in);
    actorName.Load(in);
}

std::string UnitPairRecord::Describe() const
{
    return FitDescription(std::string("      ") + otherName.Text() + ResourceString(JOIN_TEXT) + actorName.Text() +
                          ResourceString(CLOSE_TEXT) + "\n");
}

bool UnitPairRecord::IsSame(const UnitPairRecord& other) const
{
    return eventCode == other.eventCode && actorName.IsEqual(other.actorName) && otherName.IsEqual(other.otherName);
}
