// Group.h: Group, the unit of a formation of other units (type letter 'G'):
// its member list (GroupEntry), its three threat axes (ArcRecord), the
// stations of its members (Formation), its own aircraft records and the
// stations of its aircraft. The class, its naming and saved record are
// Group.cpp; joining, leaving, speed, movement and the relays to the members
// GroupMembers.cpp; the axes and the station refresh GroupAxes.cpp; the
// automatic station planning GroupPlanning.cpp; the air stations and the
// aircraft hand-over GroupAircraft.cpp. What the group needs of the sides,
// contacts and windows goes through GroupBridge.h.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <vector>

#include "core/GameTime.h"
#include "core/SavedTreeListOf.h"
#include "units/ArcRecord.h"
#include "units/Formation.h"
#include "units/PlaneRec.h"
#include "units/PlaneTypeSummary.h"
#include "units/StationList.h"
#include "units/Unit.h"

// A member of a group, keyed by the member's unit id.
class GroupEntry : public TreeListNode<GroupEntry> {
public:
    GroupEntry() = default;
    explicit GroupEntry(uint16_t unitID) : TreeListNode<GroupEntry>(unitID) {}
    virtual ~GroupEntry() = default;

    // Saved form, little-endian: key u16, capability 3 x u8, sonarValue i16,
    // loadValue u16. stationAxis and excluded are not saved.
    void Save(std::ostream& out) const;
    bool Load(std::istream& in);

    uint8_t capability[3] = {};   // from the member's platform record
    uint16_t loadValue = 0;       // a ship's or facility's weapons against mask 8
    int16_t sonarValue = 0;       // the best sonar depth figure of its record
    uint16_t stationAxis = 0;     // planning scratch
    uint8_t excluded = 0;         // planning scratch
};

// A temporary list of members taken out of `members` by the planning.
using MemberList = TreeListOf<GroupEntry>;
using SummaryList = TreeListOf<PlaneTypeSummary>;

// The station planning keeps its tallies in the spare fields of the aircraft
// type summaries: the best weapon counts against air (mask 4) and surface
// (mask 1) targets, the aircraft available, those already on station, and
// the roles their stations cover.
namespace PlanTally {
constexpr uint16_t ROLE_SONAR = 1;     // kinds 6 and 8
constexpr uint16_t ROLE_WARNING = 2;   // kind 7
constexpr uint16_t ROLE_PATROL = 4;    // kinds 4 and 11
inline uint16_t& BestAir(PlaneTypeSummary& s) { return s.spare1; }
inline uint16_t& BestSurface(PlaneTypeSummary& s) { return s.spare2; }
inline uint16_t& Available(PlaneTypeSummary& s) { return s.spare3; }
inline uint16_t& Assigned(PlaneTypeSummary& s) { return s.spare4; }
inline uint16_t& Roles(PlaneTypeSummary& s) { return s.spare5; }
// The role bit of a station kind; 0 for kinds of no role.
uint16_t RoleOf(uint8_t kind);
}  // namespace PlanTally

class Group : public Unit {
public:
    static constexpr int AXIS_COUNT = 3;
    // Each axis starts this far round from the last (120 degrees).
    static constexpr int32_t AXIS_STEP = 29491200;
    // Half-width of a new axis (30 degrees).
    static constexpr int32_t AXIS_HALF_WIDTH = 7372800;
    // Resource text of the group-name prefix.
    static constexpr int32_t NAME_PREFIX_TEXT = 0x7B01ED;
    // Speeds of the group's own plant before its members limit them, and
    // the limit every setting starts from when they are recomputed.
    static constexpr uint16_t IDLE_SPEED = 5;
    static constexpr uint16_t OPEN_SPEED = 1000;
    static constexpr uint16_t SPEED_CEILING = 400;
    // Game seconds between refreshes of the stations while an axis tracks.
    static constexpr uint32_t TRACKING_REFRESH = 300;
    // Game seconds from a change of the lead's side record to the check.
    static constexpr uint32_t MEMBER_CHECK_DELAY = 30;

    // No members; named from the prefix and the shared counter; axes at 0,
    // 120 and 240 degrees; an empty formation; the group's own plant.
    Group();
    // Deletes the axes and the formation; the members are not touched.
    ~Group() override;

    // The shared group-name counter (8 bits, from 0 at start-up).
    static uint8_t GetNameCounter();
    static void SetNameCounter(uint8_t value);

