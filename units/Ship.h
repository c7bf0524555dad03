// Ship.h: Ship, the unit of a surface ship (type letter 'S'): its class code,
// the air facilities it carries and the aircraft aboard, its sensor height,
// damage intake and damage effects, evasion, signatures, status lines and
// saved record. The set-up from its ship.dat record and the submarine's
// shared evasion point are here too; Vessel.h holds the damage points and
// speed cap both classes share.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "annex/AnnexEntry.h"
#include "units/PlaneRec.h"
#include "units/Vessel.h"

class ShipAnnex;

class Ship : public Vessel {
public:
    static constexpr char TYPE_LETTER = 'S';
    // Unit status flag of a sunk (or sunk and lost) vessel.
    static constexpr uint32_t DESTROYED = 0x40;
    // The hit kind that takes no damage points but always has an effect,
    // and the kind whose effects stand only on a chance at their own table.
    static constexpr uint32_t KIND_EFFECTS_ONLY = 8;
    static constexpr uint32_t KIND_OWN_TABLE = 16;
    // A contact whose band word has this bit is a threat the ship turns from.
    static constexpr uint16_t THREAT_TO_EVADE = 0x4000;

    // The vessel's part; both lists empty; sensor height, capability mask
    // and aircraft room 0.
    Ship() = default;
    // The unit of the ship.dat record `shipAnnexID` (BuildFromAnnex).
    explicit Ship(uint16_t shipAnnexID);
    // The lists go first, then the vessel.
    ~Ship() override = default;

    char GetTypeLetter() const override { return TYPE_LETTER; }

    // ---- unit operations the ship replaces ----

    // Nothing, answering 0, with no damage points left. Otherwise the amount
    // is scaled by the first damage class; a hit of KIND_EFFECTS_ONLY takes
    // no points and has at least one effect (two draws of 6 plus a tenth of
    // the scaled amount); any other has amount x 10 / points + draw(6) - 4
    // effects. A hit short of the points left raises the speed loss once per
    // damage level passed; a hit that reaches them sinks the ship (focus
    // cleared, the sinking posted to the player): answer 1 when it reaches
    // the full points, else 20 to 120 (the caller's delay). Then DESTROYED
    // is set, or the effects run; the victory conditions are checked.
    int32_t TakeDamage(int32_t amount, uint32_t kind) override;
    // One damage effect drawn from the table of the hit's kind or the ship's
    // class code, which stands on its chance and is posted as a
    // multi-action event.
    void ApplyCriticalHit(int32_t amount, uint32_t kind) override;
    // The aircraft aboard are reported lost to the victory conditions, both
    // lists are emptied, then the unit leaves play.
    void RemoveFromPlay() override;
    // The sensor height (tens of metres), which the horizon tests read.
    int16_t GetAltitude() const override { return static_cast<int16_t>(sensorHeight); }
    // Radar from aspectValues 2, visual from 0, infrared from 1 (the sonar
    // signatures are the vessel's triples).
    int16_t GetRadarSignature(int aspect) const override;
    int16_t GetVisualSignature(int aspect) const override;
    int16_t GetInfraredSignature(int aspect) const override;
    uint32_t GetTargetMask() const override { return 1; }
    int32_t GetModeInterval(int32_t mode) const override { return mode == 1 ? 10 : 15; }
    void GetStatus(UnitStatus& status) const override;
    // Over the air facilities: a the largest size code of the runways and
    // pads (types 1 to 4), b that and the catapults' (type 6); both the
    // smaller of the two; neither 0.
    uint32_t GetMaxAircraftSize(bool a, bool b) const override;
    AnnexEntryList* GetAirFacilityList() override { return &airFacilities; }
    // How many more aircraft of the size class in flags bits 0x0F000000 fit
    // aboard (never negative, within the room cap).
    int32_t GetAircraftRoom(uint32_t flags) const override;
    PlaneRecList* GetPlaneRecList() override { return &aircraft; }
    // The ship.dat byte for targets of a type letter: 'A'/'P', 'G'/'S',
    // 'U'/'g', 'B'/'F' the first to fourth; 0 for any other letter or
    // without the record.
    uint8_t GetTargetClassByte(char letter) const override;
    // The capability tests on the capability mask, which nothing in play
    // sets: all false for a ship as it stands.
    bool CanAttackType(char letter) const override;
    bool HasAttackCapability() const override { return (capabilityMask & 0x3f0000) != 0; }
    bool CanSupportType(char letter) const override;
    bool HasSupportCapability() const override { return (capabilityMask & 0xdc00000) != 0; }
    // Only for a contact whose band word has THREAT_TO_EVADE: a run to a
    // point 5 nautical miles off at right angles to the threat (the other
    // side when no path leads there), then the old path; the old speed and
    // the mission resume there. True when a path was laid.
    bool EvadeThreat(Contact& threat) override;
    // The set-up from the ship.dat record of `id` (nothing, and the annex id
    // not set, without it): the class code, the air facilities with the
    // aircraft room (hangar and parking space), the annex id, the class name
    // from the type code, damage classes and points, the sonar triples, the
    // name, the equipment (Vessel::BuildEquipment), the three triples, and
    // the sensor height with the horizon it gives.
    void BuildFromAnnex(uint16_t id) override;
    // 1 below 10 full damage points, 2 below 50, 4 below 140, 8 below 450,
    // else 16.
    uint8_t GetSizeClass() const override;
    // The condition refreshes: each clears its flag when no air facility of
    // its types is damaged or destroyed any more (state 6 or above).
    void OnAction3() override { CheckMountFlagC(); }
    void OnAction16() override { CheckMountFlagB(); }
    void OnAction17() override { CheckMountFlagA(); }
    // Hangars and parking (5, 8): HANGAR_HIT; any facility:
    // FLIGHT_DECK_HIT; catapults and elevators (6, 7): AIR_OPS_DAMAGE.
    void CheckMountFlagA();
    void CheckMountFlagB();
    void CheckMountFlagC();

