// OpsStaff.cpp: the ops staff's construction, the creation and deletion of
// missions, the side's mission pass and the saved form. Unit moves and the
// focus unit are OpsStaffUnits.cpp; the forwarders to one mission and the
// mission edit OpsStaffCalls.cpp.
#include "missions/OpsStaff.h"

#include <istream>
#include <ostream>
#include <string>

#include "core/ErrorReport.h"
#include "core/ResourceText.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "missions/FerryMission.h"
#include "missions/HoldingMission.h"
#include "missions/InterceptMission.h"
#include "missions/PatrolMission.h"
#include "missions/ReconMission.h"
#include "missions/StandingMission.h"
#include "missions/StrikeMission.h"
#include "missions/Side.h"
#include "units/Unit.h"
#include "units/PlaneBridge.h"
#include "world/game2ui.h"

namespace {

// By creation kind: 1..3 patrol, 4 transit, 5 recon, 6..7 support, 8
// intercept, 9..12 strike, 13 ferry. A null row is a kind whose class the
// program does not have yet: the windows refuse it as an unknown kind.
MissionKindMaker kindMakers[MissionKind::LAST + 1] = {
    nullptr,    // 0: never a kind
    PatrolMission::Make,    // 1 patrol
    PatrolMission::Make,    // 2 patrol
    PatrolMission::Make,    // 3 patrol
    nullptr,    // 4 transit
    ReconMission::MakeForKind,   // 5
    nullptr,    // 6 support
    nullptr,    // 7 support
    InterceptMission::MakeForKind,    // 8 intercept
    StrikeMission::MakeForKind,    // 9 strike
    StrikeMission::MakeForKind,    // 10 strike
    StrikeMission::MakeForKind,    // 11 strike
    StrikeMission::MakeForKind,    // 12 strike
    FerryMission::MakeForKind,    // 13 ferry
};

// Message class of the mission notices to the player.
constexpr uint16_t MISSION_MESSAGE_CLASS = 0x100;

// The target classes a strike kind is after; 0 for any other kind.
uint32_t StrikeClassMask(uint16_t kind)
{
    switch (kind) {
    case 9: return 0x4;             // air
    case 10: return 0xFFFFE7F0;     // everything but ships, submarines, air and torpedoes
    case 11: return 0x1;            // surface
    case 12: return 0x2;            // subsurface
    default: return 0;
    }
}

// Reports a resource text in an error box.
void ShowErrorText(int32_t number, const char* owner) { ReportResourceText(number, owner, ErrorBox); }

} // namespace

MissionKindMaker GetMissionKindMaker(uint16_t kind) { return kind <= MissionKind::LAST ? kindMakers[kind] : nullptr; }

MissionKindMaker SetMissionKindMaker(uint16_t kind, MissionKindMaker maker)
{
    if (kind == 0 || kind > MissionKind::LAST)
        return nullptr;
    const MissionKindMaker previous = kindMakers[kind];
    kindMakers[kind] = maker;
    return previous;
}

OpsStaff::OpsStaff(Side* owner) : MissionList(owner)
{
    MissionRecord* const standing = new StandingMission(0, ResourceString(STANDING_NAME_TEXT).c_str(), owner);
    standing->SetKey(STANDING_MISSION_ID);
    Insert(standing);
    MissionRecord* const holding = new HoldingMission(0, ResourceString(HOLDING_NAME_TEXT).c_str(), owner);
    holding->SetKey(STANDING_MISSION2_ID);
    Insert(holding);
}

// ---- creation and deletion ----

uint16_t OpsStaff::NextFreeMissionID() const
{
    uint16_t id = NextMissionID;
    for (uint32_t tries = 0; tries <= 0xFFFF; ++tries, ++id) {
        if (id >= FIRST_CREATED_MISSION_ID && !Find(id))
            return id;
    }
    return 0;
}

uint16_t OpsStaff::InsertNewMission(MissionRecord* mission)
{
    const uint16_t id = NextFreeMissionID();
    if (id == 0)
        return 0;
    mission->SetKey(id);
    Insert(mission);
    NextMissionID = static_cast<uint16_t>(id + 1);
    return id;
}

void OpsStaff::RemoveAndDelete(MissionRecord* mission)
{
    Remove(mission);
    delete mission;
}

uint16_t OpsStaff::AdmitCreatedMission(MissionRecord* mission, const MissionNameRecord* settings)
{
    if (!mission)
        return 0;
    if (!mission->IsValid()) {
        delete mission;
        return 0;
    }
    if (settings) {
        MissionNameRecord copy = *settings;
        mission->ApplySettings(copy);
    }
    const uint16_t id = InsertNewMission(mission);
    if (id == 0) {
        ErrorBox("OpsStaff: every mission id is in use");
        delete mission;
    }
    return id;
}

