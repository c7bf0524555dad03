// SensorClasses.cpp: the record constructors of the sensor classes, the
// radar's fallback range, the state mappings of the classes, the saved
// records of the classes with fields of their own, the shared lookout and
// the makers the unit model calls.
#include "engagement/SensorClasses.h"

#include <cmath>
#include <initializer_list>

#include "core/AllocationCheck.h"

namespace {

// The search threshold's quarter decibels, in hundreds, each hundred above
// the first scaling the range tenfold.
constexpr double RANGE_STEP = 100.0;
constexpr double RANGE_SCALE = 10.0;
constexpr double RANGE_FACTOR = 0.1;
constexpr double RANGE_DIVISOR = 1850.0;
constexpr double LARGEST_RANGE = 65535.0;

}  // namespace

uint16_t RadarSensor::FallbackMaxRange(int16_t searchThreshold)
{
    double x = -searchThreshold * 0.25;
    double m = 1.0;
    while (x > RANGE_STEP) {
        m *= RANGE_SCALE;
        x -= RANGE_STEP;
    }
    const double range = std::trunc(x * RANGE_FACTOR * m / RANGE_DIVISOR);
    // A sensitive set's range overflows a u16 (converting it would be
    // undefined): it saturates. A positive threshold gives no range at all.
    if (range <= 0.0)
        return 0;
    return range >= LARGEST_RANGE ? uint16_t{0xFFFF} : static_cast<uint16_t>(range);
}

RadarSensor::RadarSensor(uint16_t sensorID)
{
    if (!CopyRecord(sensorID))
        return;
    if (maxRange == 0)
        maxRange = FallbackMaxRange(searchThreshold);
    state_ = STATE_PASSIVE;
}

SonarSensor::SonarSensor(uint16_t sensorID)
{
    if (!CopyRecord(sensorID))
        return;
    if ((searchBands & LOW_BAND_BIT) != 0)
        band = BAND_LOW;
    else if ((searchBands & MIDDLE_BAND_BIT) != 0)
        band = BAND_MIDDLE;
    else
        band = BAND_HIGH;
    state_ = STATE_PASSIVE;
}

void SonarSensor::Save(std::ostream& out) const
{
    SaveField(out, SensorClass::SONAR);
    SaveBase(out);
    SaveField(out, band);
}

bool SonarSensor::Load(std::istream& in)
{
    if (!LoadBase(in))
        return false;
    uint8_t saved = 0;
    if (!LoadField(in, saved))
        return false;
    if (saved > BAND_HIGH) {   // no sonar works in that band: a damaged record
        in.setstate(std::ios::failbit);
        return false;
    }
    band = saved;
    return true;
}

SemiActiveSensor::SemiActiveSensor(uint16_t sensorID)
{
    if (CopyRecord(sensorID))
        state_ = STATE_OFF;
}

void SemiActiveSensor::Save(std::ostream& out) const
{
    SaveField(out, SensorClass::SEMI_ACTIVE);
    SaveField(out, firstValue);
    SaveField(out, secondValue);
    SaveBase(out);
}

bool SemiActiveSensor::Load(std::istream& in)
{
    LoadField(in, firstValue);
    LoadField(in, secondValue);
    return in && LoadBase(in);
}

namespace {

// Requests that a class takes as another state before the base rule.
uint32_t Mapped(uint32_t requested, std::initializer_list<uint32_t> from, uint32_t to)
{
    for (const uint32_t r : from) {
        if (r == requested)
            return to;
    }
    return requested;
}

constexpr uint32_t NONE = Sensor::STATE_NONE;
constexpr uint32_t ACTIVE = Sensor::STATE_ACTIVE;
constexpr uint32_t PASSIVE = Sensor::STATE_PASSIVE;
constexpr uint32_t STANDBY = Sensor::STATE_STANDBY;
constexpr uint32_t OFF = Sensor::STATE_OFF;

}  // namespace

void RadarSensor::SetState(uint32_t requested)
{
    uint32_t state = Mapped(requested, {NONE, PASSIVE}, OFF);
    if (owner_ != nullptr && OwnerAltitude() < 0)
        state = OFF;
    Sensor::SetState(state);
}

void VisualSensor::SetState(uint32_t requested)
{
    Sensor::SetState(Mapped(requested, {NONE, ACTIVE, STANDBY}, PASSIVE));
}

