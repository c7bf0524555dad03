// ContactStatus.cpp: how a contact shows itself to the player: the status
// panel of a selected contact, its short tag and display line for lists and
// the map, and the list of sensors that have seen it. Also installs the
// contact side of the unit information texts (units/Status.h).
#include <cstdio>
#include <cstring>
#include <string>

#include "annex/AnnexTables.h"
#include "annex/DBEnum.h"
#include "core/ResourceLoader.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/ContactCalls.h"
#include "engagement/SideContacts.h"
#include "units/Status.h"
#include "units/Unit.h"
#include "units/Weapon.h"
#include "world/game2ui.h"

namespace {

constexpr uint16_t STATUS_LINE_COUNT = 77;
constexpr int32_t TEXT_SIDE_UNKNOWN = 0x7B01A2;
constexpr int32_t TEXT_ON_SURFACE = 0x7B01B3;
constexpr int32_t TEXT_ALTITUDE_UNKNOWN = 0x7B01B4;
constexpr int32_t TEXT_UNDAMAGED = 0x7B01B5;
constexpr int32_t TEXT_SINKING = 0x7B01B6;
constexpr int32_t TEXT_DAMAGED = 0x7B01B7;
constexpr int32_t TEXT_SLOWED = 0x7B01B8;
constexpr int32_t TEXT_SLOWED_SURFACE = 0x7B0271;
constexpr int32_t TEXT_ON_FIRE = 0x7B01B9;
constexpr int32_t TEXT_JOIN = 0x7B0270;
constexpr uint32_t MASK_SURFACE_ONLY = 0x60;
constexpr uint32_t MASK_SURFACE_BITS = 0x0C;
constexpr size_t LINE = UnitStatus::LINE_SIZE;
constexpr size_t TAG_SIZE = 32;

// Appends resource text `number` to out (a line of `size` bytes), cut to fit.
void AppendResourceText(int32_t number, char* out, size_t size)
{
    if (TheResourceLoader == nullptr)
        return;
    if (const char* words = TheResourceLoader->Get(number)) {
        const size_t used = std::strlen(out);
        if (used + 1 < size)
            std::snprintf(out + used, size - used, "%s", words);
        TheResourceLoader->Free(number);
    }
}

void CopyResourceLine(int32_t number, char* out)
{
    out[0] = '\0';
    AppendResourceText(number, out, LINE);
}

// The game calendar's time of day of `seconds` as hh:mm:ss.
void WriteClockTime(uint32_t seconds, char* out)
{
    GameClockRecord clock;
    if (!unit2gam::GetGameDate(seconds, clock))
        return;
    std::snprintf(out, LINE, "%02u:%02u:%02u", unsigned{clock.hour}, unsigned{clock.minute},
                  unsigned{clock.second});
}

void WriteConditionText(const Contact& c, char* out)
{
    const uint32_t bits = c.conditionBits;
    if (bits == 0)
        CopyResourceLine(TEXT_UNDAMAGED, out);
    else if (bits & 1)
        CopyResourceLine(TEXT_SINKING, out);
    else if (bits & 4)
        CopyResourceLine(TEXT_DAMAGED, out);
    else if ((bits & 8) && c.targetMask != MASK_SURFACE_ONLY)
        CopyResourceLine((c.targetMask & MASK_SURFACE_BITS) ? TEXT_SLOWED_SURFACE : TEXT_SLOWED, out);
    if (bits & 2) {
        if (out[0] != '\0')
            AppendResourceText(TEXT_JOIN, out, LINE);
        AppendResourceText(TEXT_ON_FIRE, out, LINE);
    }
}

void WriteAltitude(const Contact& c, char* out)
{
    if (c.knownBits & ContactKnown::ALTITUDE) {
        if (c.GetAltitude() != 0)
            std::snprintf(out, LINE, "%d0m", int{c.GetAltitude()});
        else
            CopyResourceLine(TEXT_ON_SURFACE, out);
    } else {
        CopyResourceLine((c.targetMask & 2) ? TEXT_ON_SURFACE : TEXT_ALTITUDE_UNKNOWN, out);
    }
}

bool IsInstallation(const Unit& unit)
{
    return unit.GetTypeLetter() == 'B' || unit.GetTypeLetter() == 'F';
}

const char* SensorName(uint16_t sensorID, char* role)
{
    role[0] = '\0';
    const AnnexTable<SensorAnnex>* table = Annex::Tables().Sensors();
    const SensorAnnex* record = table != nullptr ? table->Find(sensorID) : nullptr;
    if (record == nullptr)
        return "";
    DBEnum::GetSensorTypeName(record->GetSensorType(), role);
    return record->name.Text();
}

// The current side's contact on unitID; -1 without a current side, 0 without
// a contact.
int FindCurrentContact(uint16_t unitID, const Contact*& contact)
{
    const SideContacts* side = gam2arena::GetCurrentSide();
    if (side == nullptr)
        return -1;
    contact = side->GetContact(unitID);
    return contact != nullptr ? 1 : 0;
}

int ShowContactStatus(uint16_t unitID, UnitStatus& status)
{
    const Contact* contact = nullptr;
    const int found = FindCurrentContact(unitID, contact);
    if (found == 1)
        contact->GetStatus(status);
    return found;
}

int ShowContactSensors(uint16_t unitID, char* out, int32_t size)
{
    const Contact* contact = nullptr;
    const int found = FindCurrentContact(unitID, contact);
    if (found == 1)
        contact->GetSensorText(out, size);
    return found;
}

}  // namespace

