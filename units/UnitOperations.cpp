// UnitOperations.cpp: the unit operations on fuel stores, reach, targeting
// records and weapon tallies, the condition flags the multi-action events
// drive, the weapons listing and text, the condition text, the damage level
// and the sonar rings.
#include "units/Unit.h"

#include <algorithm>
#include <cstring>
#include <iomanip>
#include <sstream>
#include <string>

#include "annex/AnnexTables.h"
#include "core/AllocationCheck.h"
#include "core/NavMath.h"
#include "core/ResourceLoader.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "units/SideRecords.h"
#include "units/UnitBridge.h"
#include "units/UnitDetectionCalls.h"
#include "units/UnitEvents.h"

namespace {

// Multi-action code whose queued event marks a unit as flooding.
constexpr uint32_t FLOODING_ACTION = 7;

// Weapon kind that never sets attack altitudes.
constexpr uint32_t KIND_WITHOUT_RELEASE_ALTITUDES = 8;

// The condition texts, in the order the condition text lists them.
struct ConditionText {
    uint32_t bits;
    int32_t text;
};
constexpr ConditionText CONDITIONS[] = {
    {UnitFlag::ENGINE_FAILURE, 0x7B0267},
    {UnitFlag::STEERING_FAILURE, 0x7B0268},
    {UnitFlag::ON_FIRE, 0x7B01B9},
    {UnitFlag::HANGAR_HIT, 0x7B0269},
    {UnitFlag::FLIGHT_DECK_HIT, 0x7B026A},
    {UnitFlag::AIRFIELD_HIT, 0x7B026B},
    {UnitFlag::SENSOR_DAMAGE, 0x7B026C},
    {UnitFlag::FLOODING, 0x7B026D},
    {UnitFlag::MOUNT_DAMAGE, 0x7B026E},
    {UnitFlag::AIR_OPS_DAMAGE, 0x7B026F},
};

// Appends resource text `number` to out (size bytes, length so far in
// `used`), cutting it to fit and keeping out terminated. A text that cannot
// be had appends nothing.
void AppendText(char* out, int32_t size, int32_t& used, int32_t number)
{
    if (TheResourceLoader == nullptr)
        return;
    const char* const text = TheResourceLoader->Get(number);
    if (text == nullptr)
        return;
    const int32_t room = size - 1 - used;
    const int32_t length = static_cast<int32_t>(std::strlen(text));
    const int32_t taken = std::max(0, std::min(room, length));
    std::memcpy(out + used, text, static_cast<size_t>(taken));
    used += taken;
    out[used] = '\0';
    TheResourceLoader->Free(number);
}

// Resource text of the magazine heading in the weapons text.
constexpr int32_t MAGAZINES_TEXT = 0x7B022D;

// Resource text of a sensor state in the sensor list.
int32_t SensorStateText(uint32_t state)
{
    switch (state) {
    case Sensor::STATE_ACTIVE: return 0x7B022E;
    case Sensor::STATE_PASSIVE: return 0x7B022F;
    case Sensor::STATE_OFF: return 0x7B0232;
    case Sensor::STATE_DAMAGED: return 0x7B0230;
    case Sensor::STATE_DESTROYED: return 0x7B0231;
    default: return 0x7B0233;
    }
}

// The name of a sensor.dat record; empty when the record (or table) is missing.
const char* SensorRecordName(uint16_t sensorID)
{
    const AnnexTable<SensorAnnex>* table = Annex::Tables().Sensors();
    const SensorAnnex* record = table != nullptr ? table->Find(sensorID) : nullptr;
    return record != nullptr ? record->name.Text() : "";
}

// Columns the sensor's name is padded to in the sensor list.
constexpr int SENSOR_NAME_COLUMNS = 32;

bool IsDamagedState(uint32_t state)
{
    return state == Sensor::STATE_DAMAGED || state == Sensor::STATE_DESTROYED;
}

}  // namespace

int32_t Unit::GetFuelCapacity(uint32_t fuel) const
{
    int64_t total = 0;
    for (const FuelTank* tank = fuelTanks.First(); tank != nullptr; tank = tank->GetNext()) {
        if (tank->GetFuelType() == fuel)
            total += tank->GetCapacity();
    }
    return static_cast<int32_t>(std::min<int64_t>(total, INT32_MAX));
}

int32_t Unit::GetFuelRoom(uint32_t fuel) const
{
    int64_t room = 0;
    bool busy = false;
    for (const FuelTank* tank = fuelTanks.First(); tank != nullptr; tank = tank->GetNext()) {
        if (tank->GetFuelType() != fuel)
            continue;
        room += int64_t{tank->GetCapacity()} - tank->GetCount();
        busy = busy || tank->GetPartial() != 0;
    }
    if (busy)
        room -= 1;
    return static_cast<int32_t>(std::clamp<int64_t>(room, INT32_MIN, INT32_MAX));
}

