// Weapon.cpp: a weapon's construction from its weapon.dat record, its
// warheads, the unit operations it replaces, its target bookkeeping, status
// text and record.
#include "units/Weapon.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <istream>
#include <ostream>

#include "annex/AnnexTables.h"
#include "annex/WarheadAnnex.h"
#include "annex/WeaponAnnex.h"
#include "core/AllocationCheck.h"
#include "core/StreamFields.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "units/SensorFactory.h"
#include "units/SonobuoyLine.h"
#include "units/UnitComponents.h"
#include "units/UnitEvents.h"
#include "units/UnitFactory.h"

namespace {

// A running torpedo's radiated noise rises by this much at the settings
// above RUNNING_SETTING.
constexpr int16_t TORPEDO_NOISE_RISE = 20;
constexpr int16_t RUNNING_SETTING = 1;
// Low-flying weapons at these altitudes (tens of metres) are seen at 90.
constexpr int16_t SKIMMING_LOW = 9;
constexpr int16_t SKIMMING_HIGH = 10;
constexpr int16_t SKIMMING_VISUAL = 90;
// A decoy's attack mask, and the air bits that make it answer so.
constexpr uint32_t DECOY_AIR_BITS = 0x0C;
// Target classes of a weapon as a target of point defence.
constexpr uint32_t TARGET_ECM_WEAPON = 0x8;
constexpr uint32_t TARGET_TORPEDO = 0x800;
constexpr uint32_t TARGET_KIND_4096 = 0x1000;

// The class name of every weapon; its letter opens the label.
const char* const WEAPON_CLASS_NAME = "W";

}  // namespace

WarheadLink::WarheadLink(uint16_t warheadID)
{
    const WarheadAnnex* const record =
        Annex::Tables().Warheads() != nullptr ? Annex::Tables().Warheads()->Find(warheadID) : nullptr;
    if (record == nullptr)
        return;
    warheadType = record->GetWarheadType();
    warheadValue = record->damage;
    warheadCount = record->count;
}

Weapon::Weapon()
{
    launchClock.Set(0);
}

Weapon::Weapon(uint16_t weaponAnnexID) : Weapon()
{
    const WeaponAnnex* const record =
        Annex::Tables().Weapons() != nullptr ? Annex::Tables().Weapons()->Find(weaponAnnexID) : nullptr;
    if (record == nullptr)
        return;
    SetAnnexID(weaponAnnexID);
    weaponKind = record->GetWeaponKind();
    CopyTriple(signature4, record->triple1);
    CopyTriple(signature5, record->triple2);
    SetAttackMask(record->GetTargetMask());
    SetName(record->className.Text());
    for (const IDNode* id = record->warheadIDs.First(); id != nullptr; id = id->GetNext()) {
        auto* const link = new WarheadLink(id->GetKey());
        AllocationCheck(link);
        warheads.Append(link);
    }
    BuildPropulsionList(plants, record->propulsionIDs);
    BuildSensorList(sensors, record->sensors, this);
    BuildCommList(datalinks, record->commIDs);
    BuildFuelTanks(fuelTanks, record->fuelIDs);
    HookUpFuel(*this);
    CopyTriple(aspectValues[0], record->triple3);
    CopyTriple(aspectValues[1], record->triple4);
    CopyTriple(aspectValues[2], record->triple5);
    surfaceHitChance = record->surfaceChance;
    secondHitValue = record->surfaceChanceFar;
    airHitModifier = record->airChance;
    fourthHitValue = static_cast<uint8_t>(record->airChanceLong);
    weaponFlags = record->weaponFlags;
    firstCounterValue = record->launchAltitude;
    secondCounterValue = record->climbRate;
    guidanceByte = record->value1;
    SetClassName(WEAPON_CLASS_NAME);
}

Weapon::~Weapon()
{
    warheads.DeleteAll();
    if (weaponKind == WeaponKind::SONOBUOY && GetSideID() != 0 && guideID != 0) {
        Unit* const guide = gam2arena::FindUnit(guideID);
        if (guide != nullptr && guide->GetTypeLetter() == SonobuoyLine::TYPE_LETTER)
            static_cast<SonobuoyLine*>(guide)->RemoveBuoy(*this);
    }
    if (targetID != 0)
        ClearTarget(targetID);
}

void Weapon::ForgetMemberships()
{
    Unit::ForgetMemberships();
    targetID = 0;
    launcherID = 0;
    guideID = 0;
}

