// SampleDatabaseTest.cpp: the sample platform database the build writes from
// data/annex/*.json into ANNEX/: loaded whole and against a reference list,
// compared with its sources, every record field carrying a value somewhere,
// its platform lists and sensor filters, the files written back by the
// records' own Save in annex versions 0 and 1 and read again; and whether a
// simulation can run on it, as the unit model will read it: every engine
// burns a fuel its platform carries, every platform moves where it lives,
// every sensor makes a sensor where it is listed, every mount is in arc
// somewhere, and the figures are in the units their readers take.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

#include <nlohmann/json.hpp>

#include "annex/AnnexTables.h"
#include "annex/ArcMask.h"
#include "annex/EngineFuel.h"
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

// The first source record that passes the test (null json when none).
template <class Test>
json FirstSourceRecord(const char* datName, Test test)
{
    const json source = Source(datName);
    for (const json& record : source["records"])
        if (test(record))
            return record;
    return json();
}

// A number of a source record: a JSON integer or a text in C form.
int64_t SourceNumber(const json& record, const char* field)
{
    if (!record.contains(field))
        return 0;
    const json& value = record[field];
    return value.is_string() ? std::strtoll(value.get<std::string>().c_str(), nullptr, 0) : value.get<int64_t>();
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

// Calls visit(file, record) for every ship, sub, plane and weapon: the
// platforms that move on plants of their own.
template <class Visit>
void ForEachPropelled(const AnnexTables& t, Visit visit)
{
    for (const ShipAnnex* r = t.Ships()->First(); r; r = r->GetNext())
        visit(ANNEX_SHIP, *r);
    for (const SubAnnex* r = t.Subs()->First(); r; r = r->GetNext())
        visit(ANNEX_SUB, *r);
    for (const PlaneAnnex* r = t.Planes()->First(); r; r = r->GetNext())
        visit(ANNEX_PLANE, *r);
    for (const WeaponAnnex* r = t.Weapons()->First(); r; r = r->GetNext())
        visit(ANNEX_WEAPON, *r);
}

// Calls visit(file, record id, list) for the own sensor list of every
// platform (ship, sub, facility, plane, weapon), and for every mount list.
template <class Visit>
void ForEachSensorList(const AnnexTables& t, Visit visit)
{
    for (const ShipAnnex* r = t.Ships()->First(); r; r = r->GetNext())
        visit(ANNEX_SHIP, r->GetKey(), r->sensors);
    for (const SubAnnex* r = t.Subs()->First(); r; r = r->GetNext())
        visit(ANNEX_SUB, r->GetKey(), r->sensors);
    for (const FacilityAnnex* r = t.Facilities()->First(); r; r = r->GetNext())
        visit(ANNEX_FACILITY, r->GetKey(), r->sensors);
    for (const PlaneAnnex* r = t.Planes()->First(); r; r = r->GetNext())
        visit(ANNEX_PLANE, r->GetKey(), r->sensorIDs);
    for (const WeaponAnnex* r = t.Weapons()->First(); r; r = r->GetNext())
        visit(ANNEX_WEAPON, r->GetKey(), r->sensors);
}

template <class Visit>
void ForEachMountList(const AnnexTables& t, Visit visit)
{
    for (const ShipAnnex* r = t.Ships()->First(); r; r = r->GetNext())
        visit(ANNEX_SHIP, r->GetKey(), r->mounts);
    for (const SubAnnex* r = t.Subs()->First(); r; r = r->GetNext())
        visit(ANNEX_SUB, r->GetKey(), r->mounts);
    for (const FacilityAnnex* r = t.Facilities()->First(); r; r = r->GetNext())
        visit(ANNEX_FACILITY, r->GetKey(), r->mounts);
    for (const PlaneAnnex* r = t.Planes()->First(); r; r = r->GetNext())
        visit(ANNEX_PLANE, r->GetKey(), r->mountIDs);
}

// The entry of a plant's speed table in force at an altitude: the first band
// of the row whose ceiling is at or above it; null when none reaches it.
const PropulsionSpeed* BandAt(const PropulsionAnnex& plant, int row, int16_t altitude)
{
    for (const PropulsionSpeed& entry : plant.speedTable[row])
        if (entry.upper >= altitude)
            return &entry;
    return nullptr;
}

// Whether some plant of the platform moves at the altitude in the cruise
// setting: the band in force there holds the altitude and gives a speed.
template <class Platform>
bool MovesAt(const AnnexTables& t, const Platform& platform, int16_t altitude)
{
    for (const IDNode* id = platform.propulsionIDs.First(); id; id = id->GetNext()) {
        const PropulsionAnnex* plant = t.Propulsions()->Find(id->GetKey());
        const PropulsionSpeed* band = plant ? BandAt(*plant, 1, altitude) : nullptr;
        if (band && band->lower <= altitude && band->speed != 0)
            return true;
    }
    return false;
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
    // The database's promised contents: two sides, Varn (Blue) first and
    // Osterholm (Red) after it in each platform file, each with its own
    // ship classes of every role, three submarines and eight aircraft.
    struct Side { const char* what; uint16_t firstShip, lastShip, firstSub, lastSub, firstPlane, lastPlane; };
    const Side sides[] = {{"Varn", 1, 9, 1, 3, 1, 8}, {"Osterholm", 10, 18, 4, 6, 9, 16}};
    const AnnexTables& t = Annex::Tables();
    EXPECT_EQ(CountOf(*t.Ships()), 18u);
    EXPECT_EQ(CountOf(*t.Subs()), 6u);
    EXPECT_EQ(CountOf(*t.Planes()), 16u);
    auto typeCodesOf = [](const auto* table, uint16_t first, uint16_t last) {
        std::vector<std::string> codes;
        for (uint16_t id = first; id <= last; ++id)
            if (const auto* r = table->Find(id))
                codes.emplace_back(r->typeCode.Text());
        return codes;
    };
    auto hasCodeStarting = [](const std::vector<std::string>& codes, const std::string& start) {
        for (const std::string& code : codes)
            if (code.rfind(start, 0) == 0)
                return true;
        return false;
    };
    for (const Side& side : sides) {
        SCOPED_TRACE(side.what);
        const auto ships = typeCodesOf(t.Ships(), side.firstShip, side.lastShip);
        EXPECT_EQ(ships.size(), size_t{side.lastShip - side.firstShip + 1u});
        // Carrier, cruiser, destroyers, frigates, a corvette, replenishment
        // and amphibious ships.
        for (const char* role : {"CV", "CG", "DD", "FF", "P", "AOR", "L"})
            EXPECT_TRUE(hasCodeStarting(ships, role)) << role;
        EXPECT_GE(std::count_if(ships.begin(), ships.end(), [](const std::string& c) { return c.rfind("DD", 0) == 0
                                                                                            || c.rfind("FF", 0) == 0; }),
                  3);
        // A nuclear attack, a diesel or air-independent and a missile boat.
        const auto subs = typeCodesOf(t.Subs(), side.firstSub, side.lastSub);
        EXPECT_TRUE(hasCodeStarting(subs, "SSN"));
        EXPECT_TRUE(hasCodeStarting(subs, "SSK") || hasCodeStarting(subs, "SSP"));
        EXPECT_TRUE(hasCodeStarting(subs, "SSGN"));
        // Fighters, strike, early warning, maritime patrol, an anti-submarine
        // helicopter and a tanker.
        const auto planes = typeCodesOf(t.Planes(), side.firstPlane, side.lastPlane);
        EXPECT_EQ(planes.size(), 8u);
        for (const char* role : {"CF", "SF", "BMR", "AEW", "MPA", "HS", "TKR"})
            EXPECT_TRUE(hasCodeStarting(planes, role)) << role;
    }
    // No class serves both sides: every class name is the class's own.
    std::set<std::string> classes;
    size_t platforms = 0;
    auto collect = [&](const auto* table) {
        for (const auto* r = table->First(); r; r = r->GetNext(), ++platforms)
            classes.insert(r->className.Text());
    };
    collect(t.Ships());
    collect(t.Subs());
    collect(t.Planes());
    EXPECT_EQ(classes.size(), platforms);
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

    // A submarine with a depth limit of -45 shows 450 metres.
    const json deep = FirstSourceRecord(ANNEX_SUB, [](const json& r) { return r["maxDepth"] == -45; });
    ASSERT_FALSE(deep.is_null());
    EXPECT_EQ(t.Subs()->Find(deep["id"].get<uint16_t>())->GetMaxDepthMetres(), 450);

    // The depth charge, kind 2, is stored with 0.5 nm and reads as 2.0 nm.
    const json charge = FirstSourceRecord(ANNEX_WEAPON, [](const json& r) {
        return r["weaponKind"] == WEAPON_KIND_FLOORED_RANGE && r["maxRange"] == 5;
    });
    ASSERT_FALSE(charge.is_null());
    EXPECT_EQ(t.Weapons()->Find(charge["id"].get<uint16_t>())->maxRange, FLOORED_MAX_RANGE);
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

    // A plane's loadouts, its plant's speed and a sensor's signed threshold.
    EXPECT_EQ(KeysOf(t.Planes()->Find(2)->loadouts), SourceRecord(ANNEX_PLANE, 2)["loadouts"].get<IDs>());
    const uint16_t turbofanID = SourceRecord(ANNEX_PLANE, 2)["propulsionIDs"][0].get<uint16_t>();
    const json turbofan = SourceRecord(ANNEX_PROPULS, turbofanID);
    EXPECT_EQ(t.Propulsions()->Find(turbofanID)->speedTable[3][2].speed, turbofan["speedTable"][3][2][2].get<int>());
    const json sonar = FirstSourceRecord(ANNEX_SENSOR, [](const json& r) { return SourceNumber(r, "searchThreshold") < 0; });
    ASSERT_FALSE(sonar.is_null());
    EXPECT_EQ(t.Sensors()->Find(sonar["id"].get<uint16_t>())->searchThreshold, sonar["searchThreshold"].get<int>());
    // Weapon loads carry their flag and a negative readiness countdown.
    const json unflagged = FirstSourceRecord(ANNEX_WEAPREC, [](const json& r) { return r.contains("flag"); });
    ASSERT_FALSE(unflagged.is_null());
    EXPECT_EQ(t.WeaponRecs()->Find(unflagged["id"].get<uint16_t>())->flag, unflagged["flag"].get<int>());
    const json counting = FirstSourceRecord(ANNEX_WEAPREC, [](const json& r) { return SourceNumber(r, "cycleTimer") < 0; });
    ASSERT_FALSE(counting.is_null());
    EXPECT_EQ(t.WeaponRecs()->Find(counting["id"].get<uint16_t>())->cycleTimer, counting["cycleTimer"].get<int>());
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
    EXPECT_SEEN(t.Weapons(), alternateID);
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
    // A scenario with one frigate alone: its own components are named, the
    // other ships are not.
    const json keldmar = FirstSourceRecord(ANNEX_SHIP, [](const json& r) { return r["typeCode"] == "FFG"; });
    ASSERT_FALSE(keldmar.is_null());
    const uint16_t frigateID = keldmar["id"].get<uint16_t>();
    Annex::GetReferenceList(R::Ship).Insert(new IDNode(frigateID));
    AnnexTable<ShipAnnex> ships(ANNEX_SHIP);
    ASSERT_TRUE(ReadAnnexFile(SAMPLE_DIR + ANNEX_SHIP, ships, true));
    const ShipAnnex* frigate = ships.Find(frigateID);
    ASSERT_NE(frigate, nullptr);
    // A sensor or mount listed twice (forward and aft) is named once.
    const IDs sensorKeys = KeysOf(frigate->sensors);
    const std::set<uint16_t> sensorIDs(sensorKeys.begin(), sensorKeys.end());
    const IDs mountKeys = KeysOf(frigate->mounts);
    const std::set<uint16_t> mountIDs(mountKeys.begin(), mountKeys.end());
    for (uint16_t id : sensorIDs)
        Annex::GetReferenceList(R::Sensor).Insert(new IDNode(id));
    for (uint16_t id : mountIDs)
        Annex::GetReferenceList(R::Mount).Insert(new IDNode(id));

    ASSERT_TRUE(Annex::LoadDatabase(SAMPLE_DIR));
    const AnnexTables& t = Annex::Tables();
    EXPECT_EQ(KeysOf(*t.Ships()), IDs{frigateID});
    EXPECT_EQ(KeysOf(*t.Mounts()), IDs(mountIDs.begin(), mountIDs.end()));
    EXPECT_EQ(KeysOf(*t.Sensors()), IDs(sensorIDs.begin(), sensorIDs.end()));
    EXPECT_EQ(CountOf(*t.Subs()), 0u);
    EXPECT_EQ(CountOf(*t.Magazines()), 0u);
    EXPECT_EQ(CountOf(*t.Warheads()), Source(ANNEX_WARHEAD)["records"].size());

    // Each platform index covers every platform of its file, kept or not:
    // under each sensor the IDs of the platforms that list it, once each
    // (the carrier lists its fire-control radar forward and aft).
    struct Index { const char* file; Annex::PlatformKind kind; const char* sensors; };
    const Index indexes[] = {{ANNEX_SHIP, Annex::PlatformKind::Ship, "sensors"},
                             {ANNEX_SUB, Annex::PlatformKind::Sub, "sensors"},
                             {ANNEX_PLANE, Annex::PlatformKind::Plane, "sensorIDs"},
                             {ANNEX_FACILITY, Annex::PlatformKind::Facility, "sensors"}};
    for (const Index& index : indexes) {
        SCOPED_TRACE(index.file);
        std::map<uint16_t, std::set<uint16_t>> expected;
        const json source = Source(index.file);
        for (const json& record : source["records"])
            if (record.contains(index.sensors))
                for (const json& entry : record[index.sensors])
                    expected[entry["id"].get<uint16_t>()].insert(record["id"].get<uint16_t>());
        const RecordList* list = Annex::GetSensorIndex(index.kind);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(CountOf(*list), expected.size());
        for (const auto& [sensor, platforms] : expected) {
            ASSERT_NE(list->Find(sensor), nullptr) << "sensor " << sensor;
            EXPECT_EQ(KeysOf(list->Find(sensor)->GetIDList()), IDs(platforms.begin(), platforms.end()))
                << "sensor " << sensor;
        }
    }
}

TEST_F(SampleDatabase, PlatformListsAndSensorFilters)
{
    ASSERT_TRUE(Annex::LoadDatabase(SAMPLE_DIR));   // fills the indexes
    Annex::LoadPlatformLists(SAMPLE_DIR);
    auto viewerText = [](const json& record) {
        return record["secondName"].get<std::string>() + " " + record["className"].get<std::string>();
    };
    Chain<StringNode> ships;
    Annex::GetShipButtonList(ships);
    ASSERT_NE(ships.First(), nullptr);
    EXPECT_EQ(ships.First()->GetText(), viewerText(SourceRecord(ANNEX_SHIP, 1)));
    Chain<StringNode> facilities;
    Annex::GetFacilityButtonList(facilities);
    ASSERT_NE(facilities.First(), nullptr);
    EXPECT_EQ(facilities.First()->GetText(), SourceRecord(ANNEX_FACILITY, 1)["name"].get<std::string>());

    // The carrier's air search and fire-control radars together: every ship
    // that carries both, in ID order.
    const json carrier = SourceRecord(ANNEX_SHIP, 1);
    const uint16_t airSearch = carrier["sensors"][0]["id"].get<uint16_t>();
    const uint16_t fireControl = carrier["sensors"][2]["id"].get<uint16_t>();
    std::vector<std::string> expected;
    const json source = Source(ANNEX_SHIP);
    for (const json& record : source["records"]) {
        std::set<uint16_t> carried;
        for (const json& entry : record["sensors"])
            carried.insert(entry["id"].get<uint16_t>());
        if (carried.count(airSearch) && carried.count(fireControl))
            expected.push_back(viewerText(record));
    }
    ASSERT_GE(expected.size(), 2u);
    IDList sensors;
    sensors.Insert(new IDNode(airSearch));
    sensors.Insert(new IDNode(fireControl));
    Chain<StringNode>* out = nullptr;
    Annex::ShipsWithSensors(sensors, out);
    ASSERT_NE(out, nullptr);
    std::vector<std::string> texts;
    for (const StringNode* e = out->First(); e; e = e->GetNext())
        texts.emplace_back(e->GetText());
    delete out;
    EXPECT_EQ(texts, expected);
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
        EXPECT_EQ(skylance->alternateID, version ? 7 : 0);
        EXPECT_EQ(Annex::Tables().Ships()->Find(1)->lastValue, version ? 1u : 0u);
    }
}

