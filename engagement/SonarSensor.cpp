// SonarSensor.cpp: the sonar's detection test (signal excess in decibels
// from the shared range table, with ambient and self noise, the thermal
// layer, shallow water and convergence zones), its ranges, its zone count
// and sound path, and the source it hands its contacts.
#include <algorithm>
#include <cstdint>

#include "core/NavVector.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/Decibel.h"
#include "engagement/SensorClasses.h"
#include "engagement/SensorSettings.h"
#include "engagement/SideContacts.h"
#include "engagement/SonarConditions.h"
#include "units/Unit.h"
#include "world/Map.h"
#include "world/Nav2Game.h"

namespace {

// Depths (tens of metres) below which a unit is under the thermal layer,
// without and with the VUVFixThermalLayer option.
constexpr int16_t LAYER = -150;
constexpr int16_t FIXED_LAYER = -4;
// The bottom above this between two units makes the path shallow.
constexpr int16_t SHALLOW_BOTTOM = -11;
// Range units per zone unit, and per half of one.
constexpr int32_t ZONE_UNIT = 2000;
constexpr int32_t HALF_ZONE_RANGE = 2048;
constexpr uint32_t RECENT_SECONDS = 600;
constexpr uint32_t LISTEN_PERIOD = 300;      // a passive sonar listens closely the first
constexpr uint32_t LISTEN_WINDOW = 15;       // 15 seconds of every 300
constexpr uint16_t CHANCE_TO_LISTEN = 6;
constexpr uint32_t TORPEDO_CLASS = 0x800;
constexpr uint32_t SONAR_BANDS = 0x7000000;
constexpr int32_t LOW_BAND_MARGIN = -40;     // a low-band set this sensitive gains 40 on near paths
constexpr int32_t LOW_BAND_GAIN = 40;
constexpr int32_t ZONE_GAIN = 15;
constexpr int32_t SHALLOW_LOSS[3] = {8, 5, 2};
constexpr int32_t NEAR_PATH_CHANCE_CAP = 90;
constexpr int32_t ZONE_CHANCE = 50;
constexpr uint16_t BEST_NONE = 65535;
constexpr int16_t HOVER_ALTITUDE = 5;
constexpr uint32_t PASSIVE_BY_DEFAULT = 0x10000;
constexpr int32_t RANGING_QUALITY = 252;
// Bands a sonar may hear a target in: its own and those above it.
constexpr int BANDS_HEARD = 3;

bool IsTowedOrDeep(uint8_t type)
{
    return type == Sensor::TYPE_ACTIVE_VDS || type == Sensor::TYPE_PASSIVE_VDS || type == Sensor::TYPE_TOWED_ARRAY;
}

int32_t FloorHalf(int32_t value)
{
    return value >= 0 ? value / 2 : -((-value + 1) / 2);
}

int32_t AddDecibels(int32_t a, int32_t b)
{
    return static_cast<int32_t>(DecibelSum(static_cast<uint16_t>(std::max(a, 0)), static_cast<uint16_t>(std::max(b, 0))));
}

// Self noise of a unit for a passive sonar (a byte).
int32_t SelfNoise(const Unit& unit)
{
    return static_cast<uint8_t>(unit.GetRearNoiseValue());
}

// Own noise of a unit for an active sonar (negative below 6 knots).
int32_t OwnNoise(const Unit& unit)
{
    return static_cast<int16_t>(unit.GetNoiseValue());
}

// The chance (in 100) of detecting at `range` with a signal excess: 50 where
// the excess's range reaches, more inside it, less beyond (three times as
// steeply).
int64_t ChanceAt(int32_t excess, int band, int32_t range)
{
    const int64_t reach = SonarTable::Range(excess, band);
    if (reach == 0)
        return 0;
    const int64_t d = reach - range;
    return (d < 0 ? d * 150 : d * 50) / reach + 50;
}

}  // namespace

int32_t SonarSensor::AdjustedSelfNoise(const Unit& own) const
{
    int32_t noise = SelfNoise(own);
    if (IsTowedOrDeep(typeCode_))
        noise -= own.GetFirstSonarSignature(2) / 3;
    if (typeCode_ == TYPE_TOWED_ARRAY && own.speed >= 6 && own.speed <= 12)
        noise -= 1;
    return noise;
}

