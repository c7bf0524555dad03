// Unit.h: Unit, the abstract base of every unit the simulation moves, senses
// and fights with: a MovingObject that is also a node of the unit list (keyed
// by its unit id), with its side links, names and label, status flags,
// targeting records, tallies of its weapons in flight, jamming entries and
// the weather at its position; its unit-part operations with their base
// behaviour, and the unit record of the saved game. The operations live in
// Unit.cpp (fields, label, side, record), UnitOperations.cpp (stores, reach,
// tallies, conditions) and UnitStep.cpp (the step, removal, paths, fire
// orders). Detection between units, the data link and the further unit
// queries are in UnitDetection.cpp and UnitQueries.cpp; the parts of them that
// work on contacts and side records are installed by the engagement model
// (UnitDetectionCalls.h). The unit classes chosen by type letter build on it
// (UnitFactory.h).
#pragma once

#include <cstdint>
#include <cstring>
#include <iosfwd>

#include "annex/AnnexEntry.h"
#include "annex/SignatureRecord.h"
#include "annex/StockEntry.h"
#include "annex/TimedRecord.h"
#include "core/ChainLink.h"
#include "core/NameString.h"
#include "core/SavedTreeListOf.h"
#include "core/TreeListOf.h"
#include "units/AttackOptionSet.h"
#include "units/MovingObject.h"
#include "units/TargetTally.h"
#include "units/UnitStatus.h"
#include "world/WeatherReport.h"

struct NavVector;

class Contact;
class PlaneRecList;
class SideContacts;
class Weapon;

// Status flag bits of a unit (a plain u32). Several are conditions the
// condition text names; the classes set those.
namespace UnitFlag {
constexpr uint32_t ENGINE_FAILURE = 0x0C;           // either bit
constexpr uint32_t STEERING_FAILURE = 0x10;
constexpr uint32_t ON_FIRE = 0x20;
constexpr uint32_t LINK_ACTIVE = 0x80;               // a datalinked record is active
constexpr uint32_t DATA_LINK = 0x100;                // may take part in a data link
constexpr uint32_t SEEKER_ON = 0x1000;               // a weapon's seeker is on; cleared on leaving play
constexpr uint32_t BASE = 0x2000;                    // an air base or base facility
constexpr uint32_t LINKS_RECORDS = 0x4000;           // links side records; cleared on leaving play
constexpr uint32_t KEEPS_JAMMING = 0x20000;          // keeps jamming entries
constexpr uint32_t HANGAR_HIT = 0x80000;
constexpr uint32_t FLIGHT_DECK_HIT = 0x100000;
constexpr uint32_t AIRFIELD_HIT = 0x200000;
constexpr uint32_t SENSOR_DAMAGE = 0x400000;         // a sensor in state 6 or 7
constexpr uint32_t FLOODING = 0x800000;              // a multi-action 7 is queued
constexpr uint32_t MOUNT_DAMAGE = 0x1000000;         // a mount in state 6 or 7
constexpr uint32_t AIR_OPS_DAMAGE = 0x2000000;
}  // namespace UnitFlag

// One weapon of a unit, as ListWeapons lists it.
struct WeaponListEntry : ChainLink<WeaponListEntry> {
    uint16_t unitID = 0;
    uint16_t mountKey = 0;
    uint16_t weaponID = 0;     // weapon.dat record
    uint16_t rounds = 0;       // rounds on hand
    uint16_t fifthValue = 0;   // the weapon record's third carried value
};

class Unit : public MovingObject, public TreeListNode<Unit> {
public:
    // Bytes of the label, a name-sized field.
    static constexpr int LABEL_SIZE = NameString::SIZE;
    // Resource texts of the conditions and their separator.
    static constexpr int32_t CONDITION_SEPARATOR_TEXT = 0x7B0270;

    // The MovingObject part first; key 0; every own field at its default;
    // the name empty, the label five blanks; then EnableDataLink.
    Unit();
    // Leaves the data link, leaves its side record's own units (when it has a
    // record that exists), then the lists and the MovingObject part go.
    ~Unit() override;

    Unit(const Unit&) = delete;
    Unit& operator=(const Unit&) = delete;

    using TreeListNode<Unit>::GetNext;
    using TreeListNode<Unit>::GetPrev;

