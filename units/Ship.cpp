// Ship.cpp: the ship's set-up, damage intake and effects, air facilities and
// aircraft room, evasion, signatures, status lines and saved record.
#include "units/Ship.h"

#include <algorithm>
#include <cstdio>
#include <istream>
#include <ostream>

#include "annex/AirFacilityAnnex.h"
#include "annex/AnnexTables.h"
#include "annex/DBEnum.h"
#include "annex/ShipAnnex.h"
#include "core/NavMath.h"
#include "core/ErrorReport.h"
#include "core/StreamFields.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "units/DatalinkRecord.h"
#include "units/PlaneBridge.h"
#include "units/PlaneRecBridge.h"
#include "units/SensorFactory.h"
#include "units/SideRecords.h"
#include "units/StationBridge.h"
#include "units/Status.h"
#include "units/UnitBridge.h"
#include "units/UnitComponents.h"
#include "units/UnitEvents.h"
#include "units/UnitFactory.h"

namespace {

constexpr int32_t TEXT_SUNK = 0x7B0223;
constexpr uint16_t CLASS_LOSS = 0x10;
// The victory code of aircraft lost with their ship (the plane's letter).
constexpr uint8_t AIRCRAFT_LOST_CODE = 'P';

// Damage-effect codes by draw(10): for a hit of kind 16, and by class code
// 1, 3 and any other.
constexpr uint8_t EFFECTS_KIND_16[10] = {1, 7, 7, 7, 7, 6, 12, 12, 20, 14};
constexpr uint8_t EFFECTS_CLASS_1[10] = {1, 1, 1, 5, 5, 7, 8, 12, 13, 14};
constexpr uint8_t EFFECTS_CLASS_3[10] = {1, 16, 17, 17, 5, 7, 8, 12, 13, 14};
constexpr uint8_t EFFECTS_OTHER[10] = {1, 18, 18, 7, 7, 8, 8, 12, 13, 14};

// Damage points at which a hull counts as medium and as large, for its
// sensor height and size class.
constexpr int16_t MEDIUM_HULL = 50;
constexpr int16_t LARGE_HULL = 450;
constexpr int32_t HEIGHT_DIVISOR_LARGE = 500;
constexpr int32_t HEIGHT_DIVISOR_MEDIUM = 400;
constexpr int32_t HEIGHT_DIVISOR_SMALL = 300;

// The evasion point lies this far off.
constexpr int32_t EVASION_RANGE = 5 * RANGE_PER_NM;   // 20480

int32_t WrapBearing(int64_t bearing)
{
    int64_t wrapped = bearing % ANGLE_FULL;
    if (wrapped < 0)
        wrapped += ANGLE_FULL;
    return static_cast<int32_t>(wrapped);
}

bool IsRunwayOrPad(uint32_t type)
{
    return type >= AIR_FACILITY_RUNWAY && type <= AIR_FACILITY_PAD_HAULDOWN;
}

bool IsHangarOrParking(uint32_t type)
{
    return type == AIR_FACILITY_HANGAR || type == AIR_FACILITY_PARKING;
}

bool IsAnyFacility(uint32_t)
{
    return true;
}

bool IsCatapultOrElevator(uint32_t type)
{
    return type == AIR_FACILITY_CATAPULT || type == AIR_FACILITY_ELEVATOR;
}

Unit* MakeShip()
{
    return new Ship;
}

}  // namespace

const ShipAnnex* Ship::FindRecord() const
{
    const AnnexTable<ShipAnnex>* const table = Annex::Tables().Ships();
    return table != nullptr ? table->Find(GetAnnexID()) : nullptr;
}

uint16_t Ship::SensorHeightOf(uint16_t length, int16_t fullPoints)
{
    int32_t divisor = HEIGHT_DIVISOR_SMALL;
    if (fullPoints >= LARGE_HULL)
        divisor = HEIGHT_DIVISOR_LARGE;
    else if (fullPoints >= MEDIUM_HULL)
        divisor = HEIGHT_DIVISOR_MEDIUM;
    const int32_t height = length / divisor;
    return static_cast<uint16_t>(height == 0 ? 1 : height);
}

Ship::Ship(uint16_t shipAnnexID)
{
    BuildFromAnnex(shipAnnexID);
}

