// LaunchListBuild.h: the launch list the air operations window opens over:
// the aircraft records of a unit, or of each visible member of a group, that
// the holder's air facilities can take.
#pragma once

#include <cstdint>

class IDList;

// Adds the unit's id to the list (once), or for a group each visible
// member's, walking nested groups down; nothing for 0 or a unit the player
// cannot see.
void CollectVisibleUnits(uint16_t unitID, IDList& list);
// Collects the unit and the further ids, lists every free or arming record
// of a known type that fits its holder's air facilities, and opens the air
// operations window of that kind over the list. Nothing opens when no
// record qualifies.
void BuildLaunchList(uint16_t unitID, const IDList* further, uint16_t windowKind);
// The same for the unit that formation window shows, remembering the unit
// and the flag for the launch window; nothing without a unit.
void OpenLaunchListForWindow(uint16_t windowID, int8_t flag);
