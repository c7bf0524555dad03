// MissionRecord.h: MissionRecord, the base of every mission type: its id,
// type, settings, name texts, unit records, aircraft references and task
// chains; the 51 operations the mission types override; the unit moves, the
// shared routines and the saved base record. Planning against contacts,
// attack allocation, approach planning and the aircraft reference operations
// are members too, in their own sources.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "annex/TimedRecord.h"
#include "core/Chain.h"
#include "core/IDList.h"
#include "core/LatLonPoint.h"
#include "core/ListLink.h"
#include "core/TreeListOf.h"
#include "missions/MissionNameRecord.h"
#include "missions/MissionTask.h"
#include "missions/MissionUnitRec.h"
#include "missions/PlaneRecRef.h"

class CommandMessage;
class Contact;
class PlaneRec;
class Side;
class SideContacts;
class StringNode;
class Unit;

// missionFlags bits the base reads or sets.
namespace MissionFlag {
constexpr uint32_t NO_DELAY = 0x1;           // a requested delayed start is not applied
constexpr uint32_t RADAR_OFF = 0x2;
constexpr uint32_t RADAR_ON = 0x4;
constexpr uint32_t RADAR_PERIODIC = 0x8;
constexpr uint32_t FINISHED = 0x10;          // the ops staff deletes the mission
constexpr uint32_t AIRCRAFT_WAIT = 0x80;
constexpr uint32_t DELAYED_START = 0x100;    // waiting for its start event
constexpr uint32_t SONAR_OFF = 0x400;
constexpr uint32_t SONAR_ON = 0x800;
constexpr uint32_t SONAR_PERIODIC = 0x1000;
constexpr uint32_t ECM_OFF = 0x2000;
constexpr uint32_t ECM_ON = 0x4000;
constexpr uint32_t ECM_PERIODIC = 0x8000;
constexpr uint32_t SETTING_BITS = 0xFC0E;    // the nine emission bits above
constexpr uint32_t THIRD_AT_A_TIME = 0x10000;   // creation switch; set on files before 2.1.0.0
} // namespace MissionFlag

// Codes a mission event carries to its mission.
namespace MissionEventCode {
constexpr uint16_t START = 1;            // resume: the units are started
constexpr uint16_t DELAYED_START = 3;    // delayed start
} // namespace MissionEventCode

// The two standing missions every side has; created missions start at 3.
constexpr uint16_t STANDING_MISSION_ID = 1;
constexpr uint16_t STANDING_MISSION2_ID = 2;
constexpr uint16_t FIRST_CREATED_MISSION_ID = 3;

class MissionRecord : public TreeListNode<MissionRecord> {
public:
    // Texts of the resource files the base shows.
    static constexpr int32_t WAITING_TEXT = 0x7B0101;    // a unit's mission while it waits or is done
    static constexpr int32_t NO_POINTS_TEXT = 0x7B0102;  // after the name: the mission takes no points

    // A new mission of creation kind `kind` (0 for the standing missions) for
    // side; name becomes a copy of nameText (none for null).
    MissionRecord(uint16_t kind, const char* nameText, Side* owner);
    // The loader's mission: the same defaults, no name, no side.
    MissionRecord();
    MissionRecord(const MissionRecord&) = delete;
    MissionRecord& operator=(const MissionRecord&) = delete;

    uint16_t GetID() const { return GetKey(); }
    uint16_t GetType() const { return missionType; }

    // The saved base record that every type's Save writes first, little-endian:
    //   missionType u16, mission id u16, creationKind u16, missionFlags u32,
    //   settingCode u16, weaponsFree u8, settingGroup1..3 12 x u16,
    //   delayTime u32, auxValue u16, units (MissionUnitList), planeRefs
    //   (PlaneRecRefList), sideQueue (IDList), targetClasses u32,
    //   name (u16 length with the zero, then the bytes and the zero),
    //   savedName (the same). A missing text is written as the empty text.
    // Answers whether the stream is still good.
    bool SaveBase(std::ostream& out) const;
    // Reads what follows the type code (the mission list has read it), in
    // the layout of the open scenario file's version (before 2.1.0.0: a 16-bit
    // flag word and radar timings only; before 2.1.8.0: texts with signed
    // 8-bit lengths). A record cut short leaves the stream failed and answers
    // false; the lists keep nothing half-read.
    bool LoadBase(std::istream& in);

