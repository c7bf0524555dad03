// Tests of plain station keeping, the station list and its saved form, and
// the relief of aircraft on station.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "StationTestSupport.h"
#include "units/GroupKeepingStations.h"
#include "units/PatrolStations.h"
#include "units/SonobuoyStation.h"
#include "units/StationList.h"

using namespace stationtest;

namespace {

using StationRecordTest = StationWorld;

TEST_F(StationRecordTest, AimsAtTheMiddleOfTheSectorAcrossNorth)
{
    struct Row { int32_t left, right; int aimDegrees; };
    const Row rows[] = {
        {Deg(350), Deg(10), 0},     // crosses north
        {Deg(10), Deg(350), 180},   // 340 degrees wide the other way
        {Deg(90), Deg(90), 270},    // equal limits: the full circle, opposite the limit
        {Deg(20), Deg(60), 40},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.left / ANGLE_PER_DEGREE << " to " << r.right / ANGLE_PER_DEGREE);
        StationRecord station;
        station.leftBearing = r.left;
        station.rightBearing = r.right;
        station.maxRange = Nm(6);
        station.minRange = Nm(2);
        LatLonPoint aim;
        station.GetStationPoint(aim, Home(), 0);
        const NavVector v = From(Home(), aim);
        EXPECT_EQ(Degrees(v.bearing), r.aimDegrees);
        EXPECT_NEAR(v.range, Nm(4), 8);
    }
}

TEST_F(StationRecordTest, EqualLimitsHoldEveryBearingWithinTheBand)
{
    StationRecord sector;
    sector.leftBearing = sector.rightBearing = Deg(90);
    sector.maxRange = Nm(6);
    sector.minRange = Nm(2);
    sector.unitID = 7;
    TestUnit* ship = AddShip(7, Home());
    for (int degrees = 0; degrees < 360; degrees += 15) {
        SCOPED_TRACE(degrees);
        ship->SetPosition(NavMath::Get_LatLonPoint_From_Vector(Home(), Nm(4), Deg(degrees)));
        EXPECT_TRUE(sector.IsInStation(Home(), 0));
    }
    ship->SetPosition(NavMath::Get_LatLonPoint_From_Vector(Home(), Nm(8), Deg(30)));
    EXPECT_FALSE(sector.IsInStation(Home(), 0));   // beyond the band
    sector.unitID = 8;
    EXPECT_FALSE(sector.IsInStation(Home(), 0));   // no such unit
}

TEST_F(StationRecordTest, SectorTestRespectsLimitsOnBothSidesOfNorth)
{
    struct Row { int32_t left, right; int bearing; bool in; };
    const Row rows[] = {
        {Deg(350), Deg(10), 5, true},   {Deg(350), Deg(10), 355, true},
        {Deg(350), Deg(10), 20, false}, {Deg(350), Deg(10), 180, false},
        {Deg(10), Deg(350), 180, true}, {Deg(10), Deg(350), 5, false},
    };
    StationRecord station;
    station.maxRange = Nm(6);
    station.minRange = Nm(2);
    station.unitID = 7;
    TestUnit* ship = AddShip(7, Home());
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.left / ANGLE_PER_DEGREE << "/" << r.right / ANGLE_PER_DEGREE << " at "
                                        << r.bearing);
        station.leftBearing = r.left;
        station.rightBearing = r.right;
        ship->SetPosition(NavMath::Get_LatLonPoint_From_Vector(Home(), Nm(4), Deg(r.bearing)));
        EXPECT_EQ(station.IsInStation(Home(), 0), r.in);
    }
}