void SonarSensor::SetContactSource(Contact& contact) const
{
    if (state_ == STATE_PASSIVE)
        HandSource(contact, sourceCode, capabilities & ~CAP_SOURCE_FLAG, beamWidth);
    else
        HandSource(contact, 0, capabilities, 0);
}

int16_t SonarSensor::GetPathType(const Unit& own, const Unit& target, int32_t range)
{
    const auto n = static_cast<int16_t>(range / ZONE_UNIT);
    const int32_t interval = SonarConditions::czInterval;
    int16_t k = 0;
    if (interval != 0 && n > interval && n % interval <= SonarConditions::czWidth)
        k = static_cast<int16_t>(n / interval);
    const int16_t bottom = gMap != nullptr
        ? gMap->Get_Highest_Point_Between(own.PositionObject::GetPosition(), target.PositionObject::GetPosition()).value
        : int16_t{0};
    if (bottom > SonarConditions::layerDepth) {
        k = 0;
        if (bottom > SHALLOW_BOTTOM)
            k = -1;
    }
    return k;
}

uint16_t SonarSensor::GetZoneCount() const
{
    const Unit* const own = OwnerUnit();
    if (state_ != STATE_PASSIVE || own == nullptr || SonarConditions::czInterval == 0)
        return 0;
    if (Nav2Game::GetAltitudeAt(own->PositionObject::GetPosition()) > SonarConditions::layerDepth)
        return 0;
    const int32_t x = 80 - AddDecibels(SonarTable::Ambient(own->GetWeather().seaState), SelfNoise(*own)) - jamMargin
                      + ZONE_GAIN;
    const uint32_t reach = std::min<uint32_t>(SonarTable::Range(x, band) / 4096, maxRange);
    return static_cast<uint16_t>(2 * reach / SonarConditions::czInterval);
}

