// AirGroup.h: AirGroup, the unit of a flight of aircraft launched together
// (type letter 'A'). Its members are planes; the group carries the flight's
// name, position, path, speed and altitude, passes orders on to its aircraft,
// speaks for them in the status window and flies either its own path or in
// the wake of its lead aircraft. The class, its orders and saved record are
// AirGroup.cpp; its step, stations, label and status AirGroupFlight.cpp.
// What it needs of the missions and the landing event goes through
// AirGroupBridge.h.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "units/Group.h"

class Event;
class PositionNode;

class AirGroup : public Group {
public:
    static constexpr uint8_t TYPE_LETTER = 'A';
    // airGroupFlags bits.
    static constexpr uint8_t FORMING = 0x1;          // aircraft are still joining
    static constexpr uint8_t STATIONS_FAILED = 0x4;  // the last station check failed
    // needsStationPlan holds this once every member has landed.
    static constexpr uint8_t RETURNED = '*';
    // Resource text of the air-group name prefix.
    static constexpr int32_t NAME_PREFIX_TEXT = 0x7B0198;
    // Resource text of the speed-setting name of setting -1; settings 0 to 3
    // follow it.
    static constexpr int32_t SETTING_TEXT = 0x7B0199;
    // Speed every setting starts from before the members limit it.
    static constexpr uint16_t AIR_SPEED_CEILING = 32000;
    // The kind-9 station a joining aircraft takes: a whole circle, up to one
    // nautical mile from the group.
    static constexpr int32_t JOIN_RIGHT_BEARING = 88473599;
    static constexpr int32_t JOIN_LEFT_BEARING = 1;
    static constexpr int32_t JOIN_MAX_RANGE = 4096;

    // The group's construction, renamed from the air-group prefix and the
    // counter the group constructor has just advanced.
    AirGroup();
    ~AirGroup() override = default;

    // ---- unit operations ----
    char GetTypeLetter() const override { return TYPE_LETTER; }
    char GetGroupLetter() const override { return TYPE_LETTER; }
    int16_t GetAltitude() const override { return PositionObject::GetAltitude(); }
    void Move(uint8_t elapsed) override;
    // Name, course, speed and altitude band, as the lead's once returned.
    void UpdateLabel() override;
    void GetStatus(UnitStatus& status) const override;
    // The members' answers: the last member's for the stores, the amounts
    // spread over the members in equal shares rounded up.
    int32_t GetFuelCapacity(uint32_t fuel) const override;
    int32_t GetFuelRoom(uint32_t fuel) const override;
    int32_t GetSpareFuel(uint32_t fuel) const override;
    uint32_t DrainFuel(uint32_t amount, uint32_t fuel) override;
    int32_t AddFuel(uint32_t amount, uint32_t fuel) override;
    // The first member found answers.
    bool CanAttackType(char letter) const override;
    bool CanSupportType(char letter) const override;
    // The intersection of the members' altitude ranges; left as they were
    // without members.
    void GetAttackAltitudes(uint32_t mask, int16_t& low, int16_t& high) const override;
    // Every member's altitude, then the group's.
    void SetAltitude(int16_t altitude) override { SetGroupAltitude(altitude); }
    // The lead's answers; 0 without a lead.
    void GetAltitudeEnvelope(int16_t setting, int16_t& low, int16_t& high) const override;
    uint16_t GetWeaponReach(uint32_t kind) const override;
    uint16_t GetShortestWeaponReach(uint32_t kind) const override;
    uint16_t GetSensorReach(uint32_t kind) const override;
    uint16_t GetSonarReach(bool active) override;
    // The sum over every member found.
    int32_t SumWeaponRatings(uint32_t target) const override;
    uint32_t GetMaxAircraftSize(bool, bool) const override { return 0; }
    int32_t GetAircraftRoom(uint32_t) const override { return 0; }
    void SaveFields(std::ostream& out) const override;
    bool LoadFields(std::istream& in) override;

    // ---- group operations ----
    // Only planes join; the first sets the group's mission, altitude and
    // speed table. Without a station the plane flies on a kind-9 station at
    // the group's position.
    void AddMember(uint16_t unitID, const StationRecord* templateStation) override;
    // The last member leaving reports to the group's mission.
    void RemoveMember(uint16_t unitID) override;
    // Kinds 9 and 10 only.
    void SetMemberStationKind(uint16_t unitID, uint8_t kind) override;
    // Refreshes the stations round the first waypoint (or the group), checks
    // them, rebuilds the label and posts the station events.
    void UpdateStations(bool changed) override;
    bool CheckStations(bool force) override;
    void PlanStations(bool, bool) override {}
    void SetMemberRecalled(uint16_t, bool) override {}
    // A member has landed (see the .cpp).
    void RecallMember(uint16_t unitID) override;
    // A landed aircraft leaves the group.
    void RelaunchMember(uint16_t unitID, PlaneRec*) override { RemoveMember(unitID); }

    // ---- the air group's own operations ----
    void SetForming(bool forming);
    bool IsForming() const { return (airGroupFlags & FORMING) != 0; }
    bool HasReturned() const { return needsStationPlan == RETURNED; }
    // Every member found and the group to the altitude, labels rebuilt.
    void SetGroupAltitude(int16_t altitude);
    // Replaces the path by the target (null clears it), turns toward it and
    // chooses the speed.
    void SetPath(PositionNode* target) override;
    // A landing event for every member: to the event's destination when it
    // names one, else to the member's own home base.
    void LandAll(const Event* landEvent);
    // The lead's home base; 0 without a lead.
    uint16_t GetLeadHomeBase() const;
    // The first member's climb rate; 0 when it cannot be found.
    int32_t GetClimbRate(int32_t direction) const;
    // The task word to every member found.
    void OnMissionOrder(int32_t order) override;
    // The group's placement, every member at the same point, then the
    // stations refreshed; a unit placed through the unit operation gets the
    // same.
    void PlaceAt(const LatLonPoint& point) override;
    // The lead's answer to the capability query; false without a lead.
    bool HasSensorReach(uint32_t kind) const override;

    uint8_t airGroupFlags = 0;

protected:
    bool TakesSpeedOrder(const Unit& member) const override;
    uint16_t GetSpeedCeiling() const override { return AIR_SPEED_CEILING; }

private:
    // The lead member, or null.
    Unit* Lead() const;
    // The answer of the last member found; 0 without members.
    template <class Ask>
    int32_t LastMemberAnswer(Ask ask) const;
    // The fuel spread over the members: each offered ceil(A / n), n falling
    // per entry; answers the total moved.
    template <class Offer>
    int32_t SpreadFuel(uint32_t amount, Offer offer);
    // The member-taken-by-mission report; true when the mission took them.
    bool ReportLanded(const Unit* plane, int32_t landed);
    // Every member removed, first entry first.
    void RemoveAllMembers();
    // needsStationPlan '*' and the label rebuilt.
    void MarkReturned();
};

// Makes AirGroup the unit list's class of type letter 'A'.
void RegisterAirGroupClass();
