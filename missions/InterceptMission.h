// InterceptMission.h: InterceptMission (type 7), the mission that sends a
// side's aircraft against a fixed set of target contacts: it keeps its free
// aircraft assigned to the most urgent targets, steers each to an intercept
// point, follows the target once there and gives its aircraft back when the
// targets are gone. The ops staff makes it (creation kind 8) from the
// intercept prompt and the intercept assignment window.
// Sources: InterceptMission.cpp (construction, saved form, validity,
// release, end test, assignment of free aircraft), InterceptTasks.cpp
// (contact classification, re-checks, tasks and attack allocation) and
// InterceptStep.cpp (the unit step, altitudes, emissions and posture).
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/IDList.h"
#include "core/LatLonPoint.h"
#include "core/Units.h"
#include "missions/MissionRecord.h"

class Contact;
class PositionNode;
class SideContacts;

// Duty states of a unit record in an intercept mission (0 and 1 are free).
namespace InterceptState {
constexpr int16_t PROCEEDING = 2;       // flying to the intercept point of its target
constexpr int16_t SHADOWING = 3;        // following its target
constexpr int16_t ATTACKING = 6;        // ordered against a contact by the attack allocation
constexpr int16_t CLOSING = 9;          // near the intercept point of a target whose position is vague
constexpr int16_t ENGAGING = 11;
constexpr int16_t DROPPING = 15;        // a sonobuoy drop waits at its path point
constexpr int16_t CLOSING_PLAIN = 17;   // near the intercept point of a target whose position is firm
constexpr int16_t ORDERED = 19;         // told to engage by the base's engagement test
constexpr int16_t DIPPING = 26;         // closing with its dipping sonar lowered
} // namespace InterceptState

class InterceptMission : public MissionRecord {
public:
    static constexpr uint16_t TYPE = 7;
    static constexpr uint16_t KIND = 8;
    // Emission bits of a new mission: radar, sonar and ECM all off.
    static constexpr uint32_t NEW_FLAGS = MissionFlag::RADAR_OFF | MissionFlag::SONAR_OFF | MissionFlag::ECM_OFF;
    // Texts of the resource files.
    static constexpr int32_t NO_TASK_TEXT = 0x7B0104;        // after a spare aircraft's name: no target takes it
    static constexpr int32_t TARGETS_TEXT = 0x7B0105;        // heads the description
    static constexpr int32_t TARGET_SEPARATOR_TEXT = 0x7B0106;
    static constexpr int32_t INVALID_MIDDLE_TEXT = 0x7B0107; // the invalid mission notice: 0x7B0108, name,
    static constexpr int32_t INVALID_HEAD_TEXT = 0x7B0108;   // 0x7B0107, 0x7B0109
    static constexpr int32_t INVALID_TAIL_TEXT = 0x7B0109;
    // Within this distance (range units) of its intercept point a unit closes.
    static constexpr int32_t CLOSING_DISTANCE = RANGE_PER_NM;
    // The longest leg (range units) toward a subsurface target, and the
    // reach of a shadowing unit's engagement test.
    static constexpr int32_t LONGEST_LEG = 30 * RANGE_PER_NM;

    // A new mission against the targets of targetList (unit ids of
    // contacts, copied): kind 8 and the intercept name from the ops staff.
    // The description and targetClasses come from the contacts the current
    // side holds on the targets; a target without a contact adds nothing.
    InterceptMission(uint16_t kind, const char* nameText, const IDList* targetList, Side* owner);
    // The mission list loader's mission, before Load.
    InterceptMission(uint16_t type, Side* owner);
    ~InterceptMission() override = default;

    // The ops staff's maker of creation kind 8 (`id` is not used).
    static MissionRecord* MakeForKind(uint16_t kind, const char* name, const IDList* list, uint16_t id, Side* side);

    // Saved form, little-endian: the base record (SaveBase), then targets
    // (u16 count, then each u16 id). Load keeps every id read, whether or not
    // a contact exists for it; a record cut short leaves the stream failed,
    // the targets empty and answers false.
    bool Save(std::ostream& out) override;
    bool Load(std::istream& in) override;

    // False, after the notice to the player, when no unit could join.
    bool IsValid() override;
    // 4 when the unit proceeds to, closes on or engages the target unit
    // `targetID` (states 2, 9, 11, 17); else 0.
    uint16_t QueryUnit(uint16_t unitID, uint16_t targetID) override;
    // The record, unless already done, becomes done and the unit goes to its
    // home mission.
    void ReleaseUnit(Unit* unit) override;
    // Every unit and aircraft reference given back: to the standing mission,
    // home to land, or to its home mission.
    void ReleaseAllUnits() override;
    // The description: TARGETS_TEXT, then each target the current side holds
    // as a contact by name and number, TARGET_SEPARATOR_TEXT between them.
    void SaveName() override;
    void DefaultSettingGroup1() override;
    void DefaultSettingGroup2() override;
    void DefaultSettingGroup3() override;
    // The end test the base runs after a unit record is dropped (no side).
    void OnUnitRemoved(MissionUnitRec* record) override;

