// UnitStep.cpp: a unit's step along its planned path with its plant, fuel,
// mounts and weather; its removal from play and scheduled deletion; the path
// setters; and the working through of its queued attack options.
#include "units/Unit.h"

#include <algorithm>
#include <cstdlib>

#include "core/IDList.h"
#include "core/NavMath.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "units/SideRecords.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"
#include "world/gam2anim.h"

namespace {

// A turn of this much or more toward the next point resettles a towed array.
constexpr int32_t RESETTLE_TURN = 5 * ANGLE_PER_DEGREE;   // 1228800

// Battery charge of a step: speed x seconds / this, in units of fuel 4.
constexpr uint32_t CHARGE_DIVISOR = 5;

// A ship's deletion delay counts minutes.
constexpr uint32_t SHIP_DELAY_SECONDS = 60;

// Classification an aim without a contact gets, and the classification bit
// that makes the aim's course the bearing toward it.
constexpr uint32_t AIM_WITHOUT_CONTACT = 3;
constexpr uint32_t AIM_COURSE_FROM_BEARING = 0x4;
// A contact whose flag word has this bit is not fired upon.
constexpr uint32_t CONTACT_NOT_ENGAGED = 0x8;

// The absolute difference of two bearings folded into 0 to 180 degrees.
int32_t TurnBetween(int32_t from, int32_t to)
{
    int64_t turn = std::llabs(int64_t{to} - from) % ANGLE_FULL;
    if (turn > ANGLE_HALF)
        turn = ANGLE_FULL - turn;
    return static_cast<int32_t>(turn);
}

}  // namespace

// One step:
//  1. with a plant chosen: the step speed is the speed, held to the speed of
//     the plant's band in force while a path is followed; the unit turns to
//     the next point (a turn of 5 degrees or more resettles its towed array)
//     and moves toward it; a point reached posts its events and leaves the
//     path, and the last point of a surface or submerged unit's path stops
//     it; a plant that burns no battery charges the batteries;
//  2. the step's fuel is drawn from the tanks feeding the plant; a unit out
//     of a fuel has its speed chosen again;
//  3. every mount and magazine reloads, mounts sending for rounds;
//  4. the weather at the new position is fetched and the weapon reach caches
//     refreshed.
// No allocation happens here unless a point is reached (its events posted,
// the node deleted) or an event is made.
void Unit::Move(uint8_t elapsed)
{
    PositionNode* const node = GetPath();
    const uint16_t id = GetID();
    // The altitude of the unit's place: a class's GetAltitude may answer a
    // sensor height instead (a ship's), which neither the plant's bands nor
    // the stop at the end of the path go by.
    const int16_t altitude = PositionObject::GetAltitude();
    const bool plane = GetTypeLetter() == 'P';
    PropulsionPlant* const plant = plantKey != 0 ? plants.Find(plantKey) : nullptr;

    if (plant != nullptr) {
        if (node != nullptr) {
            uint16_t stepSpeed = speed;
            if (const PropulsionPlant::SpeedEntry* entry = plant->BandAt(altitude))
                stepSpeed = std::min(stepSpeed, entry->speed);
            const LatLonPoint target = node->GetPosition();
            const int32_t bearing = NavMath::Get_Vector_Planar(GetPosition(), target).bearing;
            const bool turned = bearing != course;
            const int32_t turn = TurnBetween(course, bearing);
            course = bearing;
            if (turn >= RESETTLE_TURN) {
                gam2arena::RemoveUnitEvents(id, EventCode::TOWED_ARRAY);
                PostOrDrop(MakeTowedArrayEvent(id));
            }
            if (!MoveToward(target, stepSpeed, elapsed)) {
                if (turned)
                    UpdateLabel();
            } else {
                path.Remove(node);
                node->PostEvents();
                delete node;
                if (path.First() == nullptr && altitude <= 0)
                    PostOrDrop(MakeSetSpeedEvent(id, 0, GameTime(gam2arena::GetGameTime())));
                ui2game::UnitDestroyed(id);
                UpdateLabel();
            }
        }
        if (!plant->AcceptsFuel(FuelType::BATTERY))
            AddFuel(uint32_t{speed} * elapsed / CHARGE_DIVISOR, FuelType::BATTERY);
        OnStepMoved(elapsed);

        bool outOfFuel = false;
        if (const uint32_t use = plant->MainFuelUse(elapsed, altitude); use != 0)
            outOfFuel = !DrawFuel(*plant, use, mainTank, plane);
        if (const uint32_t use = plant->SecondFuelUse(elapsed, altitude); use != 0)
            outOfFuel = !DrawFuel(*plant, use, secondTank, plane) || outOfFuel;
        if (outOfFuel) {
            UpdateFuelFlags();
            SetSpeedNow(*this, speed);
            OnOutOfPower();
        }
    }

    for (Mount* mount = mounts.First(); mount != nullptr; mount = mount->GetNext()) {
        mount->Reload(elapsed);
        if (mount->RoundCountersEqual())
            mount->TransferFromMagazines(magazines, 0);
    }
    for (Mount* magazine = magazines.First(); magazine != nullptr; magazine = magazine->GetNext())
        magazine->Reload(elapsed);

    FetchWeather();
    RefreshWeaponReach();
}

