// PlaneRec.cpp: aircraft records: flags and their reports, the station
// assignment, the queries on the aircraft type, losses on the ground and the
// saved form. The list operations are PlaneRecList.cpp; arming is
// PlaneRecArming.cpp.
#include "units/PlaneRec.h"

#include <istream>
#include <ostream>

#include "annex/AnnexTables.h"
#include "annex/LoadoutAnnex.h"
#include "annex/MountAnnex.h"
#include "annex/PlaneAnnex.h"
#include "annex/SensorAnnex.h"
#include "annex/WeaponAnnex.h"
#include "annex/WeaponRec.h"
#include "core/AllocationCheck.h"
#include "core/ErrorReport.h"
#include "core/NavMath.h"
#include "core/ResourceText.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "units/PlaneRecBridge.h"
#include "units/StationRecord.h"
#include "units/Unit.h"

namespace {

// Resource text of the fatal error for a holder that cannot be found when
// aircraft are lost.
constexpr int32_t TEXT_NO_HOLDER_DESTROY = 0x7B024E;

// The weapon kinds the queries tell apart.
constexpr uint32_t KIND_MISSILE = 0x1;
constexpr uint32_t KIND_BOMB = 0x2;
constexpr uint32_t KIND_ROCKET = 0x4;
constexpr uint32_t KIND_GUN = 0x8;
constexpr uint32_t KIND_TORPEDO = 0x10;
constexpr uint32_t KIND_SONOBUOY = 0x100;
// The kind whose weapons carry sensors of their own onto the aircraft.
constexpr uint32_t KIND_SENSOR_CARRIER = 0x80;
// The range a bomb or gun attack is given (tenths of a nautical mile).
constexpr uint32_t CLOSE_ATTACK_RANGE = 20;

// Landing-place bits of the type's flag word in the order they are tried,
// with the size class each gives.
struct SizeBit {
    uint32_t bit;
    uint16_t sizeClass;
};
constexpr SizeBit SIZE_BITS[] = {
    {0x800, 1},    {0x1000, 2},    {0x2000, 4},    {0x4000, 4},     {0x8000, 8},
    {0x10000, 16}, {0x20000, 32}, {0x40000, 64}, {0x80000, 128},
};

const WeaponRec* FindWeaponRec(uint16_t id)
{
    const AnnexTable<WeaponRec>* const table = Annex::Tables().WeaponRecs();
    return table != nullptr ? table->Find(id) : nullptr;
}

const WeaponAnnex* WeaponOf(const WeaponRec* rec)
{
    return rec != nullptr ? Annex::FindWeapon(rec->weaponID) : nullptr;
}

// Calls f for each weapon record of the type's mounts.
template <class F>
void ForMountWeapons(const PlaneAnnex& type, F f)
{
    const AnnexTable<MountAnnex>* const mounts = Annex::Tables().Mounts();
    if (mounts == nullptr)
        return;
    for (const IDRecord* m = type.mountIDs.First(); m != nullptr; m = m->GetNext())
        if (const MountAnnex* mount = mounts->Find(m->GetKey()))
            for (const IDNode* w = mount->weaponRecIDs.First(); w != nullptr; w = w->GetNext())
                if (const WeaponRec* rec = FindWeaponRec(w->GetKey()))
                    f(*rec);
}

template <class F>
void ForLoadoutWeapons(const LoadoutAnnex* loadout, F f)
{
    if (loadout == nullptr)
        return;
    for (const IDNode* w = loadout->weaponRecIDs.First(); w != nullptr; w = w->GetNext())
        if (const WeaponRec* rec = FindWeaponRec(w->GetKey()))
            f(*rec);
}

bool IsSonarSensor(uint16_t sensorID)
{
    const AnnexTable<SensorAnnex>* const table = Annex::Tables().Sensors();
    const SensorAnnex* const sensor = table != nullptr ? table->Find(sensorID) : nullptr;
    if (sensor == nullptr)
        return false;
    const uint32_t type = sensor->GetSensorType();
    return type == SENSOR_TYPE_PASSIVE_SONAR || type == SENSOR_TYPE_ACTIVE_PASSIVE_SONAR ||
           type == SENSOR_TYPE_ACTIVE_VDS || type == SENSOR_TYPE_PASSIVE_VDS;
}

}  // namespace

PlaneRec::~PlaneRec()
{
    delete station;
    gam2side::MissionTest(missionID, unitID, GetKey());
}

void PlaneRec::Report() const
{
    gam2side::TellMission(missionID, unitID, GetKey(), flags);
}

void PlaneRec::SetFlags(uint32_t bits)
{
    flags |= bits;
    Report();
}

