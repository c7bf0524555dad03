// strikeplan.cpp: the cost of one strike attack plan: a Ground Strike with
// 50 ships and 20 aircraft records on one base commits all of them against
// one fixed target 40 nm away (goal: at most 2 ms). Every unit and record
// is planned, ordered and launched; the states and the lock are reset
// between passes, and no event class is installed, so nothing is queued.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <istream>
#include <ostream>

#include "annex/AnnexTables.h"
#include "annex/PlaneAnnex.h"
#include "core/NavMath.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "engagement/SideContactsList.h"
#include "engagement/SideEntry.h"
#include "missions/Side.h"
#include "missions/StrikeMission.h"
#include "units/PlaneRec.h"
#include "units/PropulsionPlant.h"
#include "units/Unit.h"
#include "units/UnitBridge.h"
#include "units/UnitList.h"

namespace {

constexpr uint16_t RECORD_KEY = 10;
constexpr int UNIT_COUNT = 50;
constexpr int AIRCRAFT_RECORDS = 20;
constexpr uint16_t BASE_ID = 500;
constexpr uint16_t TARGET_ID = 900;
constexpr uint16_t PLANE_TYPE = 11;

// A ship of 5, 12, 20 and 28 kn that can reach any point.
class StrikeShip : public Unit {
public:
    explicit StrikeShip(uint16_t id)
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
    char GetTypeLetter() const override { return 'S'; }
    uint16_t GetWeaponReach(uint32_t) const override { return 100; }
    bool CanReachPoint(const LatLonPoint&, uint16_t, int32_t) override { return true; }
    void SaveFields(std::ostream&) const override {}
    bool LoadFields(std::istream&) override { return true; }
};

// An air base holding the aircraft records.
class StrikeBase : public Unit {
public:
    explicit StrikeBase(uint16_t id) { SetKey(id); }
    char GetTypeLetter() const override { return 'B'; }
    PlaneRecList* GetPlaneRecList() override { return &records; }
    void SaveFields(std::ostream&) const override {}
    bool LoadFields(std::istream&) override { return true; }
    PlaneRecList records;
};

bool AnyLeg(uint16_t, const LatLonPoint&, const LatLonPoint&) { return true; }

void BM_StrikePlanAttack(benchmark::State& state)
{
    Annex::Tables().Create();
    auto* type = new PlaneAnnex(PLANE_TYPE);
    type->usableRange = 400;
    for (int b = 0; b < PlaneAnnex::PERF_BANDS; ++b) {
        type->perfCeiling[PlaneAnnex::PERF_BANDS + b] = 1000;
        type->perfSpeed[PlaneAnnex::PERF_BANDS + b] = 300;
        type->perfRange[PlaneAnnex::PERF_BANDS + b] = 2000;
    }
    Annex::Tables().Planes()->Insert(type);

    ArenaState arena;
    ArenaState* const previousArena = gam2arena::SetArenaState(&arena);
    UnitList units;
    UnitList* const previousUnits = UnitList::SetArenaList(&units);
    SideContactsList sides;
    SideContactsList* const previousSides = SideContactsList::SetArenaList(&sides);
    UnitBridgeCalls bridge;
    bridge.legValidForUnit = &AnyLeg;
    const UnitBridgeCalls previousBridge = SetUnitBridgeCalls(bridge);

    Side side(1);
    side.AddRelation(new SideEntry(2, 1));
    auto* record = new SideContacts(RECORD_KEY);
    sides.Insert(record);
    StrikeMission strike(10, "Strike", nullptr, &side);
    strike.SetKey(5);

    for (int i = 0; i < UNIT_COUNT; ++i) {
        const uint16_t id = static_cast<uint16_t>(1 + i);
        auto* ship = new StrikeShip(id);
        ship->SetPosition(NavMath::Get_LatLonPoint_From_Vector({}, i * RANGE_PER_NM, ANGLE_RIGHT));
        ship->sideEntryID = RECORD_KEY;
        units.Insert(ship);
        record->ownUnits.Insert(new IDNode(id));
        strike.units.Insert(new MissionUnitRec(id));
    }
    auto* base = new StrikeBase(BASE_ID);
    base->sideEntryID = RECORD_KEY;
    units.Insert(base);
    record->ownUnits.Insert(new IDNode(BASE_ID));
    for (int i = 0; i < AIRCRAFT_RECORDS; ++i) {
        const uint16_t key = static_cast<uint16_t>(1 + i);
        auto* planes = new PlaneRec(key);
        planes->planeAnnexID = PLANE_TYPE;
        planes->unitID = BASE_ID;
        planes->count = 4;
        base->records.Insert(planes);
        auto* ref = new PlaneRecRef(key);
        ref->holderID = BASE_ID;
        ref->recordID = key;
        ref->count = 4;
        ref->recordFlags = PlaneRec::READY_FLAGS;
        strike.planeRefs.Insert(ref);
    }
    auto* target = new Contact();
    target->SetKey(TARGET_ID);
    target->SetTypeFlags(0x20);
    target->sideId = 2;
    target->SetPosition(NavMath::Get_LatLonPoint_From_Vector({}, 40 * RANGE_PER_NM, 0));
    record->contacts.Insert(target);
    auto* task = new MissionTask(TARGET_ID);
    strike.keptTasks.Append(task);

    for (auto _ : state) {
        for (MissionUnitRec* r = strike.units.First(); r != nullptr; r = r->GetNext())
            r->state = MissionUnitState::IDLE;
        strike.lockedTarget = 0;
        strike.missionFlags &= ~StrikeFlag::ATTACKING;
        benchmark::DoNotOptimize(strike.PlanAttack(record));
    }
    // What the last pass committed: every unit and every record.
    int ordered = 0;
    for (const MissionUnitRec* r = strike.units.First(); r != nullptr; r = r->GetNext())
        ordered += r->state != MissionUnitState::IDLE ? 1 : 0;
    int launched = 0;
    for (const PlaneRecRef* ref = strike.planeRefs.First(); ref != nullptr; ref = ref->GetNext())
        launched += ref->orderState == StrikeOrder::ATTACK ? 1 : 0;
    state.counters["units"] = ordered;
    state.counters["records"] = launched;

    for (Unit* u = units.First(); u != nullptr; u = u->GetNext())
        u->ForgetMemberships();
    SetUnitBridgeCalls(previousBridge);
    SideContactsList::SetArenaList(previousSides);
    UnitList::SetArenaList(previousUnits);
    gam2arena::SetArenaState(previousArena);
    Annex::Tables().Delete();
}
BENCHMARK(BM_StrikePlanAttack)->Unit(benchmark::kMicrosecond);

}  // namespace
