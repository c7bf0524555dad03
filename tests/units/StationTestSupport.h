// StationTestSupport.h: a small world for the station tests: the unit
// tests' stand-ins plus an installed unit list, station and launch event
// makers, an event factory for saved station events, and bridge calls whose
// answers the test sets: a straight-run intercept, a leg test, a path
// builder, and a planned path handed over by copying it onto the unit.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/EventList.h"
#include "core/NavMath.h"
#include "core/ScenarioAdmin.h"
#include "core/Units.h"
#include "UnitTestSupport.h"
#include "units/Group.h"
#include "units/Plane.h"
#include "units/PlaneRec.h"
#include "units/StationBridge.h"
#include "units/StationRecord.h"
#include "units/UnitBridge.h"
#include "units/UnitList.h"

namespace stationtest {

using unittest::TestEvent;
using unittest::TestUnit;

// A ship that holds aircraft records.
class Carrier : public TestUnit {
public:
    Carrier() : TestUnit('S') {}
    PlaneRecList* GetPlaneRecList() override { return &records; }
    PlaneRecList records;
};

struct Answers {
    static Answers*& Active() { static Answers* active = nullptr; return active; }
    bool legsValid = true;
    bool navPathFound = true;
    uint16_t sonobuoyType = 1;
    int interceptCalls = 0;
    int32_t lastSeconds = 0;   // time to the last meeting found
    LatLonPoint lastPursuer;   // where the last intercept asked started from
    std::vector<uint16_t> refreshed;
};

// The meeting of a pursuer faster than the target at the target's present
// position, after the time a straight run there takes; none otherwise.
inline bool StraightIntercept(const LatLonPoint& target, int32_t, int32_t targetSpeed, const LatLonPoint& pursuer,
                              int32_t* course, int32_t speed, int32_t* seconds, LatLonPoint* point)
{
    if (Answers::Active()) {
        ++Answers::Active()->interceptCalls;
        Answers::Active()->lastPursuer = pursuer;
    }
    if (speed <= 0 || speed <= targetSpeed)
        return false;
    const NavVector v = NavMath::Get_Vector(pursuer, target);
    *course = v.bearing;
    *seconds = static_cast<int32_t>(int64_t{v.range} * 3600 / (int64_t{speed} * RANGE_PER_NM));
    *point = target;
    if (Answers::Active())
        Answers::Active()->lastSeconds = *seconds;
    return true;
}

inline void CopyPathOntoUnit(uint16_t unitID, const PositionNode* path)
{
    if (Unit* const unit = gam2arena::FindUnit(unitID))
        unit->SetPath(PositionNode::CopyChain(path));
}

inline bool LegAnswer(uint16_t, const LatLonPoint&, const LatLonPoint&)
{
    return Answers::Active() == nullptr || Answers::Active()->legsValid;
}

inline bool NavPathAnswer(uint16_t, PositionNode*)
{
    return Answers::Active() != nullptr && Answers::Active()->navPathFound;
}

inline uint16_t SonobuoyAnswer(const Unit&, uint16_t)
{
    return Answers::Active() != nullptr ? Answers::Active()->sonobuoyType : 0;
}

inline void NoteRefresh(uint16_t unitID)
{
    if (Answers::Active())
        Answers::Active()->refreshed.push_back(unitID);
}

inline Event* MakeStationEvent(uint8_t code, uint16_t unitID, GameTime due)
{
    auto* e = new TestEvent(code, unitID);
    e->SetDueTime(due);
    return e;
}

inline Event* MakeAltitudeEvent(uint16_t unitID, int32_t altitude, GameTime due)
{
    auto* e = new TestEvent(EventCode::SET_ALTITUDE, unitID, static_cast<uint16_t>(altitude));
    e->SetDueTime(due);
    return e;
}

inline Event* MakeLaunchEvent(uint16_t holderID, uint16_t planeRecID, uint32_t)
{
    return new TestEvent(EventCode::LAUNCH_AIRCRAFT, holderID, planeRecID);
}

inline uint32_t SettingOf(const Event& e)
{
    return static_cast<const TestEvent&>(e).Value();
}

inline Event* MakeAnyEvent(uint8_t code)
{
    return EventClassName(code) != nullptr ? new TestEvent(code) : nullptr;
}

// A unit world with a unit list, the group `group` (id 100) at 30N 20W on
// course 0 at 10 knots, and the station calls installed.
class StationWorld : public ::testing::Test {
protected:
    static constexpr uint16_t GROUP_ID = 100;

    StationWorld()
    {
        previousList = UnitList::SetArenaList(&units);
        UnitEventCalls events = SetUnitEventCalls({});
        SetUnitEventCalls(events);
        previousEvents = events;
        events.makeStationEvent = &MakeStationEvent;
        events.makeSetAltitudeEvent = &MakeAltitudeEvent;
        events.makeLaunchAircraftEvent = &MakeLaunchEvent;
        events.getSensorSetting = &SettingOf;
        SetUnitEventCalls(events);
        UnitBridgeCalls bridge;
        bridge.setUnitPath = &CopyPathOntoUnit;
        bridge.legValidForUnit = &LegAnswer;
        previousBridge = SetUnitBridgeCalls(bridge);
        StationBridgeCalls calls;
        calls.computeIntercept = &StraightIntercept;
        calls.buildNavPath = &NavPathAnswer;
        calls.findSonobuoyType = &SonobuoyAnswer;
        calls.refreshUnit = &NoteRefresh;
        previousStation = SetStationBridgeCalls(calls);
        previousFactory = SetEventFactory(&MakeAnyEvent);
        Answers::Active() = &answers;
        previousAdmin = gAdmin;
        gAdmin = &admin;
        admin.SetFileVersion(VersionNumber(3, 6, 3, 0));

        group = new Group;
        group->SetKey(GROUP_ID);
        group->SetPosition(Home());
        group->speed = 10;
        units.Insert(group);
    }
    ~StationWorld() override
    {
        gAdmin = previousAdmin;
        Answers::Active() = nullptr;
        SetEventFactory(previousFactory);
        SetStationBridgeCalls(previousStation);
        SetUnitBridgeCalls(previousBridge);
        SetUnitEventCalls(previousEvents);
        units.DeleteAll();
        UnitList::SetArenaList(previousList);
    }