void PlaneRec::ClearFlags(uint32_t bits)
{
    flags &= ~bits;
    Report();
}

void PlaneRec::SetActive(uint8_t n)
{
    count = n;
    if (n == 0)
        ClearFlags(READY_FLAGS);
}

void PlaneRec::SetMissionID(uint16_t id, bool notify)
{
    if (notify)
        gam2side::TellMissionChanged(unitID, GetKey(), missionID, id);
    missionID = id;
}

void PlaneRec::SetAssigned(uint8_t on)
{
    onStation = on;
    if (on != 0) {
        SetFlags(ON_STATION);
        return;
    }
    ClearFlags(ON_STATION);
    if (station != nullptr && count != 0) {
        delete station;
        station = nullptr;
    }
}

void PlaneRec::SetStation(const StationRecord* source)
{
    delete station;
    station = nullptr;
    if (source == nullptr)
        return;
    station = StationRecord::CreateStation(source->kind);
    if (station != nullptr)
        station->CopyFrom(source);
}

const PlaneAnnex* PlaneRec::FindType() const
{
    const AnnexTable<PlaneAnnex>* const table = Annex::Tables().Planes();
    return table != nullptr ? table->Find(planeAnnexID) : nullptr;
}

const LoadoutAnnex* PlaneRec::FindLoadout() const
{
    const AnnexTable<LoadoutAnnex>* const table = Annex::Tables().Loadouts();
    return table != nullptr && loadoutID != 0 ? table->Find(loadoutID) : nullptr;
}

uint8_t PlaneRec::SizeFactorOf(uint16_t planeAnnexID)
{
    const AnnexTable<PlaneAnnex>* const table = Annex::Tables().Planes();
    const PlaneAnnex* const type = table != nullptr ? table->Find(planeAnnexID) : nullptr;
    if (type == nullptr)
        return 0;
    switch (type->GetAircraftFlags() & 0x0F000000) {
    case 0x01000000: return 2;
    case 0x02000000: return 3;
    case 0x04000000: return 4;
    default: return 8;
    }
}

uint32_t PlaneRec::GetAnnexFlags() const
{
    const PlaneAnnex* const type = FindType();
    return type != nullptr ? type->GetAircraftFlags() : 0;
}

uint16_t PlaneRec::GetSizeClass() const
{
    const uint32_t typeFlags = GetAnnexFlags();
    for (const SizeBit& s : SIZE_BITS)
        if ((typeFlags & s.bit) != 0)
            return s.sizeClass;
    return 0;
}

uint16_t PlaneRec::GetRadius() const
{
    const PlaneAnnex* const type = FindType();
    return type != nullptr ? type->GetCombatRange(loadoutID) : 0;
}

// The share of the fuel (percent) a trip to the target uses: out at the
// combat radius's rate and, for a round trip, half of it back at the rate of
// the speed setting and band asked for. -1 when the trip cannot be judged: no
// holder or type, no range, a loadout the type does not carry, an altitude
// above every band or a speed above every setting, or a zero range entry.
int32_t PlaneRec::FuelUsed(const LatLonPoint& target, uint16_t speed, int16_t altitude, bool oneWay) const
{
    const Unit* const holder = gam2arena::FindUnit(unitID);
    const PlaneAnnex* const type = FindType();
    if (holder == nullptr || type == nullptr || type->usableRange == 0 ||
        (loadoutID != 0 && !type->HasLoadout(loadoutID)))
        return -1;
    const uint16_t r = static_cast<uint16_t>(NavMath::Get_Vector(holder->GetPosition(), target).range / 4096);
    const uint32_t radius = GetRadius();
    int b = 0;
    while (b < PlaneAnnex::PERF_BANDS && type->perfCeiling[PlaneAnnex::PERF_BANDS + b] < altitude)
        ++b;
    if (b == PlaneAnnex::PERF_BANDS)
        return -1;
    int s = 0;
    while (s < PlaneAnnex::PERF_SETTINGS && type->perfSpeed[PlaneAnnex::PERF_BANDS * s + b] < speed)
        ++s;
    if (s == PlaneAnnex::PERF_SETTINGS)
        return -1;
    const uint32_t range = type->perfRange[PlaneAnnex::PERF_BANDS * s + b];
    // A zero entry (a setting without speed or endurance) or a loadout range
    // of 0 cannot be divided by: the trip is not judged.
    if (range == 0 || radius == 0)
        return -1;
    if (oneWay)
        return static_cast<int32_t>(r * 100u / radius + r * 100u / range);
    const uint32_t h = r / 2u;
    return static_cast<int32_t>((r + h) * 100u / radius + (r - h) * 100u / range);
}

