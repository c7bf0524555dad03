// PassiveSensors.cpp: the detection tests of the visual (and the shared
// lookout), infrared, ESM, MAD, laser designator and semi-active sensors.
#include <algorithm>
#include <cstdlib>

#include "annex/AnnexTables.h"
#include "annex/FacilityAnnex.h"
#include "annex/ShipAnnex.h"
#include "annex/SubAnnex.h"
#include "annex/WeaponAnnex.h"
#include "core/NavMath.h"
#include "core/NavVector.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SensorClasses.h"
#include "engagement/SensorSettings.h"
#include "units/Unit.h"
#include "world/gam2anim.h"

namespace {

constexpr uint8_t LIGHT_DIM = 2;       // the two reduced-light values
constexpr uint8_t LIGHT_DUSK = 4;
constexpr uint32_t ON_FIRE = 0x20;     // a target's flag seen as damage 0x2
constexpr uint16_t SIDE_TOLD = 2;
constexpr uint16_t IDENTIFIED = 8;
constexpr uint16_t EMITTER_HEARD = 0x10;
constexpr int32_t ANGLE_UNITS_PER_DEGREE = 245760;
constexpr int32_t MAD_REACH = 2048;    // range units
constexpr int32_t MAD_SHALLOW_REACH = 1024;

// Both units at or above the surface.
bool BothAbove(const Unit& own, const Unit& target)
{
    return own.GetAltitude() >= 0 && target.GetAltitude() >= 0;
}

// The damage a lookout sees on the target, into the contact's condition bits.
void SeeDamage(Contact& contact, const Unit& target)
{
    const int32_t damage = target.GetDamagePercent();
    if (damage > 0) {
        contact.conditionBits |= 0x1;
        contact.conditionBits &= ~0x4u;
    }
    if (damage > 50) {
        contact.conditionBits |= 0x4;
        contact.conditionBits &= ~0x1u;
    }
    if (damage == 100)
        contact.conditionBits = 0x8;
    if (target.TestFlags(ON_FIRE))
        contact.conditionBits |= 0x2;
}

// The record name of the target's database entry by its letter; false when
// there is none.
bool CopyRecordName(Contact& contact, const Unit& target)
{
    const AnnexTables& tables = Annex::Tables();
    const uint16_t id = target.GetAnnexID();
    switch (target.GetTypeLetter()) {
    case 'S':
        if (const ShipAnnex* r = tables.Ships() != nullptr ? tables.Ships()->Find(id) : nullptr) {
            contact.name = r->className;
            return true;
        }
        return false;
    case 'U':
        if (const SubAnnex* r = tables.Subs() != nullptr ? tables.Subs()->Find(id) : nullptr) {
            contact.name = r->className;
            return true;
        }
        return false;
    case 'W':
        if (const WeaponAnnex* r = tables.Weapons() != nullptr ? tables.Weapons()->Find(id) : nullptr) {
            contact.name = r->className;
            return true;
        }
        return false;
    case 'F':
        if (const FacilityAnnex* r = tables.Facilities() != nullptr ? tables.Facilities()->Find(id) : nullptr) {
            contact.name = r->name;
            return true;
        }
        return false;
    default:
        return false;
    }
}

// Folds a difference of whole degrees into 0 to 180.
int32_t FoldDegrees(int32_t degrees)
{
    degrees %= 360;
    if (degrees < 0)
        degrees += 360;
    return degrees > 180 ? 360 - degrees : degrees;
}

}  // namespace

