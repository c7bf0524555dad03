// Plane.h: Plane, the unit of an aircraft in flight (type letter 'P'): its
// aircraft type and loadout, capability and task words, home base, cruise
// figures and climb rate; the unit operations it replaces, its status lines
// and saved form (Plane.cpp); its flight, fuel, terrain following, sonar and
// reach tests (PlaneFlight.cpp); the choice of its home base, its task and
// the return when the task's weapons are spent, and its evasion of a missile
// (PlaneBase.cpp). What it needs of the layers above is PlaneBridge.h.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/LatLonPoint.h"
#include "units/Unit.h"

class PlaneAnnex;

class Plane : public Unit {
public:
    // aircraftFlags bits the plane's own code tests.
    static constexpr uint32_t HOVERS = 0x20000000;             // stays put without a path
    static constexpr uint32_t SLOW_MEANS_STOPPED = 0x20004000;  // any: a speed below a fifth is 0
    static constexpr uint32_t FLOOR_2 = 0x20000040;             // any: lowest altitude 2
    static constexpr uint32_t FLOOR_4 = 0x20;                   // lowest altitude 4
    static constexpr uint32_t HUGS_TERRAIN = 0x60;              // any: keeps its height above ground
    static constexpr uint32_t SHIP_BASED = 0x20100000;          // any: ships and groups are bases
    static constexpr uint32_t SIZE_CLASS_BITS = 0x0F000000;
    // taskFlags bits beside the task's weapon class (1, 2, 4 or 8).
    static constexpr uint32_t TASK_SONOBUOYS = 0x20;            // a weapon of kind 0x100 is carried
    static constexpr uint32_t TASK_RECHECK = 0x10000000;        // weapons to be examined at the next move
    // statusFlags bits of a plane.
    static constexpr uint32_t DESTROYED = 0x40;
    static constexpr uint32_t RETURNING = 0x200;                // turned for home on fuel
    static constexpr uint32_t HOLDS_POSITION = 0x800;           // no movement of its own
    static constexpr uint32_t SONAR_ACTIVE = 0x10000;           // a hovering sonar goes active
    static constexpr uint32_t NO_BASE_REPORTED = 0x4000000;

    // The unit's part, every own field 0, then ComputeCruise.
    Plane();
    // An aircraft of plane.dat record planeAnnexID carrying loadout.dat
    // record `loadout`: annexID set; with the record, its names, flag word,
    // plants, sensors and mounts (all owned by the plane), the loadout's
    // mount only when the record lists the loadout (loadoutID stays 0
    // otherwise), its datalink records and reaches, full fuel tanks and the
    // fuel hook-up, the cruise figures, the reserves (a tenth of the
    // full-tank range rounded up, a tenth of the spare aviation fuel),
    // triples, climb rate and task word. Without the record every other
    // field stays as Plane() leaves it. A component whose record is missing
    // is built cleared (a sensor is left out).
    Plane(uint16_t planeAnnexID, uint16_t loadout);
    ~Plane() override = default;

    char GetTypeLetter() const override { return 'P'; }

    // ---- unit operations the plane replaces ----

    // A plane does not survive a hit. The first time (DESTROYED clear): sets
    // DESTROYED, asks for the victory conditions and, unless `kind` is 0x100,
    // posts the shot-down message; answers 1 then and 0 after. The amount is
    // not read.
    int32_t TakeDamage(int32_t amount, uint32_t kind) override;
    void ApplyCriticalHit(int32_t /*amount*/, uint32_t /*kind*/) override {}
    // One step of flight (PlaneFlight.cpp).
    void Move(uint8_t elapsed) override;
    // The unit's fire orders, then the weapons are examined at the next move.
    void ResolveFireOrders() override;
    // Released by its mission, then taken out of play.
    void RemoveFromPlay() override;
    // The new path, then the speed of setting 1 at the present altitude (of
    // setting 0 when the path is cleared).
    void SetPath(PositionNode* first) override;
    int16_t GetAltitude() const override { return PositionObject::GetAltitude(); }
    // The signatures are the aircraft record's triples (aspectValues 0 to
    // 2): radar from the third, visual from the first (90 more at altitude 9
    // or 10), infrared from the second; no sonar signature.
    int16_t GetRadarSignature(int aspect) const override;
    int16_t GetFirstSonarSignature(int /*aspect*/) const override { return 0; }
    int16_t GetSecondSonarSignature(int /*aspect*/) const override { return 0; }
    int16_t GetVisualSignature(int aspect) const override;
    int16_t GetInfraredSignature(int aspect) const override;
    uint32_t GetTargetMask() const override { return 4; }
    // The unit's label, its fourth part the altitude band's name.
    void UpdateLabel() override;
    // 1000 for mode 1, else 300.
    int32_t GetModeInterval(int32_t mode) const override { return mode == 1 ? 1000 : 300; }
    void GetStatus(UnitStatus& status) const override;
    // 'P' when aircraftFlags has any of 0x16.
    bool CanAttackType(char letter) const override;
    // 'P': any of aircraftFlags 0x9; 'S': aircraftFlags 0x200000.
    bool CanSupportType(char letter) const override;
    // GetCapabilities(kind) is not 0.
    bool HasSensorReach(uint32_t kind) const override { return GetCapabilities(kind) != 0; }
    // The evasion of an inbound missile (PlaneBase.cpp).
    bool EvadeThreat(Contact& threat) override;
    uint8_t GetSizeClass() const override;
    // Stores the word as the task word.
    void OnMissionOrder(int32_t order) override { taskFlags = static_cast<uint32_t>(order); }

