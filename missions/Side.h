// Side.h: Side, one party of the scenario: its names, relations toward the
// other sides, ops staff (the missions), victory manager, threat zones,
// reference points, alternative start positions of its units and doctrine,
// with its per-step state and saved record. Most operations forward to the
// ops staff. The sides live in the SideManager (SideManager.h).
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

#include "core/IDList.h"
#include "core/LatLonPoint.h"
#include "core/SavedTreeListOf.h"
#include "core/TreeListOf.h"
#include "engagement/SideEntry.h"
#include "missions/PlaneRecRef.h"
#include "missions/MissionNameRecord.h"
#include "units/ReferencePoint.h"
#include "units/StartPositionRecord.h"

class AreaPolygonList;
class CommandMessage;
class Doctrine;
class OpsStaff;
class VictoryManager;

class Side : public TreeListNode<Side> {
public:
    // Texts of the fatal error boxes of the set-up constructor.
    static constexpr int32_t TEXT_NO_VICTORY_MANAGER = 0x7B0252;
    static constexpr int32_t TEXT_NO_OPS_STAFF = 0x7B0253;
    // Doctrine file of a new side.
    static constexpr const char* DEFAULT_DOCTRINE_FILE = "default.dtr";

    // Step states of Step.
    static constexpr uint16_t STEP_FIRST_PASS = 0;
    static constexpr uint16_t STEP_SECOND_PASS = 1;
    static constexpr uint16_t STEP_DONE = 2;

    // The side the side list loads into (id 0), or a bare side of that id:
    // no names, threat zones, victory manager or relation list; clear-orders
    // flag 0, kept flag 1, human playable 1, step state 0; an empty doctrine
    // and a new ops staff with its two standing missions.
    explicit Side(uint16_t id = 0);
    // The side set-up dialogue's new side: name and base name copies of name
    // (null counts as empty), an empty threat-zone store, a victory manager
    // for the id, an empty relation list and the doctrine read from
    // DEFAULT_DOCTRINE_FILE.
    Side(const char* name, uint16_t id);
    ~Side() override;
    Side(const Side&) = delete;
    Side& operator=(const Side&) = delete;

    // Saved record, little-endian:
    //   id              u16
    //   threat zones    AreaPolygonList record
    //   victory manager VictoryManager record
    //   base name       u16 n (length + 1), n bytes with the zero
    //   name            u16 n, n bytes with the zero
    //   spare word      u16
    //   relations       u16 count, then per record u16 other id, u8 relation
    //   ops staff       OpsStaff record
    //   step state      u16
    //   points          u16 count, then each ReferencePoint record
    //   doctrine        u16 n, n bytes of the file name with the zero (0: none)
    //   clear-orders    u8
    //   human playable  u8
    //   kept            u8
    //   start positions u16 count, then each StartPositionRecord
    // A missing name is written as n = 1 (the zero alone).
    void Save(std::ostream& out) const;
    // Reads the record into new parts and puts them in place only when all
    // of it was read: a record cut short or damaged leaves the stream failed,
    // the side as it was and the answer false. Names are always terminated;
    // n = 0 is the empty name. The doctrine file is then read again from the
    // doctrine directory; one that cannot be read leaves the doctrine as it
    // was, unreported.
    bool Load(std::istream& in);

    // ---- accessors ----
    uint16_t GetID() const { return GetKey(); }
    const char* GetName() const { return name.c_str(); }
    // Replaces the name (null: empty); answers true. The base name stays.
    bool SetName(const char* text);
    const char* GetBaseName() const { return baseName.c_str(); }
    VictoryManager* GetVictoryManager() const { return vicMan; }
    AreaPolygonList* GetThreatZones() const { return threatZones.get(); }
    uint8_t GetHumanPlayable() const { return humanPlayable; }
    void SetHumanPlayable(uint8_t playable) { humanPlayable = playable; }
    uint8_t GetClearOrders() const { return clearOrders; }
    uint8_t GetKept() const { return kept; }
    uint16_t GetStepState() const { return stepState; }
    OpsStaff* GetOpsStaff() const { return opsStaff; }
    Doctrine* GetSideDoctrine() const { return doctrine; }