// Every engine burns a fuel its platform carries (a nuclear plant needs
// none); an engine without one never runs. The carrier, the oiler, the
// air-independent submarine, every aircraft and every missile used to carry
// engines of codes that burned none of their fuels, and stood still.
TEST_F(SampleDatabase, EveryEngineBurnsAFuelItsPlatformCarries)
{
    NameWholeDatabase();
    ASSERT_TRUE(Annex::LoadDatabase(SAMPLE_DIR));
    const AnnexTables& t = Annex::Tables();
    size_t engines = 0;
    ForEachPropelled(t, [&](const char* file, const auto& platform) {
        SCOPED_TRACE(testing::Message() << file << " record " << platform.GetKey());
        std::vector<uint32_t> fuels;
        for (const IDNode* id = platform.fuelIDs.First(); id; id = id->GetNext()) {
            const FuelAnnex* fuel = t.Fuels()->Find(id->GetKey());
            ASSERT_NE(fuel, nullptr);
            fuels.push_back(fuel->GetFuelType());
        }
        for (const IDNode* id = platform.propulsionIDs.First(); id; id = id->GetNext()) {
            const PropulsionAnnex* plant = t.Propulsions()->Find(id->GetKey());
            ASSERT_NE(plant, nullptr);
            for (uint32_t engine : {plant->primaryType, plant->secondaryType}) {
                if (engine == ENGINE_NONE)
                    continue;
                ++engines;
                EXPECT_TRUE(IsEngineType(engine)) << engine;
                if (EngineNeedsNoFuel(engine))
                    continue;
                EXPECT_TRUE(std::any_of(fuels.begin(), fuels.end(),
                                        [engine](uint32_t fuel) { return EngineAcceptsFuel(engine, fuel); }))
                    << "engine " << engine << " of plant " << id->GetKey();
            }
            // An air-independent plant runs submerged only on its own fuel.
            if (plant->primaryType == ENGINE_AIR_INDEPENDENT) {
                EXPECT_NE(std::find(fuels.begin(), fuels.end(), FUEL_AIR_INDEPENDENT), fuels.end());
            }
        }
    });
    EXPECT_GT(engines, 80u);
}

