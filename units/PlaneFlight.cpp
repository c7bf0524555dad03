// PlaneFlight.cpp: the plane's cruise figures, fuel range and endurance, its
// step (the path or a circle, terrain following, fuel, the turn for home),
// the sonar modes of a hovering aircraft and the two reach tests.
#include <algorithm>
#include <vector>

#include "annex/PlaneAnnex.h"
#include "core/NavMath.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "units/Plane.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"
#include "world/Nav2Game.h"
#include "world/gam2anim.h"

namespace {

constexpr int32_t TEXT_CRASHED = 0x7B020F;
constexpr int32_t TEXT_TURNING_HOME = 0x7B0210;

// A circling aircraft tries the way ahead, then 30-degree steps to the right,
// and turns 2 degrees a second as it flies.
constexpr int32_t CIRCLE_TRY_STEP = 30 * ANGLE_PER_DEGREE;
constexpr int32_t CIRCLE_TURN_PER_SECOND = 2 * ANGLE_PER_DEGREE;

// Terrain following keeps at least this height above the ground.
constexpr int16_t TERRAIN_CLEARANCE = 10;
// A hovering aircraft is below this altitude.
constexpr int16_t HOVER_CEILING = 6;
// The reach tests want this many percentage points to spare.
constexpr int32_t REACH_MARGIN = 11;

int16_t GroundAt(const LatLonPoint& point)
{
    return std::max<int16_t>(Nav2Game::GetAltitudeAt(point), 0);
}

int32_t WholeNm(const LatLonPoint& from, const LatLonPoint& to)
{
    return NavMath::Get_Vector(from, to).range / RANGE_PER_NM;
}

}  // namespace

// The best ratio of speed to fuel rate over the bands of setting 1 of the
// first plant. A band equal to the best widens the band upward only.
void Plane::ComputeCruise()
{
    const PropulsionPlant* const plant = plants.First();
    if (plant == nullptr)
        return;
    uint32_t best = 0;
    for (int band = 0; band < PropulsionPlant::BANDS; ++band) {
        const PropulsionPlant::SpeedEntry& row = plant->speedTable[PlantSetting::CRUISE][band];
        const uint32_t rate = plant->useRate[band];
        if (row.speed == 0 || rate == 0)
            continue;
        const uint32_t ratio = uint32_t{row.speed} * 100 / rate;
        if (ratio > best || best == 0) {
            cruiseSpeed = row.speed;
            cruiseBandLow = static_cast<uint16_t>(row.floor);
            cruiseBandHigh = static_cast<uint16_t>(row.ceiling);
            cruiseBurnRate = rate * 60;
            best = ratio;
        } else if (ratio == best) {
            cruiseBandHigh = static_cast<uint16_t>(row.ceiling);
        }
    }
}

// The reserve comes off a range that may be smaller than it: the range
// stops at 0 (and at the largest 16-bit figure), so that a plane short of
// fuel reads as able to go nowhere rather than some 65,000 nautical miles.
uint64_t Plane::GetTotalFuelRange() const
{
    uint64_t total = 0;
    if (const PropulsionPlant* const plant = plants.First()) {
        for (const FuelTank* tank = fuelTanks.First(); tank != nullptr; tank = tank->GetNext()) {
            if (plant->AcceptsFuel(tank->GetFuelType()))
                total += tank->GetRemaining(cruiseBurnRate, false, true);
        }
    }
    return uint64_t{cruiseSpeed} * total / 3600;
}

uint16_t Plane::GetFuelRange(uint16_t& low, uint16_t& high, uint16_t& range) const
{
    low = cruiseBandLow;
    high = cruiseBandHigh;
    const int64_t nm = static_cast<int64_t>(std::min<uint64_t>(GetTotalFuelRange(), INT32_MAX)) - rangeReserve;
    range = static_cast<uint16_t>(std::clamp<int64_t>(nm, 0, UINT16_MAX));
    return cruiseSpeed;
}

