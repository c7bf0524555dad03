// LaunchOrders.h: LaunchEntry, one line of a launch list (aircraft of one
// record of a carrier, base or group to be made ready or launched), and the
// orders that carry a list out: PrepareLaunch brings each record toward the
// readiness asked for, LaunchAircraft posts a launch event per entry marked
// for launch.
#pragma once

#include <cstdint>

#include "units/LaunchEntry.h"

class StationRecord;

// Brings each listed record toward its readiness: a record already armed
// as asked and idle for more than half an hour without a pending arming is
// marked ready; fewer aircraft than the record holds are split off (and
// armed); otherwise the record is armed. Null does nothing.
void PrepareLaunch(LaunchList* list);
// Prepares the list, then posts a launch event for each entry marked for
// launch (splitting off the aircraft wanted first). With a station, and a
// holder attached to a unit, the launched record takes the station and the
// launch value is 0, else it is the record's count. Deletes the list.
void LaunchAircraft(LaunchList* list, const StationRecord* station);