// Every platform moves where it lives: ships at the surface, submarines at
// 200 m and at the surface, aircraft at 1 km, in the band the plant's table
// puts in force there (the first band whose ceiling reaches the altitude,
// in tens of metres). Submarine bands used to start at the surface, so no
// depth found a band of its own, and aircraft bands were in metres.
TEST_F(SampleDatabase, EveryPlatformMovesWhereItLives)
{
    NameWholeDatabase();
    ASSERT_TRUE(Annex::LoadDatabase(SAMPLE_DIR));
    const AnnexTables& t = Annex::Tables();
    for (const ShipAnnex* r = t.Ships()->First(); r; r = r->GetNext())
        EXPECT_TRUE(MovesAt(t, *r, 0)) << "ship " << r->GetKey();
    for (const SubAnnex* r = t.Subs()->First(); r; r = r->GetNext()) {
        EXPECT_TRUE(MovesAt(t, *r, 0)) << "sub " << r->GetKey();
        EXPECT_TRUE(MovesAt(t, *r, -20)) << "sub " << r->GetKey();
        EXPECT_LT(r->maxDepth, -20) << "sub " << r->GetKey();
    }
    for (const PlaneAnnex* r = t.Planes()->First(); r; r = r->GetNext()) {
        EXPECT_TRUE(MovesAt(t, *r, 100)) << "plane " << r->GetKey();
        // No aircraft climbs above 25 km.
        for (const IDNode* id = r->propulsionIDs.First(); id; id = id->GetNext())
            for (const auto& row : t.Propulsions()->Find(id->GetKey())->speedTable)
                for (const PropulsionSpeed& band : row)
                    EXPECT_LE(band.upper, 2500) << "plane " << r->GetKey();
    }
}

