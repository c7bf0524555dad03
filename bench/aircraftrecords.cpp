// aircraftrecords.cpp: the cost of the aircraft-record orders.
// BM_ArmRecords: arming 40 records of a carrier, each with a new loadout, in
// ns per record; BM_ArmRecordsWithLogistics the same with the aircraft
// logistics setting on, the carrier's 10 magazines holding every weapon, each
// arming returning the old loadout's rounds and drawing the new one's, in ns
// per record. BM_LaunchBest: a type summary of 100 records choosing and
// launching its best-armed one, in ns per call. BM_BuildLaunchList: the
// launch list of a group of 20 carriers of 10 records each, in ns per call.
// Not hot paths: the goal is growth linear in records.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "annex/AnnexTables.h"
#include "annex/LoadoutAnnex.h"
#include "annex/PlaneAnnex.h"
#include "annex/WeaponAnnex.h"
#include "annex/WeaponRec.h"
#include "core/IDList.h"
#include "engagement/LaunchListBuild.h"
#include "units/AircraftLogistics.h"
#include "units/Group.h"
#include "units/Mount.h"
#include "units/PlaneRec.h"
#include "units/PlaneRecBridge.h"
#include "units/PlaneTypeSummary.h"
#include "units/UnitList.h"
#include "world/game2ui.h"

#include "bench/BenchShip.h"

namespace {

constexpr uint16_t TYPE_ID = 11;
constexpr uint16_t GROUP_ID = 1000;

class Carrier : public BenchShip {
public:
    PlaneRecList* GetPlaneRecList() override { return &records; }
    AnnexEntryList* GetAirFacilityList() override { return &facilities; }
    uint32_t GetMaxAircraftSize(bool, bool) const override { return 4; }
    PlaneRecList records;
    AnnexEntryList facilities;
};

// A world of `carriers` carriers of `perCarrier` records each, in a group,
// with eight loadouts of one weapon record rated by its rounds.
class World {
public:
    World(int carriers, int perCarrier)
    {
        previous = UnitList::SetArenaList(&units);
        Annex::Tables().Create();
        auto* type = new PlaneAnnex(TYPE_ID);
        type->aircraftFlags = 4u << 11;
        Annex::Tables().Planes()->Insert(type);
        for (uint16_t l = 1; l <= 8; ++l) {
            auto* rec = new WeaponRec(l);
            rec->shotsLeft = l;
            Annex::Tables().WeaponRecs()->Insert(rec);
            auto* load = new LoadoutAnnex(l);
            load->weaponRecIDs.Insert(new IDNode(l));
            Annex::Tables().Loadouts()->Insert(load);
        }
        auto* group = new Group;
        group->SetKey(GROUP_ID);
        units.Insert(group);
        for (int c = 0; c < carriers; ++c) {
            auto* carrier = new Carrier;
            const auto id = static_cast<uint16_t>(c + 1);
            carrier->SetKey(id);
            units.Insert(carrier);
            group->AddMember(id, nullptr);
            for (int r = 0; r < perCarrier; ++r) {
                auto* record = new PlaneRec(static_cast<uint16_t>(r + 1));
                record->planeAnnexID = TYPE_ID;
                record->unitID = id;
                record->count = 2;
                record->loadoutID = static_cast<uint16_t>(r % 8 + 1);
                carrier->records.Insert(record);
            }
        }
        PlaneRecCalls calls;
        calls.canFireAt = [](const WeaponRec& rec, uint32_t, bool) -> uint32_t { return rec.shotsLeft; };
        previousCalls = SetPlaneRecCalls(calls);
        game2ui::SetShowAll(true);
    }
    ~World()
    {
        game2ui::ClearVisibility();
        units.DeleteAll();
        SetPlaneRecCalls(previousCalls);
        Annex::Tables().Delete();
        UnitList::SetArenaList(previous);
    }
    Carrier& First() { return *static_cast<Carrier*>(units.Find(1)); }

    UnitList units;

private:
    UnitList* previous = nullptr;
    PlaneRecCalls previousCalls;
};

void BM_ArmRecords(benchmark::State& state)
{
    World world(1, 40);
    uint16_t round = 0;
    for (auto _ : state) {
        ++round;
        for (PlaneRec* r = world.First().records.First(); r != nullptr; r = r->GetNext())
            r->SetReadyState(static_cast<uint16_t>((r->GetKey() + round) % 8 + 1), false, PlaneRec::READY_VALUE);
    }
    state.SetItemsProcessed(state.iterations() * 40);
}
BENCHMARK(BM_ArmRecords);

void BM_ArmRecordsWithLogistics(benchmark::State& state)
{
    constexpr uint16_t MAGAZINES = 10;
    World world(1, 40);
    // Loadout l carries weapon l, a missile whose alternate is the next one.
    for (uint16_t l = 1; l <= 8; ++l) {
        auto* weapon = new WeaponAnnex(l);
        weapon->weaponKind = WEAPON_KIND_MISSILE;
        weapon->alternateID = static_cast<uint16_t>(l % 8 + 1);
        Annex::Tables().Weapons()->Insert(weapon);
        Annex::Tables().WeaponRecs()->Find(l)->weaponID = l;
    }
    Carrier& carrier = world.First();
    for (uint16_t m = 1; m <= MAGAZINES; ++m) {
        auto* magazine = new Mount(m);
        magazine->capabilities = Mount::MAGAZINE;
        for (uint16_t w = 1; w <= 8; ++w) {
            auto* rec = new WeaponRec(w);
            rec->weaponID = w;
            rec->shotsLeft = 1000;
            rec->secondValue = 2000;
            magazine->weapons.Insert(rec);
        }
        carrier.magazines.Insert(magazine);
    }
    AircraftLogistics::SetOn(true);
    uint16_t round = 0;
    for (auto _ : state) {
        ++round;
        for (PlaneRec* r = carrier.records.First(); r != nullptr; r = r->GetNext())
            r->SetReadyState(static_cast<uint16_t>((r->GetKey() + round) % 8 + 1), false, PlaneRec::READY_VALUE);
    }
    AircraftLogistics::SetOn(false);
    state.SetItemsProcessed(state.iterations() * 40);
}
BENCHMARK(BM_ArmRecordsWithLogistics);

void BM_LaunchBest(benchmark::State& state)
{
    World world(1, 100);
    PlaneTypeSummary summary(TYPE_ID);
    for (const PlaneRec* r = world.First().records.First(); r != nullptr; r = r->GetNext())
        summary.AddRecord(*r);
    for (auto _ : state)
        summary.LaunchBest(nullptr, 4);   // without a launch call the list is only deleted
}
BENCHMARK(BM_LaunchBest);

void BM_BuildLaunchList(benchmark::State& state)
{
    World world(20, 10);
    for (auto _ : state)
        BuildLaunchList(GROUP_ID, nullptr, 2);   // without a window the list is deleted
}
BENCHMARK(BM_BuildLaunchList);

}  // namespace
