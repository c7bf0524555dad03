// victoryconditions.cpp: the cost of one periodic victory check (every 60
// game seconds) for 4 sides, each holding 4 area conditions (two about its
// own and allied units, two about enemy units), over 2,000 units of the 4
// sides spread across the map, a quarter of them inside each area. Every
// unit is a target and no condition ever freezes, so each check tests every
// related unit. Goal: at most 2 ms per check.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench/BenchShip.h"
#include "core/NameString.h"
#include "core/StreamFields.h"
#include "core/XYPoint.h"
#include "core/XYRect.h"
#include "core/gam2arena.h"
#include "missions/VictoryCondition.h"
#include "missions/VictoryItem.h"
#include "missions/VictoryManager.h"
#include "units/GroupBridge.h"
#include "units/PlaneBridge.h"
#include "units/UnitList.h"

namespace {

constexpr int SIDES = 4;
constexpr int CONDITIONS_PER_SIDE = 4;
constexpr uint16_t NEVER_REACHED = 60000;   // required: no condition freezes

// Sides 1 and 3 against 2 and 4.
bool Hostile(uint16_t a, uint16_t b) { return a != 0 && b != 0 && (a % 2) != (b % 2); }
bool Friendly(uint16_t a, uint16_t b) { return a != 0 && b != 0 && (a % 2) == (b % 2); }

// An area condition's record after its kind byte: targets every ship
// (a type item 'S'), empty tracking lists and no sub-condition.
std::string AreaRecord(uint8_t hostile, uint8_t inArea, uint32_t time, uint32_t duration, const XYRect& area)
{
    std::ostringstream out;
    SaveField<uint8_t>(out, 0);   // met
    area.Save(out);
    SaveField(out, time);
    SaveField(out, duration);
    SaveField(out, duration);
    SaveField(out, NEVER_REACHED);
    SaveField(out, hostile);
    SaveField(out, inArea);
    SaveField<uint8_t>(out, 0);   // failed
    SaveField<uint8_t>(out, 0);   // achieved
    SaveField<uint32_t>(out, 1);  // targets: one type item
    SaveField<uint8_t>(out, VictoryTag::UNIT_TYPE);
    SaveField<uint32_t>(out, 'S');
    for (int list = 0; list < 3; ++list)   // counted, tracked, trackedInside
        SaveField<uint32_t>(out, 0);
    SaveField<uint8_t>(out, 0);   // no sub-condition
    return out.str();
}

void PeriodicCheck(benchmark::State& state)
{
    const int units = static_cast<int>(state.range(0));
    ArenaState arena;
    ArenaState* const oldArena = gam2arena::SetArenaState(&arena);
    UnitList list;
    UnitList* const oldList = UnitList::SetArenaList(&list);
    GroupBridgeCalls group;
    group.areHostile = &Hostile;
    const GroupBridgeCalls oldGroup = SetGroupBridgeCalls(group);
    PlaneBridgeCalls plane;
    plane.areFriendly = &Friendly;
    const PlaneBridgeCalls oldPlane = SetPlaneBridgeCalls(plane);

    // A 1000 x 1000 map in a grid; each area is one quarter of it.
    for (int i = 0; i < units; ++i) {
        auto* ship = new BenchShip;
        ship->SetKey(static_cast<uint16_t>(i + 1));
        ship->SetSideID(static_cast<uint16_t>(i % SIDES + 1));
        ship->SetName(("Ship " + std::to_string(i + 1)).c_str());
        ship->SetXY(XYPoint((i * 37) % 1000, (i * 53) % 1000));
        list.Insert(ship);
    }
    const XYRect quarters[] = {{0, 499, 499, 0}, {500, 499, 999, 0}, {0, 999, 499, 500}, {500, 999, 999, 500}};
    std::vector<std::unique_ptr<VictoryManager>> managers;
    for (int side = 1; side <= SIDES; ++side) {
        auto manager = std::make_unique<VictoryManager>(static_cast<uint16_t>(side));
        for (int c = 0; c < CONDITIONS_PER_SIDE; ++c) {
            const uint8_t hostile = c < 2 ? 0 : 1;
            const uint8_t inArea = c % 2 == 0 ? 1 : 0;
            std::istringstream in(AreaRecord(hostile, inArea, 0, 1800, quarters[(side + c) % 4]));
            manager->AddCondition(VictoryCondition::LoadKind(VictoryCondition::KIND_AREA, in));
        }
        managers.push_back(std::move(manager));
    }

    uint32_t now = 0;
    // The first checks fill the tracking lists; the measured ones run on
    // full lists.
    for (int warm = 0; warm < 3; ++warm) {
        now += 60;
        arena.SetGameTime(now);
        for (auto& m : managers)
            m->Evaluate(nullptr);
    }
    for (auto _ : state) {
        now += 60;
        arena.SetGameTime(now);
        for (auto& m : managers)
            m->Evaluate(nullptr);
    }

    managers.clear();
    SetPlaneBridgeCalls(oldPlane);
    SetGroupBridgeCalls(oldGroup);
    UnitList::SetArenaList(oldList);
    gam2arena::SetArenaState(oldArena);
}

} // namespace

BENCHMARK(PeriodicCheck)->Arg(2000)->Unit(benchmark::kMillisecond);
