// WeaponAnnex.h: WeaponAnnex, one record of weapon.dat: a gun, missile,
// torpedo, bomb, depth charge, sonobuoy or decoy with its warheads,
// propulsion, sensors, hit chances, ranges and launch limits, and the flight
// figures worked out for it once the annex is loaded, and the questions the
// weapon model asks of it (kind, warheads, damage, speeds). Working the
// flight figures out needs a weapon unit: PrepareFlight is the engagement
// model's (engagement/WeaponFlight.cpp), installed as the derived-figure hook.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "annex/AnnexFile.h"
#include "annex/ShortTriple.h"
#include "core/IDList.h"
#include "core/IDRecord.h"
#include "core/NameString.h"
#include "core/TreeListOf.h"

// Resource number of a weapon's description text: this base + textNumber.
constexpr int32_t WEAPON_TEXT_BASE = 0x430000;

// Weapon kinds the record itself treats apart.
constexpr uint32_t WEAPON_KIND_FLOORED_RANGE = 2;   // maximum range floored on reading
constexpr uint32_t WEAPON_KIND_DECOY = 2048;        // attacks target class 16 only
constexpr uint32_t DECOY_TARGET_MASK = 16;
constexpr uint32_t WEAPON_KIND_MISSILE = 1;
constexpr uint32_t WEAPON_KIND_BOMB = 2;
constexpr uint32_t WEAPON_KIND_GUN = 8;
constexpr uint32_t WEAPON_KIND_TORPEDO = 16;
constexpr uint32_t WEAPON_KIND_ROCKET = 128;
// weaponFlags: the fixed launch altitude replaces the one asked about.
constexpr uint32_t FIXED_LAUNCH_ALTITUDE = 0x100;
// The report of a warhead id that warhead.dat lacks.
constexpr const char* WARHEAD_MISSING_TEXT = "WarheadAnnex:: warhead annex entry not found!";
// The least maximum range a weapon of kind WEAPON_KIND_FLOORED_RANGE reads
// with: 2.0 nautical miles, in tenths.
constexpr uint32_t FLOORED_MAX_RANGE = 20;

class WeaponAnnex : public TreeListNode<WeaponAnnex> {
public:
    // File layout, little-endian:
    //   0  ID                  u16
    //   2  targetMask          code32        target classes the weapon attacks
    //   6  weaponKind          code32
    //  10  warheadIDs          ID list       warhead.dat IDs
    //      triple1 .. 5        5 x ShortTriple
    //      propulsionIDs       ID list       propuls.dat IDs
    //      sensors             ID-value list sensor.dat IDs, value each
    //      commIDs             ID list       comm.dat IDs
    //      fuelIDs             ID list       fuel.dat IDs
    //      length              u16           tenths of a metre
    //      span                u16           tenths of a metre
    //      weight              u16           kilograms
    //      textNumber          u16           description WEAPON_TEXT_BASE + this
    //      value1              u8
    //      launchAltitude      i16           fixed launch altitude
    //      value2              u8
    //      surfaceChance       u8            hit chance at near range, percent
    //      surfaceChanceFar    u8            hit chance at far range, percent
    //      airChance           i8            air hit chance
    //      airChanceLong       i8
    //      maxLaunchSpeed      u16
    //      minLaunchSpeed      u16
    //      maxRange            u32           tenths of a nautical mile
    //      minRange            u16           tenths of a nautical mile
    //      maxLaunchAltitude   i16
    //      minLaunchAltitude   i16
    //      value3              u8
    //      className           NameString    first name
    //      secondName          NameString
    //      bytes               4 x u8
    //      fifthIDs            ID list
    //      weaponFlags         u32
    //      climbRate           u16           metres per second at sea level
    //      value4, value5      2 x u16
    //      value6              u8
    //      extra1, extra2      2 x i16       version 1 only
    //      alternateID         u16           version 1 only: the weapon
    //                                        carried instead when short; 0 none
    //      lastValue           u32           version 1 only
    static constexpr int64_t MIN_FILE_BYTES = 102;
    static constexpr int64_t VERSION1_BYTES = 10;   // what version 1 adds
    static constexpr int BYTE_COUNT = 4;

    // Every number 0, every list empty, texts empty, nothing worked out.
    WeaponAnnex() = default;
    explicit WeaponAnnex(uint16_t id) : TreeListNode<WeaponAnnex>(id) {}
    ~WeaponAnnex() override = default;   // the lists free their nodes

    uint32_t GetWeaponKind() const { return weaponKind; }
    // The target classes the weapon attacks: DECOY_TARGET_MASK for a decoy,
    // else the record's mask.
    uint32_t GetTargetMask() const;
    int32_t GetTextResource() const { return WEAPON_TEXT_BASE + textNumber; }

