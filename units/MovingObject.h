// MovingObject.h: MovingObject, the base of every unit that moves: course
// and delivered speed, the equipment lists (propulsion plants, sensors,
// mounts, datalink records, magazines, fuel tanks), the planned path, the
// side-record and group links, and the caches of the best sensor and weapon
// reach per target kind, with its saved form. The choice of plant for a
// wanted speed, tank choice and endurance are in MovingObjectSpeed.cpp; the
// plant itself is PropulsionPlant.h.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "annex/ShortTriple.h"
#include "core/Chain.h"
#include "core/IDList.h"
#include "core/SavedTreeListOf.h"
#include "units/DatalinkRecord.h"
#include "units/FuelTank.h"
#include "units/Mount.h"
#include "units/PositionNode.h"
#include "units/PropulsionPlant.h"
#include "units/Sensor.h"
#include "units/SimObject.h"

class MovingObject : public SimObject {
public:
    static constexpr int BAND_REACH_COUNT = 32;   // one per bit of a kind mask
    static constexpr int ASPECT_VALUES = 3;

    // Course 0, every list empty, every u16 field 0, the aspect values
    // cleared, reserved32 0; the SimObject part at its start.
    MovingObject() = default;
    // Deletes the plants, sensors, mounts, datalink records and magazines,
    // then the fuel tanks and the path.
    ~MovingObject() override = default;

    MovingObject(const MovingObject&) = delete;
    MovingObject& operator=(const MovingObject&) = delete;

    // The low and high altitude (tens of metres) the plants reach in the row
    // of a setting: both start at 0; over every plant and the four bands of
    // the row, low falls to the smallest floor and high rises to the largest
    // ceiling. A setting outside 0 to 3 leaves both 0.
    virtual void GetAltitudeEnvelope(int16_t setting, int16_t& low, int16_t& high) const;

    // Chooses the plant and its setting for a wanted speed (knots) at an
    // altitude, stores the delivered speed in `speed`, refreshes the sensor
    // caches and answers the delivered speed (see MovingObjectSpeed.cpp).
    virtual uint16_t SetSpeed(uint16_t wanted, int16_t altitude);

    virtual int32_t GetCourse() const { return course; }

    // bandReach and bandMask from the active sensors (see the .cpp).
    virtual void UpdateBandReach();
    // Nothing here; a vessel derives its speed figures.
    virtual void UpdateSpecialReach() {}
    // UpdateSpecialReach, the sensor caches for target kinds 6, 1 and 8 in
    // that order, then UpdateBandReach.
    virtual void UpdateSensorReach();
    // The summed weapon ratings of the mounts against a target mask.
    virtual int32_t SumWeaponRatings(uint32_t target) const;
    // The weapon reach (tenths of a nautical mile) against a target kind,
    // bit 0x10 ignored: kinds 1, 2 (and 0x800), 4, 8 and 12 from the caches;
    // any other kind the longest mount reach.
    virtual uint16_t GetWeaponReach(uint32_t kind) const;
    // The smallest non-zero mount reach against a kind (bit 0x10 ignored); 0
    // when no mount reaches.
    virtual uint16_t GetShortestWeaponReach(uint32_t kind) const;
    // The best sensor reach (nautical miles) against a target kind, bit 0x10
    // ignored, starting from the shared lookout's (see the .cpp).
    virtual uint16_t GetSensorReach(uint32_t kind) const;
    virtual int32_t GetSpecialValue() const { return 0; }
    // Game seconds of running left at the current setting; -1 for a nuclear
    // plant, 0 when no plant is chosen (see MovingObjectSpeed.cpp).
    virtual int32_t GetEndurance() const;
    // 100 x the tanks' contents / their capacities; 0 when the capacities
    // sum to 0.
    virtual int32_t GetFuelPercent() const;
    // The best mode-9 reach over the sonars of types 4 and 5, each switched
    // for the question to active (or passive) and back; a sonar that does
    // not take the state does not count.
    virtual uint16_t GetSonarReach(bool active);

