// StrikeWorld.h: what the strike mission tests run in: PlanningWorld's arena
// with events that remember their values, the paths handed to units noted,
// the sample resource texts, and a strike of side 1.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "core/ConfigurationFileIO.h"
#include "core/ResourceLoader.h"
#include "core/ResourceText.h"
#include "missions/MissionAircraftCalls.h"
#include "missions/MissionCalls.h"
#include "missions/StrikeMission.h"
#include "support/TempTree.h"
#include "units/PlaneBridge.h"
#include "units/PositionNode.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"
#include "units/UnitTestSupport.h"
#include "PlanningWorld.h"

namespace striketest {

using unittest::TestEvent;

constexpr uint8_t SET_SENSORS = 0x08;
constexpr uint8_t LAND = 0x10;
constexpr uint8_t SET_SPEED = 0x3D;
constexpr uint8_t SET_ALTITUDE = 0x3E;
constexpr uint8_t DROP_BUOY = 0x45;
constexpr uint8_t MISSION_UNIT = 0x47;
constexpr uint8_t MISSION_EVENT = 0x54;

// A path handed to a unit: its one point and the codes of the point's events.
struct GivenPath {
    uint16_t unitID = 0;
    LatLonPoint point;
    std::vector<uint8_t> events;
};
// What the strike hands to the layers above.
struct Noted {
    std::vector<GivenPath> paths;
    std::vector<std::pair<uint16_t, uint8_t>> parentNotices;
    std::vector<uint32_t> postures;
    std::vector<uint32_t> missionEventDelays;
};
inline Noted& Notes()
{
    static Noted notes;
    return notes;
}

class StrikeWorld : public planningtest::PlanningWorld {
public:
    explicit StrikeWorld(uint16_t kind = 10, const IDList* targets = nullptr)
    {
        Notes() = Noted{};
        UnitEventCalls events;
        events.makeLandEvent = [](uint16_t unitID, uint16_t baseID, GameTime) -> Event* {
            return new TestEvent(LAND, unitID, baseID);
        };
        events.makeMissionUnitEvent = [](uint16_t unitID, GameTime due) -> Event* {
            return new TestEvent(MISSION_UNIT, unitID, static_cast<uint16_t>(static_cast<uint32_t>(due)));
        };
        events.makeSetAltitudeEvent = [](uint16_t unitID, int32_t altitude, GameTime) -> Event* {
            return new TestEvent(SET_ALTITUDE, unitID, static_cast<uint16_t>(altitude));
        };
        events.makeSetSpeedEvent = [](uint16_t unitID, uint16_t knots, GameTime) -> Event* {
            return new TestEvent(SET_SPEED, unitID, knots);
        };
        events.makeDropSonobuoyEvent = [](uint16_t unitID, uint16_t, uint8_t) -> Event* {
            return new TestEvent(DROP_BUOY, unitID);
        };
        events.makeLaunchAircraftEvent = [](uint16_t holderID, uint16_t recordID, uint32_t value) -> Event* {
            return new TestEvent(0x20, holderID, static_cast<uint16_t>(recordID << 8 | value));
        };
        previousEvents = SetUnitEventCalls(events);
        MissionCalls calls;
        calls.makeSetSensorsEvent = [](uint16_t unitID, uint32_t mode, uint32_t kind, uint16_t, uint8_t, uint16_t,
                                       uint8_t) -> Event* {
            return new TestEvent(SET_SENSORS, unitID, static_cast<uint16_t>(mode << 8 | kind));
        };
        calls.makeMissionEvent = [](uint16_t, uint16_t missionID, uint16_t code, uint32_t delay) -> Event* {
            Notes().missionEventDelays.push_back(delay);
            return new TestEvent(MISSION_EVENT, missionID, code);
        };
        calls.notifyParentUnit = [](uint16_t unitID, uint8_t value) {
            Notes().parentNotices.emplace_back(unitID, value);
        };
        calls.getSide = [](uint16_t) -> Side* { return nullptr; };
        previousCalls = SetMissionCalls(calls);
        UnitBridgeCalls bridge;
        bridge.setUnitPath = [](uint16_t unitID, const PositionNode* path) {
            GivenPath given{unitID, path->GetPosition(), {}};
            for (const Event* e = path->GetEvents().First(); e != nullptr; e = e->GetNext())
                given.events.push_back(e->TypeCode());
            Notes().paths.push_back(given);
        };
        previousBridge = SetUnitBridgeCalls(bridge);
        PlaneBridgeCalls planes;   // side 1 is friendly with 3 (PlanningWorld's relations)
        planes.areFriendly = [](uint16_t a, uint16_t b) { return a == b || a + b == 4; };
        previousPlanes = SetPlaneBridgeCalls(planes);
        MissionAircraftCalls aircraft;
        aircraft.setPosture = [](Unit&, uint32_t posture) { Notes().postures.push_back(posture); };
        previousAircraft = SetMissionAircraftCalls(aircraft);
        tree.File("tessarn3.ini", "[Tessarn3]\nResDirCount 1\nResDir1 " + std::string(TESSARN_DATA_DIR) +
                                      "/RESOURCE\n");
        ConfigurationFileIO ini((tree.root + "/tessarn3.ini").c_str());
        loader = std::make_unique<ResourceLoader>(ini);
        TheResourceLoader = loader.get();
        strike = std::make_unique<StrikeMission>(kind, "Strike", targets, &side);
        strike->SetKey(3);
    }
    ~StrikeWorld()
    {
        strike.reset();
        TheResourceLoader = nullptr;
        loader.reset();
        SetMissionAircraftCalls(previousAircraft);
        SetPlaneBridgeCalls(previousPlanes);
        SetUnitBridgeCalls(previousBridge);
        SetMissionCalls(previousCalls);
        SetUnitEventCalls(previousEvents);
    }
    StrikeWorld(const StrikeWorld&) = delete;
    StrikeWorld& operator=(const StrikeWorld&) = delete;

