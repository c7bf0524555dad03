// SensorClasses.h: the nine sensor classes a unit carries, derived from the
// unit model's Sensor: radar, visual, infrared, sonar, ESM, ECM,
// semi-active receiver, MAD and laser designator, each with its default
// constructor (for a saved record to be read into), its record constructor
// (from a sensor.dat id, in the state the class starts in) and its saved
// record; and InstallSensorClasses, which hands the unit model the two
// makers of these classes. The detection tests of each class join them here.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>

#include "core/StreamFields.h"
#include "units/Sensor.h"

// What every class shares: its class code, the state a record-built sensor
// starts in, and a saved record that is the class byte and the base part.
template <uint8_t CLASS_CODE, uint32_t START_STATE>
class SensorOfClass : public Sensor {
public:
    static constexpr uint8_t CLASS = CLASS_CODE;

    SensorOfClass() = default;
    ~SensorOfClass() override = default;

    // Saved record: class code u8, then the base part (Sensor::SaveBase).
    void Save(std::ostream& out) const override
    {
        SaveField(out, CLASS_CODE);
        SaveBase(out);
    }
    bool Load(std::istream& in) override { return LoadBase(in); }

protected:
    // The figures of sensor.dat record sensorID and the class's starting
    // state; a missing record leaves the default sensor.
    explicit SensorOfClass(uint16_t sensorID)
    {
        if (CopyRecord(sensorID))
            state_ = START_STATE;
    }
};

class RadarSensor : public SensorOfClass<SensorClass::RADAR, Sensor::STATE_PASSIVE> {
public:
    RadarSensor() = default;
    // A record that gives no maximum range gets the one its search threshold
    // implies (FallbackMaxRange).
    explicit RadarSensor(uint16_t sensorID);

    // The maximum range (nautical miles) of a radar whose record gives none,
    // from its search threshold t (tenths of a decibel, negative for a
    // sensitive set): x = -t / 4, m = 1; while x > 100, m = 10 m and
    // x = x - 100; the range is x x 0.1 x m / 1850, truncated. A positive
    // threshold gives 0; a range beyond 65535 (thresholds of -3250 and
    // below, for one) gives 65535.
    static uint16_t FallbackMaxRange(int16_t searchThreshold);
};

class VisualSensor : public SensorOfClass<SensorClass::VISUAL, Sensor::STATE_PASSIVE> {
public:
    VisualSensor() = default;
    explicit VisualSensor(uint16_t sensorID) : SensorOfClass(sensorID) {}
};

class InfraredSensor : public SensorOfClass<SensorClass::INFRARED, Sensor::STATE_PASSIVE> {
public:
    InfraredSensor() = default;
    explicit InfraredSensor(uint16_t sensorID) : SensorOfClass(sensorID) {}
};

class SonarSensor : public Sensor {
public:
    // Frequency bands, chosen from the search bands.
    static constexpr uint8_t BAND_LOW = 0;
    static constexpr uint8_t BAND_MIDDLE = 1;
    static constexpr uint8_t BAND_HIGH = 2;
    static constexpr uint32_t LOW_BAND_BIT = 0x1000000;
    static constexpr uint32_t MIDDLE_BAND_BIT = 0x2000000;

    SonarSensor() = default;
    // Passive, in the lowest band its search bands name (the high band when
    // they name neither the low nor the middle one).
    explicit SonarSensor(uint16_t sensorID);

    // Saved record: class code 4 u8, the base part, band u8.
    void Save(std::ostream& out) const override;
    bool Load(std::istream& in) override;

    uint8_t band = BAND_HIGH;
};

class ESMSensor : public SensorOfClass<SensorClass::ESM, Sensor::STATE_PASSIVE> {
public:
    ESMSensor() = default;
    explicit ESMSensor(uint16_t sensorID) : SensorOfClass(sensorID) {}
};

class ECMSensor : public SensorOfClass<SensorClass::ECM, Sensor::STATE_PASSIVE> {
public:
    ECMSensor() = default;
    explicit ECMSensor(uint16_t sensorID) : SensorOfClass(sensorID) {}
};

class SemiActiveSensor : public Sensor {
public:
    SemiActiveSensor() = default;
    // Off, both carried values 0.
    explicit SemiActiveSensor(uint16_t sensorID);

    // Saved record: class code 8 u8, firstValue u16, secondValue u16, then
    // the base part.
    void Save(std::ostream& out) const override;
    bool Load(std::istream& in) override;

    uint16_t firstValue = 0;    // carried and saved
    uint16_t secondValue = 0;
};

class MADSensor : public SensorOfClass<SensorClass::MAD, Sensor::STATE_PASSIVE> {
public:
    MADSensor() = default;
    explicit MADSensor(uint16_t sensorID) : SensorOfClass(sensorID) {}
};

class LaserDesignatorSensor : public SensorOfClass<SensorClass::LASER_DESIGNATOR, Sensor::STATE_ACTIVE> {
public:
    LaserDesignatorSensor() = default;
    explicit LaserDesignatorSensor(uint16_t sensorID) : SensorOfClass(sensorID) {}
};

// A new default sensor of the class a saved class code names (a sonar for 4
// and 5); nullptr for any other code.
Sensor* MakeSensorForClassCode(uint8_t classCode);
// A new sensor of a class built from sensor.dat record sensorID; nullptr for
// a code that names no class (5, an active sonar's code, makes a sonar).
Sensor* MakeSensorOfClass(uint8_t sensorClass, uint16_t sensorID);

// Installs both makers in the unit model (SetSensorFactory,
// SetSensorRecordFactory). Start-up calls it before any unit is built or
// loaded.
void InstallSensorClasses();
