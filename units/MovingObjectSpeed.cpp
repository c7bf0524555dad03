// MovingObjectSpeed.cpp: how a moving object turns a wanted speed into a
// plant and setting, which tanks feed the plant's engines, which fuels are on
// board, and how long the running plant lasts.
#include "units/MovingObject.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

// Tanks take part in a choice only while they hold whole counts; the larger
// count wins, the partial amount breaking a tie.
bool HoldsMore(const FuelTank& tank, const FuelTank* best)
{
    if (best == nullptr)
        return true;
    if (tank.GetCount() != best->GetCount())
        return tank.GetCount() > best->GetCount();
    return tank.GetPartial() > best->GetPartial();
}

// The tank an engine draws from: until a tank of exactly its own fuel has
// been seen, any tank of a fuel it burns competes by content; the first tank
// of its own fuel starts the contest afresh, after which only tanks of that
// fuel compete. Answers the index, or -1.
int32_t ChooseEngineTank(const Chain<FuelTank>& tanks, uint32_t ownFuel, uint32_t engine)
{
    int32_t chosen = -1;
    const FuelTank* best = nullptr;
    bool ownSeen = false;
    int32_t index = 0;
    for (const FuelTank* tank = tanks.First(); tank != nullptr; tank = tank->GetNext(), ++index) {
        if (tank->GetCount() == 0)
            continue;
        if (tank->GetFuelType() == ownFuel && ownFuel != FuelType::NONE) {
            if (!ownSeen) {
                ownSeen = true;
                best = nullptr;
            }
        } else if (ownSeen || !PropulsionPlant::Accepts(engine, tank->GetFuelType())) {
            continue;
        }
        if (HoldsMore(*tank, best)) {
            best = tank;
            chosen = index;
        }
    }
    return chosen;
}

// The tank of one fuel holding the most, or -1.
int32_t ChooseFuelTank(const Chain<FuelTank>& tanks, uint32_t fuel)
{
    int32_t chosen = -1;
    const FuelTank* best = nullptr;
    int32_t index = 0;
    for (const FuelTank* tank = tanks.First(); tank != nullptr; tank = tank->GetNext(), ++index) {
        if (tank->GetCount() != 0 && tank->GetFuelType() == fuel && HoldsMore(*tank, best)) {
            best = tank;
            chosen = index;
        }
    }
    return chosen;
}

}  // namespace

// The current plant stays when it reaches the wanted speed. Otherwise it is
// idled and the plants are searched in key order: the first that reaches the
// speed is taken and ends the search, except a battery plant, which a later
// plant reaching the speed replaces (so a diesel is preferred to an electric
// plant); short of that, the plant delivering most is kept. Every plant not
// kept is set to speed 0. The tanks are chosen again only when the search
// ended on a plant or the current plant stayed.
uint16_t MovingObject::SetSpeed(uint16_t wanted, int16_t altitude)
{
    int32_t delivered = 0;
    PropulsionPlant* current = plantKey != 0 ? plants.Find(plantKey) : nullptr;
    PropulsionPlant* tanksFor = nullptr;
    if (current != nullptr) {
        const int32_t r = current->Select(wanted, altitude);
        if (r >= wanted) {
            delivered = r;
            tanksFor = current;
        } else {
            current->Select(0, altitude);
        }
    }
    if (tanksFor == nullptr) {
        if (plants.First() == nullptr) {
            plantKey = 0;
        } else {
            PropulsionPlant* chosen = nullptr;
            for (PropulsionPlant* plant = plants.First(); plant != nullptr; plant = plant->GetNext()) {
                const int32_t r = plant->Select(wanted, altitude);
                if (r >= wanted) {
                    if (chosen != nullptr && chosen != plant)
                        chosen->Select(0, altitude);
                    chosen = plant;
                    plantKey = plant->GetKey();
                    delivered = r;
                    if (!plant->AcceptsFuel(FuelType::BATTERY)) {
                        tanksFor = plant;
                        break;
                    }
                } else if (r > delivered) {
                    if (chosen != nullptr)
                        chosen->Select(0, altitude);
                    chosen = plant;
                    plantKey = plant->GetKey();
                    delivered = r;
                } else if (r == delivered && r != 0 && chosen != nullptr
                           && chosen->AcceptsFuel(FuelType::BATTERY)) {
                    chosen->Select(0, altitude);
                    chosen = plant;
                    plantKey = plant->GetKey();
                } else if (r != delivered) {
                    plant->Select(0, altitude);
                }
            }
        }
    }
    if (tanksFor != nullptr)
        ChooseTanks(tanksFor);
    speed = static_cast<uint16_t>(std::clamp<int32_t>(delivered, 0, UINT16_MAX));
    UpdateSensorReach();
    return speed;
}

