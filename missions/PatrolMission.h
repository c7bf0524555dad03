// PatrolMission.h: PatrolMission, mission type 3: a side's units patrol the
// area outlined by some of the side's reference points (AAW, ASu or ASW
// patrol), keep the altitudes and emissions of their kind, launch the ready
// aircraft once, turn the side's contacts in or near the area into tasks and
// send free units to investigate or attack them; an ASW patrol keeps a threat
// zone over its area. Construction, area, description, altitudes, emissions
// and saved form are PatrolMission.cpp; the contact handling
// PatrolContacts.cpp; the unit step and the mission commands PatrolStep.cpp.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/IDList.h"
#include "core/LatLonPoint.h"
#include "core/LatLonRect.h"
#include "core/Units.h"
#include "missions/MissionRecord.h"

class Contact;
class Event;
class ReferencePoint;
class SideContacts;
class Unit;

// Duty states of a patrol's unit records (MissionUnitRec::state); 7, 10, 12,
// 13, 16, 18 and 21..24 are left alone by the patrol.
namespace PatrolState {
constexpr int16_t ADDED = 0;              // just joined: goes to the area
constexpr int16_t PATROLLING = 1;
constexpr int16_t ATTACKING = 2;          // sent against a contact
constexpr int16_t ENGAGING = 3;
constexpr int16_t SEARCHING = 4;          // after a patrol leg
constexpr int16_t INVESTIGATING = 5;      // sent to look at a contact
constexpr int16_t REPORTED = 6;           // a patrolling unit reported a contact
constexpr int16_t NEAR_INVESTIGATED = 8;  // close to a contact looked at
constexpr int16_t NEAR_ATTACKED = 9;      // close to a contact attacked
constexpr int16_t HOLDING = 11;           // an attacking unit reported a contact
constexpr int16_t SONAR_LEG = 14;         // an ASW aircraft after a patrol leg
constexpr int16_t LISTENING = 15;         // after a sonar leg
constexpr int16_t CLASSIFYING = 17;       // sent to a plain contact
constexpr int16_t ORDERED = 19;           // told to engage; becomes ENGAGING
constexpr int16_t SUBMARINE_LEG = 20;     // a submarine after a search leg
constexpr int16_t REARM_INVESTIGATED = 25;   // sensor deployed from NEAR_INVESTIGATED
constexpr int16_t REARM_ATTACKED = 26;       // sensor deployed from NEAR_ATTACKED
} // namespace PatrolState

class PatrolMission : public MissionRecord {
public:
    static constexpr uint16_t TYPE = 3;
    // Creation kinds: the threat the patrol is meant for.
    static constexpr uint16_t KIND_AAW = 1;
    static constexpr uint16_t KIND_ASU = 2;
    static constexpr uint16_t KIND_ASW = 3;
    // Flags of a new patrol: radar, sonar and ECM off.
    static constexpr uint32_t NEW_FLAGS = 0x2402;
    // Flag 0x1: the mission manages its units' emissions.
    static constexpr uint32_t EMISSIONS_MANAGED = MissionFlag::NO_DELAY;
    // Zone type of an ASW patrol's threat zone.
    static constexpr uint32_t THREAT_ZONE_TYPE = 0xF000;
    // Sent units engage contacts within this reach (range units).
    static constexpr int32_t ENGAGE_REACH = 30 * RANGE_PER_NM;
    // Sonar and approach legs are at most this long (range units).
    static constexpr int32_t SONAR_LEG_REACH = 30 * RANGE_PER_NM;
    // An approach point closer than this (range units) counts as reached.
    static constexpr int32_t NEAR_REACH = RANGE_PER_NM;
    // Times carried by the events re-armed at the end of a leg (seconds).
    static constexpr uint32_t LISTEN_TIME = 1800;
    static constexpr uint32_t REARM_TIME = 120;

    // Texts of the resource files.
    static constexpr int32_t EMPTIED_TEXT = 0x7B00CE;       // after the name: the patrol has no points left
    static constexpr int32_t AAW_TEXT = 0x7B00CF;           // description headers by kind
    static constexpr int32_t ASU_TEXT = 0x7B00D0;
    static constexpr int32_t ASW_TEXT = 0x7B00D1;
    static constexpr int32_t OTHER_KIND_TEXT = 0x7B00D2;
    static constexpr int32_t FIRST_POINT_TEXT = 0x7B00D3;   // before the first point id
    static constexpr int32_t NEXT_POINT_TEXT = 0x7B00D4;    // before each further point id
    static constexpr int32_t NO_POINTS_TEXT_B = 0x7B00D5;   // the no-points message: D6, name, D5, D7
    static constexpr int32_t NO_POINTS_TEXT_A = 0x7B00D6;
    static constexpr int32_t NO_POINTS_TEXT_C = 0x7B00D7;
    static constexpr int32_t NONE_TO_ADD_TEXT = 0x7B00D8;   // after the name: no points given to add
    static constexpr int32_t NONE_TO_REMOVE_TEXT = 0x7B00D9;   // after the name: none to remove