    // The OR of the types of all the weapon's warheads. A warhead id that
    // warhead.dat lacks is reported (WARHEAD_MISSING_TEXT, fatal) and, when
    // the report returns, passed over; so in every walk below.
    uint32_t GetWarheadTypeMask() const;
    // True when a warhead's type is exactly a nuclear one (0x1000, 0x2000
    // or 0x4000).
    bool HasNuclearWarhead() const;
    // Whether a mount may fire the weapon at a target at all: a nuclear
    // weapon, kinds 1, 16 and 128, and kind 2 with a cluster (0x800) or
    // enhanced conventional (0x8000) warhead.
    bool CheckKind() const;
    // The largest damage of one warhead, compared on 16 bits: types 0 and 1
    // give 0, nuclear types 65535, type 2 the damage of the sub-munition
    // weapon its damage field names (0 when missing), any other damage x
    // count (damage when the count is 0). A sub-munition chain that leads
    // back to a weapon already on it counts 0 there, so a cyclic database
    // ends.
    uint16_t GetDamagePoints() const;
    // The best speed (knots) of propulsion settings 2 and 3 (sprint) or 1
    // (cruise) at the altitude (tens of metres) over the weapon's
    // propulsion records: in each, the first band whose upper bound is at
    // least the altitude. With weaponFlags bit FIXED_LAUNCH_ALTITUDE the
    // record's launch altitude stands for the one given. 0 when none.
    uint16_t GetSprintSpeedAt(int16_t altitude) const;
    uint16_t GetCruiseSpeedAt(int16_t altitude) const;
    // Works the flight figures out (engagement/WeaponFlight.cpp).
    void PrepareFlight();

    // Reads the layout above; the version-1 fields only when the current
    // annex version is not 0 (they stay 0 otherwise). In files of every
    // version a weapon of kind WEAPON_KIND_FLOORED_RANGE stored with a
    // maximum range below FLOORED_MAX_RANGE reads with FLOORED_MAX_RANGE.
    // The lists and the flight figures are emptied first; a list count larger
    // than the bytes left fails the stream. Answers the stream's state.
    bool Read(std::istream& in);
    void Load(std::istream& in) { Read(in); }
    // Writes the layout of the given annex version, the fields as they
    // stand (no floor applied); the flight figures are not written.
    void Save(std::ostream& out, uint32_t annexVersion = ANNEX_VERSION) const;

    uint32_t targetMask = 0;
    uint32_t weaponKind = 0;
    IDList warheadIDs;
    ShortTriple triple1;
    ShortTriple triple2;
    ShortTriple triple3;
    ShortTriple triple4;
    ShortTriple triple5;
    IDList propulsionIDs;
    IDRecordList sensors;
    IDList commIDs;
    IDList fuelIDs;
    uint16_t length = 0;
    uint16_t span = 0;
    uint16_t weight = 0;
    uint16_t textNumber = 0;
    uint8_t value1 = 0;
    int16_t launchAltitude = 0;
    uint8_t value2 = 0;
    uint8_t surfaceChance = 0;
    uint8_t surfaceChanceFar = 0;
    int8_t airChance = 0;
    int8_t airChanceLong = 0;
    uint16_t maxLaunchSpeed = 0;
    uint16_t minLaunchSpeed = 0;
    uint32_t maxRange = 0;
    uint16_t minRange = 0;
    int16_t maxLaunchAltitude = 0;
    int16_t minLaunchAltitude = 0;
    uint8_t value3 = 0;
    NameString className;
    NameString secondName;
    uint8_t bytes[BYTE_COUNT] = {};
    IDList fifthIDs;
    uint32_t weaponFlags = 0;
    uint16_t climbRate = 0;
    uint16_t value4 = 0;
    uint16_t value5 = 0;
    uint8_t value6 = 0;
    int16_t extra1 = 0;
    int16_t extra2 = 0;
    uint16_t alternateID = 0;   // weapon.dat record armed instead when short; 0 none
    uint32_t lastValue = 0;

    // Flight figures, worked out once the annex is loaded; no file holds them.
    uint16_t cruiseSpeed = 0;    // knots
    uint32_t cruiseLimit = 0;
    uint16_t sprintSpeed = 0;    // knots; 0 without a faster setting
    uint32_t sprintLimit = 0;
    bool hasSprint = false;
    bool prepared = false;       // the figures have been worked out
    bool guided = false;         // a kind the flight figures apply to

private:
    void ClearFlightFigures();
    uint16_t DamageAlongChain(const WeaponAnnex* chain[], int depth) const;
    uint16_t BestSpeedAt(int16_t altitude, int firstSetting, int lastSetting) const;
};