    // ---- contact scan (InterceptTasks.cpp) ----
    bool IsContactInReach(Contact* contact, SideContacts* side) override;
    // 0 ignore, 1 engage, 2 send interceptors, 5 watch.
    uint16_t ClassifyContact(Contact* contact, SideContacts* side) override;
    void ScheduleContactCheck(Contact* contact, uint16_t code) override;
    // Priority 100 for a target, 90 for class 0x8, 80 for class 0x4, else 10.
    MissionTask* MakeTask(Contact* contact) override;
    void ConsiderContact(Contact* contact, SideContacts* side) override;
    // Replaced by the target test: the contact's unit is one of the targets.
    bool IsNotFriendlyClass(Contact* contact) override;

    // ---- attack allocation (InterceptTasks.cpp); first strike is the base's ----
    void EvaluateTasks(SideContacts* side) override;
    bool IsTaskSatisfied(MissionTask* task, uint32_t targetClass, Unit* unit) override;
    uint32_t AllocateByTime(MissionTask* task, Contact* contact) override;
    uint32_t AllocateByValue(MissionTask* task, Contact* contact) override;
    void KeepTask(MissionTask* task, uint32_t targetClass, Contact* contact) override;
    void OnEngageResult(uint16_t unitID, uint8_t clearMark, Contact* contact, uint8_t sameUnit) override;
    void CheckIdleState(MissionUnitRec* record) override;

    // ---- assignment of free aircraft (InterceptMission.cpp) ----
    // Sends free aircraft after the kept tasks, or runs the end test when
    // there are none.
    void OnSideScanned(SideContacts* side) override;
    // Sends the free aircraft (of extraIDs) that meets the contact soonest
    // (ties: the smaller formation, then the lower id); answers the weapons
    // it brings against the contact's class, 0 when none could go.
    uint16_t SendInterceptor(Contact* contact);
    // Gives one free aircraft the first kept task after `cursor` (round the
    // chain) it can fly against; that task, or null after the aircraft was
    // reported and sent back.
    MissionTask* AssignSpareUnit(uint16_t unitID, MissionTask* cursor, SideContacts* side);

    // ---- unit step (InterceptStep.cpp) ----
    void StepUnit(uint16_t unitID, uint8_t code) override;
    // Steers the unit to `point`, or with none to a freshly planned
    // intercept of its target; a unit within CLOSING_DISTANCE of the point
    // starts closing instead, and one without a plan (or with giveUp set)
    // goes free. setting is a propulsion setting, altitude in feet.
    void ProceedToIntercept(uint16_t unitID, Unit* unit, MissionUnitRec* record, const LatLonPoint* point,
                            int16_t setting, int16_t altitude, uint8_t giveUp);
    // The idle altitude: the lowest of the unit's envelope at setting 1
    // (0 for ships, groups, bases and facilities).
    int16_t GetPatrolAltitude(Unit* unit, uint16_t value) override;
    // The altitude against a target class; `targetID` is the target's unit
    // id, whose contact's altitude is used against air and missile targets.
    int16_t GetTaskAltitude(Unit* unit, uint16_t targetID, uint32_t targetClass) override;
    // The emission orders of the record's state and the mission's flags,
    // once per state change; posted only once the mission has stepped.
    void SetUnitPosture(uint16_t unitID, MissionUnitRec* record) override;
    // The posture code of a plane or air group against a target class.
    void SetAircraftPosture(Unit* unit, uint32_t kind) override;

    IDList targets;   // unit ids of the target contacts; owned, saved

private:
    // The end test: finished without units or targets; targets of which
    // neither a contact (of `side`) nor a unit is left are pruned, so that an
    // emptied list finishes the mission at the next test.
    void RunEndTest(SideContacts* side);
    // The records following the contact as their target react to its news.
    void RecheckTarget(Contact& contact);
    // The contact's unit is one of the targets.
    bool IsTarget(const Contact& contact) const;
    // The free aircraft given back after no task took it.
    void SendBack(uint16_t unitID, Unit& unit, const MissionUnitRec& record);
    // The unit starts toward the contact on a planned approach.
    void StartIntercept(uint16_t unitID, Unit& unit, MissionUnitRec& record, Contact& contact,
                        const LatLonPoint& point, uint32_t setting, int16_t altitude);

    // Steps of InterceptStep.cpp by record state.
    void StepIdle(uint16_t unitID, Unit& unit, MissionUnitRec& record);
    void StepShadowing(uint16_t unitID, Unit& unit, MissionUnitRec& record);
    void StepClosing(uint16_t unitID, Unit& unit, MissionUnitRec& record);
    void StepEngaging(uint16_t unitID, Unit& unit, MissionUnitRec& record);
    void StepClosingPlain(uint16_t unitID, Unit& unit, MissionUnitRec& record, uint8_t code);
    void StepDipping(uint16_t unitID, Unit& unit, MissionUnitRec& record);
    // The record goes free and the unit is stepped again at once.
    void GiveUp(uint16_t unitID, MissionUnitRec& record);
    // Altitude and speed orders, then the one-point path `leg` handed to
    // the unit (a copy is taken; the caller keeps leg).
    void OrderLeg(uint16_t unitID, Unit& unit, PositionNode& leg, int16_t setting, int16_t altitude);
};
