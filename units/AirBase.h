// AirBase.h: AirBase, the unit of a fixed air installation (type letter 'B'):
// a group whose members are the facilities of an airfield or air station. It
// never moves; it speaks for its facilities in the status panel, in the
// choice of the facility a hit falls on, and in the summary bits and figures
// (the aircraft it can take, how many are ready). Building the facilities
// from an installation record belongs to unit creation.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/IDList.h"
#include "core/LatLonPoint.h"
#include "units/Group.h"

class AirBase : public Group {
public:
    static constexpr char TYPE_LETTER = 'B';
    // The capability bit every air base has, with or without facilities.
    static constexpr uint32_t BASE_CAPABILITY = 0x400;
    // The name of a base not built from an installation record.
    static constexpr const char* DEFAULT_NAME = "BASE";

    // The group's construction (which advances the group-name counter), then
    // the name "BASE", speed 0, status bit 0x2000 and no installation.
    // aircraftCapability is 0 until the first UpdateAircraftCapability.
    AirBase();
    // The base of the installa.dat record `installation` at `position`:
    // with the record, its side, installation and unit id are set, its
    // facilities built (BuildFacilities) and its name taken from the record;
    // without it the base keeps the group's defaults and has no facilities.
    // Neither the name "BASE" nor status bit 0x2000 is set here.
    AirBase(uint16_t installation, LatLonPoint position, uint16_t sideID, uint16_t unitID);
    ~AirBase() override = default;

    // For each point whose facility.dat record exists, in order: a facility
    // of that record fitted for the base, placed at the point's offset from
    // the base position on the ground, marked as a base member, given the
    // base's side and the next free unit id, entered in the arena's unit
    // list, given its own side contact record and, when the side exists,
    // handed to the side's missions; then settled (sensors, reach, threats,
    // no record-link bit without a radio link) and joined to the base.
    // Nothing without the arena's unit list.
    void BuildFacilities(const IDPointList& points, const LatLonPoint& basePosition);
    // Each facility member is built again from its record and fitted,
    // marked and settled as BuildFacilities does.
    void RebuildFromAnnex() override;

    char GetTypeLetter() const override { return TYPE_LETTER; }
    char GetGroupLetter() const override { return TYPE_LETTER; }

    // ---- unit operations the air base replaces ----

    // A hit on the base falls on one of the facility members whose
    // capability word shares a bit with `mask`, each as likely as the
    // next (one draw of the game's generator): that facility takes the hit
    // and, when it answers that it is lost, its removal falls due that many
    // seconds later. Nothing happens without such a facility. Answers 0.
    int32_t ApplyDamage(int32_t amount, uint32_t kind, uint32_t mask) override;
    // Drops a path, then re-aims the tracking axes as a group does; the
    // position never changes.
    void Move(uint8_t elapsed) override;
    uint32_t GetTargetMask() const override { return aircraftCapability; }
    // The first four characters of the name padded to four and a blank,
    // then three parts of five blanks.
    void UpdateLabel() override;
    // Name, the side's doctrine, member ships, member submarines, emitting
    // or silent, damaged members, the largest aircraft size taken, "ready/all"
    // aircraft of the member ships and facilities, the weather lines, then
    // the conditions.
    void GetStatus(UnitStatus& status) const override;
    // The largest answer of the facility members (0 with none). While any
    // air base is already asking its facilities, the answer is 0 at once: a
    // facility without a size of its own asks its base, which would ask it
    // again.
    uint32_t GetMaxAircraftSize(bool first, bool second) const override;
    // The facility checks of the launch gear (0x2000000), hangar (0x80000)
    // and air facility (0x200000) bits: the base clears its own bit when no
    // facility member holds it any more. The base never sets them here.
    void OnAction3() override;
    void OnAction17() override;
    void OnAction15() override;
    // Each facility lists its own stocks.
    void CollectWeaponEntries(StockChain& chain, bool own) override;
    // A base has no speed: the answer is 0 and nothing changes.
    uint16_t SetSpeed(uint16_t wanted, int16_t altitude) override;

    // ---- group operations the air base replaces ----

    // The group's joining, then the capability is recomputed.
    void AddMember(uint16_t unitID, const StationRecord* templateStation) override;
    void RecomputeSpeedLimits() override {}
    void LimitSpeedByMember(uint16_t) override {}
    void PlanKind6Stations(SummaryList&) override {}
    // An air base cannot be moved, through either placement.
    void PlaceAt(const LatLonPoint&) override {}
    void TryMoveTo(const LatLonPoint&) override {}
    // 0x400 with the capability words of the facility members that can be
    // found.
    void UpdateAircraftCapability() override;

    // Saved record, little-endian: the group's record (letter 'B'), then
    // installationID u16. Loading sets status bit 0x2000 again and
    // recomputes the capability; a damaged record answers false and leaves
    // the shared group-name counter as it was.
    void SaveFields(std::ostream& out) const override;
    bool LoadFields(std::istream& in) override;

    uint16_t installationID = 0;      // installation record of the base; 0: none
    uint32_t aircraftCapability = 0;  // not saved; see UpdateAircraftCapability

private:
    // Clears `bit` on the base unless a facility member holds it.
    void RecheckFacilityBit(uint32_t bit);
};

// Registers the air base's maker for its type letter.
void RegisterAirBaseClass();
