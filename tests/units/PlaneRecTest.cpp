// PlaneRecTest.cpp: aircraft records: taking, merging and losing aircraft,
// the queries on the aircraft type, arriving aircraft, the saved form and
// arming with the aircraft logistics setting on.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "StationTestSupport.h"
#include "annex/AnnexTables.h"
#include "annex/LoadoutAnnex.h"
#include "annex/PlaneAnnex.h"
#include "annex/SensorAnnex.h"
#include "annex/WeaponAnnex.h"
#include "annex/WeaponRec.h"
#include "core/IDRecord.h"
#include "core/ConfigurationFileIO.h"
#include "support/TempTree.h"
#include "units/AircraftLogistics.h"
#include "units/PlaneRecBridge.h"

namespace {

using stationtest::Carrier;

// A readiness event that carries its record key.
class ReadyEvent : public unittest::TestEvent {
public:
    ReadyEvent(uint16_t unit, uint16_t record, uint16_t loadout)
        : TestEvent(EventCode::UNIT_READY, unit, loadout), recordID(record) {}
    Event* Clone() const override { return new ReadyEvent(GetSubject(), recordID, Value()); }
    uint16_t recordID;
};

struct Told {
    static Told*& Active() { static Told* active = nullptr; return active; }
    std::vector<std::string> lines;
    uint16_t sideMission = 0;   // what the side answers to AddPlaneRecID
    static void Note(const std::string& line) { if (Active()) Active()->lines.push_back(line); }
};

std::string Line(const char* what, std::initializer_list<uint32_t> values)
{
    std::string s = what;
    for (uint32_t v : values)
        s += " " + std::to_string(v);
    return s;
}

class PlaneRecTest : public stationtest::StationWorld {
protected:
    static constexpr uint16_t CARRIER_ID = 20;
    static constexpr uint16_t TYPE_ID = 11;

    PlaneRecTest()
    {
        Annex::Tables().Create();
        type = new PlaneAnnex(TYPE_ID);
        type->usableRange = 200;
        Annex::Tables().Planes()->Insert(type);
        UnitEventCalls events = SetUnitEventCalls({});
        previousEvents = events;
        events.makeUnitReadyEvent = [](uint16_t record, uint16_t loadout, uint16_t unit, uint16_t) -> Event* {
            return new ReadyEvent(unit, record, loadout);
        };
        events.getReadyRecordID = [](const Event& e) { return static_cast<const ReadyEvent&>(e).recordID; };
        events.setReadyRecordID = [](Event& e, uint16_t key) { static_cast<ReadyEvent&>(e).recordID = key; };
        SetUnitEventCalls(events);
        PlaneRecCalls calls;
        calls.tellMission = [](uint16_t m, uint16_t u, uint16_t k, uint32_t f) { Told::Note(Line("flags", {m, u, k, f})); };
        calls.tellPlaneRecSplit = [](uint16_t m, uint16_t u, uint16_t o, uint16_t n, uint8_t c) {
            Told::Note(Line("split", {m, u, o, n, c}));
        };
        calls.askMission = [](uint16_t m, uint16_t u, uint16_t k, uint16_t g) { Told::Note(Line("merge", {m, u, k, g})); };
        calls.missionTest = [](uint16_t m, uint16_t u, uint16_t k) { Told::Note(Line("gone", {m, u, k})); };
        calls.tellLoadoutChanged = [](uint16_t m, uint16_t u, uint16_t k, uint16_t l) {
            Told::Note(Line("loadout", {m, u, k, l}));
        };
        calls.sideExists = [](uint16_t) { return true; };
        calls.addPlaneRecID = [](uint16_t, uint16_t u, uint16_t k, uint16_t m, uint16_t s) -> uint16_t {
            Told::Note(Line("side", {u, k, m, s}));
            return Told::Active()->sideMission;
        };
        calls.checkVictoryConditions2 = [](uint16_t, uint16_t t, uint8_t c, uint16_t n) { Told::Note(Line("lost", {t, c, n})); };
        previousCalls = SetPlaneRecCalls(calls);
        Told::Active() = &told;
        carrier = new Carrier();
        carrier->SetKey(CARRIER_ID);
        carrier->SetPosition(Home());
        units.Insert(carrier);
    }
    ~PlaneRecTest() override
    {
        units.DeleteAll();   // records tell their end while the calls are installed
        Told::Active() = nullptr;
        SetPlaneRecCalls(previousCalls);
        SetUnitEventCalls(previousEvents);
        Annex::Tables().Delete();
    }

    PlaneRec* AddRecord(PlaneRecList& list, uint16_t key, uint8_t count, uint16_t holder = CARRIER_ID)
    {
        auto* r = new PlaneRec(key);
        r->planeAnnexID = TYPE_ID;
        r->unitID = holder;
        r->count = count;
        r->missionID = 7;
        r->flags = PlaneRec::READY_FLAGS;
        list.Insert(r);
        return r;
    }

