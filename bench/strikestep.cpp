// strikestep.cpp: the cost of one strike unit step, StrikeMission::StepUnit,
// for a ship searching where its target contact was last placed: the
// contact lookup, the sensor settings, the altitude and speed orders and a
// one-point path with its wake-up. The queue is emptied outside the timing
// every 1,000 steps. Goal: at most 20 microseconds a call.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "bench/BenchEvents.h"
#include "bench/BenchShip.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "engagement/SideContactsList.h"
#include "missions/MissionCalls.h"
#include "missions/Side.h"
#include "missions/StrikeMission.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"
#include "units/UnitList.h"

namespace {

constexpr uint16_t UNIT_COUNT = 50;
constexpr uint16_t TARGET_ID = 900;
constexpr int32_t NM = 4096;

Event* MakeAltitude(uint16_t unit, int32_t, GameTime) { return new bench::BenchEvent(EventCode::SET_ALTITUDE, unit); }
Event* MakeWake(uint16_t unit, GameTime) { return new bench::BenchEvent(EventCode::MISSION_UNIT, unit); }
Event* MakeSensors(uint16_t unit, uint32_t, uint32_t, uint16_t, uint8_t, uint16_t, uint8_t)
{
    return new bench::BenchEvent(EventCode::SET_SENSORS, unit);
}
void DropPath(uint16_t, const PositionNode*) {}

void DrainQueue()
{
    while (Event* e = gam2arena::FindEvent(nullptr, EventCode::ANY)) {
        gam2arena::GetArenaState()->Queue().Remove(e);
        delete e;
    }
}

void StrikeStepSearch(benchmark::State& state)
{
    ArenaState arena;
    ArenaState* const oldArena = gam2arena::SetArenaState(&arena);
    UnitList units;
    UnitList* const oldUnits = UnitList::SetArenaList(&units);
    SideContactsList records;
    SideContactsList* const oldRecords = SideContactsList::SetArenaList(&records);
    UnitEventCalls events;
    events.makeSetAltitudeEvent = MakeAltitude;
    events.makeSetSpeedEvent = bench::MakeSpeed;
    events.makeMissionUnitEvent = MakeWake;
    const UnitEventCalls oldEvents = SetUnitEventCalls(events);
    MissionCalls calls;
    calls.makeSetSensorsEvent = MakeSensors;
    const MissionCalls oldCalls = SetMissionCalls(calls);
    UnitBridgeCalls bridge;
    bridge.setUnitPath = DropPath;
    const UnitBridgeCalls oldBridge = SetUnitBridgeCalls(bridge);

    auto* record = new SideContacts(10);
    records.Insert(record);
    auto* contact = new Contact();
    contact->SetKey(TARGET_ID);
    contact->SetTypeFlags(0x1);
    contact->SetPosition(LatLonPoint{20 * NM, 20 * NM});
    record->contacts.Insert(contact);
    Side side(1);
    StrikeMission strike(11, "Strike", nullptr, &side);
    for (uint16_t id = 1; id <= UNIT_COUNT; ++id) {
        auto* ship = new BenchShip();
        ship->SetKey(id);
        ship->SetPosition(LatLonPoint{id * NM, 0});
        ship->sideEntryID = record->GetKey();
        units.Insert(ship);
        record->ownUnits.Insert(new IDNode(id));
        auto* r = new MissionUnitRec(id);
        r->targetID = TARGET_ID;
        r->targetClass = 0x1;
        strike.units.Insert(r);
    }

    uint32_t steps = 0;
    uint16_t id = 1;
    for (auto _ : state) {
        MissionUnitRec* const r = strike.units.Find(id);
        r->state = StrikeState::SEARCHING;
        r->markBits = 0;
        strike.StepUnit(id, 0);
        id = static_cast<uint16_t>(id % UNIT_COUNT + 1);
        if (++steps % 1000 == 0) {
            state.PauseTiming();
            DrainQueue();
            state.ResumeTiming();
        }
    }
    DrainQueue();
    SetUnitBridgeCalls(oldBridge);
    SetMissionCalls(oldCalls);
    SetUnitEventCalls(oldEvents);
    SideContactsList::SetArenaList(oldRecords);
    for (Unit* u = units.First(); u != nullptr; u = u->GetNext())
        u->ForgetMemberships();
    UnitList::SetArenaList(oldUnits);
    gam2arena::SetArenaState(oldArena);
}

} // namespace

BENCHMARK(StrikeStepSearch)->Unit(benchmark::kMicrosecond);