uint16_t OpsStaff::CreateMission(const char* name, uint16_t kind, const MissionNameRecord* settings, const IDList* ids)
{
    if (!ids)
        return 0;
    const MissionKindMaker make =
        kind >= MissionKind::FIRST_AREA && kind <= MissionKind::LAST_AREA ? GetMissionKindMaker(kind) : nullptr;
    if (!make) {
        ShowErrorText(BAD_AREA_KIND_TEXT, "OpsStaff::CreateMission");
        return 0;
    }
    return AdmitCreatedMission(make(kind, name, ids, 0, side), settings);
}

uint16_t OpsStaff::CreateTargetedMissions(const char* name, uint16_t kind, const MissionNameRecord* settings,
                                          uint16_t singleID, const IDList* selection)
{
    const bool strike = kind >= MissionKind::FIRST_STRIKE && kind <= MissionKind::LAST_STRIKE;
    const MissionKindMaker make = strike || kind == MissionKind::FERRY ? GetMissionKindMaker(kind) : nullptr;
    if (!make) {
        ShowErrorText(BAD_TARGETED_KIND_TEXT, "OpsStaff::CreateTargetedMissions");
        return 0;
    }
    const bool anySelected = selection && selection->First();
    if (kind == MissionKind::FERRY) {
        if (!anySelected)
            return AdmitCreatedMission(make(kind, name, nullptr, singleID, side), settings);
        // The first destination that makes a valid mission is taken.
        for (const IDNode* node = selection->First(); node; node = node->GetNext()) {
            if (const uint16_t id = AdmitCreatedMission(make(kind, name, nullptr, node->GetKey(), side), settings))
                return id;
        }
        return 0;
    }

    IDList targets;
    if (singleID != 0) {
        if (IsStrikeTarget(singleID, kind))
            targets.Insert(new IDNode(singleID));
    } else if (anySelected) {
        for (const IDNode* node = selection->First(); node; node = node->GetNext()) {
            if (IsStrikeTarget(node->GetKey(), kind))
                targets.Insert(new IDNode(node->GetKey()));
        }
        if (!targets.First()) {
            const std::string text = ResourceString(NO_STRIKE_TARGET_TEXT);
            ui2game::PostGameMessage(0, 0, text.c_str(), MISSION_MESSAGE_CLASS, ' ');
            return 0;
        }
    }
    return AdmitCreatedMission(make(kind, name, &targets, 0, side), settings);
}

bool OpsStaff::IsStrikeTarget(uint16_t unitID, uint16_t kind)
{
    const uint32_t mask = StrikeClassMask(kind);
    if (game2ui::IsContactOfPlayer(unitID))
        return false;
    if (const Unit* const unit = gam2arena::FindUnit(unitID))
        return (unit->GetTargetMask() & mask) != 0;
    const SideContacts* const current = gam2arena::GetCurrentSide();
    const Contact* const contact = current ? current->GetContact(unitID) : nullptr;
    return contact && (contact->GetTypeFlags() & mask) != 0;
}

MissionRecord* OpsStaff::StartInterceptMission(const IDList* targets, uint16_t& id)
{
    id = 0;
    const MissionKindMaker make = GetMissionKindMaker(MissionKind::INTERCEPT);
    if (!make)
        return nullptr;
    const std::string name = ResourceString(INTERCEPT_NAME_TEXT);
    MissionRecord* const mission = make(MissionKind::INTERCEPT, name.c_str(), targets, 0, side);
    if (!mission)
        return nullptr;
    id = InsertNewMission(mission);
    if (id == 0) {
        ErrorBox("OpsStaff: every mission id is in use");
        delete mission;
        return nullptr;
    }
    return mission;
}

void OpsStaff::ApplyInterceptSettings(MissionRecord& mission)
{
    MissionNameRecord settings;
    settings.flagBits = INTERCEPT_FLAGS;
    mission.ApplySettings(settings);
}

Unit* OpsStaff::FindUnitTakingPart(uint16_t unitID) const
{
    Unit* const unit = gam2arena::FindUnit(unitID);
    if (!unit || !side || unit->GetSideID() != side->GetID())
        return nullptr;
    const SideContacts* const current = gam2arena::GetCurrentSide();
    if (!current || current->GetKey() != unit->sideEntryID)
        return nullptr;
    return unit;
}

uint16_t OpsStaff::FinishInterceptMission(MissionRecord* mission, uint16_t id)
{
    if (mission->IsValid())
        return id;
    RemoveAndDelete(mission);
    return 0;
}

