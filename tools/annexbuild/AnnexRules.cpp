// AnnexRules.cpp: the builder's rules over the sixteen tables of the sample
// platform database, and the table that lists them.
#include "AnnexRules.h"

#include <cstdio>
#include <utility>

#include "AnnexJson.h"
#include "annex/AnnexTables.h"
#include "annex/ArcMask.h"
#include "annex/EngineFuel.h"

namespace {

// Altitudes, depths and heights: tens of metres, negative below the surface.
constexpr int32_t ALTITUDE_LOWEST = -200;          // 2000 m down
constexpr int32_t ALTITUDE_HIGHEST = 3000;         // 30 km up
constexpr int32_t FACILITY_HEIGHT_HIGHEST = 100;   // 1000 m above the ground
constexpr int32_t SUB_DEPTH_DEEPEST = -150;        // 1500 m
// The height above the surface that a weapon with this flag keeps in flight
// is its launch altitude, taken only from 1 to 9.
constexpr uint32_t WEAPON_FLAG_CLEARANCE = 0x0008;
constexpr int32_t CLEARANCE_LOWEST = 1;
constexpr int32_t CLEARANCE_HIGHEST = 9;

// Speeds in knots.
constexpr uint32_t SHIP_SPEED_HIGHEST = 60;
constexpr uint32_t SUB_SPEED_HIGHEST = 60;
constexpr uint32_t PLANE_SPEED_HIGHEST = 1600;
constexpr uint32_t WEAPON_SPEED_HIGHEST = 3000;
constexpr uint32_t LAUNCH_SPEED_HIGHEST = PLANE_SPEED_HIGHEST;

// Hit chances are percentages; an air hit chance is stored as the chance
// less 30, except a decoy's, which is its decoy value as it stands.
constexpr int32_t CHANCE_HIGHEST = 100;
constexpr int32_t AIR_CHANCE_OFFSET = 30;

// The aircraft size classes an air facility can serve (the low byte of its
// size word).
constexpr uint8_t AIRCRAFT_SIZES[] = {1, 2, 4, 8, 16, 32, 64, 128};

std::string Hex(uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

std::string EngineText(uint32_t engine)
{
    const std::string name = EngineName(engine);
    return std::to_string(engine) + (name.empty() ? "" : " (" + name + ")");
}

// Appends refusals of the records of one file.
class Refuser {
public:
    Refuser(std::vector<AnnexRefusal>& refusals, const char* annexFile)
        : refusals_(refusals), file_(SourceFileName(annexFile)) {}

    void Refuse(uint16_t record, const char* field, std::string reason)
    {
        refusals_.push_back({file_, record, field, std::move(reason)});
    }

private:
    std::vector<AnnexRefusal>& refusals_;
    std::string file_;
};

template <class T, class Visit>
void ForEachRecord(const AnnexTable<T>* table, Visit visit)
{
    for (const T* r = table->First(); r; r = r->GetNext())
        visit(*r);
}

// Calls visit(id, value) for each entry of an ID list or ID-value list.
template <class List, class Visit>
void ForEachEntry(const List& list, Visit visit)
{
    for (auto* entry = list.First(); entry; entry = entry->GetNext()) {
        if constexpr (requires { entry->GetValue(); })
            visit(entry->GetKey(), entry->GetValue());
        else
            visit(entry->GetKey(), 0u);
    }
}

// The platform kinds that carry propulsion and fuel, with what sets them
// apart here: their file, their speed limit and whether they must be able to
// move at the surface.
template <class Visit>
void ForEachPropelled(const AnnexTables& t, Visit visit)
{
    visit(t.Ships(), SHIP_SPEED_HIGHEST, true);
    visit(t.Subs(), SUB_SPEED_HIGHEST, true);
    visit(t.Planes(), PLANE_SPEED_HIGHEST, true);
    visit(t.Weapons(), WEAPON_SPEED_HIGHEST, false);
}

// Calls visit(file, record id, field, list) for the own sensor list of each
// platform record, and (ForEachMountList) for each mount list.
template <class Visit>
void ForEachSensorList(const AnnexTables& t, Visit visit)
{
    ForEachRecord(t.Ships(), [&](const ShipAnnex& r) { visit(ANNEX_SHIP, r.GetKey(), "sensors", r.sensors); });
    ForEachRecord(t.Subs(), [&](const SubAnnex& r) { visit(ANNEX_SUB, r.GetKey(), "sensors", r.sensors); });
    ForEachRecord(t.Facilities(),
                  [&](const FacilityAnnex& r) { visit(ANNEX_FACILITY, r.GetKey(), "sensors", r.sensors); });
    ForEachRecord(t.Planes(), [&](const PlaneAnnex& r) { visit(ANNEX_PLANE, r.GetKey(), "sensorIDs", r.sensorIDs); });
    ForEachRecord(t.Weapons(), [&](const WeaponAnnex& r) { visit(ANNEX_WEAPON, r.GetKey(), "sensors", r.sensors); });
}

template <class Visit>
void ForEachMountList(const AnnexTables& t, Visit visit)
{
    ForEachRecord(t.Ships(), [&](const ShipAnnex& r) { visit(ANNEX_SHIP, r.GetKey(), "mounts", r.mounts); });
    ForEachRecord(t.Subs(), [&](const SubAnnex& r) { visit(ANNEX_SUB, r.GetKey(), "mounts", r.mounts); });
    ForEachRecord(t.Facilities(),
                  [&](const FacilityAnnex& r) { visit(ANNEX_FACILITY, r.GetKey(), "mounts", r.mounts); });
    ForEachRecord(t.Planes(), [&](const PlaneAnnex& r) { visit(ANNEX_PLANE, r.GetKey(), "mountIDs", r.mountIDs); });
}

// ---------------------------------------------------------------------------
// The rules

// Every ID a record names lies in the file it refers to.
void CheckReferences(const AnnexTables& t, std::vector<AnnexRefusal>& out)
{
    auto single = [&](const char* file, uint16_t owner, const char* field, uint16_t id, const auto* table) {
        if (!table->Find(id))
            Refuser(out, file).Refuse(owner, field, "names " + std::to_string(id) + ", which "
                                                        + SourceFileName(table->GetFileName()) + " does not hold");
    };
    auto each = [&](const char* file, uint16_t owner, const char* field, const auto& list, const auto* table) {
        ForEachEntry(list, [&](uint16_t id, uint32_t) { single(file, owner, field, id, table); });
    };
    ForEachRecord(t.Facilities(), [&](const FacilityAnnex& r) {
        each(ANNEX_FACILITY, r.GetKey(), "airFacilityIDs", r.airFacilityIDs, t.AirFacilities());
        each(ANNEX_FACILITY, r.GetKey(), "sensors", r.sensors, t.Sensors());
        each(ANNEX_FACILITY, r.GetKey(), "mounts", r.mounts, t.Mounts());
        each(ANNEX_FACILITY, r.GetKey(), "commIDs", r.commIDs, t.Comms());
        each(ANNEX_FACILITY, r.GetKey(), "magazineIDs", r.magazineIDs, t.Magazines());
        each(ANNEX_FACILITY, r.GetKey(), "fuelIDs", r.fuelIDs, t.Fuels());
    });
    ForEachRecord(t.Installations(), [&](const InstallationAnnex& r) {
        each(ANNEX_INSTALLA, r.GetKey(), "points", r.points, t.Facilities());
    });
    ForEachRecord(t.Loadouts(), [&](const LoadoutAnnex& r) {
        each(ANNEX_LOADOUT, r.GetKey(), "weaponRecIDs", r.weaponRecIDs, t.WeaponRecs());
    });
    for (const AnnexTable<MountAnnex>* table : {t.Mounts(), t.Magazines()}) {
        ForEachRecord(table, [&](const MountAnnex& r) {
            each(table->GetFileName(), r.GetKey(), "sensorIDs", r.sensorIDs, t.Sensors());
            each(table->GetFileName(), r.GetKey(), "weaponRecIDs", r.weaponRecIDs, t.WeaponRecs());
        });
    }
    ForEachRecord(t.Planes(), [&](const PlaneAnnex& r) {
        each(ANNEX_PLANE, r.GetKey(), "propulsionIDs", r.propulsionIDs, t.Propulsions());
        each(ANNEX_PLANE, r.GetKey(), "sensorIDs", r.sensorIDs, t.Sensors());
        each(ANNEX_PLANE, r.GetKey(), "mountIDs", r.mountIDs, t.Mounts());
        each(ANNEX_PLANE, r.GetKey(), "loadouts", r.loadouts, t.Loadouts());
        each(ANNEX_PLANE, r.GetKey(), "commIDs", r.commIDs, t.Comms());
        each(ANNEX_PLANE, r.GetKey(), "fuelIDs", r.fuelIDs, t.Fuels());
    });
    ForEachRecord(t.Ships(), [&](const ShipAnnex& r) {
        each(ANNEX_SHIP, r.GetKey(), "airFacilityIDs", r.airFacilityIDs, t.AirFacilities());
        each(ANNEX_SHIP, r.GetKey(), "propulsionIDs", r.propulsionIDs, t.Propulsions());
        each(ANNEX_SHIP, r.GetKey(), "sensors", r.sensors, t.Sensors());
        each(ANNEX_SHIP, r.GetKey(), "mounts", r.mounts, t.Mounts());
        each(ANNEX_SHIP, r.GetKey(), "commIDs", r.commIDs, t.Comms());
        each(ANNEX_SHIP, r.GetKey(), "fuelIDs", r.fuelIDs, t.Fuels());
        each(ANNEX_SHIP, r.GetKey(), "magazineIDs", r.magazineIDs, t.Magazines());
    });
    ForEachRecord(t.Subs(), [&](const SubAnnex& r) {
        each(ANNEX_SUB, r.GetKey(), "propulsionIDs", r.propulsionIDs, t.Propulsions());
        each(ANNEX_SUB, r.GetKey(), "sensors", r.sensors, t.Sensors());
        each(ANNEX_SUB, r.GetKey(), "mounts", r.mounts, t.Mounts());
        each(ANNEX_SUB, r.GetKey(), "magazineIDs", r.magazineIDs, t.Magazines());
        each(ANNEX_SUB, r.GetKey(), "commIDs", r.commIDs, t.Comms());
        each(ANNEX_SUB, r.GetKey(), "fuelIDs", r.fuelIDs, t.Fuels());
    });
    ForEachRecord(t.Weapons(), [&](const WeaponAnnex& r) {
        each(ANNEX_WEAPON, r.GetKey(), "warheadIDs", r.warheadIDs, t.Warheads());
        each(ANNEX_WEAPON, r.GetKey(), "propulsionIDs", r.propulsionIDs, t.Propulsions());
        each(ANNEX_WEAPON, r.GetKey(), "sensors", r.sensors, t.Sensors());
        each(ANNEX_WEAPON, r.GetKey(), "commIDs", r.commIDs, t.Comms());
        each(ANNEX_WEAPON, r.GetKey(), "fuelIDs", r.fuelIDs, t.Fuels());
        // The launcher's sensors that may guide the weapon.
        each(ANNEX_WEAPON, r.GetKey(), "fifthIDs", r.fifthIDs, t.Sensors());
    });
    ForEachRecord(t.WeaponRecs(), [&](const WeaponRec& r) {
        single(ANNEX_WEAPREC, r.GetKey(), "weaponID", r.weaponID, t.Weapons());
    });
    // A warhead of type 2 stands for a weapon, whose ID its damage field holds.
    ForEachRecord(t.Warheads(), [&](const WarheadAnnex& r) {
        if (r.warheadType == 2)
            single(ANNEX_WARHEAD, r.GetKey(), "damage", r.damage, t.Weapons());
    });
}

// A plant's engines are engine codes; the second may be none.
void CheckEngineCodes(const AnnexTables& t, std::vector<AnnexRefusal>& out)
{
    Refuser refuse(out, ANNEX_PROPULS);
    ForEachRecord(t.Propulsions(), [&](const PropulsionAnnex& r) {
        if (!IsEngineType(r.primaryType))
            refuse.Refuse(r.GetKey(), "primaryType", "engine code " + std::to_string(r.primaryType)
                                                          + " is none of the engine bits 1 to 4096");
        if (r.secondaryType != ENGINE_NONE && !IsEngineType(r.secondaryType))
            refuse.Refuse(r.GetKey(), "secondaryType", "engine code " + std::to_string(r.secondaryType)
                                                            + " is none of the engine bits 1 to 4096");
    });
}

// A fuel store holds one of the fuels 1 to 9.
void CheckFuelTypes(const AnnexTables& t, std::vector<AnnexRefusal>& out)
{
    Refuser refuse(out, ANNEX_FUEL);
    ForEachRecord(t.Fuels(), [&](const FuelAnnex& r) {
        if (r.fuelType == FUEL_NONE || r.fuelType > FUEL_TYPE_LAST)
            refuse.Refuse(r.GetKey(), "fuelType", "fuel type " + std::to_string(r.fuelType)
                                                       + " is none of the fuels 1 to " + std::to_string(FUEL_TYPE_LAST));
    });
}

// Every sensor record makes a sensor, and a mount or magazine lists none of
// the suites, which make no sensor there.
void CheckSensorTypes(const AnnexTables& t, std::vector<AnnexRefusal>& out)
{
    Refuser refuse(out, ANNEX_SENSOR);
    ForEachRecord(t.Sensors(), [&](const SensorAnnex& r) {
        if (!SensorTypeMakesSensor(r.sensorType, SensorHolder::Unit))
            refuse.Refuse(r.GetKey(), "sensorType", "sensor type " + std::to_string(r.sensorType)
                                                         + " makes no sensor");
    });
    for (const AnnexTable<MountAnnex>* table : {t.Mounts(), t.Magazines()}) {
        Refuser refuseMount(out, table->GetFileName());
        ForEachRecord(table, [&](const MountAnnex& r) {
            ForEachEntry(r.sensorIDs, [&](uint16_t id, uint32_t) {
                const SensorAnnex* sensor = t.Sensors()->Find(id);
                if (sensor && SensorTypeMakesSensor(sensor->sensorType, SensorHolder::Unit)
                    && !SensorTypeMakesSensor(sensor->sensorType, SensorHolder::Mount))
                    refuseMount.Refuse(r.GetKey(), "sensorIDs",
                                       "sensor " + std::to_string(id) + " is a suite (type "
                                           + std::to_string(sensor->sensorType) + "), which makes no sensor on a mount");
            });
        });
    }
}

// An air facility is one of the kinds 1 to 8.
void CheckAirFacilityKinds(const AnnexTables& t, std::vector<AnnexRefusal>& out)
{
    Refuser refuse(out, ANNEX_AIRFACIL);
    ForEachRecord(t.AirFacilities(), [&](const AirFacilityAnnex& r) {
        if (r.kindCode < AIR_FACILITY_RUNWAY || r.kindCode > AIR_FACILITY_PARKING)
            refuse.Refuse(r.GetKey(), "kindCode", "air facility kind " + std::to_string(r.kindCode)
                                                       + " is none of the kinds 1 to 8");
    });
}

// An air facility serves one of the aircraft size classes; any other low byte
// of its size word gives it no room at all.
void CheckAirFacilitySizes(const AnnexTables& t, std::vector<AnnexRefusal>& out)
{
    Refuser refuse(out, ANNEX_AIRFACIL);
    ForEachRecord(t.AirFacilities(), [&](const AirFacilityAnnex& r) {
        bool known = false;
        for (uint8_t size : AIRCRAFT_SIZES)
            known |= r.GetSizeClass() == size;
        if (!known)
            refuse.Refuse(r.GetKey(), "value", "aircraft size class " + std::to_string(r.GetSizeClass())
                                                    + " is none of 1, 2, 4 ... 128");
    });
}

// Arc masks hold only the eight sector bits, and a mount's holds at least one
// (a sensor's 0 stands for all round).
void CheckArcMasks(const AnnexTables& t, std::vector<AnnexRefusal>& out)
{
    auto check = [&](const char* file, uint16_t owner, const char* field, const IDRecordList& list, bool mount) {
        ForEachEntry(list, [&](uint16_t id, uint32_t arc) {
            if ((arc & ~ARC_SECTOR_BITS) != 0)
                Refuser(out, file).Refuse(owner, field, "the arc " + Hex(arc) + " of " + std::to_string(id)
                                                            + " holds bits outside the eight sectors "
                                                            + Hex(ARC_SECTOR_BITS));
            else if (mount && arc == 0)
                Refuser(out, file).Refuse(owner, field, "the arc 0 of mount " + std::to_string(id)
                                                            + " is never in arc");
        });
    };
    ForEachSensorList(t, [&](const char* file, uint16_t owner, const char* field, const IDRecordList& list) {
        check(file, owner, field, list, false);
    });
    ForEachMountList(t, [&](const char* file, uint16_t owner, const char* field, const IDRecordList& list) {
        check(file, owner, field, list, true);
    });
}

// A sonar listens in exactly one of the three sonar bands and no other band;
// any other sensor in none of them.
void CheckSonarBands(const AnnexTables& t, std::vector<AnnexRefusal>& out)
{
    Refuser refuse(out, ANNEX_SENSOR);
    ForEachRecord(t.Sensors(), [&](const SensorAnnex& r) {
        const uint32_t bands = r.searchBands & SONAR_BANDS;
        if (IsSonarType(r.sensorType)) {
            if (r.searchBands != SONAR_BAND_LOW && r.searchBands != SONAR_BAND_MIDDLE
                && r.searchBands != SONAR_BAND_HIGH)
                refuse.Refuse(r.GetKey(), "searchBands", "a sonar's bands " + Hex(r.searchBands)
                                                              + " must be one of 0x1000000 (low), 0x2000000 "
                                                                "(middle) and 0x4000000 (high)");
        } else if (bands != 0) {
            refuse.Refuse(r.GetKey(), "searchBands", "bands " + Hex(r.searchBands)
                                                          + " hold a sonar band, and the sensor is no sonar");
        }
    });
}

std::string RangeText(int32_t lowest, int32_t highest)
{
    return std::to_string(lowest) + " to " + std::to_string(highest);
}

// Altitudes, depths and heights lie where tens of metres make sense; the
// bands of a plant rise from one to the next so that the first band reaching
// an altitude is the band for it; a ship, sub or plane can move at the
// surface.
void CheckAltitudes(const AnnexTables& t, std::vector<AnnexRefusal>& out)
{
    auto inRange = [](int32_t value, int32_t lowest, int32_t highest) {
        return value >= lowest && value <= highest;
    };
    Refuser propulsion(out, ANNEX_PROPULS);
    ForEachRecord(t.Propulsions(), [&](const PropulsionAnnex& r) {
        for (int s = 0; s < PropulsionAnnex::SETTINGS; ++s) {
            bool unusedSeen = false;
            int32_t lastCeiling = ALTITUDE_LOWEST - 1;
            for (int b = 0; b < PropulsionAnnex::BANDS; ++b) {
                const PropulsionSpeed& e = r.speedTable[s][b];
                const std::string where = "row " + std::to_string(s) + " band " + std::to_string(b) + ": ";
                if (e.upper == 0 && e.lower == 0 && e.speed == 0) {
                    unusedSeen = true;
                    continue;
                }
                if (unusedSeen)
                    propulsion.Refuse(r.GetKey(), "speedTable", where + "follows an empty band");
                else if (!inRange(e.upper, ALTITUDE_LOWEST, ALTITUDE_HIGHEST)
                         || !inRange(e.lower, ALTITUDE_LOWEST, ALTITUDE_HIGHEST))
                    propulsion.Refuse(r.GetKey(), "speedTable", where + "bounds " + std::to_string(e.upper) + ", "
                                                                    + std::to_string(e.lower) + " leave "
                                                                    + RangeText(ALTITUDE_LOWEST, ALTITUDE_HIGHEST)
                                                                    + " tens of metres");
                else if (e.lower > e.upper)
                    propulsion.Refuse(r.GetKey(), "speedTable", where + "its lower bound lies above its upper");
                else if (e.upper <= lastCeiling)
                    propulsion.Refuse(r.GetKey(), "speedTable", where + "does not rise above the band before");
                lastCeiling = e.upper;
            }
        }
    });

    Refuser weapons(out, ANNEX_WEAPON);
    ForEachRecord(t.Weapons(), [&](const WeaponAnnex& r) {
        if ((r.weaponFlags & WEAPON_FLAG_CLEARANCE) != 0) {
            if (!inRange(r.launchAltitude, CLEARANCE_LOWEST, CLEARANCE_HIGHEST))
                weapons.Refuse(r.GetKey(), "launchAltitude",
                               "the clearance " + std::to_string(r.launchAltitude) + " of a weapon with flag 0x0008 "
                                   "leaves " + RangeText(CLEARANCE_LOWEST, CLEARANCE_HIGHEST) + " tens of metres");
        } else if (!inRange(r.launchAltitude, ALTITUDE_LOWEST, ALTITUDE_HIGHEST)) {
            weapons.Refuse(r.GetKey(), "launchAltitude", std::to_string(r.launchAltitude) + " leaves "
                                                             + RangeText(ALTITUDE_LOWEST, ALTITUDE_HIGHEST)
                                                             + " tens of metres");
        }
        if (!inRange(r.maxLaunchAltitude, ALTITUDE_LOWEST, ALTITUDE_HIGHEST))
            weapons.Refuse(r.GetKey(), "maxLaunchAltitude", std::to_string(r.maxLaunchAltitude) + " leaves "
                                                                + RangeText(ALTITUDE_LOWEST, ALTITUDE_HIGHEST)
                                                                + " tens of metres");
        if (!inRange(r.minLaunchAltitude, ALTITUDE_LOWEST, ALTITUDE_HIGHEST))
            weapons.Refuse(r.GetKey(), "minLaunchAltitude", std::to_string(r.minLaunchAltitude) + " leaves "
                                                                + RangeText(ALTITUDE_LOWEST, ALTITUDE_HIGHEST)
                                                                + " tens of metres");
        else if (r.maxLaunchAltitude != 0 && r.minLaunchAltitude > r.maxLaunchAltitude)
            weapons.Refuse(r.GetKey(), "minLaunchAltitude", "lies above the highest launch altitude "
                                                                + std::to_string(r.maxLaunchAltitude));
    });

    Refuser facilities(out, ANNEX_FACILITY);
    ForEachRecord(t.Facilities(), [&](const FacilityAnnex& r) {
        if (!inRange(r.height, 0, FACILITY_HEIGHT_HIGHEST))
            facilities.Refuse(r.GetKey(), "height", std::to_string(r.height) + " leaves "
                                                        + RangeText(0, FACILITY_HEIGHT_HIGHEST) + " tens of metres");
    });

    Refuser subs(out, ANNEX_SUB);
    ForEachRecord(t.Subs(), [&](const SubAnnex& r) {
        if (!inRange(r.maxDepth, SUB_DEPTH_DEEPEST, -1))
            subs.Refuse(r.GetKey(), "maxDepth", std::to_string(r.maxDepth) + " leaves "
                                                    + RangeText(SUB_DEPTH_DEEPEST, -1) + " tens of metres");
    });

    ForEachPropelled(t, [&](const auto* table, uint32_t, bool atSurface) {
        if (!atSurface)
            return;
        Refuser refuse(out, table->GetFileName());
        ForEachRecord(table, [&](const auto& r) {
            bool surface = r.propulsionIDs.First() == nullptr;   // nothing to move it anyway
            ForEachEntry(r.propulsionIDs, [&](uint16_t id, uint32_t) {
                if (const PropulsionAnnex* plant = t.Propulsions()->Find(id))
                    for (const auto& row : plant->speedTable)
                        for (const PropulsionSpeed& e : row)
                            surface |= e.speed != 0 && e.lower <= 0 && e.upper >= 0;
            });
            if (!surface)
                refuse.Refuse(r.GetKey(), "propulsionIDs", "no plant has a band with a speed at the surface (0)");
        });
    });
}

// Speeds stay within what the kind of platform can make, and a plant gives
// some speed; a weapon's launch speed limits are speeds a launcher flies at.
void CheckSpeeds(const AnnexTables& t, std::vector<AnnexRefusal>& out)
{
    Refuser propulsion(out, ANNEX_PROPULS);
    ForEachRecord(t.Propulsions(), [&](const PropulsionAnnex& r) {
        if (r.GetTopSpeed() == 0)
            propulsion.Refuse(r.GetKey(), "speedTable", "gives no speed in any band");
    });
    ForEachPropelled(t, [&](const auto* table, uint32_t highest, bool) {
        Refuser refuse(out, table->GetFileName());
        ForEachRecord(table, [&](const auto& r) {
            ForEachEntry(r.propulsionIDs, [&](uint16_t id, uint32_t) {
                const PropulsionAnnex* plant = t.Propulsions()->Find(id);
                if (plant && plant->GetTopSpeed() > highest)
                    refuse.Refuse(r.GetKey(), "propulsionIDs",
                                  "plant " + std::to_string(id) + " gives " + std::to_string(plant->GetTopSpeed())
                                      + " knots, above the " + std::to_string(highest) + " this kind can make");
            });
        });
    });
    Refuser weapons(out, ANNEX_WEAPON);
    ForEachRecord(t.Weapons(), [&](const WeaponAnnex& r) {
        if (r.maxLaunchSpeed > LAUNCH_SPEED_HIGHEST)
            weapons.Refuse(r.GetKey(), "maxLaunchSpeed", std::to_string(r.maxLaunchSpeed) + " knots is above "
                                                             + std::to_string(LAUNCH_SPEED_HIGHEST));
        if (r.minLaunchSpeed > LAUNCH_SPEED_HIGHEST)
            weapons.Refuse(r.GetKey(), "minLaunchSpeed", std::to_string(r.minLaunchSpeed) + " knots is above "
                                                             + std::to_string(LAUNCH_SPEED_HIGHEST));
        else if (r.maxLaunchSpeed != 0 && r.minLaunchSpeed > r.maxLaunchSpeed)
            weapons.Refuse(r.GetKey(), "minLaunchSpeed", "lies above the highest launch speed "
                                                             + std::to_string(r.maxLaunchSpeed));
    });
}

// Hit chances are percentages; an air hit chance is read as the stored value
// plus 30, a decoy's values as they stand.
void CheckHitChances(const AnnexTables& t, std::vector<AnnexRefusal>& out)
{
    Refuser refuse(out, ANNEX_WEAPON);
    ForEachRecord(t.Weapons(), [&](const WeaponAnnex& r) {
        if (r.surfaceChance > CHANCE_HIGHEST)
            refuse.Refuse(r.GetKey(), "surfaceChance", std::to_string(r.surfaceChance) + " % is above 100");
        if (r.surfaceChanceFar > CHANCE_HIGHEST)
            refuse.Refuse(r.GetKey(), "surfaceChanceFar", std::to_string(r.surfaceChanceFar) + " % is above 100");
        const bool decoy = r.GetWeaponKind() == WEAPON_KIND_DECOY;
        const int32_t offset = decoy ? 0 : AIR_CHANCE_OFFSET;
        const std::pair<const char*, int8_t> airChances[] = {{"airChance", r.airChance},
                                                             {"airChanceLong", r.airChanceLong}};
        for (const auto& [field, stored] : airChances) {
            const int32_t chance = stored + offset;
            if (chance < 0 || chance > CHANCE_HIGHEST)
                refuse.Refuse(r.GetKey(), field,
                              decoy ? "a decoy value of " + std::to_string(stored) + " leaves 0 to 100"
                                    : "the stored " + std::to_string(stored) + " reads as " + std::to_string(chance)
                                          + " % (the chance is stored less 30)");
        }
    });
}

// Every engine of a platform's plants, but a nuclear one, burns one of the
// platform's fuels: an engine without fuel never runs.
void CheckEngineFuels(const AnnexTables& t, std::vector<AnnexRefusal>& out)
{
    ForEachPropelled(t, [&](const auto* table, uint32_t, bool) {
        Refuser refuse(out, table->GetFileName());
        ForEachRecord(table, [&](const auto& r) {
            ForEachEntry(r.propulsionIDs, [&](uint16_t id, uint32_t) {
                const PropulsionAnnex* plant = t.Propulsions()->Find(id);
                if (!plant)
                    return;
                for (uint32_t engine : {plant->primaryType, plant->secondaryType}) {
                    if (engine == ENGINE_NONE || EngineNeedsNoFuel(engine))
                        continue;
                    bool burns = false;
                    std::string fuels;
                    ForEachEntry(r.fuelIDs, [&](uint16_t fuelID, uint32_t) {
                        if (const FuelAnnex* fuel = t.Fuels()->Find(fuelID)) {
                            burns |= EngineAcceptsFuel(engine, fuel->fuelType);
                            fuels += (fuels.empty() ? "" : ", ") + std::to_string(fuel->fuelType) + " "
                                + FuelName(fuel->fuelType);
                        }
                    });
                    if (!burns)
                        refuse.Refuse(r.GetKey(), "fuelIDs",
                                      "engine " + EngineText(engine) + " of plant " + std::to_string(id)
                                          + " burns none of the fuel types carried ("
                                          + (fuels.empty() ? "none" : fuels) + ")");
                }
            });
        });
    });
}

} // namespace

const AnnexRule ANNEX_RULES[] = {
    {"cross-references", CheckReferences},
    {"engine codes", CheckEngineCodes},
    {"fuel types", CheckFuelTypes},
    {"sensor types", CheckSensorTypes},
    {"air facility kinds", CheckAirFacilityKinds},
    {"air facility sizes", CheckAirFacilitySizes},
    {"arc masks", CheckArcMasks},
    {"sonar bands", CheckSonarBands},
    {"altitude ranges", CheckAltitudes},
    {"speed ranges", CheckSpeeds},
    {"hit chances", CheckHitChances},
    {"engines and fuels", CheckEngineFuels},
};
const size_t ANNEX_RULE_COUNT = sizeof ANNEX_RULES / sizeof ANNEX_RULES[0];

std::string DescribeRefusal(const AnnexRefusal& refusal)
{
    return refusal.file + " record " + std::to_string(refusal.record) + ": field \"" + refusal.field + "\": "
        + refusal.reason;
}

std::vector<AnnexRefusal> CheckAnnexRules(const AnnexTables& tables)
{
    std::vector<AnnexRefusal> refusals;
    for (size_t i = 0; i < ANNEX_RULE_COUNT; ++i)
        ANNEX_RULES[i].check(tables, refusals);
    return refusals;
}