int32_t Plane::GetEndurance() const
{
    const PropulsionPlant* const plant = plantKey != 0 ? plants.Find(plantKey) : nullptr;
    if (plant == nullptr)
        return 0;
    const uint32_t burn = plant->MainFuelUse(60, PositionObject::GetAltitude());
    uint64_t total = 0;
    for (const FuelTank* tank = fuelTanks.First(); tank != nullptr; tank = tank->GetNext()) {
        if (plant->AcceptsFuel(tank->GetFuelType()))
            total += tank->GetRemaining(burn, false, true);
    }
    return static_cast<int32_t>(std::min<uint64_t>(total, INT32_MAX));
}

// The reserves are fixed at creation, with the tanks full, and are not
// saved: a load works them out again as if the tanks were full, so that a
// plane saved with half its fuel keeps the reserves it had.
void Plane::ComputeReserves()
{
    struct Held {
        FuelTank* tank;
        uint32_t count;
        uint32_t partial;
    };
    std::vector<Held> held;
    for (FuelTank* tank = fuelTanks.First(); tank != nullptr; tank = tank->GetNext()) {
        held.push_back({tank, tank->GetCount(), tank->GetPartial()});
        tank->SetCount(tank->GetCapacity());
        tank->SetPartial(0);
    }
    rangeReserve = 0;
    reserveFuel = 0;
    const int32_t spare = GetSpareFuel(FuelType::AVIATION);
    reserveFuel = static_cast<uint32_t>(std::max(spare / 10, 0));
    const uint64_t full = std::min<uint64_t>(GetTotalFuelRange(), UINT16_MAX);
    rangeReserve = static_cast<uint16_t>((full + 9) / 10);
    for (const Held& h : held) {
        h.tank->SetCount(h.count);
        h.tank->SetPartial(h.partial);
    }
}

void Plane::Move(uint8_t elapsed)
{
    const Unit* const home = homeBaseID != 0 ? gam2arena::FindUnit(homeBaseID) : nullptr;
    const int16_t ground = GroundAt(GetPosition());
    const int16_t heightAboveGround = static_cast<int16_t>(PositionObject::GetAltitude() - ground);
    PropulsionPlant* const plant = plantKey != 0 ? plants.Find(plantKey) : nullptr;

    if (plant != nullptr && plant->BandAt(PositionObject::GetAltitude()) != nullptr) {
        PositionNode* const node = GetPath();
        bool hold = true;
        if (node != nullptr) {
            if (parentID == 0) {
                if ((aircraftFlags & HOVERS) != 0)
                    hold = speed == 0;
            } else if (const Unit* const group = gam2arena::FindUnit(parentID)) {
                hold = group->GetTypeLetter() == 'A';
            }
        }
        if (!TestFlags(HOLDS_POSITION)) {
            if (node == nullptr || (GetPlantSetting() < PlantSetting::CRUISE && hold))
                Circle(elapsed);
            else
                FlyPath(node, elapsed);
        }
        FollowTerrain(ground, heightAboveGround);
    }

    bool crashed = false;
    if (plant != nullptr && !BurnFuel(*plant, elapsed)) {
        UpdateFuelFlags();
        SetSpeed(speed, PositionObject::GetAltitude());
        if (GetPlantSetting() == PlantSetting::OFF) {
            crashed = true;
            TakeDamage(1, KIND_SILENT_LOSS);
            ScheduleDeletion(0);
            PostMessage(CLASS_LOSS, "", TEXT_CRASHED);
        }
    }

    if (!crashed) {
        if (home == nullptr)
            ChooseHomeBase();
        else if (!TestFlags(RETURNING) && cruiseSpeed != 0)
            CheckFuelForHome();
        for (Mount* mount = mounts.First(); mount != nullptr; mount = mount->GetNext()) {
            mount->Reload(elapsed);
            if (mount->emptySpace == mount->capacity && mount->capacity != 0)
                mount->TransferFromMagazines(magazines, 0);
        }
        if ((taskFlags & TASK_RECHECK) != 0) {
            CheckWeaponsExpended();
            taskFlags &= ~TASK_RECHECK;
        }
    }

    if (Nav2Game::IsInMap(GetPosition())) {
        WeatherReport report;
        gam2anim::GetWeatherAt(report, GetPosition());
        SetWeather(report);
    }
    UpdateLabel();
}