bool MovingObject::ChooseTanks(PropulsionPlant* plant)
{
    if (plant == nullptr)
        return false;
    const bool needAir = plant->engineType == EngineType::AIR_INDEPENDENT && GetAltitude() < -2;
    const bool useSecond = plant->secondEngineType != 0
                           && (plant->setting == PlantSetting::FULL || plant->setting == PlantSetting::FLANK);
    const int32_t main = ChooseEngineTank(fuelTanks, plant->MainFuelType(), plant->engineType);
    int32_t second = -1;
    if (needAir)
        second = ChooseFuelTank(fuelTanks, FuelType::AIR_INDEPENDENT);
    if (useSecond)
        second = ChooseEngineTank(fuelTanks, plant->SecondFuelType(), plant->secondEngineType);
    if (main < 0 || ((needAir || useSecond) && second < 0))
        return false;
    mainTank = static_cast<uint16_t>(main);
    if (needAir || useSecond)
        secondTank = static_cast<uint16_t>(second);
    return true;
}

void MovingObject::UpdateFuelFlags()
{
    for (PropulsionPlant* plant = plants.First(); plant != nullptr; plant = plant->GetNext())
        plant->ClearFuelFlags();
    for (const FuelTank* tank = fuelTanks.First(); tank != nullptr; tank = tank->GetNext()) {
        if (tank->GetCount() == 0 && tank->GetPartial() == 0)
            continue;
        for (PropulsionPlant* plant = plants.First(); plant != nullptr; plant = plant->GetNext())
            plant->NoteFuel(tank->GetFuelType());
    }
}

// Each tank whose fuel an engine burns adds the time it lasts at the rate of
// the engines burning it (a minute's use of each) to that engine's sum; with
// the second engine running the plant lasts as long as the shorter sum.
int32_t MovingObject::GetEndurance() const
{
    const PropulsionPlant* plant = plantKey != 0 ? plants.Find(plantKey) : nullptr;
    if (plant == nullptr)
        return 0;
    if (plant->engineType == EngineType::NUCLEAR)
        return -1;
    const int16_t altitude = GetAltitude();
    const uint32_t main = plant->MainFuelUse(60, altitude);
    const uint32_t second = plant->SecondFuelUse(60, altitude);
    uint64_t firstSum = 0;
    uint64_t secondSum = 0;
    for (const FuelTank* tank = fuelTanks.First(); tank != nullptr; tank = tank->GetNext()) {
        const bool first = plant->AcceptsFuel(tank->GetFuelType());
        const bool other = plant->SecondAcceptsFuel(tank->GetFuelType());
        const uint64_t rate = (first ? uint64_t{main} : 0) + (second != 0 && other ? uint64_t{second} : 0);
        const uint32_t left = tank->GetRemaining(static_cast<uint32_t>(std::min<uint64_t>(rate, UINT32_MAX)),
                                                 false, false);
        if (first)
            firstSum += left;
        if (other)
            secondSum += left;
    }
    const uint64_t result = second != 0 ? std::min(firstSum, secondSum) : firstSum;
    return static_cast<int32_t>(std::min<uint64_t>(result, std::numeric_limits<int32_t>::max()));
}
