// PlaneFromAnnexTest.cpp: an aircraft built from its plane.dat record and a
// loadout: its components against the records (every sample type with every
// loadout it lists, and a small fixture), the loadout mount only for a listed
// loadout, the reserves, missing component records; the type's usable range
// and performance table, and their install as the annex load's pass.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "annex/AnnexTables.h"
#include "support/SampleAnnex.h"
#include "support/SampleMap.h"
#include "units/Plane.h"
#include "units/PlaneAnnexFigures.h"
#include "units/UnitTestSupport.h"
#include "world/Map.h"

namespace {

using namespace unittest;


// The tanks as fuel type x 100000 + capacity, in chain order.
std::vector<uint32_t> TanksOf(const Plane& plane)
{
    std::vector<uint32_t> tanks;
    for (const FuelTank* t = plane.fuelTanks.First(); t != nullptr; t = t->GetNext())
        tanks.push_back(t->GetFuelType() * 100000 + t->GetCapacity());
    return tanks;
}

const Mount* LoadoutMountOf(const Plane& plane)
{
    for (const Mount* m = plane.mounts.First(); m != nullptr; m = m->GetNext())
        if ((m->capabilities & Mount::LOADOUT) != 0)
            return m;
    return nullptr;
}

// The reserves as the creation works them out: a tenth of the full-tank
// range rounded up, and a tenth of the aviation fuel of full tanks.
void ExpectCreationReserves(const Plane& plane)
{
    uint16_t low = 0, high = 0, range = 0;
    plane.GetFuelRange(low, high, range);
    const uint32_t full = uint32_t{range} + plane.rangeReserve;
    EXPECT_EQ(plane.rangeReserve, (full + 9) / 10);
    EXPECT_EQ(plane.reserveFuel, static_cast<uint32_t>(plane.GetFuelCapacity(FuelType::AVIATION) / 10));
}

class SensorFactoryScope {
public:
    SensorFactoryScope() : previous_(SetSensorRecordFactory(&MakeRecordSensor)) {}
    ~SensorFactoryScope() { SetSensorRecordFactory(previous_); }

private:
    SensorRecordFactory previous_;
};

// ---------------------------------------------------------------------------
// A small annex: a jet, two aviation tanks, a drop-tank loadout, two comm
// fits, a radar and a mount; type 5 carries them all, type 6 has no
// propulsion, type 9 names only records that do not exist.

constexpr uint16_t JET = 5, GLIDER = 6, BROKEN = 9;
constexpr uint16_t DROP_TANKS = 7, UNLISTED = 8;

class SmallAnnex : public testing::Test {
protected:
    SmallAnnex()
    {
        Annex::Tables().Create();
        AnnexTables& t = Annex::Tables();
        auto* jet = new PropulsionAnnex(1);
        jet->primaryType = EngineType::JET;
        const uint16_t speeds[] = {0, 300, 400, 500};
        for (int s = 0; s < PropulsionPlant::SETTINGS; ++s)
            for (int b = 0; b < PropulsionPlant::BANDS; ++b)
                jet->speedTable[s][b] = {static_cast<int16_t>((b + 1) * 1000), static_cast<int16_t>(b * 1000),
                                         speeds[s]};
        for (int b = 0; b < PropulsionPlant::BANDS; ++b)
            jet->bandValuesA[b] = static_cast<uint16_t>(60 + 20 * b);
        t.Propulsions()->Insert(jet);
        AddFuelRecord(1, FuelType::AVIATION, 1000);
        AddFuelRecord(2, FuelType::AVIATION, 300);

        auto* weapon = new WeaponAnnex(20);
        weapon->weaponKind = 512;   // a drop tank
        Fill(weapon->fuelIDs, {2});
        t.Weapons()->Insert(weapon);
        auto* rec = new WeaponRec(2);
        rec->weaponID = 20;
        rec->shotsLeft = 2;
        t.WeaponRecs()->Insert(rec);
        for (uint16_t id : {DROP_TANKS, UNLISTED}) {
            auto* loadout = new LoadoutAnnex(id);
            Fill(loadout->weaponRecIDs, {2});
            t.Loadouts()->Insert(loadout);
        }

        AddComm(1, 0, 200);
        AddComm(2, DatalinkRecord::FLAG_NEEDS_LINK_FLAG, 300);
        auto* radar = new SensorAnnex(1);
        radar->sensorType = Sensor::TYPE_RADAR;
        t.Sensors()->Insert(radar);
        t.Mounts()->Insert(new MountAnnex(1));

        auto* plane = new PlaneAnnex(JET);
        plane->typeCode.Set("FTR-X");
        plane->className.Set("Kestrel");
        plane->aircraftFlags = 0x01000010;
        plane->climbRate = 30;
        plane->triple1 = {1, 2, 3};
        plane->triple2 = {4, 5, 6};
        plane->triple3 = {7, 8, 9};
        Fill(plane->propulsionIDs, {1});
        FillRecords(plane->sensorIDs, {1});
        FillRecords(plane->mountIDs, {1});
        plane->loadouts.Insert(new NavIDNode(DROP_TANKS, 0));
        Fill(plane->commIDs, {2, 1});
        Fill(plane->fuelIDs, {1});
        t.Planes()->Insert(plane);

        auto* glider = new PlaneAnnex(GLIDER);
        Fill(glider->fuelIDs, {1});
        t.Planes()->Insert(glider);

        auto* broken = new PlaneAnnex(BROKEN);
        Fill(broken->propulsionIDs, {99});
        FillRecords(broken->sensorIDs, {98});
        FillRecords(broken->mountIDs, {97});
        broken->loadouts.Insert(new NavIDNode(94, 0));
        Fill(broken->commIDs, {96});
        Fill(broken->fuelIDs, {95});
        t.Planes()->Insert(broken);
    }
    ~SmallAnnex() override { Annex::Tables().Delete(); }

