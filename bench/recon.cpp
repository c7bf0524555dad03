// recon.cpp: the cost of one ReconMission::StepUnit of an aircraft on the
// point route of the player's side: the nearest of 50 reference points not
// yet visited is chosen, the aircraft is sent there and its speed and
// altitude orders replace the ones still queued among 2,000 events of other
// units. The goal is at most 20 microseconds per step.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <iosfwd>

#include "bench/BenchEvents.h"
#include "core/gam2arena.h"
#include "missions/ReconMission.h"
#include "missions/Side.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"
#include "units/UnitList.h"
#include "world/Game2UI2.h"

namespace {

constexpr uint16_t AIRCRAFT_ID = 7;
constexpr int POINTS = 50;
constexpr int QUEUED = 2000;

class BenchAircraft : public Unit {
public:
    BenchAircraft() { SetKey(AIRCRAFT_ID); }
    char GetTypeLetter() const override { return 'A'; }
    void SaveFields(std::ostream&) const override {}
    bool LoadFields(std::istream&) override { return true; }
};

Event* MakeOrder(uint8_t code, uint16_t unit)
{
    return new bench::BenchEvent(code, unit);
}

void ReconStepOnRoute(benchmark::State& state)
{
    ArenaState arena;
    ArenaState* const oldArena = gam2arena::SetArenaState(&arena);
    UnitList units;
    UnitList* const oldUnits = UnitList::SetArenaList(&units);
    UnitEventCalls events;
    events.makeSetSpeedEvent = bench::MakeSpeed;
    events.makeSetAltitudeEvent = [](uint16_t unit, int32_t, GameTime) { return MakeOrder(EventCode::SET_ALTITUDE, unit); };
    events.makeMissionUnitEvent = [](uint16_t unit, GameTime) { return MakeOrder(EventCode::MISSION_UNIT, unit); };
    const UnitEventCalls oldEvents = SetUnitEventCalls(events);
    for (int i = 0; i < QUEUED; ++i) {
        Event* const event = MakeOrder(i % 2 ? EventCode::SET_SPEED : EventCode::SET_ALTITUDE,
                                       static_cast<uint16_t>(100 + i % 500));
        event->SetDueTime(GameTime(static_cast<uint32_t>(i + 1)));
        gam2arena::PostEvent(event);
    }

    Side side(1);
    Game2UI2::SetCurrentSideID(1);
    IDList points;
    for (int i = 0; i < POINTS; ++i) {
        const int32_t lat = (i % 10) * 20 * RANGE_PER_NM + 40 * RANGE_PER_NM;
        const int32_t lon = (i / 10) * 20 * RANGE_PER_NM;
        points.Insert(new IDNode(side.AddPoint(LatLonPoint(lat, lon))));
    }
    ReconMission mission(5, "Bench", &points, &side);
    units.Insert(new BenchAircraft());
    auto* record = new MissionUnitRec(AIRCRAFT_ID);
    record->state = ReconState::ON_ROUTE;
    mission.units.Insert(record);

    for (auto _ : state) {
        record->firstWord = 0;   // asks for its next point every step
        mission.StepUnit(AIRCRAFT_ID, 0);
    }

    Game2UI2::SetCurrentSideID(0);
    SetUnitEventCalls(oldEvents);
    units.DeleteAll();
    UnitList::SetArenaList(oldUnits);
    gam2arena::SetArenaState(oldArena);
}

} // namespace

BENCHMARK(ReconStepOnRoute)->Unit(benchmark::kMicrosecond);