    // ---- unit operations the group replaces ----
    char GetTypeLetter() const override { return 'G'; }
    bool IsGroup() const override { return true; }
    // 'G' (the air group and air base classes answer theirs); 0 for units.
    virtual char GetGroupLetter() const { return 'G'; }
    PlaneRecList* GetPlaneRecList() override { return &planeRecs; }
    int32_t TakeDamage(int32_t, uint32_t) override { return 0; }
    void ApplyCriticalHit(int32_t, uint32_t) override {}
    void Move(uint8_t elapsed) override;
    bool DetectUnit(Unit&) override { return false; }
    void UpdatePairDetection(Unit&) override {}
    void BuildEngagementList(uint32_t mask, uint16_t targetID, const NavVector& toTarget, Chain<TimedRecord>& out,
                             uint32_t flags) override;
    void ResolveFireOrders() override {}
    bool PointDefense(Weapon&) override { return false; }
    void ClearPath() override;
    int16_t GetAltitude() const override { return 0; }
    int16_t GetRadarSignature(int) const override { return 0; }
    int16_t GetFirstSonarSignature(int) const override { return 0; }
    int16_t GetSecondSonarSignature(int) const override { return 0; }
    int16_t GetVisualSignature(int) const override { return 0; }
    int16_t GetInfraredSignature(int) const override { return 0; }
    uint32_t GetTargetMask() const override { return 0; }
    // Name (padded to four), course "000", speed in four columns, four blanks.
    void UpdateLabel() override;
    int32_t GetSensorTypeState(uint8_t sensorType) const override;
    bool HasActiveEmitter() const override;
    uint32_t GetMaxAircraftSize(bool first, bool second) const override;
    int32_t GetAircraftRoom(uint32_t flags) const override;
    void RefreshAircraftRecords() override { HandOverAircraft(); }
    void SetLinkActive() override {}
    void EnableDataLink() override;
    void ClearLinkActive() override {}
    void DisableDataLink() override;
    void RebuildFromAnnex() override { RecomputeSpeedLimits(); }
    // The speed order, walked over the members until it settles.
    uint16_t SetSpeed(uint16_t wanted, int16_t altitude) override;
    // The sum of the member ships' answers.
    int32_t SumWeaponRatings(uint32_t target) const override;

    // ---- membership, speed and movement ----
    virtual void AddMember(uint16_t unitID, const StationRecord* templateStation);
    virtual void RemoveMember(uint16_t unitID);
    virtual void SetMemberStationKind(uint16_t unitID, uint8_t kind);
    virtual void RecomputeSpeedLimits();
    virtual void LimitSpeedByMember(uint16_t unitID);
    // The lead member's answer (an aircraft lead's own reach figures, of
    // the whole or half its fuel); false without a lead.
    bool CanReachAndReturn(const LatLonPoint& point, uint16_t knots, int32_t altitude);
    bool CanReachAndReturnHalf(const LatLonPoint& point, uint16_t knots, int32_t altitude);
    // The status lines: name, the side's doctrine, speed and setting, course,
    // member ships, member submarines, the mission (when there is one),
    // emitting or silent, damaged members, sea state, cloud cover,
    // precipitation, "ready/all" aircraft of the member ships and
    // facilities, then the conditions.
    void GetStatus(UnitStatus& status) const override;
    // The first non-zero answer of the member ships, in key order.
    uint32_t GetCapabilities(uint32_t kind) const;
    // The member ships and submarines, and the members showing damage, of
    // those that can be found.
    struct MemberTally {
        unsigned ships = 0, subs = 0, damaged = 0;
    };
    MemberTally TallyMembers() const;
    // Sums of the member ships' and facilities' aircraft, all and ready.
    uint32_t CountMemberAircraft() const;
    uint32_t CountMemberReadyAircraft() const;
    // Follows the lead into its side record when the lead's differs from
    // the group's; in every case the group's member check comes 30 game
    // seconds later.
    void FollowLeadEntry();
    // Places the group at the point and each member at its station round it.
    virtual void PlaceAt(const LatLonPoint& point);
    // A group placed as a unit is placed with its members.
    void TryMoveTo(const LatLonPoint& point) override { PlaceAt(point); }