TEST_F(StationRecordTest, SetStationKeepsUnitOrderSwapsRangesAndKeepsTheFirstKind)
{
    StationList list;
    list.SetStation(30, StationKind::KEEP, Deg(10), Deg(350), Nm(2), Nm(6));
    list.SetStation(10, StationKind::RANDOM, 0, 0, Nm(1), Nm(1));
    list.SetStation(50, StationKind::SPRINT_DRIFT, 0, 0, 0, 0);
    list.SetStation(20, StationKind::FREE, 0, 0, 0, 0);
    StationRecord* again = list.SetStation(30, StationKind::CAP, Deg(20), Deg(340), Nm(9), Nm(3));

    std::vector<uint16_t> ids;
    for (const StationRecord* s = list.First(); s != nullptr; s = s->GetNext())
        ids.push_back(s->unitID);
    EXPECT_EQ(ids, (std::vector<uint16_t>{10, 20, 30, 50}));
    ASSERT_EQ(again, list.Find(30));
    EXPECT_EQ(again->kind, StationKind::KEEP);   // the first kind stays
    EXPECT_EQ(again->maxRange, Nm(9));
    EXPECT_EQ(again->minRange, Nm(3));
    EXPECT_EQ(again->rightBearing, Deg(20));
    EXPECT_EQ(again->leftBearing, Deg(340));
    EXPECT_EQ(list.SetStation(40, StationKind::KEEP, 0, 0, Nm(2), Nm(7))->maxRange, Nm(7));

    list.Remove(20);
    list.Remove(99);   // none: nothing happens
    EXPECT_EQ(list.Find(20), nullptr);
    EXPECT_NE(list.Find(50), nullptr);
}

TEST_F(StationRecordTest, FactoryMakesEveryKindAndRefusesOthers)
{
    for (uint8_t kind = StationKind::FIRST; kind <= StationKind::LAST; ++kind) {
        SCOPED_TRACE(int{kind});
        StationRecord* s = StationRecord::CreateStation(kind);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->kind, kind);
        delete s;
    }
    for (uint8_t kind : {0, 13, 255}) {
        world.reports.Clear();
        EXPECT_EQ(StationRecord::CreateStation(kind), nullptr);
        ASSERT_EQ(world.reports.fatals.size(), 1u);
        EXPECT_NE(world.reports.fatals[0].find("no station class"), std::string::npos);
    }
}

// One station of every kind, unit ids out of order, fields of their own and
// events on some.
void FillSample(StationList& list)
{
    const uint16_t ids[] = {40, 3, 77, 12, 9, 500, 1, 64, 33, 2, 900, 15};
    for (uint8_t kind = StationKind::FIRST; kind <= StationKind::LAST; ++kind) {
        StationRecord* s = StationRecord::CreateStation(kind);
        s->unitID = ids[kind - 1];
        s->option = static_cast<uint8_t>(kind * 3);
        s->mode = kind % 2 ? StationMode::OUT : StationMode::STEERING;
        s->rightBearing = Deg(kind * 20);
        s->leftBearing = -Deg(kind);
        s->maxRange = Nm(kind + 5);
        s->minRange = Nm(kind);
        s->axis = kind % 3;
        s->leg = kind - 4;
        s->relief = kind % 2;
        if (kind % 4 == 0) {
            auto* e = new TestEvent(EventCode::SET_SENSORS, s->unitID, kind);
            e->SetDueTime(GameTime(kind * 10));
            s->eventList.Append(e);
        }
        list.Append(s);
    }
}

void ExpectSame(const StationList& a, const StationList& b, bool events)
{
    const StationRecord* x = a.First();
    const StationRecord* y = b.First();
    for (; x != nullptr && y != nullptr; x = x->GetNext(), y = y->GetNext()) {
        SCOPED_TRACE(x->unitID);
        EXPECT_EQ(x->kind, y->kind);
        EXPECT_EQ(x->unitID, y->unitID);
        EXPECT_EQ(x->option, y->option);
        EXPECT_EQ(x->mode, y->mode);
        EXPECT_EQ(x->rightBearing, y->rightBearing);
        EXPECT_EQ(x->leftBearing, y->leftBearing);
        EXPECT_EQ(x->maxRange, y->maxRange);
        EXPECT_EQ(x->minRange, y->minRange);
        EXPECT_EQ(x->axis, y->axis);
        EXPECT_EQ(x->leg, y->leg);
        EXPECT_EQ(x->relief, y->relief);
        EXPECT_EQ(x->HasSetSensorsEvent(), events && y->HasSetSensorsEvent());
        if (events && x->eventList.First() != nullptr) {
            ASSERT_NE(y->eventList.First(), nullptr);
            EXPECT_EQ(x->eventList.First()->GetTime(), y->eventList.First()->GetTime());
        }
    }
    EXPECT_EQ(x, nullptr);
    EXPECT_EQ(y, nullptr);
}