uint16_t OpsStaff::CreateInterceptMission(const IDList* selected, const IDList* targets)
{
    uint16_t id = 0;
    MissionRecord* const mission = StartInterceptMission(targets, id);
    if (!mission)
        return 0;
    bool allAircraft = true;
    for (const IDNode* node = selected ? selected->First() : nullptr; node; node = node->GetNext()) {
        Unit* const unit = FindUnitTakingPart(node->GetKey());
        if (!unit)
            continue;
        const uint16_t unitID = node->GetKey();
        DetachFromOutsideGroup(*unit, *selected);
        if (IsGroupLike(*unit))
            MoveGroup(unitID, FindMissionOfUnit(unitID), id);
        else
            MoveUnitToMission(unitID, id);
        const char letter = unit->GetTypeLetter();
        if (letter != 'P' && letter != 'A')
            allAircraft = false;
    }
    const uint16_t answer = FinishInterceptMission(mission, id);
    if (answer != 0 && allAircraft)
        ApplyInterceptSettings(*mission);
    return answer;
}

uint16_t OpsStaff::AssignInterceptMission(const IDList* selected, const IDList* targets)
{
    uint16_t id = 0;
    MissionRecord* const mission = StartInterceptMission(targets, id);
    if (!mission)
        return 0;
    ApplyInterceptSettings(*mission);
    for (const IDNode* node = selected ? selected->First() : nullptr; node; node = node->GetNext()) {
        Unit* const unit = FindUnitTakingPart(node->GetKey());
        if (!unit)
            continue;
        const uint16_t unitID = node->GetKey();
        const char letter = unit->GetTypeLetter();
        if (letter == 'P') {
            DetachFromOutsideGroup(*unit, *selected);
            MoveUnitToMission(unitID, id);
        } else if (letter == 'A') {
            MoveGroup(unitID, FindMissionOfUnit(unitID), id);
        }
    }
    return FinishInterceptMission(mission, id);
}

void OpsStaff::DeleteAllMissions()
{
    MissionRecord* mission = First();
    while (mission) {
        const uint16_t type = mission->GetType();
        if (type != MissionType::STANDING)
            mission->ReleaseAllUnits();
        MissionRecord* const next = mission->GetNext();
        if (type != MissionType::STANDING && type != MissionType::HOLDING)
            RemoveAndDelete(mission);
        mission = next;
    }
}

void OpsStaff::DeleteAllUnits()
{
    for (MissionRecord* mission = First(); mission; mission = mission->GetNext())
        mission->DeleteUnits();
    FocusUnitID = 0;
}

void OpsStaff::ReleaseMissionUnits()
{
    for (MissionRecord* mission = First(); mission; mission = mission->GetNext())
        mission->units.DeleteAll();
    FocusUnitID = 0;
}

// ---- the side's mission pass ----

MissionRecord* OpsStaff::CursorMission() const { return CursorMissionID != 0 ? Find(CursorMissionID) : First(); }

bool OpsStaff::MoveCursorPast(const MissionRecord* mission)
{
    const MissionRecord* const next = mission ? mission->GetNext() : nullptr;
    CursorMissionID = next ? next->GetID() : 0;
    return next != nullptr;
}

bool OpsStaff::StepMissionPlanning()
{
    MissionRecord* const mission = CursorMission();
    if (mission)
        mission->QueuePlanning();
    return MoveCursorPast(mission);
}

bool OpsStaff::StepMissionChecks()
{
    MissionRecord* const mission = CursorMission();
    if (!mission)
        return MoveCursorPast(nullptr);
    const uint16_t type = mission->GetType();
    // The standing missions hold every unit without another mission: a
    // finished flag on them (from a damaged file) is not acted on.
    if (mission->IsFinished() && type != MissionType::STANDING && type != MissionType::HOLDING) {
        mission->ReleaseAllUnits();
        const bool more = MoveCursorPast(mission);
        RemoveAndDelete(mission);
        return more;
    }
    if (mission->PlanStep()) {
        CursorMissionID = mission->GetID();
        return true;
    }
    return MoveCursorPast(mission);
}

bool OpsStaff::HasAnyUnits() const
{
    for (const MissionRecord* mission = First(); mission; mission = mission->GetNext()) {
        if (mission->FirstUnitID() != 0)
            return true;
    }
    return false;
}

// ---- saved form ----

bool OpsStaff::Save(std::ostream& out) const
{
    SaveField(out, FocusUnitID);
    SaveField(out, CursorMissionID);
    SaveField(out, NextMissionID);
    return MissionList::Save(out);
}

bool OpsStaff::Load(std::istream& in)
{
    uint16_t focus = 0;
    uint16_t cursor = 0;
    uint16_t next = 0;
    LoadField(in, focus);
    LoadField(in, cursor);
    LoadField(in, next);
    if (!in)
        return false;
    // Read into a list of its own so that a damaged section leaves this one
    // as it was.
    MissionList loaded(side);
    if (!loaded.Load(in))
        return false;
    DeleteAll();
    while (MissionRecord* const mission = loaded.First()) {
        loaded.Remove(mission);
        Insert(mission);
    }
    FocusUnitID = focus;
    CursorMissionID = cursor;
    NextMissionID = next;
    return true;
}
