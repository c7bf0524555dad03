// Mount.cpp: a mount built from its record, its owner link, its saved form,
// and the hand-over of its operations to the engagement model.
#include "units/Mount.h"

#include <istream>
#include <ostream>

#include "annex/AnnexTables.h"
#include "core/StreamFields.h"
#include "units/SensorFactory.h"
#include "units/UnitComponents.h"

namespace {
Mount::Operations gOperations;
}  // namespace

Mount::Operations Mount::SetOperations(const Operations& operations)
{
    const Operations previous = gOperations;
    gOperations = operations;
    return previous;
}

Mount::Mount(uint16_t mountID, MovingObject* newOwner, uint32_t sectors) : owner(newOwner)
{
    const AnnexTable<MountAnnex>* table =
        newOwner != nullptr ? Annex::Tables().Mounts() : Annex::Tables().Magazines();
    const MountAnnex* record = table != nullptr ? table->Find(mountID) : nullptr;
    if (record == nullptr)
        return;
    const uint16_t loaded = BuildWeaponRecList(weapons, record->weaponRecIDs);
    fireInterval = static_cast<int8_t>(record->rateOfFire);
    arcMask = static_cast<uint16_t>(sectors);
    BuildMountSensorList(sensors, record->sensorIDs, newOwner, arcMask);
    capacity = record->capacity;
    // More rounds loaded than the mount holds leaves no room, not the
    // 16-bit wrap of the difference (some 65,000 rounds).
    emptySpace = loaded < capacity ? static_cast<uint16_t>(capacity - loaded) : uint16_t{0};
    mountAnnexID = mountID;
    capabilities = record->mountFlags;
}

void Mount::SetOwner(MovingObject* newOwner)
{
    owner = newOwner;
    for (Sensor* sensor = sensors.First(); sensor != nullptr; sensor = sensor->GetNext())
        sensor->SetOwner(newOwner);
}

void Mount::SetState(int32_t order)
{
    if (state == STATE_DESTROYED)
        return;
    if (state == STATE_DAMAGED) {
        if (order == ORDER_REPAIR)
            state = STATE_READY;
        return;
    }
    if (order == static_cast<int32_t>(STATE_BUSY) || order == static_cast<int32_t>(STATE_DAMAGED)
        || order == static_cast<int32_t>(STATE_DESTROYED))
        state = static_cast<uint32_t>(order);
    else
        state = STATE_READY;
}

void Mount::Reload(uint8_t seconds)
{
    if (gOperations.reload != nullptr)
        gOperations.reload(*this, seconds);
}

bool Mount::RoundCountersEqual() const
{
    return gOperations.roundCountersEqual != nullptr && gOperations.roundCountersEqual(*this);
}

bool Mount::TransferFromMagazines(MountList& magazines, uint32_t value)
{
    return gOperations.transferFromMagazines != nullptr
           && gOperations.transferFromMagazines(*this, magazines, value);
}

uint16_t Mount::GetLongestReach(uint32_t targetMask) const
{
    return gOperations.getLongestReach != nullptr ? gOperations.getLongestReach(*this, targetMask) : 0;
}

uint16_t Mount::GetShortestReach(uint32_t targetMask) const
{
    return gOperations.getShortestReach != nullptr ? gOperations.getShortestReach(*this, targetMask) : 0;
}

int32_t Mount::SumWeaponRatings(uint32_t targetMask, uint8_t flag) const
{
    return gOperations.sumWeaponRatings != nullptr ? gOperations.sumWeaponRatings(*this, targetMask, flag)
                                                   : 0;
}

bool Mount::FireWeapon(uint32_t targetValue, const NavVector& toTarget, TimedRecord& record,
                       int32_t targetCourse, uint16_t targetSpeed)
{
    return gOperations.fireWeapon != nullptr
           && gOperations.fireWeapon(*this, targetValue, toTarget, record, targetCourse, targetSpeed);
}

bool Mount::Launch(TimedRecord& record)
{
    return gOperations.launch == nullptr || gOperations.launch(*this, record);
}

void Mount::QueryEngagements(const EngagementQuery& query, const LatLonPoint& targetPosition)
{
    if (gOperations.queryEngagements != nullptr)
        gOperations.queryEngagements(*this, query, targetPosition);
}

uint8_t Mount::PointDefenseShot(TimedRecord& record, uint8_t count, uint16_t sectorMask, std::ostream* log)
{
    return gOperations.pointDefenseShot != nullptr
               ? gOperations.pointDefenseShot(*this, record, count, sectorMask, log)
               : uint8_t{0};
}

bool Mount::FindGuidance(uint16_t targetID, const WeaponAnnex& weapon, uint8_t mode, uint16_t& outMountID,
                         uint16_t& outSensorID, uint8_t sensorValue, uint8_t shortTime)
{
    return gOperations.findGuidance != nullptr
           && gOperations.findGuidance(*this, targetID, weapon, mode, outMountID, outSensorID, sensorValue,
                                       shortTime);
}

uint8_t Mount::LaunchAtPosition(const LatLonPoint& target, WeaponRec& weapon, uint8_t wanted, int32_t sensorMode,
                                int32_t setting)
{
    return gOperations.launchAtPosition != nullptr
               ? gOperations.launchAtPosition(*this, target, weapon, wanted, sensorMode, setting)
               : uint8_t{0};
}

uint8_t Mount::LaunchAtUnit(TimedRecord& record, WeaponRec& weapon)
{
    return gOperations.launchAtUnit != nullptr ? gOperations.launchAtUnit(*this, record, weapon) : uint8_t{0};
}

void Mount::Save(std::ostream& out) const
{
    SaveKey(out);
    SaveField(out, state);
    SaveField(out, mountCode);
    weapons.Save(out);
    SaveField(out, fireInterval);
    SaveField(out, countdown);
    SaveField(out, roundsReady);
    SaveSensorList(sensors, out);
    SaveField(out, mountAnnexID);
    SaveField(out, arcMask);
    SaveField(out, capacity);
    SaveField(out, emptySpace);
    SaveField(out, transferBlock);
    SaveField(out, inTransfer);
    SaveField(out, capabilities);
}

bool Mount::Load(std::istream& in)
{
    LoadKey(in);
    LoadField(in, state);
    LoadField(in, mountCode);
    if (!in || !weapons.Load(in))
        return false;
    LoadField(in, fireInterval);
    LoadField(in, countdown);
    LoadField(in, roundsReady);
    if (!in || !LoadSensorList(sensors, in, owner, "Mount::Load"))
        return false;
    LoadField(in, mountAnnexID);
    LoadField(in, arcMask);
    LoadField(in, capacity);
    LoadField(in, emptySpace);
    LoadField(in, transferBlock);
    LoadField(in, inTransfer);
    LoadField(in, capabilities);
    return static_cast<bool>(in);
}
