// Unit.cpp: a unit's construction and teardown, its side, label and horizon,
// its base answers, and the unit's part of the unit record.
#include "units/Unit.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <istream>
#include <ostream>

#include "core/StreamFields.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "units/SideRecords.h"
#include "units/UnitEvents.h"
#include "world/Game2UI2.h"
#include "world/gam2anim.h"

namespace {

// The label before the first rebuild.
constexpr char BLANK_LABEL[] = "     ";

// Horizon: the square root of this times the altitude (tens of metres).
constexpr int32_t HORIZON_FACTOR = 170;

// Sensor types that never emit.
bool IsSilentType(uint8_t type)
{
    return type == Sensor::TYPE_VISUAL || type == Sensor::TYPE_INFRARED || type == Sensor::TYPE_ESM
           || type == Sensor::TYPE_MAD || type == Sensor::TYPE_LASER;
}

}  // namespace

Unit::Unit()
{
    name.Set("");
    std::memcpy(label, BLANK_LABEL, sizeof BLANK_LABEL);
    EnableDataLink();
}

Unit::~Unit()
{
    LeaveDataLink();
    if (sideEntryID != 0) {
        if (SideContacts* const record = gam2arena::FindSide(sideEntryID))
            SideRecord::RemoveUnit(*record, *this);
    }
}

uint32_t Unit::GetPlatformKey() const
{
    return (uint32_t{static_cast<uint8_t>(GetTypeLetter())} << 16) | annexID;
}

void Unit::SetSide(SideContacts& record, uint16_t attachedUnitID)
{
    SideContacts* const old = sideEntryID != 0 ? gam2arena::FindSide(sideEntryID) : nullptr;
    if (old != nullptr && old == gam2arena::GetCurrentSide() && Game2UI2::GetCurrentSideID() == GetSideID()
        && gam2side::IsFocusUnit(GetID()))
        gam2arena::SetCurrentSide(&record);
    sideEntryID = SideRecord::GetKey(record);
    attachedID = attachedUnitID;
    if (old != nullptr)
        SideRecord::RemoveUnit(*old, *this);
    SideRecord::AddUnit(record, *this);
}

int32_t Unit::ApplyDamage(int32_t amount, uint32_t kind, uint32_t /*mask*/)
{
    return TakeDamage(amount, kind);
}

int32_t Unit::TakeDamage(int32_t /*amount*/, uint32_t /*kind*/)
{
    return 0;
}

void Unit::ApplyCriticalHit(int32_t /*amount*/, uint32_t /*kind*/)
{
}

int16_t Unit::GetRadarSignature(int) const { return 0; }
int16_t Unit::GetFirstSonarSignature(int) const { return 0; }
int16_t Unit::GetSecondSonarSignature(int) const { return 0; }
int16_t Unit::GetVisualSignature(int) const { return 0; }
int16_t Unit::GetInfraredSignature(int) const { return 0; }

// The label, four parts each ended by a zero byte:
//   1. the class name's first letter (a blank without one), the unit id
//      modulo 1000 in three digits, a blank;
//   2. the course in whole degrees (0 to 359) in three digits, a blank;
//   3. the speed in knots, filled with blanks to four columns, a blank;
//   4. four blanks.
void Unit::UpdateLabel()
{
    const char letter = className.Text()[0] != '\0' ? className.Text()[0] : ' ';
    const int64_t folded = ((int64_t{course} % ANGLE_FULL) + ANGLE_FULL) % ANGLE_FULL;
    const unsigned degrees = static_cast<unsigned>(folded / ANGLE_PER_DEGREE);
    char* part = label;
    const char* const end = label + sizeof label;
    part += std::snprintf(part, static_cast<size_t>(end - part), "%c%03u ", letter, GetID() % 1000u) + 1;
    part += std::snprintf(part, static_cast<size_t>(end - part), "%03u ", degrees) + 1;
    part += std::snprintf(part, static_cast<size_t>(end - part), "%-4u ", unsigned{speed}) + 1;
    std::snprintf(part, static_cast<size_t>(end - part), "    ");
}

void Unit::SetNameLabel()
{
    char parts[LABEL_SIZE] = {};
    char name[5] = "    ";
    const char* const text = GetName().Text();
    for (int i = 0; i < 4 && text[i] != '\0'; ++i)
        name[i] = text[i];
    char* part = parts;
    part += std::snprintf(part, 6, "%s ", name) + 1;
    for (int i = 0; i < 3; ++i)
        part += std::snprintf(part, 6, "     ") + 1;
    SetLabel(parts);
}

