// MovingObject.cpp: a moving object's reach caches (sensor and weapon reach
// per target kind, band reach), its altitude envelope and fuel figures, and
// its saved form.
#include "units/MovingObject.h"

#include <algorithm>
#include <istream>
#include <ostream>

#include "core/StreamFields.h"

namespace {

// Bit 0x10 of a target kind is ignored by the reach questions.
constexpr uint32_t KIND_IGNORED_BIT = 0x10;

// Sensor reach modes of the target kinds.
constexpr uint16_t MODE_SURFACE = 1;
constexpr uint16_t MODE_AIR = 2;
constexpr uint16_t MODE_SUBSURFACE = 8;
constexpr uint16_t MODE_SONAR = 9;

// Flag-word bits of a sensor whose search reach counts for the sensor reach.
constexpr uint32_t SEARCH_REACH_FLAGS = 0x180;

bool IsSonarType(uint8_t type)
{
    return type == 4 || type == 5 || (type >= 11 && type <= 15);
}

}  // namespace

void MovingObject::GetAltitudeEnvelope(int16_t setting, int16_t& low, int16_t& high) const
{
    low = 0;
    high = 0;
    if (setting < 0 || setting >= PropulsionPlant::SETTINGS)
        return;
    for (const PropulsionPlant* plant = plants.First(); plant != nullptr; plant = plant->GetNext()) {
        for (const PropulsionPlant::SpeedEntry& entry : plant->speedTable[setting]) {
            low = std::min(low, entry.floor);
            high = std::max(high, entry.ceiling);
        }
    }
}

void MovingObject::UpdateBandReach()
{
    bandMask = 0;
    for (int bit = 0; bit < BAND_REACH_COUNT; ++bit) {
        const uint32_t kindBit = uint32_t{1} << bit;
        uint16_t reach = 0;
        for (const Sensor* sensor = sensors.First(); sensor != nullptr; sensor = sensor->GetNext()) {
            if (sensor->GetState() != Sensor::STATE_ACTIVE)
                continue;
            if (sensor->GetPrimaryReach() != 0 && (sensor->GetPrimaryBandMask() & kindBit) != 0)
                reach = std::max(reach, sensor->GetPrimaryReach());
            if (sensor->HasRelays() && (sensor->GetRelayBandMask() & kindBit) != 0)
                reach = std::max(reach, sensor->GetRelayReach());
        }
        bandReach[bit] = static_cast<int16_t>(reach);
        if (reach != 0)
            bandMask |= kindBit;
    }
}

int16_t MovingObject::GetBandReach(uint32_t kindMask) const
{
    int16_t best = 0;
    const uint32_t bits = kindMask & bandMask;
    for (int bit = 0; bit < BAND_REACH_COUNT; ++bit) {
        if ((bits & (uint32_t{1} << bit)) != 0)
            best = std::max(best, bandReach[bit]);
    }
    return best;
}

void MovingObject::CollectSensorsFor(IDList& out, uint32_t kindMask, int16_t minimumReach) const
{
    for (const Sensor* sensor = sensors.First(); sensor != nullptr; sensor = sensor->GetNext()) {
        if (sensor->GetState() != Sensor::STATE_ACTIVE)
            continue;
        const bool byPrimary = (sensor->GetPrimaryBandMask() & kindMask) != 0
                               && int32_t{sensor->GetPrimaryReach()} >= minimumReach;
        const bool byRelay = sensor->HasRelays() && (sensor->GetRelayBandMask() & kindMask) != 0
                             && int32_t{sensor->GetRelayReach()} >= minimumReach;
        if ((byPrimary || byRelay) && out.Find(sensor->GetKey()) == nullptr)
            out.Insert(new IDNode(sensor->GetKey()));
    }
}

