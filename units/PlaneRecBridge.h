// PlaneRecBridge.h: what the aircraft records need of the side and mission
// layers above the unit model: reports of a record's flags, mission, split,
// loadout, merge and end to the owning side's mission, the record's entry
// in a side's mission, and the victory tally of aircraft lost on the ground.
// Their owners install them at start-up (SetPlaneRecCalls); until then no
// report goes anywhere, no side takes a record and no loss is tallied.
#pragma once

#include <cstdint>

#include "units/LaunchEntry.h"

class PlaneRec;
class StationRecord;
class WeaponRec;

struct PlaneRecCalls {
    void (*tellMission)(uint16_t missionID, uint16_t unitID, uint16_t key, uint32_t flags) = nullptr;
    void (*tellMissionChanged)(uint16_t unitID, uint16_t key, uint16_t oldMission, uint16_t newMission) = nullptr;
    void (*tellPlaneRecSplit)(uint16_t missionID, uint16_t unitID, uint16_t oldKey, uint16_t newKey,
                              uint8_t newCount) = nullptr;
    void (*tellLoadoutChanged)(uint16_t missionID, uint16_t unitID, uint16_t key, uint16_t loadoutID) = nullptr;
    void (*askMission)(uint16_t missionID, uint16_t unitID, uint16_t keptKey, uint16_t mergedKey) = nullptr;
    void (*missionTest)(uint16_t missionID, uint16_t unitID, uint16_t key) = nullptr;
    void (*addPlaneRecToMission)(PlaneRec& record, uint16_t sourceUnitID, uint16_t unitID) = nullptr;
    // Side::AddPlaneRecID of the holder's side; answers the mission id used.
    // sourceUnitID 0: aircraft set up at the holder.
    uint16_t (*addPlaneRecID)(uint16_t sideID, uint16_t unitID, uint16_t key, uint16_t missionID,
                              uint16_t sourceUnitID) = nullptr;
    // Whether the side of that number exists.
    bool (*sideExists)(uint16_t sideID) = nullptr;
    void (*checkVictoryConditions2)(uint16_t sideID, uint16_t planeAnnexID, uint8_t code, uint16_t count) = nullptr;
    // WeaponRec::CanFireAt, the engagement model's rating of a weapon load
    // against a target mask.
    uint32_t (*canFireAt)(const WeaponRec& record, uint32_t targetMask, bool allowGuns) = nullptr;
    // The engagement model's launch of a list toward a target station; the
    // call owns (and deletes) the list.
    void (*launchStrike)(LaunchList* list, const StationRecord* target) = nullptr;
};

// Installs the calls; returns the ones they replace.
PlaneRecCalls SetPlaneRecCalls(const PlaneRecCalls& calls);

namespace gam2side {
void TellMission(uint16_t missionID, uint16_t unitID, uint16_t key, uint32_t flags);
void TellMissionChanged(uint16_t unitID, uint16_t key, uint16_t oldMission, uint16_t newMission);
void TellPlaneRecSplit(uint16_t missionID, uint16_t unitID, uint16_t oldKey, uint16_t newKey, uint8_t newCount);
void TellLoadoutChanged(uint16_t missionID, uint16_t unitID, uint16_t key, uint16_t loadoutID);
void AskMission(uint16_t missionID, uint16_t unitID, uint16_t keptKey, uint16_t mergedKey);
void MissionTest(uint16_t missionID, uint16_t unitID, uint16_t key);
void AddPlaneRecToMission(PlaneRec& record, uint16_t sourceUnitID, uint16_t unitID);

// The side's own AddPlaneRecID, reached through the bridge; the side class
// lives above the unit model.
// False when the side does not exist (and without the call).
bool SideExists(uint16_t sideID);
// The mission id the side used; 0 without the call.
uint16_t AddPlaneRecID(uint16_t sideID, uint16_t unitID, uint16_t key, uint16_t missionID,
                       uint16_t sourceUnitID);
}  // namespace gam2side

// Launches the list's aircraft toward the target; without the call the list
// is only deleted.
void LaunchStrike(LaunchList* list, const StationRecord* target);

// The weapon load's rating against the mask; 0 without the call.
uint32_t RateWeaponRec(const WeaponRec& record, uint32_t targetMask, bool allowGuns);

namespace unit2gam {
// Aircraft of a type lost by a side: code 0x50 for aircraft on the ground.
void CheckVictoryConditions2(uint16_t sideID, uint16_t planeAnnexID, uint8_t code, uint16_t count);
}  // namespace unit2gam