    // A new patrol of creation kind `kind` (1 AAW, 2 ASu, 3 ASW) named
    // nameText for side `owner` over the reference points `points` (copied;
    // null for none): threat mask by kind, area, threat zone and description.
    PatrolMission(uint16_t kind, const char* nameText, const IDList* points, Side* owner);
    // The mission list loader's mission, before Load.
    PatrolMission(uint16_t type, Side* owner);
    // The ops staff's maker of kinds 1..3 (the id is not used).
    static MissionRecord* Make(uint16_t kind, const char* nameText, const IDList* points, uint16_t id, Side* owner);
    // Deletes the patrol's threat zone from the side.
    ~PatrolMission() override;

    // Saved form, after the base record (MissionRecord::SaveBase), little-
    // endian: PatrolPoints (IDList: u16 count, then each id), PatrolArea
    // north, west, south, east (4 x i32), ThreatPolyID u16. Area and zone
    // id come back as saved. A cut or damaged stream leaves Load failed.
    bool Load(std::istream& in) override;
    bool Save(std::ostream& out) override;

    // The test right after creation: true with points; else the no-points
    // message goes to the player and the answer is false.
    bool IsValid() override;
    // Adds the ids not yet present / removes those present; area, zone and
    // description follow a change. An empty list posts a message instead.
    void AddPoints(IDList* ids) override;
    void RemovePoints(IDList* ids) override;
    // The posture code of an aircraft or air group against a contact class.
    void SetAircraftPosture(Unit* unit, uint32_t targetClass) override;
    // 1 when the unit's record is sent against, or near, that contact.
    uint16_t QueryUnit(uint16_t unitID, uint16_t contactID) override;

    // ---- contact handling (PatrolContacts.cpp) ----
    void KeepTask(MissionTask* task, uint32_t targetClass, Contact* contact) override;
    // Hands the contact its check delay for the decision (0, 1, 2 or 5).
    void ScheduleContactCheck(Contact* contact, uint16_t decision) override;
    bool IsNotFriendlyClass(Contact* contact) override;
    bool IsContactInReach(Contact* contact, SideContacts* side) override;
    // 0 ignore, 1 engage, 2 investigate, 5 watch.
    uint16_t ClassifyContact(Contact* contact, SideContacts* side) override;
    MissionTask* MakeTask(Contact* contact) override;
    void ConsiderContact(Contact* contact, SideContacts* side) override;
    // Sends free units against the kept tasks.
    void OnSideScanned(SideContacts* side) override;
    // Chooses the free candidate that reaches the contact first (fewest
    // members first) and sends it to attack; answers the weapons it brings
    // against the contact's class, 0 when none was chosen.
    uint32_t SendAttacker(Contact* contact);
    // The same choice, by the looking test, sent to investigate.
    void SendInvestigator(Contact* contact);
    // Units sent against a contact reported again get their next state.
    void RecheckTaskedUnits(Contact* contact);
    // Next-state rules shared with the unit step; a lost contact is one
    // missing or with status bit 0x8.
    int16_t NextStateAfterAttack(Contact* contact);
    int16_t NextStateAfterHold(Contact* contact, Unit* unit);
    int16_t NextStateAfterSearch(Contact* contact);
    int16_t NextStateAfterInvestigate(Contact* contact);
    int16_t NextStateForContact(Contact* contact);

    // ---- altitudes, unit tests, emissions ----
    // The altitude a unit patrols at: by kind and unit, see PatrolMission.cpp.
    int16_t GetPatrolAltitude(Unit* unit, uint16_t value) override;
    // The altitude a unit works a contact of class targetClass at; `value`
    // is the record state it is asked for.
    int16_t GetTaskAltitude(Unit* unit, uint16_t value, uint32_t targetClass) override;
    // The altitude of an attack run against the record's target.
    int16_t GetAttackRunAltitude(Unit* unit, const MissionUnitRec* record);
    // The altitude of the leg to the patrol area (record state 0).
    static int16_t GetTransitAltitude(Unit* unit);
    // The altitude of a search leg: the patrol altitude, but an ASW
    // patrol's submarine goes to -4.
    int16_t GetSearchAltitude(Unit* unit) const;
    // A submarine's own leg: -2, any other unit 0.
    static int16_t GetSubmarineLegAltitude(Unit* unit);
    // Whether the unit can attack the record's target class.
    static bool CanUnitAttackClass(Unit* unit, const MissionUnitRec* record);
    // ASW: aircraft and air groups; other kinds: every unit but submarines.
    bool IsUnitEligible(Unit* unit) const;
    static bool IsNotSubmarine(Unit* unit);
    void DefaultSettingGroup1() override;
    void DefaultSettingGroup2() override;
    void DefaultSettingGroup3() override;
    // The sensor orders of the record's state, once per state change.
    void SetUnitPosture(uint16_t unitID, MissionUnitRec* record) override;
    // The description: kind, then the point ids.
    void SaveName() override;
    // A unit's report of a contact it engaged.
    void OnEngageResult(uint16_t unitID, uint8_t clearMark, Contact* contact, uint8_t done) override;
    // A reporting or holding unit without weapons or contacts goes back.
    void CheckIdleState(MissionUnitRec* record) override;
    // Launches the ready aircraft of the references, once.
    void SetAircraftWait() override;
    // The bounding rectangle of the points, and an ASW patrol's threat zone.
    void UpdateArea();

