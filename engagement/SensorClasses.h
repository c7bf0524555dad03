// SensorClasses.h: the nine sensor classes a unit carries, derived from the
// unit model's Sensor through DetectingSensor: radar, visual, infrared,
// sonar, ESM, ECM, semi-active receiver, MAD and laser designator, each with
// its default constructor (for a saved record to be read into), its record
// constructor (from a sensor.dat id, in the state the class starts in), its
// mapping of state requests, its detection test and its saved record; the
// shared lookout; and InstallSensorClasses, which hands the unit model the
// two makers of these classes. The tests live in RadarSensor.cpp,
// SonarSensor.cpp and PassiveSensors.cpp; the sonar's scenario conditions
// and range table in SonarConditions.h.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>

#include "core/StreamFields.h"
#include "engagement/DetectingSensor.h"

// What every class shares: its class code, the state a record-built sensor
// starts in, and a saved record that is the class byte and the base part.
template <uint8_t CLASS_CODE, uint32_t START_STATE>
class SensorOfClass : public DetectingSensor {
public:
    static constexpr uint8_t CLASS = CLASS_CODE;

    SensorOfClass() = default;
    ~SensorOfClass() override = default;

    uint8_t GetClassCode() const override { return CLASS_CODE; }

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

// Radar (type 1, and the radar suite of a unit's list).
class RadarSensor : public SensorOfClass<SensorClass::RADAR, Sensor::STATE_PASSIVE> {
public:
    // Resource texts of the radar's function: surface search, air search,
    // fire control, and none of them.
    static constexpr int32_t TEXT_SURFACE_SEARCH = 0x7B021E;
    static constexpr int32_t TEXT_AIR_SEARCH = 0x7B021F;
    static constexpr int32_t TEXT_FIRE_CONTROL = 0x7B0220;
    static constexpr int32_t TEXT_NO_FUNCTION = 0x7B0221;
    // recordFlags bit that weakens jamming to 0.4 of its effect.
    static constexpr uint32_t RECORD_JAM_RESISTANT = 0x80;

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

    // Requests 1 and 3 become off, and so does every request while the
    // owner is below the surface.
    void SetState(uint32_t requested) override;
    // Active only: the surface bit gives the owner's horizon plus 32, the air
    // bits maxRange; never beyond maxRange.
    uint16_t GetRange(uint32_t classBits, bool flag) const override;
    // Kind 3 surface search, 2 air search, 1 fire control, 0 none, with its
    // text.
    int GetFunctionText(char* out) const override;
    // The radar test: gates, signal margin against threshold and jamming,
    // the fringe chance, and a contact with what the radar learns.
    Contact* Detect(Unit& own, Unit& target, const NavVector& vector, int selector, int32_t rangeLoss,
                    bool flagA, bool flagB, bool trackMode) override;

    // The jamming margin's effect after the clamp: above 370 gives 400, 0 to
    // 370 adds 30, -299 to -1 gives J / 6 + 51 (truncating: -1 gives 51, more
    // than 0's 30), -300 and below 0.
    static int32_t ClampJamming(int32_t margin);
};

class VisualSensor : public SensorOfClass<SensorClass::VISUAL, Sensor::STATE_PASSIVE> {
public:
    VisualSensor() = default;
    explicit VisualSensor(uint16_t sensorID) : SensorOfClass(sensorID) {}

    // Requests 1, 2 and 4 become passive.
    void SetState(uint32_t requested) override;
    Contact* Detect(Unit& own, Unit& target, const NavVector& vector, int selector, int32_t rangeLoss,
                    bool flagA, bool flagB, bool trackMode) override;
};

class InfraredSensor : public SensorOfClass<SensorClass::INFRARED, Sensor::STATE_PASSIVE> {
public:
    InfraredSensor() = default;
    explicit InfraredSensor(uint16_t sensorID) : SensorOfClass(sensorID) {}

    void SetState(uint32_t requested) override;
    Contact* Detect(Unit& own, Unit& target, const NavVector& vector, int selector, int32_t rangeLoss,
                    bool flagA, bool flagB, bool trackMode) override;
};

class SonarSensor : public DetectingSensor {
public:
    // Frequency bands, chosen from the search bands.
    static constexpr uint8_t BAND_LOW = 0;
    static constexpr uint8_t BAND_MIDDLE = 1;
    static constexpr uint8_t BAND_HIGH = 2;
    static constexpr uint32_t LOW_BAND_BIT = 0x1000000;
    static constexpr uint32_t MIDDLE_BAND_BIT = 0x2000000;
    static constexpr uint32_t HIGH_BAND_BIT = 0x4000000;

    SonarSensor() = default;
    // Passive, in the lowest band its search bands name (the high band when
    // they name neither the low nor the middle one).
    explicit SonarSensor(uint16_t sensorID);

