// MissionPlanningStubs.cpp: placeholder bodies of the contact planning and
// attack allocation operations of MissionRecord until their own sources
// replace this file.
#include "missions/MissionRecord.h"

uint32_t MissionRecord::AllocateByTime(MissionTask*, Contact*) { return 0; }
uint32_t MissionRecord::AllocateByValue(MissionTask*, Contact*) { return 0; }
uint32_t MissionRecord::AllocateFirstStrike(MissionTask*, Contact*) { return 0; }
bool MissionRecord::IsTaskSatisfied(MissionTask*, uint32_t, Unit*) { return false; }
void MissionRecord::EvaluateTasks(SideContacts*) {}
void MissionRecord::KeepTask(MissionTask* task, uint32_t, Contact*) { delete task; }
void MissionRecord::ScheduleContactCheck(Contact*, uint16_t) {}
bool MissionRecord::IsContactInReach(Contact*, SideContacts*) { return false; }
uint16_t MissionRecord::ClassifyContact(Contact*, SideContacts*) { return 0; }
MissionTask* MissionRecord::MakeTask(Contact*) { return nullptr; }
void MissionRecord::ConsiderContact(Contact*, SideContacts*) {}
void MissionRecord::ReactToTasks(SideContacts*) {}
void MissionRecord::SetUnitPosture(uint16_t, MissionUnitRec*) {}
void MissionRecord::OnEngageResult(uint16_t, uint8_t, Contact*, uint8_t) {}