    // ---- axes and stations ----
    bool HasAxis(uint16_t axis) const { return axis < AXIS_COUNT && axes[axis] != nullptr; }
    // The bearing (angle units) and half-width of an axis; -1 for a slot
    // outside 0 to 2 or an empty one.
    int32_t GetAxisBearing(uint16_t axis) const;
    int32_t GetAxisWidth(uint16_t axis) const;
    void SetAxisWidth(uint16_t axis, int32_t halfWidth);
    void SetAxisBearing(uint16_t axis, int32_t bearing);
    void SetAxisContact(uint16_t axis, uint16_t contactID);
    // Turns a tracking axis to its contact; nothing when either is missing.
    void ReaimAxis(uint16_t axis);
    // Course and label, with reaim axis 0 and the stations refreshed; the
    // on-station test; speed held back while members are off station.
    virtual void UpdateStations(bool reaim);
    virtual bool CheckStations(bool force) { return formation->CheckStations(force); }
    virtual StationRecord* GetMemberStation(uint16_t unitID);
    virtual void SetMemberRecalled(uint16_t unitID, bool recalled);
    virtual void RecallMember(uint16_t unitID);
    // The automatic placement of axes 1 and 2 on the side's contacts.
    void UpdateThreatAxes();
    // The largest station range or member range from the group.
    int32_t GetFormationRadius() const;
    // The sectors of the member stations of a kind (or recalled from it),
    // then of the air stations of that kind not flying, for the formation
    // window: each as outer range, left bearing, inner range, right bearing,
    // the bearings turned by the station's axis.
    struct StationSector {
        int32_t minRange, leftBearing, maxRange, rightBearing;
    };
    std::vector<StationSector> GetStationSectors(uint8_t kind) const;
    void UpdateStatusFromFacilities();   // sets the facility members' status bits on the group
    // An air base recomputes the aircraft capability of its facilities;
    // nothing in any other group.
    virtual void UpdateAircraftCapability() {}

    // ---- station planning and aircraft ----
    virtual void PlanStations(bool planAir, bool planShips);
    virtual void PlanKind6Stations(SummaryList& summaries);
    virtual void PlanKind7Stations(SummaryList& summaries);
    virtual void PlanKind4Stations(SummaryList& summaries);
    virtual void PlanCentreStation(MemberList& candidates);
    virtual void PlanScreenStations(MemberList& candidates);
    virtual void RelaunchMember(uint16_t unitID, PlaneRec* record);
    virtual void RefreshStationPlanFlag();
    // One air station per aircraft of the record ('L'), then the record's
    // own copy of the station.
    void AddAirStations(PlaneRec& record, const StationRecord& station);
    void LaunchAirStation(const PlaneRec& record, uint16_t planeUnitID);
    void DropAirStation(uint16_t planeUnitID);
    void CopyStationToAirStation(uint16_t unitID);
    StationRecord* FindAirStation(const StationRecord& station);
    void ReleaseAirStations();
    // Moves the group's aircraft records to members that can hold them.
    void HandOverAircraft();

    // Saved record, little-endian: letter 'G' u8, the unit's part; members
    // (u16 count, each GroupEntry); the axes (u16 slot 0 to 2 and the
    // 16-byte ArcRecord for each present one; slot 3 ends them); the
    // formation; the air stations (u16 count, each kind u8 and its record;
    // only from files of version 2.1.0.0 on, or with a scenario name);
    // speedCarry i16, leadID u16, lastStationUpdate u32, needsStationPlan u8,
    // the name counter u8. LoadFields reads after the letter and answers
    // false on a damaged record (an axis slot above 3 among them).
    void SaveFields(std::ostream& out) const override;
    bool LoadFields(std::istream& in) override;

    SavedTreeListOf<GroupEntry> members;   // by member unit id
    PlaneRecList planeRecs;                // the group's own aircraft records
    Formation* formation;                  // owned
    StationList airStations;               // owned: one per aircraft sent out
    ArcRecord* axes[AXIS_COUNT] = {};      // owned; null: no axis
    uint16_t leadID = 0;
    int16_t speedCarry = 0;                // speed held back while stations form
    GameTime lastStationUpdate;
    uint8_t needsStationPlan = 1;
    uint8_t noAircraft = 0;                // 1: no aircraft could be launched (not saved)
    uint16_t stationSpeedMargin = 0;       // knots over the group's speed for a transit (not saved)
    uint8_t noRelief = 0;                  // 1: no relief aircraft was found (not saved)

protected:
    // Whether a member takes the group's speed orders (planes do not), and
    // the speed every setting starts from before the members limit it.
    virtual bool TakesSpeedOrder(const Unit& member) const { return member.GetTypeLetter() != 'P'; }
    virtual uint16_t GetSpeedCeiling() const { return SPEED_CEILING; }
    // The group's own plant (propulsion type 0x200), or null.
    PropulsionPlant* OwnPlant() const { return plants.First(); }
    // A new plant of the group's kind, with its opening speeds.
    static PropulsionPlant* MakeOwnPlant();

private:
    bool TakeRecord(PlaneRec& record, Unit& holder, uint32_t readyDelay, int32_t space);
    bool aircraftWalk_ = false;            // re-entry guard of the aircraft queries
};