    // Saved record, little-endian:
    //   letter 'P' u8, annexID u16, loadoutID u16, aircraftFlags u32,
    //   homeBaseID u16, taskFlags u32, climbRate u8, the unit's part
    // LoadFields reads after the letter. Files before 2.1.3 have no climb
    // rate: it comes from the aircraft record (100 when that is missing or
    // says 0). The cruise figures are worked out again, and the reserves
    // from the tanks' capacities. A record cut short answers false.
    void SaveFields(std::ostream& out) const override;
    bool LoadFields(std::istream& in) override;

    // ---- moving-object operations ----

    // Raised to the ground height at the position (0 over the sea).
    void SetAltitude(int16_t altitude) override { SetAltitudeAboveGround(altitude); }
    // The plants' envelope, the floor raised to 2, 4 or 10 by the type.
    void GetAltitudeEnvelope(int16_t setting, int16_t& low, int16_t& high) const override;
    // A speed below a fifth of the top speed at the altitude becomes that
    // fifth (0 for a type with SLOW_MEANS_STOPPED); then the unit's SetSpeed.
    uint16_t SetSpeed(uint16_t wanted, int16_t altitude) override;
    // The hovering sonar modes, then the unit's horizon and caches.
    void UpdateSensorReach() override;
    // Over the mounts, each mount's count for the mask (its flag 1 when the
    // mask has 0x4).
    int32_t SumWeaponRatings(uint32_t target) const override;
    // Seconds of flight left at the present setting and altitude.
    int32_t GetEndurance() const override;

    // ---- the plane's own operations ----

    // `climbRate`, at least 100; doubled for a descent (direction < 0).
    int32_t GetClimbRate(int32_t direction) const;
    // The aircraft's capability for a kind: for kind 2 (bit 0x10 ignored)
    // 4 for a dipping sonar (sensor type 4 or 5) and 2 for a loaded weapon
    // of kind 0x100; any other kind 1 when the unit has sensor reach for it.
    uint32_t GetCapabilities(uint32_t kind) const;
    // The economical cruise band of the first plant's setting 1.
    void ComputeCruise();
    // The range (nautical miles) that the fuel on board gives at cruise,
    // less rangeReserve and never below 0, into `range`; low and high the
    // cruise band; answers cruiseSpeed.
    uint16_t GetFuelRange(uint16_t& low, uint16_t& high, uint16_t& range) const;
    // Whether the aircraft can fly to the target at the speed and altitude
    // and come back to its base with 11 percentage points to spare; the half
    // form costs half the way out at the combat range.
    bool CanReachAndReturn(const LatLonPoint& target, uint16_t knots, int16_t altitude) const;
    bool CanReachAndReturnHalf(const LatLonPoint& target, uint16_t knots, int16_t altitude) const;
    // PlaneBase.cpp.
    void ChooseHomeBase();
    void ComputeTaskFlags();
    void CheckWeaponsExpended();
    // Sets the altitude, raised to the ground height at the position.
    void SetAltitudeAboveGround(int16_t altitude);
    // Works out rangeReserve (a tenth of the full-tank range, rounded up)
    // and reserveFuel (a tenth of the spare aviation fuel of full tanks) as
    // at creation, whatever the tanks hold now; a load runs it.
    void ComputeReserves();

    // The aircraft record of annexID, or null.
    const PlaneAnnex* FindRecord() const;

    uint16_t loadoutID = 0;        // loadout.dat record; 0 the type's default
    uint32_t aircraftFlags = 0;    // the plane.dat record's capability flags
    uint32_t taskFlags = 0;        // weapon class of the task and TASK_ bits
    uint16_t homeBaseID = 0;       // unit it returns to; 0 none chosen
    uint16_t cruiseSpeed = 0;      // knots; 0 when no band qualifies
    uint32_t cruiseBurnRate = 0;   // the band's fuel rate x 60
    uint16_t cruiseBandLow = 0;
    uint16_t cruiseBandHigh = 0;
    uint8_t climbRate = 0;
    // Reserves, worked out from the tanks rather than saved; homeLegFuel is
    // set by every step.
    uint16_t rangeReserve = 0;     // nautical miles
    uint32_t reserveFuel = 0;
    uint32_t homeLegFuel = 0;

protected:
    int32_t GetFuelReserve() const override { return static_cast<int32_t>(reserveFuel); }
    int32_t GetTaskFuel() const override { return static_cast<int32_t>(homeLegFuel); }

private:
    // Message classes of a loss and of an order the plane gives itself, and
    // the hit kind of a loss told elsewhere (a crash for lack of fuel).
    static constexpr uint16_t CLASS_LOSS = 0x10;
    static constexpr uint16_t CLASS_ORDERS = 0x20;
    static constexpr uint32_t KIND_SILENT_LOSS = 0x100;

    // Step parts of Move.
    void Circle(uint8_t elapsed);
    void FlyPath(PositionNode* node, uint8_t elapsed);
    void FollowTerrain(int16_t ground, int16_t heightAboveGround);
    bool BurnFuel(PropulsionPlant& plant, uint8_t elapsed);
    void CheckFuelForHome();
    // The margin test of the two reach forms; `half` costs half the way
    // out at the combat range.
    bool ReachMargin(const LatLonPoint& target, uint16_t knots, int16_t altitude, bool half) const;
    // A message of a class: the label, a blank when the label is not empty,
    // the name, `before`, then resource text `resource` (none for 0).
    void PostMessage(uint16_t messageClass, const char* before, int32_t resource) const;
    // The range (nautical miles) that the fuel on board gives at cruise,
    // reserve included.
    uint64_t GetTotalFuelRange() const;
    // The highest speed of the four settings at the altitude.
    uint16_t TopSpeedAt(int16_t altitude) const;
};