// Without a path (or holding), a hovering aircraft stays put; any other
// flies its course, turning right in 30-degree steps past land and zones,
// and keeps turning 2 degrees a second. No open way in twelve tries leaves
// it in place with its course turned a full circle.
void Plane::Circle(uint8_t elapsed)
{
    if ((aircraftFlags & HOVERS) != 0)
        return;
    const LatLonPoint from = GetPosition();
    const int32_t step = static_cast<int32_t>(int64_t{speed} * RANGE_PER_NM * elapsed / 3600);
    int32_t turned = 0;
    LatLonPoint target = NavMath::Get_LatLonPoint_From_Vector(from, step, course);
    bool open = Nav2Game::LegValidForUnit(GetID(), from, target);
    while (!open && turned < ANGLE_FULL) {
        course += CIRCLE_TRY_STEP;
        turned += CIRCLE_TRY_STEP;
        target = NavMath::Get_LatLonPoint_From_Vector(from, step, course);
        open = Nav2Game::LegValidForUnit(GetID(), from, target);
    }
    if (open) {
        SetPosition(target);
        course += CIRCLE_TURN_PER_SECOND * elapsed;
    }
    while (course > ANGLE_FULL)
        course -= ANGLE_FULL;
}

// Toward the first point of the path; a point reached posts its events and
// leaves the path, and the end of the path slows the aircraft (a hovering
// one stops).
void Plane::FlyPath(PositionNode* node, uint8_t elapsed)
{
    const LatLonPoint target = node->GetPosition();
    course = NavMath::Get_Vector(GetPosition(), target).bearing;
    if (!MoveToward(target, speed, elapsed))
        return;
    path.Remove(node);
    node->PostEvents();
    delete node;
    if (path.First() == nullptr) {
        const int16_t altitude = PositionObject::GetAltitude();
        SetSpeed((aircraftFlags & HOVERS) != 0 ? 0 : GetMaxSpeedAtAltitude(PlantSetting::IDLE, altitude), altitude);
        UpdateSensorReach();
    }
    ui2game::UnitDestroyed(GetID());
}

// Over new ground the aircraft keeps its height above it when it flies low
// (below the clearance, or any height for a terrain-hugging type), and never
// comes closer than the clearance otherwise.
void Plane::FollowTerrain(int16_t ground, int16_t heightAboveGround)
{
    const int16_t newGround = GroundAt(GetPosition());
    if (newGround == ground)
        return;
    const int16_t altitude = PositionObject::GetAltitude();
    const int32_t kept = int32_t{newGround} + heightAboveGround;
    int32_t wanted = 0;
    if (altitude < newGround + TERRAIN_CLEARANCE) {
        if ((aircraftFlags & HUGS_TERRAIN) != 0 || heightAboveGround < TERRAIN_CLEARANCE)
            wanted = kept;
        else
            wanted = newGround + TERRAIN_CLEARANCE;
    } else if (heightAboveGround <= TERRAIN_CLEARANCE) {
        wanted = kept;
    }
    if (wanted != 0)
        SetAltitudeAboveGround(static_cast<int16_t>(std::clamp<int32_t>(wanted, INT16_MIN, INT16_MAX)));
}

// Draws the step's fuel from the tanks in use; false when a tank runs dry
// and no other can take over.
bool Plane::BurnFuel(PropulsionPlant& plant, uint8_t elapsed)
{
    const int16_t altitude = PositionObject::GetAltitude();
    auto draw = [this, &plant](uint32_t amount, uint16_t index) {
        FuelTank* const tank = TankAt(index);
        return (tank != nullptr && tank->Consume(amount, false, true)) || ChooseTanks(&plant);
    };
    const uint32_t primary = plant.MainFuelUse(elapsed, altitude);
    if (primary == 0)
        return true;
    bool ok = draw(primary, mainTank);
    if (const uint32_t secondary = plant.SecondFuelUse(elapsed, altitude); secondary != 0)
        ok = draw(secondary, secondTank) && ok;
    return ok;
}

