// game2ui.h: the game2ui bridge calls through which the game model asks what
// the player may see.
//
// IsVisibleToPlayer reads a registry: a show-all flag and a set of unit ids
// the player's side knows, both settable. The units and the player's contact
// picture live in layers above the world, so their owners keep the registry
// up to date (or install a fuller answer there); callers never include them.
#pragma once

#include <cstdint>

namespace game2ui {

// True when unitID is not 0 and either everything is shown or the player's
// side knows the unit.
bool IsVisibleToPlayer(uint16_t unitID);

// Stand-in (see the file head).
void SetShowAll(bool showAll);
// Whether everything is shown (the show-all display setting).
bool GetShowAll();
void SetVisibleToPlayer(uint16_t unitID, bool visible);
// Clears the show-all flag and forgets every known unit.
void ClearVisibility();

} // namespace game2ui

namespace game2ui {

// True when unitID is a unit of the player's own view (shown from the unit
// itself rather than from a contact). Stand-in registry like the one above,
// kept by whoever owns the player's units.
bool IsContactOfPlayer(uint16_t unitID);
void SetContactOfPlayer(uint16_t unitID, bool own);
// Forgets every unit of the player's view.
void ClearContactsOfPlayer();

} // namespace game2ui