    // The unit id: the list key.
    uint16_t GetID() const { return GetKey(); }
    // The type letter in bits 16 to 23, the annex id in bits 0 to 15.
    uint32_t GetPlatformKey() const;

    void SetFlags(uint32_t bits) { statusFlags |= bits; }
    void ClearFlags(uint32_t bits) { statusFlags &= ~bits; }
    bool TestFlags(uint32_t bits) const { return (statusFlags & bits) != 0; }
    uint32_t GetFlags() const { return statusFlags; }

    // Moves the unit into a side contact record, attached in the data link
    // to the unit `attachedUnitID`: when its old record is the current one,
    // the player's side is its side and it is its side's focus unit, the new
    // record becomes the current one; the record's key and the attached id
    // are stored; the unit leaves the old record's own units and joins the
    // new record's.
    void SetSide(SideContacts& record, uint16_t attachedUnitID);

    // ---- unit-part operations, in table order ----

    // Passes amount and kind to TakeDamage.
    virtual int32_t ApplyDamage(int32_t amount, uint32_t kind, uint32_t mask);
    // The class's damage intake and critical hits; nothing in Unit.
    virtual int32_t TakeDamage(int32_t amount, uint32_t kind);
    virtual void ApplyCriticalHit(int32_t amount, uint32_t kind);
    // One step of elapsed game seconds (UnitStep.cpp).
    virtual void Move(uint8_t elapsed);
    // This unit's look at `other`: answers true when its side record already
    // held a contact on it or a sensor detected it now; what is found goes to
    // the side record as a contact-update event (UnitDetectionCalls.h).
    virtual bool DetectUnit(Unit& other);
    // Both units of the pair try to detect each other, keep each other's
    // jamming entries and their data link up to date.
    virtual void UpdatePairDetection(Unit& other);
    // Splits this unit off its side record or joins the two units' records
    // by the state of the link between them (range in nautical miles, sight
    // and withinHorizon 0 or 1, options the detection options word), then
    // sets or clears the link-active flag. Answers whether the units are
    // linked (see the engagement model's UnitDataLink.cpp).
    virtual int32_t UpdateDataLink(Unit& other, int32_t range, uint8_t sight, uint8_t withinHorizon,
                                   uint16_t options);
    // Works through the queued attack options, target by target.
    virtual void ResolveFireOrders();
    // The unit's point defence against an incoming weapon: true when its
    // mounts shot it down; otherwise its countermeasures may have raised the
    // weapon's countermeasure values. And the engagements its mounts offer
    // against a target (id 0: the point along toTarget), appended to out.
    // Both are the engagement model's (units/WeaponRunCalls.h).
    virtual bool PointDefense(Weapon& incoming);
    virtual void BuildEngagementList(uint32_t mask, uint16_t targetID, const NavVector& toTarget,
                                     Chain<TimedRecord>& out, uint32_t flags);
    // Takes the unit out of play: no lists, path, speed, side or events.
    virtual void RemoveFromPlay();
    // RemoveFromPlay, then a delete-unit event due after `delay`: minutes
    // for a ship, seconds for every other class.
    virtual void ScheduleDeletion(uint8_t delay);
    // Deletes the planned path and tells the interface side.
    virtual void ClearPath();
    // Replaces the planned path by the chain holding `first` (taken over)
    // and tells the interface side. Null only clears it.
    virtual void SetPath(PositionNode* first);
    // The class's record after the type letter, and the whole record with
    // the letter first. See SaveUnitRecord for the unit's own part.
    virtual bool LoadFields(std::istream& in) = 0;
    virtual void SaveFields(std::ostream& out) const = 0;
    // Altitude (tens of metres, negative for depth) as the sensors and the
    // horizon see it; Unit answers its position's altitude, a ship its
    // sensor height. The step, the speed and the tanks go by the position's
    // altitude (PositionObject::GetAltitude).
    virtual int16_t GetAltitude() const { return PositionObject::GetAltitude(); }
    // Signatures per aspect (0 front, 1 side, 2 rear); 0 in Unit.
    virtual int16_t GetRadarSignature(int aspect) const;
    virtual int16_t GetFirstSonarSignature(int aspect) const;
    virtual int16_t GetSecondSonarSignature(int aspect) const;
    virtual int16_t GetVisualSignature(int aspect) const;
    virtual int16_t GetInfraredSignature(int aspect) const;
    virtual uint32_t GetTargetMask() const { return 0; }
    // What the sensor tests read of a unit beyond its signatures; the
    // classes that have them answer. The sonar reads the first sonar
    // signature as the radiated noise and the second as the active target
    // strength, GetNoiseValue as the own noise of an active sonar and
    // GetRearNoiseValue as the self noise of a passive one.
    //   emission level in a band mask (electromagnetic bands 0-23, sonar
    //   bands 0x1000000, 0x2000000, 0x4000000); 0: nothing emitted;
    virtual int16_t GetEmissionLevel(uint32_t /*bands*/) const { return 0; }
    //   the emitters an ESM hears, put into its contact at a level;
    virtual void FillEmitterList(Contact& /*contact*/, uint32_t /*bands*/, int32_t /*level*/) const {}
    //   whether the unit sees the target (an illuminator's own test);
    virtual bool CanSeeTarget(const Unit& /*target*/) const { return false; }
    //   decibels added to the radiated noise;
    virtual uint16_t GetNoiseAddition() const { return 0; }
    //   a weapon's guidance unit and launcher (unit ids) and the key of the
    //   guiding sensor in the guidance unit's list; 0 for other units.
    virtual uint16_t GetGuidanceUnitID() const { return 0; }
    virtual uint16_t GetLauncherID() const { return 0; }
    virtual uint16_t GetGuidanceSensorKey() const { return 0; }
    virtual bool IsGroup() const { return false; }
    // Rebuilds the label (see the .cpp).
    virtual void UpdateLabel();
    virtual char GetTypeLetter() const { return ' '; }
    // A weapon's kind code (its weapon record's); 0 for every other unit.
    virtual uint32_t GetWeaponKind() const { return 0; }
    virtual int32_t GetClassValue() const { return 0; }
    virtual int32_t GetModeInterval(int32_t /*mode*/) const { return 0; }
    // 1 when the terrain between the two units hides neither from the other,
    // else 0 (UnitDetection.cpp).
    virtual uint8_t HasTerrainLineOfSight(Unit& other);
    // 1 when a queued set-sensors event of the unit would switch a sensor of
    // the type, else 2 when a sensor of the type is active, else 0.
    virtual int32_t GetSensorTypeState(uint8_t sensorType) const;
    virtual uint16_t GetNoiseValue() const { return noiseValue; }
    virtual uint16_t GetRearNoiseValue() const { return rearNoiseValue; }
    virtual int32_t GetDamagePercent() const { return 100; }
    virtual int32_t GetSeenDamagePercent() const { return 0; }
    // Sets the record's line count to 0; the classes fill it.
    virtual void GetStatus(UnitStatus& status) const;
    // True when a sensor other than visual, infrared, ESM, MAD and laser is
    // active.
    virtual bool HasActiveEmitter() const;
    virtual int32_t GetActionDamagePercent() const { return 0; }
    // Adds to the contact's threat values the count and damage of this
    // unit's targeting records and weapons in flight against its unit.
    virtual void AddRecordCounts(Contact& contact) const;
    // The targeting records, grouped by target (the option's idD).
    virtual void AddTargetingRecord(TimedRecord* record);
    virtual void RemoveTargetingRecord(TimedRecord* record);
    // The tallies of this unit's weapons in flight against their targets;
    // `targetID` is the weapon's target.
    virtual void AddWeaponInFlight(const Unit& weapon, uint16_t targetID);
    virtual void RemoveWeaponInFlight(const Unit& weapon, uint16_t targetID);
    virtual uint32_t GetMaxAircraftSize(bool /*first*/, bool /*second*/) const { return 0; }
    virtual AnnexEntryList* GetAirFacilityList() { return nullptr; }
    virtual int32_t GetAircraftRoom(uint32_t /*flags*/) const { return 0; }
    virtual void RefreshAircraftRecords() {}
    virtual void SetLinkActive() { SetFlags(UnitFlag::LINK_ACTIVE); }
    virtual void EnableDataLink() { SetFlags(UnitFlag::DATA_LINK); }
    virtual void ClearLinkActive() { ClearFlags(UnitFlag::LINK_ACTIVE); }
    virtual void DisableDataLink() { ClearFlags(UnitFlag::DATA_LINK); }
    // The two platform-record lookups: the full damage points, and the
    // record's byte for targets of a type letter; 0 in Unit.
    virtual int16_t GetFullDamagePoints() const { return 0; }
    virtual uint8_t GetTargetClassByte(char /*letter*/) const { return 0; }
    virtual PlaneRecList* GetPlaneRecList() { return nullptr; }
    // Fuel stores by fuel type (UnitOperations.cpp).
    virtual int32_t GetFuelCapacity(uint32_t fuel) const;
    virtual int32_t GetFuelRoom(uint32_t fuel) const;
    virtual uint32_t DrainFuel(uint32_t amount, uint32_t fuel);
    virtual int32_t AddFuel(uint32_t amount, uint32_t fuel);
    virtual int32_t GetSpareFuel(uint32_t fuel) const;
    virtual bool CanAttackType(char /*letter*/) const { return false; }
    virtual bool HasAttackCapability() const { return false; }
    // What missions read of a unit they plan against: two strength figures
    // of an identified unit (attackers wanted, attack value wanted), and a
    // time (game seconds) before which attacks on it are to be timed; 0 for
    // none. The unit classes that know better answer for themselves.
    virtual uint16_t GetStrengthEstimateLow() const { return 0; }
    virtual uint16_t GetStrengthEstimateHigh() const { return 0; }
    virtual uint32_t GetTimeLimit() const { return 0; }
    virtual bool CanSupportType(char /*letter*/) const { return false; }
    virtual bool HasSupportCapability() const { return false; }
    // Whether the unit's endurance at `knots` covers the run to the point.
    virtual bool CanReachAtSpeed(const LatLonPoint& point, uint16_t knots);
    virtual bool CanReachPoint(const LatLonPoint& point, uint16_t knots, int32_t b);
    virtual bool HasSensorReach(uint32_t kind) const { return GetSensorReach(kind) != 0; }
    virtual bool EvadeThreat(Contact& /*threat*/) { return false; }
    virtual void RebuildFromAnnex() {}
    // The altitudes (tens of metres) from which the unit's best weapon
    // against the mask can be released, within its cruise envelope.
    virtual void GetAttackAltitudes(uint32_t mask, int16_t& low, int16_t& high) const;
    // Puts the unit at the point when the leg there suits it.
    virtual void TryMoveTo(const LatLonPoint& point);
    virtual uint8_t GetSizeClass() const { return 0; }
    virtual void OnAction3() {}
    virtual void UpdateAction7Flag();
    virtual void OnAction16() {}
    virtual void OnAction17() {}
    virtual void OnAction15() {}
    virtual void UpdateSensorDamageFlag();
    virtual void UpdateMountDamageFlag();
    // Appends one entry per weapon record of every mount.
    virtual void ListWeapons(Chain<WeaponListEntry>& list) const;
    // The unit's weapon stocks for arming aircraft: appends one entry per
    // weapon record of every magazine (the unit's id, the magazine's key, the
    // weapon, the rounds on hand and the rounds when full). `own` asks for the
    // unit's own magazines rather than those of a base that supplies it; a
    // class whose aircraft draw on another unit's stocks answers for it.
    virtual void CollectWeaponEntries(StockChain& chain, bool own);
    // The texts of the unit's conditions, joined by the separator, into out
    // (size bytes); cut at size - 1 characters and always terminated. Nothing
    // is written when out is null or size is 0.
    virtual void GetConditionText(char* out, int32_t size) const;
    virtual void OnMissionOrder(int32_t /*order*/) {}
    // A facility's flag word (bit 0x4: not a base the sides see at once); 0
    // for every other class.
    virtual uint32_t GetFacilityFlags() const { return 0; }