int32_t Weapon::TakeDamage(int32_t, uint32_t)
{
    if (targetID != 0)
        ClearTarget(targetID);
    ClearFlags(HIT_CLEARS);
    SetFlags(DESTROYED);
    return 1;
}

int16_t Weapon::GetAltitude() const
{
    if ((GetStateFlags() & SimObject::SYMBOL_KIND_MASK) == SURFACE_CLASS_CODE)
        return 0;
    return PositionObject::GetAltitude();
}

int16_t Weapon::GetRadarSignature(int aspect) const
{
    return static_cast<int16_t>(aspectValues[2].Get(aspect));
}

int16_t Weapon::GetFirstSonarSignature(int aspect) const
{
    int16_t value = static_cast<int16_t>(signature4.Get(aspect));
    if (weaponKind == WeaponKind::TORPEDO && GetPlantSetting() > RUNNING_SETTING)
        value = static_cast<int16_t>(value + TORPEDO_NOISE_RISE);
    return value;
}

int16_t Weapon::GetSecondSonarSignature(int aspect) const
{
    return static_cast<int16_t>(signature5.Get(aspect));
}

int16_t Weapon::GetVisualSignature(int aspect) const
{
    const int16_t altitude = GetAltitude();
    if (altitude == SKIMMING_LOW || altitude == SKIMMING_HIGH)
        return SKIMMING_VISUAL;
    return static_cast<int16_t>(aspectValues[0].Get(aspect));
}

int16_t Weapon::GetInfraredSignature(int aspect) const
{
    return static_cast<int16_t>(aspectValues[1].Get(aspect));
}

uint32_t Weapon::GetTargetMask() const
{
    switch (weaponKind) {
    case WeaponKind::ECM_COUNTERED:
        return TARGET_ECM_WEAPON;
    case WeaponKind::TORPEDO:
        return TARGET_TORPEDO;
    case WeaponKind::DECOY:
        return attackMask;
    case WeaponKind::KIND_4096:
        return TARGET_KIND_4096;
    default:
        return 0;
    }
}

uint32_t Weapon::GetAttackMask() const
{
    if (weaponKind == WeaponKind::DECOY && (attackMask & DECOY_AIR_BITS) != 0)
        return DECOY_TARGET_MASK;
    return attackMask;
}

int32_t Weapon::GetCountermeasure(int32_t argument) const
{
    return argument < 0 ? 2 * int32_t{secondCounterValue} : int32_t{secondCounterValue};
}

int32_t Weapon::GetEndurance() const
{
    const PropulsionPlant* const plant = plantKey != 0 ? plants.Find(plantKey) : nullptr;
    if (plant == nullptr)
        return 0;
    const int16_t altitude = PositionObject::GetAltitude();
    uint32_t fuel = plant->MainFuelType();
    uint32_t use = plant->MainFuelUse(60, altitude);
    if (fuel == 0) {
        fuel = plant->SecondFuelType();
        use = plant->SecondFuelUse(60, altitude);
    }
    if (fuel == 0)
        return 0;
    uint64_t total = 0;
    for (const FuelTank* tank = fuelTanks.First(); tank != nullptr; tank = tank->GetNext()) {
        if (tank->GetFuelType() == fuel)
            total += tank->GetRemaining(use, false, false);
    }
    return static_cast<int32_t>(std::min<uint64_t>(total, INT32_MAX));
}

void Weapon::SetTarget(uint16_t id)
{
    targetLocked = 1;
    targetID = id;
    if (Unit* const launcher = gam2arena::FindUnit(launcherID))
        launcher->AddWeaponInFlight(*this, id);
}

Sensor* Weapon::FindGuidingSensor() const
{
    // A sensor in an aircraft record has no list to search here: the
    // launcher's records keep their sensors themselves.
    if (guideSensorID == 0 || guidePlaneRecID != 0)
        return nullptr;
    Unit* const holder = gam2arena::FindUnit(guideID != 0 ? guideID : launcherID);
    return holder != nullptr ? holder->sensors.Find(guideSensorID) : nullptr;
}

void Weapon::ClearTarget(uint16_t id)
{
    targetLocked = 0;
    if (Unit* const launcher = gam2arena::FindUnit(launcherID)) {
        launcher->RemoveWeaponInFlight(*this, id);
        if (Sensor* const sensor = FindGuidingSensor())
            sensor->ReleaseTarget(id);
    }
    if (id == targetID)
        targetID = 0;
}

