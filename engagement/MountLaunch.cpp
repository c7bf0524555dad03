// MountLaunch.cpp: the launches of a mount at a fixed position and at a
// unit its side holds a contact on. A launch at a unit aims a profiled
// weapon at the intercept point it can reach within its endurance (at
// sprint speed first, then at cruise), needs an open data link for a weapon
// steered over one, and sets the aim point back toward the launcher for a
// weapon that finds its target itself.
#include "engagement/MountLaunch.h"

#include <algorithm>

#include "annex/AnnexTables.h"
#include "annex/TimedRecord.h"
#include "annex/WeaponAnnex.h"
#include "annex/WeaponRec.h"
#include "core/NavMath.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/Intercept.h"
#include "engagement/SideContacts.h"
#include "units/Mount.h"
#include "units/PositionNode.h"
#include "units/Unit.h"
#include "units/UnitEvents.h"
#include "world/Nav2Game.h"
#include "world/NavPath.h"

namespace {
constexpr uint32_t LOADOUT_CAPABILITY = 0x1;
constexpr int32_t UNITS_PER_TENTH = 409;
constexpr uint32_t OPEN_LINK = 3;
constexpr int32_t SETBACK_TENTHS = 50;
constexpr int32_t SETBACK_MOVE = 18000;

// A launch the mount's ready counter does not limit.
bool IsExempt(const Mount& mount, const WeaponAnnex& weapon)
{
    const uint32_t kind = weapon.GetWeaponKind();
    return (mount.capabilities & LOADOUT_CAPABILITY) != 0
           && (kind == 2 || kind == 4 || kind == 32 || kind == 256 || kind == WEAPON_KIND_DECOY);
}

uint8_t SideByte(const Unit& owner)
{
    return static_cast<uint8_t>(owner.GetSideID());
}

// The launch node at the owner, with the aim node chained after it.
PositionNode* MakePath(const Unit& owner, const LatLonPoint& aim, int16_t aimAltitude)
{
    auto* launch = new PositionNode(owner.GetPosition(), owner.GetAltitude());
    auto* target = new PositionNode(aim, aimAltitude);
    launch->SetNext(target);
    target->SetPrev(launch);
    return launch;
}

// The navigator's check of a torpedo's run from the launch to the aim node.
bool TorpedoPathValid(const Unit& owner, const PositionNode& launch)
{
    Nav_Path path;
    path.navType = MountLaunch::TorpedoPathType(owner.GetAltitude());
    path.sideID = SideByte(owner);
    path.AddPoint(launch.GetPosition());
    path.AddPoint(launch.GetNext()->GetPosition());
    return Nav2Game::CheckPath(&path, 0);
}

// True when a weapon steered over a data link has an open one of the
// channel kind of one of its comm records.
bool HasOpenLink(const Unit& owner, const WeaponAnnex& weapon)
{
    const AnnexTable<CommAnnex>* comms = Annex::Tables().Comms();
    for (const IDNode* id = weapon.commIDs.First(); id != nullptr; id = id->GetNext()) {
        const CommAnnex* comm = comms != nullptr ? comms->Find(id->GetKey()) : nullptr;
        if (comm == nullptr)
            continue;
        for (const DatalinkRecord* link = owner.datalinks.First(); link != nullptr; link = link->GetNext()) {
            if (link->channelKind == comm->commType && link->GetState() == OPEN_LINK)
                return true;
        }
    }
    return false;
}

// Moves the aim node back toward the launch point for a weapon that finds
// its target itself, so that it starts its search short of the target.
void SetBack(PositionNode& aimNode, const LatLonPoint& launch, uint16_t weaponSpeed, uint16_t minimumRun)
{
    const auto tenths = static_cast<int16_t>(NavMath::Get_Vector(launch, aimNode.GetPosition()).range / UNITS_PER_TENTH);
    int32_t setback = SETBACK_TENTHS;
    int32_t move = SETBACK_MOVE;
    if (tenths < 100) {
        setback = tenths / 2;
        move = tenths * 180;
    }
    const uint16_t bySpeed = static_cast<uint16_t>(weaponSpeed / 240);
    if (static_cast<uint16_t>(setback) < bySpeed) {
        setback = bySpeed;
        move = bySpeed * 360;
    }
    if (tenths - setback < static_cast<int32_t>(minimumRun))
        move = (tenths - static_cast<int32_t>(minimumRun)) * 360;
    aimNode.MoveToward(launch, static_cast<uint16_t>(move), 1);
}
}  // namespace

