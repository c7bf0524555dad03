// StandingMission.h: StandingMission, mission 1 of every side (type 1): it
// holds the units and aircraft no other mission holds, sends idle units home
// or reports them to the player, and lets a unit told to engage a contact do
// so once the contact comes within reach. The side's ops staff makes it.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/Units.h"
#include "missions/MissionRecord.h"

class Contact;

class StandingMission : public MissionRecord {
public:
    static constexpr uint16_t TYPE = 1;
    static constexpr int32_t NAME_TEXT = 0x7B010A;          // the mission's name
    static constexpr int32_t IDLE_REPORT_TEXT = 0x7B00DB;   // after the unit's name: it waits for orders
    // A contact closer than this (range units) is engaged.
    static constexpr int32_t ENGAGE_REACH = 30 * RANGE_PER_NM;

    // The set-up mission: creation kind (0 here), name text, owning side.
    StandingMission(uint16_t kind, const char* nameText, Side* owner);
    // The mission list loader's mission, before Load.
    StandingMission(uint16_t type, Side* owner);
    ~StandingMission() override = default;

    // The saved form is the base record alone.
    bool Load(std::istream& in) override;
    bool Save(std::ostream& out) override;

    // The unit's record, unless already done, becomes done (no events removed).
    void ReleaseUnit(Unit* unit) override;
    // The standing mission never launches aircraft: both answer true.
    bool LaunchForUnit(Unit* unit, uint16_t aircraftType, uint16_t loadout, uint16_t holderID,
                       uint8_t force) override;
    bool LaunchReplacement(Unit* plane, MissionUnitRec* record) override;
    // The step of one unit when its mission-unit event falls due.
    void StepUnit(uint16_t unitID, uint8_t code) override;
    // Posts the sensor order for the record's state once per state change.
    void SetUnitPosture(uint16_t unitID, MissionUnitRec* record) override;

    // The gate both standing missions' steps pass first: the unit of a
    // record of `mission`, unless it is an air base or facility, a member
    // left to its parent (a parent id, and a state other than ON_DUTY or
    // ORDERED), or under direct orders (state flag 0x20). Null when the
    // step has nothing to do; record is then null too when it is missing.
    static Unit* FindUnitToStep(MissionRecord& mission, uint16_t unitID, MissionUnitRec*& record);
    // The contact the record's target names in the unit's own contact
    // record; null when either is missing.
    static Contact* FindTargetContact(const Unit& unit, const MissionUnitRec& record);
    // The unit's record in `mission`, unless already done, becomes done: a
    // plain store, no queued events are removed.
    static void MarkUnitDone(MissionRecord& mission, Unit* unit);
    // When the unit still has a planned path, a mission-unit event is hung
    // on its last point, so that the unit is stepped again on arrival;
    // answers whether it had a path.
    static bool WakeAtPathEnd(Unit& unit);

    // An idle unit: woken again at the end of its path, else sent home
    // (computer side) or reported to the player (the side that clears orders).
    void StepIdleUnit(MissionUnitRec* record, Unit* unit);
    // A unit told to engage: an ordered engagement counts as started; an
    // engaging unit attacks its contact in reach or goes back to idle.
    void StepEngagingUnit(MissionUnitRec* record, Unit* unit);
};
