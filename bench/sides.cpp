// sides.cpp: the cost of the side sweep and of a new unit's offer round.
// The sweep: 4 sides of 20 missions each (the two standing ones and 18
// created), 200 units in all, every side with its own contact record of 500
// contacts, all due for a look at the start of each sweep; the figure is the
// worst single SideManager::Update call of a sweep (goal: at most 2 ms).
// The offer: Side::AddUnit of the side's 1,000th unit, offered in both
// passes to the 999 units already there, none of which takes it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <istream>
#include <ostream>

#include "core/Event.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "engagement/SideContactsList.h"
#include "missions/MissionRecord.h"
#include "missions/OpsStaff.h"
#include "missions/Side.h"
#include "missions/SideManager.h"
#include "units/Unit.h"
#include "units/UnitList.h"

namespace {

constexpr int SIDE_COUNT = 4;
constexpr int MISSIONS_PER_SIDE = 20;
constexpr int UNIT_COUNT = 200;
constexpr int CONTACT_COUNT = 500;
constexpr uint16_t FIRST_CONTACT = 5000;
constexpr uint16_t FIRST_RECORD_KEY = 10;

// A ship that never takes a new unit into its data link.
class QuietShip : public Unit {
public:
    QuietShip(uint16_t id, uint16_t side)
    {
        SetKey(id);
        SetSideID(side);
    }
    char GetTypeLetter() const override { return 'S'; }
    uint8_t HasTerrainLineOfSight(Unit&) override { return 1; }
    int32_t UpdateDataLink(Unit&, int32_t, uint8_t, uint8_t, uint16_t) override { return 0; }
    void SaveFields(std::ostream&) const override {}
    bool LoadFields(std::istream&) override { return true; }
};

struct World {
    World()
    {
        previousState = gam2arena::SetArenaState(&state);
        previousUnits = UnitList::SetArenaList(&units);
        previousPictures = SideContactsList::SetArenaList(&pictures);
    }
    ~World()
    {
        for (Unit* u = units.First(); u != nullptr; u = u->GetNext())
            u->ForgetMemberships();
        SideContactsList::SetArenaList(previousPictures);
        UnitList::SetArenaList(previousUnits);
        gam2arena::SetArenaState(previousState);
    }
    void DropEvents()
    {
        while (Event* e = gam2arena::FindEvent(nullptr, EventCode::ANY)) {
            state.Queue().Remove(e);
            delete e;
        }
    }

    ArenaState state;
    UnitList units;
    SideContactsList pictures;
    ArenaState* previousState = nullptr;
    UnitList* previousUnits = nullptr;
    SideContactsList* previousPictures = nullptr;
};

struct SweepScene : World {
    SweepScene()
    {
        for (int s = 1; s <= SIDE_COUNT; ++s)
            manager.AddSide(new Side("Side", static_cast<uint16_t>(s)));
        for (int s = 1; s <= SIDE_COUNT; ++s) {
            Side* const side = manager.GetSide(static_cast<uint16_t>(s));
            for (int other = 1; other <= SIDE_COUNT; ++other)
                side->SetRelation(static_cast<uint16_t>(other), other % 2 == s % 2 ? 2 : 1);
            auto* const record = new SideContacts(static_cast<uint16_t>(FIRST_RECORD_KEY + s));
            pictures.Insert(record);
            for (int i = 0; i < CONTACT_COUNT; ++i) {
                auto* c = new Contact();
                c->SetKey(static_cast<uint16_t>(FIRST_CONTACT + i));
                c->SetTypeFlags(0x1);
                c->SetPosition({(i % 40) * 4096, (i / 40) * 4096});
                c->sideId = static_cast<uint8_t>(1 + i % SIDE_COUNT);
                c->sizeClass = 4;
                record->contacts.Insert(c);
            }
            OpsStaff* const staff = side->GetOpsStaff();
            for (int m = FIRST_CREATED_MISSION_ID; m <= MISSIONS_PER_SIDE; ++m) {
                auto* const mission = new MissionRecord(3, "Bench", side);
                mission->missionType = 3;
                mission->SetKey(static_cast<uint16_t>(m));
                staff->Insert(mission);
            }
        }
        // The units go round the sides, and within a side round its missions.
        for (int i = 0; i < UNIT_COUNT; ++i) {
            const uint16_t sideID = static_cast<uint16_t>(1 + i % SIDE_COUNT);
            auto* const ship = new QuietShip(static_cast<uint16_t>(1 + i), sideID);
            ship->SetPosition({(i % 20) * 4096, 3 * 4096});
            ship->sideEntryID = static_cast<uint16_t>(FIRST_RECORD_KEY + sideID);
            units.Insert(ship);
            SideContacts* const record = pictures.Find(ship->sideEntryID);
            record->ownUnits.Insert(new IDNode(ship->GetID()));
            const uint16_t missionID = static_cast<uint16_t>(1 + (i / SIDE_COUNT) % MISSIONS_PER_SIDE);
            auto* const member = new MissionUnitRec(ship->GetID());
            member->state = MissionUnitState::IDLE;
            manager.GetSide(sideID)->GetOpsStaff()->Find(missionID)->units.Insert(member);
        }
        gam2arena::SetCurrentSide(pictures.First());
        manager.SetPlayerSide(manager.GetSide(1));
    }
    ~SweepScene()
    {
        gam2arena::SetCurrentSide(nullptr);
    }

    // Every contact due for a look again; an empty queue.
    void Reset()
    {
        for (SideContacts* r = pictures.First(); r != nullptr; r = r->GetNext())
            for (Contact* c = r->contacts.First(); c != nullptr; c = c->GetNext()) {
                c->changeBits = 0x1;
                c->pendingHold = 0;
            }
        DropEvents();
    }

    SideManager manager;
};

void BM_SideSweepWorstUpdate(benchmark::State& bench)
{
    SweepScene scene;
    int64_t calls = 0;
    for (auto _ : bench) {
        bench.PauseTiming();
        scene.Reset();
        bench.ResumeTiming();
        double worst = 0;
        bool done = false;
        calls = 0;
        while (!done) {
            const auto start = std::chrono::steady_clock::now();
            done = scene.manager.Update(1);
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            worst = std::max(worst, took.count());
            ++calls;
        }
        bench.SetIterationTime(worst);
    }
    bench.counters["calls"] = static_cast<double>(calls);
}
BENCHMARK(BM_SideSweepWorstUpdate)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_SideAddThousandthUnit(benchmark::State& bench)
{
    World world;
    Side side("Blue", 1);
    for (int i = 1; i < 1000; ++i) {
        auto* const ship = new QuietShip(static_cast<uint16_t>(i), 1);
        ship->SetPosition({(i % 30) * 4096, (i / 30) * 4096});
        ship->sideEntryID = static_cast<uint16_t>(i);
        world.units.Insert(ship);
    }
    auto* const fresh = new QuietShip(1000, 1);
    fresh->sideEntryID = 1000;
    world.units.Insert(fresh);
    for (auto _ : bench)
        side.AddUnit(1000);
}
BENCHMARK(BM_SideAddThousandthUnit)->Unit(benchmark::kMicrosecond);

}  // namespace
