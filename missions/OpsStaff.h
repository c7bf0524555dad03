// OpsStaff.h: OpsStaff, a side's mission manager: the side's mission list
// with the focus unit, the cursor of the side's mission pass and the id the
// next created mission receives. It makes the two standing missions and the
// created ones, moves units between missions, hands the mission events and
// the bridge's unit and aircraft requests to the right mission, runs the
// side's mission pass, drives the mission edit and is saved inside its side.
// Every lookup that finds no mission or no unit does nothing and answers 0,
// false, null or the empty text.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "core/IDList.h"
#include "missions/MissionList.h"
#include "missions/MissionNameRecord.h"
#include "missions/PlaneRecRef.h"

class CommandMessage;
class PlaneRec;
class Side;
class Unit;

// A new mission of a window or order kind: the class's creation constructor
// with (kind, name text, list, side); the ferry takes `id` as its
// destination instead of a list. Null when the class cannot be made.
using MissionKindMaker = MissionRecord* (*)(uint16_t kind, const char* name, const IDList* list, uint16_t id,
                                            Side* side);

// Creation kinds of the windows and orders.
namespace MissionKind {
constexpr uint16_t FIRST_AREA = 1;       // 1..3 patrol, 4 transit, 5 recon, 6..7 support
constexpr uint16_t LAST_AREA = 7;
constexpr uint16_t INTERCEPT = 8;        // made by the side itself
constexpr uint16_t FIRST_STRIKE = 9;     // 9..12 strike
constexpr uint16_t LAST_STRIKE = 12;
constexpr uint16_t FERRY = 13;
constexpr uint16_t LAST = 13;
} // namespace MissionKind

// The maker of a creation kind: null for a kind outside 1..13 and for one
// whose class the program does not have yet.
MissionKindMaker GetMissionKindMaker(uint16_t kind);
// Replaces the maker of a kind 1..13; returns the one it replaces. For tests
// and for classes added later.
MissionKindMaker SetMissionKindMaker(uint16_t kind, MissionKindMaker maker);

class OpsStaff : public MissionList {
public:
    // Texts of the resource files.
    static constexpr int32_t STANDING_NAME_TEXT = 0x7B010A;     // mission 1
    static constexpr int32_t HOLDING_NAME_TEXT = 0x7B010B;      // mission 2
    static constexpr int32_t INTERCEPT_NAME_TEXT = 0x7B010C;
    static constexpr int32_t BAD_TARGETED_KIND_TEXT = 0x7B010E;
    static constexpr int32_t BAD_AREA_KIND_TEXT = 0x7B010F;
    static constexpr int32_t NO_STRIKE_TARGET_TEXT = 0x7B0110;
    // Settings flags of an intercept mission: radar on, sonar off, ECM off.
    static constexpr uint32_t INTERCEPT_FLAGS = 0x2404;

    // The side's ops staff with its two standing missions (ids 1 and 2);
    // the next created mission receives id 3.
    explicit OpsStaff(Side* owner);
    ~OpsStaff() override = default;

    // ---- creation and deletion ----
    // The mission window's kinds 1..7; 0 when no list is given, the kind is
    // refused (error box BAD_AREA_KIND_TEXT) or the mission is not valid.
    uint16_t CreateMission(const char* name, uint16_t kind, const MissionNameRecord* settings, const IDList* ids);
    // Strike kinds 9..12 and the ferry kind 13; 0 when none was made (error
    // box BAD_TARGETED_KIND_TEXT for any other kind).
    uint16_t CreateTargetedMissions(const char* name, uint16_t kind, const MissionNameRecord* settings,
                                    uint16_t singleID, const IDList* selection);
    // Whether the unit (or the current side's contact on it) is a target
    // of the strike kind.
    static bool IsStrikeTarget(uint16_t unitID, uint16_t kind);
    // An intercept mission of the selected units against the targets; the
    // mission id, which stays used when the mission turns out invalid.
    uint16_t CreateInterceptMission(const IDList* selected, const IDList* targets);
    uint16_t AssignInterceptMission(const IDList* selected, const IDList* targets);
    // Every mission other than mission 1 gives its units back; every one
    // other than 1 and 2 is deleted.
    void DeleteAllMissions();
    // Every unit of every mission is scheduled for deletion; no focus.
    void DeleteAllUnits();
    // Every mission lets go of its units' records (the units stay in play,
    // held by no mission); no focus. For a side leaving the game.
    void ReleaseMissionUnits();