void Ship::BuildFromAnnex(uint16_t id)
{
    const AnnexTable<ShipAnnex>* const table = Annex::Tables().Ships();
    const ShipAnnex* const record = table != nullptr ? table->Find(id) : nullptr;
    if (record == nullptr)
        return;
    classCode = record->shipCode;
    airFacilities.DeleteAll();
    aircraftRoom = aircraftRoomCap = BuildAirFacilityList(airFacilities, record->airFacilityIDs);
    SetAnnexID(id);
    damageClass[0] = record->vesselCode1;
    damageClass[1] = record->vesselCode2;
    damageClass[2] = record->vesselCode3;
    SetDamagePoints(static_cast<int16_t>(record->damagePoints));
    speedLossLevel = 0;
    CopyTriple(sonarTriples[0], record->vesselTriple1);
    CopyTriple(sonarTriples[1], record->vesselTriple2);
    UnitFromAnnex::TakeNames(*this, record->className, record->typeCode.Text());
    BuildEquipment(*record);
    UnitFromAnnex::CopyTriples(*this, record->triple1, record->triple2, record->triple3);
    sensorHeight = SensorHeightOf(record->length, maxDamagePoints);
    SetHorizon(HorizonOf(static_cast<int16_t>(sensorHeight)));
}

int32_t Ship::TakeDamage(int32_t amount, uint32_t kind)
{
    if (damagePoints <= 0)
        return 0;
    const auto hit = static_cast<uint16_t>(std::clamp<int32_t>(amount, 0, UINT16_MAX));
    int32_t effective = DBEnum::Scale_By_Class(hit, static_cast<uint16_t>(kind), damageClass[0]);
    int32_t hits = 0;
    if (kind == KIND_EFFECTS_ONLY) {
        hits = gam2arena::Random(6) + gam2arena::Random(6) + effective / 10;
        hits = std::max(hits, 1);
        effective = 0;
    } else {
        hits = effective * 10 / damagePoints + gam2arena::Random(6) - 4;
        hits = std::max(hits, 0);
    }
    int32_t result = 0;
    if (effective != 0) {
        if (effective < damagePoints) {
            const int32_t levelBefore = GetDamageLevel();
            damagePoints = static_cast<int16_t>(damagePoints - effective);
            RaiseSpeedLossSince(levelBefore);
        } else {
            if (gam2side::IsFocusUnit(GetID()))
                gam2side::ClearFocus(GetID());
            char words[UnitStatus::LINE_SIZE * 4] = {};
            CopyResourceText(TEXT_SUNK, words, static_cast<int32_t>(sizeof words));
            char message[256] = {};
            std::snprintf(message, sizeof message, "%s%s", GetName().Text(), words);
            ui2game::PostGameMessage(GetSideID(), sideEntryID, message, CLASS_LOSS, TYPE_LETTER);
            damagePoints = 0;
            result = effective >= maxDamagePoints ? 1 : 10 * (gam2arena::Random(6) + gam2arena::Random(6) + 2);
        }
    }
    if (damagePoints == 0) {
        SetFlags(DESTROYED);
    } else {
        for (int32_t i = 0; i < hits; ++i)
            ApplyCriticalHit(amount, kind);
    }
    unit2gam::CheckVictoryConditions(GetID());
    return result;
}

void Ship::ApplyCriticalHit(int32_t amount, uint32_t kind)
{
    const uint16_t draw = gam2arena::Random(10);
    const auto hit = static_cast<uint16_t>(std::clamp<int32_t>(amount, 0, UINT16_MAX));
    const auto category = static_cast<uint16_t>(kind);
    uint8_t code = 0;
    bool carriesAmount = false;
    if (kind == KIND_OWN_TABLE) {
        code = EFFECTS_KIND_16[draw];
        if (!DBEnum::Chance_Check(hit, KIND_OWN_TABLE, damageClass[0]))
            code = 0;
    } else {
        code = classCode == 1 ? EFFECTS_CLASS_1[draw] : classCode == 3 ? EFFECTS_CLASS_3[draw] : EFFECTS_OTHER[draw];
        if (kind == KIND_EFFECTS_ONLY && (code == 7 || code == 12 || code == 14))
            code = 0;
        switch (code) {
        case 1:
        case 16:
        case 17:
            carriesAmount = true;
            break;
        case 5:
            if (!DBEnum::Chance_Check(hit, category, reserved32))
                code = 0;
            break;
        case 7:
        case 8:
        case 14:
        case 18:
            if (!DBEnum::Chance_Check(hit, category, damageClass[0]))
                code = 0;
            break;
        case 12:
            if (!DBEnum::Chance_Check(hit, category, damageClass[1]))
                code = 0;
            break;
        case 13:
            if (!DBEnum::Chance_Check(hit, category, damageClass[2]))
                code = 0;
            break;
        default:
            break;
        }
    }
    if (code != 0)
        PostOrDrop(MakeMultiActionEvent(GetID(), code, 0, carriesAmount ? hit : 0));
}

