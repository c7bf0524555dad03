// ViolationRecord.h: ViolationRecord, the victory item of tag 6: one breach
// of the rules of engagement by a unit against a unit of a side, kept once
// per side and pair of names. The victory report judges a side by them.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "core/NameString.h"
#include "missions/VictoryItem.h"

// Saved form after the tag byte, little-endian:
//   hostile        u8           1 when the side was hostile to the violator's
//   platformID     u16          the weapon or platform record, 0 for none
//   sideID         u16          the side that recorded it
//   violatorName   NameString
//   victimName     NameString
class ViolationRecord : public VictoryItem {
public:
    ViolationRecord(uint16_t sideID, uint8_t hostile, const char* victimName, uint16_t platformID,
                    const char* violatorName);
    ViolationRecord(const ViolationRecord&) = default;
    explicit ViolationRecord(std::istream& in);

    void Save(std::ostream& out) const override;
    void Load(std::istream& in) override;
    // Who violated, with which platform when the database knows it, against
    // whom, whether the sides were hostile, and a newline.
    std::string Describe() const override;

    uint8_t IsHostile() const { return hostile; }

    // Same side and both names; the hostility and the platform are not
    // compared, so one pair of units is recorded once per side.
    bool IsEqual(const ViolationRecord& other) const;

    uint16_t GetSideID() const { return sideID; }
    uint16_t GetPlatformID() const { return platformID; }
    const NameString& GetViolatorName() const { return violatorName; }
    const NameString& GetVictimName() const { return victimName; }

    static constexpr int32_t VIOLATOR_TEXT = 0x7B012C;        // before the violator
    static constexpr int32_t VIOLATED_TEXT = 0x7B012D;        // after it
    static constexpr int32_t PLATFORM_TEXT = 0x7B012E;        // before the platform
    static constexpr int32_t PLATFORM_END_TEXT = 0x7B012F;    // after it
    static constexpr int32_t VICTIM_TEXT = 0x7B0131;          // before the victim
    static constexpr int32_t VICTIM_END_TEXT = 0x7B0130;      // after it
    static constexpr int32_t HOSTILE_TEXT = 0x7B0132;         // when hostile

private:
    uint8_t hostile = 0;
    uint16_t platformID = 0;
    uint16_t sideID = 0;
    NameString violatorName;
    NameString victimName;
};