    // ---- the side's mission pass ----
    bool StepMissionPlanning();
    bool StepMissionChecks();
    bool HasAnyUnits() const;

    // ---- units between missions ----
    uint16_t FindMissionOfUnit(uint16_t unitID) const;
    bool IsUnitAssigned(uint16_t unitID) const { return FindMissionOfUnit(unitID) != 0; }
    bool ProcessUnitMission(uint16_t unitID, uint16_t missionID);
    void MoveUnit(uint16_t unitID, uint16_t fromID, uint16_t toID);
    // A group-like unit with its members, from one mission to another
    // (mission 1 when `toID` does not exist).
    void MoveGroup(uint16_t unitID, uint16_t fromID, uint16_t toID);
    void MoveUnitToMission(uint16_t unitID, uint16_t toID);
    void ReturnUnitToStanding(uint16_t unitID, uint16_t fromID);
    void ReturnGroupToStanding(uint16_t unitID, uint16_t fromID);
    void ReturnToStandingMission(uint16_t unitID);
    bool RemoveUnit(uint16_t unitID);

    // ---- focus unit ----
    uint16_t PickFocusUnit() const;
    uint16_t SetFocusUnit(uint16_t unitID);
    uint16_t GetFocusUnitID() const { return FocusUnitID; }

    // ---- forwarders to one mission ----
    void HandleMissionEvent(uint16_t missionID, uint16_t code);
    void StepUnit(uint16_t unitID, uint8_t code);
    void ReleaseUnit(uint16_t unitID);
    bool LaunchForUnit(uint16_t unitID, uint16_t aircraftType, uint16_t loadout, uint16_t holderID, uint8_t force);
    uint16_t QueryUnitMission(uint16_t unitID, uint16_t value);
    void AddMissionPoints(uint16_t missionID, IDList* ids);
    void RemoveMissionPoints(uint16_t missionID, IDList* ids);
    void UserSetMissionUnitSensors(uint16_t unitID);
    void SetUnitGroup(uint16_t unitID, uint16_t leaderID);
    std::string GetUnitMissionInfo(uint16_t unitID) const;
    std::string GetMissionName(uint16_t missionID) const;
    void MissionNewName(const char* text, uint16_t missionID);
    void SetMissionSetting(uint8_t value, uint16_t missionID);
    uint8_t GetMissionSetting(uint16_t missionID) const;
    void UpdateAllMissions();
    void ReadyAircraftFor(PlaneRec* record, uint16_t unitID, uint16_t target);
    void ApplyStoredOrder(uint16_t missionID, uint16_t holderID, uint16_t recordID, uint16_t unitID);
    void SetReferenceLoadout(uint16_t missionID, uint16_t holderID, uint16_t recordID, uint16_t loadout);
    void SetReferenceFlags(uint16_t missionID, uint16_t holderID, uint16_t recordID, uint32_t flags);
    void ReduceReference(uint16_t missionID, uint16_t holderID, uint16_t recordID, uint8_t n);
    void MergeReferences(uint16_t missionID, uint16_t holderID, uint16_t recordA, uint16_t recordB);
    void SplitReference(uint16_t missionID, uint16_t holderID, uint16_t recordA, uint16_t recordB, uint8_t n);
    bool RemoveReference(uint16_t missionID, uint16_t holderID, uint16_t recordID);
    uint16_t RefreshReference(uint16_t holderID, uint16_t recordID, uint16_t missionID);
    uint16_t AddReference(uint16_t holderID, uint16_t recordID, uint16_t missionID, uint16_t unitID);
    void MoveReference(uint16_t holderID, uint16_t recordID, uint16_t fromID, uint16_t toID);
    bool IsUnitLaunchPending(uint16_t holderID, uint16_t recordID, uint32_t value);

