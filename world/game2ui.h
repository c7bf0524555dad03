// game2ui.h: the game2ui bridge calls through which the game model asks what
// the player may see.
//
// The units and the player's contact picture do not exist yet. Until they
// do, IsVisibleToPlayer reads a stand-in: a show-all flag and a set of unit
// ids the player's side knows, both settable. When the unit model and the
// sides come, the call reads them instead; callers do not change, and the
// stand-in calls below go away.
#pragma once

#include <cstdint>

namespace game2ui {

// True when unitID is not 0 and either everything is shown or the player's
// side knows the unit.
bool IsVisibleToPlayer(uint16_t unitID);

// Stand-in (see the file head).
void SetShowAll(bool showAll);
void SetVisibleToPlayer(uint16_t unitID, bool visible);
// Clears the show-all flag and forgets every known unit.
void ClearVisibility();

} // namespace game2ui
