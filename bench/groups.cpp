// groups.cpp: the cost of a group's two periodic pieces of work: the
// automatic placement of its threat axes over 500 contacts of its side
// (every contact weighed against every other; goal: at most 10 ms), and the
// station update of a 20-ship group after a speed order (the order walked
// over the members, the stations refreshed and checked, the station events
// posted; goal: at most 1 ms). The events posted are deleted after each
// pass, as the event phase would take them.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <istream>
#include <ostream>
#include <vector>

#include "core/Event.h"
#include "core/NavMath.h"
#include "core/StreamFields.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "engagement/Intercept.h"
#include "units/Group.h"
#include "units/GroupBridge.h"
#include "units/PositionNode.h"
#include "units/PropulsionPlant.h"
#include "units/StationBridge.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"
#include "units/UnitList.h"

#include "bench/BenchEvents.h"
#include "bench/BenchShip.h"

namespace {

constexpr uint16_t GROUP_ID = 1;
const LatLonPoint HOME{30 * 60 * 4096, -20 * 60 * 4096};

using namespace bench;

std::vector<ThreatContact>& Contacts()
{
    static std::vector<ThreatContact> contacts;
    return contacts;
}

bool CollectContacts(uint16_t, std::vector<ThreatContact>& out)
{
    out = Contacts();
    return true;
}

bool AlwaysHostile(uint16_t, uint16_t)
{
    return true;
}

uint16_t PlayerSide()
{
    return 9;
}

// A world with a unit list and the group, the calls installed; torn down in
// reverse.
class World {
public:
    World()
    {
        gam2arena::SetArenaState(&arena);
        UnitList::SetArenaList(&units);
        UnitEventCalls events;
        events.makeSetSpeedEvent = &MakeSpeed;
        events.makeStationEvent = &MakeStation;
        previousEvents = SetUnitEventCalls(events);
        UnitBridgeCalls bridge;
        bridge.setUnitPath = &CopyPathOntoUnit;
        bridge.legValidForUnit = &AnyLeg;
        previousBridge = SetUnitBridgeCalls(bridge);
        StationBridgeCalls calls;
        calls.computeIntercept = &ComputeIntercept;
        previousStation = SetStationBridgeCalls(calls);
        GroupBridgeCalls group;
        group.collectContacts = &CollectContacts;
        group.areHostile = &AlwaysHostile;
        group.getCurrentSideID = &PlayerSide;
        previousGroup = SetGroupBridgeCalls(group);
        this->group = new Group;
        this->group->SetKey(GROUP_ID);
        this->group->SetPosition(HOME);
        this->group->SetSideID(1);
        this->group->sideEntryID = 1;
        this->group->needsStationPlan = 0;
        units.Insert(this->group);
    }
    ~World()
    {
        DropEvents();
        SetGroupBridgeCalls(previousGroup);
        SetStationBridgeCalls(previousStation);
        SetUnitBridgeCalls(previousBridge);
        SetUnitEventCalls(previousEvents);
        units.DeleteAll();
        UnitList::SetArenaList(nullptr);
        gam2arena::SetArenaState(nullptr);
    }
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    void DropEvents()
    {
        while (Event* e = arena.Queue().First()) {
            arena.Queue().Remove(e);
            delete e;
        }
    }

    ArenaState arena;
    UnitList units;
    Group* group = nullptr;

private:
    UnitEventCalls previousEvents;
    UnitBridgeCalls previousBridge;
    StationBridgeCalls previousStation;
    GroupBridgeCalls previousGroup;
};

void BM_UpdateThreatAxes(benchmark::State& state)
{
    World world;
    const auto count = static_cast<int>(state.range(0));
    Contacts().clear();
    // Spread round the circle (the axes cover a third of it, so the
    // placement never stops early), 20 to 200 nm out, every tenth with an
    // area of uncertainty.
    for (int i = 0; i < count; ++i) {
        ThreatContact c;
        c.contactID = static_cast<uint16_t>(1000 + i);
        c.position = NavMath::Get_LatLonPoint_From_Vector(HOME, (20 + (i * 37) % 180) * RANGE_PER_NM,
                                                          static_cast<int32_t>(int64_t{ANGLE_FULL} * ((i * 131) % 360) / 360));
        c.typeFlags = 1;
        c.threat = static_cast<uint16_t>(1 + (i * 7) % 50);
        c.sideID = 2;
        c.sideKnown = true;
        c.hasArea = i % 10 == 0;
        Contacts().push_back(c);
    }
    for (auto _ : state) {
        world.group->axes[1]->bearing = Group::AXIS_STEP;
        world.group->axes[2]->bearing = 2 * Group::AXIS_STEP;
        world.group->UpdateThreatAxes();
        world.DropEvents();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_UpdateThreatAxes)->Arg(500)->Unit(benchmark::kMillisecond);

void BM_StationsAfterSpeedChange(benchmark::State& state)
{
    World world;
    constexpr int MEMBERS = 20;
    for (int i = 0; i < MEMBERS; ++i) {
        auto* ship = new BenchShip;
        const auto id = static_cast<uint16_t>(10 + i);
        ship->SetKey(id);
        ship->sideEntryID = 1;
        ship->SetSideID(1);
        ship->plants.Insert(DieselPlant(true));
        ship->SetPosition(NavMath::Get_LatLonPoint_From_Vector(HOME, (1 + i % 4) * RANGE_PER_NM,
                                                               (i * 18) * ANGLE_PER_DEGREE));
        world.units.Insert(ship);
        world.group->AddMember(id, nullptr);
    }
    world.group->SetPath(new PositionNode(NavMath::Get_LatLonPoint_From_Vector(HOME, 100 * RANGE_PER_NM, 0)));
    world.DropEvents();
    uint16_t knots = 10;
    for (auto _ : state) {
        knots = knots == 10 ? 14 : 10;
        world.group->speedCarry = 0;
        benchmark::DoNotOptimize(world.group->SetSpeed(knots, 0));
        world.DropEvents();
    }
    state.SetItemsProcessed(state.iterations() * MEMBERS);
}
BENCHMARK(BM_StationsAfterSpeedChange)->Unit(benchmark::kMicrosecond);

}  // namespace
