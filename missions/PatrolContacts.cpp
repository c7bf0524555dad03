// PatrolContacts.cpp: how a patrol turns a side's contacts into tasks: the
// classification, check delays and priorities, the choice of the unit sent
// to attack or investigate, and the next-state rules of sent units.
#include "missions/PatrolMission.h"

uint16_t PatrolMission::QueryUnit(uint16_t, uint16_t) { return 0; }
void PatrolMission::KeepTask(MissionTask* task, uint32_t, Contact*) { delete task; }
void PatrolMission::ScheduleContactCheck(Contact*, uint16_t) {}
bool PatrolMission::IsNotFriendlyClass(Contact*) { return true; }
bool PatrolMission::IsContactInReach(Contact*, SideContacts*) { return false; }
uint16_t PatrolMission::ClassifyContact(Contact*, SideContacts*) { return 0; }
MissionTask* PatrolMission::MakeTask(Contact*) { return nullptr; }
void PatrolMission::ConsiderContact(Contact*, SideContacts*) {}
void PatrolMission::OnSideScanned(SideContacts*) {}
uint32_t PatrolMission::SendAttacker(Contact*) { return 0; }
void PatrolMission::SendInvestigator(Contact*) {}
Unit* PatrolMission::SendCandidate(Contact*, bool) { return nullptr; }
void PatrolMission::RecheckTaskedUnits(Contact*) {}
int16_t PatrolMission::NextStateAfterAttack(Contact*) { return PatrolState::PATROLLING; }
int16_t PatrolMission::NextStateAfterHold(Contact*, Unit*) { return PatrolState::PATROLLING; }
int16_t PatrolMission::NextStateAfterSearch(Contact*) { return PatrolState::PATROLLING; }
int16_t PatrolMission::NextStateAfterInvestigate(Contact*) { return PatrolState::PATROLLING; }
int16_t PatrolMission::NextStateForContact(Contact*) { return PatrolState::PATROLLING; }
bool PatrolMission::IsPlainContact(const Contact*) { return false; }
bool PatrolMission::IsLaunched(const Contact*) { return false; }
bool PatrolMission::IsStrikeWorthy(const Contact*) const { return false; }