    // A point due north of home at whole nautical miles (truncated).
    static LatLonPoint NorthAt(int32_t nm)
    {
        LatLonPoint p = Home();
        p.lat += nm * 4096 + 2048;
        return p;
    }

    std::vector<ReadyEvent*> ReadyEvents()
    {
        std::vector<ReadyEvent*> found;
        for (Event* e = world.arena.Queue().First(); e != nullptr; e = e->GetNext())
            if (e->TypeCode() == EventCode::UNIT_READY)
                found.push_back(static_cast<ReadyEvent*>(e));
        return found;
    }

    Told told;
    PlaneAnnex* type = nullptr;
    Carrier* carrier = nullptr;

private:
    UnitEventCalls previousEvents;
    PlaneRecCalls previousCalls;
};

TEST_F(PlaneRecTest, TakingTwoOfFourSplitsAndCopiesThePendingArming)
{
    PlaneRec* record = AddRecord(carrier->records, 3, 4);
    record->stateTime = 500;
    record->readyTime = 900;
    gam2arena::PostEvent(new ReadyEvent(CARRIER_ID, 3, 0));
    Waypoint request;
    request.planeRecID = 3;
    request.count = 2;
    ASSERT_TRUE(carrier->records.TakePlanes(request, 1));
    EXPECT_NE(request.planeRecID, 3);
    EXPECT_EQ(request.aircraftType, TYPE_ID);
    const PlaneRec* taken = carrier->records.Find(request.planeRecID);
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(taken->count, 2);
    EXPECT_EQ(record->count, 2);
    EXPECT_EQ(taken->stateTime, 500u);
    EXPECT_EQ(taken->readyTime, 0u);
    EXPECT_EQ(taken->missionID, 7);
    const auto ready = ReadyEvents();
    ASSERT_EQ(ready.size(), 2u);   // the first stays; its copy names the new record
    EXPECT_EQ(ready[0]->recordID + ready[1]->recordID, 3 + request.planeRecID);
    EXPECT_NE(std::find(told.lines.begin(), told.lines.end(),
                        Line("split", {7, CARRIER_ID, 3, request.planeRecID, 2})),
              told.lines.end());
}

TEST_F(PlaneRecTest, TakingAllOrMoreMovesNoAircraftAndAMissingRecordAnswersFalse)
{
    for (uint8_t wanted : {4, 9}) {
        carrier->records.DeleteAll();
        AddRecord(carrier->records, 3, 4);
        Waypoint request;
        request.planeRecID = 3;
        request.count = wanted;
        ASSERT_TRUE(carrier->records.TakePlanes(request, 1));
        EXPECT_EQ(request.planeRecID, 3);
        EXPECT_EQ(carrier->records.First()->count, 4);
        EXPECT_EQ(carrier->records.First()->GetNext(), nullptr);
    }
    Waypoint missing;
    missing.planeRecID = 44;
    EXPECT_FALSE(carrier->records.TakePlanes(missing, 1));
    EXPECT_EQ(missing.planeRecID, 0);
}

TEST_F(PlaneRecTest, TakingForAnotherLoadoutArmsTheRecord)
{
    AddRecord(carrier->records, 3, 2);
    Waypoint request;
    request.planeRecID = 3;
    request.count = 2;
    request.loadout = 5;
    ASSERT_TRUE(carrier->records.TakePlanes(request, 1));
    EXPECT_EQ(carrier->records.Find(3)->loadoutID, 5);
    const auto ready = ReadyEvents();
    ASSERT_EQ(ready.size(), 1u);
    EXPECT_EQ(ready[0]->recordID, 3);
    EXPECT_EQ(ready[0]->Value(), 5);
}

TEST_F(PlaneRecTest, MergingKeepsTheLatestArmedAndSumsTheCounts)
{
    AddRecord(carrier->records, 1, 2)->stateTime = 10;
    AddRecord(carrier->records, 2, 3)->stateTime = 30;
    AddRecord(carrier->records, 3, 4)->stateTime = 20;
    IDList named;
    for (uint16_t key : {1, 2, 3, 9})
        named.Insert(new IDNode(key));
    EXPECT_EQ(carrier->records.MergeRecords(named), 2);
    ASSERT_NE(carrier->records.Find(2), nullptr);
    EXPECT_EQ(carrier->records.Find(2)->count, 9);
    EXPECT_EQ(carrier->records.Find(1), nullptr);
    EXPECT_EQ(carrier->records.Find(3), nullptr);
    EXPECT_NE(std::find(told.lines.begin(), told.lines.end(), Line("merge", {7, CARRIER_ID, 2, 1})), told.lines.end());
    EXPECT_NE(std::find(told.lines.begin(), told.lines.end(), Line("gone", {7, CARRIER_ID, 3})), told.lines.end());

    IDList none;
    none.Insert(new IDNode(50));
    EXPECT_EQ(carrier->records.MergeRecords(none), 0);
}

TEST_F(PlaneRecTest, MergingStopsAt255AndKeepsTheRestInItsRecord)
{
    AddRecord(carrier->records, 1, 200)->stateTime = 10;
    AddRecord(carrier->records, 2, 100)->stateTime = 5;
    IDList named;
    named.Insert(new IDNode(1));
    named.Insert(new IDNode(2));
    EXPECT_EQ(carrier->records.MergeRecords(named), 1);
    EXPECT_EQ(carrier->records.Find(1)->count, 255);
    ASSERT_NE(carrier->records.Find(2), nullptr);
    EXPECT_EQ(carrier->records.Find(2)->count, 45);
    EXPECT_TRUE(carrier->records.Find(1)->HasFlags(PlaneRec::READY_FLAGS));
}

TEST_F(PlaneRecTest, DamageSplitsOffTheHitAircraftEvenForAGroup)
{
    PlaneRec* record = AddRecord(group->planeRecs, 1, 4, GROUP_ID);
    record->loadoutID = 6;
    record->DamagePlanes(1);
    EXPECT_EQ(record->count, 3);
    const PlaneRec* hit = group->planeRecs.Find(2);
    ASSERT_NE(hit, nullptr);   // kept in the group's own list, not lost
    EXPECT_EQ(hit->count, 1);
    EXPECT_EQ(hit->flags, 0u);
    EXPECT_EQ(hit->loadoutID, 6);
    EXPECT_EQ(hit->unitID, GROUP_ID);
}

TEST_F(PlaneRecTest, DamageToEveryAircraftIsSparedOnceBy0x100)
{
    PlaneRec* record = AddRecord(carrier->records, 1, 2);
    record->DamagePlanes(5);   // limited to the count; 0x100 is set
    ASSERT_EQ(carrier->records.Find(1), record);
    EXPECT_EQ(record->count, 2);
    EXPECT_EQ(record->flags, PlaneRec::READY_FLAGS & ~PlaneRec::HARDENED);
    told.lines.clear();
    record->DamagePlanes(2);   // now lost
    EXPECT_EQ(carrier->records.Find(1), nullptr);
    EXPECT_EQ(told.lines, (std::vector<std::string>{Line("lost", {TYPE_ID, 0x50, 2}), Line("gone", {7, CARRIER_ID, 1})}));
}

TEST_F(PlaneRecTest, DestroyingTheLastAircraftOfAGroupRecordDeletesIt)
{
    PlaneRec* record = AddRecord(group->planeRecs, 1, 3, GROUP_ID);
    record->DestroyPlanes(1);
    EXPECT_EQ(record->count, 2);
    record->DestroyPlanes(2);
    EXPECT_EQ(group->planeRecs.First(), nullptr);
    EXPECT_EQ(told.lines.back(), Line("gone", {7, GROUP_ID, 1}));
}

TEST_F(PlaneRecTest, SizeClassAndSizeFactorFollowTheTypeFlags)
{
    PlaneRec* record = AddRecord(carrier->records, 1, 1);
    const struct {
        uint32_t flags;
        uint16_t sizeClass;
        uint8_t factor;
    } cases[] = {
        {0x2000, 4, 8}, {0x4000, 4, 8}, {0x6000, 4, 8}, {0x800 | 0x80000, 1, 8}, {0x80000, 128, 8},
        {0x01000000, 0, 2}, {0x02008000, 8, 3}, {0x04000000, 0, 4}, {0x0F000000, 0, 8},
    };
    for (const auto& c : cases) {
        type->aircraftFlags = c.flags;
        EXPECT_EQ(record->GetSizeClass(), c.sizeClass) << std::hex << c.flags;
        EXPECT_EQ(PlaneRec::SizeFactorOf(TYPE_ID), c.factor) << std::hex << c.flags;
    }
    record->planeAnnexID = 99;   // missing type
    EXPECT_EQ(record->GetSizeClass(), 0);
    EXPECT_EQ(PlaneRec::SizeFactorOf(99), 0);
}

TEST_F(PlaneRecTest, ReachNeedsMoreThanAFifthOfTheFuelLeft)
{
    PlaneRec* record = AddRecord(carrier->records, 1, 1);
    for (int b = 0; b < 4; ++b)
        type->perfCeiling[4 + b] = static_cast<int16_t>(100 * (b + 1));
    type->perfSpeed[0] = 300;
    // 100 nm: 150 x 100 / 200 = 75 out, 50 x 100 / range back.
    const struct {
        uint16_t range;
        bool reach;
    } cases[] = {{1250, true} /* 79 used, 21 left */, {1000, false} /* 80 used */, {0, false}};
    for (const auto& c : cases) {
        type->perfRange[0] = c.range;
        EXPECT_EQ(record->CanReach(NorthAt(100), 250, 50), c.reach) << c.range;
    }
    type->perfRange[0] = 0;   // a zero row answers false one way too
    EXPECT_FALSE(record->CanReachOneWay(NorthAt(10), 250, 50));
    type->perfRange[0] = 2000;
    EXPECT_TRUE(record->CanReachOneWay(NorthAt(10), 250, 50));
    EXPECT_FALSE(record->CanReach(NorthAt(10), 250, 450));   // above every band
    EXPECT_FALSE(record->CanReach(NorthAt(10), 301, 50));    // faster than every setting
    record->loadoutID = 3;                                    // a loadout the type lacks
    EXPECT_FALSE(record->CanReach(NorthAt(10), 250, 50));
}

TEST_F(PlaneRecTest, SpeedAndAltitudeLimitsReadTheTable)
{
    PlaneRec* record = AddRecord(carrier->records, 1, 1);
    const int16_t ceilings[] = {50, 200, 600, 900};
    for (int b = 0; b < 4; ++b) {
        type->perfCeiling[8 + b] = ceilings[b];
        type->perfSpeed[8 + b] = static_cast<uint16_t>(300 + b);
    }
    EXPECT_EQ(record->GetSpeedAtAltitude(2, 150), 301);
    EXPECT_EQ(record->GetSpeedAtAltitude(2, 700), 0);   // band 3 is not tried
    int16_t low = 0;
    int16_t high = 0;
    const struct {
        uint32_t flags;
        int16_t low;
    } floors[] = {{0x40, 2}, {0x20000000, 2}, {0x20, 4}, {0, 10}};
    for (const auto& f : floors) {
        type->aircraftFlags = f.flags;
        record->GetAltitudeLimits(2, low, high);
        EXPECT_EQ(low, f.low);
        EXPECT_EQ(high, 900);
    }
    record->planeAnnexID = 99;
    record->GetAltitudeLimits(2, low, high);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, -1);
}

