// Submarine.cpp: the submarine's set-up, step, damage intake and effects,
// signatures by depth, evasion, status lines and saved record.
#include "units/Submarine.h"

#include <algorithm>
#include <cstdio>
#include <istream>
#include <ostream>

#include "annex/AnnexTables.h"
#include "annex/SubAnnex.h"
#include "core/ErrorReport.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "units/DatalinkRecord.h"
#include "units/PlaneBridge.h"
#include "units/SensorFactory.h"
#include "units/Ship.h"
#include "units/SideRecords.h"
#include "units/Status.h"
#include "units/UnitComponents.h"
#include "units/UnitEvents.h"
#include "units/UnitFactory.h"
#include "world/Nav2Game.h"

namespace {

// The effect a critical hit draws (0 to 9): its multi-action, where the
// amount goes (0 none, 1 the first field, 2 the second), and whether it
// also follows a hit of kind bit 8.
struct CriticalEffect {
    uint8_t action;
    uint8_t amountField;
    bool withKind8;
};
constexpr CriticalEffect CRITICAL_EFFECTS[10] = {
    {14, 0, true}, {1, 2, true}, {19, 1, false}, {19, 1, false}, {7, 0, false},
    {7, 0, false}, {7, 0, false}, {8, 0, true},  {12, 1, false}, {13, 1, false},
};
// Kind 8 as a bit of the hit's kind, and as the whole kind.
constexpr uint32_t KIND_BIT_8 = 8;
constexpr uint32_t KIND_EFFECTS_ONLY = 8;

// Band-word bits of a threat the boat dives from.
constexpr uint16_t THREAT_TO_DIVE_FROM = 0x3000;
constexpr uint16_t EVASION_KNOTS = 20;

// The air-independent store gains one count per this many busy seconds;
// after power is lost the boat comes up and makes 5 knots half a minute on.
constexpr uint32_t RECHARGE_SECONDS = 36000;
constexpr uint16_t RESUME_KNOTS = 5;
constexpr uint32_t RESUME_DELAY_SECONDS = 30;
constexpr int32_t SURFACED_REACH_BONUS = 5;

constexpr int16_t SMALL_HULL = 40;
constexpr int16_t MEDIUM_HULL_TOP = 150;

Unit* MakeSubmarine()
{
    return new Submarine;
}

}  // namespace

const SubAnnex* Submarine::FindRecord() const
{
    const AnnexTable<SubAnnex>* const table = Annex::Tables().Subs();
    return table != nullptr ? table->Find(GetAnnexID()) : nullptr;
}

Submarine::Submarine(uint16_t subAnnexID)
{
    BuildFromAnnex(subAnnexID);
}

void Submarine::BuildFromAnnex(uint16_t id)
{
    SetAnnexID(id);
    const SubAnnex* const record = FindRecord();
    if (record == nullptr)
        return;
    maxDepth = record->maxDepth;
    UnitFromAnnex::TakeNames(*this, record->className, record->typeCode.Text());
    damageClass[0] = damageClass[1] = damageClass[2] = 0;
    SetDamagePoints(static_cast<int16_t>(record->damagePoints));
    speedLossLevel = 0;
    CopyTriple(sonarTriples[0], record->vesselTriple1);
    CopyTriple(sonarTriples[1], record->vesselTriple2);
    BuildEquipment(*record);
    UnitFromAnnex::CopyTriples(*this, record->triple1, record->triple2, record->triple3);
}

int32_t Submarine::TakeDamage(int32_t amount, uint32_t kind)
{
    const int16_t pointsBefore = damagePoints;
    const int32_t hit = std::clamp<int32_t>(amount, 0, UINT16_MAX);
    if ((kind & KIND_BIT_8) == 0) {
        const int32_t levelBefore = GetDamageLevel();
        // Wide and clamped: an instant kill's 61439 points must not wrap the
        // 16-bit points round to more than the boat had.
        damagePoints = static_cast<int16_t>(std::max<int32_t>(int32_t{damagePoints} - hit, 0));
        RaiseSpeedLossSince(levelBefore);
    }
    int32_t result = 0;
    if (damagePoints >= 1) {
        int32_t hits = 0;
        if (kind == KIND_EFFECTS_ONLY)
            hits = std::max(gam2arena::Random(6) + gam2arena::Random(6) + hit / 10, 1);
        else
            hits = std::max(hit * 10 / damagePoints + gam2arena::Random(6) - 4, 0);
        for (int32_t i = 0; i < hits; ++i)
            ApplyCriticalHit(amount, kind);
    } else {
        if (gam2side::IsFocusUnit(GetID()))
            gam2side::ClearFocus(GetID());
        damagePoints = 0;
        SetFlags(DESTROYED);
        result = 1;
    }
    if (pointsBefore != 0)
        unit2gam::CheckVictoryConditions(GetID());
    return result;
}

