// airgroups.cpp: the air groups' share of the movement phase: 50 air groups
// of four aircraft each, every group following its lead (the lead's
// position, course and speed taken, the label rebuilt; goal: at most 10 us
// per air group per step beyond the aircraft's own moves, which are not
// run here), and for comparison the same groups flying their own paths.
// The leads are moved half a mile between steps (counted in, a few
// nanoseconds each) so that every step carries a change. The events posted while the groups form are deleted first.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "core/Event.h"
#include "core/NavMath.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "units/AirGroup.h"
#include "units/Plane.h"
#include "units/PositionNode.h"
#include "units/PropulsionPlant.h"
#include "units/StationBridge.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"
#include "units/UnitList.h"

#include "bench/BenchEvents.h"

namespace {

constexpr int GROUPS = 50;
constexpr int AIRCRAFT = 4;
const LatLonPoint HOME{30 * 60 * 4096, -20 * 60 * 4096};

using namespace bench;

// Jet speeds for the four settings, from the surface to 15 km.
PropulsionPlant* JetPlant()
{
    auto* plant = new PropulsionPlant();
    plant->SetKey(1);
    plant->engineType = EngineType::DIESEL;
    plant->hasFuel = 1;
    const uint16_t speeds[] = {150, 350, 480, 600};
    for (int row = 0; row < PropulsionPlant::SETTINGS; ++row) {
        for (int band = 0; band < PropulsionPlant::BANDS; ++band)
            plant->speedTable[row][band] = {1500, -2, speeds[row]};
    }
    return plant;
}

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
        uint16_t next = 1;
        for (int g = 0; g < GROUPS; ++g) {
            const LatLonPoint at = NavMath::Get_LatLonPoint_From_Vector(
                HOME, (10 + g) * RANGE_PER_NM, static_cast<int32_t>(int64_t{ANGLE_FULL} * g / GROUPS));
            auto* group = new AirGroup;
            group->SetKey(next++);
            group->SetSideID(1);
            group->SetPosition(at);
            group->SetAltitude(500);
            units.Insert(group);
            groups.push_back(group);
            for (int a = 0; a < AIRCRAFT; ++a) {
                auto* plane = new Plane;
                plane->SetKey(next++);
                plane->SetSideID(1);
                plane->sideEntryID = 1;
                plane->plants.Insert(JetPlant());
                plane->SetPosition(at);
                plane->SetAltitude(500);
                units.Insert(plane);
                group->AddMember(plane->GetID(), nullptr);
            }
            group->SetForming(false);
        }
        DropEvents();
    }
    ~World()
    {
        DropEvents();
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
    std::vector<AirGroup*> groups;

private:
    UnitEventCalls previousEvents;
    UnitBridgeCalls previousBridge;
};

void BM_AirGroupsFollowTheirLeads(benchmark::State& state)
{
    World world;
    // Each lead alternates between two points half a mile apart.
    struct Lead {
        Unit* unit;
        LatLonPoint at[2];
    };
    std::vector<Lead> leads;
    for (AirGroup* g : world.groups) {
        Unit* const lead = gam2arena::FindUnit(g->leadID);
        leads.push_back({lead, {lead->GetPosition(), NavMath::Get_LatLonPoint_From_Vector(lead->GetPosition(),
                                                                                        RANGE_PER_NM / 2, 0)}});
    }
    int step = 0;
    for (auto _ : state) {
        step ^= 1;
        for (Lead& lead : leads) {
            lead.unit->SetPosition(lead.at[step]);
            lead.unit->course = step * 180 * ANGLE_PER_DEGREE;
            lead.unit->speed = static_cast<uint16_t>(300 + step);
        }
        for (AirGroup* g : world.groups)
            g->Move(10);
    }
    state.SetItemsProcessed(state.iterations() * GROUPS);
}
BENCHMARK(BM_AirGroupsFollowTheirLeads)->Unit(benchmark::kMicrosecond);

void BM_AirGroupsFlyTheirPaths(benchmark::State& state)
{
    World world;
    for (AirGroup* g : world.groups) {
        g->SetPath(new PositionNode(NavMath::Get_LatLonPoint_From_Vector(g->GetPosition(), 5000 * RANGE_PER_NM, 0)));
        g->airGroupFlags = 0;
    }
    world.DropEvents();
    for (auto _ : state) {
        for (AirGroup* g : world.groups)
            g->Move(10);
    }
    state.SetItemsProcessed(state.iterations() * GROUPS);
}
BENCHMARK(BM_AirGroupsFlyTheirPaths)->Unit(benchmark::kMicrosecond);

}  // namespace