void MovingObject::UpdateKindReach(uint16_t kind)
{
    uint16_t search = gDefaultSensor != nullptr ? gDefaultSensor->GetRange(kind, false) : 0;
    uint16_t searchAlt = 0;
    uint16_t best = 0;
    uint16_t passive = 0;
    bool activeSonar = false;
    for (const Sensor* sensor = sensors.First(); sensor != nullptr; sensor = sensor->GetNext()) {
        searchAlt = std::max(searchAlt, sensor->GetRange(kind, true));
        search = std::max(search, sensor->GetRange(kind, false));
        const uint16_t reach = sensor->GetRangeDefault(kind);
        best = std::max(best, reach);
        if (sensor->GetSensorType() == Sensor::TYPE_PASSIVE_SONAR)
            passive = std::max(passive, reach);
        if (sensor->GetSensorType() == Sensor::TYPE_ACTIVE_SONAR)
            activeSonar = true;
    }
    if (activeSonar)
        passive = 0;
    switch (kind) {
    case 1:
        sensorReach1 = best;
        searchReach1 = search;
        searchReachAlt1 = searchAlt;
        passiveSonarReach = passive;
        break;
    case 8:
        sensorReach8 = best;
        searchReach8 = search;
        searchReachAlt8 = searchAlt;
        passiveSonarReach = passive;
        break;
    default:   // kinds 2, 4 and 6
        sensorReach6 = best;
        searchReach6 = search;
        searchReachAlt6 = searchAlt;
        break;
    }
}

void MovingObject::UpdateSensorReach()
{
    UpdateSpecialReach();
    UpdateKindReach(6);
    UpdateKindReach(1);
    UpdateKindReach(8);
    UpdateBandReach();
}

