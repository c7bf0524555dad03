// AircraftLogistics.cpp: the aircraft logistics setting and its INI reader.
#include "units/AircraftLogistics.h"

#include "core/ConfigurationFileIO.h"
#include "core/TextUtil.h"

namespace {

bool gOn = false;

// The INI value's buffer: four characters and the terminator, as the
// program's other on/off settings read.
constexpr int32_t SETTING_TEXT_BYTES = 5;

}  // namespace

namespace AircraftLogistics {

void SetOn(bool on)
{
    gOn = on;
}

bool IsOn()
{
    return gOn;
}

bool Read(ConfigurationFileIO& ini)
{
    char value[SETTING_TEXT_BYTES] = {};
    if (ini.GetString("Tessarn3", "AircraftLogistics", value, SETTING_TEXT_BYTES, '\n') != 1)
        return false;
    return CompareNoCase(value, "on") == 0;
}

}  // namespace AircraftLogistics
