// Game2UI2.h: the Game2UI2 bridge calls that tell the windows and the world
// model which side the player commands and which threat zones a side keeps.
//
// These calls read a registry: a settable player side id and, per side id, a
// zone list registered by whoever owns it. The sides live in a layer above
// the world, so the side model registers each side's AreaPolygonList here at
// start-up and on loading (tests register their own); callers never include
// the sides.
#pragma once

#include <cstdint>

class AreaPolygonList;

namespace Game2UI2 {

// The id of the side the player commands; 0 until one is set.
uint16_t GetCurrentSideID();

// The threat zone list of side `sideID`; 0 stands for the player's side
// (GetCurrentSideID). Null when there is no such side.
AreaPolygonList* GetThreatZoneList(uint16_t sideID);

// Stand-in registry (see the file head).
// Makes `sideID` the player's side.
void SetCurrentSideID(uint16_t sideID);
// Registers `zones` (not owned) as the zone list of side `sideID`, replacing
// any list registered for it; null removes the side. Side id 0 is not a side
// of its own and is ignored.
void SetThreatZoneList(uint16_t sideID, AreaPolygonList* zones);
// Forgets every registered list and sets the player's side back to 0.
void ClearThreatZoneLists();

} // namespace Game2UI2
