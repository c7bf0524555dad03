// SensorAnnex.cpp: the file layout of a sensor.dat record, and which sensor
// types make a sensor object where.
#include "annex/SensorAnnex.h"

#include <istream>
#include <ostream>

bool SensorTypeMakesSensor(uint32_t type, SensorHolder holder)
{
    if (type == SENSOR_TYPE_NONE || type > SENSOR_TYPE_ACTIVE_ONLY_SONAR)
        return false;
    if (holder == SensorHolder::Mount)
        return type != SENSOR_TYPE_RADAR_SUITE && type != SENSOR_TYPE_SONAR_SUITE;
    return true;
}

bool IsSonarType(uint32_t type)
{
    switch (type) {
    case SENSOR_TYPE_PASSIVE_SONAR:
    case SENSOR_TYPE_ACTIVE_PASSIVE_SONAR:
    case SENSOR_TYPE_SONAR_SUITE:
    case SENSOR_TYPE_RANGING_SONAR:
    case SENSOR_TYPE_ACTIVE_VDS:
    case SENSOR_TYPE_PASSIVE_VDS:
    case SENSOR_TYPE_TOWED_ARRAY:
    case SENSOR_TYPE_ACTIVE_ONLY_SONAR:
        return true;
    default:
        return false;
    }
}

void SensorAnnex::Save(std::ostream& out, uint32_t annexVersion) const
{
    SaveKey(out);
    SaveField(out, searchBands);
    SaveField(out, trackBands);
    SaveField(out, sensorType);
    SaveField(out, searchJamGain);
    SaveField(out, trackJamGain);
    SaveField(out, searchThreshold);
    SaveField(out, trackThreshold);
    SaveField(out, jamMargin);
    SaveField(out, channelCount);
    SaveField(out, textNumber);
    SaveField(out, spare2);
    SaveField(out, spare3);
    SaveField(out, capabilities);
    SaveField(out, maxRange);
    SaveField(out, minRange);
    SaveField(out, sourceCode);
    SaveField(out, beamWidth);
    SaveField(out, recordFlags);
    name.Save(out);
    if (annexVersion != 0)
        SaveField(out, lastValue);
}

bool SensorAnnex::Read(std::istream& in)
{
    LoadKey(in);
    LoadField(in, searchBands);
    LoadField(in, trackBands);
    LoadField(in, sensorType);
    LoadField(in, searchJamGain);
    LoadField(in, trackJamGain);
    LoadField(in, searchThreshold);
    LoadField(in, trackThreshold);
    LoadField(in, jamMargin);
    LoadField(in, channelCount);
    LoadField(in, textNumber);
    LoadField(in, spare2);
    LoadField(in, spare3);
    LoadField(in, capabilities);
    LoadField(in, maxRange);
    LoadField(in, minRange);
    LoadField(in, sourceCode);
    LoadField(in, beamWidth);
    LoadField(in, recordFlags);
    name.Load(in);
    if (GetAnnexVersion() != 0)
        LoadField(in, lastValue);
    return static_cast<bool>(in);
}
