// FerryMission.h: FerryMission (type 8, creation kind 13): moves aircraft
// and air groups to a destination unit of the same side. Each flies to the
// point halfway to the destination and is then ordered to land there; the
// aircraft references it holds are launched once when they can reach and
// fit the destination, else handed back to the standing mission. It
// finishes itself when nothing is left to move.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/Units.h"
#include "missions/MissionRecord.h"

class FerryMission : public MissionRecord {
public:
    static constexpr uint16_t TYPE = 8;
    // Texts of the description and of the refused destination.
    static constexpr int32_t DESCRIPTION_TEXT = 0x7B0116;       // before the destination's name
    static constexpr int32_t DESTINATION_GONE_TEXT = 0x7B0117;
    static constexpr int32_t NO_DESTINATION_TEXT = 0x7B0118;
    static constexpr int32_t REFUSED_TEXT = 0x7B0119;           // before the mission name
    static constexpr int32_t REFUSED_MIDDLE_TEXT = 0x7B011A;
    static constexpr int32_t REFUSED_END_TEXT = 0x7B011B;
    // Flags of a new ferry: radar, sonar and ECM off.
    static constexpr uint32_t CREATION_FLAGS = 0x2402;
    // A contact closer than this (range units) is engaged on the way.
    static constexpr int32_t ENGAGE_REACH = 30 * RANGE_PER_NM;
    // Altitudes a unit flies at (GetPatrolAltitude).
    static constexpr int16_t AIRCRAFT_ALTITUDE = 61;
    static constexpr int16_t OTHER_ALTITUDE = -10;
    // Unit record states of the ferry.
    static constexpr int16_t ON_THE_WAY = 1;   // halfway point ordered, landing next

    // A new ferry of creation kind `kind` for side toward the destination
    // unit (0: none, which IsValid refuses).
    FerryMission(const char* nameText, Side* owner, uint16_t kind, uint16_t destination);
    // The mission list loader's mission, before Load.
    FerryMission(uint16_t type, Side* owner);
    ~FerryMission() override = default;
    // The ops staff's maker of the ferry kind: the list is not used, `id`
    // is the destination.
    static MissionRecord* MakeForKind(uint16_t kind, const char* name, const IDList* list, uint16_t id, Side* side);

    uint16_t GetDestination() const { return FerryDestination; }

    // True when the destination is a unit of the player's side that exists
    // and belongs to this mission's side; else the player is told and the
    // answer is false (the ops staff then deletes the mission).
    bool IsValid() override;
    // Saved form, little-endian: the base record (SaveBase), then
    //   FerryDestination   u16   unit id, 0 none
    bool Save(std::ostream& out) override;
    bool Load(std::istream& in) override;

    // The unit's record, unless already done, becomes done.
    void ReleaseUnit(Unit* unit) override;
    // The step of one unit when its mission-unit event falls due.
    void StepUnit(uint16_t unitID, uint8_t code) override;
    // Code 1 resumes the units; code 3 delays the start by a random time
    // below the low 16 bits of delayTime.
    void HandleMissionEvent(uint16_t code) override;
    // 0 for ships, groups, bases and facilities; AIRCRAFT_ALTITUDE for
    // aircraft and air groups; OTHER_ALTITUDE for the rest.
    int16_t GetPatrolAltitude(Unit* unit, uint16_t value) override;
    void DefaultSettingGroup1() override;
    void DefaultSettingGroup2() override;
    void DefaultSettingGroup3() override;
    // Radar and ECM orders for the record's state, once per state change
    // and only while the mission manages emissions (flag 0x1).
    void SetUnitPosture(uint16_t unitID, MissionUnitRec* record) override;
    // The description: the destination's name, or that it is gone or missing.
    void SaveName() override;
    // The finish test, run whenever a unit left the mission.
    void OnUnitRemoved(MissionUnitRec* record) override;
    // Launches, once, every held reference that can reach and fit the
    // destination; the others go back to the standing mission.
    void SetAircraftWait() override;

    // Whether the aircraft of the reference can go to the destination:
    // the record exists and is ready (flags 0x10F), the destination has
    // room and a landing place large enough, the holder is in reach and
    // neither is nor sits on the destination.
    bool CanReferenceGo(const PlaneRecRef& reference, const Unit& destination) const;

private:
    // State 0 and 1 units under direct orders or with a path left wait.
    bool IsUnitBusy(Unit& unit) const;
    // Sends the unit toward the point halfway to the destination.
    void StartTrip(uint16_t unitID, MissionUnitRec* record, Unit& unit);
    // Gives the destination as home to the unit (and the members of an air
    // group) and orders the landing.
    void OrderLanding(uint16_t unitID, Unit& unit);
    // A unit told to engage on the way: attacks its contact in reach or
    // goes back on its way.
    void StepEngagingUnit(uint16_t unitID, MissionUnitRec* record, Unit& unit);

    uint16_t FerryDestination = 0;
};