    // ---- unit step and mission commands (PatrolStep.cpp) ----
    void StepUnit(uint16_t unitID, uint8_t code) override;
    // 1 resume, 3 delayed start.
    void HandleMissionEvent(uint16_t code) override;
    // A random point of PatrolPoints that still exists; null when none (an
    // empty list finishes the mission, a gone point is dropped).
    ReferencePoint* PickPatrolPoint();
    // A random point between low and low + span percent (at most 100) of
    // the way from `from` to `to`.
    static LatLonPoint PointAlongLeg(const LatLonPoint& from, const LatLonPoint& to, int32_t low, int32_t span);
    // The attack or investigate run of a chosen unit to its planned point,
    // at the planned propulsion setting and altitude.
    void SendOnRun(Unit* unit, const LatLonPoint& point, uint32_t setting, int16_t altitude);

    // Handlers of the step by record state.
    void StepAdded(MissionUnitRec* record, Unit* unit);                  // 0
    void StepPatrolling(MissionUnitRec* record, Unit* unit);             // 1, 6
    // 2, 5, 17: sent against a contact; with a non-zero code a short leg at
    // the handed-in setting and altitude. `point` is handed in unset.
    void StepSent(MissionUnitRec* record, Unit* unit, const LatLonPoint& point, uint32_t setting,
                  int16_t altitude, uint8_t code);
    void StepEngaging(MissionUnitRec* record, Unit* unit);               // 3, 19
    void StepSearching(MissionUnitRec* record, Unit* unit);              // 4
    void StepNearContact(MissionUnitRec* record, Unit* unit);            // 8, 9
    void StepHolding(MissionUnitRec* record, Unit* unit);                // 11
    void StepSonarLeg(MissionUnitRec* record, Unit* unit);               // 14
    void StepRearmed(MissionUnitRec* record, Unit* unit);                // 15, 25, 26
    void StepSubmarineLeg(MissionUnitRec* record, Unit* unit);           // 20
    // Common opening of the handlers: false when the handler stops here (a
    // unit under direct orders, or one still on its path, which gets its
    // next step event on the path's last point, carrying rearmTime if not 0).
    bool OpenStep(MissionUnitRec* record, Unit* unit, uint32_t rearmTime);
    // Orders altitude and speed and gives the unit a one-point path to
    // `end`; an attached event (owned then) goes on that point. False
    // when no leg was given.
    bool GiveLeg(Unit* unit, const LatLonPoint& end, int16_t altitude, int16_t setting, Event* attached);
    // A patrol leg between low and low + span percent toward a picked
    // point; false when no point was picked.
    bool PatrolLeg(Unit* unit, int32_t low, int32_t span, LatLonPoint& end);
    // Posts a step event for the unit at once, unless the mission finished.
    void RetryStep(uint16_t unitID);
    // The record back to PATROLLING, then a retry.
    void BackToPatrol(MissionUnitRec* record, uint16_t unitID);

    // ---- fields ----
    IDList PatrolPoints;          // ids of the side's reference points
    LatLonRect PatrolArea;        // bounding rectangle of the points
    uint16_t ThreatPolyID = 0;    // the side zone of an ASW patrol; 0 none

private:
    // The contact the task altitude of a unit aims at: the contact being
    // planned against, else the unit's record's target.
    Contact* TaskAltitudeContact(const Unit& unit) const;
    // One sensor's order from the mission's on, off and periodic flags.
    void PostSensorFlags(uint16_t unitID, uint32_t sensor, uint32_t onFlag, uint32_t offFlag, uint32_t periodicFlag,
                         const uint16_t* group);
    // After a report: a single unit's orders cleared and a step posted; a
    // formation's sensor orders.
    void FollowUp(uint16_t unitID, Unit* unit, MissionUnitRec* record);
    // Posts a message to the player: the name between the given texts.
    void PostNameMessage(int32_t before, int32_t after, int32_t last) const;
    // Chooses the candidate for SendAttacker (engage test B) or
    // SendInvestigator (test A) and sends it in `state`; null when none.
    Unit* SendCandidate(Contact* contact, bool attacker);

    Contact* plannedTarget = nullptr;   // set while SendCandidate plans
};
