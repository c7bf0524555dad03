// ContactReport.cpp: SideContacts::ReportChanges, the player's running
// account of the sensor picture: one message per side update listing new,
// changed and dropped contacts with who saw them, when and with what.
#include <cstdio>
#include <sstream>
#include <string>

#include "annex/DBEnum.h"
#include "core/ResourceText.h"
#include "core/gam2arena.h"
#include "engagement/ContactCalls.h"
#include "engagement/SideContacts.h"
#include "units/SideRecords.h"
#include "units/Unit.h"
#include "world/game2ui.h"

namespace {

constexpr uint16_t REPORTED_CHANGES = 0x6B;
constexpr uint16_t DETAIL_CHANGES = 0x11;
constexpr uint16_t SIZE_CHANGES = 0x51;
constexpr uint16_t STATUS_CHANGE = 0x20;

constexpr uint32_t LEVEL_NEW = 4;
constexpr uint32_t LEVEL_CHANGED = 8;
constexpr uint32_t LEVEL_LOST = 0x80;

constexpr int32_t TEXT_HEADER = 0x7B01F8;
constexpr int32_t TEXT_NEW = 0x7B01F9;
constexpr int32_t TEXT_DESIGNATED = 0x7B01FA;
constexpr int32_t TEXT_AIR = 0x7B01FB;
constexpr int32_t TEXT_SURFACE = 0x7B01FC;
constexpr int32_t TEXT_SUBSURFACE = 0x7B01FD;
constexpr int32_t TEXT_TORPEDO = 0x7B01FE;
constexpr int32_t TEXT_INSTALLATION = 0x7B01FF;
constexpr int32_t TEXT_IDENTIFIED = 0x7B0200;
constexpr int32_t TEXT_HOSTILE = 0x7B0202;
constexpr int32_t TEXT_NEUTRAL = 0x7B0203;
constexpr int32_t TEXT_FRIENDLY = 0x7B0204;
constexpr int32_t TEXT_UNKNOWN_RELATION = 0x7B0205;
constexpr int32_t TEXT_LOST = 0x7B0206;
constexpr int32_t TEXT_STATUS = 0x7B0207;
constexpr int32_t TEXT_COURSE = 0x7B0208;
constexpr int32_t TEXT_DETECTED_BY = 0x7B0209;
constexpr int32_t TEXT_TIME = 0x7B020A;
constexpr int32_t TEXT_SENSORS = 0x7B020B;
constexpr int32_t TEXT_NO_SENSORS = 0x7B020C;

// The resource text, or "" when it cannot be had.
std::string Text(int32_t number)
{
    return ResourceString(number);
}


// The letter a contact reports as: a torpedo ('W' with mask 0x800) is 'G'.
char ReportLetter(const Contact& contact)
{
    if (contact.typeLetter == 'W' && contact.GetTypeFlags() == 0x800)
        return 'G';
    return static_cast<char>(contact.typeLetter);
}

int32_t TypeText(char letter, int32_t sizeText)
{
    switch (letter) {
    case 'B':
    case 'F': return TEXT_INSTALLATION;
    case 'G': return TEXT_TORPEDO;
    case 'P':
    case 'W': return TEXT_AIR;
    case 'S': return TEXT_SURFACE;
    case 'U': return TEXT_SUBSURFACE;
    default: return sizeText;
    }
}

int32_t RelationText(uint8_t relation)
{
    switch (relation) {
    case 1: return TEXT_HOSTILE;
    case 2: return TEXT_FRIENDLY;
    case 3: return TEXT_NEUTRAL;
    default: return TEXT_UNKNOWN_RELATION;
    }
}

// The names of the sensor types whose bits are set, in table order.
std::string SensorNames(uint32_t bits)
{
    std::string names;
    const DBEnumTable& table = DBEnum::SensorTypes();
    for (uint16_t i = 0; i < table.count; ++i) {
        const uint32_t code = table.rows[i].code;
        if (code >= 32 || (bits & (uint32_t{1} << code)) == 0)
            continue;
        if (!names.empty())
            names += ", ";
        names += table.rows[i].name;
    }
    return names;
}

void SetLevelOnce(uint32_t& level, uint32_t value)
{
    if (level == 0)
        level = value;
}

}  // namespace

void SideContacts::ReportChanges(uint16_t sideID)
{
    if (sideID == 0 || !gam2arena::SideExists(sideID))
        return;
    std::ostringstream text;
    uint32_t level = 0;
    char letter = 0;
    bool reported = false;
    for (const Contact* c = contacts.First(); c != nullptr; c = c->GetNext()) {
        const uint16_t changes = c->changeBits;
        if ((changes & REPORTED_CHANGES) == 0)
            continue;
        if (c->typeLetter == 'W' && c->sideId == sideID)
            continue;   // the side's own weapons
        if (!reported && game2ui::GetShowAll())
            text << Text(TEXT_HEADER) << sideID << '\n';
        reported = true;

        char name[Contact::NAME_TEXT_SIZE];
        c->GetName(name);
        if (changes & ContactChange::NEW) {
            level = LEVEL_NEW;
            text << Text(TEXT_NEW) << '\n' << Text(TEXT_DESIGNATED) << name << '\n';
        } else {
            text << name << '\n';
        }
        if (changes & DETAIL_CHANGES)
            SetLevelOnce(level, LEVEL_CHANGED);
        if (changes & SIZE_CHANGES) {
            const int32_t size = c->GetSizeText();
            letter = ReportLetter(*c);
            text << ' ' << Text(size) << ' ' << Text(TypeText(letter, size)) << '\n';
        }
        if (changes & ContactChange::IDENTIFIED) {
            text << Text(TEXT_IDENTIFIED) << '\n';
            SetLevelOnce(level, LEVEL_CHANGED);
        }
        if (changes & ContactChange::SIDE_KNOWN) {
            SetLevelOnce(level, LEVEL_CHANGED);
            text << "  Determined as " << Text(RelationText(SideRelations::GetRelation(sideID, c->sideId))) << '\n';
        }
        if (changes & ContactChange::DROPPED) {
            SetLevelOnce(level, LEVEL_LOST);
            text << Text(TEXT_LOST) << '\n';
        }
        if (changes & STATUS_CHANGE)
            text << Text(TEXT_STATUS) << '\n';
        if (changes & ContactChange::COURSE) {
            SetLevelOnce(level, LEVEL_CHANGED);
            text << Text(TEXT_COURSE) << '\n';
        }
        if (const Unit* const observer = gam2arena::FindUnit(c->observerId)) {
            text << Text(TEXT_DETECTED_BY) << observer->GetName().Text() << '\n';
            GameClockRecord clock;
            unit2gam::GetGameDate(c->lastDetection.Get(), clock);
            char time[16];
            std::snprintf(time, sizeof time, "%02u:%02u:%02u", unsigned{clock.hour}, unsigned{clock.minute},
                          unsigned{clock.second});
            text << Text(TEXT_TIME) << time << '\n';
        }
        const std::string sensors = SensorNames(c->sensorBitsLatest);
        text << Text(TEXT_SENSORS) << (sensors.empty() ? Text(TEXT_NO_SENSORS) : sensors) << '\n';
        text << '\n';
    }
    if (reported)
        ui2game::PostGameMessage(sideID, level, letter, text.str().c_str());
}
