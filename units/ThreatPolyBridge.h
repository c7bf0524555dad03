// ThreatPolyBridge.h: Game2UI::SetThreatPoly, the bridge call through which
// the game model and the windows create, reshape, retype or delete a threat
// zone of a side from a chain of positions. It works on the zone list the
// side has registered (world/Game2UI2.h); without one it changes nothing.
#pragma once

#include <cstdint>

class PositionNode;

namespace Game2UI {
// Zone `id` of side `sideID` (0: the player's side): id 0 with a type adds
// a zone built from the chain; id 0 with type 0 is refused with a line in
// the message log; an id with a chain replaces that zone's outline and
// type; an id without a chain sets its type (type 0 deletes it). Answers
// the zone id, 0 when nothing was made or the zone was deleted. The chain
// stays the caller's.
int16_t SetThreatPoly(uint16_t id, PositionNode* chain, uint32_t type, uint16_t sideID);
}  // namespace Game2UI