    // ---- relations: 0 none, 1 hostile, 2 friendly, 3 neutral ----
    // GetRelation answers 2 for the side's own id without looking at the list,
    // the record's byte otherwise, 0 when there is no record.
    uint8_t GetRelation(uint16_t other) const;
    // Inserts a record (the side owns it from then on); answers true.
    bool AddRelation(SideEntry* entry);
    // False when there is no record for other; no record is created.
    bool SetRelation(uint16_t other, uint8_t relation);
    // Finds the record, takes it out and deletes it; false when there is none.
    bool RemoveRelation(uint16_t other);
    SideEntry* GetRelationList() const { return relations ? relations->First() : nullptr; }

    // ---- per step and set-up ----
    // One call of the side's mission pass; true when the side is done for the
    // sweep. Step 0 answers true at once and leaves the state alone.
    bool Step(uint16_t step);
    // Every start-position record whose unit exists: the unit keeps its place
    // or moves to one of the record's alternatives, each with chance 1/(k+1).
    void RandomizeStartPositions();
    // Stores the flag; non-zero also deletes the non-standing missions and
    // the reference points that are not fixed, and (unless the scenario flag
    // word holds SCENARIO_KEEP_ORDERS) hands every group unit of the side to
    // unit2gam::CancelAircraftLaunches.
    void SetClearOrders(uint8_t flag);
    // A new unit of this side: the focus unit makes its contact picture the
    // current one; any other unit is offered to the side's other units.
    void AddUnit(uint16_t unitID);
    // A deleted unit: its start-position record goes, its mission releases it.
    void RemoveUnit(uint16_t unitID);

    // ---- reference points ----
    // A new point at position under the first free number; answers it.
    uint16_t AddPoint(const LatLonPoint& position);
    // Moves a point that is not fixed (flag 0); false otherwise.
    bool MovePoint(uint16_t pointID, const LatLonPoint& position);
    // Deletes a point that is not fixed (flag 0); false otherwise.
    bool DeletePoint(uint16_t pointID);
    ReferencePoint* FindReferencePoint(uint16_t pointID) const { return points.Find(pointID); }
    ReferencePoint* GetFirstPoint() const { return points.First(); }

    // ---- start positions ----
    // The unit's record, made empty when it has none; the side owns it.
    StartPositionRecord* GetStartPositions(uint16_t unitID);
    StartPositionRecord* FindStartPositions(uint16_t unitID) const { return startPositions.Find(unitID); }