bool Unit::DrawFuel(PropulsionPlant& plant, uint32_t use, uint16_t tankIndex, bool plane)
{
    FuelTank* const tank = TankAt(tankIndex);
    if (tank != nullptr && tank->Consume(use, false, plane))
        return true;
    return ChooseTanks(&plant);
}

void Unit::RemoveFromPlay()
{
    const uint16_t id = GetID();
    LeaveDataLink();
    ClearFlags(UnitFlag::SEEKER_ON | UnitFlag::LINKS_RECORDS);
    plants.DeleteAll();
    plantKey = 0;
    sensors.DeleteAll();
    mounts.DeleteAll();
    magazines.DeleteAll();
    if (parentID != 0)
        gam2grp::DetachFromGroup(parentID, id);
    // What the unit holds of other units: its attack options and the tallies
    // of its weapons in flight; then its links.
    targetingRecords.DeleteAll();
    weaponTallies.DeleteAll();
    datalinks.DeleteAll();
    if (sideEntryID != 0 && gam2arena::SideExists(GetSideID()) && !gam2side::IsFocusUnit(id)) {
        if (SideContacts* const record = gam2arena::FindSide(sideEntryID)) {
            SideRecord::RemoveUnit(*record, *this);
            sideEntryID = 0;
        }
    }
    fuelTanks.DeleteAll();
    ClearPath();
    SetSpeedNow(*this, 0);
    horizon = HorizonOf(GetAltitude());
    UpdateLabel();
    RefreshWeaponReach();
    Nav2Game::StopUnit(id);
    gam2arena::RemoveUnitEvents(id, 0);
}

void Unit::ScheduleDeletion(uint8_t delay)
{
    RemoveFromPlay();
    const uint32_t seconds = GetTypeLetter() == 'S' ? delay * SHIP_DELAY_SECONDS : delay;
    PostOrDrop(MakeDeleteUnitEvent(GetID(), GameTime(gam2arena::GetGameTime() + seconds)));
}

void Unit::ClearPath()
{
    path.DeleteAll();
    ui2game::UnitDestroyed(GetID());
}

void Unit::SetPath(PositionNode* first)
{
    path.DeleteAll();
    if (first != nullptr)
        path.Prepend(first);
    ui2game::UnitDestroyed(GetID());
}

// The queued attack options are taken target by target. With the side's
// contact on the target, the aim is the contact's position, speed and
// course; without one, the point the option holds, still, classification 3.
// Each option goes to its mount: refused or unfit, it is released; fired
// with rounds left, it stays queued; finished, it is deleted and the mount
// may send for rounds. Every target met is evaluated again by the side, and
// the weapon reach caches are refreshed.
void Unit::ResolveFireOrders()
{
    SideContacts* const side = gam2arena::FindSide(sideEntryID);
    if (side == nullptr)
        return;
    IDList targets;
    // The queue: every set taken out of the targeting records; options that
    // stay go back into them in their order.
    Chain<TimedRecord> queue;
    while (AttackOptionSet* const set = targetingRecords.First()) {
        targetingRecords.Remove(set);
        while (TimedRecord* const option = set->Options().First()) {
            set->Options().Remove(option);
            queue.Append(option);
        }
        delete set;
    }
    while (TimedRecord* const option = queue.First()) {
        queue.Remove(option);
        const uint16_t targetID = option->idD;
        if (targetID != 0 && targets.Find(targetID) == nullptr)
            targets.Insert(new IDNode(targetID));
        Contact* const contact = targetID != 0 ? SideRecord::GetContact(*side, targetID) : nullptr;
        ContactAim aim;
        aim.position = option->position;
        aim.classification = AIM_WITHOUT_CONTACT;
        int32_t courseAngle = 0;
        if (contact != nullptr) {
            SideRecord::GetContactAim(*contact, aim);
            // Folded into one turn first: a course read from a file may be any value.
            courseAngle = ((aim.courseDegrees % 360 + 360) % 360) * ANGLE_PER_DEGREE;
        }
        const NavVector toAim = NavMath::Get_Vector(GetPosition(), aim.position);
        if ((aim.classification & AIM_COURSE_FROM_BEARING) != 0)
            courseAngle = toAim.bearing;
        Mount* const mount = mounts.Find(option->mountKey);
        if (mount == nullptr || (contact == nullptr && targetID != 0)
            || (contact != nullptr && (aim.flags & CONTACT_NOT_ENGAGED) != 0)
            || !mount->FireWeapon(aim.classification, toAim, *option, courseAngle, aim.speed)) {
            ReleaseTargetingRecord(option, mount);
        } else if (!mount->Launch(*option)) {
            AddTargetingRecord(option);
        } else {
            if (mount->transferBlock > 0)
                --mount->transferBlock;
            delete option;
            if (mount->RoundCountersEqual())
                mount->TransferFromMagazines(magazines, 0);
        }
    }
    for (const IDNode* target = targets.First(); target != nullptr; target = target->GetNext())
        SideRecord::EvaluateContact(*side, target->GetKey());
    RefreshWeaponReach();
}

// The guiding sensor's hold on the target goes with the sensor model's
// release of the track, which the weapon records' own code makes.
void Unit::ReleaseTargetingRecord(TimedRecord* record, Mount* mount)
{
    if (mount != nullptr && mount->transferBlock > 0)
        --mount->transferBlock;
    delete record;
}
