// patrolplan.cpp: the cost of one planning step of a patrol: a 20-unit ASu
// patrol scans a side's 500 contacts (all due for a look), keeps the 30
// unknown surface contacts inside its area as tasks and chooses a unit for
// each (goal: at most 2 ms). Units and contacts are set back before each
// pass; the events posted are deleted, as the event phase would take them.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <istream>
#include <ostream>

#include "core/Event.h"
#include "core/IDList.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "engagement/SideContactsList.h"
#include "engagement/SideEntry.h"
#include "missions/PatrolMission.h"
#include "missions/Side.h"
#include "units/PropulsionPlant.h"
#include "units/Unit.h"
#include "units/UnitBridge.h"
#include "units/UnitList.h"

namespace {

constexpr uint16_t RECORD_KEY = 10;
constexpr int UNIT_COUNT = 20;
constexpr int CONTACT_COUNT = 500;
constexpr int KEPT_COUNT = 30;
constexpr uint16_t FIRST_CONTACT = 1000;
constexpr int32_t NM = 4096;

// A ship with a 20 nm weapon reach that plans its approaches at 20 knots.
class PatrolShip : public Unit {
public:
    explicit PatrolShip(uint16_t id)
    {
        SetKey(id);
        auto* plant = new PropulsionPlant();
        plant->SetKey(1);
        for (int row = 0; row < PropulsionPlant::SETTINGS; ++row)
            for (int band = 0; band < PropulsionPlant::BANDS; ++band)
                plant->speedTable[row][band] = {100, -3, 20};
        plants.Insert(plant);
    }

    char GetTypeLetter() const override { return 'S'; }
    uint16_t GetWeaponReach(uint32_t) const override { return 200; }
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
        side.AddRelation(new SideEntry(3, 2));
        IDList points;
        points.Insert(new IDNode(side.AddPoint({0, 0})));
        points.Insert(new IDNode(side.AddPoint({40 * NM, 40 * NM})));
        patrol = new PatrolMission(PatrolMission::KIND_ASU, "Bench", &points, &side);
        record = new SideContacts(RECORD_KEY);
        sides.Insert(record);
        for (int i = 0; i < UNIT_COUNT; ++i) {
            auto* ship = new PatrolShip(static_cast<uint16_t>(1 + i));
            ship->SetPosition({i * NM, i * NM});
            ship->sideEntryID = RECORD_KEY;
            units.Insert(ship);
            record->ownUnits.Insert(new IDNode(ship->GetID()));
            patrol->units.Insert(new MissionUnitRec(ship->GetID()));
        }
        // Thirty unknown surface contacts in the area; the others friendly.
        for (int i = 0; i < CONTACT_COUNT; ++i) {
            auto* c = new Contact();
            c->SetKey(static_cast<uint16_t>(FIRST_CONTACT + i));
            c->SetTypeFlags(0x1);
            c->SetPosition({(i % 40) * NM, 5 * NM});
            c->sideId = i < KEPT_COUNT ? 0 : 3;
            c->sizeClass = 4;
            record->contacts.Insert(c);
        }
    }
    ~Scene()
    {
        delete patrol;
        for (Unit* u = units.First(); u != nullptr; u = u->GetNext())
            u->ForgetMemberships();
        SetUnitBridgeCalls(previousBridge);
        SideContactsList::SetArenaList(previousSides);
        UnitList::SetArenaList(previousUnits);
        gam2arena::SetArenaState(previousState);
    }

    // Every contact due for a look and unclaimed, every unit patrolling, an
    // empty queue.
    void Reset()
    {
        for (Contact* c = record->contacts.First(); c != nullptr; c = c->GetNext()) {
            c->changeBits = 0x1;
            c->pendingHold = 0;
            c->stickyFlags = 0;
        }
        for (MissionUnitRec* r = patrol->units.First(); r != nullptr; r = r->GetNext())
            r->SetState(PatrolState::PATROLLING, 0, 0);
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
    PatrolMission* patrol = nullptr;
    ArenaState* previousState = nullptr;
    UnitList* previousUnits = nullptr;
    SideContactsList* previousSides = nullptr;
    UnitBridgeCalls previousBridge;
};

void BM_PatrolPlanStep(benchmark::State& bench)
{
    Scene scene;
    for (auto _ : bench) {
        scene.Reset();
        scene.patrol->QueuePlanning();
        benchmark::DoNotOptimize(scene.patrol->PlanStep());
    }
    // Units sent in the last pass: proves the kept tasks were assigned.
    int sent = 0;
    for (const MissionUnitRec* r = scene.patrol->units.First(); r != nullptr; r = r->GetNext())
        sent += r->state == PatrolState::INVESTIGATING ? 1 : 0;
    bench.counters["sent"] = sent;
}
BENCHMARK(BM_PatrolPlanStep)->Unit(benchmark::kMicrosecond);

}  // namespace
