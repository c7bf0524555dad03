// Status.cpp: the unit information texts. A unit of the player's view speaks
// for itself; anything else is shown as the current side knows it.
#include "units/Status.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/ErrorReport.h"
#include "core/ResourceLoader.h"
#include "core/gam2arena.h"
#include "units/Group.h"
#include "units/Unit.h"
#include "world/game2ui.h"

namespace {

constexpr int32_t TEXT_NO_SELECTION = 0x7B0225;
constexpr int32_t TEXT_NO_SENSORS = 0x7B0226;
constexpr int32_t TEXT_UNIT_GONE = 0x7B0227;
constexpr int32_t TEXT_NOT_OURS = 0x7B0228;
constexpr int NO_SELECTION_LINE = 13;
constexpr uint16_t CLEARED_LINE_COUNT = 15;

ContactTextCalls gCalls;

// Writes the names of the group's members that exist and pass `keep`, one a
// line, cut at size - 1 and terminated.
void WriteMemberNames(const Group& group, bool (*keep)(const Unit&), char* out, int32_t size)
{
    int32_t used = 0;
    for (const GroupEntry* e = group.members.First(); e != nullptr && used < size - 1; e = e->GetNext()) {
        const Unit* member = gam2arena::FindUnit(e->GetKey());
        if (member == nullptr || !keep(*member))
            continue;
        const char* name = member->GetName().Text();
        const int32_t length = static_cast<int32_t>(std::strlen(name));
        const int32_t room = size - 1 - used;
        const int32_t take = std::min(length, room);
        std::memcpy(out + used, name, static_cast<size_t>(take));
        used += take;
        if (used < size - 1)
            out[used++] = '\n';
    }
    out[used] = '\0';
}

bool AnyMember(const Unit&) { return true; }
bool IsFacility(const Unit& unit) { return unit.GetTypeLetter() == 'F'; }

// The group behind unitID when its type letter is one of `letters`; null
// otherwise.
const Group* FindMemberHolder(uint16_t unitID, const char* letters)
{
    const Unit* unit = unitID != 0 ? gam2arena::FindUnit(unitID) : nullptr;
    if (unit == nullptr || std::strchr(letters, unit->GetTypeLetter()) == nullptr)
        return nullptr;
    return dynamic_cast<const Group*>(unit);
}

// Starts a list text: false when there is nothing to write (a null or empty
// buffer, or unit id 0, which gives the empty text).
bool StartListText(uint16_t unitID, char* out, int32_t size)
{
    if (out == nullptr || size <= 0)
        return false;
    if (unitID == 0) {
        out[0] = '\0';
        return false;
    }
    return true;
}

}  // namespace

void CopyResourceText(int32_t number, char* out, int32_t size)
{
    out[0] = '\0';
    if (TheResourceLoader == nullptr)
        return;
    if (const char* words = TheResourceLoader->Get(number)) {
        std::snprintf(out, static_cast<size_t>(size), "%s", words);
        TheResourceLoader->Free(number);
    }
}

ContactTextCalls SetContactTextCalls(const ContactTextCalls& calls)
{
    const ContactTextCalls old = gCalls;
    gCalls = calls;
    return old;
}

void ClearUnitStatus(UnitStatus& status)
{
    for (char* line : status.lines)
        line[0] = '\0';
    status.afterLines = 0;
    status.lineCount = CLEARED_LINE_COUNT;
}

void GetUnitStatusText(uint16_t unitID, UnitStatus* statusInfo)
{
    if (statusInfo == nullptr) {
        FatalError("Status.cpp::GetUnitStatusText:  statusInfo == NULL");
        return;   // FatalError may return
    }
    if (unitID == 0) {
        CopyResourceText(TEXT_NO_SELECTION, statusInfo->lines[NO_SELECTION_LINE], UnitStatus::LINE_SIZE);
        statusInfo->lineCount = 0;
        return;
    }
    if (game2ui::IsContactOfPlayer(unitID)) {
        if (const Unit* unit = gam2arena::FindUnit(unitID))
            unit->GetStatus(*statusInfo);
        else
            statusInfo->lineCount = 0;
        return;
    }
    const int answer = gCalls.getStatus != nullptr ? gCalls.getStatus(unitID, *statusInfo) : -1;
    if (answer == 0)
        statusInfo->lineCount = 0;
}

void GetUnitWeaponsText(uint16_t unitID, char* out, int32_t size)
{
    if (!StartListText(unitID, out, size))
        return;
    if (!game2ui::IsContactOfPlayer(unitID)) {
        CopyResourceText(TEXT_NOT_OURS, out, size);
        return;
    }
    if (const Unit* unit = gam2arena::FindUnit(unitID))
        unit->GetWeaponsListText(out, size);
    else
        CopyResourceText(TEXT_UNIT_GONE, out, size);
}

void GetUnitSensorText(uint16_t unitID, char* out, int32_t size)
{
    if (!StartListText(unitID, out, size))
        return;
    if (game2ui::IsContactOfPlayer(unitID)) {
        if (const Unit* unit = gam2arena::FindUnit(unitID)) {
            unit->GetSensorListText(out, size);
            return;
        }
    } else {
        const int answer = gCalls.getSensorText != nullptr ? gCalls.getSensorText(unitID, out, size) : -1;
        if (answer != 0)
            return;   // written, or no current side: the buffer stands
    }
    CopyResourceText(TEXT_NO_SENSORS, out, size);
}

void GetGroupRosterText(uint16_t unitID, char* out, int32_t size)
{
    if (out == nullptr || size <= 0)
        return;
    out[0] = '\0';
    if (const Group* group = FindMemberHolder(unitID, "GA"))
        WriteMemberNames(*group, AnyMember, out, size);
}

void GetBaseFacilitiesText(uint16_t unitID, char* out, int32_t size)
{
    if (out == nullptr || size <= 0)
        return;
    out[0] = '\0';
    if (const Group* base = FindMemberHolder(unitID, "B"))
        WriteMemberNames(*base, IsFacility, out, size);
}

void FormatStatusTime(int32_t seconds, char* out)
{
    const uint32_t s = seconds > 0 ? static_cast<uint32_t>(seconds) : 0;
    std::snprintf(out, 32, "%u:%02u:%02u", s / 3600, s % 3600 / 60, s % 3600 % 60);
}

namespace {

const char* const CLOUD_TEXTS[] = {"Clear", "Scattered", "Partly Cloudy", "Overcast"};
const char* const PRECIPITATION_TEXTS[] = {"Clear",      "Light Fog", "Fog",        "Heavy Fog", "Light Rain",
                                           "Rain",       "Heavy Rain", "Light Snow", "Snow",      "Heavy Snow"};

template <size_t N>
const char* TableText(const char* const (&table)[N], uint8_t index)
{
    return index < N ? table[index] : "Clear";
}

}  // namespace

const char* CloudCoverText(uint8_t code)
{
    return TableText(CLOUD_TEXTS, code);
}

const char* PrecipitationText(uint8_t code)
{
    return TableText(PRECIPITATION_TEXTS, code);
}
