// components.cpp: the cost of giving units their components from the
// platform database: every platform of the sample database (ANNEX/: ships,
// submarines, facilities, aircraft with their first loadout, weapons) built
// into a moving object with its plants, sensors, datalink records, fuel
// tanks, air facilities, mounts and magazines and the fuel hook-up, in us
// per platform; and copying then deleting a path of points with two events
// each, for 50 to 800 points, in ns per point (goal: linear in the length).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "annex/AnnexTables.h"
#include "core/Event.h"
#include "engagement/SensorClasses.h"
#include "units/DatalinkRecord.h"
#include "units/MovingObject.h"
#include "units/PositionNode.h"
#include "units/SensorFactory.h"
#include "units/UnitComponents.h"

#include "tests/support/SampleAnnex.h"

namespace {

// A built platform: the moving object and the air facilities a ship or
// facility keeps beside it.
struct Platform {
    MovingObject object;
    AnnexEntryList airFacilities;
};

// What ships and submarines share: plants, sensors, mounts, magazines,
// datalink records and tanks, then the fuel hook-up.
template <class Record>
void BuildVessel(const Record& r, Platform& p)
{
    BuildPropulsionList(p.object.plants, r.propulsionIDs);
    BuildSensorList(p.object.sensors, r.sensors, &p.object);
    BuildMountList(p.object.mounts, r.mounts, &p.object);
    BuildMagazineList(p.object.magazines, r.magazineIDs);
    BuildCommList(p.object.datalinks, r.commIDs);
    BuildFuelTanks(p.object.fuelTanks, r.fuelIDs);
    HookUpFuel(p.object);
}

void BuildShip(const ShipAnnex& r, Platform& p)
{
    BuildAirFacilityList(p.airFacilities, r.airFacilityIDs);
    BuildVessel(r, p);
}

void BuildSub(const SubAnnex& r, Platform& p)
{
    BuildVessel(r, p);
}

void BuildFacility(const FacilityAnnex& r, Platform& p)
{
    BuildAirFacilityList(p.airFacilities, r.airFacilityIDs);
    BuildSensorList(p.object.sensors, r.sensors, &p.object);
    BuildMountList(p.object.mounts, r.mounts, &p.object);
    AddLandLine(p.object.datalinks);
    BuildCommList(p.object.datalinks, r.commIDs);
    BuildFuelTanks(p.object.fuelTanks, r.fuelIDs);
    BuildMagazineList(p.object.magazines, r.magazineIDs);
}

void BuildPlane(const PlaneAnnex& r, Platform& p)
{
    BuildPropulsionList(p.object.plants, r.propulsionIDs);
    BuildSensorList(p.object.sensors, r.sensorIDs, &p.object);
    BuildMountList(p.object.mounts, r.mountIDs, &p.object);
    if (const NavIDNode* loadout = r.loadouts.First())
        BuildLoadoutMount(p.object.mounts, loadout->GetKey(), p.object);
    BuildCommList(p.object.datalinks, r.commIDs);
    BuildFuelTanks(p.object.fuelTanks, r.fuelIDs);
    HookUpFuel(p.object);
}

void BuildWeapon(const WeaponAnnex& r, Platform& p)
{
    BuildPropulsionList(p.object.plants, r.propulsionIDs);
    BuildSensorList(p.object.sensors, r.sensors, &p.object);
    BuildCommList(p.object.datalinks, r.commIDs);
    BuildFuelTanks(p.object.fuelTanks, r.fuelIDs);
    HookUpFuel(p.object);
}

// Builds one platform per record of a table into `built`.
template <class T, class Build>
void BuildAll(const AnnexTable<T>* table, Build build, std::vector<std::unique_ptr<Platform>>& built)
{
    for (const T* r = table != nullptr ? table->First() : nullptr; r != nullptr; r = r->GetNext()) {
        built.push_back(std::make_unique<Platform>());
        build(*r, *built.back());
    }
}

void BM_BuildSamplePlatforms(benchmark::State& state)
{
    if (!sampleannex::NameReferences(sampleannex::SAMPLE_DIR, 1)
        || !Annex::LoadDatabase(sampleannex::SAMPLE_DIR)) {
        state.SkipWithError("the sample database cannot be read (is the sample data built?)");
        return;
    }
    InstallSensorClasses();
    const AnnexTables& t = Annex::Tables();
    std::vector<std::unique_ptr<Platform>> built;
    int64_t platforms = 0;
    std::chrono::steady_clock::duration building{};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        BuildAll(t.Ships(), &BuildShip, built);
        BuildAll(t.Subs(), &BuildSub, built);
        BuildAll(t.Facilities(), &BuildFacility, built);
        BuildAll(t.Planes(), &BuildPlane, built);
        BuildAll(t.Weapons(), &BuildWeapon, built);
        building += std::chrono::steady_clock::now() - start;
        platforms += static_cast<int64_t>(built.size());
        state.PauseTiming();
        built.clear();
        state.ResumeTiming();
    }
    state.counters["platforms"] = static_cast<double>(platforms) / static_cast<double>(state.iterations());
    if (platforms > 0) {
        state.counters["us_per_platform"] =
            std::chrono::duration<double, std::micro>(building).count() / static_cast<double>(platforms);
    }
    Annex::FreeScenarioAnnex();
}
BENCHMARK(BM_BuildSamplePlatforms)->Unit(benchmark::kMicrosecond);

// An event that a path point carries and a copy clones.
class WaypointEvent : public Event {
public:
    explicit WaypointEvent(uint16_t subject) : subject_(subject) {}
    bool HandleEvent() override { return false; }
    uint16_t GetSubject() const override { return subject_; }
    bool Load(std::istream& in) override { return LoadBase(in); }
    void Save(std::ostream& out) const override { SaveBase(out); }
    Event* Clone() const override { return new WaypointEvent(subject_); }

private:
    uint16_t subject_;
};

void BM_CopyAndDeletePath(benchmark::State& state)
{
    const auto length = static_cast<int32_t>(state.range(0));
    PositionNode* path = nullptr;
    PositionNode* last = nullptr;
    for (int32_t i = 0; i < length; ++i) {
        auto* node = new PositionNode(LatLonPoint(i * 4096, i * 2048), static_cast<int16_t>(i % 100));
        node->AddEvent(new WaypointEvent(1));
        node->AddEvent(new WaypointEvent(2));
        if (last != nullptr)
            last->InsertChainAfter(node);
        else
            path = node;
        last = node;
    }
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        PositionNode* copy = PositionNode::CopyChain(last);
        benchmark::DoNotOptimize(copy);
        DeletePositionNodes(&copy);
    }
    const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
    state.SetComplexityN(length);
    state.counters["ns_per_point"] =
        elapsed.count() / (static_cast<double>(state.iterations()) * static_cast<double>(length));
    DeletePositionNodes(&path);
}
BENCHMARK(BM_CopyAndDeletePath)->Arg(50)->Arg(100)->Arg(200)->Arg(400)->Arg(800)->Complexity(benchmark::oN);

}  // namespace