    // ---- the 51 operations the mission types override ----
    virtual ~MissionRecord();
    virtual bool IsValid();
    virtual bool Load(std::istream& in);
    virtual bool Save(std::ostream& out);
    virtual void AddPoints(IDList* ids);
    virtual void RemovePoints(IDList* ids);
    virtual void OnUnitsChanged();
    virtual void OnAircraftCommitted();
    // A role code of the unit in this mission (0: none).
    virtual uint16_t QueryUnit(uint16_t unitID, uint16_t value);
    virtual bool IsUnitLaunchPending(PlaneRecRef* reference, uint32_t value);
    virtual void ReleaseUnit(Unit* unit);
    virtual bool LaunchForUnit(Unit* unit, uint16_t aircraftType, uint16_t loadout, uint16_t holderID, uint8_t force);
    virtual void SetAircraftPosture(Unit* unit, uint32_t kind);
    virtual void StepUnit(uint16_t unitID, uint8_t code);
    virtual void HandleMissionEvent(uint16_t code);
    virtual void ReleaseAllUnits();
    virtual uint32_t AllocateByTime(MissionTask* task, Contact* contact);
    virtual uint32_t AllocateByValue(MissionTask* task, Contact* contact);
    virtual uint32_t AllocateFirstStrike(MissionTask* task, Contact* contact);
    virtual bool IsTaskSatisfied(MissionTask* task, uint32_t targetClass, Unit* unit);
    virtual void EvaluateTasks(SideContacts* side);
    virtual void KeepTask(MissionTask* task, uint32_t targetClass, Contact* contact);
    virtual void ScheduleContactCheck(Contact* contact, uint16_t code);
    virtual bool IsNotFriendlyClass(Contact* contact);
    virtual bool IsContactInReach(Contact* contact, SideContacts* side);
    virtual uint16_t ClassifyContact(Contact* contact, SideContacts* side);
    virtual MissionTask* MakeTask(Contact* contact);
    virtual void ConsiderContact(Contact* contact, SideContacts* side);
    virtual bool CanUnitEngageA(MissionUnitRec* record, Unit* unit, Contact* contact);
    virtual bool CanUnitEngageB(MissionUnitRec* record, Unit* unit, Contact* contact);
    virtual void OnSideScanned(SideContacts* side);
    virtual void ReactToTasks(SideContacts* side);
    virtual int16_t GetPatrolAltitude(Unit* unit, uint16_t value);
    virtual int16_t GetTaskAltitude(Unit* unit, uint16_t value, uint32_t targetClass);
    virtual int16_t GetPlaneFigure(PlaneRec* record);
    virtual uint16_t RateUnitForClass(char letter, uint32_t targetClass, uint8_t flag);
    virtual void DefaultSettingGroup1();
    virtual void DefaultSettingGroup2();
    virtual void DefaultSettingGroup3();
    virtual void SetUnitPosture(uint16_t unitID, MissionUnitRec* record);
    virtual void SaveName();
    virtual void OnUnitRemoved(MissionUnitRec* record);
    virtual void OnUnitAdded(MissionUnitRec* record);
    virtual uint16_t GetDefaultState(uint16_t value);
    virtual void OnEngageResult(uint16_t unitID, uint8_t clearMark, Contact* contact, uint8_t done);
    virtual void CheckIdleState(MissionUnitRec* record);
    virtual void SetAircraftWait();
    virtual bool LaunchReplacement(Unit* plane, MissionUnitRec* record);
    virtual void ClearReferenceOrder(PlaneRecRef* reference);
    virtual uint32_t GetUnitRange(Unit* unit, uint32_t targetClass);
    virtual uint32_t GetPlaneRange(PlaneRec* record, uint32_t targetClass);

    // ---- settings and texts ----
    void ApplySettings(MissionNameRecord& record);
    void SetName(const char* text);
    const char* GetName() const { return name; }
    const char* GetSavedName() const { return savedName; }
    // The text shown as the unit's mission: WAITING_TEXT while it waits or is
    // done, else the mission name ("" without one).
    std::string GetUnitMissionText(uint16_t unitID) const;
    void SetSetting(uint8_t value) { weaponsFree = value; }
    uint8_t GetSetting() const { return weaponsFree; }
    uint8_t IsFinished() const { return (missionFlags & MissionFlag::FINISHED) ? 1 : 0; }
    uint8_t IsMarkedDeleted() const { return deletedMark; }
    void DropEditSettings();
    void SyncEditReferences();

    // ---- units ----
    bool HasUnit(uint16_t unitID) const { return units.Find(unitID) != nullptr; }
    uint16_t FirstUnitID() const;
    uint16_t FindShipOtherThan(uint16_t unitID) const;
    void MarkUserSensors(uint16_t unitID);
    void SetUnitGroup(uint16_t unitID, uint16_t leader);
    void AddUnit(uint16_t unitID);
    MissionUnitRec* ExtractUnit(uint16_t unitID);
    void AdoptUnit(MissionUnitRec* record);
    void AdoptUnitQuietly(MissionUnitRec* record);
    void MoveGroupMembers(uint16_t leader, MissionRecord* target);
    bool RemoveUnit(uint16_t unitID);
    void PostUnitEvents();
    void RefreshUnitPaths();
    void DeleteUnits();