void Ship::RemoveFromPlay()
{
    if (gam2arena::SideExists(GetSideID())) {
        for (const PlaneRec* record = aircraft.First(); record != nullptr; record = record->GetNext())
            unit2gam::CheckVictoryConditions2(GetSideID(), record->planeAnnexID, AIRCRAFT_LOST_CODE, record->count);
    }
    airFacilities.DeleteAll();
    aircraft.DeleteAll();   // each record tells its mission it is gone
    Unit::RemoveFromPlay();
}

int16_t Ship::GetRadarSignature(int aspect) const
{
    return static_cast<int16_t>(aspectValues[2].Get(aspect));
}

int16_t Ship::GetVisualSignature(int aspect) const
{
    return static_cast<int16_t>(aspectValues[0].Get(aspect));
}

int16_t Ship::GetInfraredSignature(int aspect) const
{
    return static_cast<int16_t>(aspectValues[1].Get(aspect));
}

uint32_t Ship::GetMaxAircraftSize(bool a, bool b) const
{
    uint32_t largestA = 0;
    uint32_t largestB = 0;
    for (const AnnexEntry* entry = airFacilities.First(); entry != nullptr; entry = entry->GetNext()) {
        const uint32_t type = entry->GetTypeCode();
        if (IsRunwayOrPad(type))
            largestA = std::max(largestA, entry->long1);
        if (IsRunwayOrPad(type) || type == AIR_FACILITY_CATAPULT)
            largestB = std::max(largestB, entry->long1);
    }
    if (a && b)
        return std::min(largestA, largestB);
    if (a)
        return largestA;
    if (b)
        return largestB;
    return 0;
}

int32_t Ship::GetAircraftRoom(uint32_t flags) const
{
    uint32_t code = 0x80;
    int32_t unit = 8;
    switch (flags & 0x0F000000) {
    case 0x01000000:
        code = 0x10;
        unit = 2;
        break;
    case 0x02000000:
        code = 0x20;
        unit = 3;
        break;
    case 0x04000000:
        code = 0x40;
        unit = 4;
        break;
    default:
        break;
    }
    int32_t total = 0;
    for (const AnnexEntry* entry = airFacilities.First(); entry != nullptr; entry = entry->GetNext()) {
        if (entry->long1 >= code)
            total += entry->byte1 / unit * unit;
    }
    int32_t used = 0;
    for (const PlaneRec* record = aircraft.First(); record != nullptr; record = record->GetNext()) {
        if (record->sizeFactor >= unit)
            used += int32_t{record->count} * record->sizeFactor;
    }
    const int32_t free = std::clamp<int32_t>(total - used, 0, aircraftRoomCap);
    return free / unit;
}

uint8_t Ship::GetTargetClassByte(char letter) const
{
    const ShipAnnex* const record = FindRecord();
    if (record == nullptr)
        return 0;
    const int index = TargetClassIndex(letter);
    return index >= 0 ? record->bytes[index] : 0;
}

int32_t Ship::GetSpecialValue() const
{
    const ShipAnnex* const record = FindRecord();
    return record != nullptr ? record->bytes[4] : 0;
}

bool Ship::CanAttackType(char letter) const
{
    if (letter == 'P')
        return (capabilityMask & 0x80000000) != 0;
    if (letter == 'S' || letter == 'U')
        return (capabilityMask & 0x3f3) != 0;
    return false;
}

bool Ship::CanSupportType(char letter) const
{
    return letter == 'S' && (capabilityMask & 0xdc0c) != 0;
}

uint8_t Ship::GetSizeClass() const
{
    if (maxDamagePoints < 10)
        return 1;
    if (maxDamagePoints < MEDIUM_HULL)
        return 2;
    if (maxDamagePoints < 140)
        return 4;
    if (maxDamagePoints < LARGE_HULL)
        return 8;
    return 16;
}

void Ship::ClearFlagUnlessDamaged(uint32_t flag, bool (*matches)(uint32_t type))
{
    for (const AnnexEntry* entry = airFacilities.First(); entry != nullptr; entry = entry->GetNext()) {
        if (entry->GetSecondCode() >= AIR_STATE_DAMAGED && matches(entry->GetTypeCode()))
            return;
    }
    ClearFlags(flag);
}

void Ship::CheckMountFlagA()
{
    ClearFlagUnlessDamaged(UnitFlag::HANGAR_HIT, &IsHangarOrParking);
}

void Ship::CheckMountFlagB()
{
    ClearFlagUnlessDamaged(UnitFlag::FLIGHT_DECK_HIT, &IsAnyFacility);
}