void Submarine::ApplyCriticalHit(int32_t amount, uint32_t kind)
{
    const CriticalEffect& effect = CRITICAL_EFFECTS[gam2arena::Random(10)];
    if ((kind & KIND_BIT_8) != 0 && !effect.withKind8)
        return;
    const auto hit = static_cast<uint16_t>(std::clamp<int32_t>(amount, 0, UINT16_MAX));
    const uint16_t first = effect.amountField == 1 ? hit : 0;
    const uint16_t second = effect.amountField == 2 ? hit : 0;
    PostOrDrop(MakeMultiActionEvent(GetID(), effect.action, first, second));
}

int16_t Submarine::GetAltitude() const
{
    return static_cast<int16_t>(PositionObject::GetAltitude() + 2);
}

int16_t Submarine::GetRadarSignature(int aspect) const
{
    if (PositionObject::GetAltitude() >= 0)
        return static_cast<int16_t>(aspectValues[2].Get(aspect));
    return GetAltitude() >= 0 ? SIGNATURE_NEAR_SURFACE : SIGNATURE_HIDDEN;
}

int16_t Submarine::GetVisualSignature(int aspect) const
{
    if (PositionObject::GetAltitude() >= 0)
        return static_cast<int16_t>(aspectValues[0].Get(aspect));
    return GetAltitude() >= 0 ? SIGNATURE_NEAR_SURFACE : SIGNATURE_HIDDEN;
}

int16_t Submarine::GetInfraredSignature(int aspect) const
{
    if (PositionObject::GetAltitude() >= 0)
        return static_cast<int16_t>(aspectValues[1].Get(aspect));
    return GetAltitude() >= 0 ? 0 : SIGNATURE_HIDDEN;
}

uint32_t Submarine::GetTargetMask() const
{
    return PositionObject::GetAltitude() == 0 ? 1 : 2;
}

void Submarine::UpdateLabel()
{
    Unit::UpdateLabel();
    PutBandNameInLabel();
}

uint8_t Submarine::GetTargetClassByte(char letter) const
{
    const SubAnnex* const record = FindRecord();
    if (record == nullptr)
        return 0;
    const int index = TargetClassIndex(letter);
    return index >= 0 ? record->bytes[index] : 0;
}

bool Submarine::EvadeThreat(Contact& threat)
{
    ContactAim aim;
    SideRecord::GetContactAim(threat, aim);
    if ((aim.bandWord & Ship::THREAT_TO_EVADE) != 0)
        return EvadeAtRightAngles(*this, aim.position, EVASION_KNOTS);
    if ((aim.bandWord & THREAT_TO_DIVE_FROM) != 0)
        PostOrDrop(MakeSetAltitudeEvent(GetID(), EVASION_DEPTH, GameTime(gam2arena::GetGameTime())));
    return false;
}

uint8_t Submarine::GetSizeClass() const
{
    if (maxDamagePoints < SMALL_HULL)
        return 2;
    if (maxDamagePoints <= MEDIUM_HULL_TOP)
        return 8;
    return 16;
}

void Submarine::Move(uint8_t elapsed)
{
    stepFloor = Nav2Game::GetAltitudeAt(GetPosition());
    const PropulsionPlant* const plant = plantKey != 0 ? plants.Find(plantKey) : nullptr;
    // A boat charging its battery from its engines whose spare battery is
    // already spent has run its stores down (judged before the step's charge).
    stepExhausted = plant != nullptr && !plant->AcceptsFuel(FuelType::BATTERY) && speed != 0 &&
                    GetSpareFuel(FuelType::BATTERY) == 0;
    Unit::Move(elapsed);
}

