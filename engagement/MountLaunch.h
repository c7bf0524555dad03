// MountLaunch.h: a mount's launches at a position and at a unit (installed
// as Mount::LaunchAtPosition and Mount::LaunchAtUnit): how many rounds go,
// the two-point path of the weapons, the navigator's check of a torpedo's
// path, and the hand-over to the weapon record's fire. Neither lowers the
// mount's ready rounds: Mount::Launch does that once for the rounds
// launched.
#pragma once

#include <cstdint>

#include "core/LatLonPoint.h"

class Mount;
class TimedRecord;
class WeaponRec;

namespace MountLaunch {
uint8_t AtPosition(Mount& mount, const LatLonPoint& target, WeaponRec& weapon, uint8_t wanted, int32_t sensorMode,
                   int32_t setting);
uint8_t AtUnit(Mount& mount, TimedRecord& record, WeaponRec& weapon);
// The navigation type a torpedo's path is checked with: 7 launched from
// the air, 6 from the surface, 4 from below it.
int16_t TorpedoPathType(int16_t launchAltitude);
}  // namespace MountLaunch
