// Sensor.cpp: the base state rule of a sensor and the saved sensor list.
#include "units/Sensor.h"

#include <istream>
#include <ostream>

#include "core/ErrorReport.h"
#include "core/ResourceText.h"
#include "core/StreamFields.h"

Sensor* gDefaultSensor = nullptr;

namespace {

SensorFactory gSensorFactory = nullptr;

constexpr uint8_t LAST_SAVED_TYPE = 17;

}  // namespace

void Sensor::SetState(uint32_t requested)
{
    if (state_ == STATE_DESTROYED)
        return;
    if (state_ == STATE_DAMAGED) {
        if (requested == REQUEST_REPAIR)
            state_ = STATE_PASSIVE;
        return;
    }
    state_ = requested;
}

uint16_t Sensor::GetSearchReach(uint16_t, bool) const
{
    return 0;
}

uint16_t Sensor::GetReach(uint16_t) const
{
    return 0;
}

bool IsSavedSensorType(uint8_t typeCode)
{
    return typeCode >= 1 && typeCode <= LAST_SAVED_TYPE;
}

SensorFactory SetSensorFactory(SensorFactory factory)
{
    const SensorFactory previous = gSensorFactory;
    gSensorFactory = factory;
    return previous;
}

bool LoadSensorList(TreeListOf<Sensor>& sensors, std::istream& in, MovingObject* owner,
                    const char* caller)
{
    uint16_t count = 0;
    if (!LoadField(in, count))
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t type = 0;
        if (!LoadField(in, type))
            return false;
        Sensor* const sensor =
            IsSavedSensorType(type) && gSensorFactory != nullptr ? gSensorFactory(type) : nullptr;
        if (sensor == nullptr) {
            ReportResourceText(UNKNOWN_SENSOR_TYPE_TEXT, caller, FatalError);
            in.setstate(std::ios::failbit);
            return false;
        }
        if (!sensor->Load(in) || !in) {
            delete sensor;
            in.setstate(std::ios::failbit);
            return false;
        }
        sensor->SetOwner(owner);
        sensors.Insert(sensor);
    }
    return true;
}

bool SaveSensorList(const TreeListOf<Sensor>& sensors, std::ostream& out)
{
    uint32_t count = 0;
    for (const Sensor* s = sensors.First(); s != nullptr && count < 0xFFFF; s = s->GetNext())
        ++count;
    SaveField(out, static_cast<uint16_t>(count));
    const Sensor* sensor = sensors.First();
    for (uint32_t i = 0; i < count; ++i, sensor = sensor->GetNext())
        sensor->Save(out);
    return static_cast<bool>(out);
}
