// UnitClassLossRecord.cpp: the loss tally of one unit class: its match,
// merge, saved form and description.
#include "missions/UnitClassLossRecord.h"

#include <istream>
#include <ostream>

#include "core/ResourceText.h"
#include "core/StreamFields.h"
#include "missions/RecordNameCalls.h"

namespace {
// The class's name from the database, or its letter's fixed text; a blank
// letter is never looked up.
std::string ClassName(uint32_t letter, uint16_t recordID)
{
    std::string name;
    if (letter != ' ' && FindClassRecordName(letter, recordID, name))
        return name;
    switch (letter) {
    case ' ': return ResourceString(UnitClassLossRecord::BLANK_CLASS_TEXT);
    case 'F': return ResourceString(UnitClassLossRecord::FACILITY_CLASS_TEXT);
    case 'P': return ResourceString(UnitClassLossRecord::PLANE_CLASS_TEXT);
    case 'S': return ResourceString(UnitClassLossRecord::SHIP_CLASS_TEXT);
    case 'U': return ResourceString(UnitClassLossRecord::SUB_CLASS_TEXT);
    case 'W': return ResourceString(UnitClassLossRecord::WEAPON_CLASS_TEXT);
    default: return ResourceString(UnitClassLossRecord::OTHER_CLASS_TEXT);
    }
}
}  // namespace

UnitClassLossRecord::UnitClassLossRecord(uint16_t recordID_, uint32_t typeLetter_, int32_t count_)
    : VictoryItem(VictoryTag::CLASS_LOSS), count(count_), typeLetter(typeLetter_), recordID(recordID_)
{
}

UnitClassLossRecord::UnitClassLossRecord(std::istream& in) : VictoryItem(VictoryTag::CLASS_LOSS)
{
    Load(in);
}

bool UnitClassLossRecord::MatchesUnit(const Unit* unit) const
{
    return HasClassKey(unit, recordID, typeLetter);
}

void UnitClassLossRecord::Save(std::ostream& out) const
{
    SaveField(out, GetTag());
    SaveField(out, recordID);
    SaveField(out, typeLetter);
    SaveField(out, count);
}

void UnitClassLossRecord::Load(std::istream& in)
{
    LoadField(in, recordID);
    LoadField(in, typeLetter);
    LoadField(in, count);
}

std::string UnitClassLossRecord::Describe() const
{
    return FitDescription("      " + std::to_string(count) + " " + ClassName(typeLetter, recordID));
}

bool UnitClassLossRecord::IsSameClass(const UnitClassLossRecord& other) const
{
    return recordID == other.recordID && typeLetter == other.typeLetter;
}

void UnitClassLossRecord::AddCount(UnitClassLossRecord* other)
{
    if (other == nullptr || other == this)
        return;
    count = static_cast<int32_t>(static_cast<uint32_t>(count) + static_cast<uint32_t>(other->count));
    delete other;
}
