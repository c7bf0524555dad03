// WeaponMove.cpp: a weapon's flight step: the intercept on its target, the
// path with the search pattern at its end, the seeker switched on shortly
// before the meeting, the clearance over the surface, the fuel, the
// launcher's guidance and the seeker's first sweep; a weapon that can fly no
// further is lost.
#include <algorithm>

#include "annex/AnnexTables.h"
#include "annex/SignatureRecord.h"
#include "annex/WeaponAnnex.h"
#include "core/NavMath.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/Intercept.h"
#include "engagement/SideContacts.h"
#include "engagement/WeaponFireCalls.h"
#include "engagement/WeaponRun.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"
#include "units/UnitList.h"
#include "units/Weapon.h"
#include "world/Nav2Game.h"
#include "world/gam2anim.h"

namespace {
constexpr uint32_t GUIDED_BY_LAUNCHER = 0x2001;
constexpr uint32_t TERRAIN_FOLLOWING = 0x0008;
constexpr uint32_t SEARCH_PATTERN = 0x8000;
constexpr uint32_t STRAIGHT_RUNNING = 0x80000;
constexpr uint16_t CONTACT_POSITION_EXACT = 0x8;   // knownBits: the area does not blur the aim
constexpr uint32_t SEEKER_MODE_ACTIVE = 2;
constexpr uint16_t SUBMERGED_CLASS = 0x4000;
constexpr int16_t VALID_TYPE_SUBMERGED = 4;
constexpr int16_t VALID_TYPE_OTHER = 1;
constexpr int16_t HIGHEST_CLEARANCE = 9;
constexpr int16_t CLEARANCE_BOUND = 10;
constexpr int32_t LOST_OFF_SURFACE_TEXT = 0x7B0234;
constexpr int32_t LOST_NO_SENSOR_TEXT = 0x7B0235;
constexpr int32_t LOST_OUT_OF_SIGHT_TEXT = 0x7B0236;
constexpr int32_t LOST_NO_LAUNCHER_TEXT = 0x7B0237;
constexpr int16_t NO_LEVEL = -32767;

// The speed and heading an intercept takes of a target unit: a plane
// without a path counts as standing still.
void TargetMotion(const Unit& target, int32_t& course, int32_t& knots)
{
    if (target.GetTypeLetter() == 'P' && target.GetPath() == nullptr) {
        course = 0;
        knots = 0;
        return;
    }
    course = target.GetCourse();
    knots = target.speed;
}

int64_t RemainingPath(const Weapon& weapon)
{
    int64_t length = 0;
    LatLonPoint from = weapon.GetPosition();
    for (const PositionNode* node = weapon.GetPath(); node != nullptr; node = node->GetNext()) {
        length += NavMath::Get_Vector(from, node->GetPosition()).range;
        from = node->GetPosition();
    }
    return length;
}

void TellLost(const Weapon& weapon, int32_t text)
{
    if (WeaponFire::IsContactOfPlayer(weapon.GetID()))
        WeaponRun::PostMessage(std::string(weapon.GetName().Text()) + WeaponRun::Text(text));
}

// A one-point path at `point` that ends the run with a weapon-target event.
void AimAt(Weapon& weapon, const LatLonPoint& point)
{
    weapon.ClearPath();
    auto* node = new PositionNode(point);
    node->AddEvent(WeaponRun::MakeWeaponTargetEvent(weapon));
    weapon.SetPath(node);
}

void SwitchSeekerOn(Weapon& weapon)
{
    if (Event* order = MakeSetSensorsEvent(weapon.GetID(), SEEKER_MODE_ACTIVE, 0)) {
        order->HandleEvent();
        delete order;
    }
    weapon.seekerActive = 1;
    weapon.SetFlags(UnitFlag::SEEKER_ON);
}

void PostWeaponStepNow(uint16_t id)
{
    gam2arena::RemoveUnitEvents(id, EventCode::WEAPON_STEP);
    if (Event* step = WeaponRun::MakeWeaponStepEvent(id)) {
        step->SetTime(GameTime(gam2arena::GetGameTime()));
        PostOrDrop(step);
    }
}

// The last point reached: the next search leg, when the weapon flies one.
void FlySearchLeg(Weapon& weapon, uint16_t knots)
{
    const Unit* launcher = gam2arena::FindUnit(weapon.launcherID);
    const bool planeOrNone = launcher == nullptr || launcher->GetTypeLetter() == 'P';
    const uint16_t draw = gam2arena::Random(100);
    const WeaponRun::SearchLeg leg = WeaponRun::PlanSearchLeg(weapon.guideSensorID, weapon.weaponKind, planeOrNone, draw);
    weapon.course = WeaponRun::TurnCourse(weapon.course, leg.turn);
    const LatLonPoint end = NavMath::Get_LatLonPoint_From_Vector(
        weapon.GetPosition(), WeaponRun::RunDistance(knots, leg.seconds), weapon.course);
    weapon.guideSensorID = leg.nextState;
    weapon.SetPath(new PositionNode(end));
}

// Whether the clearance over the surface holds; false when the weapon is lost.
bool KeepClearance(Weapon& weapon, const LatLonPoint& start, uint16_t knots)
{
    const uint16_t code = weapon.GetStateFlags() & SimObject::SYMBOL_KIND_MASK;
    const LatLonPoint now = weapon.GetPosition();
    if (!WeaponFire::PointValidForType(now, code == SUBMERGED_CLASS ? VALID_TYPE_SUBMERGED : VALID_TYPE_OTHER))
        return false;
    int16_t before = Nav2Game::GetAltitudeAt(start);
    int16_t surface = Nav2Game::GetAltitudeAt(now);
    const int16_t altitude = weapon.PositionObject::GetAltitude();
    if (altitude > 0) {
        before = std::max<int16_t>(before, 0);
        surface = std::max<int16_t>(surface, 0);
    }
    const bool follows = (weapon.weaponFlags & TERRAIN_FOLLOWING) != 0;
    int16_t clearance = weapon.firstCounterValue;
    if (before == surface) {
        if (follows && clearance >= 1 && clearance <= HIGHEST_CLEARANCE)
            weapon.SetAltitude(static_cast<int16_t>(surface + clearance));
        return true;
    }
    clearance = std::min(clearance, CLEARANCE_BOUND);
    const bool keeps = follows && clearance >= 1;
    const int16_t wanted = static_cast<int16_t>(surface + std::max<int16_t>(clearance, 0));
    if (altitude < wanted) {
        if (!keeps) {
            if (altitude > 0)
                return false;
            weapon.SetAltitude(static_cast<int16_t>(surface + 1));
            return true;
        }
        if (knots == 0 || weapon.GetMaxSpeedAtAltitude(weapon.GetPlantSetting(), wanted) < knots)
            return false;
        weapon.SetAltitude(wanted);
        return true;
    }
    if (keeps)
        weapon.SetAltitude(wanted);
    return true;
}

FuelTank* TankAt(Weapon& weapon, uint16_t index)
{
    FuelTank* tank = weapon.fuelTanks.First();
    for (uint16_t i = 0; tank != nullptr && i < index; ++i)
        tank = tank->GetNext();
    return tank;
}

// Draws a step's fuel; false when the weapon is out of fuel.
bool DrawFuel(Weapon& weapon, PropulsionPlant* plant, uint8_t seconds)
{
    if (plant == nullptr)
        return false;
    const int16_t altitude = weapon.PositionObject::GetAltitude();
    const uint32_t main = plant->MainFuelUse(seconds, altitude);
    if (main == 0)
        return true;
    FuelTank* tank = TankAt(weapon, weapon.mainTank);
    if (tank != nullptr && !tank->Consume(main, true, false) && !weapon.ChooseTanks(plant))
        return false;
    const uint32_t second = plant->SecondFuelUse(seconds, altitude);
    if (second == 0)
        return true;
    tank = TankAt(weapon, weapon.secondTank);
    return tank == nullptr || tank->Consume(second, true, false) || weapon.ChooseTanks(plant);
}

// Out of fuel: the speed is chosen again; at 0 a pending attack runs at
// once at the former speed. Answers whether the weapon is lost.
bool RunOutOfFuel(Weapon& weapon, uint16_t formerSpeed)
{
    weapon.UpdateFuelFlags();
    const uint16_t delivered = weapon.SetSpeed(weapon.speed, weapon.PositionObject::GetAltitude());
    if (delivered != 0)
        return false;
    if (Event* attack = gam2arena::FindUnitEvent(weapon.GetID(), nullptr, EventCode::WEAPON_TARGET)) {
        weapon.speed = formerSpeed;
        gam2arena::GetArenaState()->Queue().Remove(attack);
        attack->HandleEvent();
        delete attack;
    }
    return true;
}

// The launcher's guidance of a weapon whose seeker came on: false when the
// weapon is lost.
bool TakeLauncherGuidance(Weapon& weapon, bool haveIntercept, int32_t interceptTime, const LatLonPoint& point)
{
    Unit* const target = gam2arena::FindUnit(weapon.targetID);
    Unit* const launcher = gam2arena::FindUnit(weapon.launcherID);
    if (target == nullptr || launcher == nullptr) {
        TellLost(weapon, LOST_NO_LAUNCHER_TEXT);
        return false;
    }
    const NavVector toTarget = NavMath::Get_Vector(weapon.GetPosition(), target->GetPosition());
    const int aspect = WeaponRun::AspectClass(target->GetCourse(), toTarget.bearing);
    int32_t time = haveIntercept ? interceptTime : 0;
    LatLonPoint aim = haveIntercept ? point : target->GetPosition();
    if (!haveIntercept) {
        int32_t course = 0;
        int32_t knots = 0;
        TargetMotion(*target, course, knots);
        int32_t outCourse = 0;
        if (!ComputeIntercept(target->GetPosition(), course, knots, weapon.GetPosition(), &outCourse, weapon.speed,
                              &time, &aim))
            time = weapon.GetEndurance();
    }
    const NavVector fromLauncher = NavMath::Get_Vector(launcher->GetPosition(), target->GetPosition());
    if (time != 0 && fromLauncher.range / RANGE_PER_NM > int32_t{launcher->GetHorizon()} + target->GetHorizon()) {
        TellLost(weapon, LOST_OUT_OF_SIGHT_TEXT);
        return false;
    }
    // The stored guiding sensor first, then every sensor of the launcher
    // that the weapon record names for its guidance.
    const WeaponAnnex* const record = Annex::FindWeapon(weapon.GetAnnexID());
    auto tries = [&](Sensor& sensor) {
        Contact* seen = sensor.Detect(*launcher, *target, fromLauncher, aspect, 0, true, true, true);
        const bool detected = seen != nullptr;
        delete seen;
        return detected;
    };
    // A guiding sensor kept in an aircraft record is not the launcher's own
    // sensor of that key: aircraft records hold no sensors here, so none.
    Sensor* guide = weapon.guideSensorID != 0 && weapon.guidePlaneRecID == 0
                        ? launcher->sensors.Find(weapon.guideSensorID)
                        : nullptr;
    if (guide != nullptr && !tries(*guide))
        guide = nullptr;
    for (Sensor* sensor = launcher->sensors.First(); guide == nullptr && sensor != nullptr;
         sensor = sensor->GetNext()) {
        if (record != nullptr && record->sensors.Find(sensor->GetSensorID()) != nullptr && tries(*sensor))
            guide = sensor;
    }
    if (guide == nullptr) {
        TellLost(weapon, LOST_NO_SENSOR_TEXT);
        return false;
    }
    weapon.targetLocked = 1;
    weapon.launchClock = GameTime(gam2arena::GetGameTime());
    weapon.guideID = launcher->GetID();
    weapon.guideSensorID = guide->GetKey();
    AimAt(weapon, aim);
    return true;
}

// The seeker's first sweep over every unit in play.
void SweepSeeker(Weapon& weapon)
{
    UnitList* const units = UnitList::GetArenaList();
    for (Unit* other = units != nullptr ? units->First() : nullptr; other != nullptr && weapon.targetLocked == 0;
         other = other->GetNext()) {
        if (other == &weapon || (other->IsGroup() && other->GetTypeLetter() != 'B')
            || (other->GetStateFlags() & SimObject::SYMBOL_KIND_MASK) == Weapon::SURFACE_CLASS_CODE)
            continue;
        WeaponRun::PairStep(weapon, *other);
    }
    const uint16_t id = weapon.GetID();
    if (weapon.seekerTargetID != 0) {
        if (Event* step = gam2arena::FindUnitEvent(id, nullptr, EventCode::WEAPON_STEP)) {
            gam2arena::GetArenaState()->Queue().Remove(step);
            step->SetTime(GameTime(gam2arena::GetGameTime()));
            gam2arena::PostEvent(step);
        }
        return;
    }
    int16_t best = NO_LEVEL;
    for (const SignatureRecord* entry = weapon.JammingEntries().First(); entry != nullptr;
         entry = entry->GetNext()) {
        best = std::max(best, WeaponRun::EmitterLevel(*entry));
        if (best != 0)
            PostWeaponStepNow(id);
    }
}

}  // namespace

