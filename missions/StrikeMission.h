// StrikeMission.h: StrikeMission, mission type 6 (Air Intercept, Ground
// Strike, Ship Strike, Sub Strike): its target list and locked target, the
// unit step, the unit reports, the attack cycle and its planners, and the
// contact triage. Sources: StrikeMission.cpp (data, saved form,
// description), StrikeStep.cpp (unit step), StrikeReports.cpp (reports,
// release, target assignment), StrikeAttack.cpp (attack cycle),
// StrikePlanning.cpp (planners), StrikeContacts.cpp (triage, tasks,
// altitudes, emissions).
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/IDList.h"
#include "core/LatLonPoint.h"
#include "core/Units.h"
#include "missions/MissionRecord.h"

class Contact;
class Event;
class PlaneRec;
class PlaneRecRef;
class Side;
class SideContacts;
class Unit;

// missionFlags bits with the strike's own meaning (the emission bits are the
// base's).
namespace StrikeFlag {
constexpr uint32_t STARTED = 0x1;              // a unit has been stepped: sensor settings go out
constexpr uint32_t TARGETS_USED_UP = MissionFlag::FINISHED;   // the target list ran empty
constexpr uint32_t ATTACKING = 0x40;           // a target is locked and under attack
constexpr uint32_t HOLD = MissionFlag::DELAYED_START;         // unit steps are skipped
constexpr uint32_t REPLAN = 0x200;             // the next task update plans again
constexpr uint32_t NEW_STRIKE = 0x2402;        // radar, sonar and ECM passive
} // namespace StrikeFlag

// Unit record states the strike sets or reads beyond the base's.
namespace StrikeState {
constexpr int16_t APPROACH = 2;          // to be sent against the locked target
constexpr int16_t CLOSING = 3;           // closing a contact within 30 nm
constexpr int16_t ASSIGNED = 6;          // given a contact by AssignTarget
constexpr int16_t SEARCHING = 9;         // searching where the contact was placed
constexpr int16_t RELEASED = 10;
constexpr int16_t HOLDING_NEARBY = 11;   // staying near after an attack
constexpr int16_t RELIEF_PENDING = 12;   // released, waiting for relief aircraft
constexpr int16_t BUOY_LEG = 15;         // flying a sonobuoy leg
constexpr int16_t ATTACK_ORDER = 17;     // attacking its own order target
constexpr int16_t CANNOT_ATTACK = 18;
constexpr int16_t CLOSE_IN = 19;         // close-in position reached
constexpr int16_t ATTACK_LOCKED = 21;    // ordered against the locked target
constexpr int16_t UNDER_WAY = 22;        // under way to an aim point
constexpr int16_t BUOY_SEARCH = 26;      // searching with sonobuoys
} // namespace StrikeState

// Order codes the strike writes into its aircraft references.
namespace StrikeOrder {
constexpr uint16_t NONE = 0;
constexpr uint16_t IDLE = 1;
constexpr uint16_t APPROACH = 2;
constexpr uint16_t CANNOT_ATTACK = 18;
constexpr uint16_t ATTACK = 21;
} // namespace StrikeOrder

// Contact bits the strike reads and marks.
namespace StrikeContact {
constexpr uint8_t UNDER_ATTACK = 0x04;      // stickyFlags: a strike attacks the contact
constexpr uint32_t FINISHED = 0x8;          // conditionBits: no target any more
} // namespace StrikeContact

// Codes of the mission events a strike handles.
namespace StrikeEventCode {
constexpr uint16_t RESUME = 1;       // clear the hold and step every unit
constexpr uint16_t REPLAN = 2;       // plan the attack again
constexpr uint16_t HOLD = 3;         // hold for a random time, then resume
} // namespace StrikeEventCode