    static LatLonPoint Home() { return {30 * 60 * 4096, -20 * 60 * 4096}; }

    // Joins a member with the group's speed as the test set it: joining
    // re-issues the speed and a group without a path stops, and it posts
    // the station-set events and refreshes the stations, none of which the
    // station tests look at.
    void Join(uint16_t id, const StationRecord* station)
    {
        const uint16_t knots = group->speed;
        group->AddMember(id, station);
        group->speed = knots;
        group->speedCarry = 0;
        for (const GroupEntry* e = group->members.First(); e != nullptr; e = e->GetNext()) {
            gam2arena::RemoveUnitEvents(e->GetKey(), EventCode::STATION_SET);
            gam2arena::RemoveUnitEvents(e->GetKey(), EventCode::STATION_MOVE);
        }
        answers.refreshed.clear();
    }

    // A ship member with the diesel plant (5, 12, 20, 28 knots) at a point.
    TestUnit* AddShip(uint16_t id, const LatLonPoint& at, const StationRecord* station = nullptr)
    {
        auto* ship = new TestUnit('S');
        ship->SetKey(id);
        ship->plants.Insert(unittest::MakeDieselPlant(1));
        ship->SetPosition(at);
        units.Insert(ship);
        Join(id, station);
        return ship;
    }

    Plane* AddPlane(uint16_t id, const LatLonPoint& at, const StationRecord* station = nullptr)
    {
        auto* plane = new Plane;
        plane->SetKey(id);
        plane->plants.Insert(unittest::MakeDieselPlant(1));
        plane->SetPosition(at);
        units.Insert(plane);
        Join(id, station);
        return plane;
    }

    // Takes a member out of the group and the unit out of play, when there.
    void DropMember(uint16_t id)
    {
        group->RemoveMember(id);
        if (Unit* old = units.Find(id)) {
            units.Remove(old);
            delete old;
        }
    }

    // Deletes the queued events of a type code.
    void ClearQueued(uint8_t code)
    {
        for (TestEvent* e : world.Queued(code)) {
            world.arena.Queue().Remove(e);
            delete e;
        }
    }

    // The first point due north of `from` whose range from it is exactly
    // `range`. From 10 nm on ranges are great-circle ones, which step by
    // some hundred units, so the search spans a wide band.
    static LatLonPoint AtRange(const LatLonPoint& from, int32_t range)
    {
        for (int32_t d = range - 3000; d <= range + 3000; ++d) {
            const LatLonPoint p{from.lat + d, from.lon};
            if (NavMath::Get_Vector(from, p).range == range)
                return p;
        }
        ADD_FAILURE() << "no point at range " << range;
        return from;
    }

    // The nearest point due north of `from` whose range is beyond `range`
    // (range + 1 where ranges are that fine).
    static LatLonPoint JustBeyond(const LatLonPoint& from, int32_t range)
    {
        for (int32_t d = range - 3000; d <= range + 3000; ++d) {
            const LatLonPoint p{from.lat + d, from.lon};
            if (NavMath::Get_Vector(from, p).range > range)
                return p;
        }
        ADD_FAILURE() << "no point beyond range " << range;
        return from;
    }

    unittest::UnitWorld world;
    UnitList units;
    Group* group = nullptr;
    Answers answers;
    ScenarioAdmin admin;

private:
    UnitList* previousList = nullptr;
    UnitEventCalls previousEvents;
    UnitBridgeCalls previousBridge;
    StationBridgeCalls previousStation;
    EventFactory previousFactory = nullptr;
    ScenarioAdmin* previousAdmin = nullptr;
};

constexpr int32_t Deg(int32_t degrees);
constexpr int32_t Nm(int32_t nm);

// Sets a station's sector: limits in degrees, ranges in nautical miles.
inline void SetSector(StationRecord& station, int left, int right, int minNm, int maxNm)
{
    station.leftBearing = Deg(left);
    station.rightBearing = Deg(right);
    station.minRange = Nm(minNm);
    station.maxRange = Nm(maxNm);
}

// Bearing and range of a point from a reference.
inline NavVector From(const LatLonPoint& reference, const LatLonPoint& point)
{
    return NavMath::Get_Vector(reference, point);
}

// Degrees of an angle, rounded.
inline int Degrees(int32_t angle)
{
    return static_cast<int>((int64_t{angle} + ANGLE_PER_DEGREE / 2) / ANGLE_PER_DEGREE) % 360;
}

constexpr int32_t Deg(int32_t degrees)
{
    return degrees * ANGLE_PER_DEGREE;
}

constexpr int32_t Nm(int32_t nm)
{
    return nm * RANGE_PER_NM;
}

}  // namespace stationtest