    // ---- forwards to the ops staff (ids are mission ids unless named unit) ----
    // Each answers 0, false, null or the empty text when the side has no
    // ops staff.
    uint16_t GetFocusUnitID() const;
    uint16_t SetFocusUnit(uint16_t unitID);
    void HandleMissionEvent(uint16_t missionID, uint16_t code);
    void HandleMissionUnitEvent(uint16_t unitID, uint8_t code);
    void RemoveMissionListIDs(uint16_t missionID, IDList* ids);
    void AddMissionListIDs(uint16_t missionID, IDList* ids);
    // Mission 0: every mission.
    void SetMissionSetting(uint8_t setting, uint16_t missionID);
    // Mission 0: the holding mission (2).
    uint8_t GetMissionSetting(uint16_t missionID) const;
    std::string GetMissionInfo(uint16_t missionID) const;
    std::string GetUnitMissionInfo(uint16_t unitID) const;
    uint16_t CreateNewMission(const char* nameText, uint16_t kind, MissionNameRecord settings, const IDList* ids);
    uint16_t CreateNewTargetedMission(const char* nameText, uint16_t kind, MissionNameRecord settings,
                                      uint16_t singleID, const IDList* selection);
    uint16_t CreateInterceptMission(const IDList* selected, const IDList* targets);
    uint16_t AssignInterceptMission(const IDList* selected, const IDList* targets);
    void UpdateAllMissions();
    void AssignMissionUnits(PlaneRecRefList* list, uint16_t missionID);
    void UnassignMissionUnits(PlaneRecRefList* list, uint16_t missionID);
    PlaneRecRefList* GetMissionUnitCopy(uint16_t missionID);
    void StopEditingMissions(uint8_t commit);
    void DeleteMission(uint16_t missionID);
    MissionNameRecord* GetMissionUnAssigned(uint16_t missionID);
    char* SetMissionUnAssigned(uint16_t missionID);
    // Without an ops staff, or (SetUnAssigned) without data, the error box
    // names the fault and nothing is called; GetUnAssigned then answers null.
    CommandMessage* GetUnAssigned(uint16_t flag);
    void SetUnAssigned(uint16_t flag, CommandMessage* data);
    CommandMessage* GetAssigned(uint16_t missionID);
    void SetAssigned(uint16_t missionID, CommandMessage* data);
    CommandMessage* GetMissionList();
    bool MissionUnitReport(uint16_t unitID, uint16_t aircraftType, uint16_t loadout, uint16_t holderID,
                           uint8_t force);
    void MissionReleaseUnit(uint16_t unitID);
    void MissionNewName(const char* text, uint16_t missionID);
    uint16_t FindMissionOfUnit(uint16_t unitID) const;
    bool IsUnitInAnyMission(uint16_t unitID) const;
    void MoveUnitWithinMission(uint16_t unitID, uint16_t missionID);
    void UserSetMissionUnitSensors(uint16_t unitID);
    void ReturnToStandingMission(uint16_t unitID);
    void ReleaseMissionUnits();
    bool ProcessUnitMission(uint16_t unitID, uint16_t missionID);
    // The bridge's aircraft-reference calls, by the names of the gam2side
    // calls that reach them.
    void TellMission(uint16_t missionID, uint16_t holderID, uint16_t recordID, uint32_t flags);
    void TellMissionChanged(uint16_t holderID, uint16_t recordID, uint16_t fromMission, uint16_t toMission);
    void TellLoadoutChanged(uint16_t missionID, uint16_t holderID, uint16_t recordID, uint16_t loadoutID);
    void TellPlaneRecSplit(uint16_t missionID, uint16_t holderID, uint16_t oldRecord, uint16_t newRecord,
                           uint8_t count);
    void AskMission(uint16_t missionID, uint16_t holderID, uint16_t keptRecord, uint16_t mergedRecord);
    // False without calling when the side has no ops staff.
    bool MissionTest(uint16_t missionID, uint16_t holderID, uint16_t recordID);
    // The reference joins mission missionID (mission 1 when that does not
    // exist); answers the mission id used.
    uint16_t AddPlaneRecID(uint16_t holderID, uint16_t recordID, uint16_t missionID, uint16_t sourceUnitID);
    void SetUnitGroup(uint16_t unitID, uint16_t leaderID);
    uint16_t GetUnitMissionID(uint16_t unitID) const { return FindMissionOfUnit(unitID); }

    // The missions' side of a unit or reference move: the unit goes back to
    // the standing mission from mission missionID, the unit joins mission
    // missionID, the aircraft reference of holder and record moves from one
    // mission to another. Tests replace them to watch the missions.
    virtual void ReturnUnitToStanding(uint16_t unitID, uint16_t missionID);
    virtual void MoveUnitToMission(uint16_t unitID, uint16_t missionID);
    virtual void MoveReference(uint16_t holderID, uint16_t recordID, uint16_t fromMission, uint16_t toMission);

private:
    std::string name;
    std::string baseName;
    uint8_t clearOrders = 0;
    uint8_t kept = 1;
    uint8_t humanPlayable = 1;
    uint16_t stepState = STEP_FIRST_PASS;
    uint16_t spareWord = 0;
    std::unique_ptr<AreaPolygonList> threatZones;
    VictoryManager* vicMan = nullptr;   // owned
    OpsStaff* opsStaff = nullptr;       // owned
    StartPositionList startPositions;
    std::unique_ptr<SideRelationList> relations;
    SavedTreeListOf<ReferencePoint> points;
    Doctrine* doctrine = nullptr;       // owned; never null
};
