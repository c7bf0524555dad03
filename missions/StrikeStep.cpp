// StrikeStep.cpp: the strike's unit step and its state routines.
#include "missions/StrikeMission.h"

void StrikeMission::StepUnit(uint16_t unitID, uint8_t code)
{
    MissionRecord::StepUnit(unitID, code);
}

void StrikeMission::StartUnit(uint16_t, Unit*, MissionUnitRec*)
{
}

void StrikeMission::ApproachTarget(uint16_t, Unit*, MissionUnitRec*, LatLonPoint, uint32_t, int16_t, uint8_t)
{
}

void StrikeMission::AttackLockedTarget(uint16_t, Unit*, MissionUnitRec*, LatLonPoint, uint32_t, int16_t, uint8_t)
{
}

void StrikeMission::AttackOrderTarget(uint16_t, Unit*, MissionUnitRec*, LatLonPoint, uint32_t, int16_t, uint8_t)
{
}

void StrikeMission::CloseWithContact(uint16_t, Unit*, MissionUnitRec*)
{
}

void StrikeMission::SearchContactArea(uint16_t, Unit*, MissionUnitRec*)
{
}

void StrikeMission::HoldNearby(uint16_t, Unit*, MissionUnitRec*)
{
}

void StrikeMission::FinishBuoyLeg(uint16_t, Unit*, MissionUnitRec*)
{
}

void StrikeMission::SearchWithBuoys(uint16_t, Unit*, MissionUnitRec*)
{
}

LatLonPoint StrikeMission::PointPartWay(const LatLonPoint&, const LatLonPoint&, uint32_t, uint32_t)
{
    return {};
}

int16_t StrikeMission::AltitudeCodeFor(char)
{
    return 0;
}
