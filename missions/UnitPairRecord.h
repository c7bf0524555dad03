// UnitPairRecord.h: UnitPairRecord, the victory item of tag 7: one incident
// between a unit of a side and another unit, kept once per side and pair of
// names. It describes no set of units and so matches none.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "core/NameString.h"
#include "missions/VictoryItem.h"

// Saved form after the tag byte, little-endian:
//   eventCode   u16          the side id the recorder passed (never 0)
//   otherName   NameString   the other unit, or the missing-unit text
//   actorName   NameString   the side's unit
class UnitPairRecord : public VictoryItem {
public:
    UnitPairRecord(uint16_t eventCode, const char* actorName, const char* otherName);
    UnitPairRecord(const UnitPairRecord&) = default;
    explicit UnitPairRecord(std::istream& in);

    void Save(std::ostream& out) const override;
    void Load(std::istream& in) override;
    // Six blanks, the other name, a joining text, the actor's name, a
    // closing text and a newline.
    std::string Describe() const override;

    // Same code and both names.
    bool IsSame(const UnitPairRecord& other) const;

    uint16_t GetEventCode() const { return eventCode; }
    const NameString& GetActorName() const { return actorName; }
    const NameString& GetOtherName() const { return otherName; }

    static constexpr int32_t JOIN_TEXT = 0x7B00CC;   // between the names
    static constexpr int32_t CLOSE_TEXT = 0x7B00CD;  // after them

private:
    uint16_t eventCode = 0;
    NameString otherName;
    NameString actorName;
};
