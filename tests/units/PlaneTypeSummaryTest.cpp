// PlaneTypeSummaryTest.cpp: the summary of an aircraft type (radar values,
// sonar, sonobuoys, listed records) and the launch of its best-armed record.
#include <gtest/gtest.h>

#include <vector>

#include "StationTestSupport.h"
#include "annex/AnnexTables.h"
#include "annex/LoadoutAnnex.h"
#include "annex/MountAnnex.h"
#include "annex/PlaneAnnex.h"
#include "annex/SensorAnnex.h"
#include "annex/WeaponAnnex.h"
#include "annex/WeaponRec.h"
#include "core/IDRecord.h"
#include "units/PlaneRecBridge.h"
#include "units/PlaneTypeSummary.h"

namespace {

using stationtest::Carrier;

struct Launched {
    uint16_t unit, record, loadout;
    uint8_t wanted, flag;
    const StationRecord* target;
};
std::vector<Launched>* gLaunched = nullptr;

class PlaneTypeSummaryTest : public stationtest::StationWorld {
protected:
    static constexpr uint16_t CARRIER_ID = 20;
    static constexpr uint16_t TYPE_ID = 11;

    PlaneTypeSummaryTest()
    {
        Annex::Tables().Create();
        type = new PlaneAnnex(TYPE_ID);
        type->bytes[0] = 7;
        type->bytes[1] = 9;
        Annex::Tables().Planes()->Insert(type);
        PlaneRecCalls calls;
        // A weapon record rates as many as its shots.
        calls.canFireAt = [](const WeaponRec& rec, uint32_t, bool) -> uint32_t { return rec.shotsLeft; };
        calls.launchStrike = [](LaunchList* list, const StationRecord* target) {
            for (const LaunchEntry* e = list->First(); e != nullptr; e = e->GetNext())
                gLaunched->push_back({e->unitId, e->planeRecId, e->readyState, e->aircraftWanted, e->launchFlag,
                                      target});
            delete list;
        };
        previousCalls = SetPlaneRecCalls(calls);
        gLaunched = &launched;
        carrier = new Carrier();
        carrier->SetKey(CARRIER_ID);
        units.Insert(carrier);
    }
    ~PlaneTypeSummaryTest() override
    {
        units.DeleteAll();
        gLaunched = nullptr;
        SetPlaneRecCalls(previousCalls);
        Annex::Tables().Delete();
    }

    void AddSensor(uint16_t id, uint32_t sensorType, uint32_t capabilities, uint16_t range)
    {
        auto* s = new SensorAnnex(id);
        s->sensorType = sensorType;
        s->capabilities = capabilities;
        s->maxRange = range;
        Annex::Tables().Sensors()->Insert(s);
    }
    void AddWeaponRec(uint16_t id, uint16_t weaponID, uint16_t shots)
    {
        auto* r = new WeaponRec(id);
        r->weaponID = weaponID;
        r->shotsLeft = shots;
        Annex::Tables().WeaponRecs()->Insert(r);
    }
    // A loadout of one weapon record rated `rating`.
    void AddLoadout(uint16_t id, uint16_t rating)
    {
        AddWeaponRec(static_cast<uint16_t>(100 + id), 1, rating);
        auto* l = new LoadoutAnnex(id);
        l->weaponRecIDs.Insert(new IDNode(static_cast<uint16_t>(100 + id)));
        Annex::Tables().Loadouts()->Insert(l);
    }
    PlaneRec* AddRecord(uint16_t key, uint8_t count, uint16_t loadout)
    {
        PlaneRec* r = new PlaneRec(key);
        r->planeAnnexID = TYPE_ID;
        r->unitID = CARRIER_ID;
        r->count = count;
        r->loadoutID = loadout;
        carrier->records.Insert(r);
        return r;
    }