// Every sensor record makes a sensor object in the lists that name it: a
// suite (type 10 or 11) only in a platform's own list. The coastal radar used
// to be a radar suite, and the only sensor of two mounts and a magazine.
TEST_F(SampleDatabase, EverySensorMakesASensorWhereItIsListed)
{
    NameWholeDatabase();
    ASSERT_TRUE(Annex::LoadDatabase(SAMPLE_DIR));
    const AnnexTables& t = Annex::Tables();
    for (const SensorAnnex* r = t.Sensors()->First(); r; r = r->GetNext())
        EXPECT_TRUE(SensorTypeMakesSensor(r->GetSensorType(), SensorHolder::Unit)) << "sensor " << r->GetKey();
    size_t entries = 0;
    ForEachSensorList(t, [&](const char* file, uint16_t owner, const IDRecordList& list) {
        for (const IDRecord* e = list.First(); e; e = e->GetNext(), ++entries) {
            const SensorAnnex* sensor = t.Sensors()->Find(e->GetKey());
            ASSERT_NE(sensor, nullptr) << file << " record " << owner;
            EXPECT_TRUE(SensorTypeMakesSensor(sensor->GetSensorType(), SensorHolder::Unit))
                << file << " record " << owner << " sensor " << e->GetKey();
        }
    });
    for (const AnnexTable<MountAnnex>* table : {t.Mounts(), t.Magazines()}) {
        for (const MountAnnex* r = table->First(); r; r = r->GetNext()) {
            for (const IDNode* id = r->sensorIDs.First(); id; id = id->GetNext(), ++entries) {
                const SensorAnnex* sensor = t.Sensors()->Find(id->GetKey());
                ASSERT_NE(sensor, nullptr) << table->GetFileName() << " record " << r->GetKey();
                EXPECT_TRUE(SensorTypeMakesSensor(sensor->GetSensorType(), SensorHolder::Mount))
                    << table->GetFileName() << " record " << r->GetKey() << " sensor " << id->GetKey();
            }
        }
    }
    EXPECT_GT(entries, 200u);
    // The two suites are there, each in a platform's own list.
    EXPECT_TRUE(Any(t.Sensors(), [](const SensorAnnex& r) { return r.sensorType == SENSOR_TYPE_RADAR_SUITE; }));
    EXPECT_TRUE(Any(t.Sensors(), [](const SensorAnnex& r) { return r.sensorType == SENSOR_TYPE_SONAR_SUITE; }));
}

