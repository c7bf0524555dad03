// AreaVictoryCondition.h: AreaVictoryCondition, the victory condition about
// a rectangle of the map (saved kind 2): target units that pass into, stay in
// or keep out of the area by a time or for a duration; and DurationText, the
// player's text of a length of time. Tested only by the periodic check.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "core/XYRect.h"
#include "missions/VictoryCondition.h"

class VersionNumber;

class AreaVictoryCondition : public VictoryCondition {
public:
    // Resource text of the fatal error of CheckUnit with side 0.
    static constexpr int32_t AREA_NO_SIDE_TEXT = 0x7B016A;

    // The only constructor: kind 2, friendly sense, in-area rules, nothing
    // frozen, time and duration 0, an empty area and empty lists, then
    // LoadData. A record cut short leaves the stream failed; the caller
    // discards the condition.
    explicit AreaVictoryCondition(std::istream& in);
    ~AreaVictoryCondition() override;

    // The periodic check (null unit) tests every unit of the arena's unit
    // list of a side other than 0 against the area; a unit being lost is not
    // tested here. Passed on to the sub-condition. Side 0 is a fatal error.
    void CheckUnit(Unit* unit, uint16_t sideID) override;
    std::string Describe() const override;
    bool IsMet() const override;
    // Sets the sense only; met is left alone.
    void SetSense(uint8_t hostileSense) override;

    // Saved form, little-endian:
    //   kind            u8     2
    //   met             u8
    //   area            XYRect (left, top, right, bottom, i32 each)
    //   time            u32    game seconds, 0: none
    //   duration        u32    seconds, 0: none
    //   spare           u32    a copy of duration; ignored on reading
    //   required        u16
    //   hostile         u8
    //   inArea          u8
    //   failed          u8
    //   achieved        u8
    //   old spare       u8     only in files before 2.1.13.0; ignored
    //   targets         item list
    //   counted         item list
    //   tracked         item list  only in files of 2.1.13.0 or later
    //   trackedInside   item list  the same
    //   sub-condition   kind 1 or 2 record; any other byte: none
    // The file version is the open scenario's (gAdmin); the writer always
    // writes the current form.
    void SaveData(std::ostream& out) const override;
    bool LoadData(std::istream& in) override;

    // The per-unit tests of the periodic check, for the friendly and the
    // hostile sense.
    void CheckFriendlyUnit(Unit& unit);
    void CheckHostileUnit(Unit& unit);

    const XYRect& GetArea() const { return area; }
    uint32_t GetTime() const { return time; }
    uint32_t GetDuration() const { return duration; }
    uint8_t GetInArea() const { return inArea; }
    uint8_t GetFailed() const { return failed; }
    uint8_t GetAchieved() const { return achieved; }
    VictoryItemList& GetTracked() const { return *tracked; }
    VictoryItemList& GetTrackedInside() const { return *trackedInside; }

    // The first file version whose area records hold the two tracking lists
    // and no old spare byte.
    static const VersionNumber& TrackingVersion();

private:
    // The lists of the condition as one check reads them, found by unit.
    struct CheckLists;

    // Whether the unit's map position lies in the area, edges included.
    bool IsInside(Unit& unit) const;
    // The per-unit tests over the lists' indexes.
    void TestFriendly(Unit& unit, CheckLists& lists);
    void TestHostile(Unit& unit, CheckLists& lists);
    // Records the unit in counted.
    void Count(const Unit& unit, CheckLists& lists);
    // After a unit was counted: whether counted holds required units, those
    // no longer on the map purged once it seems to.
    bool HoldsRequired(CheckLists& lists);

    XYRect area;
    // Tracking items (unit, elapsed, entered), one per unit. Friendly sense:
    // the target units inside at their last check; hostile sense: the enemy
    // target units outside at their last check.
    VictoryItemList* tracked = nullptr;
    // Hostile sense only: the enemy target units inside at their last check.
    VictoryItemList* trackedInside = nullptr;
    uint32_t time = 0;       // game seconds; 0: none
    uint32_t duration = 0;   // seconds; 0: none
    uint8_t inArea = 1;
    uint8_t failed = 0;
    uint8_t achieved = 0;
};

// The player's text of `seconds` (taken as signed) in days, hours, minutes
// and seconds, at most VictoryCondition::TEXT_SIZE - 1 characters.
std::string DurationText(uint32_t seconds);
