// ReconMission.h: ReconMission (type 9), aircraft flying over a set of the
// side's reference points one after another and coming home when no point is
// left for them; on the way they react to contacts: an enemy facility gets a
// unit sent to look, a contact worth it is closed on, shadowed or attacked.
// Construction, points, commands, emissions and launches are
// ReconMission.cpp, the unit step ReconStep.cpp, the contacts ReconContacts.cpp.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "core/IDList.h"
#include "core/LatLonPoint.h"
#include "core/LatLonRect.h"
#include "core/Units.h"
#include "missions/MissionRecord.h"

class ReferencePoint;

// Route states of a unit record in a recon mission.
namespace ReconState {
constexpr int16_t APPROACH = 0;         // flying toward its first point
constexpr int16_t ON_ROUTE = 1;         // point to point
constexpr int16_t OFF_ROUTE = 2;        // away from the route, not stepped here
constexpr int16_t ENGAGING = 3;         // engaging its target contact
constexpr int16_t CLOSING = 5;          // closing on its target contact
constexpr int16_t ROUTE_CONTACTS = 6;   // on the route with contacts reported
constexpr int16_t SHADOWING = 8;        // keeping contact with its target
constexpr int16_t OFF_ROUTE_CONTACTS = 11;
constexpr int16_t ATTACK_RUN = 17;      // attack run on its target contact
constexpr int16_t ORDERED = 19;         // just ordered to engage
} // namespace ReconState

class ReconMission : public MissionRecord {
public:
    static constexpr uint16_t TYPE = 9;
    // missionFlags bits of this type beyond the base's.
    static constexpr uint32_t EMISSIONS_MANAGED = 0x1;   // set at the first aircraft step
    static constexpr uint32_t POINTS_USED_UP = 0x10;     // a random draw found no point
    static constexpr uint32_t SUSPENDED = 0x100;         // commands 3 and 1
    // Commands of HandleMissionEvent.
    static constexpr uint16_t RESUME = 1;
    static constexpr uint16_t SUSPEND = 3;

    // Texts of the resource files.
    static constexpr int32_t POINTS_GONE_TEXT = 0x7B00CE;      // after the name: no recon point left
    static constexpr int32_t DESCRIPTION_TEXT = 0x7B00E0;      // opens the description
    static constexpr int32_t FIRST_POINT_TEXT = 0x7B00E2;      // before the first point id
    static constexpr int32_t NEXT_POINT_TEXT = 0x7B00E3;       // before every further id
    static constexpr int32_t NO_POINTS_TEXT_A = 0x7B00E4;      // no-points message: before the name,
    static constexpr int32_t NO_POINTS_TEXT_B = 0x7B00E5;      // after it,
    static constexpr int32_t NO_POINTS_TEXT_C = 0x7B00E6;      // and last
    static constexpr int32_t NOTHING_TO_ADD_TEXT = 0x7B00E7;   // after the name
    static constexpr int32_t NOTHING_TO_REMOVE_TEXT = 0x7B00E8;
    static constexpr const char* UNKNOWN_STATE_TEXT = "Recon unit in unknown status.";

    // Distances of the route (range units).
    static constexpr int32_t POINT_REACHED = RANGE_PER_NM;          // a point within this is reached
    static constexpr int32_t APPROACH_DONE = 10 * RANGE_PER_NM;     // the first point within this: on route
    static constexpr int32_t APPROACH_SHORT = 39960;                // the approach stops this far short
    static constexpr int32_t ENGAGE_REACH = 30 * RANGE_PER_NM;      // engaging reach and longest shadow leg
    // Altitude of the approach leg of an aircraft (tens of metres).
    static constexpr int16_t APPROACH_ALTITUDE = 61;
    // "No given destination" of the contact route steps.
    static constexpr LatLonPoint NO_DESTINATION{INT32_MAX, INT32_MAX};

