// SensorWorld.h: what the sensor tests run in: the contact tests' world (game
// clock, arena units, side records, resource texts) with the sensor classes
// installed, a scenario sensor table, default settings and sonar conditions,
// and a unit whose every figure the sensors read is set by the test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "annex/AnnexTables.h"
#include "core/NavVector.h"
#include "ContactWorld.h"
#include "engagement/DetectingSensor.h"
#include "engagement/SensorClasses.h"
#include "engagement/SensorSettings.h"
#include "engagement/SonarConditions.h"
#include "world/game2ui.h"

namespace sensortest {

// A unit answering every figure a sensor test reads from fields the test sets.
class SensorUnit : public contacttest::FakeUnit {
public:
    SensorUnit(uint16_t id, char letter, uint32_t mask) : FakeUnit(id, letter, mask), classBits(mask) {}

    uint32_t GetTargetMask() const override { return classBits; }
    int16_t GetAltitude() const override { return altitude; }
    int16_t GetRadarSignature(int) const override { return radar; }
    int16_t GetFirstSonarSignature(int) const override { return radiated; }
    int16_t GetSecondSonarSignature(int) const override { return strength; }
    int16_t GetVisualSignature(int) const override { return visual; }
    int16_t GetInfraredSignature(int) const override { return infrared; }
    int16_t GetEmissionLevel(uint32_t bands) const override
    {
        const auto found = emission.find(bands);
        return found != emission.end() ? found->second : 0;
    }
    bool CanSeeTarget(const Unit&) const override { return seesTarget; }
    uint16_t GetNoiseAddition() const override { return noiseAddition; }
    uint16_t GetGuidanceUnitID() const override { return guidanceID; }
    uint16_t GetLauncherID() const override { return launcherID; }
    uint16_t GetGuidanceSensorKey() const override { return guidanceSensor; }
    int32_t GetDamagePercent() const override { return damage; }

    // The sensors' altitude, and the position's (its depth band) with it.
    void At(int16_t value)
    {
        altitude = value;
        SetAltitude(value);
    }
    void Weather(uint8_t seaState, uint8_t weatherCode = 0, uint8_t cloudCover = 0)
    {
        WeatherReport report;
        report.seaState = seaState;
        report.weatherCode = weatherCode;
        report.cloudCover = cloudCover;
        SetWeather(report);
    }
    using Unit::SetHorizon;

    uint32_t classBits;
    int16_t altitude = 0;
    int16_t radar = 0, radiated = 0, strength = 0, visual = 0, infrared = 0;
    std::map<uint32_t, int16_t> emission;   // by the exact band mask asked
    bool seesTarget = true;
    uint16_t noiseAddition = 0;
    uint16_t guidanceID = 0, launcherID = 0, guidanceSensor = 0;
    int32_t damage = 0;
};

// The contact world with sensor classes, tables, settings and conditions.
class SensorWorld : public contacttest::ContactWorld {
public:
    SensorWorld()
        : previousFactory(SetSensorFactory(nullptr)), previousRecordFactory(SetSensorRecordFactory(nullptr)),
          previousSettings(SetSensorSettings(SensorSettings{}))
    {
        InstallSensorClasses();
        Annex::Tables().Create();
        SonarConditions::czInterval = 60;
        SonarConditions::czWidth = 10;
        SonarConditions::czFirst = 60;
        SonarConditions::czLast = 70;
        SonarConditions::layerDepth = -250;
        game2ui::ClearVisibility();
        game2ui::SetShowAll(true);   // the player sees the own units unless a test hides them
    }
    ~SensorWorld()
    {
        game2ui::ClearVisibility();
        SetSensorSettings(previousSettings);
        Annex::Tables().Delete();
        SetSensorFactory(previousFactory);
        SetSensorRecordFactory(previousRecordFactory);
    }

    SensorUnit& Add(uint16_t id, char letter, uint32_t mask, const LatLonPoint& at = {})
    {
        auto* u = new SensorUnit(id, letter, mask);
        u->SetPosition(at);
        units.Insert(u);
        return *u;
    }
    // A sensor.dat record of a type; the test sets its figures.
    static SensorAnnex& Record(uint16_t id, uint32_t type)
    {
        auto* r = new SensorAnnex(id);
        r->sensorType = type;
        Annex::Tables().Sensors()->Insert(r);
        return *r;
    }
    // A sensor of a class from its record, owned by `owner`.
    template <class T>
    static std::unique_ptr<T> Make(uint16_t id, Unit* owner)
    {
        auto sensor = std::make_unique<T>(id);
        sensor->SetSensorType(static_cast<uint8_t>(Annex::Tables().Sensors()->Find(id)->sensorType));
        sensor->SetOwner(owner);
        sensor->targetClasses = Sensor::ALL_SECTORS;
        return sensor;
    }
    static void Settings(const SensorSettings& settings) { SetSensorSettings(settings); }

    // How many of `runs` calls of `detect` make a contact (each deleted).
    static int Count(int runs, const std::function<Contact*()>& detect)
    {
        int seen = 0;
        for (int i = 0; i < runs; ++i) {
            Contact* c = detect();
            seen += c != nullptr;
            delete c;
        }
        return seen;
    }

private:
    SensorFactory previousFactory;
    SensorRecordFactory previousRecordFactory;
    SensorSettings previousSettings;
};

inline NavVector Range(int32_t rangeUnits, int32_t bearing = 0)
{
    return NavVector(rangeUnits, bearing);
}

}  // namespace sensortest
