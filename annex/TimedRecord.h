// TimedRecord.h: TimedRecord, one attack option (a weapon a unit could fire
// at a target, how many, and why it cannot fire now), kept in chains by attack
// orders, missions and the allocation windows; its saved form, its one-line
// text and the attack-result table that names the reasons. The chain itself
// is core/Chain.h; the code that fills the records lives with weapon fire.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "annex/DBEnum.h"
#include "core/Chain.h"
#include "core/ChainLink.h"
#include "core/GameTime.h"
#include "core/LatLonPoint.h"

// Resource texts of the option's line.
constexpr int32_t UNKNOWN_WEAPON_TEXT = 0x7B025E;   // the whole line when the weapon is missing
constexpr int32_t NONE_ALLOTTED_TEXT = 0x7B019E;    // prefix of a fireable option of count 0

// Result bits: the reasons an option cannot fire. The weapon-firing code
// starts with ATTACK_ALL_REASONS and clears the bit of every test passed, so
// 0 means the weapon can fire.
constexpr uint16_t ATTACK_NO_AMMO = 0x1;
constexpr uint16_t ATTACK_NOT_CAPABLE = 0x2;
constexpr uint16_t ATTACK_NO_NUCLEAR_RELEASE = 0x4;
constexpr uint16_t ATTACK_ALTITUDE_TOO_HIGH = 0x8;
constexpr uint16_t ATTACK_ALTITUDE_TOO_LOW = 0x10;
constexpr uint16_t ATTACK_SPEED_TOO_HIGH = 0x20;
constexpr uint16_t ATTACK_SPEED_TOO_LOW = 0x40;
constexpr uint16_t ATTACK_NOT_BOL_CAPABLE = 0x80;
constexpr uint16_t ATTACK_OUT_OF_RANGE = 0x100;
constexpr uint16_t ATTACK_TOO_CLOSE = 0x200;
constexpr uint16_t ATTACK_NOT_ILLUMINATED = 0x400;
constexpr uint16_t ATTACK_CANNOT_ACQUIRE = 0x800;
constexpr uint16_t ATTACK_BAD_LOCATION = 0x1000;
constexpr uint16_t ATTACK_ALL_REASONS = 0x1FFF;

class TimedRecord : public ChainLink<TimedRecord> {
public:
    // Bytes of the caller's buffer for Describe, terminator included.
    static constexpr int TEXT_SIZE = 64;
    // Bytes of one record's saved form.
    static constexpr int64_t SAVED_BYTES = 41;

    // Every field 0, extra null, in no chain.
    TimedRecord() = default;
    // Copies every field, extra included; the copy starts in no chain.
    TimedRecord(const TimedRecord&) = default;
    // Copies every field; this record keeps its place in its chain.
    TimedRecord& operator=(const TimedRecord&) = default;
    // Leaves the chain it is in, joining its neighbours.
    ~TimedRecord() = default;

    // The attack-result table: 14 rows of (text, mask), "Attack OK" with the
    // mask ATTACK_ALL_REASONS first, then one row per reason bit in the order
    // that Describe searches.
    static const DBEnumTable& AttackResults();

    // The option as one line, into text (TEXT_SIZE bytes, at most 63
    // characters and a zero byte; the rest of the buffer cleared):
    //  - weapon weaponID not in the scenario's weapon table (or no table):
    //    the text UNKNOWN_WEAPON_TEXT alone;
    //  - resultBits 0: "<quantity> x " (decimal), or NONE_ALLOTTED_TEXT when
    //    quantity is 0, then the weapon's name;
    //  - else the text of the first reason row whose bit is set, " : " and
    //    the weapon's name; bits that no row names (0x2000 and above) add no
    //    prefix when no named bit is set.
    // The weapon's name is its second name, a blank when that is not empty,
    // and its first name. The line is cut at 63 characters. A resource text
    // that cannot be had counts as empty.
    void Describe(char (&text)[TEXT_SIZE]) const;

    // Saved form, little-endian, SAVED_BYTES bytes:
    //   firstTime      u32   game seconds
    //   secondTime     u32   game seconds
    //   idA .. idD     4 x u16
    //   position       2 x i32   latitude, longitude, angle units
    //   mountKey       u16
    //   weaponRecKey   u16
    //   weaponID       u16   weapon.dat record
    //   quantity       u8
    //   resultBits     u16
    //   value16        u16
    //   weaponKind     u32
    //   value16b       u16
    // extra is not saved. A chain of records saves as a u16 count and the
    // records (Chain<TimedRecord>).
    void Save(std::ostream& out) const;
    // Reads the saved form; extra becomes null. On a short read the record
    // keeps every field it had, the stream is left failed and the answer is
    // false.
    bool Load(std::istream& in);

    // What the fields mean beyond this belongs to the code that fills them
    // (the shooter, the target, the emitter to home on, the attack value).
    GameTime firstTime;            // game seconds; the option's ready time
    GameTime secondTime;           // game seconds
    uint16_t idA = 0;              // the weapon-firing code finds a record by idA, idD, weaponID
    uint16_t idB = 0;
    uint16_t idC = 0;
    uint16_t idD = 0;
    LatLonPoint position;          // angle units
    uint16_t mountKey = 0;         // key of the mount holding the weapon record
    uint16_t weaponRecKey = 0;     // key of the weapon record
    uint16_t weaponID = 0;         // weapon.dat record
    uint8_t quantity = 0;          // weapons available or allotted
    uint16_t resultBits = 0;       // reasons it cannot fire; 0: it can
    uint16_t value16 = 0;          // weapon value
    uint32_t weaponKind = 0;       // weapon kind code
    void* extra = nullptr;         // the filler's own pointer (a stock record); not saved
    uint16_t value16b = 0;
};

using TimedRecordChain = Chain<TimedRecord>;
