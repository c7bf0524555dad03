// AttackWorld.h: what the strike's attack cycle, planner and contact tests
// run in: an arena with its clock, event queue and unit list, one contact
// record (key 10) with the units on it, side 1 (hostile toward 2, friendly
// toward 3), a strike of side 1, and event makers that queue NoteEvents
// carrying the unit or mission and a value, so that a test reads what the
// strike ordered.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/Event.h"
#include "core/NavMath.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "engagement/SideContactsList.h"
#include "engagement/SideEntry.h"
#include "missions/MissionCalls.h"
#include "missions/Side.h"
#include "missions/StrikeMission.h"
#include "units/PlaneBridge.h"
#include "units/PropulsionPlant.h"
#include "units/Unit.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"
#include "units/UnitList.h"

namespace attacktest {

constexpr int32_t NM = RANGE_PER_NM;

// An event that records the unit or mission it was made for and a value.
class NoteEvent : public Event {
public:
    NoteEvent(uint8_t code, uint16_t subject, uint32_t value) : code_(code), subject_(subject), value(value) {}
    bool HandleEvent() override { return false; }
    uint16_t GetSubject() const override { return subject_; }
    uint8_t TypeCode() const override { return code_; }
    bool Load(std::istream& in) override { return LoadBase(in); }
    void Save(std::ostream& out) const override { SaveBase(out); }

    uint8_t code_;
    uint16_t subject_;
    uint32_t value;
};

// A plant of the given speeds (knots) for settings 0..3 at every altitude.
inline PropulsionPlant* SpeedPlant(const uint16_t (&speeds)[4])
{
    auto* plant = new PropulsionPlant();
    plant->SetKey(1);
    for (int row = 0; row < PropulsionPlant::SETTINGS; ++row)
        for (int band = 0; band < PropulsionPlant::BANDS; ++band)
            plant->speedTable[row][band] = {100, -3, speeds[row]};
    return plant;
}

// A unit whose letter, reaches and endurance answer the test sets; it notes
// the speeds at which it was asked to reach a point.
class AttackUnit : public Unit {
public:
    AttackUnit(uint16_t id, char letter, const uint16_t (&speeds)[4]) : letter_(letter)
    {
        SetKey(id);
        plants.Insert(SpeedPlant(speeds));
    }
    char GetTypeLetter() const override { return letter_; }
    uint16_t GetWeaponReach(uint32_t) const override { return reachTenths; }
    uint16_t GetSensorReach(uint32_t) const override { return sensorMiles; }
    bool CanReachPoint(const LatLonPoint&, uint16_t knots, int32_t) override
    {
        askedSpeeds.push_back(knots);
        return knots >= slowestAccepted;
    }
    void SaveFields(std::ostream&) const override {}
    bool LoadFields(std::istream&) override { return true; }

    uint16_t reachTenths = 0;
    uint16_t sensorMiles = 0;
    uint16_t slowestAccepted = 1;        // CanReachPoint refuses below this speed
    std::vector<uint16_t> askedSpeeds;

private:
    char letter_;
};

inline const uint16_t SHIP_SPEEDS[4] = {5, 12, 20, 28};

// The strike of the world, with its standoff set by the test.
class TestStrike : public StrikeMission {
public:
    TestStrike(uint16_t kind, const IDList* targets, Side* owner) : StrikeMission(kind, "Strike", targets, owner) {}
    uint32_t GetUnitRange(Unit*, uint32_t) override { return standoff; }
    uint32_t GetPlaneRange(PlaneRec*, uint32_t) override { return standoff; }
    uint32_t standoff = 0;   // range units
};

class AttackWorld : public testing::Test {
public:
    explicit AttackWorld(uint16_t kind = 11, const IDList* targets = nullptr)
        : side(1), strike(kind, targets, &side)
    {
        previousState = gam2arena::SetArenaState(&state);
        previousUnits = UnitList::SetArenaList(&units);
        previousSides = SideContactsList::SetArenaList(&sides);
        side.AddRelation(new SideEntry(2, 1));
        side.AddRelation(new SideEntry(3, 2));
        record = new SideContacts(10);
        sides.Insert(record);
        strike.SetKey(5);

        MissionCalls calls;
        calls.makeMissionEvent = [](uint16_t, uint16_t missionID, uint16_t code, uint32_t delay) -> Event* {
            auto* e = new NoteEvent(EventCode::MISSION, missionID, code * 10000 + delay);
            e->SetDueTime(GameTime(delay));
            return e;
        };
        calls.makeSetSensorsEvent = [](uint16_t unitID, uint32_t mode, uint32_t type, uint16_t first, uint8_t,
                                       uint16_t, uint8_t) -> Event* {
            return new NoteEvent(EventCode::SET_SENSORS, unitID, first * 1000 + mode * 100 + type);
        };
        previousCalls = SetMissionCalls(calls);
        UnitEventCalls unitCalls;
        unitCalls.makeMissionUnitEvent = [](uint16_t unitID, GameTime) -> Event* {
            return new NoteEvent(EventCode::MISSION_UNIT, unitID, 0);
        };
        unitCalls.makeLaunchAircraftEvent = [](uint16_t holderID, uint16_t recordID, uint32_t value) -> Event* {
            return new NoteEvent(EventCode::LAUNCH_AIRCRAFT, holderID, recordID * 100 + value);
        };
        previousUnitCalls = SetUnitEventCalls(unitCalls);
        PlaneBridgeCalls plane;
        plane.areFriendly = [](uint16_t a, uint16_t b) { return a == b || (a == 1 && b == 3) || (a == 3 && b == 1); };
        previousPlane = SetPlaneBridgeCalls(plane);
        UnitBridgeCalls bridge;
        bridge.legValidForUnit = [](uint16_t, const LatLonPoint&, const LatLonPoint& to) { return to.lat <= gLandNorth; };
        previousBridge = SetUnitBridgeCalls(bridge);
        gLandNorth = NavMath::Get_LatLonPoint_From_Vector({}, 3000 * NM, 0).lat;
    }
    ~AttackWorld() override
    {
        SetUnitBridgeCalls(previousBridge);
        SetPlaneBridgeCalls(previousPlane);
        SetUnitEventCalls(previousUnitCalls);
        SetMissionCalls(previousCalls);
        for (Unit* u = units.First(); u != nullptr; u = u->GetNext())
            u->ForgetMemberships();
        SideContactsList::SetArenaList(previousSides);
        UnitList::SetArenaList(previousUnits);
        gam2arena::SetArenaState(previousState);
    }
    AttackWorld(const AttackWorld&) = delete;
    AttackWorld& operator=(const AttackWorld&) = delete;