// Every mount is in arc somewhere, and every arc is made of the eight
// 45-degree sector bits. A sensor listed twice on a platform (forward and
// aft) looks two different ways, neither all round. The arcs used to be
// 32-bit halves (0xFFFF0000, 0x00FF0000): both close-in guns of the carrier
// and the frigate were never in arc, and the destroyer's forward and aft
// fire-control radars both looked all round.
TEST_F(SampleDatabase, EveryMountIsInArcSomewhere)
{
    NameWholeDatabase();
    ASSERT_TRUE(Annex::LoadDatabase(SAMPLE_DIR));
    const AnnexTables& t = Annex::Tables();
    size_t mounts = 0;
    ForEachMountList(t, [&](const char* file, uint16_t owner, const IDRecordList& list) {
        for (const IDRecord* e = list.First(); e; e = e->GetNext(), ++mounts) {
            SCOPED_TRACE(testing::Message() << file << " record " << owner << " mount " << e->GetKey());
            EXPECT_NE(t.Mounts()->Find(e->GetKey()), nullptr);
            EXPECT_NE(e->GetValue() & ARC_SECTOR_BITS, 0u);
            EXPECT_EQ(e->GetValue() & ~ARC_SECTOR_BITS, 0u);
        }
    });
    EXPECT_GT(mounts, 100u);
    size_t twice = 0;
    ForEachSensorList(t, [&](const char* file, uint16_t owner, const IDRecordList& list) {
        std::map<uint16_t, std::vector<uint32_t>> arcs;
        for (const IDRecord* e = list.First(); e; e = e->GetNext()) {
            EXPECT_EQ(e->GetValue() & ~ARC_SECTOR_BITS, 0u) << file << " record " << owner;
            arcs[e->GetKey()].push_back(e->GetValue());
        }
        for (const auto& [sensor, values] : arcs) {
            if (values.size() < 2)
                continue;
            ++twice;
            SCOPED_TRACE(testing::Message() << file << " record " << owner << " sensor " << sensor);
            EXPECT_EQ(std::set<uint32_t>(values.begin(), values.end()).size(), values.size());
            EXPECT_EQ(std::count(values.begin(), values.end(), ARC_ALL_ROUND), 0);
        }
    });
    EXPECT_GT(twice, 0u);
}

