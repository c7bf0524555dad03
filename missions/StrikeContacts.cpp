// StrikeContacts.cpp: the strike's contact triage, tasks, altitudes and
// emission settings.
#include "missions/StrikeMission.h"

uint32_t StrikeMission::AllocateByValue(MissionTask* task, Contact* contact)
{
    return MissionRecord::AllocateByValue(task, contact);
}

bool StrikeMission::IsTaskSatisfied(MissionTask* task, uint32_t targetClass, Unit* unit)
{
    return MissionRecord::IsTaskSatisfied(task, targetClass, unit);
}

void StrikeMission::KeepTask(MissionTask* task, uint32_t targetClass, Contact* contact)
{
    MissionRecord::KeepTask(task, targetClass, contact);
}

void StrikeMission::ScheduleContactCheck(Contact* contact, uint16_t code)
{
    MissionRecord::ScheduleContactCheck(contact, code);
}

bool StrikeMission::IsContactInReach(Contact* contact, SideContacts* side)
{
    return MissionRecord::IsContactInReach(contact, side);
}

uint16_t StrikeMission::ClassifyContact(Contact* contact, SideContacts* side)
{
    return MissionRecord::ClassifyContact(contact, side);
}

MissionTask* StrikeMission::MakeTask(Contact* contact)
{
    return MissionRecord::MakeTask(contact);
}

void StrikeMission::ConsiderContact(Contact* contact, SideContacts* side)
{
    MissionRecord::ConsiderContact(contact, side);
}

int16_t StrikeMission::GetPatrolAltitude(Unit* unit, uint16_t value)
{
    return MissionRecord::GetPatrolAltitude(unit, value);
}

int16_t StrikeMission::GetTaskAltitude(Unit* unit, uint16_t value, uint32_t targetClass)
{
    return MissionRecord::GetTaskAltitude(unit, value, targetClass);
}

int16_t StrikeMission::GetPlaneFigure(PlaneRec* record)
{
    return MissionRecord::GetPlaneFigure(record);
}

int16_t StrikeMission::GetPlaneAltitude(PlaneRec*, PlaneRecRef*, uint32_t)
{
    return 0;
}

void StrikeMission::DefaultSettingGroup1()
{
    MissionRecord::DefaultSettingGroup1();
}

void StrikeMission::DefaultSettingGroup2()
{
    MissionRecord::DefaultSettingGroup2();
}

void StrikeMission::DefaultSettingGroup3()
{
    MissionRecord::DefaultSettingGroup3();
}

void StrikeMission::SetUnitPosture(uint16_t unitID, MissionUnitRec* record)
{
    MissionRecord::SetUnitPosture(unitID, record);
}