    // ---- mission edit (from GetMissionList to StopEditingMissions) ----
    CommandMessage* GetMissionList();
    CommandMessage* GetAssigned(uint16_t missionID);
    void SetAssigned(uint16_t missionID, CommandMessage* message);
    CommandMessage* GetUnAssigned(uint16_t missionID);
    void SetUnAssigned(uint16_t missionID, CommandMessage* message);
    MissionNameRecord* GetEditSettings(uint16_t missionID);
    char* CopySavedName(uint16_t missionID) const;
    PlaneRecRefList* CopyOwnAircraft(uint16_t missionID);
    void ApplyAircraftList(PlaneRecRefList* list, uint16_t missionID);
    void ApplyAircraftListChecked(PlaneRecRefList* list, uint16_t missionID);
    void DeleteMission(uint16_t missionID);
    void StopEditingMissions(uint8_t commit);

    // ---- saved form, little-endian ----
    //   FocusUnitID u16, CursorMissionID u16, NextMissionID u16, then the
    //   mission section. Load deletes every mission first (the standing ones
    //   come back from the section). Both answer whether the stream is good.
    bool Save(std::ostream& out) const override;
    bool Load(std::istream& in) override;

    uint16_t GetCursorMissionID() const { return CursorMissionID; }
    uint16_t GetNextMissionID() const { return NextMissionID; }

private:
    // Gives a new mission the next free id, inserts it and raises the
    // counter past it; 0 (nothing inserted) when every id is in use.
    uint16_t InsertNewMission(MissionRecord* mission);
    // The id a new mission receives: the counter, moved on past 0, the
    // standing missions' ids and the ids in use; 0 when every id is in use.
    // The counter itself is not changed.
    uint16_t NextFreeMissionID() const;
    // A window's new mission (null: none made): deleted when it is not
    // valid, else given its settings and an id and inserted; its id or 0.
    uint16_t AdmitCreatedMission(MissionRecord* mission, const MissionNameRecord* settings);
    // The intercept mission, inserted under a new id before anything else;
    // null (id 0) when none could be made.
    MissionRecord* StartInterceptMission(const IDList* targets, uint16_t& id);
    static void ApplyInterceptSettings(MissionRecord& mission);
    // The mission's id, or 0 after deleting it when it is not valid.
    uint16_t FinishInterceptMission(MissionRecord* mission, uint16_t id);
    // The unit, when it may join an intercept: it exists, its contact record
    // is the current one and it is of this staff's side; else null.
    Unit* FindUnitTakingPart(uint16_t unitID) const;
    static bool IsGroupLike(const Unit& unit);
    // A unit of a group that is not itself selected leaves that group.
    static void DetachFromOutsideGroup(const Unit& unit, const IDList& selected);

    MissionRecord* FindMissionHolding(uint16_t unitID) const;
    // The two missions of a move: fromID's, and toID's or mission 1 when
    // there is none. False (nothing to move) when either is missing or both
    // are one mission.
    bool FindMoveEnds(uint16_t fromID, uint16_t toID, MissionRecord*& from, MissionRecord*& destination) const;
    // Mission 2 takes the record without restarting the unit; any other
    // mission restarts it.
    static void PlaceRecord(MissionRecord& destination, MissionUnitRec* record);
    // Gives the focus to the unit (a group's to its lead) and makes the
    // unit's contact record current when the unit is of the player's side;
    // the id set, 0 (nothing changed) for a missing unit.
    uint16_t ApplyFocus(uint16_t unitID);

    // The mission at the pass cursor (the first for cursor 0), or null.
    MissionRecord* CursorMission() const;
    // The cursor moves to the mission after `mission` (0 after the last or
    // for null); answers whether there is one.
    bool MoveCursorPast(const MissionRecord* mission);
    void RemoveAndDelete(MissionRecord* mission);

    uint16_t FocusUnitID = 0;
    uint16_t CursorMissionID = 0;
    uint16_t NextMissionID = FIRST_CREATED_MISSION_ID;
};