    static void AddComm(uint16_t id, uint32_t flags, uint16_t range)
    {
        auto* comm = new CommAnnex(id);
        comm->commType = 3;
        comm->flags = flags;
        comm->range = range;
        Annex::Tables().Comms()->Insert(comm);
    }
    static PlaneAnnex& Record(uint16_t id) { return *Annex::Tables().Planes()->Find(id); }

    SensorFactoryScope sensorFactory;
};

}  // namespace

TEST_F(SmallAnnex, ThePlaneTakesItsRecord)
{
    const Plane plane(JET, 0);
    EXPECT_EQ(plane.GetAnnexID(), JET);
    EXPECT_STREQ(plane.GetName().Text(), "Kestrel");
    EXPECT_STREQ(plane.GetClassName().Text(), "FTR-X");
    EXPECT_EQ(plane.aircraftFlags, 0x01000010u);
    EXPECT_EQ(plane.climbRate, 30);
    EXPECT_EQ(plane.reserved32, 0u);
    EXPECT_EQ(plane.aspectValues[0], (ShortTriple{1, 2, 3}));
    EXPECT_EQ(plane.aspectValues[2], (ShortTriple{7, 8, 9}));
    ASSERT_NE(plane.plants.First(), nullptr);
    EXPECT_EQ(plane.plants.First()->propulsionAnnexID, 1);
    EXPECT_EQ(plane.plants.First()->hasFuel, 1);   // hooked up to the aviation tank
    ASSERT_NE(plane.sensors.First(), nullptr);
    EXPECT_EQ(plane.sensors.First()->GetOwner(), &plane);
    ASSERT_NE(plane.mounts.First(), nullptr);
    EXPECT_EQ(plane.mounts.First()->GetOwner(), &plane);
    // The comm fits: the one every unit can use first, keys 1 and 2.
    ASSERT_NE(plane.datalinks.Find(1), nullptr);
    ASSERT_NE(plane.datalinks.Find(2), nullptr);
    EXPECT_EQ(plane.datalinks.Find(1)->linkRange, 200);
    EXPECT_EQ(plane.datalinks.Find(2)->linkRange, 300);
    EXPECT_EQ(plane.GetLinkReach1(), plane.GetBestLinkRange(true));
    EXPECT_EQ(plane.GetLinkReach0(), plane.GetBestLinkRange(false));
    EXPECT_EQ(plane.GetLinkReach0(), 200);
    EXPECT_EQ(plane.cruiseSpeed, 300);
    EXPECT_GT(plane.rangeReserve, 0);
    ExpectCreationReserves(plane);
}

