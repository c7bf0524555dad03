// AirBase.cpp: the air base's construction, its answers for its facility
// members (hits, capability, aircraft size, the facility status bits, stocks),
// its status lines and its saved record. Everything else is the group's.
#include "units/AirBase.h"

#include <algorithm>
#include <cstdio>
#include <istream>
#include <ostream>
#include <vector>

#include "annex/DBEnum.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "units/PlaneBridge.h"
#include "units/Status.h"
#include "units/StatusWeather.h"
#include "units/UnitFactory.h"

namespace {

// Set while an air base asks its facilities for their largest aircraft
// size; shared by all bases, since a facility asks back whichever base it
// belongs to.
bool gSizeWalk = false;

// Room made at once for the facilities a hit may fall on: one allocation
// for a base of the usual size.
constexpr size_t CANDIDATES_RESERVED = 32;

// The member unit when it can be found and is a facility, else null.
Unit* FindFacility(const GroupEntry& entry)
{
    Unit* const unit = gam2arena::FindUnit(entry.GetKey());
    return unit != nullptr && unit->GetTypeLetter() == 'F' ? unit : nullptr;
}

}  // namespace

AirBase::AirBase()
{
    SetName(DEFAULT_NAME);
    speed = 0;
    SetFlags(UnitFlag::BASE);
}

int32_t AirBase::ApplyDamage(int32_t amount, uint32_t kind, uint32_t mask)
{
    std::vector<uint16_t> candidates;
    candidates.reserve(CANDIDATES_RESERVED);
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        const Unit* const facility = FindFacility(*e);
        if (facility != nullptr && (facility->GetTargetMask() & mask) != 0)
            candidates.push_back(e->GetKey());
    }
    if (candidates.empty())
        return 0;
    // A draw beyond the list (which the generator never gives) takes the
    // first.
    const uint16_t pick = gam2arena::Random(static_cast<uint16_t>(std::min<size_t>(candidates.size(), UINT16_MAX)));
    Unit* const target = gam2arena::FindUnit(candidates[pick < candidates.size() ? pick : 0]);
    if (target == nullptr)
        return 0;
    // A facility that answers it is lost (again, when it already was) goes
    // that many seconds later.
    if (const int32_t lost = target->TakeDamage(amount, kind); lost != 0)
        target->ScheduleDeletion(static_cast<uint8_t>(std::clamp<int32_t>(lost, 0, UINT8_MAX)));
    return 0;
}

void AirBase::Move(uint8_t elapsed)
{
    if (GetPath() != nullptr)
        ClearPath();
    Group::Move(elapsed);   // with no path: the tracking axes only
}

void AirBase::UpdateLabel()
{
    SetNameLabel();
}

void AirBase::GetStatus(UnitStatus& status) const
{
    ClearUnitStatus(status);
    constexpr int32_t SIZE = UnitStatus::LINE_SIZE;
    int line = 0;
    auto put = [&status, &line](const char* text) {
        if (line < UnitStatus::LINE_COUNT)
            std::snprintf(status.lines[line++], SIZE, "%.32s", text);
    };
    auto number = [&put](unsigned value) {
        char text[16];
        std::snprintf(text, sizeof text, "%u", value);
        put(text);
    };
    const MemberTally tally = TallyMembers();
    put(GetName().Text());
    put(gam2side::GetBaseName(GetSideID()));
    number(tally.ships);
    number(tally.subs);
    char text[2 * SIZE] = {};
    CopyResourceText(HasActiveEmitter() ? STATUS_EMITTING_TEXT : STATUS_SILENT_TEXT, text, SIZE);
    put(text);
    number(tally.damaged);
    DBEnum::GetAircraftSizeName(GetMaxAircraftSize(true, false), text);
    put(text);
    std::snprintf(text, sizeof text, "%u/%u", static_cast<unsigned>(CountMemberReadyAircraft()),
                  static_cast<unsigned>(CountMemberAircraft()));
    put(text);
    line = PutWeatherLines(status, line, GetPosition());
    if (line < UnitStatus::LINE_COUNT)
        GetConditionText(status.lines[line++], SIZE);
    status.lineCount = static_cast<uint16_t>(line);
}

uint32_t AirBase::GetMaxAircraftSize(bool first, bool second) const
{
    if (gSizeWalk)
        return 0;
    gSizeWalk = true;
    int32_t largest = 0;   // the sizes compare signed
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        if (const Unit* const facility = FindFacility(*e))
            largest = std::max(largest, static_cast<int32_t>(facility->GetMaxAircraftSize(first, second)));
    }
    gSizeWalk = false;
    return static_cast<uint32_t>(largest);
}

void AirBase::RecheckFacilityBit(uint32_t bit)
{
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        const Unit* const facility = FindFacility(*e);
        if (facility != nullptr && facility->TestFlags(bit))
            return;
    }
    ClearFlags(bit);
}

void AirBase::OnAction3()
{
    RecheckFacilityBit(UnitFlag::AIR_OPS_DAMAGE);
}

void AirBase::OnAction17()
{
    RecheckFacilityBit(UnitFlag::HANGAR_HIT);
}

void AirBase::OnAction15()
{
    RecheckFacilityBit(UnitFlag::AIRFIELD_HIT);
}

void AirBase::CollectWeaponEntries(StockChain& chain, bool /*own*/)
{
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        if (Unit* const member = gam2arena::FindUnit(e->GetKey()))
            member->CollectWeaponEntries(chain, true);
    }
}

uint16_t AirBase::SetSpeed(uint16_t /*wanted*/, int16_t /*altitude*/)
{
    return 0;
}

void AirBase::AddMember(uint16_t unitID, const StationRecord* templateStation)
{
    Group::AddMember(unitID, templateStation);
    UpdateAircraftCapability();
}

void AirBase::UpdateAircraftCapability()
{
    uint32_t word = BASE_CAPABILITY;
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        if (const Unit* const facility = FindFacility(*e))
            word |= facility->GetTargetMask();
    }
    aircraftCapability = word;
}

void AirBase::SaveFields(std::ostream& out) const
{
    Group::SaveFields(out);
    SaveField(out, installationID);
}

bool AirBase::LoadFields(std::istream& in)
{
    const uint8_t counter = GetNameCounter();
    uint16_t installation = 0;
    if (!Group::LoadFields(in) || !LoadField(in, installation)) {
        SetNameCounter(counter);
        in.setstate(std::ios::failbit);
        return false;
    }
    installationID = installation;
    SetFlags(UnitFlag::BASE);
    UpdateAircraftCapability();
    return true;
}

namespace {

Unit* MakeAirBase()
{
    return new AirBase;
}

}  // namespace

void RegisterAirBaseClass()
{
    UnitFactory::Register(AirBase::TYPE_LETTER, &MakeAirBase);
}