    // ---- moving-object operation ----

    // The fifth trailing byte of the ship.dat record; 0 without it.
    int32_t GetSpecialValue() const override;

    // Saved record, little-endian:
    //   letter 'S'         u8
    //   annexID            u16
    //   classCode          u32
    //   airFacilities      AnnexEntryList
    //   aircraft           PlaneRecList
    //   sensorHeight       u16   tens of metres
    //   aircraftRoomCap    u16   space units
    //   aircraftRoom       u16   space units
    //   the vessel's part  (Vessel.h)
    // LoadFields reads after the letter; the capability mask is not saved
    // and loads as 0. A record cut short, or a list refused, answers false.
    void SaveFields(std::ostream& out) const override;
    bool LoadFields(std::istream& in) override;

    // The ship.dat record of annexID, or null.
    const ShipAnnex* FindRecord() const;
    // The sensor height (tens of metres) of a hull of `length` (tenths of a
    // metre) and full damage points: length / 500 from 450 points, / 400
    // from 50, / 300 below; at least 1.
    static uint16_t SensorHeightOf(uint16_t length, int16_t fullPoints);

    uint32_t classCode = 0;           // chooses the damage-effect table: 1, 3, others
    AnnexEntryList airFacilities;     // keyed 1, 2, 3 ...
    PlaneRecList aircraft;            // the aircraft aboard
    uint16_t sensorHeight = 0;        // tens of metres
    uint32_t capabilityMask = 0;      // not saved
    uint16_t aircraftRoomCap = 0;     // space units
    uint16_t aircraftRoom = 0;        // hangar and parking space units

private:
    // Clears `flag` when no air facility accepted by `matches` is in a
    // damaged state.
    void ClearFlagUnlessDamaged(uint32_t flag, bool (*matches)(uint32_t type));
};

// The aircraft of the records of a list, and of those among them that are
// ready to fly (all of PlaneRec::READY_FLAGS).
uint32_t CountAircraft(const PlaneRecList& list);
uint32_t CountFlaggedAircraft(const PlaneRecList& list);

// The evasion shared by ships and submarines: a point 5 nautical miles from
// the unit at right angles to the bearing of `threatPosition` (a random
// side, then the other), carrying a mission-unit event and a set-speed event
// back to the present speed (or to returnKnots when not 0), followed by a
// copy of the unit's path. When a path is laid it becomes the unit's, a
// set-speed event to the escape speed (the largest top speed among the
// settings from flank down, stopping once it exceeds the present speed) is
// posted and the answer is true.
bool EvadeAtRightAngles(Unit& unit, const LatLonPoint& threatPosition, uint16_t returnKnots);

// Registers the ship's maker under its type letter.
void RegisterShipClass();