Contact* VisualSensor::Detect(Unit& own, Unit& target, const NavVector& vector, int selector, int32_t rangeLoss,
                              bool flagA, bool, bool)
{
    // 1. Gates: the horizon here is three quarters of the summed horizons.
    const int32_t miles = vector.range / 4096;
    int32_t horizon = ((int32_t{own.GetHorizon()} + target.GetHorizon()) * 3 + 3) / 4;
    if (state_ != STATE_PASSIVE || !flagA || miles > horizon || miles > int32_t{maxRange}
        || vector.range < 2 * int32_t{minRange} || !BothAbove(own, target))
        return nullptr;

    // 2. By the class of target.
    const int weather = WeatherClass(own, target);
    const uint8_t light = gam2anim::GetLightAt(own.PositionObject::GetPosition());
    const uint8_t visibility = target.GetWeather().cloudCover;
    const uint32_t targetClass = target.GetTargetMask();
    int32_t raw = 0;
    int32_t signal = 0;
    if (targetClass == 1) {
        static constexpr int32_t DISTANCE[4] = {10000, 7500, 5000, 2500};
        static constexpr int32_t CLEARNESS[4] = {100, 83, 66, 50};
        int32_t distance = DISTANCE[weather] / 100;
        distance = distance * (light == LIGHT_DIM ? 33 : light == LIGHT_DUSK ? 66 : 100) / 100;
        distance = distance * (visibility <= 3 ? CLEARNESS[visibility] : 100) / 100;
        distance = std::max(distance, int32_t{10});
        if (own.GetTypeLetter() == 'P')
            horizon = std::clamp<int32_t>(target.speed, 10, 35);
        if (miles > (horizon * distance + 9) / 100)
            return nullptr;
    } else if (targetClass == 2) {
        if (miles > 6)
            return nullptr;
        const int32_t chance = std::max(30 - miles * miles - 5 * int32_t{own.GetWeather().seaState}, int32_t{1});
        if (gam2arena::Random(100) >= chance)
            return nullptr;
    } else {
        raw = target.GetVisualSignature(selector);
        signal = raw - 2 * rangeLoss;
        static constexpr int32_t WEATHER[4] = {0, -12, -30, -60};
        static constexpr int32_t VISIBILITY[4] = {0, -8, -18, -30};
        int32_t adjustment = WEATHER[weather];
        adjustment += light == LIGHT_DIM ? -48 : light == LIGHT_DUSK ? -18 : 0;
        adjustment += visibility <= 3 ? VISIBILITY[visibility] : 0;
        const int32_t margin = signal - jamMargin + adjustment;
        if (margin < 0
            && (GetSensorSettings().no3XEyeballs || gam2arena::Random(100) >= margin + 100))
            return nullptr;
    }

    // 3. What the lookout sees.
    Contact* const contact = NewContact(target, GetClassCode());
    contact->statusValue = 0;
    contact->signalValue = static_cast<uint32_t>(signal);
    SetSensorBits(*contact, BITS_VISUAL);
    if (target.GetAltitude() >= 0) {
        FillIdentity(*contact, target);
        if (HiddenFromPlayer(own)) {
            contact->sideId = static_cast<uint8_t>(target.GetSideID());
            contact->changeBits |= SIDE_TOLD;
        }
    }
    FillMotion(*contact, target, (capabilities & CAP_HEIGHT_FINDING) != 0);
    contact->SetSource(0, 1, 0, maxRange);
    contact->SetDetectionValue(0, 1);
    contact->sizeClass = RadarSizeClass(raw);
    SeeDamage(*contact, target);
    return contact;
}

Contact* InfraredSensor::Detect(Unit& own, Unit& target, const NavVector& vector, int selector, int32_t rangeLoss,
                                bool flagA, bool flagB, bool)
{
    if (state_ != STATE_PASSIVE || !flagA || !flagB || vector.range / 4096 > int32_t{maxRange}
        || vector.range < 2 * int32_t{minRange} || !BothAbove(own, target))
        return nullptr;
    static constexpr int32_t WEATHER[4] = {0, -10, -22, -40};
    const int32_t signal = target.GetInfraredSignature(selector) - 2 * rangeLoss;
    // The weather term is subtracted as written: a worse class raises the
    // margin.
    if (signal - jamMargin - WEATHER[WeatherClass(own, target)] < 0)
        return nullptr;

    Contact* const contact = NewContact(target, GetClassCode());
    contact->statusValue = 0;
    contact->signalValue = static_cast<uint32_t>(signal);
    SetSensorBits(*contact, BITS_INFRARED);
    contact->sizeClass = signal >= 121 ? 16 : signal >= 21 ? 8 : signal >= -49 ? 4 : signal >= -149 ? 2 : 1;
    if ((capabilities & CAP_IDENTIFY_FRIENDS) != 0) {
        contact->sideId = static_cast<uint8_t>(target.GetSideID());
        contact->changeBits |= SIDE_TOLD;
    }
    if ((capabilities & CAP_CLASSIFY) != 0) {
        contact->name = target.GetName();
        contact->identifiedAs = target.GetAnnexID();
        contact->sizeClass = target.GetSizeClass();
        contact->changeBits |= IDENTIFIED;
        if (HiddenFromPlayer(own)) {
            contact->sideId = static_cast<uint8_t>(target.GetSideID());
            contact->changeBits |= SIDE_TOLD;
        }
    }
    FillMotion(*contact, target, (capabilities & CAP_HEIGHT_FINDING) != 0);
    if ((capabilities & CAP_SOURCE_FLAG) != 0)
        contact->signalValue = 0;
    if (target.TestFlags(ON_FIRE))
        contact->conditionBits |= 0x2;
    SetContactSource(*contact);
    return contact;
}

Contact* ESMSensor::Detect(Unit& own, Unit& target, const NavVector& vector, int, int32_t rangeLoss, bool flagA,
                           bool flagB, bool)
{
    if (vector.range / 4096 > int32_t{maxRange})
        return nullptr;
    // An emitter is heard a little beyond the optical horizon.
    if (!flagB)
        flagB = (int64_t{vector.range} * 10 / 11) / 4096 <= int32_t{own.GetHorizon()} + target.GetHorizon();
    if (state_ != STATE_PASSIVE || !flagB || !BothAbove(own, target))
        return nullptr;
    int32_t level = target.GetEmissionLevel(searchBands);
    if (level == 0)
        return nullptr;
    if (!flagA)
        level -= 100;
    const int32_t signal = level - 2 * rangeLoss;
    if (signal - jamMargin < 0)
        return nullptr;

    Contact* const contact = NewContact(target, GetClassCode());
    contact->statusValue = 0;
    contact->signalValue = static_cast<uint32_t>(signal);
    contact->sizeClass = level >= 1 ? 16 : level >= -99 ? 8 : level >= -199 ? 4 : level >= -299 ? 2 : 1;
    SetSensorBits(*contact, BITS_ESM);
    target.FillEmitterList(*contact, searchBands, jamMargin + 2 * rangeLoss);
    contact->changeBits |= EMITTER_HEARD;
    SetContactSource(*contact);
    contact->observerId = own.GetID();
    if (HiddenFromPlayer(own)) {
        CopyRecordName(*contact, target);
        contact->identifiedAs = target.GetAnnexID();
        contact->sizeClass = target.GetSizeClass();
        contact->sideId = static_cast<uint8_t>(target.GetSideID());
        contact->changeBits |= IDENTIFIED | SIDE_TOLD;
    }
    return contact;
}