TEST_F(PlaneRecTest, CapabilitiesOfKind2ReportASonar)
{
    PlaneRec* record = AddRecord(carrier->records, 1, 1);
    EXPECT_EQ(record->GetCapabilities(3), 1u);
    EXPECT_EQ(record->GetCapabilities(2 | 0x18), 0u);
    auto* sonar = new SensorAnnex(40);
    sonar->sensorType = SENSOR_TYPE_PASSIVE_VDS;
    Annex::Tables().Sensors()->Insert(sonar);
    type->sensorIDs.Insert(new IDRecord(40));
    EXPECT_EQ(record->GetCapabilities(2 | 0x1800), PlaneRec::CAN_DIP);
    record->planeAnnexID = 99;
    EXPECT_EQ(record->GetCapabilities(3), 0u);
}

TEST_F(PlaneRecTest, CapabilitiesOfKind2ReadTheLoadoutsWeapons)
{
    PlaneRec* record = AddRecord(carrier->records, 1, 1);
    auto* sonar = new SensorAnnex(40);
    sonar->sensorType = SENSOR_TYPE_ACTIVE_PASSIVE_SONAR;
    Annex::Tables().Sensors()->Insert(sonar);
    // Weapon 60 carries the sonar (a pod), 61 names it as a plain weapon
    // would not, 62 is a sonobuoy.
    const struct {
        uint16_t id;
        uint32_t kind;
        bool sonar;
    } weapons[] = {{60, 0x80, true}, {61, 0x1, true}, {62, 0x100, false}};
    for (const auto& w : weapons) {
        auto* weapon = new WeaponAnnex(w.id);
        weapon->weaponKind = w.kind;
        if (w.sonar)
            weapon->sensors.Insert(new IDRecord(40));
        Annex::Tables().Weapons()->Insert(weapon);
        auto* rec = new WeaponRec(w.id);
        rec->weaponID = w.id;
        Annex::Tables().WeaponRecs()->Insert(rec);
    }
    const struct {
        std::vector<uint16_t> recs;
        uint32_t bits;
    } cases[] = {
        {{}, 0}, {{61}, 0}, {{60}, PlaneRec::CAN_DIP}, {{62}, PlaneRec::CAN_LAY_BUOYS},
        {{60, 62}, PlaneRec::CAN_DIP | PlaneRec::CAN_LAY_BUOYS},
    };
    uint16_t loadoutID = 5;
    for (const auto& c : cases) {
        auto* loadout = new LoadoutAnnex(loadoutID);
        loadout->firstIDs.Insert(new IDNode(40));   // not a sensor list
        for (uint16_t id : c.recs)
            loadout->weaponRecIDs.Insert(new IDNode(id));
        Annex::Tables().Loadouts()->Insert(loadout);
        record->loadoutID = loadoutID++;
        EXPECT_EQ(record->GetCapabilities(2), c.bits) << c.recs.size();
    }
}

