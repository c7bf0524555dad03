// SensorFactory.h: the builders of a unit's sensors and a mount's sensors
// from the sensor.dat ids of their records: each id becomes a sensor of the
// class its type makes (SensorClassForType), built through the record
// factory the engagement model installs (Sensor.h).
#pragma once

#include <cstdint>

#include "core/IDList.h"
#include "core/IDRecord.h"
#include "core/TreeListOf.h"
#include "units/Sensor.h"

class MovingObject;

// Adds to `list` one sensor per entry of `records` (sensor.dat id, sector
// mask), in list order, for a unit's own sensors: each gets the list's next
// free key, its record's type, the entry's mask (ALL_SECTORS for 0) and
// `owner`. An id without a sensor.dat record, a type that makes no class (or
// no class installed) adds nothing.
void BuildSensorList(TreeListOf<Sensor>& list, const IDRecordList& records, MovingObject* owner);

// The same for a mount's or magazine's sensors: the ids of `ids`, all with
// the one sector mask `sectors` (the mount's), and the mount's class choice,
// in which the radar and sonar suites make nothing.
void BuildMountSensorList(TreeListOf<Sensor>& list, const IDList& ids, MovingObject* owner, uint16_t sectors);
