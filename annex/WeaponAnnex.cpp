// WeaponAnnex.cpp: the file layout of a weapon.dat record and its range
// floor.
#include "annex/WeaponAnnex.h"

#include <istream>
#include <ostream>

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
        SaveField(out, extraValue);
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
    extraValue = 0;
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
        LoadField(in, extraValue);
        LoadField(in, lastValue);
    }
    return static_cast<bool>(in);
}
