// MissionAircraftStubs.cpp: placeholder bodies of the aircraft-reference
// operations of MissionRecord until their own source replaces this file.
#include "missions/MissionRecord.h"

void MissionRecord::OnAircraftCommitted() {}
bool MissionRecord::IsUnitLaunchPending(PlaneRecRef*, uint32_t) { return false; }
void MissionRecord::ReleaseUnit(Unit*) {}
bool MissionRecord::LaunchForUnit(Unit*, uint16_t, uint16_t, uint16_t, uint8_t) { return false; }
void MissionRecord::SetAircraftPosture(Unit*, uint32_t) {}
void MissionRecord::SetAircraftWait() {}
bool MissionRecord::LaunchReplacement(Unit*, MissionUnitRec*) { return false; }
void MissionRecord::ClearReferenceOrder(PlaneRecRef*) {}
