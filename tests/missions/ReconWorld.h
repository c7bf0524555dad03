// ReconWorld.h: what the recon mission tests run in: the planning world's
// arena and side, events that remember their values, the bridge calls noted
// (messages, paths given to units, leg answers), the sample resource texts,
// aircraft with a speed plant and an altitude envelope, and a recon mission
// of side 1 over reference points placed north of the origin.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "core/ConfigurationFileIO.h"
#include "core/NavMath.h"
#include "core/ResourceLoader.h"
#include "missions/MissionCalls.h"
#include "missions/ReconMission.h"
#include "support/ReportCapture.h"
#include "support/TempTree.h"
#include "units/Plane.h"
#include "units/PlaneBridge.h"
#include "units/PositionNode.h"
#include "units/PropulsionPlant.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"
#include "units/UnitTestSupport.h"
#include "PlanningWorld.h"

namespace recontest {

using unittest::TestEvent;

constexpr int32_t NM = RANGE_PER_NM;
constexpr uint8_t LAND = 0x10;
constexpr uint8_t MISSION_UNIT = 0x47;
constexpr uint8_t MISSION_EVENT = 0x54;
constexpr uint8_t SET_SPEED = 0x3D;
constexpr uint8_t SET_ALTITUDE = 0x3E;
constexpr uint8_t SET_SENSORS = 0x08;
constexpr uint8_t LAUNCH = 0x0F;

// What the mission hands to the layers above.
struct Noted {
    std::vector<std::string> messages;              // to the player
    std::vector<std::pair<uint16_t, LatLonPoint>> paths;   // unit, its one point
    std::vector<std::tuple<uint16_t, uint32_t, uint16_t>> sensors;   // unit, mode << 8 | class, first time
    bool legsValid = true;
};
inline Noted& Notes()
{
    static Noted notes;
    return notes;
}

// The position `range` units due north of `from` as NavMath measures it
// (the planar range of a short leg is one more than the plane gives).
inline LatLonPoint North(int32_t range, const LatLonPoint& from = {})
{
    for (int32_t d = range - 8; d <= range + 8; ++d) {
        const LatLonPoint to(from.lat + d, from.lon);
        if (NavMath::Get_Vector(from, to).range == range)
            return to;
    }
    ADD_FAILURE() << "no point at range " << range;
    return from;
}

// An aircraft (any letter) with speeds 5, 12, 20, 28 kn at settings 0..3
// up to `ceiling`, whose weapon reach, engage answer and contacts the test
// sets.
class ReconUnit : public planningtest::FakeUnit {
public:
    ReconUnit(uint16_t id, char letter, int16_t ceiling = 300) : FakeUnit(id, letter)
    {
        auto* plant = new PropulsionPlant();
        plant->SetKey(1);
        const uint16_t speeds[] = {5, 12, 20, 28};
        for (int row = 0; row < PropulsionPlant::SETTINGS; ++row)
            for (int band = 0; band < PropulsionPlant::BANDS; ++band)
                plant->speedTable[row][band] = {static_cast<int16_t>(ceiling + row), 0, speeds[row]};
        plants.Insert(plant);
    }
    bool CanReachPoint(const LatLonPoint&, uint16_t, int32_t) override { return true; }
    int32_t SumWeaponRatings(uint32_t) const override { return ratings; }

