// LoadoutDescription.h: DescribeLoadout, the short text the arming and
// launch windows show for a loadout of an aircraft record: where the
// aircraft are, the weapons of the loadout with their rounds, and the
// radius of the type.
#pragma once

#include <cstdint>

class NavIDList;

// When set, the description shows the weapon put in place of each weapon
// the record's substitution list names.
extern uint8_t gShowSubstitutions;

// Writes the description into text (size bytes, cut to fit, always ended by
// a zero character when size is above 0). substitutions: weapon id ->
// the weapon shown in its place; may be null.
void DescribeLoadout(uint16_t unitID, uint16_t planeRecID, uint16_t loadoutID, const NavIDList* substitutions,
                     char* text, int16_t size);