// The figures read in the units their readers take: a sonar listens in one
// sonar band (the towed arrays in the low one; no sonar set a band before,
// so every sonar was high-band); an air hit chance reads as the stored value
// plus 30 (the air-to-air missile's 75 used to read as 105 %); launch
// altitudes and facility heights are tens of metres (they were metres).
TEST_F(SampleDatabase, FiguresReadInTheUnitsOfTheirReaders)
{
    NameWholeDatabase();
    ASSERT_TRUE(Annex::LoadDatabase(SAMPLE_DIR));
    const AnnexTables& t = Annex::Tables();
    for (const SensorAnnex* r = t.Sensors()->First(); r; r = r->GetNext()) {
        SCOPED_TRACE(testing::Message() << "sensor " << r->GetKey());
        const uint32_t bands = r->GetSearchBands() & SONAR_BANDS;
        if (!IsSonarType(r->GetSensorType())) {
            EXPECT_EQ(bands, 0u);
        } else if (r->GetSensorType() == SENSOR_TYPE_TOWED_ARRAY) {
            EXPECT_EQ(bands, SONAR_BAND_LOW);
        } else {
            EXPECT_TRUE(bands == SONAR_BAND_LOW || bands == SONAR_BAND_MIDDLE || bands == SONAR_BAND_HIGH);
        }
    }
    size_t airWeapons = 0;
    for (const WeaponAnnex* r = t.Weapons()->First(); r; r = r->GetNext()) {
        SCOPED_TRACE(testing::Message() << "weapon " << r->GetKey());
        EXPECT_LE(r->surfaceChance, 100);
        if (r->GetWeaponKind() != WEAPON_KIND_DECOY && (r->GetTargetMask() & 0xC) != 0) {
            ++airWeapons;
            EXPECT_GT(r->airChance + 30, 0);
            EXPECT_LE(r->airChance + 30, 100);
        }
        EXPECT_LE(r->maxLaunchAltitude, 2500);
        EXPECT_LE(r->launchAltitude, 2500);
        if ((r->weaponFlags & 0x0008) != 0) {   // a sea-skimmer keeps 10 to 90 m
            EXPECT_GE(r->launchAltitude, 1);
            EXPECT_LE(r->launchAltitude, 9);
        }
    }
    EXPECT_GT(airWeapons, 10u);
    for (const FacilityAnnex* r = t.Facilities()->First(); r; r = r->GetNext()) {
        EXPECT_GE(r->height, 0) << "facility " << r->GetKey();
        EXPECT_LE(r->height, 100) << "facility " << r->GetKey();
    }
}
