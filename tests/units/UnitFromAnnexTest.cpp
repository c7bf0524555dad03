// UnitFromAnnexTest.cpp: ships, submarines, facilities and air bases built
// from their records: every sample platform against its records, the ship's
// sensor height and horizon, the rebuild, a facility's land line and radar
// order, an air base's facilities placed and registered, missing records.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "annex/AnnexTables.h"
#include "support/SampleAnnex.h"
#include "units/AirBase.h"
#include "units/Facility.h"
#include "units/Ship.h"
#include "units/SideRecords.h"
#include "units/Submarine.h"
#include "units/UnitCreation.h"
#include "units/UnitEvents.h"
#include "units/UnitList.h"
#include "units/UnitTestSupport.h"
#include "world/Nav2Game.h"

namespace {

using namespace unittest;

std::vector<uint16_t> MountIdsOf(const Mount::MountList& list)
{
    std::vector<uint16_t> ids;
    for (const Mount* m = list.First(); m != nullptr; m = m->GetNext())
        ids.push_back(m->mountAnnexID);
    return ids;
}

// Set-sensors orders made while a scope stands: unit id, state, type.
struct SensorOrder {
    uint16_t unitID;
    uint32_t state;
    uint32_t type;
};
std::vector<SensorOrder> gOrders;

class CallsScope {
public:
    CallsScope() : previousSensors_(SetSensorRecordFactory(&MakeRecordSensor))
    {
        gOrders.clear();
        UnitEventCalls events{};
        events.makeSetSensorsEvent = [](uint16_t unitID, uint32_t state, uint32_t type) -> Event* {
            gOrders.push_back({unitID, state, type});
            return nullptr;
        };
        previousEvents_ = SetUnitEventCalls(events);
    }
    ~CallsScope()
    {
        SetUnitEventCalls(previousEvents_);
        SetSensorRecordFactory(previousSensors_);
    }

private:
    SensorRecordFactory previousSensors_;
    UnitEventCalls previousEvents_;
};

// The comm links' kinds of record as the land line (key 1: kind 40, reach
// 8000) and the comm.dat ids with their reaches, from key 2 on for a unit
// with a land line.
void ExpectCommLinks(const DatalinkList& links, const IDList& commIDs, bool landLine)
{
    const AnnexTables& t = Annex::Tables();
    const DatalinkRecord* d = links.First();
    if (landLine) {
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->GetKey(), 1);
        EXPECT_EQ(d->channelKind, DatalinkRecord::KIND_NO_REACH);
        EXPECT_EQ(d->linkRange, DatalinkRecord::LAND_LINE_RANGE);
        d = d->GetNext();
    }
    std::vector<uint16_t> comms, expected;
    uint16_t key = landLine ? 2 : 1;
    for (; d != nullptr; d = d->GetNext(), ++key) {
        EXPECT_EQ(d->GetKey(), key);
        comms.push_back(d->auxWord);
        const CommAnnex* comm = t.Comms()->Find(d->auxWord);
        EXPECT_EQ(d->linkRange, comm != nullptr ? comm->range : 0);
    }
    for (uint16_t id : IdsOf(commIDs))
        expected.push_back(t.Comms()->Find(id) != nullptr ? id : 0);
    std::sort(comms.begin(), comms.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(comms, expected);
}

// The record's own sensors that make a sensor, in list order.
void ExpectSensors(const Unit& unit, const IDRecordList& ids)
{
    std::vector<uint16_t> sensors, expected;
    for (const IDRecord* s = ids.First(); s != nullptr; s = s->GetNext())
        if (const SensorAnnex* r = Annex::Tables().Sensors()->Find(s->GetKey()))
            if (SensorClassForType(r->GetSensorType(), false) != SensorClass::NONE)
                expected.push_back(s->GetKey());
    for (const Sensor* s = unit.sensors.First(); s != nullptr && sensors.size() < expected.size(); s = s->GetNext())
        sensors.push_back(s->GetSensorID());
    EXPECT_EQ(sensors, expected);
}

// Fuel tanks as fuel type x 100000 + capacity, against the record's ids.
void ExpectTanks(const Unit& unit, const IDList& fuelIDs)
{
    std::vector<uint32_t> tanks, expected;
    for (const FuelTank* t = unit.fuelTanks.First(); t != nullptr; t = t->GetNext())
        tanks.push_back(t->GetFuelType() * 100000 + t->GetCapacity());
    for (uint16_t id : IdsOf(fuelIDs)) {
        const FuelAnnex* fuel = Annex::Tables().Fuels()->Find(id);
        expected.push_back(fuel != nullptr ? fuel->fuelType * 100000 + fuel->capacity : 0);
    }
    EXPECT_EQ(tanks, expected);
}

// The air facilities against the record's ids, and the summed space of the
// hangars and open parking among them.
uint16_t ExpectAirFacilities(const AnnexEntryList& list, const IDList& ids)
{
    std::vector<uint16_t> built;
    uint16_t space = 0;
    for (const AnnexEntry* e = list.First(); e != nullptr; e = e->GetNext()) {
        built.push_back(static_cast<uint16_t>(e->value1));
        if (e->typeCode == AIR_FACILITY_HANGAR || e->typeCode == AIR_FACILITY_PARKING)
            space = static_cast<uint16_t>(space + e->byte1);
    }
    EXPECT_EQ(built, IdsOf(ids));
    return space;
}

template <class Record>
void ExpectCommonParts(const Unit& unit, const Record& record)
{
    EXPECT_EQ(MountIdsOf(unit.mounts), IdsOf(record.mounts));
    EXPECT_EQ(MountIdsOf(unit.magazines), IdsOf(record.magazineIDs));
    ExpectSensors(unit, record.sensors);
    ExpectTanks(unit, record.fuelIDs);
    EXPECT_EQ(unit.aspectValues[0], record.triple1);
    EXPECT_EQ(unit.aspectValues[1], record.triple2);
    EXPECT_EQ(unit.aspectValues[2], record.triple3);
}

template <class Record>
std::vector<uint16_t> PlantIdsOf(const Unit& unit, const Record&)
{
    std::vector<uint16_t> plants;
    for (const PropulsionPlant* p = unit.plants.First(); p != nullptr; p = p->GetNext())
        plants.push_back(p->propulsionAnnexID);
    return plants;
}

class SamplePlatforms : public testing::Test {
protected:
    void SetUp() override
    {
        Annex::FreeScenarioAnnex();
        ASSERT_TRUE(sampleannex::NameReferences(sampleannex::SAMPLE_DIR, 1));
        ASSERT_TRUE(Annex::LoadDatabase(sampleannex::SAMPLE_DIR));
    }
    void TearDown() override { Annex::FreeScenarioAnnex(); }

