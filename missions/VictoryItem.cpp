// VictoryItem.cpp: the base victory item and the items of tags 1, 2, 3, 4
// and 8: their unit tests, saved forms and descriptions.
#include "missions/VictoryItem.h"

#include <istream>
#include <ostream>

#include "core/ResourceText.h"
#include "core/StreamFields.h"
#include "missions/RecordNameCalls.h"
#include "units/Unit.h"

namespace {
// Resource texts of the descriptions.
constexpr int32_t KIND_TEXT = 0x7B011C;             // before a platform kind
constexpr int32_t KIND_BLANK_TEXT = 0x7B011D;       // letter ' '
constexpr int32_t KIND_SHIP_TEXT = 0x7B011E;        // 'S' without a record
constexpr int32_t KIND_PLANE_TEXT = 0x7B011F;       // 'P' without a record
constexpr int32_t KIND_SUB_TEXT = 0x7B0120;         // 'U' without a record
constexpr int32_t KIND_FACILITY_TEXT = 0x7B0121;    // 'F'
constexpr int32_t KIND_WEAPON_TEXT = 0x7B0122;      // 'W' without a record
constexpr int32_t KIND_OTHER_TEXT = 0x7B0123;       // any other letter
constexpr int32_t UNIT_NAME_TEXT = 0x7B0124;        // before a class name
constexpr int32_t UNIT_TEXT = 0x7B0125;             // before a unit's name
constexpr int32_t TYPE_TEXT = 0x7B0126;             // before a type
constexpr int32_t TYPE_SHIP_TEXT = 0x7B0127;        // 'S'
constexpr int32_t TYPE_SUB_TEXT = 0x7B0128;         // 'U'
constexpr int32_t TYPE_PLANE_TEXT = 0x7B0129;       // 'P'
constexpr int32_t TYPE_FACILITY_TEXT = 0x7B012A;    // 'F'
constexpr int32_t TYPE_OTHER_TEXT = 0x7B012B;       // any other letter

// The unit's type letter as the items keep it: its character code,
// sign-extended to 32 bits.
uint32_t LetterOf(const Unit& unit)
{
    return static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(unit.GetTypeLetter())));
}

// The platform kind's name after KIND_TEXT: the database record's name for
// aircraft, ships, submarines and weapons, else (or without a record) the
// fixed text of the letter.
std::string KindName(uint32_t letter, uint16_t annexID)
{
    std::string name;
    if ((letter == 'P' || letter == 'S' || letter == 'U' || letter == 'W') &&
        FindClassRecordName(letter, annexID, name))
        return name;
    switch (letter) {
    case ' ': return ResourceString(KIND_BLANK_TEXT);
    case 'F': return ResourceString(KIND_FACILITY_TEXT);
    case 'P': return ResourceString(KIND_PLANE_TEXT);
    case 'S': return ResourceString(KIND_SHIP_TEXT);
    case 'U': return ResourceString(KIND_SUB_TEXT);
    case 'W': return ResourceString(KIND_WEAPON_TEXT);
    default: return ResourceString(KIND_OTHER_TEXT);
    }
}

int32_t TypeText(uint32_t letter)
{
    switch (letter) {
    case 'S': return TYPE_SHIP_TEXT;
    case 'U': return TYPE_SUB_TEXT;
    case 'P': return TYPE_PLANE_TEXT;
    case 'F': return TYPE_FACILITY_TEXT;
    default: return TYPE_OTHER_TEXT;
    }
}

// The unit with this id and name.
bool IsNamedUnit(const Unit* unit, uint16_t unitID, const NameString& name)
{
    return unit != nullptr && unit->GetID() == unitID && unit->GetName().IsEqual(name);
}
}  // namespace

// --- VictoryItem ---

bool VictoryItem::MatchesUnit(const Unit*) const
{
    return false;
}

void VictoryItem::Save(std::ostream&) const {}

void VictoryItem::Load(std::istream&) {}

std::string VictoryItem::Describe() const
{
    return "VictoryItem::Describe: not a legal victory item";
}

std::string VictoryItem::FitDescription(std::string text)
{
    if (text.size() >= DESCRIPTION_SIZE)
        text.resize(DESCRIPTION_SIZE - 1);
    return text;
}

bool VictoryItem::HasClassKey(const Unit* unit, uint16_t recordID, uint32_t letter)
{
    if (unit == nullptr)
        return false;
    const uint32_t key = unit->GetClassKey();
    const auto keyLetter = static_cast<uint32_t>(static_cast<int32_t>(key) >> 16);  // sign-extended
    return (key & 0xFFFF) == recordID && keyLetter == letter;
}

// --- PlatformKindItem (tag 1) ---

PlatformKindItem::PlatformKindItem(uint16_t annexID_, uint32_t typeLetter_)
    : VictoryItem(VictoryTag::PLATFORM_KIND), annexID(annexID_), typeLetter(typeLetter_)
{
}

PlatformKindItem::PlatformKindItem(std::istream& in) : VictoryItem(VictoryTag::PLATFORM_KIND)
{
    Load(in);
}