class StrikeMission : public MissionRecord {
public:
    static constexpr uint16_t TYPE = 6;
    // Resource texts of the description.
    static constexpr int32_t TARGETS_TEXT = 0x7B00FA;        // before the listed targets
    static constexpr int32_t UNSEEN_TARGET_TEXT = 0x7B00FB;  // a listed target with no contact
    static constexpr int32_t AIR_INTERCEPT_TEXT = 0x7B00FC;  // kind 9 with no list
    static constexpr int32_t GROUND_STRIKE_TEXT = 0x7B00FD;  // kind 10
    static constexpr int32_t SHIP_STRIKE_TEXT = 0x7B00FE;    // kind 11
    static constexpr int32_t SUB_STRIKE_TEXT = 0x7B00FF;     // kind 12
    static constexpr int32_t OTHER_STRIKE_TEXT = 0x7B0100;   // any other kind
    // The role QueryUnit and IsUnitLaunchPending give the locked target.
    static constexpr uint16_t LOCKED_TARGET_ROLE = 4;
    // Reaches and legs of the unit step, range units.
    static constexpr int32_t NEAR_AIM = RANGE_PER_NM;            // a leg this short means "arrived"
    static constexpr int32_t RANDOM_LEG = 10 * RANGE_PER_NM;     // the flag's random leg
    static constexpr int32_t CLOSE_REACH = 30 * RANGE_PER_NM;    // closing and subsurface search limit
    // Re-plan intervals of a locked target, seconds.
    static constexpr uint32_t AIR_REPLAN_SECONDS = 60;
    static constexpr uint32_t REPLAN_SECONDS = 900;

    // A new strike of creation kind 9..12 (another kind keeps the base's
    // class mask) named nameText, for owner, against a copy of the ids of
    // targets in key order (null or empty: any contact of the kind's classes).
    StrikeMission(uint16_t kind, const char* nameText, const IDList* targets, Side* owner);
    // The mission list loader's strike, before Load.
    StrikeMission(uint16_t type, Side* owner);
    ~StrikeMission() override;

    // The ops staff's maker of kinds 9..12: the strike against the ids of
    // list; id is not read (the ops staff puts a single target in the list).
    static MissionRecord* MakeForKind(uint16_t kind, const char* name, const IDList* list, uint16_t id, Side* side);
    // Contact class bits a strike of creation kind `kind` attacks; 0 for a
    // kind outside 9..12.
    static uint32_t KindClassMask(uint16_t kind);

    // ---- data and saved form (StrikeMission.cpp) ----
    // Saved form after the base record: the target list (u16 count, then
    // each id), then lockedTarget u16. Files before 2.1.6.0 hold one u16
    // target id (0: none) instead of the list. A cut or damaged record
    // leaves the stream failed and the target list empty.
    bool Load(std::istream& in) override;
    bool Save(std::ostream& out) override;
    // Arriving units or aircraft ask for a re-plan.
    void OnUnitsChanged() override;
    void OnAircraftCommitted() override;
    // LOCKED_TARGET_ROLE when value names the locked target, else 0; the
    // unit is not looked at.
    uint16_t QueryUnit(uint16_t unitID, uint16_t value) override;
    // True when value names the locked target (the same role as QueryUnit).
    bool IsUnitLaunchPending(PlaneRecRef* reference, uint32_t value) override;
    // The description: the kind's text (and ": " with the locked target) for
    // an empty list, else TARGETS_TEXT and the targets separated by ", ".
    void SaveName() override;
    // Aircraft per launched group and per relief: 1 for a Sub Strike, 2 for
    // an Air Intercept, 4 otherwise.
    uint16_t GetDefaultState(uint16_t value) override;