    CallsScope calls;
};

}  // namespace

TEST_F(SamplePlatforms, EveryShipMatchesItsRecords)
{
    int built = 0;
    for (const ShipAnnex* r = Annex::Tables().Ships()->First(); r != nullptr; r = r->GetNext(), ++built) {
        SCOPED_TRACE(r->className.Text());
        const Ship ship(r->GetKey());
        EXPECT_EQ(ship.GetAnnexID(), r->GetKey());
        EXPECT_STREQ(ship.GetName().Text(), r->className.Text());
        EXPECT_STREQ(ship.GetClassName().Text(), r->typeCode.Text());
        EXPECT_EQ(ship.classCode, r->shipCode);
        EXPECT_EQ(ship.damageClass[0], r->vesselCode1);
        EXPECT_EQ(ship.damageClass[2], r->vesselCode3);
        EXPECT_EQ(ship.maxDamagePoints, static_cast<int16_t>(r->damagePoints));
        EXPECT_EQ(ship.sonarTriples[0], r->vesselTriple1);
        EXPECT_EQ(ship.sonarTriples[1], r->vesselTriple2);
        EXPECT_EQ(PlantIdsOf(ship, *r), IdsOf(r->propulsionIDs));
        const uint16_t space = ExpectAirFacilities(ship.airFacilities, r->airFacilityIDs);
        EXPECT_EQ(ship.aircraftRoom, space);
        EXPECT_EQ(ship.aircraftRoomCap, space);
        ExpectCommLinks(ship.datalinks, r->commIDs, false);
        ExpectCommonParts(ship, *r);
        EXPECT_EQ(ship.sensorHeight, Ship::SensorHeightOf(r->length, ship.maxDamagePoints));
        EXPECT_EQ(ship.reserved32, 0u);
    }
    EXPECT_GT(built, 0);
}

