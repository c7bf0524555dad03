// UnitClassLossRecord.cpp: the loss tally of one unit class: its match,
// merge, saved form and description.
#include "missions/UnitClassLossRecord.h"

#include <istream>
#include <ostream>

#include "core/ResourceText.h"
#include "core/StreamFields.h"
#include "missions/RecordNameCalls.h"

namespace {
// Bytes of a ship's name as the database writes it; the other classes'
// names fit a name field.
constexpr uint16_t SHIP_NAME_SIZE = 48;

// The class's name from the database, or its letter's fixed text.
std::string ClassName(uint32_t letter, uint16_t recordID)
{
    bool (*lookup)(uint16_t, char*, uint16_t) = nullptr;
    uint16_t size = NameString::SIZE;
    int32_t missingText = UnitClassLossRecord::OTHER_CLASS_TEXT;
    switch (letter) {
    case ' ':
        return ResourceString(UnitClassLossRecord::BLANK_CLASS_TEXT);  // no lookup for a blank
    case 'F':
        lookup = &CopyFacilityRecordName;
        missingText = UnitClassLossRecord::FACILITY_CLASS_TEXT;
        break;
    case 'P':
        lookup = &CopyPlaneRecordName;
        missingText = UnitClassLossRecord::PLANE_CLASS_TEXT;
        break;
    case 'S':
        lookup = &CopyShipRecordName;
        size = SHIP_NAME_SIZE;
        missingText = UnitClassLossRecord::SHIP_CLASS_TEXT;
        break;
    case 'U':
        lookup = &CopySubRecordName;
        missingText = UnitClassLossRecord::SUB_CLASS_TEXT;
        break;
    case 'W':
        lookup = &CopyRecordName;
        missingText = UnitClassLossRecord::WEAPON_CLASS_TEXT;
        break;
    default:
        return ResourceString(UnitClassLossRecord::OTHER_CLASS_TEXT);
    }
    char buffer[SHIP_NAME_SIZE + 1] = {};
    if (lookup(recordID, buffer, size))
        return buffer;
    return ResourceString(missingText);
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