    // A new mission of creation kind `kind` over the points of `points`
    // (copied; null for none) for side owner. Without points it is made all
    // the same: IsValid then refuses it.
    ReconMission(uint16_t kind, const char* nameText, const IDList* points, Side* owner);
    // The ops staff's maker of the creation kind: a mission over the list's
    // points (the single id is not used).
    static MissionRecord* MakeForKind(uint16_t kind, const char* nameText, const IDList* points, uint16_t id,
                                      Side* owner);
    // The mission list loader's mission, before Load; the type is not used.
    ReconMission(uint16_t type, Side* owner);
    // Deletes the side's area polygon ReconPolyID names, when it names one.
    ~ReconMission() override;

    // Saved form, little-endian, after the base record (SaveBase):
    //   ReconPoints     ID list (u16 count, then the ids)
    //   ReconArea       north, west, south, east: 4 x i32, angle units
    //   ReconPolyID     u16
    //   VisitedPoints   ID list
    // Load reads the same after LoadBase. A record cut short leaves the
    // stream failed, answers false and keeps none of the lists half-read.
    bool Load(std::istream& in) override;
    bool Save(std::ostream& out) override;

    // True with points; else the player gets the no-points message.
    bool IsValid() override;
    // Adds or removes the ids of the list; an empty (or null) list only
    // tells the player. A change rebuilds the area and the description.
    void AddPoints(IDList* ids) override;
    void RemovePoints(IDList* ids) override;
    // 2 when the unit's record closes on, shadows or (states 2, 11) is away
    // from the route for that contact; else 0.
    uint16_t QueryUnit(uint16_t unitID, uint16_t contactID) override;
    // Recon aircraft keep whatever posture they have.
    void SetAircraftPosture(Unit* unit, uint32_t kind) override;
    // The step of one unit when its mission-unit event falls due; a
    // non-zero code starts its route over.
    void StepUnit(uint16_t unitID, uint8_t code) override;
    // RESUME and SUSPEND; any other code does nothing.
    void HandleMissionEvent(uint16_t code) override;
    // 0 for ships, groups, bases and facilities; else the top of the
    // unit's altitude envelope at setting 2 (tens of metres).
    int16_t GetPatrolAltitude(Unit* unit, uint16_t value) override;
    // 0 for ships, groups, bases, submarines and facilities; else the top of
    // the envelope at setting 1.
    int16_t GetTaskAltitude(Unit* unit, uint16_t value, uint32_t targetClass) override;
    void DefaultSettingGroup1() override;
    void DefaultSettingGroup2() override;
    void DefaultSettingGroup3() override;
    // Once per state change (markBits 0): the unit's queued sensor orders go,
    // and, once the mission manages emissions, radar and ECM are ordered.
    void SetUnitPosture(uint16_t unitID, MissionUnitRec* record) override;
    // The description lists the point ids in key order.
    void SaveName() override;
    // The launch of the mission's aircraft, once per mission.
    void SetAircraftWait() override;

    // ---- contacts ----
    void ConsiderContact(Contact* contact, SideContacts* scanned) override;
    // 0 ignore, 1 engage, 2 investigate (a facility), 5 watch.
    uint16_t ClassifyContact(Contact* contact, SideContacts* scanned) override;
    // The side scanned plays no part here.
    bool IsContactInReach(Contact* contact, SideContacts* scanned) override;
    MissionTask* MakeTask(Contact* contact) override;
    void ScheduleContactCheck(Contact* contact, uint16_t decision) override;
    bool IsNotFriendlyClass(Contact* contact) override;
    // No task is kept: options asking for sensors get them, the task goes.
    void KeepTask(MissionTask* task, uint32_t targetClass, Contact* contact) override;
    // Free units of the scanned side become candidates; a facility kept
    // as a task gets one of them sent to look.
    void OnSideScanned(SideContacts* scanned) override;
    void OnEngageResult(uint16_t unitID, uint8_t clearMark, Contact* contact, uint8_t airOnly) override;
    void CheckIdleState(MissionUnitRec* record) override;