    PositionNode* GetPath() const { return path.First(); }
    // The current plant's setting; -1 when plantKey names no plant.
    int16_t GetPlantSetting() const;
    // Over every plant, the speed of row `setting` in the first band whose
    // floor and ceiling enclose the altitude; the largest; 0 with no plants.
    uint16_t GetMaxSpeedAtAltitude(int16_t setting, int16_t altitude) const;
    bool PrefersActiveSonar() { return GetSonarReach(false) <= GetSonarReach(true); }
    // Clears every plant's fuel flags, then notes on every plant the fuel of
    // each tank that holds counts or a partial amount.
    void UpdateFuelFlags();
    // Chooses the tanks for the plant's engines; answers whether a choice
    // was made (see MovingObjectSpeed.cpp).
    bool ChooseTanks(PropulsionPlant* plant);
    // The longest mount reach against a kind, in tenths of a nautical mile,
    // divided by 10 into its cache: kind 2, kinds 4, 8 and 12, or any other
    // kind into the kind-1 cache.
    void UpdateWeaponReach(uint32_t kind);
    // UpdateWeaponReach for kinds 2, 4 and 1: after a load and whenever the
    // mounts change.
    void RefreshWeaponReach();
    // Puts into `out` (once each) the keys of the active sensors that cover
    // kindMask with at least minimumReach, by primary or relay reach.
    void CollectSensorsFor(IDList& out, uint32_t kindMask, int16_t minimumReach) const;
    // The largest band reach over the bits set in both kindMask and bandMask;
    // 0 when none.
    int16_t GetBandReach(uint32_t kindMask) const;
    void SetParentID(uint16_t id) { parentID = id; }
    uint16_t GetParentID() const { return parentID; }
    // Reads a saved sensor list into `sensors` with this object as owner; an
    // unknown type is fatal (LoadSensorList).
    bool LoadSensors(std::istream& in);

    // Saved form, little-endian (the moving-object part of a unit record):
    //   bandReach        32 x i16, in bit order
    //   bandMask         u32
    //   plants           keyed list (u16 count, each PropulsionPlant)
    //   sensors          u16 count, each sensor's class byte and record
    //   mounts, datalinks, magazines   keyed lists of their elements
    //   fuelTanks        chain (u16 count, each FuelTank)
    //   path             chain (u16 count, each PositionNode)
    //   reserved32       u32
    //   plantKey, mainTank, secondTank, speed, sideEntryID, parentID,
    //   attachedID       u16 each
    //   aspectValues     3 x ShortTriple (6 bytes each)
    //   course           u32   angle units
    //   SimObject part   ids, state flags, position part
    // The reach caches and the two further u16 values are not saved: Load
    // sets the mounts' owner to this object, then, once the whole record is
    // read, rebuilds the sensor and weapon caches. Load reads into a fresh
    // object: a record cut short, a count beyond the stream, or an element no
    // class reads leaves the stream failed and answers false, and the caller
    // discards the object.
    void Save(std::ostream& out) const;
    bool Load(std::istream& in);

    // Fields, in the declared order of the saved record.
    int16_t bandReach[BAND_REACH_COUNT] = {};   // nautical miles per kind bit
    uint32_t bandMask = 0;
    int32_t course = 0;                         // angle units; the stored leg bearing
    SavedTreeListOf<PropulsionPlant> plants;
    TreeListOf<Sensor> sensors;
    Mount::MountList mounts;
    SavedTreeListOf<DatalinkRecord> datalinks;
    Mount::MountList magazines;
    Chain<FuelTank> fuelTanks;
    Chain<PositionNode> path;                   // the first node is the next point
    uint32_t reserved32 = 0;                    // kept and saved
    uint16_t plantKey = 0;                      // 0: no plant chosen
    uint16_t mainTank = 0;                      // index in fuelTanks from 0
    uint16_t secondTank = 0;
    uint16_t speed = 0;                         // knots delivered
    uint16_t sideEntryID = 0;                   // key of the SideContacts record
    uint16_t attachedID = 0;                    // unit attached to in the data link
    uint16_t parentID = 0;                      // group or base
    // Reach caches (nautical miles), never saved: the digit is the target
    // kind (6 stands for 2, 4 and 6).
    uint16_t searchReach6 = 0, searchReachAlt6 = 0;
    uint16_t searchReach1 = 0, searchReachAlt1 = 0;
    uint16_t searchReach8 = 0, searchReachAlt8 = 0;
    uint16_t sensorReach1 = 0, sensorReach6 = 0, sensorReach8 = 0;
    uint16_t passiveSonarReach = 0;
    // Weapon reach caches: the mounts' reach in tenths of a nautical mile,
    // divided by 10.
    uint16_t weaponReach1 = 0, weaponReach2 = 0, weaponReach4 = 0;
    uint16_t clearedWord = 0;                   // only cleared at construction
    uint16_t speedTableValue = 0;               // a vessel's figure from its speed
    ShortTriple aspectValues[ASPECT_VALUES];

protected:
    // The caches of one target kind (6, 1 or 8) from the sensors.
    void UpdateKindReach(uint16_t kind);
    // The fuel tank at an index of the chain, or null.
    FuelTank* TankAt(uint16_t index) const;
};