bool PlatformKindItem::MatchesUnit(const Unit* unit) const
{
    return HasClassKey(unit, annexID, typeLetter);
}

void PlatformKindItem::Save(std::ostream& out) const
{
    SaveField(out, GetTag());
    SaveField(out, annexID);
    SaveField(out, typeLetter);
}

void PlatformKindItem::Load(std::istream& in)
{
    LoadField(in, annexID);
    LoadField(in, typeLetter);
}

std::string PlatformKindItem::Describe() const
{
    return FitDescription(ResourceString(KIND_TEXT) + KindName(typeLetter, annexID));
}

bool PlatformKindItem::IsSameKind(const PlatformKindItem& other) const
{
    return annexID == other.annexID && typeLetter == other.typeLetter;
}

// --- UnitNameItem (tag 2) ---

UnitNameItem::UnitNameItem() : VictoryItem(VictoryTag::UNIT_NAME) {}

UnitNameItem::UnitNameItem(const char* unitName) : VictoryItem(VictoryTag::UNIT_NAME)
{
    name.Set(unitName);
}

UnitNameItem::UnitNameItem(std::istream& in) : VictoryItem(VictoryTag::UNIT_NAME)
{
    Load(in);
}

bool UnitNameItem::MatchesUnit(const Unit* unit) const
{
    return unit != nullptr && unit->GetClassName().IsEqual(name);
}

void UnitNameItem::Save(std::ostream& out) const
{
    SaveField(out, GetTag());
    name.Save(out);
}

void UnitNameItem::Load(std::istream& in)
{
    name.Load(in);
}

std::string UnitNameItem::Describe() const
{
    return FitDescription(ResourceString(UNIT_NAME_TEXT) + name.Text());
}

// --- UnitItem (tag 3) ---

UnitItem::UnitItem(uint16_t unitID_, const char* unitName) : VictoryItem(VictoryTag::UNIT), unitID(unitID_)
{
    name.Set(unitName);
}

UnitItem::UnitItem(std::istream& in) : VictoryItem(VictoryTag::UNIT)
{
    Load(in);
}

bool UnitItem::MatchesUnit(const Unit* unit) const
{
    return IsNamedUnit(unit, unitID, name);
}

void UnitItem::Save(std::ostream& out) const
{
    SaveField(out, GetTag());
    SaveField(out, unitID);
    name.Save(out);
}

void UnitItem::Load(std::istream& in)
{
    LoadField(in, unitID);
    name.Load(in);
}

std::string UnitItem::Describe() const
{
    return FitDescription(ResourceString(UNIT_TEXT) + name.Text());
}

bool UnitItem::IsEqual(const UnitItem& other) const
{
    return unitID == other.unitID && name.IsEqual(other.name);
}

// --- UnitTypeItem (tag 4) ---

UnitTypeItem::UnitTypeItem() : VictoryItem(VictoryTag::UNIT_TYPE) {}

UnitTypeItem::UnitTypeItem(uint32_t letter) : VictoryItem(VictoryTag::UNIT_TYPE), typeLetter(letter) {}

UnitTypeItem::UnitTypeItem(std::istream& in) : VictoryItem(VictoryTag::UNIT_TYPE)
{
    Load(in);
}

bool UnitTypeItem::MatchesUnit(const Unit* unit) const
{
    return unit != nullptr && LetterOf(*unit) == typeLetter;
}

void UnitTypeItem::Save(std::ostream& out) const
{
    SaveField(out, GetTag());
    SaveField(out, typeLetter);
}

void UnitTypeItem::Load(std::istream& in)
{
    LoadField(in, typeLetter);
}

std::string UnitTypeItem::Describe() const
{
    return FitDescription(ResourceString(TYPE_TEXT) + ResourceString(TypeText(typeLetter)));
}

// --- UnitValuesItem (tag 8) ---

UnitValuesItem::UnitValuesItem(uint16_t unitID_, const char* unitName, uint32_t first, uint32_t second)
    : VictoryItem(VictoryTag::UNIT_VALUES), firstValue(first), secondValue(second), unitID(unitID_)
{
    name.Set(unitName);
}

UnitValuesItem::UnitValuesItem(std::istream& in) : VictoryItem(VictoryTag::UNIT_VALUES)
{
    Load(in);
}

bool UnitValuesItem::MatchesUnit(const Unit* unit) const
{
    return IsNamedUnit(unit, unitID, name);
}

// The unit id and name come before the two values on disk, though the
// item keeps the values first.
void UnitValuesItem::Save(std::ostream& out) const
{
    SaveField(out, GetTag());
    SaveField(out, unitID);
    name.Save(out);
    SaveField(out, firstValue);
    SaveField(out, secondValue);
}

void UnitValuesItem::Load(std::istream& in)
{
    LoadField(in, unitID);
    name.Load(in);
    LoadField(in, firstValue);
    LoadField(in, secondValue);
}

std::string UnitValuesItem::Describe() const
{
    return FitDescription(ResourceString(UNIT_TEXT) + name.Text());
}

bool UnitValuesItem::IsEqual(const UnitValuesItem& other) const
{
    return unitID == other.unitID && name.IsEqual(other.name);
}
