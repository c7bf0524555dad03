// AircraftEvents.cpp: the set-speed and landing events and their saved form.
#include "simulation/AircraftEvents.h"

#include "core/AllocationCheck.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "simulation/SonobuoyEvents.h"
#include "units/AirGroupBridge.h"
#include "units/Plane.h"
#include "units/PlaneRec.h"
#include "units/UnitEvents.h"

namespace {

// Reads two u16 fields and the due time; on a short read nothing changes.
bool LoadPair(std::istream& in, uint16_t& first, uint16_t& second, Event& event)
{
    uint16_t a = 0;
    uint16_t b = 0;
    LoadField(in, a);
    LoadField(in, b);
    if (!in || !event.LoadBase(in))
        return false;
    first = a;
    second = b;
    return true;
}

void SavePair(std::ostream& out, uint8_t code, uint16_t first, uint16_t second, const Event& event)
{
    SaveField(out, code);
    SaveField(out, first);
    SaveField(out, second);
    event.SaveBase(out);
}

}  // namespace

SetSpeedEvent::SetSpeedEvent(uint16_t unitID, uint16_t knots, GameTime due) : unitID(unitID), knots(knots)
{
    SetDueTime(due);
}

bool SetSpeedEvent::HandleEvent()
{
    if (Unit* const unit = gam2arena::FindUnit(unitID))
        unit->SetSpeed(knots, unit->PositionObject::GetAltitude());
    return false;
}

void SetSpeedEvent::Save(std::ostream& out) const
{
    SavePair(out, TypeCode(), unitID, knots, *this);
}

bool SetSpeedEvent::Load(std::istream& in)
{
    return LoadPair(in, unitID, knots, *this);
}

LandEvent::LandEvent(uint16_t planeID, uint16_t baseID, GameTime due) : planeID(planeID), baseID(baseID)
{
    SetDueTime(due);
}

bool LandEvent::HandleEvent()
{
    auto* const plane = dynamic_cast<Plane*>(gam2arena::FindUnit(planeID));
    Unit* const base = gam2arena::FindUnit(baseID);
    PlaneRecList* const records = base != nullptr ? base->GetPlaneRecList() : nullptr;
    if (plane == nullptr || records == nullptr)
        return false;
    auto* const record = new PlaneRec(records->NewKey());
    AllocationCheck(record);
    record->planeAnnexID = plane->GetAnnexID();
    record->unitID = baseID;
    record->count = 1;
    record->loadoutID = plane->loadoutID;
    records->Insert(record);
    plane->ScheduleDeletion(0);
    return false;
}

void LandEvent::Save(std::ostream& out) const
{
    SavePair(out, TypeCode(), planeID, baseID, *this);
}

bool LandEvent::Load(std::istream& in)
{
    return LoadPair(in, planeID, baseID, *this);
}

void InstallAircraftEventMakers()
{
    UnitEventCalls calls = SetUnitEventCalls(UnitEventCalls());
    calls.makeSetSpeedEvent = [](uint16_t unitID, uint16_t knots, GameTime due) -> Event* {
        return new SetSpeedEvent(unitID, knots, due);
    };
    calls.makeLandEvent = [](uint16_t planeID, uint16_t baseID, GameTime due) -> Event* {
        return new LandEvent(planeID, baseID, due);
    };
    calls.makeDropSonobuoyEvent = [](uint16_t unitID, uint16_t lineID, uint8_t buoyKind) -> Event* {
        auto* const event = new DropSonobuoyEvent(unitID, lineID, buoyKind);
        AllocationCheck(event);
        return event;
    };
    SetUnitEventCalls(calls);
    // An air group ordered to land sends its aircraft where the order goes.
    AirGroupBridgeCalls air = SetAirGroupBridgeCalls(AirGroupBridgeCalls());
    air.getLandDestination = [](const Event& event) -> uint16_t {
        const auto* const land = dynamic_cast<const LandEvent*>(&event);
        return land != nullptr ? land->GetBaseID() : 0;
    };
    SetAirGroupBridgeCalls(air);
}