void Ship::CheckMountFlagC()
{
    ClearFlagUnlessDamaged(UnitFlag::AIR_OPS_DAMAGE, &IsCatapultOrElevator);
}

bool Ship::EvadeThreat(Contact& threat)
{
    ContactAim aim;
    SideRecord::GetContactAim(threat, aim);
    if ((aim.bandWord & THREAT_TO_EVADE) == 0)
        return false;
    return EvadeAtRightAngles(*this, aim.position, 0);
}

bool EvadeAtRightAngles(Unit& unit, const LatLonPoint& threatPosition, uint16_t returnKnots)
{
    const uint16_t id = unit.GetID();
    const LatLonPoint here = unit.GetPosition();
    const int32_t bearing = NavMath::Get_Vector(here, threatPosition).bearing;
    const int32_t side = gam2arena::Random(2) == 0 ? -ANGLE_RIGHT : ANGLE_RIGHT;
    const uint16_t before = unit.speed;
    const int16_t altitude = unit.PositionObject::GetAltitude();
    uint16_t escape = unit.GetMaxSpeedAtAltitude(PlantSetting::FLANK, altitude);
    for (int16_t setting = PlantSetting::FLANK - 1; setting >= PlantSetting::IDLE && escape <= before; --setting)
        escape = std::max(escape, unit.GetMaxSpeedAtAltitude(setting, altitude));

    Chain<PositionNode> escapeRoute;   // deletes the points when done
    auto* const point =
        new PositionNode(NavMath::Get_LatLonPoint_From_Vector(here, EVASION_RANGE, WrapBearing(int64_t{bearing} + side)));
    const GameTime now(gam2arena::GetGameTime());
    point->AddEvent(MakeMissionUnitEvent(id, GameTime()));
    point->AddEvent(MakeSetSpeedEvent(id, returnKnots != 0 ? returnKnots : before, GameTime()));
    escapeRoute.Append(point);
    if (PositionNode* const rest = PositionNode::CopyChain(unit.GetPath()))
        escapeRoute.Append(rest);
    bool found = Game2UI::BuildNavPath(id, point);
    if (!found) {
        point->SetPosition(NavMath::Get_LatLonPoint_From_Vector(
            here, EVASION_RANGE, WrapBearing(int64_t{bearing} + side + ANGLE_HALF)));
        point->UpdateXY();
        found = Game2UI::BuildNavPath(id, point);
    }
    if (!found)
        return false;
    Game2UI::SetUnitPath(id, point);
    PostOrDrop(MakeSetSpeedEvent(id, escape, now));
    return true;
}

void Ship::GetStatus(UnitStatus& status) const
{
    char sizeName[UnitStatus::LINE_SIZE] = {};
    DBEnum::GetAircraftSizeName(GetMaxAircraftSize(true, false), sizeName);
    char count[UnitStatus::LINE_SIZE] = {};
    std::snprintf(count, sizeof count, "%u/%u", static_cast<unsigned>(CountFlaggedAircraft(aircraft)),
                  static_cast<unsigned>(CountAircraft(aircraft)));
    const char* const extra[] = {sizeName, count};
    FillVesselStatus(status, nullptr, nullptr, extra, 2);
}

void Ship::SaveFields(std::ostream& out) const
{
    SaveField(out, static_cast<uint8_t>(TYPE_LETTER));
    SaveField(out, GetAnnexID());
    SaveField(out, classCode);
    airFacilities.Save(out);
    aircraft.Save(out);
    SaveField(out, sensorHeight);
    SaveField(out, aircraftRoomCap);
    SaveField(out, aircraftRoom);
    SaveVesselFields(out);
}

bool Ship::LoadFields(std::istream& in)
{
    uint16_t annex = 0;
    LoadField(in, annex);
    LoadField(in, classCode);
    bool read = in && airFacilities.Load(in) && aircraft.Load(in);
    LoadField(in, sensorHeight);
    LoadField(in, aircraftRoomCap);
    LoadField(in, aircraftRoom);
    SetAnnexID(annex);
    capabilityMask = 0;
    read = read && in && LoadVesselFields(in);
    if (!read)
        ErrorBox("Ship::LoadFields: the ship's record is cut short or damaged");
    return read;
}

uint32_t CountAircraft(const PlaneRecList& list)
{
    return list.CountAircraft();
}

uint32_t CountFlaggedAircraft(const PlaneRecList& list)
{
    return list.CountReadyAircraft();
}

void RegisterShipClass()
{
    UnitFactory::Register(Ship::TYPE_LETTER, &MakeShip);
}