int32_t Unit::GetSensorTypeState(uint8_t sensorType) const
{
    for (Event* event = gam2arena::FindUnitEvent(GetID(), nullptr, EventCode::SET_SENSORS); event != nullptr;
         event = gam2arena::FindUnitEvent(GetID(), event, EventCode::SET_SENSORS)) {
        if (SwitchesSensorType(*event, *this, sensorType))
            return 1;
    }
    for (const Sensor* sensor = sensors.First(); sensor != nullptr; sensor = sensor->GetNext()) {
        if (sensor->GetSensorType() == sensorType && sensor->GetState() == Sensor::STATE_ACTIVE)
            return 2;
    }
    return 0;
}

void Unit::GetStatus(UnitStatus& status) const
{
    status.lineCount = 0;
}

bool Unit::HasActiveEmitter() const
{
    for (const Sensor* sensor = sensors.First(); sensor != nullptr; sensor = sensor->GetNext()) {
        if (!IsSilentType(sensor->GetSensorType()) && sensor->GetState() == Sensor::STATE_ACTIVE)
            return true;
    }
    return false;
}

uint16_t Unit::HorizonOf(int16_t altitude)
{
    if (altitude <= 0)
        return 0;
    const uint32_t product = uint32_t{HORIZON_FACTOR} * static_cast<uint32_t>(altitude);
    uint32_t root = static_cast<uint32_t>(std::sqrt(static_cast<double>(product)));
    while (root * root > product)
        --root;
    while ((root + 1) * (root + 1) <= product)
        ++root;
    // Round half up: above root + 0.5 exactly when product > root^2 + root.
    if (product - root * root > root)
        ++root;
    return static_cast<uint16_t>(root);
}

void Unit::UpdateSensorReach()
{
    horizon = HorizonOf(GetAltitude());
    MovingObject::UpdateSensorReach();
}

uint16_t Unit::SetSpeed(uint16_t wanted, int16_t altitude)
{
    const uint16_t delivered = MovingObject::SetSpeed(wanted, altitude);
    UpdateLabel();
    return delivered;
}

uint16_t Unit::GetBestLinkRange(bool all) const
{
    uint16_t best = 0;
    for (const DatalinkRecord* record = datalinks.First(); record != nullptr; record = record->GetNext()) {
        if (record->channelKind == DatalinkRecord::KIND_NO_REACH)
            continue;
        if (!all && (record->channelFlags & DatalinkRecord::FLAG_NEEDS_LINK_FLAG) != 0)
            continue;
        if (record->linkRange > best)
            best = record->linkRange;
    }
    return best;
}

void Unit::RefreshLinkReach()
{
    linkReach1 = GetBestLinkRange(true);
    linkReach0 = GetBestLinkRange(false);
}

void Unit::FetchWeather()
{
    gam2anim::GetWeatherAt(weather, GetPosition());
}

void Unit::SaveUnitRecord(std::ostream& out) const
{
    SaveKey(out);
    SaveField(out, noiseValue);
    SaveField(out, rearNoiseValue);
    jammingEntries.Save(out);
    SaveField(out, annexID);
    className.Save(out);
    SaveField(out, field6);
    SaveField(out, sideEntryID);
    SaveField(out, statusFlags);
    SaveField(out, field7);
    name.Save(out);
    SaveField(out, horizon);
    targetingRecords.Save(out);
    weaponTallies.Save(out);
    SaveField(out, field8);
    SaveField(out, field1);
    SaveField(out, field2);
    SaveField(out, field3);
    MovingObject::Save(out);
}

bool Unit::LoadUnitRecord(std::istream& in)
{
    LoadKey(in);
    LoadField(in, noiseValue);
    LoadField(in, rearNoiseValue);
    if (!in || !jammingEntries.Load(in))
        return false;
    LoadField(in, annexID);
    className.Load(in);
    LoadField(in, field6);
    LoadField(in, sideEntryID);
    LoadField(in, statusFlags);
    LoadField(in, field7);
    name.Load(in);
    LoadField(in, horizon);
    if (!in || !targetingRecords.Load(in) || !weaponTallies.Load(in))
        return false;
    LoadField(in, field8);
    LoadField(in, field1);
    LoadField(in, field2);
    LoadField(in, field3);
    if (!in || !MovingObject::Load(in))
        return false;
    FetchWeather();
    RefreshLinkReach();
    UpdateLabel();
    return true;
}

void Unit::PutBandNameInLabel()
{
    char* part = label;
    char* const end = label + LABEL_SIZE;
    for (int skip = 0; skip < 3 && part < end; ++skip)
        part += std::strlen(part) + 1;
    if (part >= end)
        return;
    char band[LABEL_SIZE] = {};
    GetAltitudeBandName(band);
    std::snprintf(part, static_cast<size_t>(end - part), "%s", band);
}