void Weapon::EndRun()
{
    PostOrDrop(MakeDeleteUnitEvent(GetID(), GameTime(static_cast<int32_t>(gam2arena::GetGameTime()))));
    ClearTarget(targetID);
}

void Weapon::FormatTimeToGo(uint32_t seconds, char* out, int32_t size)
{
    std::snprintf(out, static_cast<size_t>(size), "%02u:%02u:%02u", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
}

void Weapon::GetStatus(UnitStatus& status) const
{
    auto line = [&status](int index) { return status.lines[index]; };
    constexpr size_t SIZE = UnitStatus::LINE_SIZE;
    std::snprintf(line(0), SIZE, "%.32s", GetName().Text());
    std::snprintf(line(1), SIZE, "%.32s", GetClassName().Text());
    std::snprintf(line(2), SIZE, "%u", unsigned{speed});
    std::snprintf(line(3), SIZE, "%d0m", int{GetAltitude()});
    std::snprintf(line(4), SIZE, "%d", static_cast<int>(GetCourse() / ANGLE_PER_DEGREE));
    std::snprintf(line(5), SIZE, "%d", static_cast<int>(GetEndurance()));
    FormatTimeToGo(timeToGo, line(6), SIZE);
    GetConditionText(line(7), SIZE);
    status.lineCount = STATUS_LINES;
}

void Weapon::SaveFields(std::ostream& out) const
{
    SaveField(out, static_cast<uint8_t>(TYPE_LETTER));
    SaveField(out, attackMask);
    SaveField(out, weaponKind);
    uint16_t count = 0;
    for (const WarheadLink* link = warheads.First(); link != nullptr; link = link->GetNext())
        ++count;
    SaveField(out, count);
    for (const WarheadLink* link = warheads.First(); link != nullptr; link = link->GetNext()) {
        SaveField(out, link->warheadType);
        SaveField(out, link->warheadValue);
        SaveField(out, link->warheadCount);
    }
    SaveField(out, targetID);
    SaveField(out, targetLocked);
    SaveField(out, seekerTargetID);
    SaveField(out, seekerScore);
    SaveField(out, seekerActive);
    SaveField(out, launcherID);
    SaveField(out, guideID);
    SaveField(out, guidePlaneRecID);
    SaveField(out, guideSensorID);
    signature4.Save(out);
    signature5.Save(out);
    SaveField(out, surfaceHitChance);
    SaveField(out, secondHitValue);
    SaveField(out, airHitModifier);
    SaveField(out, fourthHitValue);
    SaveField(out, guidanceByte);
    SaveField(out, firstCounterValue);
    SaveField(out, weaponFlags);
    SaveField(out, secondCounterValue);
    SaveField(out, timeToGo);
    SaveUnitRecord(out);
}

bool Weapon::LoadFields(std::istream& in)
{
    LoadField(in, attackMask);
    LoadField(in, weaponKind);
    uint16_t count = 0;
    if (!LoadField(in, count))
        return false;
    // Each warhead is read whole before it is kept: a count beyond the
    // stream fails at the first warhead that is not there.
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t type = 0;
        uint16_t value = 0;
        uint16_t hits = 0;
        LoadField(in, type);
        LoadField(in, value);
        if (!LoadField(in, hits))
            return false;
        auto* const link = new WarheadLink;
        AllocationCheck(link);
        link->warheadType = type;
        link->warheadValue = value;
        link->warheadCount = hits;
        warheads.Append(link);
    }
    LoadField(in, targetID);
    LoadField(in, targetLocked);
    LoadField(in, seekerTargetID);
    LoadField(in, seekerScore);
    LoadField(in, seekerActive);
    LoadField(in, launcherID);
    LoadField(in, guideID);
    LoadField(in, guidePlaneRecID);
    LoadField(in, guideSensorID);
    signature4.Load(in);
    signature5.Load(in);
    LoadField(in, surfaceHitChance);
    LoadField(in, secondHitValue);
    LoadField(in, airHitModifier);
    LoadField(in, fourthHitValue);
    LoadField(in, guidanceByte);
    LoadField(in, firstCounterValue);
    LoadField(in, weaponFlags);
    LoadField(in, secondCounterValue);
    LoadField(in, timeToGo);
    launchClock.Set(0);
    return in && LoadUnitRecord(in);
}

namespace {

Unit* MakeWeapon()
{
    return new Weapon;
}

}  // namespace

void RegisterWeaponClass()
{
    UnitFactory::Register(Weapon::TYPE_LETTER, &MakeWeapon);
}