    // ---- unit step (StrikeStep.cpp) ----
    void StepUnit(uint16_t unitID, uint8_t code) override;
    // States 0 and 1: transit settings; with an empty target list planes go
    // home to land.
    void StartUnit(uint16_t unitID, Unit* unit, MissionUnitRec* record);
    // States 2, 6 and 22: a leg against the locked target. An unset aim
    // (LatLonPoint::None) asks for a plan; code non-zero gives a random 10 nm
    // leg.
    void ApproachTarget(uint16_t unitID, Unit* unit, MissionUnitRec* record, LatLonPoint aim, uint32_t setting,
                        int16_t altitude, uint8_t code);
    // State 21 and the attack cycle's order: as ApproachTarget with the
    // strike's own planners; on success the state becomes 22.
    void AttackLockedTarget(uint16_t unitID, Unit* unit, MissionUnitRec* record, LatLonPoint aim, uint32_t setting,
                            int16_t altitude, uint8_t code);
    // State 17: a leg against the record's own target (a sonobuoy drop on
    // it for a subsurface one).
    void AttackOrderTarget(uint16_t unitID, Unit* unit, MissionUnitRec* record, LatLonPoint aim, uint32_t setting,
                           int16_t altitude, uint8_t code);
    // States 3 and 19: the close-in test within CLOSE_REACH.
    void CloseWithContact(uint16_t unitID, Unit* unit, MissionUnitRec* record);
    // State 9: a search leg to where the contact was placed.
    void SearchContactArea(uint16_t unitID, Unit* unit, MissionUnitRec* record);
    // State 11: a short leg near the unit's position.
    void HoldNearby(uint16_t unitID, Unit* unit, MissionUnitRec* record);
    // States 15 and 26: the sonobuoy leg is done: back to 17 or 9.
    void FinishBuoyLeg(uint16_t unitID, Unit* unit, MissionUnitRec* record);
    void SearchWithBuoys(uint16_t unitID, Unit* unit, MissionUnitRec* record);
    // The point at (low + a random number below spread) percent of the way
    // from `from` to `to`; low + spread is held to 100.
    static LatLonPoint PointPartWay(const LatLonPoint& from, const LatLonPoint& to, uint32_t low, uint32_t spread);
    // Gives the unit a one-point leg to aim: altitude, the greatest speed of
    // the setting at that altitude, and a path whose point wakes the unit
    // (and carries atEnd, when given, which it takes).
    void OrderLeg(uint16_t unitID, Unit* unit, const LatLonPoint& aim, int16_t setting, int16_t altitude,
                  Event* atEnd = nullptr);
    // The shared body of ApproachTarget and AttackLockedTarget.
    void LeadToTarget(uint16_t unitID, Unit* unit, MissionUnitRec* record, LatLonPoint aim, uint32_t setting,
                      int16_t altitude, uint8_t code, bool ownPlanner);
    // The shared body of the two sonobuoy states: back to `next`.
    void ResumeAfterBuoys(uint16_t unitID, Unit* unit, MissionUnitRec* record, int16_t next);
    // Altitude code by type letter: 0 surface, ground and facilities, -2
    // submarines, 61 planes and air groups.
    static int16_t AltitudeCodeFor(char letter);

    // ---- unit reports, release and target assignment (StrikeReports.cpp) ----
    void ReleaseUnit(Unit* unit) override;
    // A relief request: GetDefaultState(0) aircraft of the reported type
    // from the base; too few only with force.
    bool LaunchForUnit(Unit* unit, uint16_t aircraftType, uint16_t loadout, uint16_t holderID,
                       uint8_t force) override;
    void SetAircraftPosture(Unit* unit, uint32_t kind) override;
    void HandleMissionEvent(uint16_t code) override;
    // The base calls it with null after a record left: pruning needs a
    // contact record, so this prunes nothing (see PruneTargets).
    void OnUnitRemoved(MissionUnitRec* record) override;
    void OnUnitAdded(MissionUnitRec* record) override;
    void OnEngageResult(uint16_t unitID, uint8_t clearMark, Contact* contact, uint8_t done) override;
    void CheckIdleState(MissionUnitRec* record) override;
    void ClearReferenceOrder(PlaneRecRef* reference) override;
    // Drops the targets that the contact record shows friendly or finished,
    // or that no longer exist; an emptied list sets TARGETS_USED_UP. Does
    // nothing for a null record or while units or aircraft wait to join.
    void PruneTargets(SideContacts* side);
    // Whether the contact still stands as a target: it exists, its side is
    // not friendly to the owning side (an unknown side is not) and it is not
    // finished. A friendly or finished contact loses its UNDER_ATTACK mark.
    bool TargetStands(Contact* contact) const;
    // The locked target's contact in the unit's own contact record, or null.
    Contact* FindLockedContact(const Unit& unit) const;