    // The moving-object operations a unit extends: the horizon value is
    // recomputed first; the label follows every speed change.
    void UpdateSensorReach() override;
    uint16_t SetSpeed(uint16_t wanted, int16_t altitude) override;

    // One line per sensor in key order into out (size bytes, cut there and
    // always terminated): the name of its sensor.dat record padded with
    // blanks to 32 columns, the text of its state and a line end. Nothing is
    // written when out is null or size is 0.
    void GetSensorListText(char* out, int32_t size) const;

    // The largest link reach (nautical miles) over the datalink records not
    // of channel kind 40; unless `all`, only those without channel flag 1.
    uint16_t GetBestLinkRange(bool all) const;
    // Drops every link of the unit: each linked unit that still exists drops
    // this unit's id and, unless it is the unit this one is attached to or a
    // sonobuoy, moves into a copy of the shared side record; an id whose unit
    // is gone is dropped too. Then, when attached to a unit, this unit moves
    // into a copy of the record itself. Nothing without a side record.
    void LeaveDataLink();
    // The side record notes a hostile act on its contact on the attacker,
    // when that contact is fresh (see the engagement model's UnitDataLink.cpp).
    void NoteHostileAct(uint16_t attackerID);

    // The map's two line-of-sight tests between the two units' positions,
    // 1 clear and 0 not; the second is the one used when a facility is one of
    // the pair.
    uint8_t LineOfSightTo(const Unit& other) const;
    uint8_t LineOfSightToFacility(const Unit& other) const;
    // The side record learns `other`, a base, at once: a full contact merged
    // without an event. Nothing without a side record.
    void ReportToBase(Unit& other);
    // The jamming this unit's active ECM puts on a unit along `vector` (from
    // this unit to that one): a new entry keyed by this unit's id, owned by
    // the caller, or null when it does not jam that way.
    SignatureRecord* BuildJammingEntry(const NavVector& vector) const;
    // How far (nautical miles) this unit's sensors may find `target`: the
    // reach cache for the target's altitude band, raised to the floor of the
    // target's class (30 for aircraft, 10 for mask bit 8, the two horizons
    // summed for surface units).
    int32_t GetDetectionReach(const Unit& target) const;
    // The jamming byte: set while the unit's ECM is jamming.
    bool IsJamming() const { return field6 != 0; }

