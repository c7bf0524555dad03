// SectorLaunch.h: LaunchToSector, the launch of a list onto the sector the
// player drew around the pending group.
#pragma once

#include "units/LaunchEntry.h"

// Prepares the list; with a drawn sector, launches it onto a new station of
// the sector launch kind in that sector of the group (bearings from the
// group's axis, the larger range outward). Deletes the list either way.
void LaunchToSector(LaunchList* list);
