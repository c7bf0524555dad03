// Vessel.h: Vessel, the abstract base of the ship-like unit classes (Ship.h,
// Submarine.h): damage points and the speed-loss level that caps the speed
// after damage, the three damage class values, the two sonar triples, the
// speed-dependent noise figures, and its part of the saved record.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "annex/ShortTriple.h"
#include "units/DatalinkRecord.h"
#include "units/SensorFactory.h"
#include "units/Unit.h"
#include "units/UnitComponents.h"
#include "units/UnitFromAnnex.h"

class Vessel : public Unit {
public:
    static constexpr int DAMAGE_CLASS_COUNT = 3;
    // Speeds above this use the last row of the noise tables.
    static constexpr uint16_t NOISE_TABLE_TOP_KNOTS = 45;
    // Speed-loss levels 0 to 4; any higher level stops the vessel.
    static constexpr uint16_t WORST_SPEED_LOSS = 4;

    // The unit's part; damage points, speed loss and damage classes 0, both
    // triples cleared.
    Vessel() = default;
    ~Vessel() override = default;

    // 100 with no damage points left, else 100 - points x 100 / full, at most
    // 99 (so a vessel with one point left of many shows 99, not 100).
    int32_t GetDamagePercent() const override;
    int32_t GetSeenDamagePercent() const override { return GetDamagePercent(); }
    int32_t GetActionDamagePercent() const override { return GetSeenDamagePercent(); }
    int16_t GetFullDamagePoints() const override { return maxDamagePoints; }
    // The first and second sonar triples, at every depth.
    int16_t GetFirstSonarSignature(int aspect) const override
    {
        return static_cast<int16_t>(sonarTriples[0].Get(aspect));
    }
    int16_t GetSecondSonarSignature(int aspect) const override
    {
        return static_cast<int16_t>(sonarTriples[1].Get(aspect));
    }

    // Caps `wanted` (knots) by the speed-loss level, then sets it as a unit
    // does. The cap comes from the highest top speed of the four settings at
    // the altitude: full at level 0, three quarters, half, a quarter and a
    // tenth at levels 1 to 4 (each rounded up), 0 at any other level.
    uint16_t SetSpeed(uint16_t wanted, int16_t altitude) override;
    // The speed figures: the speed-table value, noise value (field 4: the
    // uncapped speed less 6, halved with the sign kept, so below 6 knots it
    // wraps negative) and rear noise value (field 5: a third of the first
    // sonar signature to the rear plus the speed's noise step).
    void UpdateSpecialReach() override;

    // The top speed (knots) a speed-loss level leaves of `top`.
    static uint16_t CapSpeed(uint16_t top, uint16_t level);

    // worse: one level more and a set-speed event at the present speed, so
    // that the new cap takes effect; otherwise one level less (never below
    // 0) and nothing posted.
    void ChangeSpeedLoss(bool worse);
    // Raises the speed-loss level once for each damage level the vessel has
    // gone past since `levelBefore` (GetDamageLevel before the hit).
    void RaiseSpeedLossSince(int32_t levelBefore);

    uint16_t GetSpeedLossLevel() const { return speedLossLevel; }
    int16_t GetDamagePoints() const { return damagePoints; }
    // Sets both the present and the full damage points.
    void SetDamagePoints(int16_t points) { damagePoints = maxDamagePoints = points; }

    // The class's build from its platform record of `id`.
    virtual void BuildFromAnnex(uint16_t id) = 0;
    // The components are built again from the record: the unit leaves the
    // data link, its plants, sensors, mounts, datalink records and fuel
    // tanks go (its magazines and aircraft records stay), the build runs
    // with the name kept, the ordered speed is set again within what the new
    // plants allow, and the unit rejoins its side when the side exists.
    void RebuildFromAnnex() override;

    uint32_t damageClass[DAMAGE_CLASS_COUNT] = {};   // damage class levels (DBEnum)
    int16_t damagePoints = 0;                         // left
    int16_t maxDamagePoints = 0;                      // undamaged
    ShortTriple sonarTriples[2];                      // first and second sonar signatures

protected:
    // Which of a platform record's trailing bytes serves targets of a type
    // letter: 'A'/'P' 0, 'G'/'S' 1, 'U'/'g' 2, 'B'/'F' 3; -1 for any other.
    static int TargetClassIndex(char letter);

    // The equipment of a vessel built from its platform record (ShipAnnex or
    // SubAnnex): plants, sensors, mounts, datalink records with their
    // reaches, fuel tanks and (when it has none) magazines, the fuel hook-up;
    // the moving-object word 0.
    template <class Record>
    void BuildEquipment(const Record& record);

    // The vessel's part of the record, after the class's own fields, then
    // the unit's part. Little-endian:
    //   damageClass       3 x u32
    //   damagePoints      i16
    //   maxDamagePoints   i16
    //   sonarTriples      2 x ShortTriple (6 bytes each)
    //   the unit's part   SaveUnitRecord
    // The speed-loss level is not saved: the load sets it from the damage
    // level, which it always equals in play, so that a damaged vessel keeps
    // its speed cap across a save. A record cut short answers false.
    void SaveVesselFields(std::ostream& out) const;
    bool LoadVesselFields(std::istream& in);

    // The status lines of a vessel, in order: the side's name, the name,
    // the class name, the speed and its setting, `depth` (when not null),
    // the course in degrees, the damage percentage, the endurance,
    // `secondTime` (when not null), emitting or silent, the mission text
    // (when there is one), the sea state, cloud cover and precipitation,
    // the `extraCount` lines of `extra`, the two link reaches and the
    // conditions.
    void FillVesselStatus(UnitStatus& status, const char* depth, const char* secondTime, const char* const* extra,
                          int extraCount) const;

    uint16_t speedLossLevel = 0;
};

template <class Record>
void Vessel::BuildEquipment(const Record& record)
{
    BuildPropulsionList(plants, record.propulsionIDs);
    UnitFromAnnex::BuildSensorsAndMounts(*this, record.sensors, record.mounts);
    UnitFromAnnex::BuildCommLinks(*this, record.commIDs);
    UnitFromAnnex::BuildStores(*this, record.fuelIDs, &record.magazineIDs);
    reserved32 = 0;
}