    // The mount lines, then (with magazines) the magazine heading and the
    // magazine lines, into out (size bytes, cut there and always terminated).
    // Nothing is written when out is null or size is not positive.
    void GetWeaponsListText(char* out, int32_t size) const;
    // 0 up to 24 percent damage, 1 from 25, 2 from 50, 3 from 75, 4 from 90.
    int32_t GetDamageLevel() const;
    // The spacing (nautical miles) of the sonar rings the map draws round
    // the unit, and their count: the largest ring count of its passive
    // sonars (type 4), 0 when none has one.
    uint16_t GetSonarRingSpacing() const;
    uint16_t GetSonarRingCount() const;
    // Whether the unit is engaging that unit (a targeting record or a weapon
    // tally keyed by it), and whether it is engaging anything.
    bool IsTargeted(uint16_t unitID) const;
    bool HasContacts() const;
    // Clears the side record and data-link ids read from a file, so that
    // deleting a unit whose load was refused leaves no record it never
    // joined. A class that records other units' ids extends it.
    virtual void ForgetMemberships()
    {
        sideEntryID = 0;
        attachedID = 0;
    }
    // The two link reaches from the datalink records: over all of them, and
    // over those without channel flag 1 (GetBestLinkRange). Loading a unit
    // runs it; so does every build of a unit's datalink list.
    void RefreshLinkReach();