std::string Saved(const StationList& list)
{
    std::ostringstream out(std::ios::binary);
    EXPECT_TRUE(list.Save(out));
    return out.str();
}

// The form of files before 2.1.0.0: each station without its event count.
std::string SavedWithoutEvents(const StationList& list)
{
    std::ostringstream out(std::ios::binary);
    uint16_t count = 0;
    for (const StationRecord* s = list.First(); s != nullptr; s = s->GetNext())
        ++count;
    SaveField(out, count);
    for (const StationRecord* s = list.First(); s != nullptr; s = s->GetNext()) {
        std::ostringstream one(std::ios::binary);
        s->Save(one);
        const std::string bytes = one.str();
        EXPECT_EQ(bytes.substr(bytes.size() - 2), std::string(2, '\0'));
        SaveField(out, s->kind);
        out << bytes.substr(0, bytes.size() - 2);
    }
    return out.str();
}

TEST_F(StationRecordTest, SavedListRoundTripsInEveryFileVersionInSavedOrder)
{
    StationList sample;
    FillSample(sample);
    const std::string current = Saved(sample);
    // 1 count + per station: kind 1 + 28 bytes + 2 count (+ 9 per event)
    EXPECT_EQ(current.size(), 2u + 12 * 31 + 3 * 9);

    struct Row { VersionNumber version; bool events; };
    const Row rows[] = {
        {VersionNumber(1, 0, 0, 0), false},
        {VersionNumber(2, 0, 9, 5), false},
        {VersionNumber(2, 1, 0, 0), true},
        {VersionNumber(3, 6, 3, 0), true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.version.Text());
        admin.SetFileVersion(r.version);
        StationList stripped;
        FillSample(stripped);
        if (!r.events) {
            for (StationRecord* s = stripped.First(); s != nullptr; s = s->GetNext())
                s->eventList.DeleteAll();
        }
        std::istringstream in(r.events ? current : SavedWithoutEvents(stripped), std::ios::binary);
        StationList loaded;
        ASSERT_TRUE(loaded.Load(in));
        EXPECT_EQ(in.peek(), std::char_traits<char>::eof());
        ExpectSame(r.events ? sample : stripped, loaded, r.events);
        // Saving always writes the events, so the new form comes back out.
        if (!r.events) {
            EXPECT_EQ(Saved(loaded), Saved(stripped));
        }
    }
}