    // ---- orders and sensors ----
    static void CopyIDList(const IDList* source, IDList* target);
    uint16_t OrderUnitSpeed(uint16_t unitID, Unit* unit, int16_t setting, int16_t altitude);
    void OrderUnitAltitude(uint16_t unitID, int16_t altitude);
    void PostSensorSetting(uint16_t unitID, uint16_t mode, uint32_t value, uint16_t firstTime, uint8_t firstVariation,
                           uint16_t secondTime, uint8_t secondVariation);
    void PostUnitSensorsOn(uint16_t unitID);

    // ---- shared routines ----
    static uint32_t GetUnitReach(Unit* unit, uint32_t targetClass);
    static bool IsBearingWithin5(int32_t bearing, int32_t reference);
    static bool IsTrackClass6000(const Contact* contact);
    static uint16_t AverageOfThree(const uint16_t* values);
    static void SetContactCheck(Contact* contact, uint32_t seconds);
    static bool MayAttack(const Unit* unit, int32_t count);
    static int32_t NextAttackStep(const Unit* unit, int32_t step);
    void NotifyTrackedUnits(const Contact* contact, uint32_t targetClass, const Unit* unit, uint16_t unitID);

    // ---- fields ----
    uint16_t missionType = 0;              // 1..9, set by each type's constructor
    uint16_t creationKind = 0;             // 0 standing, 1..13 the ops staff's kinds
    uint32_t missionFlags = 0;             // MissionFlag bits
    uint16_t settingCode = 0;
    uint8_t weaponsFree = 1;               // 1: units engage hostile contacts on their own
    uint16_t settingGroup1[4] = {};        // radar: first time, variation, second time, variation
    uint16_t settingGroup2[4] = {};        // active sonar, the same order
    uint16_t settingGroup3[4] = {};        // ECM, the same order
    uint32_t delayTime = 0;
    char* name = nullptr;                  // owned, NUL-terminated
    char* savedName = nullptr;             // owned: the description in mission reports
    MissionUnitList units;
    PlaneRecRefList planeRefs;
    uint16_t auxValue = 0;                 // kept for the mission types
    IDList sideQueue;                      // contact-record keys planning has still to visit
    uint32_t targetClasses = 0;            // contact class bits the mission is after
    Side* side = nullptr;                  // owning side; not saved
    Chain<MissionTask> engageTasks;        // highest priority first
    Chain<TimedRecord> timedRecords;
    Chain<ListLink> linkChain;
    Chain<MissionTask> keptTasks;
    IDList extraIDs;
    Chain<MissionTask> watchTasks;         // highest priority first
    uint8_t deletedMark = 0;               // marked deleted while being edited
    MissionNameRecord* editSettings = nullptr;   // owned edit copy of the settings
    MissionUnitList editUnits;
    PlaneRecRefList editPlaneRefs;

private:
    // Adds the record's memberCount to its leader's record in this mission.
    void AddToLeader(const MissionUnitRec& record);

public:
    // (the other groups of operations follow, each in its own block)

    // ---- aircraft references ----
    static constexpr int32_t DROPPED_REFERENCE_TEXT = 0x7B0103;   // a line of the dropped-reference log text
    static constexpr uint8_t MAX_AIRCRAFT_COUNT = 255;            // a reference's count is one byte
    PlaneRecRef* FindReference(uint16_t holderID, uint16_t recordID) const;
    static PlaneRec* FindAircraftRecord(uint16_t holderID, uint16_t recordID);
    void AddReference(uint16_t holderID, uint16_t recordID, uint16_t unitID);
    void MergeReferences(uint16_t holderID, uint16_t recordA, uint16_t recordB);
    void SplitReference(uint16_t holderID, uint16_t recordA, uint16_t recordB, uint8_t n);
    void ReduceReference(uint16_t holderID, uint16_t recordID, uint8_t n);
    void SetReferenceLoadout(uint16_t holderID, uint16_t recordID, uint16_t loadout);
    void SetReferenceFlags(uint16_t holderID, uint16_t recordID, uint32_t flags);
    bool RemoveReference(uint16_t holderID, uint16_t recordID);
    PlaneRecRef* DetachReference(uint16_t holderID, uint16_t recordID);
    void AttachReference(PlaneRecRef* reference);
    void RefreshReference(uint16_t holderID, uint16_t recordID);
    static void CompressReferences(PlaneRecRefList& list);
    bool LaunchFromReference(PlaneRecRef* reference, uint8_t n, uint32_t launchValue);
    PlaneRec* CommitReference(PlaneRecRef* reference);
    void ReadyAircraftFor(PlaneRec* record, uint16_t target);
    void ApplyStoredOrder(uint16_t holderID, uint16_t recordID, uint16_t unitID);
    uint32_t CountAircraft() const;
    uint16_t DeployUnitSensor(Unit* unit, uint8_t force);