    // A unit of the arena in the strike with that state.
    planningtest::FakeUnit& Add(uint16_t id, char letter, int16_t state = MissionUnitState::IDLE,
                                const LatLonPoint& at = {})
    {
        planningtest::FakeUnit& unit = AddUnit(id, letter, at, false);
        auto* r = new MissionUnitRec(id);
        r->state = state;
        strike->units.Insert(r);
        return unit;
    }
    // A real unit class placed in the arena and the strike.
    template <typename T>
    T& AddReal(uint16_t id, int16_t state = MissionUnitState::IDLE)
    {
        auto* unit = new T();
        unit->SetKey(id);
        unit->sideEntryID = record->GetKey();
        units.Insert(unit);
        record->ownUnits.Insert(new IDNode(id));
        auto* r = new MissionUnitRec(id);
        r->state = state;
        strike->units.Insert(r);
        return *unit;
    }
    MissionUnitRec& Rec(uint16_t id) { return *strike->units.Find(id); }
    // A path of two points for the unit.
    static void GivePath(Unit& unit)
    {
        auto* first = new PositionNode(nullptr, nullptr);
        new PositionNode(nullptr, first);
        unit.SetPath(first);
    }
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
    // The codes of the queued events, head first; the queue is emptied.
    std::vector<uint8_t> Codes()
    {
        std::vector<uint8_t> codes;
        for (const auto& [code, unit, value] : Taken())
            codes.push_back(code);
        return codes;
    }

    std::unique_ptr<StrikeMission> strike;

private:
    UnitEventCalls previousEvents;
    MissionCalls previousCalls;
    UnitBridgeCalls previousBridge;
    MissionAircraftCalls previousAircraft;
    PlaneBridgeCalls previousPlanes;
    TempTree tree;
    std::unique_ptr<ResourceLoader> loader;
};

} // namespace striketest
