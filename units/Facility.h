// Facility.h: Facility, the unit of a fixed installation on land (type
// letter 'F'): its air facilities and aircraft records, its damage, repair
// and damage effects, its capability word and map symbol, its height above
// the ground and its saved record. Fields, queries, label and record are in
// Facility.cpp; hits, repair and the step in FacilityDamage.cpp.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "annex/AnnexEntry.h"
#include "units/PlaneRec.h"
#include "units/Unit.h"

class FacilityAnnex;

class Facility : public Unit {
public:
    static constexpr char TYPE_LETTER = 'F';
    // damageState bits.
    static constexpr uint32_t DAMAGED = 0x1;     // over half its damage taken
    static constexpr uint32_t DESTROYED = 0x2;
    // The capability word of an airfield with fuel and nothing else.
    static constexpr uint32_t AIRFIELD = 0x60;
    // Resource texts of the destruction message and the status caption.
    static constexpr int32_t DESTROYED_TEXT = 0x7B01EA;
    static constexpr int32_t CAPTION_TEXT = 0x7B01EB;

    // The unit's part, both lists empty, every own field 0.
    Facility();
    // The unit of the facility.dat record `facilityAnnexID`: a land line
    // under key 1 (also without the record), then BuildFromAnnex. It has no
    // unit id yet: whoever gives it one then calls PostRadarsActive.
    explicit Facility(uint16_t facilityAnnexID);
    ~Facility() override = default;

    char GetTypeLetter() const override { return TYPE_LETTER; }

    // ---- unit operations the facility replaces ----

    // A hit of a strength and damage category (see FacilityDamage.cpp):
    // answers 1 when the facility is destroyed by it or already was, else 0.
    int32_t TakeDamage(int32_t amount, uint32_t kind) override;
    // One damage effect posted as a multi-action event.
    void ApplyCriticalHit(int32_t amount, uint32_t kind) override;
    // The step: status bit 0x2000, repair of part of the last step's damage,
    // the mounts reload, the weather at the position. A facility never moves.
    void Move(uint8_t elapsed) override;
    // The aircraft held are reported lost, the air facilities and aircraft
    // records go, then the unit's removal.
    void RemoveFromPlay() override;
    // A facility has no path.
    void ClearPath() override {}
    void SetPath(PositionNode* first) override;
    int16_t GetAltitude() const override { return height; }
    int16_t GetRadarSignature(int aspect) const override;
    int16_t GetFirstSonarSignature(int /*aspect*/) const override { return 0; }
    int16_t GetSecondSonarSignature(int /*aspect*/) const override { return 0; }
    int16_t GetVisualSignature(int aspect) const override;
    int16_t GetInfraredSignature(int aspect) const override;
    uint32_t GetTargetMask() const override { return capabilityFlags; }
    // The first four characters of the name padded to four and a blank, then
    // three parts of five blanks.
    void UpdateLabel() override;
    // 100 destroyed, 50 damaged, else 0.
    int32_t GetDamagePercent() const override;
    int32_t GetSeenDamagePercent() const override { return GetDamagePercent(); }
    void GetStatus(UnitStatus& status) const override;
    int32_t GetActionDamagePercent() const override { return 50; }
    // The largest aircraft size class the air facilities take: first alone
    // over runways and pads (types 1 to 4), second alone with catapults
    // (type 6) too, both the smaller of the two, neither 0; a facility
    // without one asks its air base.
    uint32_t GetMaxAircraftSize(bool first, bool second) const override;
    AnnexEntryList* GetAirFacilityList() override { return &airFacilityList; }
    // How many more aircraft with these plane type flags fit.
    int32_t GetAircraftRoom(uint32_t flags) const override;
    PlaneRecList* GetPlaneRecList() override { return &planeRecs; }
    // Takes a point on land only; the height is re-based there.
    void TryMoveTo(const LatLonPoint& point) override;
    // From damagePoints: below 6 gives 1, 26 gives 2, 126 gives 4, 626 gives
    // 8, else 16.
    uint8_t GetSizeClass() const override;
    // The status bits of the air facilities, refreshed when the damage effect
    // that set them ends: launch gear 0x2000000 (catapults and elevators,
    // effect 3), hangars 0x80000 (hangars and open parking, effect 17), air
    // facilities 0x200000 (any, effect 15). Each clears its bit when no entry
    // holds it any more and asks the air base to do the same.
    void OnAction3() override;
    void OnAction17() override;
    void OnAction15() override;
    // Another facility of the same side with datalink records joins this
    // facility's side record: the first records of both link the other unit,
    // the other's record is merged into this one's by an event, the current
    // record follows, and the answer is 1. Already in one record: 1, nothing
    // changes. Either record missing: 0, nothing changes. Any other unit: the
    // unit's own link rule.
    int32_t UpdateDataLink(Unit& other, int32_t range, uint8_t sight, uint8_t withinHorizon,
                           uint16_t options) override;
    // Asked for the stocks it draws on (own false), a facility passes the
    // question to its parent when it has one that can be found, else answers
    // for itself; asked for its own (own true), it lists its magazines.
    void CollectWeaponEntries(StockChain& chain, bool own) override;