    // ---- contact planning and attack allocation ----
    // Queues the contact record of every unit of the mission and of every
    // aircraft reference's holder, once each.
    void QueuePlanning();
    // Scans the next queued record: its contacts due for a look are
    // considered, all are aged, attacks are allocated and units sent; the
    // task chains are emptied. True while records remain queued; on the
    // last (or with none queued) every unit record gets CheckIdleState.
    bool PlanStep();
    // Sets the aged bit (0x40) of the contact's changeBits when it has not
    // been reported within its class's age limit.
    void AgeContact(Contact* contact);
    // The four counts of a task from the contact: wanted by the identified
    // unit's strength or by class and size, allocated from its tallies.
    void FillTaskEstimate(MissionTask* task, Contact* contact, uint32_t targetClass);
    // Asks the unit to engage the contact when it is within `distance`
    // (range units) and, with a known course, ahead of it; answers whether
    // the unit accepted.
    bool EngageIfInReach(MissionUnitRec* record, Unit* unit, Contact* contact, int32_t distance);
    // Inserts into engageTasks by priority; a task for a contact already
    // queued is deleted and the answer is false.
    bool InsertTaskByPriority(MissionTask* task);
    // The attack allocation of one scanned record.
    void PlanAttacks(SideContacts* side);
    // Whether the contact's own estimate already satisfies a task for it.
    bool IsTargetCovered(Contact* contact);
    // An option with no flags is kept where it is (true); any other is
    // taken out of `from` and appended to timedRecords, or deleted when it
    // carries the dropped bits 0x2 or 0x4 (false).
    bool KeepOption(TimedRecordChain& from, TimedRecord* option);

protected:
    void ScanSide(SideContacts& scanned);
    bool OfferOptions(const MissionTask& task, const Contact& contact);
    void DropRefusedOptions();
    void GroupOptionsByShooter();
    void AllocateTasks(SideContacts* scanned);
    void PostPlannedAttack();
    void AllocateOption(TimedRecord& option, MissionTask& task, uint8_t clearMark, Contact* contact,
                        bool compareIDs, uint32_t& answer);

public:
    // ---- approach planning ----
    // Where a unit goes against a contact, at which propulsion setting and
    // for how long. The point becomes the contact's position, the altitude
    // GetTaskAltitude(unit, value, class); then an intercept (classes 0x180F)
    // or a direct approach is planned. Time 0: no plan.
    void PlanApproach(Contact* contact, Unit* unit, uint16_t value, uint32_t& setting, int16_t& altitude,
                      uint32_t& time, LatLonPoint& point);
    // With the contact's course and speed held: the first setting (from
    // RateUnitForClass, then NextAttackStep while MayAttack holds) at which
    // an intercept point is found that the unit accepts; the point then moves
    // toward it (a quarter of the way for a meeting over 30 seconds away).
    // Without them: PlanDirectApproach. True when a plan was found.
    bool PlanInterceptApproach(Contact* contact, Unit* unit, uint32_t& setting, int16_t altitude, uint32_t& time,
                               LatLonPoint& point, uint32_t classBits);
    // Straight toward the point until the unit's reach covers it (or away
    // from it when inside its shortest weapon reach); a leg the unit may not
    // take is halved until it may. True when the unit accepts the leg.
    bool PlanDirectApproach(Contact* contact, Unit* unit, uint32_t& setting, int16_t altitude, uint32_t& time,
                            LatLonPoint& point, uint32_t classBits);
    // The flight of an aircraft record from its holder to the point at
    // setting 1: the time, and whether the aircraft reach it.
    bool PlanAircraftLeg(PlaneRec* record, Unit* holder, uint32_t& setting, int16_t altitude, uint32_t& time,
                         const LatLonPoint& point, uint32_t classBits);

public:
    // ---- mission edit: the edit copies the mission editor reads and writes ----
    static constexpr int32_t AIRCRAFT_LINE_TEXT = 0x7B0111;      // before the aircraft count
    static constexpr int32_t AIRCRAFT_LINE_END_TEXT = 0x7B0112;  // after it
    static constexpr int32_t EDIT_STATE_TEXT = 0x7B0113;         // an edit record left offered at commit
    static constexpr int32_t NOTHING_GIVEN_TEXT = 0x7B0114;      // before the mission name
    static constexpr int32_t NOTHING_GIVEN_END_TEXT = 0x7B0115;  // after it
    // Edit record states.
    static constexpr int16_t EDIT_ASSIGNED = 0;
    static constexpr int16_t EDIT_OFFERED = 1;    // listed to the editor, not confirmed
    // Clears the deleted mark, fills editSettings from the settings and
    // editUnits from the units without a leader (state EDIT_ASSIGNED), and
    // editPlaneRefs from planeRefs when it is empty.
    void BeginEdit();
    // The mission's line of the mission list: its name ("[D]" in front while
    // DELAYED_START is set) with the mission id as value. Owned by the caller.
    StringNode* ListEntry() const;
    // The edit units of the current side not yet offered, in unit-id order,
    // each set to EDIT_OFFERED, then the aircraft line (id 0) when the copy
    // holds a not released reference of the current side; null for a
    // mission deleted in the editor. Owned by the caller.
    CommandMessage* ListEditUnits();
    // Every unit id of the message's text list becomes EDIT_ASSIGNED (a new
    // edit record when it has none); the message is deleted.
    void SetEditUnits(CommandMessage* message);
    PlaneRecRefList* GetEditReferences() { return &editPlaneRefs; }
    // The editor's aircraft list back: references new to the copy are added,
    // known ones take the list's count and loadout; released ones go to
    // standingCopy (refState HELD, their holder's queued events removed).
    // The list is deleted. Nothing happens without a list.
    void ApplyAircraftList(PlaneRecRefList* list, PlaneRecRefList* standingCopy);
    // The same, but a released reference keeps its refState and no events
    // are removed; a list that adds or releases nothing is told to the
    // player. Nothing happens when either list is missing.
    void ApplyAircraftListChecked(PlaneRecRefList* list, PlaneRecRefList* standingCopy);
    // Copies of the copy's not released references of the current side;
    // null when the mission has no references at all. Owned by the caller.
    PlaneRecRefList* CopyOwnAircraft();
    // Marks the mission deleted and hands its edit units and aircraft to the
    // standing mission's edit copies.
    void DeleteInEdit(MissionRecord* standing);
    MissionNameRecord* GetEditSettings() { return editSettings; }
    // A new copy (new[]) of savedName; the empty text without one.
    char* CopySavedName() const;
    // Stop editing without commit.
    void ClearEditReferences();
    void CancelEdit();
    // Stop editing with commit, in the order the ops staff runs them.
    void ReturnAircraftToStanding(MissionRecord* standing);
    void TakeEditedAircraft(MissionRecord* standing);
    void ReleaseEditUnits(MissionRecord* standing);
    void CommitEditUnits(MissionRecord* standing);
    // After commit or cancel, on every mission: the copy is emptied and the
    // references left are readied for this mission.
    void FinishEditAircraft();

private:
    // The two aircraft list operations; checked keeps the refState of the
    // released references and removes no events. False when the list added
    // and released nothing.
    bool MergeAircraftList(PlaneRecRefList* list, PlaneRecRefList* standingCopy, bool checked);

public:
    // ---- contact tests of the classification, for the mission types ----
    // Launched: its course is known and it is no missile, or a missile
    // fired from an aircraft or weapon. Plain: no torpedo, and an exact
    // position or a firm or plotted track; false for null.
    static bool IsLaunched(const Contact* contact);
    static bool IsPlainContact(const Contact* contact);

    // ---- firm contacts and leg times of the attack planners ----
    // A contact whose place is firm: class 0x800, or no uncertainty area, or
    // track bit 0x8 or 0x200. Unlike IsPlainContact the class counts as firm.
    // False for null.
    static bool IsFirmContact(const Contact* contact);
    // Seconds a leg of `distance` range units takes at `knots`: 3600 x
    // distance / (knots x 4096), truncated as the Q23 quotient of the fixed-
    // point routines would be, but worked in 64 bits so that a long slow leg
    // is never an overflow. Saturates at INT32_MAX (also for 0 knots); a
    // distance of 0 or less takes 0 seconds.
    static uint32_t LegSeconds(int64_t distance, uint16_t knots);
    // A missile or target worth engaging: its unit exists, it was not
    // launched by a plane or weapon, and it is firm unless creationKind is 1.
    static bool IsStrikeWorthy(const Contact& contact, uint16_t creationKind);
};