uint32_t Unit::DrainFuel(uint32_t amount, uint32_t fuel)
{
    uint32_t taken = 0;
    for (FuelTank* tank = fuelTanks.First(); tank != nullptr && taken < amount; tank = tank->GetNext()) {
        if (tank->GetFuelType() != fuel)
            continue;
        const uint32_t given = std::min(amount - taken, tank->GetCount());
        tank->SetCount(tank->GetCount() - given);
        taken += given;
    }
    return taken;
}

// A tank that holds a partial amount (a count being drawn) never takes its
// last count back.
int32_t Unit::AddFuel(uint32_t amount, uint32_t fuel)
{
    uint32_t added = 0;
    for (FuelTank* tank = fuelTanks.First(); tank != nullptr && added < amount; tank = tank->GetNext()) {
        if (tank->GetFuelType() != fuel)
            continue;
        int64_t room = int64_t{tank->GetCapacity()} - tank->GetCount();
        if (tank->GetPartial() != 0)
            room -= 1;
        if (room <= 0)
            continue;
        const uint32_t put = static_cast<uint32_t>(std::min<int64_t>(amount - added, room));
        tank->SetCount(tank->GetCount() + put);
        added += put;
    }
    return static_cast<int32_t>(std::min<uint32_t>(added, INT32_MAX));
}

int32_t Unit::GetSpareFuel(uint32_t fuel) const
{
    int64_t spare = int64_t{GetFuelCapacity(fuel)} - GetFuelRoom(fuel) - GetFuelReserve();
    const FuelTank* const main = TankAt(mainTank);
    if (main != nullptr && main->GetFuelType() == fuel)
        spare -= GetTaskFuel();
    return static_cast<int32_t>(std::clamp<int64_t>(spare, INT32_MIN, INT32_MAX));
}

// The run takes range (whole nautical miles) x 3600 / knots seconds, worked
// in 64 bits: a Q23 quotient of range over speed would not hold 256 hours or
// more. The unit's speed is set to `knots` for the question (so that the
// endurance reflects it) and put back after; an endurance of -1 (nuclear)
// compares as the largest unsigned value.
bool Unit::CanReachAtSpeed(const LatLonPoint& point, uint16_t knots)
{
    if (knots == 0)
        return false;
    const NavVector leg = NavMath::Get_Vector(GetPosition(), point);
    const uint64_t range = static_cast<uint64_t>(std::max(leg.range, 0)) / RANGE_PER_NM;
    const uint16_t former = speed;
    SetSpeed(knots, PositionObject::GetAltitude());
    const uint64_t seconds = range * 3600 / knots;
    const uint64_t endurance = static_cast<uint32_t>(GetEndurance());
    SetSpeed(former, PositionObject::GetAltitude());
    return seconds <= endurance;
}

bool Unit::CanReachPoint(const LatLonPoint& point, uint16_t knots, int32_t /*b*/)
{
    const LatLonPoint copy = point;
    return CanReachAtSpeed(copy, knots);
}

// A weapon's 32-bit rating, by which the best weapon is chosen, is its
// maximum range.
void Unit::GetAttackAltitudes(uint32_t mask, int16_t& low, int16_t& high) const
{
    GetAltitudeEnvelope(PlantSetting::CRUISE, low, high);
    const AnnexTable<WeaponAnnex>* table = Annex::Tables().Weapons();
    if (table == nullptr)
        return;
    const WeaponAnnex* best = nullptr;
    for (const Mount* mount = mounts.First(); mount != nullptr; mount = mount->GetNext()) {
        for (const WeaponRec* rec = mount->weapons.First(); rec != nullptr; rec = rec->GetNext()) {
            if (rec->shotsLeft == 0)
                continue;
            const WeaponAnnex* const weapon = table->Find(rec->weaponID);
            if (weapon == nullptr || weapon->GetWeaponKind() == KIND_WITHOUT_RELEASE_ALTITUDES
                || (weapon->GetTargetMask() & mask) == 0)
                continue;
            if (best == nullptr || weapon->maxRange > best->maxRange)
                best = weapon;
        }
    }
    if (best == nullptr)
        return;
    low = std::max(low, best->minLaunchAltitude);
    high = std::min(high, best->maxLaunchAltitude);
}

