// VictoryCondition.h: VictoryCondition, one goal of a side held by the side's
// victory manager: the base of every condition and itself the unit-count kind
// (saved kind 1). It counts target units lost at or above a damage threshold,
// and platforms of a kind lost, fired or expended, and can carry one
// sub-condition that must be met too. The area kind is AreaVictoryCondition.h;
// the side's victory manager holds and loads the conditions.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

class Unit;
class VictoryItemList;

class VictoryCondition {
public:
    // Saved kind bytes.
    static constexpr uint8_t KIND_UNITS = 1;
    static constexpr uint8_t KIND_AREA = 2;
    // The longest text Describe gives, its terminator included.
    static constexpr size_t TEXT_SIZE = 2048;

    // Resource texts of the fatal errors.
    static constexpr int32_t NO_SIDE_TEXT = 0x7B0183;        // CheckUnit with side 0
    static constexpr int32_t NO_COUNTED_TEXT = 0x7B0195;     // counted list missing
    static constexpr int32_t BAD_SUB_KIND_TEXT = 0x7B0197;   // sub-condition kind not 0, 1 or 2

    // Kind 1, not met, friendly sense, counts 0, two empty lists, no
    // sub-condition.
    VictoryCondition();
    // The same, then LoadData. A record cut short (or refused) leaves the
    // stream failed; the caller discards the condition.
    explicit VictoryCondition(std::istream& in);
    // Deletes the sub-condition and both lists with their items.
    virtual ~VictoryCondition();
    VictoryCondition(const VictoryCondition&) = delete;
    VictoryCondition& operator=(const VictoryCondition&) = delete;

    // The test of a unit being lost (unit not null) or of the periodic check
    // (null) for the owning side; passed on to the sub-condition. Side 0 is a
    // fatal error and tests nothing. The periodic check changes nothing in
    // this kind.
    virtual void CheckUnit(Unit* unit, uint16_t sideID);
    // The condition's own state, without its sub-condition.
    uint8_t GetMetFlag() const { return met; }
    // The player's text about the condition and its chain, at most
    // TEXT_SIZE - 1 characters.
    virtual std::string Describe() const;
    // Met, and so is the sub-condition when there is one.
    virtual bool IsMet() const;
    // Sets the sense (1 hostile, 0 friendly); here met becomes 1 for the
    // friendly sense and 0 for the hostile one.
    virtual void SetSense(uint8_t hostileSense);

    // Saved form of this kind, little-endian:
    //   kind             u8    1
    //   required         u16   units (or platforms) to count
    //   damageThreshold  u16   percent
    //   count            u16   running count
    //   met              u8
    //   hostile          u8
    //   targets          item list
    //   counted          item list
    //   sub-condition    its own record (kind byte first), or u8 0
    virtual void SaveData(std::ostream& out) const;
    // Reads the record after the kind byte. A sub-condition kind other than
    // 0, 1 or 2 is the fatal error of BAD_SUB_KIND_TEXT. That, or a record
    // cut short, leaves the stream failed and no sub-condition; answers the
    // stream's state.
    virtual bool LoadData(std::istream& in);

    // A loss of `number` platforms of a kind (platform id and type letter) by
    // loserSide: when the owning side relates to the loser as the sense asks
    // (hostile or friendly) and targets names the kind, count grows by number
    // (16-bit, wrapping) and reaching required sets met in either sense. Not
    // passed on to the sub-condition.
    void CountKindLoss(uint16_t platformID, uint16_t letter, uint16_t number, uint16_t owningSideID,
                       uint16_t loserSideID);
    // Appends a unit item (id and name) for the unit to counted.
    void RecordCountedUnit(const Unit& unit);

    // The two base lists, targets then counted, each in the item-list form.
    void SaveLists(std::ostream& out) const;
    bool LoadLists(std::istream& in);

    // Reads a condition of `kind` (1 or 2) from the stream, its kind byte
    // already read; nullptr for any other kind, and when the record is cut
    // short or refused (the stream is then failed and nothing is kept).
    static VictoryCondition* LoadKind(uint8_t kind, std::istream& in);

    uint8_t GetKind() const { return kind; }
    VictoryCondition* GetSubCondition() const { return subCondition; }
    // Takes ownership; the one held before is deleted.
    void SetSubCondition(VictoryCondition* sub);
    VictoryItemList& GetTargets() const { return *targets; }
    VictoryItemList& GetCounted() const { return *counted; }
    uint16_t GetRequired() const { return required; }
    void SetRequired(uint16_t value) { required = value; }
    uint16_t GetDamageThreshold() const { return damageThreshold; }
    void SetDamageThreshold(uint16_t percent) { damageThreshold = percent; }
    uint16_t GetCount() const { return count; }
    uint8_t GetHostile() const { return hostile; }

protected:
    // Reads the sub-condition that follows a record: its kind byte, then
    // the record. Kind 0 is none; kinds 1 and 2 are read; any other is none
    // when `othersAreNone`, else the fatal error of BAD_SUB_KIND_TEXT.
    bool LoadSubCondition(std::istream& in, bool othersAreNone);
    // Writes the sub-condition's record, or a single 0 byte.
    void SaveSubCondition(std::ostream& out) const;
    // The text cut to what a description buffer holds (TEXT_SIZE - 1).
    static std::string FitText(std::string text);
    // The owning side relates to otherSide as the sense asks.
    bool IsSenseSide(uint16_t owningSideID, uint16_t otherSideID) const;

    uint8_t kind = KIND_UNITS;
    VictoryCondition* subCondition = nullptr;
    uint8_t met = 0;
    VictoryItemList* targets = nullptr;    // what the condition is about
    VictoryItemList* counted = nullptr;    // unit items of the units counted
    uint16_t required = 0;
    uint16_t damageThreshold = 0;          // percent; 100: destroyed
    uint16_t count = 0;
    uint8_t hostile = 0;                   // 1 hostile sense, 0 friendly
};
