// UnitDetection.cpp: the unit's detection operations that need only the unit
// model and the map: the terrain and line-of-sight tests, the detection
// reach, the detection options word, and the operations the engagement model
// installs (UnitDetectionCalls.h), forwarded to it.
#include "units/Unit.h"

#include <algorithm>

#include "core/ConfigurationFileIO.h"
#include "core/NavMath.h"
#include "core/Units.h"
#include "units/UnitDetectionCalls.h"
#include "world/Game2UI2.h"
#include "world/Map.h"

namespace {

UnitDetectionCalls gCalls;
uint16_t gRealismLevel = 0;

// Target classes that set a floor under the detection reach.
constexpr uint32_t MASK_SURFACE = 0x1;
constexpr uint32_t MASK_AIRCRAFT = 0x4;
constexpr uint32_t MASK_MISSILE = 0x8;
constexpr int32_t AIRCRAFT_FLOOR_NM = 30;
constexpr int32_t MISSILE_FLOOR_NM = 10;
// Band word bit that chooses the second set of reach caches.
constexpr uint16_t BAND_WORD_ALTERNATE = 0x100;
// Bands above this are the high air, the kind-6 caches.
constexpr uint16_t BAND_LOW_AIR = 7;

int32_t RangeInMiles(const LatLonPoint& from, const LatLonPoint& to)
{
    return NavMath::Get_Vector(from, to).range / RANGE_PER_NM;
}

}  // namespace

UnitDetectionCalls SetUnitDetectionCalls(const UnitDetectionCalls& calls)
{
    const UnitDetectionCalls previous = gCalls;
    gCalls = calls;
    return previous;
}

const UnitDetectionCalls& GetUnitDetectionCalls()
{
    return gCalls;
}

namespace DetectionOptions {

void SetRealismLevel(uint16_t level)
{
    gRealismLevel = level;
}

uint16_t GetRealismLevel()
{
    return gRealismLevel;
}

uint16_t ReadRealismLevel(ConfigurationFileIO& ini)
{
    // Like the program's other word-sized settings, the low 16 bits of the
    // integer written there.
    const int32_t value = ini.GetLongInt("Tessarn3", "RealismLevel");
    if (value == CONFIG_NO_VALUE)
        return 0;
    return static_cast<uint16_t>(static_cast<uint32_t>(value) & 0xFFFF);
}

uint16_t For(const Unit& unit)
{
    return gRealismLevel != 0 && unit.GetSideID() == Game2UI2::GetCurrentSideID() ? gRealismLevel : 0;
}

}  // namespace DetectionOptions

bool Unit::DetectUnit(Unit& other)
{
    return gCalls.detectUnit != nullptr && gCalls.detectUnit(*this, other);
}

void Unit::UpdatePairDetection(Unit& other)
{
    if (gCalls.updatePairDetection != nullptr)
        gCalls.updatePairDetection(*this, other);
}

int32_t Unit::UpdateDataLink(Unit& other, int32_t range, uint8_t sight, uint8_t withinHorizon, uint16_t options)
{
    return gCalls.updateDataLink != nullptr ? gCalls.updateDataLink(*this, other, range, sight, withinHorizon, options)
                                            : 0;
}

void Unit::ReportToBase(Unit& other)
{
    if (gCalls.reportToBase != nullptr)
        gCalls.reportToBase(*this, other);
}

SignatureRecord* Unit::BuildJammingEntry(const NavVector& vector) const
{
    return gCalls.buildJammingEntry != nullptr ? gCalls.buildJammingEntry(*this, vector) : nullptr;
}

void Unit::LeaveDataLink()
{
    if (gCalls.leaveDataLink != nullptr)
        gCalls.leaveDataLink(*this);
}

void Unit::NoteHostileAct(uint16_t attackerID)
{
    if (gCalls.noteHostileAct != nullptr)
        gCalls.noteHostileAct(*this, attackerID);
}

// The slope test compares whole nautical miles. A unit right on top of the
// other (or of the highest point) gives a distance of 0 there: nothing can
// stand between them, so the answer is clear rather than a division by 0.
uint8_t Unit::HasTerrainLineOfSight(Unit& other)
{
    if (gMap == nullptr)
        return 1;
    const bool thisLower = GetAltitude() <= other.GetAltitude();
    const Unit& lower = thisLower ? *this : other;
    const Unit& higher = thisLower ? other : *this;
    const int32_t low = lower.GetAltitude();
    const int32_t high = higher.GetAltitude();
    const ElevationPoint peak = gMap->Get_Highest_Point_Between(GetPosition(), other.GetPosition());
    const int32_t h = peak.value;
    if (low > h)
        return 1;
    if (high < h)
        return 0;
    const int32_t d1 = RangeInMiles(lower.GetPosition(), higher.GetPosition());
    const int32_t d2 = RangeInMiles(lower.GetPosition(), peak.position);
    if (d1 <= 0 || d2 <= 0)
        return 1;
    const uint32_t toHigher = static_cast<uint32_t>((high - low) * 32) / static_cast<uint32_t>(d1);
    const uint32_t toPeak = static_cast<uint32_t>((h - low) * 32) / static_cast<uint32_t>(d2);
    return toHigher <= toPeak ? 0 : 1;
}

uint8_t Unit::LineOfSightTo(const Unit& other) const
{
    if (gMap == nullptr)
        return 1;
    return gMap->Is_Path_Clear(GetPosition(), other.GetPosition()) ? 1 : 0;
}

uint8_t Unit::LineOfSightToFacility(const Unit& other) const
{
    if (gMap == nullptr)
        return 1;
    return gMap->Crosses_Coast_At_Most_Once(GetPosition(), other.GetPosition()) ? 1 : 0;
}

int32_t Unit::GetDetectionReach(const Unit& target) const
{
    const uint16_t targetBand = target.GetAltitudeBand();
    const uint16_t ownBand = GetAltitudeBand();
    const bool alternate = (target.GetStateFlags() & BAND_WORD_ALTERNATE) != 0;
    uint16_t cache;
    if (targetBand > BAND_LOW_AIR) {
        cache = alternate ? searchReachAlt6 : searchReach6;
    } else if (targetBand < BAND_SURFACE || ownBand < BAND_SURFACE) {
        if (target.GetAltitude() > 0)
            cache = alternate ? std::max(searchReachAlt1, searchReachAlt8) : std::max(searchReach1, searchReach8);
        else
            cache = alternate ? searchReachAlt8 : searchReach8;
    } else {
        cache = alternate ? searchReachAlt1 : searchReach1;
    }
    const uint32_t mask = target.GetTargetMask();
    int32_t floor = 0;
    if ((mask & MASK_AIRCRAFT) != 0)
        floor = AIRCRAFT_FLOOR_NM;
    else if ((mask & MASK_MISSILE) != 0)
        floor = MISSILE_FLOOR_NM;
    else if ((mask & MASK_SURFACE) != 0)
        floor = int32_t{GetHorizon()} + target.GetHorizon();
    return std::max<int32_t>(cache, floor);
}
