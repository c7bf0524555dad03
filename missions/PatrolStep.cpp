// PatrolStep.cpp: the patrol's unit step by record state, the mission
// commands (resume, delayed start), the choice of a patrol point and of a
// point along a leg, and the run of a unit sent against a contact.
#include "missions/PatrolMission.h"

#include "core/Event.h"

void PatrolMission::StepUnit(uint16_t, uint8_t) {}

void PatrolMission::HandleMissionEvent(uint16_t) {}

ReferencePoint* PatrolMission::PickPatrolPoint() { return nullptr; }

LatLonPoint PatrolMission::PointAlongLeg(const LatLonPoint& from, const LatLonPoint&, int32_t, int32_t)
{
    return from;
}

void PatrolMission::SendOnRun(Unit*, const LatLonPoint&, uint32_t, int16_t) {}

void PatrolMission::StepAdded(MissionUnitRec*, Unit*) {}
void PatrolMission::StepPatrolling(MissionUnitRec*, Unit*) {}
void PatrolMission::StepSent(MissionUnitRec*, Unit*, const LatLonPoint&, uint32_t, int16_t, uint8_t) {}
void PatrolMission::StepEngaging(MissionUnitRec*, Unit*) {}
void PatrolMission::StepSearching(MissionUnitRec*, Unit*) {}
void PatrolMission::StepNearContact(MissionUnitRec*, Unit*) {}
void PatrolMission::StepHolding(MissionUnitRec*, Unit*) {}
void PatrolMission::StepSonarLeg(MissionUnitRec*, Unit*) {}
void PatrolMission::StepRearmed(MissionUnitRec*, Unit*) {}
void PatrolMission::StepSubmarineLeg(MissionUnitRec*, Unit*) {}
bool PatrolMission::OpenStep(MissionUnitRec*, Unit*, uint32_t) { return false; }
bool PatrolMission::GiveLeg(Unit*, const LatLonPoint&, int16_t, int16_t, Event* attached)
{
    delete attached;
    return false;
}
bool PatrolMission::PatrolLeg(Unit*, int32_t, int32_t, LatLonPoint&) { return false; }
void PatrolMission::RetryStep(uint16_t) {}
void PatrolMission::BackToPatrol(MissionUnitRec*, uint16_t) {}