TEST_F(SamplePlatforms, EverySubmarineMatchesItsRecords)
{
    int built = 0;
    for (const SubAnnex* r = Annex::Tables().Subs()->First(); r != nullptr; r = r->GetNext(), ++built) {
        SCOPED_TRACE(r->className.Text());
        const Submarine boat(r->GetKey());
        EXPECT_EQ(boat.GetAnnexID(), r->GetKey());
        EXPECT_STREQ(boat.GetName().Text(), r->className.Text());
        EXPECT_STREQ(boat.GetClassName().Text(), r->typeCode.Text());
        EXPECT_EQ(boat.maxDepth, r->maxDepth);
        EXPECT_EQ(boat.maxDamagePoints, static_cast<int16_t>(r->damagePoints));
        EXPECT_EQ(boat.sonarTriples[1], r->vesselTriple2);
        EXPECT_EQ(PlantIdsOf(boat, *r), IdsOf(r->propulsionIDs));
        ExpectCommLinks(boat.datalinks, r->commIDs, false);
        ExpectCommonParts(boat, *r);
    }
    EXPECT_GT(built, 0);
}

TEST_F(SamplePlatforms, EveryFacilityMatchesItsRecordsAndOrdersItsRadars)
{
    int built = 0;
    for (const FacilityAnnex* r = Annex::Tables().Facilities()->First(); r != nullptr; r = r->GetNext(), ++built) {
        SCOPED_TRACE(r->name.Text());
        gOrders.clear();
        Facility facility(r->GetKey());
        EXPECT_EQ(facility.GetAnnexID(), r->GetKey());
        EXPECT_STREQ(facility.GetName().Text(), r->name.Text());
        EXPECT_STREQ(facility.GetClassName().Text(), "F");
        EXPECT_EQ(facility.facilityCode1, r->typeCode);
        EXPECT_EQ(facility.facilityCode2, r->secondCode);
        EXPECT_EQ(facility.damagePoints, r->damagePoints);
        EXPECT_EQ(facility.height, r->height);
        EXPECT_EQ(facility.plants.First(), nullptr);
        const uint16_t space = ExpectAirFacilities(facility.airFacilityList, r->airFacilityIDs);
        EXPECT_EQ(facility.aircraftSpace[0], space);
        EXPECT_EQ(facility.aircraftSpace[1], space);
        ExpectCommLinks(facility.datalinks, r->commIDs, true);
        ExpectCommonParts(facility, *r);
        // No order before the facility has its unit id; then one naming it.
        EXPECT_TRUE(gOrders.empty());
        facility.SetKey(static_cast<uint16_t>(500 + built));
        facility.PostRadarsActive();
        if (facility.sensors.First() != nullptr) {
            ASSERT_EQ(gOrders.size(), 1u);
            EXPECT_EQ(gOrders[0].unitID, 500 + built);
            EXPECT_EQ(gOrders[0].state, Sensor::STATE_ACTIVE);
            EXPECT_EQ(gOrders[0].type, Sensor::TYPE_RADAR);
        } else {
            EXPECT_TRUE(gOrders.empty());
        }
    }
    EXPECT_GT(built, 0);
}

