// intercept.cpp: the cost of the intercept mission's two busy paths: one
// assignment pass that sends 20 free aircraft after 20 kept targets (goal:
// at most 5 ms), and one unit step of an aircraft proceeding to its
// target's intercept point (goal: at most 20 µs a call).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <istream>
#include <ostream>

#include "core/Event.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "engagement/SideContactsList.h"
#include "engagement/SideEntry.h"
#include "missions/InterceptMission.h"
#include "missions/Side.h"
#include "units/PropulsionPlant.h"
#include "units/Unit.h"
#include "units/UnitBridge.h"
#include "units/UnitList.h"

namespace {

constexpr uint16_t RECORD_KEY = 10;
constexpr int AIRCRAFT_COUNT = 20;
constexpr int TARGET_COUNT = 20;
constexpr uint16_t FIRST_TARGET = 1000;

// An aircraft with a plant of 5, 12, 20 and 28 knots, two weapons against
// anything, that reaches every point.
class Interceptor : public Unit {
public:
    explicit Interceptor(uint16_t id)
    {
        SetKey(id);
        auto* plant = new PropulsionPlant();
        plant->SetKey(1);
        const uint16_t speeds[] = {5, 12, 20, 28};
        for (int row = 0; row < PropulsionPlant::SETTINGS; ++row)
            for (int band = 0; band < PropulsionPlant::BANDS; ++band)
                plant->speedTable[row][band] = {100, -3, speeds[row]};
        plants.Insert(plant);
    }
    char GetTypeLetter() const override { return 'P'; }
    int32_t SumWeaponRatings(uint32_t) const override { return 2; }
    void GetAttackAltitudes(uint32_t, int16_t& low, int16_t& high) const override
    {
        low = 50;
        high = 90;
    }
    bool CanReachPoint(const LatLonPoint&, uint16_t, int32_t) override { return true; }
    void SaveFields(std::ostream&) const override {}
    bool LoadFields(std::istream&) override { return true; }
};

struct Scene {
    Scene() : side(1)
    {
        previousState = gam2arena::SetArenaState(&state);
        previousUnits = UnitList::SetArenaList(&units);
        previousSides = SideContactsList::SetArenaList(&sides);
        UnitBridgeCalls bridge;
        bridge.legValidForUnit = [](uint16_t, const LatLonPoint&, const LatLonPoint&) { return true; };
        previousBridge = SetUnitBridgeCalls(bridge);
        side.AddRelation(new SideEntry(2, 1));
        record = new SideContacts(RECORD_KEY);
        sides.Insert(record);
        gam2arena::SetCurrentSide(record);
        IDList targetIDs;
        for (int i = 0; i < TARGET_COUNT; ++i) {
            auto* c = new Contact();
            c->SetKey(static_cast<uint16_t>(FIRST_TARGET + i));
            c->SetTypeFlags(0x1);
            c->SetPosition({(40 + i) * RANGE_PER_NM, (i % 5) * RANGE_PER_NM});
            c->sideId = 2;
            record->contacts.Insert(c);
            targetIDs.Insert(new IDNode(c->GetKey()));
        }
        mission = new InterceptMission(InterceptMission::KIND, "Bench", &targetIDs, &side);
        mission->SetKey(3);
        for (int i = 0; i < AIRCRAFT_COUNT; ++i) {
            auto* plane = new Interceptor(static_cast<uint16_t>(1 + i));
            plane->SetPosition({i * RANGE_PER_NM, 0});
            plane->sideEntryID = RECORD_KEY;
            units.Insert(plane);
            record->ownUnits.Insert(new IDNode(plane->GetID()));
            mission->units.Insert(new MissionUnitRec(plane->GetID()));
        }
    }
    ~Scene()
    {
        delete mission;
        gam2arena::SetCurrentSide(nullptr);
        for (Unit* u = units.First(); u != nullptr; u = u->GetNext())
            u->ForgetMemberships();
        SetUnitBridgeCalls(previousBridge);
        SideContactsList::SetArenaList(previousSides);
        UnitList::SetArenaList(previousUnits);
        gam2arena::SetArenaState(previousState);
    }

    // Every aircraft free, every target kept with a strength of 3 (two
    // aircraft each), no interceptor marks, an empty queue.
    void Reset()
    {
        for (MissionUnitRec* r = mission->units.First(); r != nullptr; r = r->GetNext())
            r->SetState(MissionUnitState::IDLE, 0, 0);
        mission->keptTasks.DeleteAll();
        for (Contact* c = record->contacts.First(); c != nullptr; c = c->GetNext()) {
            c->stickyFlags = 0;
            c->threat[2] = c->threat[3] = c->threat[4] = 3;
            mission->keptTasks.Append(new MissionTask(c->GetKey()));
        }
        while (Event* e = gam2arena::FindEvent(nullptr, EventCode::ANY)) {
            state.Queue().Remove(e);
            delete e;
        }
    }

    ArenaState state;
    UnitList units;
    SideContactsList sides;
    SideContacts* record = nullptr;
    Side side;
    InterceptMission* mission = nullptr;
    ArenaState* previousState = nullptr;
    UnitList* previousUnits = nullptr;
    SideContactsList* previousSides = nullptr;
    UnitBridgeCalls previousBridge;
};

void BM_AssignmentPass(benchmark::State& bench)
{
    Scene scene;
    for (auto _ : bench) {
        bench.PauseTiming();
        scene.Reset();
        bench.ResumeTiming();
        scene.mission->OnSideScanned(scene.record);
    }
    // Aircraft sent in the last pass: proves the pass assigned them.
    int sent = 0;
    for (const MissionUnitRec* r = scene.mission->units.First(); r != nullptr; r = r->GetNext())
        sent += r->state == InterceptState::PROCEEDING ? 1 : 0;
    bench.counters["sent"] = sent;
}
BENCHMARK(BM_AssignmentPass)->Unit(benchmark::kMillisecond);

void BM_StepUnit(benchmark::State& bench)
{
    Scene scene;
    scene.Reset();
    MissionUnitRec* const record = scene.mission->units.Find(1);
    record->SetState(InterceptState::PROCEEDING, FIRST_TARGET, 0x1);
    for (auto _ : bench) {
        scene.mission->StepUnit(1, 0);
        benchmark::DoNotOptimize(record->state);
    }
    bench.counters["proceeding"] = record->state == InterceptState::PROCEEDING ? 1 : 0;
}
BENCHMARK(BM_StepUnit)->Unit(benchmark::kMicrosecond);

}  // namespace
