// WeaponAnnex.cpp: the file layout of a weapon.dat record and its range
// floor.
#include "annex/WeaponAnnex.h"

#include <istream>
#include <ostream>

#include "annex/AnnexTables.h"
#include "core/ErrorReport.h"

namespace {
constexpr uint32_t WARHEAD_SENSOR = 1;
constexpr uint32_t WARHEAD_SUBMUNITION = 2;
constexpr uint32_t WARHEAD_CLUSTER = 0x800;
constexpr uint32_t WARHEAD_ENHANCED = 0x8000;
constexpr uint16_t NUCLEAR_DAMAGE = 0xFFFF;
// The longest sub-munition chain followed; a longer one is cyclic anyway
// (a weapon met again stops the walk first) or absurd.
constexpr int MAX_CHAIN = 64;

bool IsNuclearType(uint32_t type)
{
    return type == 0x1000 || type == 0x2000 || type == 0x4000;
}

// Calls visit with every warhead record of the weapon in list order; an id
// warhead.dat lacks is reported and passed over.
template <typename Visit>
void ForEachWarhead(const WeaponAnnex& weapon, Visit visit)
{
    const AnnexTable<WarheadAnnex>* table = Annex::Tables().Warheads();
    for (const IDNode* id = weapon.warheadIDs.First(); id != nullptr; id = id->GetNext()) {
        const WarheadAnnex* warhead = table != nullptr ? table->Find(id->GetKey()) : nullptr;
        if (warhead == nullptr) {
            FatalError(WARHEAD_MISSING_TEXT);
            continue;
        }
        if (!visit(*warhead))
            return;
    }
}
}  // namespace

uint32_t WeaponAnnex::GetTargetMask() const
{
    return weaponKind == WEAPON_KIND_DECOY ? DECOY_TARGET_MASK : targetMask;
}

void WeaponAnnex::ClearFlightFigures()
{
    cruiseSpeed = 0;
    cruiseLimit = 0;
    sprintSpeed = 0;
    sprintLimit = 0;
    hasSprint = false;
    prepared = false;
    guided = false;
}

void WeaponAnnex::Save(std::ostream& out, uint32_t annexVersion) const
{
    SaveKey(out);
    SaveField(out, targetMask);
    SaveField(out, weaponKind);
    WriteAnnexList(out, warheadIDs);
    triple1.Save(out);
    triple2.Save(out);
    triple3.Save(out);
    triple4.Save(out);
    triple5.Save(out);
    WriteAnnexList(out, propulsionIDs);
    WriteAnnexList(out, sensors);
    WriteAnnexList(out, commIDs);
    WriteAnnexList(out, fuelIDs);
    SaveField(out, length);
    SaveField(out, span);
    SaveField(out, weight);
    SaveField(out, textNumber);
    SaveField(out, value1);
    SaveField(out, launchAltitude);
    SaveField(out, value2);
    SaveField(out, surfaceChance);
    SaveField(out, surfaceChanceFar);
    SaveField(out, airChance);
    SaveField(out, airChanceLong);
    SaveField(out, maxLaunchSpeed);
    SaveField(out, minLaunchSpeed);
    SaveField(out, maxRange);
    SaveField(out, minRange);
    SaveField(out, maxLaunchAltitude);
    SaveField(out, minLaunchAltitude);
    SaveField(out, value3);
    className.Save(out);
    secondName.Save(out);
    for (uint8_t byte : bytes)
        SaveField(out, byte);
    WriteAnnexList(out, fifthIDs);
    SaveField(out, weaponFlags);
    SaveField(out, climbRate);
    SaveField(out, value4);
    SaveField(out, value5);
    SaveField(out, value6);
    if (annexVersion != 0) {
        SaveField(out, extra1);
        SaveField(out, extra2);
        SaveField(out, alternateID);
        SaveField(out, lastValue);
    }
}