TEST_F(SamplePlatforms, EveryInstallationPlacesItsFacilities)
{
    UnitList units;
    UnitList* const previous = UnitList::SetArenaList(&units);
    int bases = 0;
    for (const InstallationAnnex* r = Annex::Tables().Installations()->First(); r != nullptr; r = r->GetNext()) {
        SCOPED_TRACE(r->name.Text());
        gOrders.clear();
        auto* base = new AirBase(r->GetKey(), LatLonPoint(1000, 2000), 0, units.NewKey());
        units.Insert(base);
        ++bases;
        EXPECT_EQ(base->installationID, r->GetKey());
        EXPECT_STREQ(base->GetName().Text(), r->name.Text());
        std::vector<uint16_t> expected, placed, withSensors, ordered;
        for (const IDPoint* p = r->points.First(); p != nullptr; p = p->GetNext())
            if (Annex::Tables().Facilities()->Find(p->GetKey()) != nullptr)
                expected.push_back(p->GetKey());
        for (const GroupEntry* e = base->members.First(); e != nullptr; e = e->GetNext()) {
            const Unit* member = gam2arena::FindUnit(e->GetKey());
            ASSERT_NE(member, nullptr);
            EXPECT_EQ(member->GetTypeLetter(), 'F');
            placed.push_back(member->GetAnnexID());
            if (member->sensors.First() != nullptr)
                withSensors.push_back(member->GetID());
        }
        EXPECT_EQ(placed, expected);
        // The radar orders name the facilities by their final ids.
        for (const SensorOrder& o : gOrders)
            ordered.push_back(o.unitID);
        EXPECT_EQ(ordered, withSensors);
    }
    EXPECT_GT(bases, 0);
    UnitList::SetArenaList(previous);
}

// ---------------------------------------------------------------------------

TEST(ShipSensorHeight, DivisorsByFullDamagePoints)
{
    struct Case {
        uint16_t length;
        int16_t points;
        uint16_t height;
        uint16_t horizon;
    };
    const Case cases[] = {
        {1200, 49, 4, 26},    // / 300
        {1200, 50, 3, 23},    // / 400
        {1200, 449, 3, 23},   // / 400
        {1200, 450, 2, 18},   // / 500
        {250, 40, 1, 13},     // 0 raised to 1
        {1500, 500, 3, 23},   // square root of 510, rounded
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.length) + " " + std::to_string(c.points));
        const uint16_t height = Ship::SensorHeightOf(c.length, c.points);
        EXPECT_EQ(height, c.height);
        EXPECT_EQ(Unit::HorizonOf(static_cast<int16_t>(height)), c.horizon);
    }
}

namespace {

// A small annex: a diesel, a fuel, two comm fits (one a radio), a radar, a
// mount and a magazine, a hangar and a runway; ship 1, submarine 1 and
// facility 1 carry them, facility 2 has only its land line, installation 1
// places facilities 1, 2 and a missing 9.
class SmallPlatformAnnex : public testing::Test {
protected:
    SmallPlatformAnnex()
    {
        Annex::Tables().Create();
        AnnexTables& t = Annex::Tables();
        auto* diesel = new PropulsionAnnex(1);
        diesel->primaryType = EngineType::DIESEL;
        for (int s = 0; s < PropulsionPlant::SETTINGS; ++s)
            for (int b = 0; b < PropulsionPlant::BANDS; ++b)
                diesel->speedTable[s][b] = {100, -100, static_cast<uint16_t>(10 * s)};
        t.Propulsions()->Insert(diesel);
        AddFuelRecord(1, FuelType::DIESEL, 500);
        auto* comm = new CommAnnex(1);
        comm->commType = 3;
        comm->range = 250;
        t.Comms()->Insert(comm);
        auto* radar = new SensorAnnex(1);
        radar->sensorType = Sensor::TYPE_RADAR;
        t.Sensors()->Insert(radar);
        t.Mounts()->Insert(new MountAnnex(1));
        auto* hangar = new AirFacilityAnnex(1);
        hangar->kindCode = AIR_FACILITY_HANGAR;
        hangar->value = 0x0201;
        t.AirFacilities()->Insert(hangar);
        auto* runway = new AirFacilityAnnex(2);
        runway->kindCode = AIR_FACILITY_RUNWAY;
        runway->value = 0x0201;
        t.AirFacilities()->Insert(runway);

        auto* ship = new ShipAnnex(1);
        ship->className.Set("Tern");
        ship->typeCode.Set("FFG");
        ship->damagePoints = 300;
        ship->length = 1300;
        Fill(ship->propulsionIDs, {1});
        Fill(ship->airFacilityIDs, {1, 2});
        FillRecords(ship->sensors, {1});
        FillRecords(ship->mounts, {1});
        Fill(ship->commIDs, {1});
        Fill(ship->fuelIDs, {1});
        Fill(ship->magazineIDs, {1});
        t.Ships()->Insert(ship);
        auto* broken = new ShipAnnex(2);
        Fill(broken->propulsionIDs, {99});
        Fill(broken->airFacilityIDs, {98});
        FillRecords(broken->sensors, {97});
        FillRecords(broken->mounts, {96});
        Fill(broken->commIDs, {95});
        Fill(broken->fuelIDs, {94});
        Fill(broken->magazineIDs, {93});
        t.Ships()->Insert(broken);

        auto* boat = new SubAnnex(1);
        boat->damagePoints = 100;
        Fill(boat->propulsionIDs, {1});
        Fill(boat->magazineIDs, {1});
        t.Subs()->Insert(boat);

        auto* site = new FacilityAnnex(1);
        site->name.Set("Radar site");
        Fill(site->airFacilityIDs, {1});
        FillRecords(site->sensors, {1});
        Fill(site->commIDs, {1});
        Fill(site->magazineIDs, {1});
        t.Facilities()->Insert(site);
        auto* shed = new FacilityAnnex(2);
        shed->name.Set("Shed");
        t.Facilities()->Insert(shed);

        auto* field = new InstallationAnnex(1);
        field->name.Set("North Field");
        field->points.Insert(new IDPoint(1, LatLonPoint(10, 20)));
        field->points.Insert(new IDPoint(2, LatLonPoint(-10, 5)));
        field->points.Insert(new IDPoint(9, LatLonPoint(0, 0)));
        t.Installations()->Insert(field);

        previousList = UnitList::SetArenaList(&units);
    }
    ~SmallPlatformAnnex() override
    {
        units.DeleteAll();
        UnitList::SetArenaList(previousList);
        Annex::Tables().Delete();
    }