TEST_F(PlaneRecTest, ArrivingAircraftAreReadyOrArmedAndTheSideIsTold)
{
    told.sideMission = 0;
    PlaneRec* setUp = carrier->records.AddPlaneRec(CARRIER_ID, TYPE_ID, 2, 4, 0);
    ASSERT_NE(setUp, nullptr);
    EXPECT_EQ(setUp->flags, PlaneRec::READY_FLAGS);
    EXPECT_EQ(setUp->sizeFactor, 8);
    EXPECT_TRUE(world.reports.posts.empty());
    told.sideMission = 5;   // the side answers another mission
    carrier->records.AddPlaneRec(CARRIER_ID, TYPE_ID, 2, 4, 0);
    EXPECT_EQ(world.reports.posts, (std::vector<std::string>{"AddPlaneRecID Failed"}));

    PlaneRec* landed = carrier->records.AddPlaneRec(CARRIER_ID, TYPE_ID, 1, 4, 77);
    ASSERT_NE(landed, nullptr);
    EXPECT_EQ(landed->flags, 0u);
    EXPECT_EQ(landed->loadoutID, 0);   // armed with loadout 0
    ASSERT_EQ(ReadyEvents().size(), 1u);
    EXPECT_EQ(ReadyEvents()[0]->recordID, landed->GetKey());
    EXPECT_EQ(told.lines.back(), Line("side", {CARRIER_ID, landed->GetKey(), 0, 77}));

    // A holder that cannot be found is fatal.
    EXPECT_EQ(carrier->records.AddPlaneRec(555, TYPE_ID, 1, 0, 0), nullptr);
    EXPECT_EQ(world.reports.fatals.size(), 1u);
}

