// DetectionScene.h: a world for the unit-pair step over many units: the
// sample map, an arena, two sides each with one side record, sensor records
// and classes, and units of both sides (ships, aircraft and submarines with
// four sensors each, every 25th with an active jammer) spread at random over
// the sample sea area. What the pair step posts is summed up per contact;
// the jamming entries can be listed. Used by the engagement tests and the
// detection benchmark.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "annex/AnnexTables.h"
#include "core/RandomGen.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/ContactCalls.h"
#include "engagement/SensorClasses.h"
#include "engagement/SideContactsList.h"
#include "engagement/SonarConditions.h"
#include "engagement/UnitDetection.h"
#include "units/Unit.h"
#include "units/UnitList.h"
#include "world/Game2UI2.h"
#include "world/Map.h"
#include "world/game2ui.h"

#include "SampleMap.h"

namespace detectionscene {

// A unit of the scene with fixed signatures, a letter and a target mask.
class SceneUnit : public Unit {
public:
    SceneUnit(char letter, uint32_t mask) : letter_(letter), mask_(mask) {}
    char GetTypeLetter() const override { return letter_; }
    uint32_t GetTargetMask() const override { return mask_; }
    int16_t GetRadarSignature(int) const override { return 250; }
    int16_t GetVisualSignature(int) const override { return 100; }
    int16_t GetFirstSonarSignature(int) const override { return 110; }
    int16_t GetEmissionLevel(uint32_t) const override { return -150; }
    int32_t GetDamagePercent() const override { return 0; }
    void SaveFields(std::ostream& out) const override { SaveField(out, static_cast<uint8_t>(letter_)); }
    bool LoadFields(std::istream&) override { return true; }
    using Unit::SetHorizon;

private:
    char letter_;
    uint32_t mask_;
};

// What one posted detection says, in a form that compares.
using Posted = std::tuple<uint16_t, uint16_t, uint16_t, uint32_t, uint32_t, uint16_t, uint32_t>;
// recordKey, target, observer, detectionKind, sensorBitsLatest, bearingError, signalValue

// One jamming entry: holder, jammer, mask, direction and the levels.
using Jamming = std::tuple<uint16_t, uint16_t, uint32_t, int16_t, std::vector<int16_t>>;

inline int16_t SceneCell(bool land, bool, int32_t, int32_t)
{
    return land ? int16_t{600} : int16_t{-3000};
}

class Scene {
public:
    // Sensor records: surface radar, ESM, visual, passive sonar, jammer.
    static constexpr uint16_t RADAR = 1, ESM = 2, EYE = 3, SONAR = 4, JAMMER = 5;

    Scene(int count, uint32_t seed)
    {
        Active() = this;
        std::string error;
        map = samplemap::LoadSampleMap(error, &SceneCell);
        if (!map)
            return;
        previousMap = gMap;
        gMap = map.get();
        arena.Generator().SetSeed(seed);   // the detection chances repeat from run to run
        previousArena = gam2arena::SetArenaState(&arena);
        previousUnits = UnitList::SetArenaList(&units);
        previousSides = SideContactsList::SetArenaList(&sides);
        ContactCalls calls;
        calls.makeContactUpdateEvent = [](Contact* contact, uint16_t key) -> Event* {
            if (Active()->capture)
                Active()->posted.emplace_back(key, contact->GetKey(), contact->observerId, contact->detectionKind,
                                              contact->sensorBitsLatest, contact->bearingError,
                                              contact->signalValue);
            delete contact;
            return nullptr;
        };
        previousCalls = SetContactCalls(calls);
        InstallSensorClasses();
        InstallUnitDetection();
        Annex::Tables().Create();
        AddRecords();
        game2ui::SetShowAll(true);
        SonarConditions::czInterval = 60;
        SonarConditions::czWidth = 10;
        SonarConditions::layerDepth = -250;
        for (uint16_t key = 1; key <= 2; ++key)
            sides.Insert(new SideContacts(key));
        RandomGen random;
        random.SetSeed(seed);
        for (uint16_t key = 1; key <= count; ++key)
            AddUnit(key, random);
        ok = true;
    }
    ~Scene()
    {
        if (!ok)
            return;
        for (Unit* u = units.First(); u != nullptr; u = u->GetNext())
            u->ForgetMemberships();
        units.DeleteAll();
        sides.DeleteAll();
        Annex::Tables().Delete();
        UninstallUnitDetection();
        SetContactCalls(previousCalls);
        SideContactsList::SetArenaList(previousSides);
        UnitList::SetArenaList(previousUnits);
        gam2arena::SetArenaState(previousArena);
        gMap = previousMap;
        Active() = nullptr;
    }
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // One full pass: UpdatePairDetection for every pair; the pairs run.
    int64_t Pass()
    {
        int64_t pairs = 0;
        for (Unit* a = units.First(); a != nullptr; a = a->GetNext()) {
            for (Unit* b = a->GetNext(); b != nullptr; b = b->GetNext()) {
                a->UpdatePairDetection(*b);
                ++pairs;
            }
        }
        return pairs;
    }