    // ---- the route ----
    // The bounding rectangle of the points that exist; with none, the
    // inverted start rectangle (north and east INT32_MIN, west and south
    // INT32_MAX).
    void UpdateArea();
    // Computer sides: a point drawn at random. No point at all sets
    // POINTS_USED_UP; a drawn id whose point is gone is removed: both null.
    ReferencePoint* PickRandomPoint();
    // The player's side: the nearest point not yet handed out in this cycle;
    // null when the cycle is used up, which starts the next one.
    ReferencePoint* PickNearestPoint(const Unit& unit);
    void ApproachPoint(uint16_t unitID, Unit* unit, MissionUnitRec* record);
    void FlyToPoint(uint16_t unitID, Unit* unit, MissionUnitRec* record);
    // A point from `from` toward `to`, low to low + span - 1 percent of the
    // way (span cut so that the two stay within 100).
    static LatLonPoint PointToward(const LatLonPoint& from, const LatLonPoint& to, int32_t low, int32_t span);
    void SetRadarPosture(uint16_t unitID, int16_t state);
    void SetECMPosture(uint16_t unitID, int16_t state);
    // Player's side: one aircraft of the reference whose aircraft fly
    // farthest.
    void LaunchLongestRange();

    // ---- the contact route states ----
    void RecheckTaskedUnits(Contact* contact);
    void SendInvestigator(Contact* contact);
    void EngageTarget(uint16_t unitID, Unit* unit, MissionUnitRec* record);
    void CloseOnContact(uint16_t unitID, Unit* unit, MissionUnitRec* record, const LatLonPoint& destination,
                        int16_t setting, int16_t altitude, uint8_t code);
    void ShadowContact(uint16_t unitID, Unit* unit, MissionUnitRec* record);
    void AttackRun(uint16_t unitID, Unit* unit, MissionUnitRec* record, const LatLonPoint& destination,
                   int16_t setting, int16_t altitude, uint8_t code);

    IDList ReconPoints;          // reference point ids to fly over
    LatLonRect ReconArea;        // bounds of those that exist
    uint16_t ReconPolyID = 0;    // the side's area polygon of the mission; only kept
    IDList VisitedPoints;        // handed out in the current nearest-first cycle

private:
    // The point the unit asks for next: nearest-first on the player's side,
    // else at random.
    ReferencePoint* ChoosePoint(const Unit& unit);
    // The start the two route steps share; the point to fly to, or null
    // when the step ends there.
    ReferencePoint* StartRouteStep(uint16_t unitID, Unit& unit, MissionUnitRec& record);
    // Shows the player the mission name and a text after it.
    void TellPlayer(const std::string& text) const;
    // Whether the change of points needs the area and description rebuilt.
    void AfterPointsChanged(bool changed);
    // The start the contact route steps share: false when the unit follows
    // direct orders or is woken at the end of its path.
    bool MayOrderUnit(Unit& unit) const;
    // Flies the unit to a point at a propulsion setting and altitude.
    void FlyTo(uint16_t unitID, Unit* unit, const LatLonPoint& point, int16_t setting, int16_t altitude);
    // Back to the route, unless the points are used up.
    void GiveUp(uint16_t unitID, MissionUnitRec* record);
    // Toward a random recon point from the unit; give up without one.
    void HeadForRandomPoint(uint16_t unitID, Unit* unit, MissionUnitRec* record, int16_t setting,
                            int16_t altitude);
    // The start of the closing and attack runs: with a code, toward a random
    // recon point; with a destination, there. True when the step is done.
    bool StartContactRun(uint16_t unitID, Unit* unit, MissionUnitRec* record, const LatLonPoint& destination,
                         int16_t setting, int16_t altitude, uint8_t code);
    // The unit's route is cleared and the unit stepped again, or a
    // formation gets its posture.
    void Retask(uint16_t unitID, Unit* unit, MissionUnitRec* record);
};
