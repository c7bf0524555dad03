// MissionAircraftCalls.h: what the mission aircraft operations need of the
// bridge and the unit model that those do not offer yet: the role class of
// an aircraft type and loadout, the removal of a holder's queued events for
// one aircraft record, a plane's posture and a unit's capability bits. The
// owners install them at start-up; until then the role class is 0, nothing
// is removed, no posture is set and a unit has no capability bits.
#pragma once

#include <cstdint>

class Unit;

struct MissionAircraftCalls {
    uint16_t (*roleClass)(uint16_t aircraftType, uint16_t loadout) = nullptr;
    void (*removeMissionEvents)(uint16_t holderID, uint16_t recordID) = nullptr;
    void (*setPosture)(Unit& unit, uint32_t posture) = nullptr;
    uint16_t (*getCapabilities)(Unit& unit, uint16_t kind) = nullptr;
};

// Installs the calls; returns the ones they replace.
MissionAircraftCalls SetMissionAircraftCalls(const MissionAircraftCalls& calls);

namespace gam2anim {
// The role class of an aircraft type carrying a loadout; 0 without the call.
uint16_t GetRoleClass(uint16_t aircraftType, uint16_t loadout);
}  // namespace gam2anim

namespace unit2gam {
// Removes the holder's queued events for the aircraft record.
void RemoveMissionEvents(uint16_t holderID, uint16_t recordID);
}  // namespace unit2gam

// Unit::SetPosture and the unit's capability query, through the calls.
void SetPlanePosture(Unit& unit, uint32_t posture);
uint16_t GetUnitCapabilities(Unit& unit, uint16_t kind);
