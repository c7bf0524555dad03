// VictoryManager.h: VictoryManager, the victory bookkeeping of one side: its
// victory conditions (alternatives: one met condition is enough), the four
// tallies of what the side lost, expended and did, and the hold count that
// announces a victory. The periodic check that drives it is
// VictoryCheckEvent.h; the conditions and item lists have their own files.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <vector>

class Unit;
class VictoryCondition;
class VictoryItemList;

class VictoryManager {
public:
    // Game seconds a condition must hold, counted from the periodic check
    // that first found it met, before a later check announces the victory.
    static constexpr uint32_t HOLD_SECONDS = 1800;
    // Sound resource of the victory announcement.
    static constexpr int32_t VICTORY_SOUND = 0x60003;
    // Resource texts of the manager's own reports.
    static constexpr int32_t EMPTY_CONDITION_TEXT = 0x7B0136;  // saved condition kind 0
    static constexpr int32_t BAD_CONDITION_TEXT = 0x7B0137;    // fatal: saved kind above 2
    static constexpr int32_t NO_MANAGER_TEXT = 0x7B0166;       // an answer for a side without one

    // A new manager of side sideID: no conditions, four empty lists, nothing
    // held. It replaces the pending periodic check event of the Arena's queue
    // by a new one, so one check is pending however many sides are set up.
    explicit VictoryManager(uint16_t sideID);
    // A manager read from its saved form (as Load); the event queue is left
    // alone, since the check event comes back with the saved event list.
    explicit VictoryManager(std::istream& in);
    // Deletes the conditions and the four lists with their items.
    ~VictoryManager();
    VictoryManager(const VictoryManager&) = delete;
    VictoryManager& operator=(const VictoryManager&) = delete;

    // Saved form, little-endian, no padding:
    //   conditionCount     u8
    //   sideId             u16
    //   lossTally          item list (u32 count, then per item u8 tag, data)
    //   expenditureTally   item list
    //   violations         item list
    //   unitEvents         item list
    //   conditions         conditionCount records, each led by its u8 kind
    // holdStart is not saved: a loaded manager starts the count afresh.
    // Save answers the stream's state.
    bool Save(std::ostream& out) const;
    // Replaces the manager by the saved form. A short or damaged stream
    // leaves the stream failed and the manager as it was, answering false.
    // A condition of kind 0 is shown in an error box and dropped; a kind
    // above 2 is fatal.
    bool Load(std::istream& in);

    // A unit being lost (unit not null), or the periodic check (null). Every
    // condition sees the unit; an own unit at 100 percent damage or more is
    // tallied by its kind (a weapon, letter 'W', as expended, any other as
    // lost). The periodic check starts the hold count when a condition is
    // met, announces the victory at the first check more than HOLD_SECONDS
    // after the count began (then starts over), and clears the count when
    // no condition is met.
    void Evaluate(Unit* unit);
    // count platforms of the kind (platformID, typeLetter) lost or expended
    // by side loserSide: every condition counts them for itself; when the
    // loser is this side, they join the expenditure tally (letter 'W') or
    // the loss tally.
    void RecordKindLoss(uint16_t platformID, uint16_t typeLetter, uint16_t loserSide, uint16_t count);
    // Tells the player of the side's victory with a sound and a message
    // window whose answer comes to OnVictoryAnswer; nothing unless the side
    // is the player's. Does not wait for the answer.
    void AnnounceVictory();
    // The message window's answer: non-zero goes on (the hold count of side
    // sideID restarts), 0 ends the scenario. Side id 0 is the all-units-lost
    // question.
    static void OnVictoryAnswer(uint16_t sideID, uint8_t answer);

    // The short status (the side's name, losses and expenditure), written
    // into out and ended by a zero byte. A side without a name is reported
    // in an error box and the text ends after the heading.
    void DescribeStatus(std::ostream& out);
    // The full report: runs the periodic check first, shows the outcome
    // picture when showOutcome is not 0, then writes the side's name, the
    // outcome, the rules verdict, the conditions met and not met, the
    // violations and the unit-pair records into out, ended by a zero byte.
    // A side without a name is reported and ends the text there.
    void WriteReport(uint8_t showOutcome, std::ostream& out);

    uint16_t GetSideID() const { return sideId; }
    uint8_t GetConditionCount() const { return static_cast<uint8_t>(conditions.size()); }
    // The condition at index, or null past the end.
    VictoryCondition* GetCondition(uint8_t index) const;
    // Takes ownership of the condition and puts it last; false, and the
    // condition deleted, when the manager already holds 255 (its saved count
    // is one byte). A null condition is ignored.
    bool AddCondition(VictoryCondition* condition);
    // The first condition, in order, that is met (IsMet); null when none.
    VictoryCondition* FindMetCondition() const;
    // Game seconds at which the current hold began; 0 while nothing holds.
    uint32_t GetHoldStart() const { return holdStart; }
    void SetHoldStart(uint32_t seconds) { holdStart = seconds; }

    VictoryItemList& GetLossTally() const { return *lossTally; }
    VictoryItemList& GetExpenditureTally() const { return *expenditureTally; }
    VictoryItemList& GetViolations() const { return *violations; }
    VictoryItemList& GetUnitEvents() const { return *unitEvents; }

private:
    // The side's name for the texts, or the error box of text `missing` and
    // false when the side has none.
    bool WriteSideName(std::ostream& out, int32_t missing) const;
    // The report's rules verdict, from the violations and unit-pair records.
    void WriteVerdict(std::ostream& out, bool anyMet) const;
    // The descriptions of the conditions whose met test answers `met`, in
    // order, separated by the separator line.
    void WriteConditions(std::ostream& out, bool met) const;
    // Adds one kind-count item to the tally of its letter.
    void TallyKind(uint16_t platformID, uint16_t typeLetter, uint16_t count);

    std::vector<std::unique_ptr<VictoryCondition>> conditions;   // in file order
    std::unique_ptr<VictoryItemList> lossTally;         // own platforms lost
    std::unique_ptr<VictoryItemList> expenditureTally;  // own weapons expended
    std::unique_ptr<VictoryItemList> violations;        // rules violations
    std::unique_ptr<VictoryItemList> unitEvents;        // unit-pair events
    uint16_t sideId = 0;
    uint32_t holdStart = 0;                             // game seconds; not saved

public:
    // Incidents the engagement and weapon code report (VictoryRecording.cpp).
    // A bad argument is shown in an error box and nothing is recorded, except
    // a violating unit id of 0, which is shown and still recorded.
    // The unit pair (unit of side sideID, the unit otherUnitID) into the
    // unit-event list, once per side and pair of names.
    void RecordUnitEvent(uint16_t sideID, Unit* unit, uint16_t otherUnitID);
    // A violation against violatedUnit of side sideID by the unit
    // violatingUnitID with platform platformID (0: none) into the violation
    // list, once per side and pair of names; hostile is 1 when the side is
    // hostile toward the violator's.
    void RecordViolation(uint16_t sideID, uint8_t hostile, Unit* violatedUnit, uint16_t platformID,
                         uint16_t violatingUnitID);
    // As RecordViolation, the platform being platformUnit's annex id.
    void RecordPlatformViolation(uint16_t sideID, uint8_t hostile, Unit* violatedUnit, Unit* platformUnit,
                                 uint16_t violatingUnitID);
};