    // The horizon value of an altitude: the square root of 170 x altitude,
    // rounded to the nearest whole number; 0 for an altitude of 0 or below.
    static uint16_t HorizonOf(int16_t altitude);

    // Fields the classes and the unit's neighbours read.
    const NameString& GetName() const { return name; }
    void SetName(const char* text) { name.Set(text); }
    const NameString& GetClassName() const { return className; }
    void SetClassName(const char* text) { className.Set(text); }
    uint16_t GetAnnexID() const { return annexID; }
    // The unit's class key, which victory items and tallies match units by:
    // the type letter (sign-extended) in the upper 16 bits, the annex id in
    // the lower 16.
    uint32_t GetClassKey() const
    {
        const int32_t letter = static_cast<signed char>(GetTypeLetter());
        return (static_cast<uint32_t>(letter) << 16) + annexID;
    }
    void SetAnnexID(uint16_t id) { annexID = id; }
    uint16_t GetHorizon() const { return horizon; }
    // The label: four parts, each ended by a zero byte (see UpdateLabel).
    const char* GetLabel() const { return label; }
    const WeatherReport& GetWeather() const { return weather; }
    uint16_t GetLinkReach1() const { return linkReach1; }
    uint16_t GetLinkReach0() const { return linkReach0; }
    SavedTreeListOf<AttackOptionSet>& TargetingRecords() { return targetingRecords; }
    SavedTreeListOf<TargetTally>& WeaponTallies() { return weaponTallies; }
    SignatureList& JammingEntries() { return jammingEntries; }