    // 4, or 5 while active.
    uint8_t GetClassCode() const override;
    // Type 17 (active only) takes requests 1, 3 and 4 as off, the others as
    // passive; the passive-only types 4, 12, 14 and 15 take 2 as passive.
    void SetState(uint32_t requested) override;
    // The range against surface (0x1) or subsurface (0x8) targets in the
    // state the sensor is in; an aircraft's sonar is switched on while its
    // platform hovers low or has no path, and off otherwise.
    uint16_t GetRange(uint32_t classBits, bool flag) const override;
    // The range for the owner's own noise and sea state.
    uint16_t GetRangeDefault(uint32_t classBits) const override;
    // Passive: the base source without the source flag; active: without
    // source code and beam width.
    void SetContactSource(Contact& contact) const override;
    Contact* Detect(Unit& own, Unit& target, const NavVector& vector, int selector, int32_t rangeLoss,
                    bool flagA, bool flagB, bool trackMode) override;

    // Convergence zones the passive sonar reaches from where its owner lies:
    // 0 unless passive over water at or below the layer depth.
    uint16_t GetZoneCount() const;
    uint16_t GetRingCount() const override { return GetZoneCount(); }
    // The sound path from own to target at a range (range units): 0 direct,
    // -1 shallow (the bottom rises above -11 between them), k > 0 the k-th
    // convergence zone.
    static int16_t GetPathType(const Unit& own, const Unit& target, int32_t range);

    // Saved record: class code 4 u8, the base part, band u8 (0 to 2).
    void Save(std::ostream& out) const override;
    bool Load(std::istream& in) override;

    uint8_t band = BAND_HIGH;

private:
    // The owner's self noise, less a third of its radiated noise for the
    // towed and variable-depth types.
    int32_t AdjustedSelfNoise(const Unit& own) const;
};

class ESMSensor : public SensorOfClass<SensorClass::ESM, Sensor::STATE_PASSIVE> {
public:
    ESMSensor() = default;
    explicit ESMSensor(uint16_t sensorID) : SensorOfClass(sensorID) {}

    void SetState(uint32_t requested) override;
    // maxRange when asked with the flag, else 0.
    uint16_t GetRange(uint32_t classBits, bool flag) const override;
    Contact* Detect(Unit& own, Unit& target, const NavVector& vector, int selector, int32_t rangeLoss,
                    bool flagA, bool flagB, bool trackMode) override;
};

class ECMSensor : public SensorOfClass<SensorClass::ECM, Sensor::STATE_PASSIVE> {
public:
    ECMSensor() = default;
    explicit ECMSensor(uint16_t sensorID) : SensorOfClass(sensorID) {}

    // Requests 1, 3 and 4 become off; so does 2 for a set without power.
    void SetState(uint32_t requested) override;
    // A jammer detects nothing: other units receive it as jamming.
    Contact* Detect(Unit&, Unit&, const NavVector&, int, int32_t, bool, bool, bool) override { return nullptr; }
};

class SemiActiveSensor : public DetectingSensor {
public:
    SemiActiveSensor() = default;
    // Off, both carried values 0.
    explicit SemiActiveSensor(uint16_t sensorID);

    uint8_t GetClassCode() const override { return SensorClass::SEMI_ACTIVE; }
    // Off while the owner is below the surface; requests 1, 2 and 4 become
    // passive.
    void SetState(uint32_t requested) override;
    // The receiver of a guided weapon: detects what its illuminating sensor
    // can track.
    Contact* Detect(Unit& own, Unit& target, const NavVector& vector, int selector, int32_t rangeLoss,
                    bool flagA, bool flagB, bool trackMode) override;

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

    void SetState(uint32_t requested) override;
    Contact* Detect(Unit& own, Unit& target, const NavVector& vector, int selector, int32_t rangeLoss,
                    bool flagA, bool flagB, bool trackMode) override;
};

class LaserDesignatorSensor : public SensorOfClass<SensorClass::LASER_DESIGNATOR, Sensor::STATE_ACTIVE> {
public:
    LaserDesignatorSensor() = default;
    explicit LaserDesignatorSensor(uint16_t sensorID) : SensorOfClass(sensorID) {}

    // Requests 1, 3 and 4 become off.
    void SetState(uint32_t requested) override;
    // The last flag is the designator's third condition.
    Contact* Detect(Unit& own, Unit& target, const NavVector& vector, int selector, int32_t rangeLoss,
                    bool flagA, bool flagB, bool flagC) override;
};

// The shared lookout: a new visual sensor without a database record, passive,
// searching band 0x400000 to 50 nautical miles all round, margin -650, type
// 2, capabilities 0x33, no owner. Start-up keeps it in gDefaultSensor; the
// detection pass sets its owner before each use.
Sensor* MakeLookoutSensor();

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