// After the run and before the fuel draw, so that the draw and the answer
// to lost power see the depth the floor left and the recharged store.
void Submarine::OnStepMoved(uint8_t elapsed)
{
    const int16_t floorAfter = Nav2Game::GetAltitudeAt(GetPosition());
    const int16_t altitude = PositionObject::GetAltitude();
    if (floorAfter > stepFloor && altitude < 0 && altitude < floorAfter + 1)
        SetAltitude(static_cast<int16_t>(std::min(floorAfter + 1, 0)));
    if (PositionObject::GetAltitude() >= NEAR_SURFACE && elapsed != 0) {
        for (FuelTank* tank = fuelTanks.First(); tank != nullptr; tank = tank->GetNext()) {
            if (tank->GetFuelType() != FuelType::AIR_INDEPENDENT)
                continue;
            if (tank->GetCount() < tank->GetCapacity()) {
                uint32_t busy = tank->GetPartial() + elapsed;
                if (busy >= RECHARGE_SECONDS) {
                    busy -= RECHARGE_SECONDS;
                    tank->SetCount(tank->GetCount() + 1);
                }
                tank->SetPartial(busy);
            }
            break;
        }
    }
    if (stepExhausted)
        UpdateFuelFlags();
}

void Submarine::OnOutOfPower()
{
    if (speed != 0 || PositionObject::GetAltitude() >= NEAR_SURFACE)
        return;
    const uint32_t now = gam2arena::GetGameTime();
    PostOrDrop(MakeSetAltitudeEvent(GetID(), NEAR_SURFACE, GameTime(now)));
    PostOrDrop(MakeSetSpeedEvent(GetID(), RESUME_KNOTS, GameTime(now + RESUME_DELAY_SECONDS)));
}

void Submarine::UpdateSpecialReach()
{
    Vessel::UpdateSpecialReach();
    if (PositionObject::GetAltitude() >= 0)
        speedTableValue = static_cast<uint16_t>(speedTableValue + SURFACED_REACH_BONUS);
}

int32_t Submarine::GetStoreSeconds() const
{
    uint64_t battery = 0;
    uint64_t airIndependent = 0, diesel = 0, airIndependentBusy = 0, dieselBusy = 0;
    for (const FuelTank* tank = fuelTanks.First(); tank != nullptr; tank = tank->GetNext()) {
        switch (tank->GetFuelType()) {
        case FuelType::BATTERY:
            battery += tank->GetCount();
            break;
        case FuelType::AIR_INDEPENDENT:
            airIndependent += tank->GetCount();
            airIndependentBusy += tank->GetPartial();
            break;
        case FuelType::DIESEL:
            diesel += tank->GetCount();
            dieselBusy += tank->GetPartial();
            break;
        default:
            break;
        }
    }
    const uint64_t store = std::min(airIndependent, diesel);
    if (store != 0) {
        const uint64_t seconds = (store * RECHARGE_SECONDS + std::min(airIndependentBusy, dieselBusy)) * 60;
        uint64_t rate = 0;
        for (const PropulsionPlant* p = plants.First(); p != nullptr; p = p->GetNext()) {
            if (p->engineType == EngineType::AIR_INDEPENDENT && (rate == 0 || p->useRate[0] < rate))
                rate = p->useRate[0];
        }
        battery += rate != 0 ? seconds / (rate * 60) : seconds;
    }
    return static_cast<int32_t>(std::min<uint64_t>(battery, INT32_MAX));
}

void Submarine::GetStatus(UnitStatus& status) const
{
    char band[LABEL_SIZE] = {};
    GetAltitudeBandName(band);
    char depth[UnitStatus::LINE_SIZE * 2] = {};
    std::snprintf(depth, sizeof depth, "%d %s", static_cast<int>(PositionObject::GetAltitude()), band);
    char stores[UnitStatus::LINE_SIZE] = {};
    FormatStatusTime(GetStoreSeconds(), stores);
    FillVesselStatus(status, depth, stores, nullptr, 0);
}

void Submarine::SaveFields(std::ostream& out) const
{
    SaveField(out, static_cast<uint8_t>(TYPE_LETTER));
    SaveField(out, GetAnnexID());
    SaveField(out, maxDepth);
    SaveVesselFields(out);
}

bool Submarine::LoadFields(std::istream& in)
{
    uint16_t annex = 0;
    LoadField(in, annex);
    LoadField(in, maxDepth);
    SetAnnexID(annex);
    const bool read = in && LoadVesselFields(in);
    if (!read)
        ErrorBox("Submarine::LoadFields: the submarine's record is cut short or damaged");
    return read;
}

void RegisterSubmarineClass()
{
    UnitFactory::Register(Submarine::TYPE_LETTER, &MakeSubmarine);
}