    // ---- moving-object operations ----

    // Every change of position re-bases the height (SetPositionRebased).
    void SetPosition(const LatLonPoint& point) override { SetPositionRebased(point); }
    // The sensor caches, then an air base parent recomputes its aircraft
    // capability.
    void UpdateSensorReach() override;
    // The record's fifth byte.
    int32_t GetSpecialValue() const override { return GetFifthRecordByte(); }

    // Built again from the record: the unit leaves the data link, its air
    // facilities, sensors, mounts, datalink records and fuel tanks go (its
    // magazines and aircraft records stay), a new land line and the build
    // follow with the radars ordered active, the map symbol and the name
    // kept; LINKS_RECORDS is set with two links or more, else cleared; the
    // unit rejoins its side when the side exists.
    void RebuildFromAnnex() override;

    // ---- the facility's own operations ----

    // The set-up from the facility.dat record of `id` (nothing without it):
    // the air facilities with the aircraft space (hangar and parking), the
    // annex id, sensors, mounts, the datalink records after the land line,
    // fuel tanks and (when it has none) magazines, the codes, damage points,
    // height, triples, name and the class name "F".
    void BuildFromAnnex(uint16_t id);
    // With sensors, a set-sensors event turning its radars active, for the
    // facility's unit id: called once a facility built from its record has
    // been given its id (by the air base that places it, or by whoever
    // brings it into play), and again by a rebuild.
    void PostRadarsActive();
    // As a member of an air base: the map symbol, the capability word and
    // the ground height; then (MarkAsBaseMember) the base and record-link
    // bits, with sensors the sensor bit; once placed and registered
    // (SettleInBase) the sensor caches, the weapon reach, the default
    // threats, and the record-link bit cleared without a radio link (key 2).
    void FitForBase();
    void MarkAsBaseMember();
    void SettleInBase();

    // The capability word from the air facilities and the stores.
    virtual void DeriveCapability();
    // The height grows by the ground altitude at the position when that is
    // not negative.
    virtual void AddGroundHeight();
    // Moves the facility, keeping its height above the ground it stands on.
    // The altitude itself is not changed.
    virtual void SetPositionRebased(const LatLonPoint& point);
    // The map symbol kind in the state-flag bits 9 to 15.
    void SetSymbolKind();

    // The facility.dat record's figures: damage points (damageTaken without a
    // record), one of its five bytes by target letter, and its fifth byte.
    uint16_t GetMaxDamagePoints() const;
    uint8_t GetByteForLetter(char letter) const;
    uint8_t GetFifthRecordByte() const;
    // The facility.dat record, or null.
    const FacilityAnnex* FindRecord() const;

    // Saved record, little-endian:
    //   letter 'F' u8, unit id u16, air facilities (u16 count, each entry),
    //   aircraft records (PlaneRecList), annexID u16, name NameString,
    //   aircraftSpace 2 x u16, capabilityFlags u32, facilityCode2 u32,
    //   facilityCode1 u32, damageTaken u16, damagePoints u16,
    //   damageState u32 (not in files of 2.0.1.0 and before, nor 2.0.2.0),
    //   the unit's part
    // recentDamage and height are not saved: the load takes the altitude
    // from the ground and the height from the record. A damaged record
    // answers false and leaves nothing read in the facility.
    void SaveFields(std::ostream& out) const override;
    bool LoadFields(std::istream& in) override;

    AnnexEntryList airFacilityList;   // keys 1, 2, 3 ...
    PlaneRecList planeRecs;           // the aircraft held
    uint32_t damageState = 0;         // DAMAGED, DESTROYED
    uint32_t capabilityFlags = 0;     // see DeriveCapability
    uint16_t aircraftSpace[2] = {};   // the first caps GetAircraftRoom
    uint32_t facilityCode2 = 0;       // the damage tables' class code
    uint32_t facilityCode1 = 0;
    int16_t damageTaken = 0;
    int32_t recentDamage = 0;         // since the last step; not saved
    uint16_t damagePoints = 0;        // left; 0 destroyed
    int16_t height = 0;               // top of the facility, tens of metres; not saved

private:
    // The unit of the parent id when it is an air base, else null.
    Unit* FindAirBase() const;
    // The air base parent recomputes its aircraft capability.
    void UpdateBaseCapability() const;
    // Clears `bit` unless an air facility passing `holds` is found; the
    // air base checks again when the bit goes.
    void RecheckBit(uint32_t bit, bool (*holds)(const AnnexEntry& entry), void (Unit::*baseCheck)());
};

// Registers the facility's maker for its type letter.
void RegisterFacilityClass();