// The saved form of a list of one record.
std::string SavedList(const PlaneRecList& list)
{
    std::ostringstream out;
    list.Save(out);
    return out.str();
}

TEST_F(PlaneRecTest, RecordsRoundTripWithTheirStationKinds)
{
    for (uint8_t kind = 0; kind <= StationKind::LAST; ++kind) {
        carrier->records.DeleteAll();
        PlaneRec* record = AddRecord(carrier->records, 6, 3);
        record->stateTime = 40;
        record->readyTime = 50;
        record->airGroupID = 9;
        record->sizeFactor = 8;
        record->substitutions.Insert(new NavIDNode(8, 12));
        if (kind != 0) {
            StationRecord* station = StationRecord::CreateStation(kind);
            ASSERT_NE(station, nullptr);
            station->maxRange = 4096 * 20;
            record->SetStation(station);
            delete station;
        }
        const std::string bytes = SavedList(carrier->records);
        PlaneRecList back;
        std::istringstream in(bytes);
        ASSERT_TRUE(back.Load(in)) << int(kind);
        const PlaneRec* r = back.Find(6);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->count, 3);
        EXPECT_EQ(r->airGroupID, 9);
        EXPECT_EQ(r->readyTime, 50u);
        ASSERT_NE(r->substitutions.Find(8), nullptr);
        EXPECT_EQ(r->substitutions.Find(8)->GetValue(), 12);
        if (kind == 0) {
            EXPECT_EQ(r->GetStation(), nullptr);
        } else {
            ASSERT_NE(r->GetStation(), nullptr);
            EXPECT_EQ(r->GetStation()->kind, kind);
            EXPECT_EQ(r->GetStation()->maxRange, 4096 * 20);
        }
        EXPECT_EQ(SavedList(back), bytes);
        EXPECT_EQ(back.GetLastKey(), 6);
    }
}

TEST_F(PlaneRecTest, ADamagedListIsRefusedWhole)
{
    AddRecord(carrier->records, 1, 3);
    AddRecord(carrier->records, 2, 3)->SetStation(nullptr);
    std::string bytes = SavedList(carrier->records);
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        PlaneRecList back;
        std::istringstream in(bytes.substr(0, cut));
        EXPECT_FALSE(back.Load(in)) << cut;
        EXPECT_EQ(back.First(), nullptr) << cut;
    }
    // The station byte of the second record (after count, one record of 27
    // bytes without station tail ... found by its place): a kind of 13.
    const size_t recordSize = (bytes.size() - 2) / 2;
    const size_t stationByte = 2 + recordSize + 2 + 4 + 2 + 2 + 2 + 1 + 2 + 1 + 1 + 2 + 2;
    ASSERT_EQ(bytes[stationByte], 0);
    bytes[stationByte] = 13;
    world.reports.Clear();
    PlaneRecList back;
    std::istringstream in(bytes);
    EXPECT_FALSE(back.Load(in));
    EXPECT_EQ(back.First(), nullptr);
    EXPECT_FALSE(world.reports.errors.empty());
}