Contact* SonarSensor::Detect(Unit& own, Unit& target, const NavVector& vector, int selector, int32_t, bool flagA,
                             bool, bool)
{
    // 1-4. Layers, state and gates.
    const int32_t range = vector.range;
    const int32_t miles = range / 4096;
    const int16_t layer = GetSensorSettings().fixThermalLayer ? FIXED_LAYER : LAYER;
    const bool targetBelow = target.GetAltitude() < layer;
    bool ownBelow = own.GetAltitude() < layer;
    if (state_ != STATE_ACTIVE && state_ != STATE_PASSIVE)
        return nullptr;
    if (!flagA || miles > int32_t{maxRange} || range < 2 * int32_t{minRange})
        return nullptr;

    // 5. Nothing above the surface, but a hovering aircraft dipping its sonar.
    int32_t a = own.GetAltitude();
    if (own.GetTypeLetter() == 'P' && own.speed == 0)
        a -= 5;
    int32_t b = target.GetAltitude();
    if (target.GetTypeLetter() == 'P' && target.speed == 0 && b < 6 && target.GetEmissionLevel(SONAR_BANDS) != 0)
        b -= 5;
    if (a > 0 || b > 0)
        return nullptr;

    // 6. What the own side already holds.
    SideContacts* const side = gam2arena::FindSide(own.sideEntryID);
    Contact* const held = side != nullptr ? side->GetContact(target.GetID()) : nullptr;
    if (held == nullptr && typeCode_ == TYPE_RANGING_SONAR)
        return nullptr;
    const uint32_t now = gam2arena::GetGameTime();
    const bool recent = held != nullptr && now - held->lastDetection.Get() < RECENT_SECONDS;

    // 7, 8. Path, sea and layer. The path walks the sea bed between the two
    // units, the dearest part of the test: it is found only once the excess
    // could still come out above 0 (the path can only lower it).
    int16_t path = 0;
    bool pathFound = false;
    auto pathType = [&] {
        if (!pathFound) {
            path = GetPathType(own, target, range);
            pathFound = true;
        }
        return path;
    };
    const int sea = std::max(own.GetWeather().seaState, target.GetWeather().seaState);
    const int32_t layerLoss = std::min(1, 10 - sea);
    const int32_t ambient = SonarTable::Ambient(sea);
    if (IsTowedOrDeep(typeCode_))
        ownBelow = true;

    // 9, 10. Signal excess, active or passive.
    int chosen = band;
    int32_t level = 0;
    int32_t excess = 0;
    int32_t floor = 0;
    if (state_ == STATE_ACTIVE) {
        level = target.GetSecondSonarSignature(selector);
        excess = FloorHalf(int32_t{searchJamGain} + level - OwnNoise(own) - FloorHalf(sea * 5 + ambient))
                 - searchThreshold;
    } else if (held != nullptr || band != BAND_LOW || (target.GetTargetMask() & TORPEDO_CLASS) != 0
               || now % LISTEN_PERIOD < LISTEN_WINDOW || gam2arena::Random(100) < CHANCE_TO_LISTEN) {
        floor = held != nullptr ? held->auxA : 0;
        const int32_t noise = AddDecibels(ambient, AdjustedSelfNoise(own));
        level = target.GetFirstSonarSignature(selector) + target.GetNoiseAddition();
        // The band the target is loudest in, for the bands the sonar hears.
        static constexpr uint32_t BAND_BITS[3] = {LOW_BAND_BIT, MIDDLE_BAND_BIT, HIGH_BAND_BIT};
        for (int n = band; n < BANDS_HEARD; ++n) {
            const int32_t bandLevel = target.GetEmissionLevel(BAND_BITS[n]);
            if (SonarTable::Range(bandLevel, n) > SonarTable::Range(level, chosen)) {
                chosen = n;
                level = bandLevel;
            }
        }
        excess = level - noise;
        if (chosen == BAND_LOW && jamMargin < LOW_BAND_MARGIN && pathType() < 1)
            excess += LOW_BAND_GAIN;
        else
            excess -= jamMargin;
    }

    // 11. Chance of detection.
    if (excess == 0 || excess + (recent ? 2 : 0) <= 0)
        return nullptr;
    bool detected = false;
    if (recent)
        excess += 2;
    // Without a held contact to note the chance in, a target no path could
    // reach is given up before the path is found: a near path does no better
    // than this excess, a zone no better than 15 more.
    if (held == nullptr && ChanceAt(excess, chosen, range) <= 0
        && ChanceAt(excess + ZONE_GAIN, chosen, range) < ZONE_CHANCE)
        return nullptr;
    pathType();
    if (ownBelow != targetBelow && path < 1)
        excess -= layerLoss;
    if (excess > 0) {
        if (path == -1)
            excess -= SHALLOW_LOSS[chosen];
        if (path > 0)
            excess += ZONE_GAIN;
        excess = SonarTable::Row(excess);
        int64_t chance = ChanceAt(excess, chosen, range);
        if (chance > floor) {
            bool possible = true;
            if (path < 1)
                chance = std::min<int64_t>(chance, NEAR_PATH_CHANCE_CAP);
            else if (chance < ZONE_CHANCE)
                possible = false;
            else
                chance = ZONE_CHANCE;
            detected = possible && gam2arena::Random(100) <= chance;
        }
        if (held != nullptr) {
            if (detected) {
                held->auxA = 0;
                held->auxB = BEST_NONE;
                held->auxTime = GameTime(0);
            } else if (excess > held->auxB) {
                held->auxB = static_cast<uint16_t>(std::clamp<int64_t>(chance, 0, 0xFFFF));
                held->auxTime = GameTime(now);
            }
        }
    }
    if (!detected)
        return nullptr;

    // 12. The contact.
    Contact* const contact = NewContact(target, GetClassCode());
    contact->signalValue = static_cast<uint32_t>(level);
    if (state_ == STATE_ACTIVE) {
        SetSensorBits(*contact, BITS_ACTIVE_SONAR);
        contact->sizeClass = level >= 40 ? 16 : level >= 30 ? 8 : level >= 20 ? 4 : level >= 10 ? 2 : 1;
        FillMotion(*contact, target, (capabilities & CAP_HEIGHT_FINDING) != 0);
    } else {
        SetSensorBits(*contact, BITS_PASSIVE_SONAR);
        contact->statusValue = 1;
        if (typeCode_ == TYPE_RANGING_SONAR) {
            if (miles < 16)
                contact->auxValue = RANGING_QUALITY;
        } else if ((capabilities & CAP_DETECTION_FLAG) != 0 && miles < 21) {
            contact->auxValue = 1;
        }
        contact->sizeClass = level >= 120 ? 16 : level >= 110 ? 8 : level >= 100 ? 4 : level >= 80 ? 2 : 1;
    }
    contact->speedEstimate = target.speed;
    contact->courseEstimate = WholeDegrees(target.GetCourse());
    SetContactSource(*contact);
    if (path > 0) {
        const uint32_t interval = SonarConditions::czInterval;
        contact->SetSource(0, 0, interval * static_cast<uint32_t>(path) * HALF_ZONE_RANGE,
                           static_cast<uint16_t>((SonarConditions::czWidth + interval * static_cast<uint32_t>(path)) / 2));
    }
    return contact;
}

