// AircraftLogistics.h: the aircraft logistics setting (key AircraftLogistics
// of the program's INI section). When it is on, arming aircraft takes their
// weapons from the holding unit's magazines and gives back those they carried
// (PlaneRecArming.cpp). The start-up reads it; it is off until then.
#pragma once

class ConfigurationFileIO;

namespace AircraftLogistics {

void SetOn(bool on);
bool IsOn();
// The setting from the INI file: on when the value (read up to 4 characters,
// to the line's end) is "on" in any case; off when it is anything else or the
// key is missing.
bool Read(ConfigurationFileIO& ini);

}  // namespace AircraftLogistics