TEST_F(StationRecordTest, DamagedListIsRefusedWhole)
{
    StationList sample;
    FillSample(sample);
    const std::string good = Saved(sample);
    for (size_t cut = 0; cut < good.size(); ++cut) {
        SCOPED_TRACE(cut);
        StationList list;
        list.SetStation(5, StationKind::KEEP, 0, 0, 0, 0);
        std::istringstream in(good.substr(0, cut), std::ios::binary);
        EXPECT_FALSE(list.Load(in));
        EXPECT_TRUE(in.fail());
        ASSERT_NE(list.First(), nullptr);
        EXPECT_EQ(list.First(), list.Last());   // only the station it had
    }

    struct Row { const char* what; std::string bytes; bool fatal; };
    std::string beyond = good;
    beyond[0] = '\x10';
    beyond[1] = '\x27';   // 10000 stations announced
    std::string kindZero = good;
    kindZero[2] = '\0';
    std::string kindThirteen = good;
    kindThirteen[2] = 13;
    std::string ownKindOther = good;
    ownKindOther[2 + 5] = 7;   // the first station, a null one, says it is an AEW one
    const Row rows[] = {
        {"count beyond the stream", beyond, false},
        {"kind 0", kindZero, true},
        {"kind 13", kindThirteen, true},
        {"repeated kind not the list's", ownKindOther, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        world.reports.Clear();
        StationList list;
        std::istringstream in(r.bytes, std::ios::binary);
        EXPECT_FALSE(list.Load(in));
        EXPECT_EQ(list.First(), nullptr);
        EXPECT_EQ(world.reports.fatals.size(), r.fatal ? 1u : 0u);
    }
}

TEST_F(StationRecordTest, CopyFromTakesTheSectorAndEventsButNotKindModeOrLeg)
{
    CAPStation source(true);
    source.unitID = 9;
    source.maxRange = Nm(30);
    source.minRange = Nm(10);
    source.rightBearing = Deg(45);
    source.leftBearing = Deg(315);
    source.axis = 2;
    source.option = 7;
    source.relief = 1;
    source.mode = StationMode::OUT;
    source.leg = 3;
    source.eventList.Append(new TestEvent(EventCode::SET_SENSORS, 9, 5));
    StationRecord copy;
    copy.CopyFrom(&source);
    copy.CopyFrom(nullptr);
    EXPECT_EQ(copy.kind, StationKind::KEEP);
    EXPECT_EQ(copy.mode, StationMode::IN);
    EXPECT_EQ(copy.leg, 0);
    EXPECT_EQ(copy.unitID, 9);
    EXPECT_EQ(copy.maxRange, Nm(30));
    EXPECT_EQ(copy.minRange, Nm(10));
    EXPECT_EQ(copy.axis, 2);
    EXPECT_EQ(copy.option, 7);
    EXPECT_EQ(copy.relief, 1);
    EXPECT_TRUE(copy.HasSetSensorsEvent());

    copy.CopyStationEventList(nullptr);
    ASSERT_EQ(world.reports.errors.size(), 1u);
    EXPECT_EQ(world.reports.errors[0], "StationRecord::CopyStationEventList -> from is NULL.");
}

TEST_F(StationRecordTest, StationEventsReplaceSensorSettingsOfTheSameValue)
{
    StationRecord station;
    station.unitID = 7;
    station.AddStationEvent(new TestEvent(EventCode::SET_SENSORS, 0, 2));
    station.AddStationEvent(new TestEvent(EventCode::SET_SENSORS, 0, 3));
    station.AddStationEvent(new TestEvent(EventCode::SET_SENSORS, 0, 2));
    int kept = 0;
    for (const Event* e = station.eventList.First(); e != nullptr; e = e->GetNext())
        ++kept;
    EXPECT_EQ(kept, 2);
    const auto posted = world.Queued(EventCode::SET_SENSORS);
    ASSERT_EQ(posted.size(), 3u);
    EXPECT_EQ(posted[0]->GetSubject(), 7);

    station.ApplyStationEvents();
    EXPECT_EQ(world.Queued(EventCode::SET_SENSORS).size(), 5u);
}

TEST_F(StationRecordTest, CheckStationHoldsTheGroupSpeedInStationAndMovesOutOfIt)
{
    StationRecord keep;
    SetSector(keep, 80, 100, 4, 6);
    TestUnit* ship = AddShip(7, Home(), &keep);
    StationRecord* station = group->GetMemberStation(7);
    ASSERT_NE(station, nullptr);

    station->mode = StationMode::IN;
    station->CheckStation();
    const auto speeds = world.Queued(EventCode::SET_SPEED);
    ASSERT_EQ(speeds.size(), 1u);
    EXPECT_EQ(speeds[0]->Value(), 10);

    station->mode = StationMode::OUT;
    station->CheckStation();
    EXPECT_EQ(station->mode, StationMode::STEERING);
    ASSERT_NE(ship->GetPath(), nullptr);
    EXPECT_EQ(Degrees(From(Home(), ship->GetPath()->GetPosition()).bearing), 90);
    ASSERT_NE(ship->GetPath()->GetEvents().First(), nullptr);
    EXPECT_EQ(ship->GetPath()->GetEvents().First()->TypeCode(), EventCode::STATION_UPDATE);

    // A planned path that starts nearer than the station is kept.
    const LatLonPoint near = NavMath::Get_LatLonPoint_From_Vector(Home(), Nm(1), Deg(200));
    ship->SetPath(new PositionNode(near));
    station->mode = StationMode::OUT;
    station->CheckStation();
    EXPECT_EQ(ship->GetPath()->GetPosition(), near);
    EXPECT_EQ(ship->GetPath()->GetNext(), nullptr);

    // A unit waiting for a path tries again in 300 seconds.
    ship->ClearPath();
    ship->SetStateFlags(SimObject::PATH_REQUESTED);
    station->MoveToStation();
    const auto retries = world.Queued(EventCode::STATION_SET);
    ASSERT_EQ(retries.size(), 1u);
    EXPECT_EQ(retries[0]->GetTime(), GameTime(300));
}

TEST_F(StationRecordTest, StationEventsRunTheirOperationAndDropTheirKind)
{
    StationRecord keep;
    SetSector(keep, 80, 100, 4, 6);
    TestUnit* ship = AddShip(7, Home(), &keep);
    StationRecord* station = group->GetMemberStation(7);

    // A pending event of the same type for the unit goes first.
    gam2arena::PostEvent(new TestEvent(EventCode::STATION_MOVE, 7));
    gam2arena::PostEvent(new TestEvent(EventCode::STATION_MOVE, 8));
    StationRecord::RunStationEvent(EventCode::STATION_MOVE, 7);
    ASSERT_EQ(world.Queued(EventCode::STATION_MOVE).size(), 1u);
    EXPECT_EQ(world.Queued(EventCode::STATION_MOVE)[0]->GetSubject(), 8);
    ASSERT_NE(ship->GetPath(), nullptr);   // ReturnToStation ran

    station->mode = StationMode::OUT;
    ship->ClearPath();
    StationRecord::RunStationEvent(EventCode::STATION_SET, 7);
    EXPECT_EQ(station->mode, StationMode::STEERING);   // CheckStation moved it

    StationRecord::RunStationEvent(EventCode::STATION_UPDATE, 7);
    EXPECT_EQ(station->mode, StationMode::OUT);   // in 'I', then not in the sector
    ship->SetPosition(NavMath::Get_LatLonPoint_From_Vector(Home(), Nm(5), Deg(90)));
    StationRecord::RunStationEvent(EventCode::STATION_UPDATE, 7);
    EXPECT_EQ(station->mode, StationMode::IN);

    StationRecord::RunStationEvent(EventCode::STATION_SET, 99);   // no such unit: nothing
}

TEST_F(StationRecordTest, ReturnStartsFromTheUnitNotFromThePathItDrops)
{
    StationRecord keep;
    SetSector(keep, 80, 100, 4, 6);
    TestUnit* ship = AddShip(7, Home(), &keep);
    ship->SetPath(new PositionNode(NavMath::Get_LatLonPoint_From_Vector(Home(), Nm(8), 0)));
    group->GetMemberStation(7)->ReturnToStation();
    ASSERT_NE(ship->GetPath(), nullptr);
    EXPECT_EQ(ship->GetPath()->GetNext(), nullptr);
    EXPECT_EQ(ship->GetPath()->GetPosition(), NavMath::Get_LatLonPoint_From_Vector(Home(), Nm(5), Deg(90)));
}

TEST_F(StationRecordTest, UnreachableStationFallsBackAlongTheLimits)
{
    StationRecord keep;
    SetSector(keep, 80, 100, 4, 6);
    AddShip(7, Home(), &keep);
    StationRecord* station = group->GetMemberStation(7);
    answers.legsValid = false;
    LatLonPoint point;
    station->FindReachablePoint(point, Home(), 0);
    EXPECT_EQ(point, Home());   // nothing reachable: the last try, the reference
    station->ReturnToStation();
    EXPECT_EQ(units.Find(7)->GetPath()->GetPosition(), Home());   // stays where it is

    station->unitID = 8;
    station->FindReachablePoint(point, Home(), 0);
    EXPECT_TRUE(point.IsNone());
}

// A carrier (id 20) with ready records in the group and an aircraft (id 30)
// on a sonobuoy station that the group holds in mode 'F'.
class ReliefTest : public StationWorld {
protected:
    ReliefTest()
    {
        carrier = new Carrier;
        carrier->SetKey(20);
        carrier->SetPosition(Home());
        units.Insert(carrier);
        group->AddMember(20, nullptr);
        SonobuoyStation templ;
        plane = AddPlane(30, Home(), &templ);
        plane->SetAnnexID(11);
        plane->loadoutID = 4;
        station = group->GetMemberStation(30);
        station->mode = StationMode::FLYING;
    }

    PlaneRec* AddRecord(uint16_t key, uint16_t type, uint16_t loadout, uint32_t flags = PlaneRec::READY_FLAGS)
    {
        auto* r = new PlaneRec(key);
        r->planeAnnexID = type;
        r->loadoutID = loadout;
        r->flags = flags;
        r->count = 2;
        r->missionID = 1;
        r->unitID = 20;
        carrier->records.Insert(r);
        return r;
    }

    Carrier* carrier = nullptr;
    Plane* plane = nullptr;
    StationRecord* station = nullptr;
};

TEST_F(ReliefTest, ReliefLaunchesAMatchingRecordAndMarksTheStation)
{
    AddRecord(1, 11, 9);
    AddRecord(2, 11, 4, 0x007);   // not ready
    PlaneRec* match = AddRecord(3, 11, 4);
    EXPECT_TRUE(station->RequestRelief());
    const auto launches = world.Queued(EventCode::LAUNCH_AIRCRAFT);
    ASSERT_EQ(launches.size(), 1u);
    // One aircraft of the two is split off into a record of its own (key 4),
    // which takes the station and is launched.
    EXPECT_EQ(launches[0]->GetSubject(), 20);
    EXPECT_EQ(launches[0]->Value(), 4);
    EXPECT_EQ(station->mode, StationMode::LAUNCHING);
    EXPECT_EQ(station->unitID, 20);
    EXPECT_EQ(station->leg, 4);
    EXPECT_EQ(match->count, 1);
    EXPECT_EQ(match->GetStation(), nullptr);
    const PlaneRec* launched = carrier->records.Find(4);
    ASSERT_NE(launched, nullptr);
    EXPECT_EQ(launched->count, 1);
    ASSERT_NE(launched->GetStation(), nullptr);
    EXPECT_EQ(launched->GetStation()->kind, StationKind::SONOBUOY);
}

TEST_F(ReliefTest, NoReadyRecordSetsTheGroupFlagAndLaunchesNothing)
{
    AddRecord(1, 11, 4, 0x103);
    EXPECT_FALSE(station->RequestRelief());
    EXPECT_EQ(group->noRelief, 1);
    EXPECT_TRUE(world.Queued(EventCode::LAUNCH_AIRCRAFT).empty());
    EXPECT_EQ(station->mode, StationMode::WANTED);   // still wanted
    EXPECT_EQ(station->unitID, 11);
    EXPECT_EQ(station->leg, 4);

    CAPStation cap(false);
    cap.unitID = 30;
    EXPECT_FALSE(cap.LaunchRelief(11, 4, StationWorld::GROUP_ID));
    EXPECT_EQ(group->noAircraft, 1);

    StationRecord plain;
    plain.unitID = 30;
    EXPECT_FALSE(plain.RequestRelief());   // relief 0: never asks
}

TEST_F(StationRecordTest, NullStationAnswersTheMissingPointForAMissingUnit)
{
    NullStation station;
    station.unitID = 44;
    LatLonPoint point{1, 2};
    station.GetStationPoint(point, Home(), 0);
    EXPECT_TRUE(point.IsNone());   // used to read the position of no unit
    AddShip(44, AtRange(Home(), Nm(3)));
    station.GetStationPoint(point, Home(), 0);
    EXPECT_EQ(point, units.Find(44)->GetPosition());
    station.mode = StationMode::OUT;
    EXPECT_TRUE(station.IsInStation(Home(), 0));
    EXPECT_EQ(station.mode, StationMode::IN);
    station.ReturnToStation();
    station.CheckStation();
    EXPECT_EQ(units.Find(44)->GetPath(), nullptr);
}

}  // namespace
