// SampleDatabaseTest.cpp: the sample platform database the build writes from
// data/annex/*.json into ANNEX/: loaded whole and against a reference list,
// compared with its sources, every record field carrying a value somewhere,
// its platform lists and sensor filters, and the files written back by the
// records' own Save in annex versions 0 and 1 and read again.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <type_traits>
#include <vector>

#include <nlohmann/json.hpp>

#include "annex/AnnexTables.h"
#include "core/Units.h"
#include "support/ReportCapture.h"
#include "support/TempTree.h"

namespace {

using R = Annex::ReferenceList;
using IDs = std::vector<uint16_t>;
using nlohmann::json;

const std::string SAMPLE_DIR = std::string(TESSARN_DATA_DIR) + "/ANNEX/";

json Source(const char* datName)
{
    std::string name = datName;
    name = name.substr(0, name.rfind('.')) + ".json";
    std::ifstream in(std::string(TESSARN_SOURCE_DIR) + "/data/annex/" + name);
    return json::parse(in, nullptr, false);
}

// The source record with that ID (null json when none).
json SourceRecord(const char* datName, uint16_t id)
{
    const json source = Source(datName);
    for (const json& record : source["records"])
        if (record["id"] == id)
            return record;
    return json();
}

int32_t Degrees(double degrees)
{
    return static_cast<int32_t>(std::llround(degrees * ANGLE_PER_DEGREE));
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

IDs KeysOf(const TreeList& list)
{
    IDs keys;
    for (const TreeListBase* node = list.First(); node; node = node->GetNext())
        keys.push_back(node->GetKey());
    return keys;
}

size_t CountOf(const TreeList& list)
{
    return KeysOf(list).size();
}

// Names every record of a file in its reference list.
template <class T>
void NameEveryRecord(const char* file, R list)
{
    AnnexTable<T> table(file);
    ASSERT_TRUE(ReadAnnexFile(SAMPLE_DIR + file, table, true)) << file;
    for (uint16_t id : KeysOf(table))
        Annex::GetReferenceList(list).Insert(new IDNode(id));
}

void NameWholeDatabase()
{
    NameEveryRecord<AirFacilityAnnex>(ANNEX_AIRFACIL, R::AirFacility);
    NameEveryRecord<CommAnnex>(ANNEX_COMM, R::Comm);
    NameEveryRecord<FacilityAnnex>(ANNEX_FACILITY, R::Facility);
    NameEveryRecord<FuelAnnex>(ANNEX_FUEL, R::Fuel);
    NameEveryRecord<InstallationAnnex>(ANNEX_INSTALLA, R::Installation);
    NameEveryRecord<LoadoutAnnex>(ANNEX_LOADOUT, R::Loadout);
    NameEveryRecord<MountAnnex>(ANNEX_MOUNT, R::Mount);
    NameEveryRecord<MountAnnex>(ANNEX_MAGAZINE, R::Magazine);
    NameEveryRecord<PlaneAnnex>(ANNEX_PLANE, R::Plane);
    NameEveryRecord<PropulsionAnnex>(ANNEX_PROPULS, R::Propulsion);
    NameEveryRecord<SensorAnnex>(ANNEX_SENSOR, R::Sensor);
    NameEveryRecord<ShipAnnex>(ANNEX_SHIP, R::Ship);
    NameEveryRecord<SubAnnex>(ANNEX_SUB, R::Sub);
    NameEveryRecord<WeaponAnnex>(ANNEX_WEAPON, R::Weapon);
    NameEveryRecord<WeaponRec>(ANNEX_WEAPREC, R::WeaponRec);
    // The warhead list stays empty: warheads are loaded whole all the same.
}

// The table of each annex file, in file order, as a plain keyed list.
std::vector<std::pair<const char*, const TreeList*>> AllTables()
{
    const AnnexTables& t = Annex::Tables();
    return {{ANNEX_AIRFACIL, t.AirFacilities()}, {ANNEX_COMM, t.Comms()},
            {ANNEX_FACILITY, t.Facilities()},     {ANNEX_FUEL, t.Fuels()},
            {ANNEX_INSTALLA, t.Installations()},  {ANNEX_LOADOUT, t.Loadouts()},
            {ANNEX_MOUNT, t.Mounts()},            {ANNEX_MAGAZINE, t.Magazines()},
            {ANNEX_PLANE, t.Planes()},            {ANNEX_PROPULS, t.Propulsions()},
            {ANNEX_SENSOR, t.Sensors()},          {ANNEX_SHIP, t.Ships()},
            {ANNEX_SUB, t.Subs()},                {ANNEX_WEAPON, t.Weapons()},
            {ANNEX_WEAPREC, t.WeaponRecs()},      {ANNEX_WARHEAD, t.Warheads()}};
}

// Whether any record of the table passes the test.
template <class T, class Test>
bool Any(const AnnexTable<T>* table, Test test)
{
    for (const T* r = table->First(); r; r = r->GetNext())
        if (test(*r))
            return true;
    return false;
}

bool Set(const ShortTriple& t) { return t.Get(0) || t.Get(1) || t.Get(2); }
bool Set(const NameString& n) { return n.Text()[0] != '\0'; }
bool Set(const PlatformTypeCode& c) { return c.Text()[0] != '\0'; }
bool Set(const TreeList& list) { return list.First() != nullptr; }
bool Set(const IDRecordList& list)
{
    for (const IDRecord* r = list.First(); r; r = r->GetNext())
        if (r->GetValue() != 0)
            return true;
    return false;
}
bool Set(const LatLonPoint& p) { return p.lat != 0 && p.lon != 0; }
template <class Int>
    requires std::is_arithmetic_v<Int>
bool Set(Int value) { return value != 0; }

// Each field of the record class has a value other than 0 (or empty) in at
// least one record of the table.
#define EXPECT_SEEN(table, field) \
    EXPECT_TRUE(Any(table, [](const auto& r) { return Set(r.field); })) << #table " " #field

template <class T>
void ExpectEveryByteSeen(const AnnexTable<T>* table, int count, const char* what)
{
    for (int i = 0; i < count; ++i)
        EXPECT_TRUE(Any(table, [i](const T& r) { return r.bytes[i] != 0; })) << what << " bytes[" << i << "]";
}

class SampleDatabase : public testing::Test {
protected:
    void SetUp() override { Annex::FreeScenarioAnnex(); }
    void TearDown() override
    {
        Annex::FreeScenarioAnnex();
        Annex::SetSensorIndexLookup(nullptr);
        SetAnnexVersion(ANNEX_VERSION);
    }

    ReportCapture reports;
};

}  // namespace

TEST_F(SampleDatabase, LoadsWholeWithTheSourcesRecordCounts)
{
    NameWholeDatabase();
    ASSERT_TRUE(Annex::LoadDatabase(SAMPLE_DIR));
    EXPECT_TRUE(reports.fatals.empty());
    EXPECT_TRUE(reports.errors.empty());
    for (const auto& [file, table] : AllTables()) {
        SCOPED_TRACE(file);
        ASSERT_NE(table, nullptr);
        const json source = Source(file);
        ASSERT_FALSE(source.is_discarded());
        EXPECT_EQ(CountOf(*table), source["records"].size());
        EXPECT_GT(CountOf(*table), 0u);
    }
    // The database's promised contents.
    const AnnexTables& t = Annex::Tables();
    EXPECT_GE(CountOf(*t.Ships()), 3u);
    EXPECT_EQ(CountOf(*t.Subs()), 2u);
    EXPECT_GE(CountOf(*t.Planes()), 3u);
}

TEST_F(SampleDatabase, RecordsMatchTheirSources)
{
    NameWholeDatabase();
    ASSERT_TRUE(Annex::LoadDatabase(SAMPLE_DIR));
    const AnnexTables& t = Annex::Tables();

    // The carrier: its names, type code, air facilities and a mount's arc.
    const json carrier = SourceRecord(ANNEX_SHIP, 1);
    const ShipAnnex* ship = t.Ships()->Find(1);
    ASSERT_NE(ship, nullptr);
    EXPECT_EQ(ship->className.Text(), carrier["className"].get<std::string>());
    EXPECT_EQ(ship->secondName.Text(), carrier["secondName"].get<std::string>());
    EXPECT_EQ(std::string(ship->typeCode.Text()), carrier["typeCode"].get<std::string>());
    EXPECT_EQ(ship->damagePoints, carrier["damagePoints"].get<int>());
    EXPECT_EQ(KeysOf(ship->airFacilityIDs), carrier["airFacilityIDs"].get<IDs>());
    EXPECT_EQ(ship->lastValue, carrier["lastValue"].get<uint32_t>());
    // It carries aircraft: a hangar and a runway among its air facilities.
    bool hangar = false, runway = false;
    for (uint16_t id : KeysOf(ship->airFacilityIDs)) {
        const AirFacilityAnnex* facility = t.AirFacilities()->Find(id);
        ASSERT_NE(facility, nullptr);
        hangar |= facility->GetKindCode() == AIR_FACILITY_HANGAR;
        runway |= facility->GetKindCode() == AIR_FACILITY_RUNWAY || facility->GetKindCode() == AIR_FACILITY_RUNWAY_ARREST;
    }
    EXPECT_TRUE(hangar);
    EXPECT_TRUE(runway);

    // The deeper submarine shows 450 metres.
    EXPECT_EQ(SourceRecord(ANNEX_SUB, 2)["maxDepth"].get<int>(), -45);
    EXPECT_EQ(t.Subs()->Find(2)->GetMaxDepthMetres(), 450);

    // The depth charge, kind 2, is stored with 0.5 nm and reads as 2.0 nm.
    EXPECT_EQ(SourceRecord(ANNEX_WEAPON, 8)["maxRange"].get<int>(), 5);
    EXPECT_EQ(t.Weapons()->Find(8)->GetWeaponKind(), WEAPON_KIND_FLOORED_RANGE);
    EXPECT_EQ(t.Weapons()->Find(8)->maxRange, FLOORED_MAX_RANGE);
    const json skylance = SourceRecord(ANNEX_WEAPON, 1);
    EXPECT_EQ(t.Weapons()->Find(1)->maxRange, skylance["maxRange"].get<uint32_t>());
    EXPECT_EQ(t.Weapons()->Find(1)->extra2, skylance["extra2"].get<int>());

    // An installation's position and a facility's offset, from degrees.
    const json base = SourceRecord(ANNEX_INSTALLA, 1);
    const InstallationAnnex* installation = t.Installations()->Find(1);
    ASSERT_NE(installation, nullptr);
    EXPECT_EQ(installation->position.lat, Degrees(base["position"]["lat"].get<double>()));
    EXPECT_EQ(installation->position.lon, Degrees(base["position"]["lon"].get<double>()));
    const IDPoint* shelters = installation->points.Find(2);
    ASSERT_NE(shelters, nullptr);
    EXPECT_EQ(shelters->GetPosition().lon, Degrees(0.02));

    // A plane's loadouts, a propulsion speed and a sensor's signed threshold.
    EXPECT_EQ(KeysOf(t.Planes()->Find(2)->loadouts), SourceRecord(ANNEX_PLANE, 2)["loadouts"].get<IDs>());
    const json turbofan = SourceRecord(ANNEX_PROPULS, 5);
    EXPECT_EQ(t.Propulsions()->Find(5)->speedTable[3][2].speed, turbofan["speedTable"][3][2][2].get<int>());
    EXPECT_EQ(t.Sensors()->Find(4)->searchThreshold, SourceRecord(ANNEX_SENSOR, 4)["searchThreshold"].get<int>());
    EXPECT_EQ(t.WeaponRecs()->Find(5)->flag, 0);
    EXPECT_EQ(t.WeaponRecs()->Find(6)->cycleTimer, -1);
}

TEST_F(SampleDatabase, EveryFieldCarriesAValue)
{
    NameWholeDatabase();
    ASSERT_TRUE(Annex::LoadDatabase(SAMPLE_DIR));
    const AnnexTables& t = Annex::Tables();

    EXPECT_SEEN(t.AirFacilities(), kindCode);
    EXPECT_SEEN(t.AirFacilities(), value);
    EXPECT_SEEN(t.AirFacilities(), extra);

    EXPECT_SEEN(t.Comms(), commType);
    EXPECT_SEEN(t.Comms(), flags);
    EXPECT_SEEN(t.Comms(), range);
    EXPECT_SEEN(t.Comms(), value);
    EXPECT_SEEN(t.Comms(), name);
    EXPECT_SEEN(t.Comms(), byteValue);
    EXPECT_SEEN(t.Comms(), lastValue);

    EXPECT_SEEN(t.Facilities(), typeCode);
    EXPECT_SEEN(t.Facilities(), secondCode);
    EXPECT_SEEN(t.Facilities(), airFacilityIDs);
    EXPECT_SEEN(t.Facilities(), sensors);
    EXPECT_SEEN(t.Facilities(), mounts);
    EXPECT_SEEN(t.Facilities(), commIDs);
    EXPECT_SEEN(t.Facilities(), magazineIDs);
    EXPECT_SEEN(t.Facilities(), fuelIDs);
    EXPECT_SEEN(t.Facilities(), triple1);
    EXPECT_SEEN(t.Facilities(), triple2);
    EXPECT_SEEN(t.Facilities(), triple3);
    EXPECT_SEEN(t.Facilities(), value);
    EXPECT_SEEN(t.Facilities(), textNumber);
    EXPECT_SEEN(t.Facilities(), name);
    EXPECT_SEEN(t.Facilities(), damagePoints);
    EXPECT_SEEN(t.Facilities(), height);
    ExpectEveryByteSeen(t.Facilities(), FacilityAnnex::BYTE_COUNT, "facility");
    EXPECT_SEEN(t.Facilities(), lastValue);

    EXPECT_SEEN(t.Fuels(), fuelType);
    EXPECT_SEEN(t.Fuels(), capacity);
    EXPECT_SEEN(t.Fuels(), thirdValue);

    EXPECT_SEEN(t.Installations(), points);
    EXPECT_SEEN(t.Installations(), position);
    EXPECT_SEEN(t.Installations(), name);
    EXPECT_SEEN(t.Installations(), lastValue);

    EXPECT_SEEN(t.Loadouts(), firstCode);
    EXPECT_SEEN(t.Loadouts(), secondCode);
    EXPECT_SEEN(t.Loadouts(), firstIDs);
    EXPECT_SEEN(t.Loadouts(), weaponRecIDs);
    EXPECT_SEEN(t.Loadouts(), mountByte);
    EXPECT_SEEN(t.Loadouts(), value16);
    EXPECT_SEEN(t.Loadouts(), armingMinutes);
    EXPECT_SEEN(t.Loadouts(), value32);
    EXPECT_SEEN(t.Loadouts(), name);
    ExpectEveryByteSeen(t.Loadouts(), LoadoutAnnex::BYTE_COUNT, "loadout");
    EXPECT_SEEN(t.Loadouts(), lastValue);

    for (const AnnexTable<MountAnnex>* mounts : {t.Mounts(), t.Magazines()}) {
        SCOPED_TRACE(mounts->GetFileName());
        EXPECT_SEEN(mounts, code);
        EXPECT_SEEN(mounts, sensorIDs);
        EXPECT_SEEN(mounts, weaponRecIDs);
        EXPECT_SEEN(mounts, rateOfFire);
        EXPECT_SEEN(mounts, capacity);
        EXPECT_SEEN(mounts, value);
        EXPECT_SEEN(mounts, mountFlags);
        EXPECT_SEEN(mounts, name);
        EXPECT_SEEN(mounts, lastValue);
    }

    EXPECT_SEEN(t.Planes(), typeCode);
    EXPECT_SEEN(t.Planes(), triple1);
    EXPECT_SEEN(t.Planes(), triple2);
    EXPECT_SEEN(t.Planes(), triple3);
    EXPECT_SEEN(t.Planes(), propulsionIDs);
    EXPECT_SEEN(t.Planes(), sensorIDs);
    EXPECT_SEEN(t.Planes(), mountIDs);
    EXPECT_SEEN(t.Planes(), loadouts);
    EXPECT_SEEN(t.Planes(), commIDs);
    EXPECT_SEEN(t.Planes(), fuelIDs);
    EXPECT_SEEN(t.Planes(), length);
    EXPECT_SEEN(t.Planes(), span);
    EXPECT_SEEN(t.Planes(), weight);
    EXPECT_SEEN(t.Planes(), crew);
    EXPECT_SEEN(t.Planes(), airValueUnloaded);
    EXPECT_SEEN(t.Planes(), airValueLoaded);
    EXPECT_SEEN(t.Planes(), aircraftFlags);
    EXPECT_SEEN(t.Planes(), climbRate);
    EXPECT_SEEN(t.Planes(), textID);
    EXPECT_SEEN(t.Planes(), value);
    EXPECT_SEEN(t.Planes(), className);
    EXPECT_SEEN(t.Planes(), secondName);
    ExpectEveryByteSeen(t.Planes(), PlaneAnnex::BYTE_COUNT, "plane");
    EXPECT_SEEN(t.Planes(), lastWord);

    EXPECT_SEEN(t.Propulsions(), primaryType);
    EXPECT_SEEN(t.Propulsions(), secondaryType);
    for (int b = 0; b < PropulsionAnnex::BANDS; ++b) {
        SCOPED_TRACE(testing::Message() << "band " << b);
        EXPECT_TRUE(Any(t.Propulsions(), [b](const PropulsionAnnex& r) { return r.bandValuesA[b] != 0; }));
        EXPECT_TRUE(Any(t.Propulsions(), [b](const PropulsionAnnex& r) { return r.bandValuesB[b] != 0; }));
        for (int s = 0; s < PropulsionAnnex::SETTINGS; ++s) {
            EXPECT_TRUE(Any(t.Propulsions(), [s, b](const PropulsionAnnex& r) { return r.speedTable[s][b].upper != 0; }));
            EXPECT_TRUE(Any(t.Propulsions(), [s, b](const PropulsionAnnex& r) { return r.speedTable[s][b].lower != 0; }));
            EXPECT_TRUE(Any(t.Propulsions(), [s, b](const PropulsionAnnex& r) { return r.speedTable[s][b].speed != 0; }));
        }
    }
    EXPECT_SEEN(t.Propulsions(), value);
    EXPECT_SEEN(t.Propulsions(), name);
    EXPECT_SEEN(t.Propulsions(), lastValue);

    EXPECT_SEEN(t.Sensors(), searchBands);
    EXPECT_SEEN(t.Sensors(), trackBands);
    EXPECT_SEEN(t.Sensors(), sensorType);
    EXPECT_SEEN(t.Sensors(), searchJamGain);
    EXPECT_SEEN(t.Sensors(), trackJamGain);
    EXPECT_SEEN(t.Sensors(), searchThreshold);
    EXPECT_SEEN(t.Sensors(), trackThreshold);
    EXPECT_SEEN(t.Sensors(), jamMargin);
    EXPECT_SEEN(t.Sensors(), channelCount);
    EXPECT_SEEN(t.Sensors(), textNumber);
    EXPECT_SEEN(t.Sensors(), spare2);
    EXPECT_SEEN(t.Sensors(), spare3);
    EXPECT_SEEN(t.Sensors(), capabilities);
    EXPECT_SEEN(t.Sensors(), maxRange);
    EXPECT_SEEN(t.Sensors(), minRange);
    EXPECT_SEEN(t.Sensors(), sourceCode);
    EXPECT_SEEN(t.Sensors(), beamWidth);
    EXPECT_SEEN(t.Sensors(), recordFlags);
    EXPECT_SEEN(t.Sensors(), name);
    EXPECT_SEEN(t.Sensors(), lastValue);

    EXPECT_SEEN(t.Ships(), shipCode);
    EXPECT_SEEN(t.Ships(), typeCode);
    EXPECT_SEEN(t.Ships(), vesselCode1);
    EXPECT_SEEN(t.Ships(), vesselCode2);
    EXPECT_SEEN(t.Ships(), vesselCode3);
    EXPECT_SEEN(t.Ships(), fourthCode);
    EXPECT_SEEN(t.Ships(), damagePoints);
    EXPECT_SEEN(t.Ships(), airFacilityIDs);
    EXPECT_SEEN(t.Ships(), vesselTriple1);
    EXPECT_SEEN(t.Ships(), vesselTriple2);
    EXPECT_SEEN(t.Ships(), triple1);
    EXPECT_SEEN(t.Ships(), triple2);
    EXPECT_SEEN(t.Ships(), triple3);
    EXPECT_SEEN(t.Ships(), propulsionIDs);
    EXPECT_SEEN(t.Ships(), sensors);
    EXPECT_SEEN(t.Ships(), mounts);
    EXPECT_SEEN(t.Ships(), commIDs);
    EXPECT_SEEN(t.Ships(), fuelIDs);
    EXPECT_SEEN(t.Ships(), magazineIDs);
    EXPECT_SEEN(t.Ships(), eighthIDs);
    EXPECT_SEEN(t.Ships(), length);
    EXPECT_SEEN(t.Ships(), displacement);
    EXPECT_SEEN(t.Ships(), crew);
    EXPECT_SEEN(t.Ships(), value1);
    EXPECT_SEEN(t.Ships(), value2);
    EXPECT_SEEN(t.Ships(), value3);
    EXPECT_SEEN(t.Ships(), value4);
    EXPECT_SEEN(t.Ships(), value5);
    EXPECT_SEEN(t.Ships(), value6);
    EXPECT_SEEN(t.Ships(), textNumber);
    EXPECT_SEEN(t.Ships(), value7);
    EXPECT_SEEN(t.Ships(), className);
    EXPECT_SEEN(t.Ships(), secondName);
    ExpectEveryByteSeen(t.Ships(), ShipAnnex::BYTE_COUNT, "ship");
    EXPECT_SEEN(t.Ships(), lastValue);

    EXPECT_SEEN(t.Subs(), typeCode);
    EXPECT_SEEN(t.Subs(), maxDepth);
    EXPECT_SEEN(t.Subs(), vesselTriple1);
    EXPECT_SEEN(t.Subs(), vesselTriple2);
    EXPECT_SEEN(t.Subs(), damagePoints);
    EXPECT_SEEN(t.Subs(), triple1);
    EXPECT_SEEN(t.Subs(), triple2);
    EXPECT_SEEN(t.Subs(), triple3);
    EXPECT_SEEN(t.Subs(), propulsionIDs);
    EXPECT_SEEN(t.Subs(), sensors);
    EXPECT_SEEN(t.Subs(), mounts);
    EXPECT_SEEN(t.Subs(), magazineIDs);
    EXPECT_SEEN(t.Subs(), commIDs);
    EXPECT_SEEN(t.Subs(), fuelIDs);
    EXPECT_SEEN(t.Subs(), length);
    EXPECT_SEEN(t.Subs(), displacement);
    EXPECT_SEEN(t.Subs(), crew);
    EXPECT_SEEN(t.Subs(), textNumber);
    EXPECT_SEEN(t.Subs(), value1);
    EXPECT_SEEN(t.Subs(), subFlags);
    EXPECT_SEEN(t.Subs(), className);
    EXPECT_SEEN(t.Subs(), secondName);
    ExpectEveryByteSeen(t.Subs(), SubAnnex::BYTE_COUNT, "sub");
    EXPECT_SEEN(t.Subs(), lastValue);

    EXPECT_SEEN(t.Weapons(), targetMask);
    EXPECT_SEEN(t.Weapons(), weaponKind);
    EXPECT_SEEN(t.Weapons(), warheadIDs);
    EXPECT_SEEN(t.Weapons(), triple1);
    EXPECT_SEEN(t.Weapons(), triple2);
    EXPECT_SEEN(t.Weapons(), triple3);
    EXPECT_SEEN(t.Weapons(), triple4);
    EXPECT_SEEN(t.Weapons(), triple5);
    EXPECT_SEEN(t.Weapons(), propulsionIDs);
    EXPECT_SEEN(t.Weapons(), sensors);
    EXPECT_SEEN(t.Weapons(), commIDs);
    EXPECT_SEEN(t.Weapons(), fuelIDs);
    EXPECT_SEEN(t.Weapons(), length);
    EXPECT_SEEN(t.Weapons(), span);
    EXPECT_SEEN(t.Weapons(), weight);
    EXPECT_SEEN(t.Weapons(), textNumber);
    EXPECT_SEEN(t.Weapons(), value1);
    EXPECT_SEEN(t.Weapons(), launchAltitude);
    EXPECT_SEEN(t.Weapons(), value2);
    EXPECT_SEEN(t.Weapons(), surfaceChance);
    EXPECT_SEEN(t.Weapons(), surfaceChanceFar);
    EXPECT_SEEN(t.Weapons(), airChance);
    EXPECT_SEEN(t.Weapons(), airChanceLong);
    EXPECT_SEEN(t.Weapons(), maxLaunchSpeed);
    EXPECT_SEEN(t.Weapons(), minLaunchSpeed);
    EXPECT_SEEN(t.Weapons(), maxRange);
    EXPECT_SEEN(t.Weapons(), minRange);
    EXPECT_SEEN(t.Weapons(), maxLaunchAltitude);
    EXPECT_SEEN(t.Weapons(), minLaunchAltitude);
    EXPECT_SEEN(t.Weapons(), value3);
    EXPECT_SEEN(t.Weapons(), className);
    EXPECT_SEEN(t.Weapons(), secondName);
    ExpectEveryByteSeen(t.Weapons(), WeaponAnnex::BYTE_COUNT, "weapon");
    EXPECT_SEEN(t.Weapons(), fifthIDs);
    EXPECT_SEEN(t.Weapons(), weaponFlags);
    EXPECT_SEEN(t.Weapons(), climbRate);
    EXPECT_SEEN(t.Weapons(), value4);
    EXPECT_SEEN(t.Weapons(), value5);
    EXPECT_SEEN(t.Weapons(), value6);
    EXPECT_SEEN(t.Weapons(), extra1);
    EXPECT_SEEN(t.Weapons(), extra2);
    EXPECT_SEEN(t.Weapons(), extraValue);
    EXPECT_SEEN(t.Weapons(), lastValue);

    EXPECT_SEEN(t.WeaponRecs(), cycleTimer);
    EXPECT_SEEN(t.WeaponRecs(), readyShots);
    EXPECT_SEEN(t.WeaponRecs(), weaponID);
    EXPECT_SEEN(t.WeaponRecs(), secondValue);
    EXPECT_SEEN(t.WeaponRecs(), shotsLeft);
    EXPECT_SEEN(t.WeaponRecs(), fireInterval);
    EXPECT_SEEN(t.WeaponRecs(), thirdValue);
    EXPECT_SEEN(t.WeaponRecs(), flag);
    EXPECT_SEEN(t.WeaponRecs(), lastValue);

    EXPECT_SEEN(t.Warheads(), warheadType);
    EXPECT_SEEN(t.Warheads(), damage);
    EXPECT_SEEN(t.Warheads(), count);
    EXPECT_SEEN(t.Warheads(), thirdValue);
    EXPECT_SEEN(t.Warheads(), name);
    EXPECT_SEEN(t.Warheads(), lastValue);
}

TEST_F(SampleDatabase, ReferenceListKeepsTheFrigateAndIndexesEveryShip)
{
    // A scenario with the frigate alone: its own components are named, the
    // carrier and the destroyer are not.
    Annex::GetReferenceList(R::Ship).Insert(new IDNode(2));
    const ShipAnnex* frigate = nullptr;
    AnnexTable<ShipAnnex> ships(ANNEX_SHIP);
    ASSERT_TRUE(ReadAnnexFile(SAMPLE_DIR + ANNEX_SHIP, ships, true));
    frigate = ships.Find(2);
    ASSERT_NE(frigate, nullptr);
    for (uint16_t id : KeysOf(frigate->sensors))
        if (!Annex::GetReferenceList(R::Sensor).Find(id))
            Annex::GetReferenceList(R::Sensor).Insert(new IDNode(id));
    for (uint16_t id : KeysOf(frigate->mounts))
        Annex::GetReferenceList(R::Mount).Insert(new IDNode(id));

    ASSERT_TRUE(Annex::LoadDatabase(SAMPLE_DIR));
    const AnnexTables& t = Annex::Tables();
    EXPECT_EQ(KeysOf(*t.Ships()), IDs{2});
    EXPECT_EQ(KeysOf(*t.Mounts()), KeysOf(frigate->mounts));
    IDs frigateSensors = KeysOf(frigate->sensors);
    EXPECT_EQ(KeysOf(*t.Sensors()), frigateSensors);
    EXPECT_EQ(CountOf(*t.Subs()), 0u);
    EXPECT_EQ(CountOf(*t.Magazines()), 0u);
    EXPECT_EQ(CountOf(*t.Warheads()), Source(ANNEX_WARHEAD)["records"].size());

    // The ship index covers every ship of the file: the air search radar
    // (sensor 1) is on the carrier and the destroyer, neither kept.
    const RecordList* index = Annex::GetSensorIndex(Annex::PlatformKind::Ship);
    ASSERT_NE(index, nullptr);
    ASSERT_NE(index->Find(1), nullptr);
    EXPECT_EQ(KeysOf(index->Find(1)->GetIDList()), (IDs{1, 3}));
    // The destroyer lists its fire-control radar twice, the index once.
    EXPECT_EQ(KeysOf(index->Find(3)->GetIDList()), (IDs{1, 2, 3}));
    ASSERT_NE(Annex::GetSensorIndex(Annex::PlatformKind::Sub), nullptr);
    ASSERT_NE(Annex::GetSensorIndex(Annex::PlatformKind::Plane), nullptr);
    ASSERT_NE(Annex::GetSensorIndex(Annex::PlatformKind::Facility), nullptr);
    EXPECT_EQ(KeysOf(Annex::GetSensorIndex(Annex::PlatformKind::Sub)->Find(14)->GetIDList()), (IDs{1, 2}));
}

TEST_F(SampleDatabase, PlatformListsAndSensorFilters)
{
    ASSERT_TRUE(Annex::LoadDatabase(SAMPLE_DIR));   // fills the indexes
    Annex::LoadPlatformLists(SAMPLE_DIR);
    Chain<StringNode> ships;
    Annex::GetShipButtonList(ships);
    ASSERT_NE(ships.First(), nullptr);
    EXPECT_STREQ(ships.First()->GetText(), "Light Carrier Varnhold");
    Chain<StringNode> facilities;
    Annex::GetFacilityButtonList(facilities);
    ASSERT_NE(facilities.First(), nullptr);
    EXPECT_STREQ(facilities.First()->GetText(), "Main Runway");

    // Air search (1) and fire control (3) together: the carrier and the destroyer.
    IDList sensors;
    sensors.Insert(new IDNode(1));
    sensors.Insert(new IDNode(3));
    Chain<StringNode>* out = nullptr;
    Annex::ShipsWithSensors(sensors, out);
    ASSERT_NE(out, nullptr);
    std::vector<std::string> texts;
    for (const StringNode* e = out->First(); e; e = e->GetNext())
        texts.emplace_back(e->GetText());
    delete out;
    EXPECT_EQ(texts, (std::vector<std::string>{"Light Carrier Varnhold", "Destroyer Brannoch"}));
    Annex::FreePlatformLists();
}

TEST_F(SampleDatabase, WrittenBackInBothVersionsAndReadAgain)
{
    NameWholeDatabase();
    ASSERT_TRUE(Annex::LoadDatabase(SAMPLE_DIR));

    // Write every table with the records' own Save in each version.
    TempTree v0, v1;
    const std::string dirs[2] = {v0.root + "/", v1.root + "/"};
    auto writeAll = [&](uint32_t version) {
        const AnnexTables& t = Annex::Tables();
        auto write = [&](const auto* table) {
            std::ofstream out(dirs[version] + table->GetFileName(), std::ios::binary);
            EXPECT_TRUE(WriteAnnexFile(out, *table, version));
        };
        write(t.AirFacilities()); write(t.Comms()); write(t.Facilities()); write(t.Fuels());
        write(t.Installations()); write(t.Loadouts()); write(t.Mounts()); write(t.Magazines());
        write(t.Planes()); write(t.Propulsions()); write(t.Sensors()); write(t.Ships());
        write(t.Subs()); write(t.Weapons()); write(t.WeaponRecs()); write(t.Warheads());
    };
    writeAll(0);
    writeAll(1);

    // Version 1 written back is the built file byte for byte, except the
    // weapon file, whose floored range reads back as 2.0 nm.
    std::vector<size_t> records;
    for (const auto& [file, table] : AllTables()) {
        records.push_back(CountOf(*table));
        const std::string built = ReadBytes(SAMPLE_DIR + file);
        const std::string again = ReadBytes(dirs[1] + file);
        if (std::string(file) != ANNEX_WEAPON)
            EXPECT_EQ(again, built) << file;
        else
            EXPECT_EQ(again.size(), built.size());
        // Version 0 leaves out the trailing word of every record (and the
        // weapon's ten bytes of version-1 fields).
        const size_t perRecord = std::string(file) == ANNEX_WEAPON ? WeaponAnnex::VERSION1_BYTES : 4;
        EXPECT_EQ(ReadBytes(dirs[0] + file).size(), again.size() - perRecord * records.back()) << file;
    }

    // Each version loads whole again, with the same counts, and writes the
    // same bytes once more.
    for (uint32_t version : {0u, 1u}) {
        SCOPED_TRACE(testing::Message() << "version " << version);
        reports.Clear();
        ASSERT_TRUE(Annex::LoadDatabase(dirs[version]));
        size_t i = 0;
        for (const auto& [file, table] : AllTables())
            EXPECT_EQ(CountOf(*table), records[i++]) << file;
        EXPECT_EQ(reports.errors.size(), version == 0 ? size_t{ANNEX_FILE_COUNT} : 0u);   // the warnings
        const std::string weapons = ReadBytes(dirs[version] + ANNEX_WEAPON);
        const std::string ships = ReadBytes(dirs[version] + ANNEX_SHIP);
        writeAll(version);
        EXPECT_EQ(ReadBytes(dirs[version] + ANNEX_WEAPON), weapons);
        EXPECT_EQ(ReadBytes(dirs[version] + ANNEX_SHIP), ships);
        // A version-0 file drops the version-1 fields: they read as 0.
        const WeaponAnnex* skylance = Annex::Tables().Weapons()->Find(1);
        EXPECT_EQ(skylance->extraValue, version ? 7 : 0);
        EXPECT_EQ(Annex::Tables().Ships()->Find(1)->lastValue, version ? 1u : 0u);
    }
}