    // ---- attack cycle (StrikeAttack.cpp) ----
    void OnSideScanned(SideContacts* side) override;
    // Commits the units and ready aircraft to the head attack task; true
    // when anything was committed.
    bool PlanAttack(SideContacts* side);
    // False while the locked target stands; otherwise stands down and true.
    bool CheckAttackOver(SideContacts* side);
    bool OrderUnitAttack(Contact* contact, MissionUnitRec* record);
    bool OrderAircraftAttack(Contact* contact, PlaneRecRef* reference);
    // Re-tasks the units when the locked target reports a change.
    void PrepareUnitsForTarget(Contact* contact);

    // ---- attack planning (StrikePlanning.cpp) ----
    // Unit planners against a moving target (classes 0x180F) and a fixed
    // one: the setting, the time (seconds) and the aim point; true when the
    // unit can attack.
    bool PlanMovingTarget(Contact* contact, Unit* unit, uint32_t& setting, int16_t altitude, uint32_t& time,
                          LatLonPoint& point, uint32_t classBits);
    bool PlanFixedTarget(Contact* contact, Unit* unit, uint32_t& setting, int16_t altitude, uint32_t& time,
                         LatLonPoint& point, uint32_t classBits);
    // The same for an aircraft record flying from its holder.
    bool PlanMovingTargetForAircraft(Contact* contact, PlaneRec* record, Unit* holder, uint32_t& setting,
                                     int16_t altitude, uint32_t& time, LatLonPoint& point, uint32_t classBits);
    bool PlanFixedTargetForAircraft(Contact* contact, PlaneRec* record, Unit* holder, uint32_t& setting,
                                    int16_t altitude, uint32_t& time, LatLonPoint& point, uint32_t classBits);

    // ---- contact triage, tasks, altitudes and emissions (StrikeContacts.cpp) ----
    uint32_t AllocateByValue(MissionTask* task, Contact* contact) override;
    bool IsTaskSatisfied(MissionTask* task, uint32_t targetClass, Unit* unit) override;
    void KeepTask(MissionTask* task, uint32_t targetClass, Contact* contact) override;
    void ScheduleContactCheck(Contact* contact, uint16_t code) override;
    bool IsContactInReach(Contact* contact, SideContacts* side) override;
    uint16_t ClassifyContact(Contact* contact, SideContacts* side) override;
    MissionTask* MakeTask(Contact* contact) override;
    void ConsiderContact(Contact* contact, SideContacts* side) override;
    int16_t GetPatrolAltitude(Unit* unit, uint16_t value) override;
    // The unit's attack altitude against targetClass; the unit's own record
    // gives the order target (value is not read).
    int16_t GetTaskAltitude(Unit* unit, uint16_t value, uint32_t targetClass) override;
    int16_t GetPlaneFigure(PlaneRec* record) override;
    // An aircraft record's attack altitude against targetClass; an air
    // target's altitude is taken from the reference's order target.
    int16_t GetPlaneAltitude(PlaneRec* record, PlaneRecRef* reference, uint32_t targetClass);
    void DefaultSettingGroup1() override;
    void DefaultSettingGroup2() override;
    void DefaultSettingGroup3() override;
    void SetUnitPosture(uint16_t unitID, MissionUnitRec* record) override;

    // ---- fields ----
    IDList targetList;             // unit ids the player named; empty: any contact of targetClasses
    uint16_t lockedTarget = 0;     // contact id under attack; 0 none
};