void InfraredSensor::SetState(uint32_t requested)
{
    Sensor::SetState(Mapped(requested, {NONE, ACTIVE, STANDBY}, PASSIVE));
}

void ESMSensor::SetState(uint32_t requested)
{
    Sensor::SetState(Mapped(requested, {NONE, ACTIVE, STANDBY}, PASSIVE));
}

void MADSensor::SetState(uint32_t requested)
{
    Sensor::SetState(Mapped(requested, {NONE, ACTIVE, STANDBY}, PASSIVE));
}

void ECMSensor::SetState(uint32_t requested)
{
    uint32_t state = Mapped(requested, {NONE, PASSIVE, STANDBY}, OFF);
    if (state == ACTIVE && searchJamGain == 0)
        state = OFF;
    Sensor::SetState(state);
}

void LaserDesignatorSensor::SetState(uint32_t requested)
{
    Sensor::SetState(Mapped(requested, {NONE, PASSIVE, STANDBY}, OFF));
}

void SemiActiveSensor::SetState(uint32_t requested)
{
    if (owner_ != nullptr && OwnerAltitude() < 0)
        Sensor::SetState(OFF);
    Sensor::SetState(Mapped(requested, {NONE, ACTIVE, STANDBY}, PASSIVE));
}

void SonarSensor::SetState(uint32_t requested)
{
    uint32_t state = requested;
    if (state == NONE || state == PASSIVE || state == STANDBY)
        state = typeCode_ == TYPE_ACTIVE_ONLY_SONAR ? OFF : PASSIVE;
    else if (state == ACTIVE
             && (typeCode_ == TYPE_PASSIVE_SONAR || typeCode_ == TYPE_RANGING_SONAR || typeCode_ == TYPE_PASSIVE_VDS
                 || typeCode_ == TYPE_TOWED_ARRAY))
        state = PASSIVE;
    Sensor::SetState(state);
}

uint8_t SonarSensor::GetClassCode() const
{
    return state_ == ACTIVE ? SensorClass::ACTIVE_SONAR : SensorClass::SONAR;
}

uint16_t ESMSensor::GetRange(uint32_t, bool flag) const
{
    return flag ? maxRange : 0;
}

Sensor* MakeLookoutSensor()
{
    auto* const lookout = new VisualSensor();
    AllocationCheck(lookout);
    lookout->SetState(Sensor::STATE_PASSIVE);
    lookout->searchBands = 0x400000;
    lookout->maxRange = 50;
    lookout->targetClasses = Sensor::ALL_SECTORS;
    lookout->jamMargin = -650;
    lookout->SetSensorType(Sensor::TYPE_VISUAL);
    lookout->capabilities = 0x33;
    return lookout;
}

namespace {

// A new sensor of the class a code names, made with the given constructor
// arguments (none: the default sensor; a sensor.dat id: from the record).
template <class... Args>
Sensor* MakeOfClass(uint8_t classCode, Args... args)
{
    switch (classCode) {
    case SensorClass::RADAR:
        return new RadarSensor(args...);
    case SensorClass::VISUAL:
        return new VisualSensor(args...);
    case SensorClass::INFRARED:
        return new InfraredSensor(args...);
    case SensorClass::SONAR:
    case SensorClass::ACTIVE_SONAR:
        return new SonarSensor(args...);
    case SensorClass::ESM:
        return new ESMSensor(args...);
    case SensorClass::ECM:
        return new ECMSensor(args...);
    case SensorClass::SEMI_ACTIVE:
        return new SemiActiveSensor(args...);
    case SensorClass::MAD:
        return new MADSensor(args...);
    case SensorClass::LASER_DESIGNATOR:
        return new LaserDesignatorSensor(args...);
    default:
        return nullptr;
    }
}

}  // namespace

Sensor* MakeSensorForClassCode(uint8_t classCode)
{
    return MakeOfClass(classCode);
}

Sensor* MakeSensorOfClass(uint8_t sensorClass, uint16_t sensorID)
{
    return MakeOfClass(sensorClass, sensorID);
}

void InstallSensorClasses()
{
    SetSensorFactory(&MakeSensorForClassCode);
    SetSensorRecordFactory(&MakeSensorOfClass);
}