    CallsScope calls;
    UnitList units;
    UnitList* previousList = nullptr;
};

// What the side calls saw: the ids the side records opened with, and the
// hand-overs and joins by side.
struct SideLog {
    std::vector<uint16_t> recordIDs;
    std::vector<uint16_t> handedOver;
    std::vector<uint16_t> added;
    uint16_t existingSide = 0;
};
SideLog gSides;

class SideScope {
public:
    explicit SideScope(uint16_t existingSide)
    {
        gSides = {};
        gSides.existingSide = existingSide;
        UnitCreationCalls creation{};
        creation.openSideRecord = [](Unit& unit) -> uint16_t {
            gSides.recordIDs.push_back(unit.GetID());
            // Each facility opens a side record of its own.
            return static_cast<uint16_t>(100 + gSides.recordIDs.size());
        };
        creation.processUnitMission = [](uint16_t, uint16_t unitID, int32_t) { gSides.handedOver.push_back(unitID); };
        creation.addUnit = [](uint16_t, uint16_t unitID) { gSides.added.push_back(unitID); };
        previousCreation_ = SetUnitCreationCalls(creation);
        SideCalls sides{};
        sides.sideExists = [](uint16_t side) { return side != 0 && side == gSides.existingSide; };
        previousSides_ = SetSideCalls(sides);
    }
    ~SideScope()
    {
        SetUnitCreationCalls(previousCreation_);
        SetSideCalls(previousSides_);
    }

private:
    UnitCreationCalls previousCreation_;
    SideCalls previousSides_;
};

}  // namespace

TEST_F(SmallPlatformAnnex, TheShipTakesItsRecord)
{
    const Ship ship(1);
    EXPECT_STREQ(ship.GetName().Text(), "Tern");
    EXPECT_STREQ(ship.GetClassName().Text(), "FFG");
    // Only the hangar's space counts: 2 steps of its size class.
    EXPECT_GT(ship.aircraftRoom, 0);
    EXPECT_EQ(ship.aircraftRoom, ship.aircraftRoomCap);
    EXPECT_EQ(ship.sensorHeight, 1300 / 400);
    EXPECT_EQ(ship.GetHorizon(), Unit::HorizonOf(3));
    ASSERT_NE(ship.magazines.First(), nullptr);
}

