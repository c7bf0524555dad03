// missionplanning.cpp: the cost of one planning step of a mission: a
// 20-unit mission scans a side's 500 contacts (all due for a look), makes
// tasks of the 10 hostile ones within reach, gathers its units' attack
// options against them, allocates them and sets the units' postures (goal:
// at most 1 ms). The events posted are deleted after each pass, as the event
// phase would take them.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <istream>
#include <ostream>
#include <vector>

#include "annex/StockEntry.h"
#include "annex/TimedRecord.h"
#include "core/Event.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "engagement/SideContactsList.h"
#include "engagement/SideEntry.h"
#include "missions/MissionRecord.h"
#include "missions/Side.h"
#include "units/Unit.h"
#include "units/UnitList.h"

namespace {

constexpr uint16_t RECORD_KEY = 10;
constexpr int UNIT_COUNT = 20;
constexpr int CONTACT_COUNT = 500;
constexpr int TARGET_COUNT = 10;
constexpr uint16_t FIRST_CONTACT = 1000;

// A ship with a 20 nm weapon reach that offers two options against any
// target: one by value, one by count.
class OptionShip : public Unit {
public:
    OptionShip(uint16_t id, StockEntry* stock) : stock_(stock) { SetKey(id); }

    char GetTypeLetter() const override { return 'S'; }
    uint16_t GetWeaponReach(uint32_t) const override { return 200; }
    void BuildEngagementList(uint32_t, uint16_t targetID, const NavVector&, Chain<TimedRecord>& out,
                             uint32_t) override
    {
        for (uint32_t kind : {0x2u, 0x1u}) {
            auto* o = new TimedRecord;
            o->idA = o->idB = GetID();
            o->idD = targetID;
            o->extra = stock_;
            o->weaponKind = kind;
            o->value16 = 30;
            o->firstTime = GameTime(100 + GetID());
            out.Append(o);
        }
    }
    void SaveFields(std::ostream&) const override {}
    bool LoadFields(std::istream&) override { return true; }

private:
    StockEntry* stock_;
};

struct Scene {
    Scene() : side(1), mission(3, "Bench", &side)
    {
        previousState = gam2arena::SetArenaState(&state);
        previousUnits = UnitList::SetArenaList(&units);
        previousSides = SideContactsList::SetArenaList(&sides);
        side.AddRelation(new SideEntry(2, 1));
        side.AddRelation(new SideEntry(3, 2));
        record = new SideContacts(RECORD_KEY);
        sides.Insert(record);
        for (int i = 0; i < UNIT_COUNT; ++i) {
            auto* ship = new OptionShip(static_cast<uint16_t>(1 + i), &stock);
            ship->SetPosition({i * 4096, 0});
            ship->sideEntryID = RECORD_KEY;
            units.Insert(ship);
            record->ownUnits.Insert(new IDNode(ship->GetID()));
            auto* member = new MissionUnitRec(ship->GetID());
            member->state = MissionUnitState::IDLE;
            mission.units.Insert(member);
        }
        // Ten hostile surface contacts within reach; the others friendly.
        for (int i = 0; i < CONTACT_COUNT; ++i) {
            auto* c = new Contact();
            c->SetKey(static_cast<uint16_t>(FIRST_CONTACT + i));
            c->SetTypeFlags(0x1);
            c->SetPosition({(i % 40) * 4096, 5 * 4096});
            c->sideId = i < TARGET_COUNT ? 2 : 3;
            c->sizeClass = 4;
            record->contacts.Insert(c);
        }
    }
    ~Scene()
    {
        for (Unit* u = units.First(); u != nullptr; u = u->GetNext())
            u->ForgetMemberships();
        SideContactsList::SetArenaList(previousSides);
        UnitList::SetArenaList(previousUnits);
        gam2arena::SetArenaState(previousState);
    }

    // Every contact due for a look again with no attack allocated, fresh
    // stock, an empty queue.
    void Reset()
    {
        for (Contact* c = record->contacts.First(); c != nullptr; c = c->GetNext()) {
            c->changeBits = 0x1;
            c->pendingHold = 0;
            c->threat[0] = c->threat[1] = 0;   // the tallies the last pass left
        }
        stock.count = 60000;
        while (Event* e = gam2arena::FindEvent(nullptr, EventCode::ANY)) {
            state.Queue().Remove(e);
            delete e;
        }
    }

    ArenaState state;
    UnitList units;
    SideContactsList sides;
    SideContacts* record = nullptr;
    StockEntry stock{1, 1, 60000};
    Side side;
    MissionRecord mission;
    ArenaState* previousState = nullptr;
    UnitList* previousUnits = nullptr;
    SideContactsList* previousSides = nullptr;
};

void BM_PlanStep(benchmark::State& bench)
{
    Scene scene;
    for (auto _ : bench) {
        scene.Reset();
        scene.mission.QueuePlanning();
        benchmark::DoNotOptimize(scene.mission.PlanStep());
    }
    // Options allocated in the last pass: proves the tasks were planned.
    bench.counters["allocated"] = 60000 - scene.stock.count;
}
BENCHMARK(BM_PlanStep)->Unit(benchmark::kMicrosecond);

}  // namespace