    PlaneAnnex* type = nullptr;
    Carrier* carrier = nullptr;
    std::vector<Launched> launched;

private:
    PlaneRecCalls previousCalls;
};

TEST_F(PlaneTypeSummaryTest, RadarsGiveTheirBestValuesAndASonarIsNotedOnce)
{
    AddSensor(1, SENSOR_TYPE_RADAR, 0x1, 40);
    AddSensor(2, SENSOR_TYPE_RADAR, 0x1, 60);
    AddSensor(3, SENSOR_TYPE_RADAR, 0x3, 50);   // both bits: counts for both
    AddSensor(4, SENSOR_TYPE_ACTIVE_PASSIVE_SONAR, 0, 0);
    AddSensor(5, SENSOR_TYPE_PASSIVE_SONAR, 0, 0);
    AddSensor(6, SENSOR_TYPE_RADAR, 0x3, 80);
    for (uint16_t id : {1, 2, 3})
        type->sensorIDs.Insert(new IDRecord(id));
    // Loadouts bring sensors in their sensor-carrying weapons only.
    const auto addLoadout = [this](uint16_t id, uint32_t weaponKind, std::initializer_list<uint16_t> sensors) {
        auto* weapon = new WeaponAnnex(id);
        weapon->weaponKind = weaponKind;
        for (uint16_t s : sensors)
            weapon->sensors.Insert(new IDRecord(s));
        Annex::Tables().Weapons()->Insert(weapon);
        AddWeaponRec(id, id, 1);
        auto* load = new LoadoutAnnex(id);
        load->weaponRecIDs.Insert(new IDNode(id));
        load->firstIDs.Insert(new IDNode(6));   // not a sensor list
        Annex::Tables().Loadouts()->Insert(load);
    };
    addLoadout(29, 0x2, {4, 6});   // a bomb: its sensors do not count
    addLoadout(30, 0x80, {4});
    addLoadout(31, 0x80, {5});
    addLoadout(32, 0x80, {6});

    PlaneTypeSummary summary(TYPE_ID);
    EXPECT_EQ(summary.GetKey(), TYPE_ID);
    EXPECT_EQ(summary.value1, 7);
    EXPECT_EQ(summary.value2, 9);
    EXPECT_EQ(summary.surfaceSearch, 60);
    EXPECT_EQ(summary.airSearch, 50);
    EXPECT_EQ(summary.hasSonar, 0);
    summary.AddLoadout(29);
    summary.AddLoadout(99);   // missing: nothing
    EXPECT_EQ(summary.hasSonar, 0);
    EXPECT_EQ(summary.surfaceSearch, 60);
    summary.AddLoadout(30);
    summary.AddLoadout(31);   // the first sonar's loadout stays
    EXPECT_EQ(summary.hasSonar, 1);
    EXPECT_EQ(summary.sonarLoadoutID, 30);
    summary.AddLoadout(32);   // a radar with both bits raises both values
    EXPECT_EQ(summary.surfaceSearch, 80);
    EXPECT_EQ(summary.airSearch, 80);
}

TEST_F(PlaneTypeSummaryTest, SonobuoysAreCountedFromTheMountsAndAMissingTypeGivesZeros)
{
    auto* buoy = new WeaponAnnex(5);
    buoy->weaponKind = 0x100;
    Annex::Tables().Weapons()->Insert(buoy);
    auto* bomb = new WeaponAnnex(6);
    bomb->weaponKind = 0x2;
    Annex::Tables().Weapons()->Insert(bomb);
    AddWeaponRec(50, 5, 8);
    AddWeaponRec(51, 5, 4);
    AddWeaponRec(52, 6, 9);    // not a sonobuoy
    AddWeaponRec(53, 77, 9);   // weapon missing
    auto* mount = new MountAnnex(60);
    for (uint16_t id : {50, 51, 52, 53})
        mount->weaponRecIDs.Insert(new IDNode(id));
    Annex::Tables().Mounts()->Insert(mount);
    type->mountIDs.Insert(new IDRecord(60));

    EXPECT_EQ(PlaneTypeSummary(TYPE_ID).sonobuoys, 12);
    const PlaneTypeSummary missing(99);
    EXPECT_EQ(missing.value1, 0);
    EXPECT_EQ(missing.sonobuoys, 0);
    EXPECT_EQ(missing.surfaceSearch, 0);
}

TEST_F(PlaneTypeSummaryTest, ARecordIsListedOnce)
{
    PlaneTypeSummary summary(TYPE_ID);
    PlaneRec* record = AddRecord(3, 4, 0);
    summary.AddRecord(*record);
    summary.AddRecord(*record);
    summary.AddRecord(*AddRecord(4, 2, 0));
    ASSERT_NE(summary.records.First(), nullptr);
    EXPECT_EQ(summary.records.First()->planeRecId, 3);
    EXPECT_EQ(summary.records.First()->aircraftWanted, 4);
    EXPECT_EQ(summary.records.Last()->planeRecId, 4);
    EXPECT_EQ(summary.records.First()->GetNext(), summary.records.Last());
}

TEST_F(PlaneTypeSummaryTest, TheBestArmedRecordSendsOneAircraftTheLaterOfEquals)
{
    AddLoadout(1, 3);
    AddLoadout(2, 5);
    AddLoadout(3, 5);
    PlaneTypeSummary summary(TYPE_ID);
    for (uint16_t key : {1, 2, 3})
        summary.AddRecord(*AddRecord(key, 4, key));
    const StationRecord* target = reinterpret_cast<const StationRecord*>(&summary);   // only passed on

    summary.LaunchBest(target, 4);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0].record, 3);
    EXPECT_EQ(launched[0].unit, CARRIER_ID);
    EXPECT_EQ(launched[0].loadout, 3);
    EXPECT_EQ(launched[0].wanted, 1);
    EXPECT_EQ(launched[0].flag, 1);
    EXPECT_EQ(launched[0].target, target);

    // A record gone, and an entry already launched, are passed over.
    PlaneRec* gone = carrier->records.Find(3);
    carrier->records.Remove(gone);
    delete gone;
    summary.records.First()->launchFlag = 1;
    summary.LaunchBest(target, 4);
    ASSERT_EQ(launched.size(), 2u);
    EXPECT_EQ(launched[1].record, 2);
}

TEST_F(PlaneTypeSummaryTest, NothingToLaunchDoesNothing)
{
    PlaneTypeSummary summary(TYPE_ID);
    summary.LaunchBest(nullptr, 4);
    LaunchEntry* gone = new LaunchEntry(summary.records.NewKey());
    gone->unitId = 555;
    summary.records.Insert(gone);
    summary.LaunchBest(nullptr, 4);
    EXPECT_TRUE(launched.empty());
}

}  // namespace