bool WeaponAnnex::Read(std::istream& in)
{
    warheadIDs.DeleteAll();
    propulsionIDs.DeleteAll();
    sensors.DeleteAll();
    commIDs.DeleteAll();
    fuelIDs.DeleteAll();
    fifthIDs.DeleteAll();
    extra1 = 0;
    extra2 = 0;
    alternateID = 0;
    lastValue = 0;
    ClearFlightFigures();

    LoadKey(in);
    LoadField(in, targetMask);
    LoadField(in, weaponKind);
    ReadAnnexList(in, warheadIDs, 2);
    triple1.Load(in);
    triple2.Load(in);
    triple3.Load(in);
    triple4.Load(in);
    triple5.Load(in);
    ReadAnnexList(in, propulsionIDs, 2);
    ReadAnnexList(in, sensors, IDRecord::FILE_BYTES);
    ReadAnnexList(in, commIDs, 2);
    ReadAnnexList(in, fuelIDs, 2);
    LoadField(in, length);
    LoadField(in, span);
    LoadField(in, weight);
    LoadField(in, textNumber);
    LoadField(in, value1);
    LoadField(in, launchAltitude);
    LoadField(in, value2);
    LoadField(in, surfaceChance);
    LoadField(in, surfaceChanceFar);
    LoadField(in, airChance);
    LoadField(in, airChanceLong);
    LoadField(in, maxLaunchSpeed);
    LoadField(in, minLaunchSpeed);
    LoadField(in, maxRange);
    LoadField(in, minRange);
    LoadField(in, maxLaunchAltitude);
    LoadField(in, minLaunchAltitude);
    LoadField(in, value3);
    className.Load(in);
    secondName.Load(in);
    for (uint8_t& byte : bytes)
        LoadField(in, byte);
    ReadAnnexList(in, fifthIDs, 2);
    LoadField(in, weaponFlags);
    LoadField(in, climbRate);
    LoadField(in, value4);
    LoadField(in, value5);
    LoadField(in, value6);

    // The floor holds for files of every version, so it comes before the
    // version-1 fields.
    if (weaponKind == WEAPON_KIND_FLOORED_RANGE && maxRange < FLOORED_MAX_RANGE)
        maxRange = FLOORED_MAX_RANGE;

    if (GetAnnexVersion() != 0) {
        LoadField(in, extra1);
        LoadField(in, extra2);
        LoadField(in, alternateID);
        LoadField(in, lastValue);
    }
    return static_cast<bool>(in);
}

uint32_t WeaponAnnex::GetWarheadTypeMask() const
{
    uint32_t mask = 0;
    ForEachWarhead(*this, [&mask](const WarheadAnnex& warhead) {
        mask |= warhead.GetWarheadType();
        return true;
    });
    return mask;
}

bool WeaponAnnex::HasNuclearWarhead() const
{
    bool nuclear = false;
    ForEachWarhead(*this, [&nuclear](const WarheadAnnex& warhead) {
        nuclear = IsNuclearType(warhead.GetWarheadType());
        return !nuclear;
    });
    return nuclear;
}

bool WeaponAnnex::CheckKind() const
{
    if (HasNuclearWarhead())
        return true;
    switch (weaponKind) {
    case WEAPON_KIND_MISSILE:
    case WEAPON_KIND_TORPEDO:
    case WEAPON_KIND_ROCKET:
        return true;
    case WEAPON_KIND_BOMB:
        return (GetWarheadTypeMask() & (WARHEAD_CLUSTER | WARHEAD_ENHANCED)) != 0;
    default:
        return false;
    }
}

uint16_t WeaponAnnex::GetDamagePoints() const
{
    const WeaponAnnex* chain[MAX_CHAIN] = {this};
    return DamageAlongChain(chain, 1);
}

uint16_t WeaponAnnex::DamageAlongChain(const WeaponAnnex* chain[], int depth) const
{
    uint16_t best = 0;
    ForEachWarhead(*this, [&](const WarheadAnnex& warhead) {
        const uint32_t type = warhead.GetWarheadType();
        uint16_t value = 0;
        if (type == 0 || type == WARHEAD_SENSOR) {
            value = 0;
        } else if (type == WARHEAD_SUBMUNITION) {
            const WeaponAnnex* sub = Annex::FindWeapon(warhead.damage);
            bool seen = sub == nullptr || depth >= MAX_CHAIN;
            for (int i = 0; !seen && i < depth; ++i)
                seen = chain[i] == sub;
            if (!seen) {
                chain[depth] = sub;
                value = sub->DamageAlongChain(chain, depth + 1);
            }
        } else if (IsNuclearType(type)) {
            value = NUCLEAR_DAMAGE;
        } else {
            value = warhead.count == 0 ? warhead.damage
                                       : static_cast<uint16_t>(warhead.damage * warhead.count);
        }
        if (value > best)
            best = value;
        return true;
    });
    return best;
}

uint16_t WeaponAnnex::BestSpeedAt(int16_t altitude, int firstSetting, int lastSetting) const
{
    if ((weaponFlags & FIXED_LAUNCH_ALTITUDE) != 0)
        altitude = launchAltitude;
    const AnnexTable<PropulsionAnnex>* table = Annex::Tables().Propulsions();
    if (table == nullptr)
        return 0;
    uint16_t best = 0;
    for (const IDNode* id = propulsionIDs.First(); id != nullptr; id = id->GetNext()) {
        const PropulsionAnnex* plant = table->Find(id->GetKey());
        if (plant == nullptr)
            continue;
        for (int setting = firstSetting; setting <= lastSetting; ++setting) {
            for (const PropulsionSpeed& band : plant->speedTable[setting]) {
                if (band.upper >= altitude) {
                    if (band.speed > best)
                        best = band.speed;
                    break;
                }
            }
        }
    }
    return best;
}

uint16_t WeaponAnnex::GetSprintSpeedAt(int16_t altitude) const
{
    return BestSpeedAt(altitude, 2, 3);
}

uint16_t WeaponAnnex::GetCruiseSpeedAt(int16_t altitude) const
{
    return BestSpeedAt(altitude, 1, 1);
}