void Unit::TryMoveTo(const LatLonPoint& point)
{
    if (!Nav2Game::LegValidForUnit(GetID(), GetPosition(), point))
        return;
    SetPosition(point);
    UpdateXY();
    if (GetPath() != nullptr)
        Game2UI::SetUnitPath(GetID(), GetPath());
}

void Unit::UpdateAction7Flag()
{
    ClearFlags(UnitFlag::FLOODING);
    for (Event* event = gam2arena::FindUnitEvent(GetID(), nullptr, EventCode::MULTI_ACTION); event != nullptr;
         event = gam2arena::FindUnitEvent(GetID(), event, EventCode::MULTI_ACTION)) {
        if (GetMultiAction(*event) == FLOODING_ACTION) {
            SetFlags(UnitFlag::FLOODING);
            return;
        }
    }
}

void Unit::UpdateSensorDamageFlag()
{
    ClearFlags(UnitFlag::SENSOR_DAMAGE);
    for (const Sensor* sensor = sensors.First(); sensor != nullptr; sensor = sensor->GetNext()) {
        if (IsDamagedState(sensor->GetState())) {
            SetFlags(UnitFlag::SENSOR_DAMAGE);
            return;
        }
    }
}

void Unit::UpdateMountDamageFlag()
{
    ClearFlags(UnitFlag::MOUNT_DAMAGE);
    for (const Mount* mount = mounts.First(); mount != nullptr; mount = mount->GetNext()) {
        if (IsDamagedState(mount->GetState())) {
            SetFlags(UnitFlag::MOUNT_DAMAGE);
            return;
        }
    }
}

void Unit::ListWeapons(Chain<WeaponListEntry>& list) const
{
    for (const Mount* mount = mounts.First(); mount != nullptr; mount = mount->GetNext()) {
        for (const WeaponRec* rec = mount->weapons.First(); rec != nullptr; rec = rec->GetNext()) {
            auto* const entry = new WeaponListEntry;
            entry->unitID = GetID();
            entry->mountKey = mount->GetKey();
            entry->weaponID = rec->weaponID;
            entry->rounds = rec->shotsLeft;
            entry->fifthValue = rec->thirdValue;
            list.Append(entry);
        }
    }
}

void Unit::CollectWeaponEntries(StockChain& chain, bool /*own*/)
{
    for (const Mount* magazine = magazines.First(); magazine != nullptr; magazine = magazine->GetNext()) {
        for (const WeaponRec* rec = magazine->weapons.First(); rec != nullptr; rec = rec->GetNext())
            chain.Append(new StockEntry(GetID(), magazine->GetKey(), rec->weaponID, rec->shotsLeft, rec->secondValue));
    }
}

// The callers write the text into a 32-character status line: the text is
// cut at size - 1 characters, never past out's end.
void Unit::GetConditionText(char* out, int32_t size) const
{
    if (out == nullptr || size <= 0)
        return;
    out[0] = '\0';
    int32_t used = 0;
    bool first = true;
    for (const ConditionText& condition : CONDITIONS) {
        if (!TestFlags(condition.bits))
            continue;
        if (!first)
            AppendText(out, size, used, CONDITION_SEPARATOR_TEXT);
        AppendText(out, size, used, condition.text);
        first = false;
    }
}

void Unit::GetWeaponsListText(char* out, int32_t size) const
{
    if (out == nullptr || size <= 0)
        return;
    out[0] = '\0';
    const uint16_t lineSize = static_cast<uint16_t>(std::min<int32_t>(size, 0xFFFF));
    std::string lines;
    std::string scratch(lineSize, '\0');
    const auto appendStatus = [&](const Mount& mount) {
        GetMountStatusText(mount, scratch.data(), lineSize);
        lines += scratch.c_str();
    };
    for (const Mount* mount = mounts.First(); mount != nullptr; mount = mount->GetNext())
        appendStatus(*mount);
    if (magazines.First() != nullptr) {
        if (const char* heading = TheResourceLoader != nullptr ? TheResourceLoader->Get(MAGAZINES_TEXT) : nullptr) {
            lines += heading;
            TheResourceLoader->Free(MAGAZINES_TEXT);
        }
        lines += '\n';
        for (const Mount* magazine = magazines.First(); magazine != nullptr; magazine = magazine->GetNext())
            appendStatus(*magazine);
    }
    const size_t length = std::min(lines.size(), static_cast<size_t>(size - 1));
    std::memcpy(out, lines.data(), length);
    out[length] = '\0';
}

int32_t Unit::GetDamageLevel() const
{
    const uint8_t percent = static_cast<uint8_t>(GetDamagePercent());
    if (percent >= 90)
        return 4;
    if (percent >= 75)
        return 3;
    if (percent >= 50)
        return 2;
    if (percent >= 25)
        return 1;
    return 0;
}

