// MissionUnitRec.cpp: a unit's record in a mission: state changes, target
// release and the saved form.
#include "missions/MissionUnitRec.h"

#include <istream>
#include <ostream>

#include "core/Event.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"

void MissionUnitRec::ChangeState(int16_t newState, uint16_t newTargetID, uint32_t newTargetClass)
{
    SetState(newState, newTargetID, newTargetClass);
    DropQueuedEvents();
}

void MissionUnitRec::SetState(int16_t newState, uint16_t newTargetID, uint32_t newTargetClass)
{
    state = newState;
    targetID = newTargetID;
    targetClass = newTargetClass;
    markBits &= static_cast<uint8_t>(~UNIT_POSTURE_APPLIED);
}

void MissionUnitRec::DropQueuedEvents() const
{
    // One walk of the queue for the four orders a mission gives its unit.
    static constexpr uint8_t ORDER_EVENTS[] = {EventCode::SET_SENSORS, EventCode::SET_ALTITUDE,
                                               EventCode::SET_SPEED, EventCode::MISSION_UNIT};
    gam2arena::RemoveUnitEvents(GetUnitID(), ORDER_EVENTS, 4);
}

void MissionUnitRec::DropSensorEvents() const
{
    gam2arena::RemoveUnitEvents(GetUnitID(), EventCode::SET_SENSORS);
}

void MissionUnitRec::ClearTarget(uint16_t missionID)
{
    if (state == MissionUnitState::WAITING)
        state = MissionUnitState::DONE;
    else if (state != MissionUnitState::DONE)
        state = MissionUnitState::ADDED;
    markBits &= static_cast<uint8_t>(~UNIT_POSTURE_APPLIED);
    targetID = 0;
    targetClass = 0;
    if (homeMission == 1)
        homeMission = missionID;
}

void MissionUnitRec::Save(std::ostream& out) const
{
    SaveField<uint16_t>(out, GetKey());
    SaveField(out, firstWord);
    SaveField(out, state);
    SaveField(out, thirdWord);
    SaveField(out, memberCount);
    SaveField(out, leaderID);
    SaveField(out, isFormation);
    SaveField(out, markBits);
    SaveField(out, targetID);
    SaveField(out, targetClass);
    SaveField(out, homeMission);
    SaveField(out, savedLeaderID);
}

void MissionUnitRec::Load(std::istream& in)
{
    uint16_t key = 0;
    LoadField(in, key);
    SetKey(key);
    LoadField(in, firstWord);
    LoadField(in, state);
    LoadField(in, thirdWord);
    LoadField(in, memberCount);
    LoadField(in, leaderID);
    LoadField(in, isFormation);
    LoadField(in, markBits);
    LoadField(in, targetID);
    LoadField(in, targetClass);
    LoadField(in, homeMission);
    LoadField(in, savedLeaderID);
}