TEST_F(PlaneRecTest, ALoadedRecordGetsItsReadyTime)
{
    auto* loadout = new LoadoutAnnex(4);
    loadout->armingMinutes = 20;
    Annex::Tables().Loadouts()->Insert(loadout);
    const struct {
        uint32_t flags;
        uint16_t loadout;
        uint32_t readyTime;
    } cases[] = {{0, 0, 100 + 1800}, {0x10E, 4, 100 + 1200}, {0, 9, 100 + 1800}, {PlaneRec::READY_FLAGS, 0, 0}};
    for (const auto& c : cases) {
        carrier->records.DeleteAll();
        PlaneRec* record = AddRecord(carrier->records, 1, 1);
        record->flags = c.flags;
        record->loadoutID = c.loadout;
        record->stateTime = 100;
        record->sizeFactor = 0;
        type->aircraftFlags = 0x02000000;
        PlaneRecList back;
        std::istringstream in(SavedList(carrier->records));
        ASSERT_TRUE(back.Load(in));
        EXPECT_EQ(back.First()->readyTime, c.readyTime);
        EXPECT_EQ(back.First()->sizeFactor, 3);
    }
}

TEST_F(PlaneRecTest, ArmingWithTheLoadoutCarriedActsOnlyWhileNotReadyAndUntimed)
{
    PlaneRec* record = AddRecord(carrier->records, 1, 2);
    record->loadoutID = 5;
    record->SetReadyState(5, true, 30);   // ready: nothing
    record->flags = 0x20;
    record->readyTime = 700;
    record->SetReadyState(5, true, 30);   // timed: nothing
    EXPECT_TRUE(ReadyEvents().empty());
    record->readyTime = 0;
    record->SetReadyState(5, true, 30);
    record->SetReadyState(6, false, 30);
    const auto ready = ReadyEvents();
    ASSERT_EQ(ready.size(), 2u);
    EXPECT_EQ(ready[1]->Value(), 6);
    EXPECT_EQ(record->loadoutID, 6);
    EXPECT_EQ(std::count(told.lines.begin(), told.lines.end(), Line("loadout", {7, CARRIER_ID, 1, 5})), 1);
    EXPECT_EQ(told.lines.back(), Line("loadout", {7, CARRIER_ID, 1, 5}));   // no notice without notify
}

// Arming with logistics. Weapons: 40 and 41 missiles (each the other's
// alternate as a case needs), 42 a missile without alternate, 50 a gun (not
// counted), 99 missing. Weapon records 100..104 carry 1 of 40, 1 of 42, 2 of
// 50, 1 of 99 and 2 of 41 per aircraft. Loadouts: 5 {100}, 6 {101},
// 7 {100, 102, 103}, 8 {100, 104}. The carrier's magazine 3 holds 3 of 40
// (8 when full) and 10 of 41 (10 when full).
class ArmingTest : public PlaneRecTest {
protected:
    ArmingTest()
    {
        AircraftLogistics::SetOn(true);
        for (auto [id, kind, alternate] : {std::tuple<uint16_t, uint32_t, uint16_t>{40, 1, 41}, {41, 1, 0},
                                           {42, 1, 0}, {50, 8, 40}}) {
            auto* weapon = new WeaponAnnex(id);
            weapon->weaponKind = kind;
            weapon->alternateID = alternate;
            Annex::Tables().Weapons()->Insert(weapon);
        }
        for (auto [id, weapon, each] : {std::tuple<uint16_t, uint16_t, uint16_t>{100, 40, 1}, {101, 42, 1},
                                        {102, 50, 2}, {103, 99, 1}, {104, 41, 2}}) {
            auto* rec = new WeaponRec(id);
            rec->weaponID = weapon;
            rec->shotsLeft = each;
            Annex::Tables().WeaponRecs()->Insert(rec);
        }
        const std::vector<std::pair<uint16_t, std::vector<uint16_t>>> loadouts = {
            {5, {100}}, {6, {101}}, {7, {100, 102, 103}}, {8, {100, 104}}};
        for (const auto& [id, recs] : loadouts) {
            auto* loadout = new LoadoutAnnex(id);
            for (uint16_t rec : recs)
                loadout->weaponRecIDs.Insert(new IDNode(rec));
            Annex::Tables().Loadouts()->Insert(loadout);
        }
        auto* magazine = new Mount(3);
        magazine->capabilities = Mount::MAGAZINE;
        for (auto [key, weapon, onHand, full] : {std::tuple<uint16_t, uint16_t, uint16_t, uint16_t>{1, 40, 3, 8},
                                                 {2, 41, 10, 10}}) {
            auto* rec = new WeaponRec(key);
            rec->weaponID = weapon;
            rec->shotsLeft = onHand;
            rec->secondValue = full;
            magazine->weapons.Insert(rec);
        }
        carrier->magazines.Insert(magazine);
    }
    ~ArmingTest() override { AircraftLogistics::SetOn(false); }