TEST_F(SmallPlatformAnnex, MissingComponentRecordsBuildCleared)
{
    const Ship ship(2);
    ASSERT_NE(ship.plants.First(), nullptr);
    EXPECT_EQ(ship.plants.First()->propulsionAnnexID, 99);
    ASSERT_NE(ship.airFacilities.First(), nullptr);
    EXPECT_EQ(ship.airFacilities.First()->typeCode, 0u);
    EXPECT_EQ(ship.aircraftRoom, 0);
    ASSERT_NE(ship.mounts.First(), nullptr);
    ASSERT_NE(ship.magazines.First(), nullptr);
    ASSERT_NE(ship.datalinks.First(), nullptr);
    EXPECT_EQ(ship.datalinks.First()->linkRange, 0);
    ASSERT_NE(ship.fuelTanks.First(), nullptr);
    EXPECT_EQ(ship.fuelTanks.First()->GetCapacity(), 0u);
}

TEST_F(SmallPlatformAnnex, MissingPlatformRecordsLeaveClearedUnits)
{
    const Ship ship(50);
    EXPECT_EQ(ship.GetAnnexID(), 0);
    EXPECT_EQ(ship.plants.First(), nullptr);
    const Submarine boat(50);
    EXPECT_EQ(boat.GetAnnexID(), 50);
    EXPECT_EQ(boat.plants.First(), nullptr);
    const Facility facility(50);
    EXPECT_EQ(facility.GetAnnexID(), 0);
    ASSERT_NE(facility.datalinks.First(), nullptr);   // the land line alone
    EXPECT_EQ(facility.datalinks.First()->GetNext(), nullptr);
    EXPECT_TRUE(gOrders.empty());
    const AirBase base(50, LatLonPoint(0, 0), 3, 40);
    EXPECT_EQ(base.members.First(), nullptr);
    EXPECT_EQ(base.installationID, 0);
    EXPECT_NE(base.GetID(), 40);
}

TEST_F(SmallPlatformAnnex, RebuildKeepsMagazinesAndAircraftAndReappliesTheSpeed)
{
    SideScope sides(4);
    auto* ship = new Ship(1);
    ship->SetKey(7);
    ship->SetSideID(4);
    units.Insert(ship);
    ship->SetName("Renamed");
    Mount* const magazine = ship->magazines.First();
    ASSERT_NE(magazine, nullptr);
    ship->aircraft.Insert(new PlaneRec(3));
    ship->speed = 40;
    ship->RebuildFromAnnex();
    EXPECT_EQ(ship->magazines.First(), magazine);
    EXPECT_NE(ship->aircraft.Find(3), nullptr);
    EXPECT_STREQ(ship->GetName().Text(), "Renamed");
    EXPECT_EQ(ship->datalinks.First()->GetNext(), nullptr);   // not doubled
    EXPECT_EQ(ship->speed, 30);   // limited to the plant's top speed
    EXPECT_EQ(gSides.added, std::vector<uint16_t>{7});

    auto* boat = new Submarine(1);
    boat->SetKey(8);
    units.Insert(boat);
    Mount* const boatMagazine = boat->magazines.First();
    boat->RebuildFromAnnex();
    EXPECT_EQ(boat->magazines.First(), boatMagazine);
    EXPECT_EQ(gSides.added.size(), 1u);   // side 0 does not exist
}

TEST_F(SmallPlatformAnnex, FacilityRebuildOrdersRadarsAndSetsTheLinkBit)
{
    SideScope sides(0);
    Facility site(1);
    site.SetKey(12);
    EXPECT_TRUE(gOrders.empty());
    site.RebuildFromAnnex();
    ASSERT_EQ(gOrders.size(), 1u);
    EXPECT_EQ(gOrders[0].unitID, 12);
    ASSERT_NE(site.datalinks.Find(1), nullptr);
    EXPECT_EQ(site.datalinks.Find(1)->channelKind, DatalinkRecord::KIND_NO_REACH);
    EXPECT_NE(site.datalinks.Find(2), nullptr);
    EXPECT_EQ(site.datalinks.Find(3), nullptr);
    EXPECT_TRUE(site.TestFlags(UnitFlag::LINKS_RECORDS));
    Facility shed(2);
    shed.SetFlags(UnitFlag::LINKS_RECORDS);
    shed.RebuildFromAnnex();
    EXPECT_FALSE(shed.TestFlags(UnitFlag::LINKS_RECORDS));
}

