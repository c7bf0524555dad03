// UnitClassLossRecord.h: UnitClassLossRecord, the victory item of tag 5: how
// many units of one class (type letter and database record id) a side has
// lost. A list merges records of one class by adding up their counts.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "missions/VictoryItem.h"

// Saved form after the tag byte, little-endian (11 bytes with the tag):
//   recordID     u16   the class's database record id
//   typeLetter   u32   the class's type letter as a character code
//   count        i32   units lost
class UnitClassLossRecord : public VictoryItem {
public:
    UnitClassLossRecord(uint16_t recordID, uint32_t typeLetter, int32_t count);
    UnitClassLossRecord(const UnitClassLossRecord&) = default;
    explicit UnitClassLossRecord(std::istream& in);

    // True when the unit's class key names this record's class.
    bool MatchesUnit(const Unit* unit) const override;
    void Save(std::ostream& out) const override;
    void Load(std::istream& in) override;
    // Six blanks, the count, a blank and the class's name (or the fixed
    // text of its letter when the database has no such record).
    std::string Describe() const override;

    // Same record id and letter, whatever the counts.
    bool IsSameClass(const UnitClassLossRecord& other) const;

    // Adds the other record's count to this one (wrapping at 32 bits) and
    // deletes the other record, which the caller passes over.
    void AddCount(UnitClassLossRecord* other);

    uint16_t GetRecordID() const { return recordID; }
    uint32_t GetTypeLetter() const { return typeLetter; }
    int32_t GetCount() const { return count; }

    // Resource texts naming a class that the database cannot.
    static constexpr int32_t BLANK_CLASS_TEXT = 0x7B00C5;     // letter ' '
    static constexpr int32_t SHIP_CLASS_TEXT = 0x7B00C6;      // 'S'
    static constexpr int32_t PLANE_CLASS_TEXT = 0x7B00C7;     // 'P'
    static constexpr int32_t SUB_CLASS_TEXT = 0x7B00C8;       // 'U'
    static constexpr int32_t FACILITY_CLASS_TEXT = 0x7B00C9;  // 'F'
    static constexpr int32_t WEAPON_CLASS_TEXT = 0x7B00CA;    // 'W'
    static constexpr int32_t OTHER_CLASS_TEXT = 0x7B00CB;     // any other letter

private:
    int32_t count = 0;
    uint32_t typeLetter = 0;
    uint16_t recordID = 0;
};