uint16_t Unit::GetSonarRingSpacing() const
{
    const UnitDetectionCalls& calls = GetUnitDetectionCalls();
    return calls.getSonarRingSpacing != nullptr ? calls.getSonarRingSpacing() : 0;
}

uint16_t Unit::GetSonarRingCount() const
{
    uint16_t largest = 0;
    for (const Sensor* sensor = sensors.First(); sensor != nullptr; sensor = sensor->GetNext()) {
        if (sensor->GetSensorType() == Sensor::TYPE_PASSIVE_SONAR)
            largest = std::max(largest, sensor->GetRingCount());
    }
    return largest;
}

bool Unit::IsTargeted(uint16_t unitID) const
{
    return targetingRecords.Find(unitID) != nullptr || weaponTallies.Find(unitID) != nullptr;
}

bool Unit::HasContacts() const
{
    return targetingRecords.First() != nullptr || weaponTallies.First() != nullptr;
}

void Unit::GetSensorListText(char* out, int32_t size) const
{
    if (out == nullptr || size <= 0)
        return;
    std::ostringstream text;
    for (const Sensor* sensor = sensors.First(); sensor != nullptr; sensor = sensor->GetNext()) {
        text << std::left << std::setw(SENSOR_NAME_COLUMNS) << SensorRecordName(sensor->GetSensorID());
        const int32_t number = SensorStateText(sensor->GetState());
        if (const char* state = TheResourceLoader != nullptr ? TheResourceLoader->Get(number) : nullptr) {
            text << state;
            TheResourceLoader->Free(number);
        }
        text << '\n';
    }
    const std::string lines = text.str();
    const size_t length = std::min(lines.size(), static_cast<size_t>(size - 1));
    std::memcpy(out, lines.data(), length);
    out[length] = '\0';
}

void Unit::AddRecordCounts(Contact& contact) const
{
    const uint16_t key = SideRecord::GetContactKey(contact);
    uint32_t count = 0;
    uint32_t damage = 0;
    if (const AttackOptionSet* const set = targetingRecords.Find(key)) {
        int32_t weighted = 0;
        int32_t options = 0;
        set->SumAttackOptions(weighted, options);
        count += static_cast<uint32_t>(options);
        damage += static_cast<uint32_t>(weighted);
    }
    if (const TargetTally* const tally = weaponTallies.Find(key)) {
        uint32_t tallyDamage = 0;
        uint32_t tallyCount = 0;
        tally->GetTotals(tallyDamage, tallyCount);
        count += tallyCount;
        damage += tallyDamage;
    }
    SideRecord::AddContactThreat(contact, static_cast<uint16_t>(count), static_cast<uint16_t>(damage));
}

void Unit::AddTargetingRecord(TimedRecord* record)
{
    if (record == nullptr)
        return;
    AttackOptionSet* set = targetingRecords.Find(record->idD);
    if (set == nullptr) {
        set = new AttackOptionSet(record->idD);
        AllocationCheck(set);
        targetingRecords.Insert(set);
    }
    set->Options().Append(record);
}

void Unit::RemoveTargetingRecord(TimedRecord* record)
{
    if (record == nullptr)
        return;
    AttackOptionSet* const set = targetingRecords.Find(record->idD);
    if (set == nullptr)
        return;
    bool held = false;
    for (const TimedRecord* r = set->Options().First(); r != nullptr && !held; r = r->GetNext())
        held = r == record;
    if (!held)
        return;
    set->Options().Remove(record);
    if (set->Options().First() == nullptr) {
        targetingRecords.Remove(set);
        delete set;
    }
}

void Unit::AddWeaponInFlight(const Unit& weapon, uint16_t targetID)
{
    TargetTally* tally = weaponTallies.Find(targetID);
    if (tally == nullptr) {
        tally = new TargetTally(targetID);
        AllocationCheck(tally);
        weaponTallies.Insert(tally);
    }
    tally->AddWeapon(weapon);
    if (SideContacts* const side = gam2arena::FindSide(sideEntryID))
        SideRecord::EvaluateContact(*side, targetID);
}

void Unit::RemoveWeaponInFlight(const Unit& weapon, uint16_t targetID)
{
    TargetTally* const tally = weaponTallies.Find(targetID);
    if (tally == nullptr)
        return;
    tally->RemoveWeapon(weapon);
    if (tally->IsEmpty()) {
        weaponTallies.Remove(tally);
        delete tally;
    }
    if (SideContacts* const side = gam2arena::FindSide(sideEntryID))
        SideRecord::EvaluateContact(*side, targetID);
}