bool PlaneRec::CanReach(const LatLonPoint& target, uint16_t speed, int16_t altitude) const
{
    const int32_t used = FuelUsed(target, speed, altitude, false);
    return used >= 0 && 100 - used > 20;
}

bool PlaneRec::CanReachOneWay(const LatLonPoint& target, uint16_t speed, int16_t altitude) const
{
    const int32_t used = FuelUsed(target, speed, altitude, true);
    return used >= 0 && 100 - used > 20;
}

uint16_t PlaneRec::GetSpeedAtAltitude(uint8_t s, int16_t altitude) const
{
    const PlaneAnnex* const type = FindType();
    if (type == nullptr || s >= PlaneAnnex::PERF_SETTINGS)
        return 0;
    for (int b = 0; b < PlaneAnnex::PERF_BANDS - 1; ++b)
        if (type->perfCeiling[PlaneAnnex::PERF_BANDS * s + b] >= altitude)
            return type->perfSpeed[PlaneAnnex::PERF_BANDS * s + b];
    return 0;
}

void PlaneRec::GetAltitudeLimits(uint8_t s, int16_t& low, int16_t& high) const
{
    low = 0;
    high = -1;
    const PlaneAnnex* const type = FindType();
    if (type == nullptr)
        return;
    if (s < PlaneAnnex::PERF_SETTINGS)
        for (int b = 0; b < PlaneAnnex::PERF_BANDS; ++b)
            if (type->perfCeiling[PlaneAnnex::PERF_BANDS * s + b] > high)
                high = type->perfCeiling[PlaneAnnex::PERF_BANDS * s + b];
    const uint32_t typeFlags = type->GetAircraftFlags();
    if ((typeFlags & (0x40 | 0x20000000)) != 0)
        low = 2;
    else if ((typeFlags & 0x20) != 0)
        low = 4;
    else
        low = 10;
}

uint32_t PlaneRec::GetCapabilities(uint32_t kind) const
{
    const PlaneAnnex* const type = FindType();
    if (type == nullptr)
        return 0;
    if ((kind & ~uint32_t{0x18 | 0x1800}) != 2)
        return 1;
    const LoadoutAnnex* const loadout = FindLoadout();
    uint32_t bits = 0;
    bool sonar = false;
    for (const IDRecord* s = type->sensorIDs.First(); s != nullptr && !sonar; s = s->GetNext())
        sonar = IsSonarSensor(s->GetKey());
    // A loadout brings sensors only in its sensor-carrying weapons, as they
    // are fitted to an aircraft when it is armed.
    ForLoadoutWeapons(loadout, [&sonar](const WeaponRec& rec) {
        const WeaponAnnex* const weapon = WeaponOf(&rec);
        if (weapon == nullptr || weapon->GetWeaponKind() != KIND_SENSOR_CARRIER)
            return;
        for (const IDRecord* s = weapon->sensors.First(); s != nullptr && !sonar; s = s->GetNext())
            sonar = IsSonarSensor(s->GetKey());
    });
    if (sonar)
        bits |= CAN_DIP;
    bool buoys = false;
    const auto isBuoy = [&buoys](const WeaponRec& rec) {
        const WeaponAnnex* const weapon = WeaponOf(&rec);
        buoys = buoys || (weapon != nullptr && weapon->GetWeaponKind() == KIND_SONOBUOY);
    };
    ForMountWeapons(*type, isBuoy);
    ForLoadoutWeapons(loadout, isBuoy);
    if (buoys)
        bits |= CAN_LAY_BUOYS;
    return bits;
}

uint32_t PlaneRec::CountWeapons(uint32_t targetMask) const
{
    uint32_t total = 0;
    const auto add = [&total, targetMask](const WeaponRec& rec) {
        total += RateWeaponRec(rec, targetMask, (targetMask & 4) != 0);
    };
    if (const PlaneAnnex* const type = FindType())
        ForMountWeapons(*type, add);
    ForLoadoutWeapons(FindLoadout(), add);
    return total;
}

uint32_t PlaneRec::GetAttackRange(uint32_t targetMask) const
{
    uint32_t best = 0;
    ForLoadoutWeapons(FindLoadout(), [&best, targetMask](const WeaponRec& rec) {
        const WeaponAnnex* const weapon = WeaponOf(&rec);
        if (weapon == nullptr || (weapon->targetMask & targetMask) == 0)
            return;
        uint32_t reach = 0;
        switch (weapon->GetWeaponKind()) {
        case KIND_MISSILE:
        case KIND_ROCKET:
        case KIND_TORPEDO: reach = weapon->maxRange; break;
        case KIND_BOMB:
        case KIND_GUN: reach = CLOSE_ATTACK_RANGE; break;
        default: break;
        }
        if (reach > best)
            best = reach;
    });
    return best;
}