    // An unready record of the carrier's without a loadout.
    PlaneRec* Unarmed(uint8_t count)
    {
        PlaneRec* record = AddRecord(carrier->records, 1, count);
        record->flags = 0;
        return record;
    }
    // The rounds of a weapon in the magazine; -1 without the magazine or
    // the weapon's record.
    int32_t Rounds(const Unit& unit, uint16_t magazineKey, uint16_t weaponID) const
    {
        const Mount* magazine = unit.magazines.Find(magazineKey);
        for (const WeaponRec* rec = magazine ? magazine->weapons.First() : nullptr; rec; rec = rec->GetNext())
            if (rec->weaponID == weaponID)
                return rec->shotsLeft;
        return -1;
    }
    // The substitutions as "named>carried" pairs in key order.
    static std::string Substitutions(const PlaneRec& record)
    {
        std::string s;
        for (const NavIDNode* n = record.substitutions.First(); n != nullptr; n = n->GetNext())
            s += (s.empty() ? "" : " ") + std::to_string(n->GetKey()) + ">" + std::to_string(n->GetValue());
        return s;
    }
};

TEST_F(ArmingTest, DrawsTheAlternateWhenShortAndReturnsItUpToCapacity)
{
    PlaneRec* record = Unarmed(4);
    // 4 aircraft need 4 of weapon 40; the magazine holds 3: its alternate 41.
    record->SetReadyState(5, true, 30);
    EXPECT_EQ(Substitutions(*record), "40>41");
    EXPECT_EQ(Rounds(*carrier, 3, 40), 3);
    EXPECT_EQ(Rounds(*carrier, 3, 41), 6);
    // Rearming: the 4 of 41 carried go back (10, the capacity); 42 has no
    // stock and no alternate: nothing carried, noted as such.
    record->SetReadyState(6, true, 30);
    EXPECT_EQ(Substitutions(*record), "42>0");
    EXPECT_EQ(Rounds(*carrier, 3, 41), 10);
    EXPECT_EQ(ReadyEvents().size(), 2u);
}

TEST_F(ArmingTest, ReturnsStopAtTheCapacityEvenPastSixteenBitsAndNeverLowerAStock)
{
    struct Row {
        uint16_t onHand, full;
        uint8_t aircraft;
        uint16_t each;
        uint16_t expected;
    };
    const Row rows[] = {
        {2, 8, 4, 1, 6},
        {7, 8, 4, 1, 8},                 // not 11
        {65000, 65535, 200, 300, 65535},  // 60000 more wraps 16 bits
        {10, 8, 4, 1, 10},               // already past the capacity: not lowered
        {48, 0, 4, 1, 48},               // no full quantity given
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.onHand);
        WeaponRec* stock = carrier->magazines.First()->weapons.Find(1);
        stock->shotsLeft = r.onHand;
        stock->secondValue = r.full;
        Annex::Tables().WeaponRecs()->Find(100)->shotsLeft = r.each;
        PlaneRec* record = Unarmed(r.aircraft);
        record->loadoutID = 5;   // weapon 40 carried as named
        record->SetReadyState(0, true, 30);
        EXPECT_EQ(stock->shotsLeft, r.expected);
        EXPECT_EQ(record->loadoutID, 0);
        carrier->records.DeleteAll();
    }
}

TEST_F(ArmingTest, AlternatesThatLeadBackEndWithNothingCarried)
{
    Annex::Tables().Weapons()->Find(41)->alternateID = 40;   // 40 -> 41 -> 40
    carrier->magazines.First()->weapons.Find(2)->shotsLeft = 2;
    PlaneRec* record = Unarmed(4);
    record->SetReadyState(5, true, 30);   // used to loop for ever
    EXPECT_EQ(Substitutions(*record), "40>0");
    EXPECT_EQ(Rounds(*carrier, 3, 40), 3);
    EXPECT_EQ(Rounds(*carrier, 3, 41), 2);
    EXPECT_EQ(record->loadoutID, 5);
    EXPECT_EQ(ReadyEvents().size(), 1u);

    Annex::Tables().Weapons()->Find(41)->alternateID = 41;   // an alternate of itself
    record->loadoutID = 0;
    record->SetReadyState(5, true, 30);
    EXPECT_EQ(Rounds(*carrier, 3, 41), 2);
}

TEST_F(ArmingTest, ArmedShortThenRearmedTheMagazinesHoldWhatTheyHeld)
{
    struct Row {
        const char* name;
        uint16_t alternateOf41;   // 0: the alternates run out; 40: they lead back
    };
    for (const Row& r : {Row{"alternates run out", 0}, Row{"alternates lead back", 40}}) {
        SCOPED_TRACE(r.name);
        Annex::Tables().Weapons()->Find(41)->alternateID = r.alternateOf41;
        carrier->magazines.First()->weapons.Find(1)->shotsLeft = 3;
        carrier->magazines.First()->weapons.Find(2)->shotsLeft = 2;
        PlaneRec* record = Unarmed(4);   // 4 of 40 needed: 3 of 40, 2 of 41 held
        record->SetReadyState(5, true, 30);
        EXPECT_EQ(Substitutions(*record), "40>0");
        record->SetReadyState(6, true, 30);   // nothing of 40 goes back
        record->SetReadyState(0, true, 30);
        EXPECT_EQ(Rounds(*carrier, 3, 40), 3);
        EXPECT_EQ(Rounds(*carrier, 3, 41), 2);
        EXPECT_EQ(Substitutions(*record), "");
        carrier->records.DeleteAll();
    }
}

