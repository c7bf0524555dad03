// weaponrun.cpp: the cost of weapons in flight among the units of the
// detection scene (1,000 units of two sides over the sample map): a seeker's
// sweep (a weapon with an active radar seeker meeting every unit, as in the
// step its seeker comes on), in µs per weapon; an area burst (a 1-kiloton
// surface burst tested against every unit), in µs per burst; and one step of
// a 32-missile salvo against a ten-ship group (each missile's flight step,
// its meeting with the ten ships, and its attack with the target's point
// defence), in µs per salvo step. Goals: a sweep within 200 µs per weapon at
// 1,000 units; a burst within 1 ms.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "engagement/SensorClasses.h"
#include "engagement/WeaponRun.h"
#include "units/Sensor.h"
#include "units/SensorFactory.h"
#include "units/Weapon.h"

#include "tests/support/DetectionScene.h"

namespace {

constexpr uint16_t FIRST_WEAPON = 5000;

Weapon* AddSeekerWeapon(detectionscene::Scene& scene, uint16_t id, Unit& near)
{
    auto* weapon = new Weapon;
    weapon->SetKey(id);
    weapon->SetPosition(near.GetPosition());
    weapon->SetSideID(1);
    weapon->attackMask = 0x1;
    weapon->seekerActive = 1;
    weapon->weaponKind = WeaponKind::ECM_COUNTERED;
    Sensor* radar = MakeSensorFromRecord(SensorClassForType(Sensor::TYPE_RADAR, false), detectionscene::Scene::RADAR);
    radar->SetKey(1);
    radar->SetSensorType(Sensor::TYPE_RADAR);
    radar->SetOwner(weapon);
    radar->targetClasses = Sensor::ALL_SECTORS;
    radar->SetState(Sensor::STATE_ACTIVE);
    weapon->sensors.Insert(radar);
    weapon->UpdateSensorReach();
    scene.units.Insert(weapon);
    return weapon;
}

// The scene without its detections kept and with the weapon's run
// installed; false (the benchmark skipped) without the sample map.
bool ReadyScene(benchmark::State& state, detectionscene::Scene& scene)
{
    if (!scene.ok) {
        state.SkipWithError("the sample map did not load (is the sample data built?)");
        return false;
    }
    scene.capture = false;
    InstallWeaponRun();
    return true;
}

void BM_SeekerSweep(benchmark::State& state)
{
    detectionscene::Scene scene(static_cast<int>(state.range(0)), 11);
    if (!ReadyScene(state, scene))
        return;
    Weapon* weapon = AddSeekerWeapon(scene, FIRST_WEAPON, *scene.units.First());
    int64_t met = 0;
    for (auto _ : state) {
        weapon->seekerTargetID = 0;
        for (Unit* other = scene.units.First(); other != nullptr; other = other->GetNext()) {
            if (other != weapon)
                benchmark::DoNotOptimize(WeaponRun::PairStep(*weapon, *other));
            ++met;
        }
    }
    state.counters["units_met"] = static_cast<double>(met) / static_cast<double>(state.iterations());
    UninstallWeaponRun();
}
BENCHMARK(BM_SeekerSweep)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_AreaBurst(benchmark::State& state)
{
    detectionscene::Scene scene(static_cast<int>(state.range(0)), 11);
    if (!ReadyScene(state, scene))
        return;
    Weapon* bomb = AddSeekerWeapon(scene, FIRST_WEAPON, *scene.units.First());
    WarheadLink entry;
    entry.warheadType = 0x2000;
    entry.warheadValue = 1;
    for (auto _ : state)
        WeaponRun::AreaAttack(entry, bomb->GetPosition(), bomb);
    UninstallWeaponRun();
}
BENCHMARK(BM_AreaBurst)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_SalvoStep(benchmark::State& state)
{
    detectionscene::Scene scene(10, 11);
    if (!ReadyScene(state, scene))
        return;
    Unit* target = scene.units.First();
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<Weapon*> salvo;
        for (uint16_t i = 0; i < 32; ++i)
            salvo.push_back(AddSeekerWeapon(scene, static_cast<uint16_t>(FIRST_WEAPON + i), *target));
        state.ResumeTiming();
        for (Weapon* missile : salvo) {
            missile->Move(1);
            for (Unit* ship = scene.units.First(); ship != nullptr && ship->GetID() < FIRST_WEAPON;
                 ship = ship->GetNext())
                WeaponRun::PairStep(*missile, *ship);
            missile->surfaceHitChance = 50;
            WeaponRun::MissileAttack(*missile, target);
        }
        state.PauseTiming();
        for (Weapon* missile : salvo) {
            missile->ForgetMemberships();
            scene.units.Remove(missile);
            delete missile;
        }
        while (Event* e = scene.arena.Queue().First()) {
            scene.arena.Queue().Remove(e);
            delete e;
        }
        state.ResumeTiming();
    }
    UninstallWeaponRun();
}
BENCHMARK(BM_SalvoStep)->Unit(benchmark::kMicrosecond);

}  // namespace