void PlaneRec::DamagePlanes(uint8_t n)
{
    if (n > count)
        n = count;
    if (n == count) {
        if ((flags & HARDENED) != 0)
            flags &= ~HARDENED;
        else
            DestroyPlanes(n);
        return;
    }
    Unit* const holder = gam2arena::FindUnit(unitID);
    PlaneRecList* const list = holder != nullptr ? holder->GetPlaneRecList() : nullptr;
    count = static_cast<uint8_t>(count - n);
    if (list == nullptr)
        return;
    // The damaged aircraft go to a record of their own in the holder's list,
    // whatever the holder: a group keeps them as a ship or facility does.
    auto* const damaged = new PlaneRec(list->NewKey());
    AllocationCheck(damaged);
    damaged->planeAnnexID = planeAnnexID;
    damaged->unitID = unitID;
    damaged->spare16 = spare16;
    damaged->loadoutID = loadoutID;
    damaged->sizeFactor = sizeFactor;
    damaged->count = n;
    list->Insert(damaged);
}

void PlaneRec::DestroyPlanes(uint8_t n)
{
    if (n > count)
        n = count;
    Unit* const holder = gam2arena::FindUnit(unitID);
    if (holder == nullptr) {
        ReportResourceText(TEXT_NO_HOLDER_DESTROY, "PlaneRec::DestroyPlanes", FatalError);
        return;
    }
    unit2gam::CheckVictoryConditions2(holder->GetSideID(), planeAnnexID, 0x50, n);
    count = static_cast<uint8_t>(count - n);
    if (count != 0)
        return;
    // The emptied record leaves its holder's list whatever the holder, and
    // is deleted so that its mission learns it is gone.
    if (PlaneRecList* const list = holder->GetPlaneRecList(); list != nullptr && list->Find(GetKey()) == this) {
        list->Remove(this);
        delete this;
    }
}

void PlaneRec::Save(std::ostream& out) const
{
    SaveField(out, GetKey());
    SaveField(out, flags);
    SaveField(out, planeAnnexID);
    SaveField(out, unitID);
    SaveField(out, spare16);
    SaveField(out, count);
    SaveField(out, loadoutID);
    SaveField(out, sizeFactor);
    SaveField(out, onStation);
    SaveField(out, missionID);
    SaveField(out, airGroupID);
    // The station's kind stands for its presence, so that it comes back as
    // the same kind; 0 for none.
    SaveField(out, static_cast<uint8_t>(station != nullptr ? station->kind : 0));
    if (station != nullptr)
        station->Save(out);
    SaveField(out, stateTime);
    SaveField(out, spareTime);
    substitutions.Save(out);
    SaveField(out, readyTime);
    for (int i = 0; i < 6; ++i)
        SaveField(out, uint8_t{0});
}

bool PlaneRec::Load(std::istream& in)
{
    uint16_t key = 0;
    LoadField(in, key);
    SetKey(key);
    LoadField(in, flags);
    LoadField(in, planeAnnexID);
    LoadField(in, unitID);
    LoadField(in, spare16);
    LoadField(in, count);
    LoadField(in, loadoutID);
    LoadField(in, sizeFactor);
    LoadField(in, onStation);
    LoadField(in, missionID);
    LoadField(in, airGroupID);
    uint8_t kind = 0;
    if (!LoadField(in, kind))
        return false;
    delete station;
    station = nullptr;
    if (kind > StationKind::LAST) {
        ErrorBox("Aircraft record: unknown station kind in the saved game");
        in.setstate(std::ios::failbit);
        return false;
    }
    if (kind != 0) {
        station = StationRecord::CreateStation(kind);
        if (station == nullptr || !station->Load(in)) {
            in.setstate(std::ios::failbit);
            return false;
        }
    }
    LoadField(in, stateTime);
    LoadField(in, spareTime);
    substitutions.DeleteAll();
    substitutions.Load(in);
    LoadField(in, readyTime);
    for (int i = 0; i < 6; ++i) {
        uint8_t reserved = 0;
        LoadField(in, reserved);
    }
    if (!in)
        return false;
    if (readyTime == 0 && flags != READY_FLAGS) {
        const LoadoutAnnex* const loadout = FindLoadout();
        const uint32_t minutes = loadout != nullptr ? loadout->armingMinutes : 0;
        readyTime = stateTime + (minutes != 0 ? 60u * minutes : DEFAULT_ARMING_SECONDS);
    }
    if (sizeFactor == 0)
        sizeFactor = SizeFactorOf(planeAnnexID);
    return true;
}