// The fuel for the way home at cruise; when the range left falls short of
// the base, the plane turns for it, once a flight.
void Plane::CheckFuelForHome()
{
    const Unit* const home = gam2arena::FindUnit(homeBaseID);
    if (home == nullptr)
        return;
    uint16_t low = 0;
    uint16_t high = 0;
    uint16_t range = 0;
    GetFuelRange(low, high, range);
    const uint32_t distance = static_cast<uint32_t>(WholeNm(GetPosition(), home->GetPosition()));
    homeLegFuel = (cruiseBurnRate / 100) * ((distance * 60) / cruiseSpeed);
    if (range >= distance)
        return;
    PostOrDrop(MakeLandEvent(GetID(), homeBaseID, GameTime(gam2arena::GetGameTime())));
    SetFlags(RETURNING);
    PostMessage(CLASS_ORDERS, "", TEXT_TURNING_HOME);
}

// A hovering aircraft's sonars listen (active with SONAR_ACTIVE); in flight
// they are off.
void Plane::UpdateSensorReach()
{
    const bool hovering = speed == 0 && PositionObject::GetAltitude() < HOVER_CEILING;
    for (Sensor* sensor = sensors.First(); sensor != nullptr; sensor = sensor->GetNext()) {
        switch (sensor->GetSensorType()) {
        case Sensor::TYPE_PASSIVE_SONAR:
        case Sensor::TYPE_ACTIVE_SONAR:
        case Sensor::TYPE_ACTIVE_VDS:
        case Sensor::TYPE_PASSIVE_VDS:
            sensor->SetState(!hovering               ? Sensor::STATE_OFF
                             : TestFlags(SONAR_ACTIVE) ? Sensor::STATE_ACTIVE
                                                       : Sensor::STATE_PASSIVE);
            break;
        case Sensor::TYPE_ACTIVE_ONLY_SONAR:
            sensor->SetState(hovering ? Sensor::STATE_ACTIVE : Sensor::STATE_OFF);
            break;
        default:
            break;
        }
    }
    Unit::UpdateSensorReach();
}

bool Plane::CanReachAndReturn(const LatLonPoint& target, uint16_t knots, int16_t altitude) const
{
    return ReachMargin(target, knots, altitude, false);
}

bool Plane::CanReachAndReturnHalf(const LatLonPoint& target, uint16_t knots, int16_t altitude) const
{
    return ReachMargin(target, knots, altitude, true);
}

// Percentages of the combat radius: the fuel range, less the way back from
// the target to the base and the way out, the way out costed at the range
// of the performance table for the speed and altitude (half of it at the
// radius in the half form).
bool Plane::ReachMargin(const LatLonPoint& target, uint16_t knots, int16_t altitude, bool half) const
{
    const PlaneAnnex* const record = FindRecord();
    if (record == nullptr)
        return false;
    const Unit* const home = homeBaseID != 0 ? gam2arena::FindUnit(homeBaseID) : nullptr;
    int64_t back = home != nullptr ? WholeNm(target, home->GetPosition()) : 0;
    int64_t out = WholeNm(GetPosition(), target);
    uint32_t radius = record->usableRange;
    if (loadoutID != 0) {
        const NavIDNode* const entry = record->loadouts.Find(loadoutID);
        radius = entry != nullptr ? entry->GetValue() : 0;
    }
    if (radius == 0)
        return false;
    uint16_t low = 0;
    uint16_t high = 0;
    uint16_t range = 0;
    GetFuelRange(low, high, range);
    int band = 0;
    while (band < PlaneAnnex::PERF_BANDS &&
           record->perfCeiling[PlaneAnnex::PERF_BANDS * PlantSetting::CRUISE + band] < altitude)
        ++band;
    if (band == PlaneAnnex::PERF_BANDS)
        return false;
    int setting = 0;
    while (setting < PlaneAnnex::PERF_SETTINGS && record->perfSpeed[PlaneAnnex::PERF_BANDS * setting + band] < knots)
        ++setting;
    if (setting == PlaneAnnex::PERF_SETTINGS)
        return false;
    const int64_t tableRange = record->perfRange[PlaneAnnex::PERF_BANDS * setting + band];
    if (tableRange == 0)
        return false;
    if (half) {
        const int64_t h = out / 2;
        back += h;
        out -= h;
    }
    const int64_t margin = int64_t{range} * 100 / radius - (back * 100 / radius + out * 100 / tableRange);
    return margin >= REACH_MARGIN;
}