uint16_t SonarSensor::GetRange(uint32_t classBits, bool flag) const
{
    if ((classBits & (CAP_SURFACE | CAP_SUBSURFACE)) == 0)
        return 0;
    const Unit* const own = OwnerUnit();
    // An aircraft dips its sonar while it hovers low or waits without a
    // path, and raises it otherwise (asking switches it).
    if (own != nullptr && own->GetTypeLetter() == 'P') {
        auto* const self = const_cast<SonarSensor*>(this);
        if ((own->speed == 0 || own->GetPath() == nullptr) && own->GetAltitude() <= HOVER_ALTITUDE) {
            if (state_ == STATE_OFF)
                self->SetState(own->TestFlags(PASSIVE_BY_DEFAULT) ? STATE_PASSIVE : STATE_ACTIVE);
        } else {
            self->SetState(STATE_OFF);
        }
    }
    if (state_ != STATE_ACTIVE && state_ != STATE_PASSIVE)
        return 0;
    const int32_t base = (flag ? 250 : 200) - (own != nullptr ? SelfNoise(*own) : 0);
    int32_t x = base;
    if (state_ == STATE_PASSIVE)
        x += band == BAND_LOW && jamMargin < LOW_BAND_MARGIN ? LOW_BAND_GAIN : -jamMargin;
    else
        x -= searchThreshold;
    uint32_t result = SonarTable::Range(x + 3, band) / 4096;

    const uint32_t interval = SonarConditions::czInterval;
    if (state_ == STATE_PASSIVE && interval != 0 && (band == BAND_LOW || (band == BAND_MIDDLE && interval <= 48))) {
        const uint32_t zoneReach = SonarTable::Range(base - jamMargin + ZONE_GAIN, band) / HALF_ZONE_RANGE;
        uint32_t k = zoneReach / interval;
        if (zoneReach % interval <= SonarConditions::czWidth && k != 0) {
            k *= interval;
            while (k != 0 && maxRange < k / 2)
                k -= interval;
            if (k != 0)
                result = std::max<uint32_t>(result, (k + SonarConditions::czWidth + 1) / 2);
        }
    }
    return static_cast<uint16_t>(std::min<uint32_t>(result, maxRange));
}

uint16_t SonarSensor::GetRangeDefault(uint32_t classBits) const
{
    if ((classBits & capabilities) == 0)
        return 0;
    const Unit* const own = OwnerUnit();
    const int sea = own != nullptr ? own->GetWeather().seaState : 0;
    const int32_t ambient = SonarTable::Ambient(sea);
    int32_t row = 0;
    if (state_ == STATE_ACTIVE) {
        const int32_t ownNoise = own != nullptr ? OwnNoise(*own) : 0;
        row = (int32_t{searchJamGain} + 20 - ownNoise - (ambient + sea * 5 / 2)) / 2 - searchThreshold;
    } else if (state_ == STATE_PASSIVE) {
        const int32_t sum = AddDecibels(ambient, own != nullptr ? AdjustedSelfNoise(*own) : 0);
        row = band == BAND_LOW && jamMargin < LOW_BAND_MARGIN ? 120 - sum : 80 - sum - jamMargin;
    } else {
        return 0;
    }
    const uint32_t result = std::max<uint32_t>(SonarTable::Range(row, band) / 4096, 1);
    return static_cast<uint16_t>(std::min<uint32_t>(result, maxRange));
}