namespace MountLaunch {

int16_t TorpedoPathType(int16_t launchAltitude)
{
    if (launchAltitude > 0)
        return 7;
    return launchAltitude == 0 ? 6 : 4;
}

uint8_t AtPosition(Mount& mount, const LatLonPoint& target, WeaponRec& weapon, uint8_t wanted, int32_t sensorMode,
                   int32_t setting)
{
    Unit* owner = dynamic_cast<Unit*>(mount.GetOwner());
    const WeaponAnnex* annex = Annex::FindWeapon(weapon.weaponID);
    if (owner == nullptr || annex == nullptr)
        return 0;
    uint8_t offer = std::min(static_cast<uint8_t>(mount.roundsReady), static_cast<uint8_t>(weapon.GetReadyShots()));
    if (IsExempt(mount, *annex))
        offer = static_cast<uint8_t>(weapon.shotsLeft);
    if (offer == 0)
        return 0;
    const uint8_t rounds = std::min(offer, wanted);
    PositionNode* path = MakePath(*owner, target, owner->GetAltitude());
    if (sensorMode != 1) {
        if (Event* sensors = MakeSetSensorsEvent(owner->GetID(), static_cast<uint32_t>(sensorMode), 0))
            path->AddEvent(sensors);
    }
    if (annex->GetWeaponKind() == WEAPON_KIND_TORPEDO && !TorpedoPathValid(*owner, *path)) {
        DeletePositionNodes(&path);
        return 0;
    }
    weapon.Fire(static_cast<uint16_t>(setting), &mount, rounds, SideByte(*owner), path, nullptr);
    return rounds;
}

uint8_t AtUnit(Mount& mount, TimedRecord& record, WeaponRec& weapon)
{
    Unit* owner = dynamic_cast<Unit*>(mount.GetOwner());
    if (owner == nullptr)
        return 0;
    const auto ready = static_cast<uint8_t>(mount.roundsReady < 1 ? 0 : mount.roundsReady);
    uint8_t offer = std::min(ready, static_cast<uint8_t>(weapon.GetReadyShots()));
    uint8_t wanted = record.quantity;
    auto setting = static_cast<uint16_t>(record.idC);
    SideContacts* side = gam2arena::FindSide(owner->sideEntryID);
    Contact* contact = side != nullptr ? side->GetContact(record.idD) : nullptr;
    WeaponAnnex* annex = Annex::FindWeapon(weapon.weaponID);
    if (offer == 0 || contact == nullptr || annex == nullptr)
        return 0;
    if (!annex->prepared)
        annex->PrepareFlight();
    if (IsExempt(mount, *annex))
        offer = static_cast<uint8_t>(weapon.shotsLeft);
    const int16_t contactAltitude = contact->GetAltitude();
    uint16_t weaponSpeed = annex->GetCruiseSpeedAt(contactAltitude);
    if (annex->commIDs.First() != nullptr && annex->sensors.First() == nullptr && !HasOpenLink(*owner, *annex))
        wanted = 0;
    const uint8_t rounds = std::min(offer, wanted);
    if (rounds == 0)
        return 0;
    const bool moving = (contact->knownBits & ContactKnown::SPEED) != 0
                        && (contact->knownBits & ContactKnown::COURSE) != 0;
    const int32_t course = moving ? contact->course * ANGLE_PER_DEGREE : 0;
    const int32_t speed = moving ? contact->speed : 0;
    const LatLonPoint contactPosition = contact->PositionObject::GetPosition();
    LatLonPoint aim = contactPosition;
    const bool torpedo = annex->GetWeaponKind() == WEAPON_KIND_TORPEDO;
    if (annex->guided) {
        auto feasible = [&](uint16_t at, uint32_t endurance) {
            int32_t outCourse = 0;
            int32_t time = 0;
            LatLonPoint point = contactPosition;
            if (!ComputeIntercept(contactPosition, course, speed, owner->GetPosition(), &outCourse, at, &time,
                                  &point)
                || time >= static_cast<int32_t>(endurance))
                return false;
            aim = point;
            return true;
        };
        weaponSpeed = annex->GetSprintSpeedAt(contactAltitude);
        if (feasible(weaponSpeed, annex->sprintLimit)) {
            if (torpedo)
                setting = 1;
        } else {
            weaponSpeed = annex->GetCruiseSpeedAt(contactAltitude);
            if (!feasible(weaponSpeed, annex->cruiseLimit))
                return 0;
            if (torpedo)
                setting = 0;
        }
    }
    PositionNode* path = MakePath(*owner, aim, contactAltitude);
    PositionNode* aimNode = path->GetNext();
    if (annex->sensors.First() != nullptr)
        SetBack(*aimNode, path->GetPosition(), weaponSpeed, annex->minRange);
    aimNode->UpdateXY();
    if (torpedo && !TorpedoPathValid(*owner, *path)) {
        record.quantity = 0;
        DeletePositionNodes(&path);
        return 0;
    }
    weapon.Fire(setting, &mount, rounds, SideByte(*owner), path, gam2arena::FindUnit(record.idD));
    return rounds;
}

}  // namespace MountLaunch