    int32_t ratings = 1;
};

class ReconWorld : public planningtest::PlanningWorld {
public:
    ReconWorld()
    {
        Notes() = Noted{};
        state.Generator().SetSeed(12345);
        UnitEventCalls events;
        events.makeLandEvent = [](uint16_t unitID, uint16_t baseID, GameTime) -> Event* {
            return new TestEvent(LAND, unitID, baseID);
        };
        events.makeMissionUnitEvent = [](uint16_t unitID, GameTime) -> Event* {
            return new TestEvent(MISSION_UNIT, unitID);
        };
        events.makeSetAltitudeEvent = [](uint16_t unitID, int32_t altitude, GameTime) -> Event* {
            return new TestEvent(SET_ALTITUDE, unitID, static_cast<uint16_t>(altitude));
        };
        events.makeSetSpeedEvent = [](uint16_t unitID, uint16_t knots, GameTime) -> Event* {
            return new TestEvent(SET_SPEED, unitID, knots);
        };
        events.makeLaunchAircraftEvent = [](uint16_t holderID, uint16_t recordID, uint32_t) -> Event* {
            return new TestEvent(LAUNCH, holderID, recordID);
        };
        previousEvents = SetUnitEventCalls(events);
        MissionCalls calls;
        calls.makeSetSensorsEvent = [](uint16_t unitID, uint32_t mode, uint32_t sensor, uint16_t first, uint8_t,
                                       uint16_t, uint8_t) -> Event* {
            Notes().sensors.emplace_back(unitID, mode << 8 | sensor, first);
            return new TestEvent(SET_SENSORS, unitID, static_cast<uint16_t>(mode << 8 | sensor));
        };
        calls.makeMissionEvent = [](uint16_t, uint16_t missionID, uint16_t code, uint32_t delay) -> Event* {
            auto* event = new TestEvent(MISSION_EVENT, missionID, code);
            event->SetDueTime(GameTime(delay));
            return event;
        };
        previousCalls = SetMissionCalls(calls);
        UnitBridgeCalls bridge;
        bridge.setUnitPath = [](uint16_t unitID, const PositionNode* path) {
            Notes().paths.emplace_back(unitID, path->GetPosition());
        };
        bridge.legValidForUnit = [](uint16_t, const LatLonPoint&, const LatLonPoint&) { return Notes().legsValid; };
        previousBridge = SetUnitBridgeCalls(bridge);
        PlaneBridgeCalls plane;
        plane.postGameMessage = [](uint16_t, uint16_t, const char* text, uint16_t messageClass, char) {
            EXPECT_EQ(messageClass, 0x100);
            Notes().messages.emplace_back(text);
        };
        previousPlane = SetPlaneBridgeCalls(plane);
        tree.File("tessarn3.ini", "[Tessarn3]\nResDirCount 1\nResDir1 " + std::string(TESSARN_DATA_DIR) +
                                      "/RESOURCE\n");
        ConfigurationFileIO ini((tree.root + "/tessarn3.ini").c_str());
        loader = std::make_unique<ResourceLoader>(ini);
        TheResourceLoader = loader.get();
    }
    ~ReconWorld()
    {
        recon.reset();
        TheResourceLoader = nullptr;
        loader.reset();
        SetPlaneBridgeCalls(previousPlane);
        SetUnitBridgeCalls(previousBridge);
        SetMissionCalls(previousCalls);
        SetUnitEventCalls(previousEvents);
    }

    // Reference points of side 1 at these positions (ids 1, 2, ...), and a
    // recon mission (id 5) over `ids` (all of them when empty).
    ReconMission& MakeRecon(const std::vector<LatLonPoint>& at, std::vector<uint16_t> ids = {})
    {
        for (const LatLonPoint& p : at)
            made.push_back(side.AddPoint(p));
        IDList list;
        for (const uint16_t id : ids.empty() ? made : ids)
            list.Insert(new IDNode(id));
        recon = std::make_unique<ReconMission>(5, "Look", &list, &side);
        recon->SetKey(5);
        return *recon;
    }
    // A unit of the arena in the mission with that state.
    ReconUnit& Add(uint16_t id, char letter = 'A', int16_t state = ReconState::ON_ROUTE, const LatLonPoint& at = {})
    {
        auto* unit = new ReconUnit(id, letter);
        unit->SetPosition(at);
        unit->sideEntryID = record->GetKey();
        units.Insert(unit);
        record->ownUnits.Insert(new IDNode(id));
        auto* r = new MissionUnitRec(id);
        r->state = state;
        recon->units.Insert(r);
        return *unit;
    }
    // A plane going home to base 40, in the mission with that state.
    Plane& AddPlane(uint16_t id, int16_t state = ReconState::ON_ROUTE, const LatLonPoint& at = {})
    {
        auto* plane = new Plane();
        plane->SetKey(id);
        plane->SetPosition(at);
        plane->homeBaseID = 40;
        plane->sideEntryID = record->GetKey();
        units.Insert(plane);
        auto* r = new MissionUnitRec(id);
        r->state = state;
        recon->units.Insert(r);
        return *plane;
    }
    MissionUnitRec& Record(uint16_t id) { return *recon->units.Find(id); }
    // The queued events as (code, unit, value), head first; the queue is
    // emptied.
    std::vector<std::tuple<uint8_t, uint16_t, uint16_t>> Taken()
    {
        std::vector<std::tuple<uint8_t, uint16_t, uint16_t>> seen;
        while (Event* e = gam2arena::FindEvent(nullptr, EventCode::ANY)) {
            state.Queue().Remove(e);
            seen.emplace_back(e->TypeCode(), e->GetSubject(), static_cast<TestEvent*>(e)->Value());
            delete e;
        }
        return seen;
    }
    static std::vector<uint16_t> Ids(const IDList& list)
    {
        std::vector<uint16_t> ids;
        for (const IDNode* n = list.First(); n != nullptr; n = n->GetNext())
            ids.push_back(n->GetKey());
        return ids;
    }

    ReportCapture reports;
    TempTree tree;
    std::unique_ptr<ResourceLoader> loader;
    std::unique_ptr<ReconMission> recon;
    std::vector<uint16_t> made;

private:
    UnitEventCalls previousEvents;
    MissionCalls previousCalls;
    UnitBridgeCalls previousBridge;
    PlaneBridgeCalls previousPlane;
};

} // namespace recontest