Contact* MADSensor::Detect(Unit&, Unit& target, const NavVector& vector, int, int32_t, bool, bool, bool)
{
    const uint16_t depthBand = target.GetAltitudeBand();
    if (state_ != STATE_PASSIVE || depthBand >= 6 || vector.range > MAD_REACH || target.GetTypeLetter() == 'W')
        return nullptr;
    // The deepest bands are out of reach; the band just below them halves it.
    if (depthBand < 2 || vector.range > (depthBand == 2 ? MAD_SHALLOW_REACH : MAD_REACH))
        return nullptr;
    Contact* const contact = NewContact(target, GetClassCode());
    contact->statusValue = 0;
    contact->signalValue = 1;
    SetSensorBits(*contact, BITS_MAD);
    SetContactSource(*contact);
    return contact;
}

Contact* LaserDesignatorSensor::Detect(Unit& own, Unit& target, const NavVector& vector, int, int32_t, bool flagA,
                                       bool flagB, bool flagC)
{
    const int32_t miles = vector.range / 4096;
    if (state_ != STATE_ACTIVE || !BothAbove(own, target) || !flagA || !flagB || !flagC
        || miles > int32_t{maxRange})
        return nullptr;
    static constexpr int32_t REACH_PERCENT[4] = {100, 64, 36, 16};
    if (miles > int32_t{maxRange} * REACH_PERCENT[WeatherClass(own, target)] / 100)
        return nullptr;
    Contact* const contact = NewContact(target, GetClassCode());
    contact->statusValue = 0;
    contact->signalValue = 1;
    SetSensorBits(*contact, BITS_LASER);
    SetContactSource(*contact);
    return contact;
}

Contact* SemiActiveSensor::Detect(Unit& own, Unit& target, const NavVector& vector, int, int32_t, bool flagA,
                                  bool flagB, bool)
{
    const int32_t miles = vector.range / 4096;
    if (state_ != STATE_PASSIVE || own.GetTypeLetter() != 'W' || !flagA || !flagB || miles > int32_t{maxRange}
        || vector.range < 2 * int32_t{minRange})
        return nullptr;

    // 2. The illuminator and its sensor.
    const uint16_t guide = own.GetGuidanceUnitID() != 0 ? own.GetGuidanceUnitID() : own.GetLauncherID();
    Unit* const illuminator = gam2arena::FindUnit(guide);
    if (illuminator == nullptr)
        return nullptr;
    Sensor* const sensor = illuminator->sensors.Find(own.GetGuidanceSensorKey());
    if (sensor == nullptr)
        return nullptr;

    // 3. Geometry.
    const NavVector lit = NavMath::Get_Vector(illuminator->PositionObject::GetPosition(),
                                              target.PositionObject::GetPosition());
    const int32_t off = FoldDegrees(lit.bearing / ANGLE_UNITS_PER_DEGREE - vector.bearing / ANGLE_UNITS_PER_DEGREE);
    const int32_t aspectAngle = FoldDegrees(WholeDegrees(target.GetCourse()) + WholeDegrees(vector.bearing));
    const int aspect = aspectAngle < 45 ? 0 : aspectAngle < 136 ? 1 : 2;
    const bool sees = illuminator->CanSeeTarget(target);
    const bool inHorizon = miles <= int32_t{target.GetHorizon()} + illuminator->GetHorizon();

    // 4, 5. The illuminator must hold the target for the weapon's flight.
    const uint32_t now = gam2arena::GetGameTime();
    const uint32_t flight = own.speed != 0 ? static_cast<uint32_t>(miles) * 3600 / own.speed : 0;
    const ChannelEntry request(target.GetID(), GameTime(now), GameTime(now + flight));
    if (!sees || !inHorizon || off > 120
        || !sensor->TrackTarget(*illuminator, target, lit, aspect, false, request, 0, true, true))
        return nullptr;

    // 6. The contact, sized on the radar scale by the illuminator's answer.
    Contact* const contact = NewContact(target, SensorClass::RADAR);
    contact->statusValue = 0;
    contact->signalValue = 1;
    SetSensorBits(*contact, BITS_SEMI_ACTIVE);
    contact->sizeClass = RadarSizeClass(1);
    contact->SetSource(0, 1, 0, maxRange);
    contact->SetDetectionValue(0, 1);
    return contact;
}
