// MissionOrders.cpp: the orders a mission posts for its units (speed,
// altitude, sensors) and the shared routines the mission types call.
#include "missions/MissionRecord.h"

#include <algorithm>
#include <cstdlib>

#include "core/Units.h"
#include "engagement/Contact.h"
#include "missions/MissionCalls.h"
#include "units/Unit.h"
#include "units/UnitEvents.h"

namespace {

// Speed settings of a propulsion plant: the four rows of its speed table.
constexpr int16_t LOWEST_SPEED_SETTING = 0;
constexpr int16_t HIGHEST_SPEED_SETTING = 3;

// Set-sensors modes and the radar type the missions switch.
constexpr uint16_t SENSOR_MODE_ACTIVE = 2;
constexpr uint32_t RADAR_SENSORS = 1;

// Five degrees either side of a course.
constexpr int64_t FIVE_DEGREES = 5 * int64_t{ANGLE_PER_DEGREE};

bool IsAircraftLetter(char letter) { return letter == 'P' || letter == 'A'; }

} // namespace

void MissionRecord::CopyIDList(const IDList* source, IDList* target)
{
    if (!source || !target)
        return;
    for (const IDNode* node = source->First(); node; node = node->GetNext())
        target->Insert(new IDNode(node->GetKey()));
}

uint16_t MissionRecord::OrderUnitSpeed(uint16_t unitID, Unit* unit, int16_t setting, int16_t altitude)
{
    // A unit without a plant reports setting -1, and some orders ask for -1
    // as "keep the present speed": only the four table rows give a speed.
    if (!unit || setting < LOWEST_SPEED_SETTING || setting > HIGHEST_SPEED_SETTING)
        return 0;
    const uint16_t speed = unit->GetMaxSpeedAtAltitude(setting, altitude);
    PostOrDrop(MakeSetSpeedEvent(unitID, speed, GameTime(0)));
    return speed;
}

void MissionRecord::OrderUnitAltitude(uint16_t unitID, int16_t altitude)
{
    PostOrDrop(MakeSetAltitudeEvent(unitID, altitude, GameTime(0)));
}

void MissionRecord::PostSensorSetting(uint16_t unitID, uint16_t mode, uint32_t value, uint16_t firstTime,
                                      uint8_t firstVariation, uint16_t secondTime, uint8_t secondVariation)
{
    PostOrDrop(MakeSetSensorsEvent(unitID, mode, value, firstTime, firstVariation, secondTime, secondVariation));
}

void MissionRecord::PostUnitSensorsOn(uint16_t unitID)
{
    MissionUnitRec* const record = units.Find(unitID);
    if (!record)
        return;
    PostSensorSetting(unitID, SENSOR_MODE_ACTIVE, RADAR_SENSORS, 0, 0, 0, 0);
    record->markBits = UNIT_POSTURE_APPLIED;
}

uint32_t MissionRecord::GetUnitReach(Unit* unit, uint32_t targetClass)
{
    if (!unit)
        return 0;
    const uint32_t weapons = uint32_t{unit->GetWeaponReach(targetClass)} * 409;   // tenths of a mile
    const uint32_t perMile = (targetClass == 0x2 || targetClass == 0x800) ? 5 * RANGE_PER_NM : RANGE_PER_NM;
    const uint32_t sensors = uint32_t{unit->GetSensorReach(targetClass)} * perMile;
    return std::max(weapons, sensors);
}

bool MissionRecord::IsBearingWithin5(int32_t bearing, int32_t reference)
{
    int64_t difference = (int64_t{bearing} - reference) % ANGLE_FULL;
    if (difference > ANGLE_HALF)
        difference -= ANGLE_FULL;
    else if (difference < -int64_t{ANGLE_HALF})
        difference += ANGLE_FULL;
    return std::llabs(difference) <= FIVE_DEGREES;
}

bool MissionRecord::IsTrackClass6000(const Contact* contact)
{
    return contact && (contact->bandWord & 0xFE00) == 0x6000;
}

uint16_t MissionRecord::AverageOfThree(const uint16_t* values)
{
    if (!values)
        return 0;
    return static_cast<uint16_t>((uint32_t{values[0]} + values[1] + values[2]) / 3);
}

void MissionRecord::SetContactCheck(Contact* contact, uint32_t seconds)
{
    if (contact && seconds != 0)
        contact->SetFirstDetection(seconds);
}

bool MissionRecord::MayAttack(const Unit* unit, int32_t count)
{
    if (!unit)
        return false;
    const char letter = unit->GetTypeLetter();
    if (IsAircraftLetter(letter))
        return count > 0;
    if (letter == 'U')
        return count < 2;
    return count < 4;
}

int32_t MissionRecord::NextAttackStep(const Unit* unit, int32_t step)
{
    if (!unit || !IsAircraftLetter(unit->GetTypeLetter()))
        return step + 1;
    if (step == 1)
        return 3;
    if (step == 3)
        return 0;
    return step - 1;
}

void MissionRecord::NotifyTrackedUnits(const Contact* contact, uint32_t targetClass, const Unit* unit,
                                       uint16_t unitID)
{
    if (!contact || !unit || !(targetClass & 0xC) || !contact->GetArea() || unit->GetTypeLetter() == 'U')
        return;
    PostUnitSensorsOn(unitID);
}