int32_t Contact::GetSizeText() const
{
    int row = -1;
    switch (sizeClass) {
    case 1: row = 0; break;
    case 2: row = 1; break;
    case 4: row = 2; break;
    case 8: row = 3; break;
    case 16: row = 4; break;
    default: return TEXT_SIZE_UNKNOWN;   // 0, or a band a sonobuoy line left
    }
    if (identifiedAs == 0 && detectionKind == 4)
        return 0x7B01A3 + row;
    if (identifiedAs == 0 && detectionKind == 6)
        return 0x7B01A8 + row;
    return 0x7B01AD + row;
}

void Contact::GetStatus(UnitStatus& status) const
{
    char (&lines)[UnitStatus::LINE_COUNT][LINE] = status.lines;
    char text[NAME_TEXT_SIZE];
    GetName(text);
    std::snprintf(lines[0], LINE, "%.32s", text);
    if (sideId != 0) {
        if (const char* sideText = SideRelations::GetBaseName(sideId))
            std::snprintf(lines[2], LINE, "%.32s", sideText);
    } else {
        CopyResourceLine(TEXT_SIDE_UNKNOWN, lines[2]);
    }
    std::snprintf(lines[4], LINE, "%u", (knownBits & ContactKnown::COURSE) ? unsigned{course} : 0u);
    std::snprintf(lines[5], LINE, "%u", (knownBits & ContactKnown::SPEED) ? unsigned{speed} : 0u);
    WriteAltitude(*this, lines[6]);

    const Unit* unit = gam2arena::FindUnit(GetKey());
    if (typeLetter == 'W') {
        const Weapon* weapon = dynamic_cast<const Weapon*>(unit);
        if (weapon != nullptr && game2ui::IsContactOfPlayer(weapon->targetID))
            Weapon::FormatTimeToGo(weapon->timeToGo, lines[17], static_cast<int32_t>(LINE));
    }
    WriteClockTime(lastDetection.Get(), lines[18]);
    std::snprintf(lines[20], LINE, "%u", unsigned{statusValue});
    WriteConditionText(*this, lines[22]);
    if (unit != nullptr && IsInstallation(*unit)) {
        DBEnum::GetAircraftSizeName(unit->GetMaxAircraftSize(true, false), text);
        std::snprintf(lines[23], LINE, "%.32s", text);
    } else {
        CopyResourceLine(GetSizeText(), lines[25]);
    }
    status.lineCount = STATUS_LINE_COUNT;
}

void Contact::GetShortTag(char* out) const
{
    const Unit* unit = identifiedAs != 0 ? gam2arena::FindUnit(GetKey()) : nullptr;
    const char letter = unit != nullptr ? unit->GetName().Text()[0] : name.Text()[0];
    const unsigned number = unit != nullptr ? unit->GetID() % 1000u : contactNumber % 1000u;
    std::snprintf(out, TAG_SIZE, "%c%03u ", letter != '\0' ? letter : ' ', number);
}

void Contact::GetDisplayLine(char* out) const
{
    if (out == nullptr)
        return;
    char tag[TAG_SIZE];
    GetShortTag(tag);
    std::string line(tag, 4);
    line += ' ';
    char column[TAG_SIZE];
    if (!(knownBits & ContactKnown::COURSE)) {
        line += "XXX ";
    } else {
        std::snprintf(column, sizeof column, "%03u ", unsigned{course});
        line += column;
    }
    if (!(knownBits & ContactKnown::SPEED)) {
        line += "XXX";
    } else {
        std::snprintf(column, sizeof column, "%4u ", unsigned{speed});
        line += column;
    }
    if (knownBits & ContactKnown::ALTITUDE) {
        char band[TAG_SIZE + 8] = {};
        GetAltitudeBandName(band);
        line.append(band, strnlen(band, 4));
    } else {
        line += "XXX";
    }
    line += ' ';
    std::snprintf(out, TAG_SIZE, "%s", line.c_str());
}

void Contact::GetSensorText(char* out, int32_t size) const
{
    if (out == nullptr || size <= 0)
        return;
    std::string text;
    char role[TAG_SIZE];
    char row[96];
    for (const IDNode* id = sensorsEver.First(); id != nullptr; id = id->GetNext()) {
        const char* sensorName = SensorName(id->GetKey(), role);
        std::snprintf(row, sizeof row, "%c%-32.32s%-12.12s\n", sensorsLatest.Find(id->GetKey()) != nullptr ? '*' : ' ',
                      sensorName, role);
        text += row;
    }
    std::snprintf(out, static_cast<size_t>(size), "%s", text.c_str());
}

void InstallContactTexts()
{
    ContactTextCalls calls;
    calls.getStatus = ShowContactStatus;
    calls.getSensorText = ShowContactSensors;
    SetContactTextCalls(calls);
}
