// Group.h: Group, the unit of a formation of other units (type letter 'G'):
// its member list (GroupEntry), its three threat axes (ArcRecord), the
// stations of its members (Formation) and its aircraft records, with the
// group operations the member stations call. Membership, speed, movement
// and station planning come with the rest of the class.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/GameTime.h"
#include "core/SavedTreeListOf.h"
#include "units/ArcRecord.h"
#include "units/Formation.h"
#include "units/PlaneRec.h"
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
    uint16_t loadValue = 0;
    int16_t sonarValue = 0;
    uint16_t stationAxis = 0;     // planning scratch
    uint8_t excluded = 0;         // planning scratch
};

class Group : public Unit {
public:
    static constexpr int AXIS_COUNT = 3;
    // Each axis starts this far round from the last (120 degrees).
    static constexpr int32_t AXIS_STEP = 29491200;
    // Half-width of a new axis (30 degrees).
    static constexpr int32_t AXIS_HALF_WIDTH = 7372800;

    // No members, axes at 0, 120 and 240 degrees, an empty formation.
    Group();
    // Deletes the axes and the formation; the members are not touched.
    ~Group() override;

    char GetTypeLetter() const override { return 'G'; }
    bool IsGroup() const override { return true; }
    PlaneRecList* GetPlaneRecList() override { return &planeRecs; }

    // The bearing of an axis slot (angle units); -1 for a slot outside 0 to 2
    // or an empty one.
    int32_t GetAxisBearing(uint16_t axis) const;

    // Enters a unit as a member, with a copy of the template station (or a
    // plain one); the unit's parent becomes this group.
    virtual void AddMember(uint16_t unitID, const StationRecord* templateStation);
    // Takes the member and its station out of the group.
    virtual void RemoveMember(uint16_t unitID);
    // Changes the kind of the member's station.
    virtual void SetMemberStationKind(uint16_t unitID, uint8_t kind);
    // Tests every member's station from the group's position: a member out
    // of station is marked 'O' and, with reaim set, asked to move.
    virtual void UpdateStations(bool reaim);
    // The member's station, or null.
    virtual StationRecord* GetMemberStation(uint16_t unitID);
    void UpdateStatusFromFacilities();   // sets the facility members' status bits on the group

    // Saved record, little-endian: letter 'G' u8, the unit's part, members
    // (u16 count, each GroupEntry), the axes (u16 slot, bearing i32,
    // halfWidth i32 for each present one; slot 3 ends them), the formation,
    // speedCarry i16, leadID u16, lastStationUpdate u32, needsStationPlan u8,
    // noAircraft u8, stationSpeedMargin u16, noRelief u8. LoadFields reads
    // after the letter and answers false on a damaged record.
    void SaveFields(std::ostream& out) const override;
    bool LoadFields(std::istream& in) override;

    SavedTreeListOf<GroupEntry> members;   // by member unit id
    PlaneRecList planeRecs;                // the group's own aircraft records
    Formation* formation;                  // owned
    ArcRecord* axes[AXIS_COUNT] = {};      // owned; null: no axis
    uint16_t leadID = 0;
    int16_t speedCarry = 0;                // non-zero: members do not copy the group's path
    GameTime lastStationUpdate;
    uint8_t needsStationPlan = 1;
    uint8_t noAircraft = 0;                // 1: no aircraft could be launched
    uint16_t stationSpeedMargin = 0;       // knots over the group's speed for a transit
    uint8_t noRelief = 0;                  // 1: no relief aircraft was found
};