TEST_F(ArmingTest, UncountedAndMissingWeaponsAreNotedAndLeaveTheStocksAlone)
{
    PlaneRec* record = Unarmed(2);
    record->SetReadyState(7, true, 30);
    // 40 drawn as named; the gun 50 is not counted; 99 is missing: nothing.
    EXPECT_EQ(Substitutions(*record), "99>0");
    EXPECT_EQ(Rounds(*carrier, 3, 40), 1);
    record->SetReadyState(6, true, 30);
    EXPECT_EQ(Rounds(*carrier, 3, 40), 3);   // only the counted weapon came back
    EXPECT_EQ(carrier->magazines.First()->weapons.First()->GetNext()->GetNext(), nullptr);
}

TEST_F(ArmingTest, AReturnWithoutStockOpensAMagazineForIt)
{
    auto* ship = new Carrier();
    ship->SetKey(21);
    units.Insert(ship);
    PlaneRec* record = AddRecord(ship->records, 1, 3, 21);
    record->flags = 0;
    record->loadoutID = 8;
    record->SetReadyState(0, true, 30);
    // A magazine keyed 1 holds 3 of 40 and 6 of 41, full at that.
    const Mount* magazine = ship->magazines.First();
    ASSERT_NE(magazine, nullptr);
    EXPECT_EQ(magazine->GetKey(), 1);
    EXPECT_EQ(magazine->GetOwner(), ship);
    struct Row {
        uint16_t key, weapon, rounds;
    };
    for (const Row& r : {Row{1, 40, 3}, Row{2, 41, 6}}) {
        const WeaponRec* rec = magazine->weapons.Find(r.key);
        ASSERT_NE(rec, nullptr) << r.key;
        EXPECT_EQ(rec->weaponID, r.weapon);
        EXPECT_EQ(rec->shotsLeft, r.rounds);
        EXPECT_EQ(rec->secondValue, r.rounds);
    }
    // Its stock entry, capacity 32767, then serves the next draw.
    StockChain stocks;
    ship->CollectWeaponEntries(stocks, true);
    ASSERT_NE(stocks.First(), nullptr);
    EXPECT_EQ(stocks.First()->magazineKey, 1);
    record->SetReadyState(5, true, 30);
    EXPECT_EQ(Rounds(*ship, 1, 40), 0);
    EXPECT_EQ(Substitutions(*record), "");
}

TEST_F(ArmingTest, OffOrAlreadyArmedTheMagazinesStayAsTheyAre)
{
    PlaneRec* record = Unarmed(2);
    record->loadoutID = 5;
    record->flags = PlaneRec::READY_FLAGS;
    record->SetReadyState(5, true, 30);   // carried and ready: nothing at all
    EXPECT_TRUE(ReadyEvents().empty());
    record->flags = 0;
    record->SetReadyState(5, true, 30);   // untimed, not ready: armed again
    EXPECT_EQ(Rounds(*carrier, 3, 40), 3);   // 2 back, 2 drawn
    EXPECT_EQ(ReadyEvents().size(), 1u);

    AircraftLogistics::SetOn(false);
    record->substitutions.Insert(new NavIDNode(42, 41));
    record->SetReadyState(6, true, 30);
    EXPECT_EQ(Rounds(*carrier, 3, 40), 3);
    EXPECT_EQ(Rounds(*carrier, 3, 41), 10);
    EXPECT_EQ(Substitutions(*record), "42>41");
    EXPECT_EQ(record->loadoutID, 6);
    EXPECT_EQ(ReadyEvents().size(), 2u);   // the readiness event still comes
}

TEST(AircraftLogisticsSetting, OnOnlyForTheWordOnInAnyCase)
{
    struct Row {
        const char* line;
        bool on;
    };
    const Row rows[] = {{"AircraftLogistics on\n", true},  {"AircraftLogistics ON\n", true},
                        {"AircraftLogistics On  \n", true}, {"AircraftLogistics off\n", false},
                        {"AircraftLogistics onion\n", false}, {"AircraftLogistics 1\n", false},
                        {"", false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.line);
        TempTree tree;
        tree.File("t.ini", std::string("[Tessarn3]\n") + r.line);
        ConfigurationFileIO ini((tree.root + "/t.ini").c_str());
        EXPECT_EQ(AircraftLogistics::Read(ini), r.on);
    }
}

}  // namespace