    // Fields whose meanings the classes give; Unit keeps, saves and loads
    // them. field4 and field5 are the noise values, field6 the jamming byte.
    uint32_t field1 = 0;
    uint32_t field2 = 0;
    uint16_t field3 = 0;
    uint16_t noiseValue = 0;       // field 4
    uint16_t rearNoiseValue = 0;   // field 5
    uint8_t field6 = 0;
    uint32_t field7 = 0;
    uint32_t field8 = 0;
    // The threat-zone mask of the unit's type letter, set when the unit is
    // placed (Nav2Game::GetDefaultThreats); not saved.
    uint32_t defaultThreats = 0;

protected:
    // The unit's part of its record, after the class's own fields, then the
    // moving-object part. Little-endian:
    //   unit id (list key)     u16
    //   noiseValue             u16
    //   rearNoiseValue         u16
    //   jamming entries        keyed list: u16 count, each SignatureRecord
    //   annexID                u16
    //   className              NameString
    //   field6                 u8
    //   sideEntryID            u16   (of the moving-object part)
    //   statusFlags            u32
    //   field7                 u32
    //   name                   NameString
    //   horizon                u16
    //   targeting records      keyed list of AttackOptionSets
    //   weapon tallies         keyed list of TargetTallys
    //   field8, field1, field2 u32 each
    //   field3                 u16
    //   moving-object part     MovingObject::Save
    // The label and the weather are not saved: LoadUnitRecord rebuilds them,
    // and the two link reaches, once the whole record is read. It reads into
    // a fresh unit outside every list; a record cut short (or any element
    // refused) leaves the stream failed and answers false, and the caller
    // discards the unit.
    void SaveUnitRecord(std::ostream& out) const;
    bool LoadUnitRecord(std::istream& in);

    // The weather at the unit's position and its horizon value, as the step
    // sets them; for unit classes that take them from elsewhere.
    // Replaces the label by a single part (a class with a one-line label);
    // cut to the label's size.
    void SetLabelText(const char* text)
    {
        int i = 0;
        for (; i < LABEL_SIZE - 1 && text[i] != '\0'; ++i)
            label[i] = text[i];
        label[i] = '\0';
    }
    void SetWeather(const WeatherReport& report) { weather = report; }
    // Replaces the label by LABEL_SIZE bytes of `parts` (a class that builds
    // its label itself).
    void SetLabel(const char (&parts)[LABEL_SIZE]) { std::memcpy(label, parts, LABEL_SIZE); }
    void SetHorizon(uint16_t value) { horizon = value; }
    // The label of a unit that never moves: the first four characters of the
    // name padded to four and a blank, then three parts of five blanks.
    void SetNameLabel();

    // The step's answer to a plant whose tanks could not give its fuel,
    // once the speed has been chosen again; nothing in Unit.
    virtual void OnOutOfPower() {}
    // The step's hook between the run along the path (and the battery
    // charge) and the fuel draw, for classes whose depth or stores change
    // there; nothing in Unit.
    virtual void OnStepMoved(uint8_t /*elapsed*/) {}
    // After the base label: its fourth part becomes the name of the unit's
    // altitude band.
    void PutBandNameInLabel();

    // The unit's fuel reserve, and the fuel it keeps for its current task
    // (both counted off the spare fuel); 0 in Unit.
    virtual int32_t GetFuelReserve() const { return 0; }
    virtual int32_t GetTaskFuel() const { return 0; }

private:
    void FetchWeather();
    // Draws a step's fuel use from the tank at an index; false when it
    // cannot give it all and no other tank can be chosen.
    bool DrawFuel(PropulsionPlant& plant, uint32_t use, uint16_t tankIndex, bool plane);
    // The release of an attack option that cannot fire.
    void ReleaseTargetingRecord(TimedRecord* record, Mount* mount);

    SavedTreeListOf<AttackOptionSet> targetingRecords;   // by target id
    SavedTreeListOf<TargetTally> weaponTallies;          // by target id
    SignatureList jammingEntries;                        // by jamming unit id
    uint32_t statusFlags = 0;
    uint16_t horizon = 0;
    NameString name;
    uint16_t annexID = 0;
    char label[LABEL_SIZE] = {};
    NameString className;
    WeatherReport weather;                               // not saved
    uint16_t linkReach1 = 0;                             // nautical miles
    uint16_t linkReach0 = 0;
};
