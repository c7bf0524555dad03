// MissionEvents.cpp: the mission and mission-unit events, their hand-over to
// the side and their saved forms.
#include "simulation/MissionEvents.h"

#include "core/AllocationCheck.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "missions/MissionCalls.h"
#include "missions/Side.h"
#include "units/Unit.h"
#include "units/UnitEvents.h"

MissionEvent::MissionEvent(uint16_t sideID, uint16_t missionID, uint16_t value, uint32_t delay)
    : missionID(missionID), sideID(sideID), value(value)
{
    SetDueTime(GameTime(gam2arena::GetGameTime() + delay));
}

bool MissionEvent::HandleEvent()
{
    if (Side* const side = gam2arena::GetSide(sideID))
        side->HandleMissionEvent(missionID, value);
    return false;
}

Event* MissionEvent::Clone() const
{
    auto* const copy = new MissionEvent();
    AllocationCheck(copy);
    if (copy) {
        copy->missionID = missionID;
        copy->sideID = sideID;
        copy->value = value;
        copy->SetDueTime(GetTime());
    }
    return copy;
}

void MissionEvent::Save(std::ostream& out) const
{
    SaveField(out, TypeCode());
    SaveField(out, missionID);
    SaveField(out, sideID);
    SaveField(out, value);
    SaveBase(out);
}

bool MissionEvent::Load(std::istream& in)
{
    uint16_t readMission = 0;
    uint16_t readSide = 0;
    uint16_t readValue = 0;
    LoadField(in, readMission);
    LoadField(in, readSide);
    LoadField(in, readValue);
    if (!in || !LoadBase(in))
        return false;
    missionID = readMission;
    sideID = readSide;
    value = readValue;
    return true;
}

MissionUnitEvent::MissionUnitEvent(uint16_t unitID) : unitID(unitID) {}

bool MissionUnitEvent::HandleEvent()
{
    gam2arena::RemoveUnitEvents(unitID, EventCode::MISSION_UNIT);
    const Unit* const unit = gam2arena::FindUnit(unitID);
    if (!unit)
        return false;
    if (Side* const side = gam2arena::GetSide(unit->GetSideID()))
        side->HandleMissionUnitEvent(unitID, code);
    return false;
}

Event* MissionUnitEvent::Clone() const
{
    auto* const copy = new MissionUnitEvent(unitID);
    AllocationCheck(copy);
    if (copy)
        copy->code = code;
    return copy;
}

void MissionUnitEvent::ResolveDueTime()
{
    SetDueTime(GameTime(GetTime().Get() + gam2arena::GetGameTime()));
}

void MissionUnitEvent::Save(std::ostream& out) const
{
    SaveField(out, TypeCode());
    SaveField(out, unitID);
    SaveField(out, code);
    SaveBase(out);
}

bool MissionUnitEvent::Load(std::istream& in)
{
    uint16_t readUnit = 0;
    uint8_t readCode = 0;
    LoadField(in, readUnit);
    LoadField(in, readCode);
    if (!in || !LoadBase(in))
        return false;
    unitID = readUnit;
    code = readCode;
    return true;
}

void InstallMissionEventMakers()
{
    UnitEventCalls units = SetUnitEventCalls(UnitEventCalls());
    units.makeMissionUnitEvent = [](uint16_t unitID, GameTime due) -> Event* {
        auto* const event = new MissionUnitEvent(unitID);
        AllocationCheck(event);
        if (event)
            event->SetDueTime(due);
        return event;
    };
    SetUnitEventCalls(units);

    MissionCalls missions = SetMissionCalls(MissionCalls());
    missions.makeMissionEvent = [](uint16_t sideID, uint16_t missionID, uint16_t code, uint32_t delay) -> Event* {
        auto* const event = new MissionEvent(sideID, missionID, code, delay);
        AllocationCheck(event);
        return event;
    };
    SetMissionCalls(missions);
}