    std::vector<Jamming> JammingEntries() const
    {
        std::vector<Jamming> all;
        for (Unit* u = units.First(); u != nullptr; u = u->GetNext()) {
            for (const SignatureRecord* r = u->JammingEntries().First(); r != nullptr; r = r->GetNext()) {
                std::vector<int16_t> levels;
                for (int band = 0; band < SignatureRecord::BAND_COUNT; ++band)
                    levels.push_back(r->GetBandLevel(band));
                all.emplace_back(u->GetID(), r->GetKey(), r->GetBandMask(), r->GetDirection(), levels);
            }
        }
        return all;
    }

    static Scene*& Active()
    {
        static Scene* active = nullptr;
        return active;
    }

    bool ok = false;
    bool capture = true;
    std::vector<Posted> posted;
    ArenaState arena;
    UnitList units;
    SideContactsList sides;

private:
    static void AddRecords()
    {
        auto add = [](uint16_t id, uint32_t type) -> SensorAnnex& {
            auto* r = new SensorAnnex(id);
            r->sensorType = type;
            Annex::Tables().Sensors()->Insert(r);
            return *r;
        };
        SensorAnnex& radar = add(RADAR, Sensor::TYPE_RADAR);
        radar.searchBands = 0x10;
        radar.maxRange = 32;
        radar.searchThreshold = 100;
        radar.searchJamGain = 24;
        radar.jamMargin = 30;
        radar.beamWidth = 8;
        radar.capabilities = 0x133;
        SensorAnnex& esm = add(ESM, Sensor::TYPE_ESM);
        esm.searchBands = 0xFC;
        esm.maxRange = 60;
        esm.jamMargin = -60;
        esm.capabilities = 0x120;
        SensorAnnex& eye = add(EYE, Sensor::TYPE_VISUAL);
        eye.maxRange = 20;
        eye.jamMargin = -650;
        eye.capabilities = 0x33;
        SensorAnnex& sonar = add(SONAR, Sensor::TYPE_PASSIVE_SONAR);
        sonar.searchBands = SonarSensor::MIDDLE_BAND_BIT;
        sonar.maxRange = 40;
        sonar.capabilities = 0x9;
        SensorAnnex& jammer = add(JAMMER, Sensor::TYPE_ECM);
        jammer.searchBands = 0x3C;
        jammer.searchJamGain = 60;
        jammer.jamMargin = 15;
        jammer.maxRange = 60;
    }

    void AddUnit(uint16_t key, RandomGen& random)
    {
        // Mostly ships; every fifth an aircraft, every seventh a submarine.
        const bool aircraft = key % 5 == 0;
        const bool submarine = !aircraft && key % 7 == 0;
        auto* unit = new SceneUnit(aircraft ? 'P' : submarine ? 'U' : 'S', aircraft ? 4u : submarine ? 2u : 1u);
        unit->SetKey(key);
        const uint16_t side = static_cast<uint16_t>(1 + key % 2);
        unit->SetSideID(side);
        unit->SetPosition(samplemap::At(71.5 + random.MPRandom(5000) / 1000.0, -4.5 + random.MPRandom(11000) / 1000.0));
        unit->SetAltitude(aircraft ? int16_t{300} : submarine ? int16_t{-10} : int16_t{0});
        unit->course = static_cast<int32_t>(random.MPRandom(360)) * ANGLE_PER_DEGREE;
        unit->speed = aircraft ? 400 : 15;
        const uint16_t types[4] = {Sensor::TYPE_RADAR, Sensor::TYPE_ESM, Sensor::TYPE_VISUAL,
                                   Sensor::TYPE_PASSIVE_SONAR};
        for (uint16_t s = 1; s <= 4; ++s)
            AddSensor(*unit, s, static_cast<uint8_t>(types[s - 1]), s, s == 1 ? Sensor::STATE_ACTIVE : Sensor::STATE_PASSIVE);
        if (key % 25 == 0) {
            AddSensor(*unit, 5, Sensor::TYPE_ECM, JAMMER, Sensor::STATE_ACTIVE);
            unit->field6 = 1;   // jamming
        }
        unit->SetFlags(UnitFlag::KEEPS_JAMMING);
        unit->UpdateSensorReach();
        unit->SetHorizon(aircraft ? 250 : submarine ? 0 : 12);
        units.Insert(unit);
        unit->SetSide(*sides.Find(side), 0);
    }

    static void AddSensor(Unit& unit, uint16_t key, uint8_t type, uint16_t record, uint32_t state)
    {
        Sensor* sensor = MakeSensorFromRecord(SensorClassForType(type, false), record);
        sensor->SetKey(key);
        sensor->SetSensorType(type);
        sensor->SetOwner(&unit);
        sensor->targetClasses = Sensor::ALL_SECTORS;
        sensor->SetState(state);
        unit.sensors.Insert(sensor);
    }

    std::unique_ptr<Map> map;
    Map* previousMap = nullptr;
    ArenaState* previousArena = nullptr;
    UnitList* previousUnits = nullptr;
    SideContactsList* previousSides = nullptr;
    ContactCalls previousCalls;
};

}  // namespace detectionscene