TEST_F(SmallAnnex, TheLoadoutMountOnlyForAListedLoadout)
{
    struct Case {
        const char* what;
        uint16_t loadout;
        bool mount;
        std::vector<uint32_t> tanks;   // the loadout's tanks come before the record's
    };
    const uint32_t AV = FuelType::AVIATION * 100000;
    const Case cases[] = {
        {"no loadout", 0, false, {AV + 1000}},
        {"a listed loadout", DROP_TANKS, true, {AV + 300, AV + 300, AV + 1000}},
        {"a loadout the type does not list", UNLISTED, false, {AV + 1000}},
        {"a loadout that does not exist", 77, false, {AV + 1000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Plane plane(JET, c.loadout);
        const Mount* mount = LoadoutMountOf(plane);
        EXPECT_EQ(mount != nullptr, c.mount);
        EXPECT_EQ(plane.loadoutID, c.mount ? c.loadout : 0);
        if (mount != nullptr) {
            EXPECT_EQ(mount->mountAnnexID, c.loadout);
        }
        EXPECT_EQ(TanksOf(plane), c.tanks);
        ExpectCreationReserves(plane);
    }
}

TEST_F(SmallAnnex, MissingRecordsBuildClearedComponents)
{
    const Plane plane(BROKEN, 94);
    EXPECT_EQ(plane.GetAnnexID(), BROKEN);
    ASSERT_NE(plane.plants.First(), nullptr);        // a plant of the missing record, cleared
    EXPECT_EQ(plane.plants.First()->propulsionAnnexID, 99);
    EXPECT_EQ(plane.plants.First()->speedTable[1][0].speed, 0);
    EXPECT_EQ(plane.sensors.First(), nullptr);       // the sensor factory skips a missing record
    ASSERT_NE(plane.mounts.First(), nullptr);
    EXPECT_EQ(plane.mounts.First()->GetNext(), nullptr);   // loadout 94 does not exist: no mount
    EXPECT_EQ(plane.loadoutID, 94);
    ASSERT_NE(plane.datalinks.First(), nullptr);
    EXPECT_EQ(plane.datalinks.First()->linkRange, 0);
    EXPECT_EQ(TanksOf(plane), (std::vector<uint32_t>{0}));
    EXPECT_EQ(plane.rangeReserve, 0);
    EXPECT_EQ(plane.reserveFuel, 0u);
    EXPECT_EQ(Record(BROKEN).GetUsableRange(0), 0);

    // Without its record the plane keeps only the id.
    const Plane missing(200, 0);
    EXPECT_EQ(missing.GetAnnexID(), 200);
    EXPECT_EQ(missing.plants.First(), nullptr);
    EXPECT_EQ(missing.fuelTanks.First(), nullptr);
    EXPECT_STREQ(missing.GetName().Text(), "");
}

TEST_F(SmallAnnex, UsableRangeGrowsWithFuelTheLoadoutAdds)
{
    PlaneAnnex& record = Record(JET);
    const uint16_t clean = record.GetUsableRange(0);
    const uint16_t tanked = record.GetUsableRange(DROP_TANKS);
    EXPECT_GT(clean, 0);
    EXPECT_GT(tanked, clean);
    EXPECT_EQ(record.GetUsableRange(UNLISTED), clean);
    // The full-tank range less the reserve, as the plane itself gives it.
    const Plane plane(JET, DROP_TANKS);
    uint16_t low = 0, high = 0, range = 0;
    plane.GetFuelRange(low, high, range);
    EXPECT_EQ(tanked, range);
    EXPECT_EQ(Record(GLIDER).GetUsableRange(0), 0);
}

TEST_F(SmallAnnex, PerformanceTableBySettingAndBand)
{
    PlaneAnnex& record = Record(JET);
    record.BuildPerformanceTable();
    const Plane plane(JET, 0);
    for (int s = 0; s < PlaneAnnex::PERF_SETTINGS; ++s) {
        for (int b = 0; b < PlaneAnnex::PERF_BANDS; ++b) {
            SCOPED_TRACE("setting " + std::to_string(s) + " band " + std::to_string(b));
            const int i = PlaneAnnex::PERF_BANDS * s + b;
            EXPECT_EQ(record.perfCeiling[i], (b + 1) * 1000);
            EXPECT_EQ(record.perfSpeed[i], plane.plants.First()->speedTable[s][b].speed);
            if (s == 0) {
                EXPECT_EQ(record.perfRange[i], 0);   // no speed, no range
            } else {
                EXPECT_GT(record.perfRange[i], 0);
            }
        }
    }
    // More fuel burnt at a higher band: the range falls with the band.
    EXPECT_GT(record.perfRange[PlaneAnnex::PERF_BANDS * 1 + 0], record.perfRange[PlaneAnnex::PERF_BANDS * 1 + 3]);
    // At cruise in the first band: nine tenths of the full-tank range.
    const uint32_t full = uint32_t{record.GetUsableRange(0)} + plane.rangeReserve;
    EXPECT_NEAR(record.perfRange[PlaneAnnex::PERF_BANDS * 1 + 0], full * 9 / 10, 1 + full / 100);
}

TEST_F(SmallAnnex, NoPropulsionGivesAnEmptyTable)
{
    PlaneAnnex& record = Record(GLIDER);
    record.perfSpeed[3] = 7;   // stale figures go
    record.perfRange[15] = 7;
    record.perfCeiling[0] = 7;
    record.BuildPerformanceTable();
    for (int i = 0; i < PlaneAnnex::PERF_ENTRIES; ++i) {
        EXPECT_EQ(record.perfSpeed[i], 0) << i;
        EXPECT_EQ(record.perfRange[i], 0) << i;
        EXPECT_EQ(record.perfCeiling[i], 0) << i;
    }
}

// ---------------------------------------------------------------------------
// The sample database.

namespace {

class SampleAircraft : public testing::Test {
protected:
    void SetUp() override
    {
        Annex::FreeScenarioAnnex();
        ASSERT_TRUE(sampleannex::NameReferences(sampleannex::SAMPLE_DIR, 1));
    }
    void TearDown() override
    {
        UninstallAircraftFigures();
        Annex::FreeScenarioAnnex();
    }

    SensorFactoryScope sensorFactory;
};

}  // namespace

TEST_F(SampleAircraft, EveryTypeWithEveryLoadoutMatchesItsRecords)
{
    ASSERT_TRUE(Annex::LoadDatabase(sampleannex::SAMPLE_DIR));
    const AnnexTables& t = Annex::Tables();
    int built = 0;
    for (const PlaneAnnex* record = t.Planes()->First(); record != nullptr; record = record->GetNext()) {
        std::vector<uint16_t> loadouts{0};
        for (const NavIDNode* l = record->loadouts.First(); l != nullptr; l = l->GetNext())
            loadouts.push_back(l->GetKey());
        for (const LoadoutAnnex* l = t.Loadouts()->First(); l != nullptr; l = l->GetNext()) {
            if (!record->HasLoadout(l->GetKey())) {
                loadouts.push_back(l->GetKey());   // one the type does not list
                break;
            }
        }
        for (uint16_t loadout : loadouts) {
            SCOPED_TRACE(std::string(record->className.Text()) + " loadout " + std::to_string(loadout));
            const Plane plane(record->GetKey(), loadout);
            ++built;
            EXPECT_STREQ(plane.GetName().Text(), record->className.Text());
            EXPECT_STREQ(plane.GetClassName().Text(), record->typeCode.Text());
            std::vector<uint16_t> plants;
            for (const PropulsionPlant* p = plane.plants.First(); p != nullptr; p = p->GetNext())
                plants.push_back(p->propulsionAnnexID);
            EXPECT_EQ(plants, IdsOf(record->propulsionIDs));

            std::vector<uint16_t> mounts;
            for (const Mount* m = plane.mounts.First(); m != nullptr; m = m->GetNext())
                if ((m->capabilities & Mount::LOADOUT) == 0)
                    mounts.push_back(m->mountAnnexID);
            EXPECT_EQ(mounts, IdsOf(record->mountIDs));
            const bool listed = record->HasLoadout(loadout) && t.Loadouts()->Find(loadout) != nullptr;
            EXPECT_EQ(LoadoutMountOf(plane) != nullptr, listed);
            EXPECT_EQ(plane.loadoutID, record->HasLoadout(loadout) ? loadout : 0);

            // The record's own sensors of a class come first, those of stores after.
            std::vector<uint16_t> sensors, expectedSensors;
            for (const IDRecord* s = record->sensorIDs.First(); s != nullptr; s = s->GetNext())
                if (const SensorAnnex* r = t.Sensors()->Find(s->GetKey()))
                    if (SensorClassForType(r->GetSensorType(), false) != SensorClass::NONE)
                        expectedSensors.push_back(s->GetKey());
            for (const Sensor* s = plane.sensors.First(); s != nullptr && sensors.size() < expectedSensors.size();
                 s = s->GetNext())
                sensors.push_back(s->GetSensorID());
            EXPECT_EQ(sensors, expectedSensors);

            std::vector<uint16_t> comms;
            for (const DatalinkRecord* d = plane.datalinks.First(); d != nullptr; d = d->GetNext()) {
                comms.push_back(d->auxWord);
                const CommAnnex* comm = t.Comms()->Find(d->auxWord);
                EXPECT_EQ(d->linkRange, comm != nullptr ? comm->range : 0);
            }
            // A comm fit without its record is built cleared, id 0 included.
            std::vector<uint16_t> expectedComms;
            for (uint16_t id : IdsOf(record->commIDs))
                expectedComms.push_back(t.Comms()->Find(id) != nullptr ? id : 0);
            std::sort(comms.begin(), comms.end());
            std::sort(expectedComms.begin(), expectedComms.end());
            EXPECT_EQ(comms, expectedComms);

            // The record's tanks close the chain, full.
            std::vector<uint32_t> tanks = TanksOf(plane), expectedTanks;
            for (const IDNode* f = record->fuelIDs.First(); f != nullptr; f = f->GetNext()) {
                const FuelAnnex* fuel = t.Fuels()->Find(f->GetKey());
                expectedTanks.push_back(fuel != nullptr ? fuel->fuelType * 100000 + fuel->capacity : 0);
            }
            ASSERT_GE(tanks.size(), expectedTanks.size());
            EXPECT_EQ(std::vector<uint32_t>(tanks.end() - static_cast<long>(expectedTanks.size()), tanks.end()),
                      expectedTanks);
            if (!listed) {
                EXPECT_EQ(tanks.size(), expectedTanks.size());
            }
            for (const FuelTank* tank = plane.fuelTanks.First(); tank != nullptr; tank = tank->GetNext())
                EXPECT_EQ(tank->GetCount(), tank->GetCapacity());
            EXPECT_EQ(plane.aspectValues[0], record->triple1);
            EXPECT_EQ(plane.aspectValues[1], record->triple2);
            EXPECT_EQ(plane.aspectValues[2], record->triple3);
            EXPECT_EQ(plane.climbRate, record->climbRate);
            ExpectCreationReserves(plane);
        }
    }
    EXPECT_GT(built, 0);
}

TEST_F(SampleAircraft, TheHooksFillTheTablesAtLoadWhenTheMapHasBounds)
{
    InstallAircraftFigures();
    // Without a map nothing is worked out.
    ASSERT_EQ(gMap, nullptr);
    ASSERT_TRUE(Annex::LoadDatabase(sampleannex::SAMPLE_DIR));
    for (const PlaneAnnex* r = Annex::Tables().Planes()->First(); r != nullptr; r = r->GetNext()) {
        EXPECT_EQ(r->usableRange, 0);
        EXPECT_EQ(r->perfSpeed[PlaneAnnex::PERF_BANDS], 0);
    }

    std::string error;
    std::unique_ptr<Map> map =
        samplemap::LoadSampleMap(error, [](bool land, bool, int32_t, int32_t) -> int16_t { return land ? 30 : -800; });
    ASSERT_NE(map, nullptr) << error;
    Map* const previous = gMap;
    gMap = map.get();
    ASSERT_TRUE(Annex::LoadDatabase(sampleannex::SAMPLE_DIR));
    int withRange = 0;
    for (PlaneAnnex* r = Annex::Tables().Planes()->First(); r != nullptr; r = r->GetNext()) {
        SCOPED_TRACE(r->className.Text());
        EXPECT_EQ(r->usableRange, r->GetUsableRange(0));
        for (const NavIDNode* l = r->loadouts.First(); l != nullptr; l = l->GetNext())
            EXPECT_EQ(l->GetValue(), r->GetUsableRange(l->GetKey()));
        PlaneAnnex copy(r->GetKey());
        std::copy(std::begin(r->perfRange), std::end(r->perfRange), std::begin(copy.perfRange));
        r->BuildPerformanceTable();   // the same again, the map unchanged
        EXPECT_TRUE(std::equal(std::begin(r->perfRange), std::end(r->perfRange), std::begin(copy.perfRange)));
        withRange += r->usableRange > 0 ? 1 : 0;
    }
    EXPECT_GT(withRange, 0);
    gMap = previous;
}