// Each step in this order: no move for a sonobuoy; the aim (straight on
// without a path, else the intercept on the target with the seeker coming on
// under 16 seconds out); the path with the search pattern at its end; the
// clearance over the surface; the fuel; the launcher's guidance or the
// seeker's sweep in the step the seeker came on; and the end of a lost
// weapon or the weather at its new place.
void WeaponRun::Move(Weapon& weapon, uint8_t seconds)
{
    if (weapon.weaponKind == WeaponKind::SONOBUOY)
        return;
    PropulsionPlant* const plant = weapon.plantKey != 0 ? weapon.plants.Find(weapon.plantKey) : nullptr;
    const uint16_t knots = plant != nullptr ? weapon.speed : uint16_t{0};
    const LatLonPoint start = weapon.GetPosition();
    bool lost = false;
    bool switchedOn = false;
    bool haveIntercept = false;
    int32_t interceptTime = 0;
    LatLonPoint interceptPoint;

    if (weapon.GetPath() == nullptr) {
        weapon.timeToGo = 0;
        const int32_t run = RunDistance(knots, seconds);
        if (run != 0)
            weapon.SetPosition(NavMath::Get_LatLonPoint_From_Vector(start, run, weapon.course));
    } else {
        SideContacts* const side = weapon.sideEntryID != 0 ? gam2arena::FindSide(weapon.sideEntryID) : nullptr;
        Contact* const contact = side != nullptr && weapon.targetID != 0 ? side->GetContact(weapon.targetID) : nullptr;
        Unit* const target = weapon.targetID != 0 ? gam2arena::FindUnit(weapon.targetID) : nullptr;
        int32_t outCourse = weapon.course;
        bool solved = false;
        if (contact == nullptr || (contact->GetArea() != nullptr && (contact->knownBits & CONTACT_POSITION_EXACT) == 0)) {
            if (weapon.seekerActive != 0 && weapon.targetLocked != 0) {
                if (target == nullptr) {
                    lost = true;
                } else {
                    int32_t course = 0;
                    int32_t speed = 0;
                    TargetMotion(*target, course, speed);
                    solved = ComputeIntercept(target->GetPosition(), course, speed, start, &outCourse, knots,
                                              &interceptTime, &interceptPoint);
                }
            }
        } else {
            LatLonPoint aim;
            contact->GetPosition(aim);
            int32_t course = (contact->knownBits & ContactKnown::COURSE) != 0 ? contact->course * ANGLE_PER_DEGREE : 0;
            int32_t speed = (contact->knownBits & ContactKnown::SPEED) != 0 ? contact->speed : 0;
            if (target != nullptr) {
                aim = target->GetPosition();
                if (target->GetTypeLetter() != 'P' || target->GetPath() != nullptr)
                    TargetMotion(*target, course, speed);
            }
            solved = ComputeIntercept(aim, course, speed, start, &outCourse, knots, &interceptTime, &interceptPoint);
        }
        if (!solved) {
            weapon.timeToGo = TimeToRun(RemainingPath(weapon), knots);
        } else {
            haveIntercept = true;
            AimAt(weapon, interceptPoint);
            weapon.timeToGo = static_cast<uint32_t>(std::max(interceptTime, 0));
            if (weapon.seekerActive == 0 && interceptTime < SEEKER_SWITCH_SECONDS) {
                SwitchSeekerOn(weapon);
                switchedOn = true;
            }
        }
    }

    if (PositionNode* const node = weapon.GetPath()) {
        const LatLonPoint target = node->GetPosition();
        weapon.course = NavMath::Get_Vector_Planar(weapon.GetPosition(), target).bearing;
        if (weapon.MoveToward(target, knots, seconds)) {
            const bool carriedEvents = node->GetEvents().First() != nullptr;
            weapon.path.Remove(node);
            node->PostEvents();
            delete node;
            ui2game::UnitDestroyed(weapon.GetID());
            weapon.UpdateLabel();
            if (weapon.GetPath() == nullptr) {
                if ((weapon.weaponFlags & SEARCH_PATTERN) != 0 && weapon.targetLocked == 0)
                    FlySearchLeg(weapon, knots);
                if (weapon.seekerActive == 0) {
                    if (weapon.sensors.First() == nullptr && !carriedEvents
                        && (weapon.weaponFlags & STRAIGHT_RUNNING) == 0) {
                        if (Event* attack = MakeWeaponTargetEvent(weapon)) {
                            attack->SetTime(GameTime(gam2arena::GetGameTime()));
                            PostOrDrop(attack);
                        }
                    } else {
                        SwitchSeekerOn(weapon);
                        switchedOn = true;
                    }
                }
            }
        }
    }

    if (!lost && !KeepClearance(weapon, start, knots)) {
        lost = true;
        TellLost(weapon, LOST_OFF_SURFACE_TEXT);
    }

    const uint16_t speedBefore = weapon.speed;
    if (!DrawFuel(weapon, plant, seconds) && RunOutOfFuel(weapon, speedBefore))
        lost = true;

    if (!lost && switchedOn) {
        if ((weapon.weaponFlags & GUIDED_BY_LAUNCHER) != 0)
            lost = !TakeLauncherGuidance(weapon, haveIntercept, interceptTime, interceptPoint);
        else
            SweepSeeker(weapon);
    }

    if (lost) {
        weapon.ClearTarget(weapon.targetID);
        weapon.ScheduleDeletion(0);
        return;
    }
    WeatherReport report;
    gam2anim::GetWeatherAt(report, weapon.GetPosition());
    weapon.SetWeather(report);
}