int32_t MovingObject::SumWeaponRatings(uint32_t target) const
{
    // Summed in 64 bits and held at the 32-bit limits.
    int64_t sum = 0;
    for (const Mount* mount = mounts.First(); mount != nullptr; mount = mount->GetNext())
        sum += mount->SumWeaponRatings(target, 1);
    return static_cast<int32_t>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

uint16_t MovingObject::GetWeaponReach(uint32_t kind) const
{
    kind &= ~KIND_IGNORED_BIT;
    switch (kind) {
    case 1:
        return static_cast<uint16_t>(weaponReach1 * 10);
    case 2:
    case 0x800:
        return static_cast<uint16_t>(weaponReach2 * 10);
    case 4:
    case 8:
    case 12:
        return static_cast<uint16_t>(weaponReach4 * 10);
    default: {
        uint16_t longest = 0;
        for (const Mount* mount = mounts.First(); mount != nullptr; mount = mount->GetNext())
            longest = std::max(longest, mount->GetLongestReach(kind));
        return longest;
    }
    }
}

uint16_t MovingObject::GetShortestWeaponReach(uint32_t kind) const
{
    kind &= ~KIND_IGNORED_BIT;
    uint16_t shortest = 0;
    for (const Mount* mount = mounts.First(); mount != nullptr; mount = mount->GetNext()) {
        const uint16_t reach = mount->GetShortestReach(kind);
        if (reach != 0 && (shortest == 0 || reach < shortest))
            shortest = reach;
    }
    return shortest;
}

uint16_t MovingObject::GetSensorReach(uint32_t kind) const
{
    kind &= ~KIND_IGNORED_BIT;
    uint16_t mode = MODE_SURFACE;
    if (kind == 2 || kind == 0x800 || kind == 0x1000)
        mode = MODE_SUBSURFACE;
    else if (kind == 4 || kind == 8)
        mode = MODE_AIR;
    uint16_t best = gDefaultSensor != nullptr ? gDefaultSensor->GetRange(mode, false) : 0;
    for (const Sensor* sensor = sensors.First(); sensor != nullptr; sensor = sensor->GetNext()) {
        if ((sensor->GetFlagWord() & SEARCH_REACH_FLAGS) != 0)
            best = std::max(best, sensor->GetRange(mode, false));
        else if (IsSonarType(sensor->GetSensorType()))
            best = std::max(best, sensor->GetRangeDefault(mode));
    }
    return best;
}

int32_t MovingObject::GetFuelPercent() const
{
    uint64_t contents = 0;
    uint64_t capacities = 0;
    for (const FuelTank* tank = fuelTanks.First(); tank != nullptr; tank = tank->GetNext()) {
        contents += tank->GetCount();
        capacities += tank->GetCapacity();
    }
    return capacities == 0 ? 0 : static_cast<int32_t>(contents * 100 / capacities);
}

uint16_t MovingObject::GetSonarReach(bool active)
{
    const uint32_t wanted = active ? Sensor::STATE_ACTIVE : Sensor::STATE_PASSIVE;
    uint16_t best = 0;
    for (Sensor* sensor = sensors.First(); sensor != nullptr; sensor = sensor->GetNext()) {
        const uint8_t type = sensor->GetSensorType();
        if (type != Sensor::TYPE_PASSIVE_SONAR && type != Sensor::TYPE_ACTIVE_SONAR)
            continue;
        const uint32_t previous = sensor->GetState();
        sensor->SetState(wanted);
        if (sensor->GetState() == wanted)
            best = std::max(best, sensor->GetRangeDefault(MODE_SONAR));
        sensor->SetState(previous);
    }
    return best;
}

int16_t MovingObject::GetPlantSetting() const
{
    const PropulsionPlant* plant = plantKey != 0 ? plants.Find(plantKey) : nullptr;
    return plant != nullptr ? plant->setting : PlantSetting::OFF;
}

uint16_t MovingObject::GetMaxSpeedAtAltitude(int16_t setting, int16_t altitude) const
{
    if (setting < 0 || setting >= PropulsionPlant::SETTINGS)
        return 0;
    uint16_t best = 0;
    for (const PropulsionPlant* plant = plants.First(); plant != nullptr; plant = plant->GetNext()) {
        for (const PropulsionPlant::SpeedEntry& entry : plant->speedTable[setting]) {
            if (entry.floor <= altitude && altitude <= entry.ceiling) {
                best = std::max(best, entry.speed);
                break;
            }
        }
    }
    return best;
}

void MovingObject::UpdateWeaponReach(uint32_t kind)
{
    uint16_t longest = 0;
    for (const Mount* mount = mounts.First(); mount != nullptr; mount = mount->GetNext())
        longest = std::max(longest, mount->GetLongestReach(kind));
    const uint16_t cached = static_cast<uint16_t>(longest / 10);
    if (kind == 2)
        weaponReach2 = cached;
    else if (kind == 4 || kind == 8 || kind == 12)
        weaponReach4 = cached;
    else
        weaponReach1 = cached;
}

void MovingObject::RefreshWeaponReach()
{
    UpdateWeaponReach(2);
    UpdateWeaponReach(4);
    UpdateWeaponReach(1);
}

bool MovingObject::LoadSensors(std::istream& in)
{
    return LoadSensorList(sensors, in, this, "MovingObject::LoadSensors");
}

FuelTank* MovingObject::TankAt(uint16_t index) const
{
    FuelTank* tank = fuelTanks.First();
    for (uint16_t i = 0; tank != nullptr && i < index; ++i)
        tank = tank->GetNext();
    return tank;
}

void MovingObject::Save(std::ostream& out) const
{
    for (int16_t reach : bandReach)
        SaveField(out, reach);
    SaveField(out, bandMask);
    plants.Save(out);
    SaveSensorList(sensors, out);
    mounts.Save(out);
    datalinks.Save(out);
    magazines.Save(out);
    fuelTanks.Save(out);
    path.Save(out);
    SaveField(out, reserved32);
    SaveField(out, plantKey);
    SaveField(out, mainTank);
    SaveField(out, secondTank);
    SaveField(out, speed);
    SaveField(out, sideEntryID);
    SaveField(out, parentID);
    SaveField(out, attachedID);
    for (const ShortTriple& triple : aspectValues)
        triple.Save(out);
    SaveField(out, static_cast<uint32_t>(course));
    SimObject::Save(out);
}

bool MovingObject::Load(std::istream& in)
{
    for (int16_t& reach : bandReach)
        LoadField(in, reach);
    LoadField(in, bandMask);
    if (!in || !plants.Load(in) || !LoadSensors(in) || !mounts.Load(in))
        return false;
    for (Mount* mount = mounts.First(); mount != nullptr; mount = mount->GetNext())
        mount->SetOwner(this);
    if (!datalinks.Load(in) || !magazines.Load(in) || !fuelTanks.Load(in) || !path.Load(in))
        return false;
    LoadField(in, reserved32);
    LoadField(in, plantKey);
    LoadField(in, mainTank);
    LoadField(in, secondTank);
    LoadField(in, speed);
    LoadField(in, sideEntryID);
    LoadField(in, parentID);
    LoadField(in, attachedID);
    for (ShortTriple& triple : aspectValues)
        triple.Load(in);
    uint32_t savedCourse = 0;
    LoadField(in, savedCourse);
    course = static_cast<int32_t>(savedCourse);
    if (!in || !SimObject::Load(in))
        return false;
    UpdateSensorReach();
    RefreshWeaponReach();
    return true;
}