    // A point `nm` nautical miles due north of the origin.
    static LatLonPoint North(int32_t nm) { return NavMath::Get_LatLonPoint_From_Vector({}, nm * NM, 0); }

    // A unit at `at` on the contact record; with `state` >= 0 also a unit
    // of the strike in that state.
    AttackUnit& AddUnit(uint16_t id, char letter, const LatLonPoint& at = {}, int16_t state = 1,
                        const uint16_t (&speeds)[4] = SHIP_SPEEDS)
    {
        auto* u = new AttackUnit(id, letter, speeds);
        u->SetPosition(at);
        u->sideEntryID = record->GetKey();
        units.Insert(u);
        record->ownUnits.Insert(new IDNode(id));
        if (state >= 0) {
            auto* r = new MissionUnitRec(id);
            r->state = state;
            strike.units.Insert(r);
        }
        return *u;
    }
    Contact& AddContact(uint16_t unitID, uint32_t classBits, const LatLonPoint& at = {}, uint8_t sideID = 2)
    {
        auto* c = new Contact();
        c->SetKey(unitID);
        c->SetTypeFlags(classBits);
        c->SetPosition(at);
        c->sideId = sideID;
        record->contacts.Insert(c);
        return *c;
    }
    // A task in the strike's attack chain.
    void QueueAttackTask(uint16_t contactID, uint16_t priority = 50)
    {
        auto* task = new MissionTask(contactID);
        task->priority = priority;
        if (!InsertTaskInOrder(strike.keptTasks, task))
            delete task;
    }
    int16_t StateOf(uint16_t unitID) { return strike.units.Find(unitID)->state; }

    // The queued events of a type as (subject, value), in queue order; the
    // queue is emptied.
    struct Noted {
        uint16_t subject;
        uint32_t value;
        bool operator==(const Noted&) const = default;
    };
    std::vector<Noted> Take(uint8_t code)
    {
        std::vector<Noted> seen;
        std::vector<Event*> all;
        while (Event* e = gam2arena::FindEvent(nullptr, EventCode::ANY)) {
            state.Queue().Remove(e);
            all.push_back(e);
        }
        for (Event* e : all) {
            if (e->TypeCode() == code) {
                auto* note = static_cast<NoteEvent*>(e);
                seen.push_back({note->GetSubject(), note->value});
            }
            delete e;
        }
        return seen;
    }

    static inline int32_t gLandNorth = 0;   // points further north are land

    ArenaState state;
    UnitList units;
    SideContactsList sides;
    SideContacts* record = nullptr;   // owned by sides
    Side side;
    TestStrike strike;

private:
    ArenaState* previousState = nullptr;
    UnitList* previousUnits = nullptr;
    SideContactsList* previousSides = nullptr;
    MissionCalls previousCalls;
    UnitEventCalls previousUnitCalls;
    PlaneBridgeCalls previousPlane;
    UnitBridgeCalls previousBridge;
};

}  // namespace attacktest
