// VictoryItem.h: VictoryItem, the base of the tagged victory items that the
// victory conditions and each side's victory manager keep in a
// VictoryItemList, and the items that describe a set of units:
// PlatformKindItem (tag 1), UnitNameItem (2), UnitItem (3), UnitTypeItem (4)
// and UnitValuesItem (8). The records of tags 5, 6 and 7 (UnitClassLossRecord,
// ViolationRecord, UnitPairRecord) have files of their own.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "core/NameString.h"

class Unit;

// The tag byte that opens every saved item and names its class.
namespace VictoryTag {
constexpr uint8_t NONE = 0;           // a bare base item; never saved by a list
constexpr uint8_t PLATFORM_KIND = 1;  // PlatformKindItem
constexpr uint8_t UNIT_NAME = 2;      // UnitNameItem
constexpr uint8_t UNIT = 3;           // UnitItem
constexpr uint8_t UNIT_TYPE = 4;      // UnitTypeItem
constexpr uint8_t CLASS_LOSS = 5;     // UnitClassLossRecord
constexpr uint8_t VIOLATION = 6;      // ViolationRecord
constexpr uint8_t UNIT_PAIR = 7;      // UnitPairRecord
constexpr uint8_t UNIT_VALUES = 8;    // UnitValuesItem
constexpr uint8_t LAST = UNIT_VALUES;
}  // namespace VictoryTag

class VictoryItem {
public:
    // Bytes of a description buffer, its zero byte included: a longer text
    // is cut to DESCRIPTION_SIZE - 1 characters.
    static constexpr size_t DESCRIPTION_SIZE = 2048;

    // A bare item, tag 0: it matches nothing, saves nothing and describes
    // itself as an illegal item.
    VictoryItem() = default;
    VictoryItem(const VictoryItem&) = default;
    VictoryItem& operator=(const VictoryItem&) = delete;
    virtual ~VictoryItem() = default;

    // Whether the unit belongs to the set the item describes; false for a
    // null unit and for the records (tags 5 to 7 answer for themselves).
    virtual bool MatchesUnit(const Unit* unit) const;

    // The saved form: the tag byte, then the item's own fields (nothing for
    // a bare item). Load reads the fields after the tag, which the list's
    // loader has already read; a short read leaves the stream failed.
    virtual void Save(std::ostream& out) const;
    virtual void Load(std::istream& in);

    // The item's text for the victory reports, at most DESCRIPTION_SIZE - 1
    // characters.
    virtual std::string Describe() const;

    uint8_t GetTag() const { return tag; }

protected:
    explicit VictoryItem(uint8_t itemTag) : tag(itemTag) {}

    // The text cut to what a description buffer holds.
    static std::string FitDescription(std::string text);

    // Whether the unit's class key holds the record id in its lower and the
    // letter in its upper (sign-extended) 16 bits; false for a null unit.
    static bool HasClassKey(const Unit* unit, uint16_t recordID, uint32_t letter);

private:
    uint8_t tag = VictoryTag::NONE;
};

// Tag 1: the units of one platform kind, by annex id and type letter.
//   annexID      u16
//   typeLetter   u32   a character code (' ', 'F', 'P', 'S', 'U', 'W' ...)
class PlatformKindItem : public VictoryItem {
public:
    PlatformKindItem(uint16_t annexID, uint32_t typeLetter);
    PlatformKindItem(const PlatformKindItem&) = default;
    explicit PlatformKindItem(std::istream& in);

    bool MatchesUnit(const Unit* unit) const override;
    void Save(std::ostream& out) const override;
    void Load(std::istream& in) override;
    std::string Describe() const override;

    // Same annex id and letter.
    bool IsSameKind(const PlatformKindItem& other) const;

    uint16_t GetAnnexID() const { return annexID; }
    uint32_t GetTypeLetter() const { return typeLetter; }

private:
    uint16_t annexID = 0;
    uint32_t typeLetter = 0;
};

// Tag 2: the units whose class name equals the name.
//   name   NameString
class UnitNameItem : public VictoryItem {
public:
    UnitNameItem();
    explicit UnitNameItem(const char* unitName);
    UnitNameItem(const UnitNameItem&) = default;
    explicit UnitNameItem(std::istream& in);

    bool MatchesUnit(const Unit* unit) const override;
    void Save(std::ostream& out) const override;
    void Load(std::istream& in) override;
    std::string Describe() const override;

    const NameString& GetName() const { return name; }

private:
    NameString name;
};

// Tag 3: one unit, by its id and its name.
//   unitID   u16
//   name     NameString
class UnitItem : public VictoryItem {
public:
    UnitItem(uint16_t unitID, const char* unitName);
    UnitItem(const UnitItem&) = default;
    explicit UnitItem(std::istream& in);

    bool MatchesUnit(const Unit* unit) const override;
    void Save(std::ostream& out) const override;
    void Load(std::istream& in) override;
    std::string Describe() const override;

    // Same unit id and name.
    bool IsEqual(const UnitItem& other) const;

    uint16_t GetUnitID() const { return unitID; }
    const NameString& GetName() const { return name; }

private:
    uint16_t unitID = 0;
    NameString name;
};

// Tag 4: the units of one type letter.
//   typeLetter   u32
class UnitTypeItem : public VictoryItem {
public:
    UnitTypeItem();
    explicit UnitTypeItem(uint32_t letter);
    UnitTypeItem(const UnitTypeItem&) = default;
    explicit UnitTypeItem(std::istream& in);

    bool MatchesUnit(const Unit* unit) const override;
    void Save(std::ostream& out) const override;
    void Load(std::istream& in) override;
    std::string Describe() const override;

    uint32_t GetTypeLetter() const { return typeLetter; }

private:
    uint32_t typeLetter = 0;
};

// Tag 8: one unit, by id and name, with two values that its owner sets
// (the area condition keeps a unit's times in them).
//   unitID        u16
//   name          NameString
//   firstValue    u32
//   secondValue   u32
class UnitValuesItem : public VictoryItem {
public:
    UnitValuesItem(uint16_t unitID, const char* unitName, uint32_t first, uint32_t second);
    UnitValuesItem(const UnitValuesItem&) = default;
    explicit UnitValuesItem(std::istream& in);

    bool MatchesUnit(const Unit* unit) const override;
    void Save(std::ostream& out) const override;
    void Load(std::istream& in) override;
    std::string Describe() const override;

    // Same unit id and name; the two values are not compared.
    bool IsEqual(const UnitValuesItem& other) const;

    uint16_t GetUnitID() const { return unitID; }
    const NameString& GetName() const { return name; }
    uint32_t GetFirstValue() const { return firstValue; }
    uint32_t GetSecondValue() const { return secondValue; }
    // Only the values change: the unit id and name are what a list merges
    // equal items by, so they stay as made.
    void SetValues(uint32_t first, uint32_t second)
    {
        firstValue = first;
        secondValue = second;
    }

private:
    uint32_t firstValue = 0;
    uint32_t secondValue = 0;
    NameString name;
    uint16_t unitID = 0;
};