TEST_F(SmallPlatformAnnex, AirBasePlacesAndRegistersItsFacilities)
{
    SideScope sides(3);
    auto* base = new AirBase(1, LatLonPoint(1000, 2000), 3, 40);
    units.Insert(base);
    EXPECT_EQ(base->GetID(), 40);
    EXPECT_EQ(base->GetSideID(), 3);
    EXPECT_STREQ(base->GetName().Text(), "North Field");
    EXPECT_FALSE(base->TestFlags(UnitFlag::BASE));

    std::vector<uint16_t> memberIDs;
    for (const GroupEntry* e = base->members.First(); e != nullptr; e = e->GetNext())
        memberIDs.push_back(e->GetKey());
    ASSERT_EQ(memberIDs.size(), 2u);   // the missing facility 9 is skipped
    // Each side record opened with the facility's final id, not 0.
    EXPECT_EQ(gSides.recordIDs, memberIDs);
    EXPECT_EQ(gSides.handedOver, memberIDs);
    // Only the site has sensors: its radar order names its final id.
    ASSERT_EQ(gOrders.size(), 1u);
    EXPECT_EQ(gOrders[0].unitID, memberIDs[0]);
    EXPECT_NE(gOrders[0].unitID, 0);

    auto* site = static_cast<Facility*>(units.Find(memberIDs[0]));
    auto* shed = static_cast<Facility*>(units.Find(memberIDs[1]));
    EXPECT_EQ(site->GetSideID(), 3);
    // Every facility joins, each with its own side record; the base keeps the
    // first one's.
    EXPECT_EQ(site->sideEntryID, 101);
    EXPECT_EQ(shed->sideEntryID, 102);
    EXPECT_EQ(base->sideEntryID, 101);
    EXPECT_EQ(base->leadID, site->GetID());
    EXPECT_EQ(site->GetPosition(), LatLonPoint(1010, 2020));
    EXPECT_EQ(shed->GetPosition(), LatLonPoint(990, 2005));
    EXPECT_TRUE(site->TestFlags(UnitFlag::BASE));
    EXPECT_TRUE(site->TestFlags(UnitFlag::SEEKER_ON));
    EXPECT_FALSE(shed->TestFlags(UnitFlag::SEEKER_ON));
    // The site has a radio link (key 2); the shed only its land line.
    EXPECT_TRUE(site->TestFlags(UnitFlag::LINKS_RECORDS));
    EXPECT_FALSE(shed->TestFlags(UnitFlag::LINKS_RECORDS));
    EXPECT_EQ(site->defaultThreats, 0u);

    // The rebuild keeps the members and settles them again.
    Mount* const magazine = site->magazines.First();
    base->RebuildFromAnnex();
    EXPECT_EQ(site->magazines.First(), magazine);
    EXPECT_TRUE(site->TestFlags(UnitFlag::BASE));
    EXPECT_FALSE(shed->TestFlags(UnitFlag::LINKS_RECORDS));
}

TEST_F(SmallPlatformAnnex, ABaseWithoutASideHandsNothingOver)
{
    SideScope sides(0);
    auto* base = new AirBase(1, LatLonPoint(0, 0), 5, 40);
    units.Insert(base);
    EXPECT_NE(base->members.First(), nullptr);
    EXPECT_TRUE(gSides.handedOver.empty());
    EXPECT_EQ(gSides.recordIDs.size(), 2u);
}

TEST(DefaultThreats, ByTypeLetter)
{
    EXPECT_EQ(Nav2Game::GetDefaultThreats('P'), 0xFFF0000Fu);
    EXPECT_EQ(Nav2Game::GetDefaultThreats('S'), 0xF0000FFFu);
    EXPECT_EQ(Nav2Game::GetDefaultThreats('g'), 0xF00FF00Fu);
    EXPECT_EQ(Nav2Game::GetDefaultThreats('F'), 0u);
}
