// Group.cpp: the group operations the member stations call and the group's
// saved record.
#include "units/Group.h"

#include <istream>
#include <ostream>

#include "core/StreamFields.h"
#include "core/gam2arena.h"

void GroupEntry::Save(std::ostream& out) const
{
    SaveField(out, GetKey());
    for (uint8_t b : capability)
        SaveField(out, b);
    SaveField(out, sonarValue);
    SaveField(out, loadValue);
}

bool GroupEntry::Load(std::istream& in)
{
    uint16_t key = 0;
    LoadField(in, key);
    SetKey(key);
    for (uint8_t& b : capability)
        LoadField(in, b);
    LoadField(in, sonarValue);
    LoadField(in, loadValue);
    return static_cast<bool>(in);
}

Group::Group() : formation(new Formation(this))
{
    for (int i = 0; i < AXIS_COUNT; ++i) {
        axes[i] = new ArcRecord;
        axes[i]->bearing = i * AXIS_STEP;
        axes[i]->halfWidth = AXIS_HALF_WIDTH;
    }
}

Group::~Group()
{
    for (ArcRecord*& a : axes) {
        delete a;
        a = nullptr;
    }
    delete formation;
}

int32_t Group::GetAxisBearing(uint16_t axis) const
{
    if (axis >= AXIS_COUNT || axes[axis] == nullptr)
        return -1;
    return axes[axis]->bearing;
}

void Group::AddMember(uint16_t unitID, const StationRecord* templateStation)
{
    if (members.Find(unitID) == nullptr)
        members.Insert(new GroupEntry(unitID));
    formation->AddMember(unitID, templateStation);
    if (Unit* const unit = gam2arena::FindUnit(unitID))
        unit->SetParentID(GetID());
}

void Group::RemoveMember(uint16_t unitID)
{
    formation->RemoveMember(unitID);
    if (GroupEntry* const entry = members.Find(unitID)) {
        members.Remove(entry);
        delete entry;
    }
    if (Unit* const unit = gam2arena::FindUnit(unitID); unit != nullptr && unit->GetParentID() == GetID())
        unit->SetParentID(0);
}

void Group::SetMemberStationKind(uint16_t unitID, uint8_t kind)
{
    formation->SetStationKind(unitID, kind);
}

void Group::UpdateStations(bool reaim)
{
    lastStationUpdate = gam2arena::GetGameTime();
    for (StationRecord* s = formation->stations.First(); s != nullptr;) {
        // A station may replace itself (a rejoin becoming a formation
        // station), so the next one is taken first.
        StationRecord* const next = s->GetNext();
        if (!s->IsInStation(GetPosition(), GetAxisBearing(s->axis))) {
            s->mode = StationMode::OUT;
            if (reaim)
                s->RequestMove();
        }
        s = next;
    }
}

StationRecord* Group::GetMemberStation(uint16_t unitID)
{
    return formation->Find(unitID);
}

void Group::SaveFields(std::ostream& out) const
{
    SaveField(out, uint8_t{'G'});
    SaveUnitRecord(out);
    members.Save(out);
    for (uint16_t i = 0; i < AXIS_COUNT; ++i) {
        if (axes[i] == nullptr)
            continue;
        SaveField(out, i);
        SaveField(out, axes[i]->bearing);
        SaveField(out, axes[i]->halfWidth);
    }
    SaveField(out, uint16_t{AXIS_COUNT});
    formation->Save(out);
    SaveField(out, speedCarry);
    SaveField(out, leadID);
    lastStationUpdate.Save(out);
    SaveField(out, needsStationPlan);
    SaveField(out, noAircraft);
    SaveField(out, stationSpeedMargin);
    SaveField(out, noRelief);
}

bool Group::LoadFields(std::istream& in)
{
    if (!LoadUnitRecord(in) || !members.Load(in))
        return false;
    for (;;) {
        uint16_t slot = 0;
        if (!LoadField(in, slot))
            return false;
        if (slot >= AXIS_COUNT)
            break;
        ArcRecord arc;
        if (!LoadField(in, arc.bearing) || !LoadField(in, arc.halfWidth))
            return false;
        if (axes[slot] == nullptr)
            axes[slot] = new ArcRecord;
        *axes[slot] = arc;
    }
    if (!formation->Load(in))
        return false;
    LoadField(in, speedCarry);
    LoadField(in, leadID);
    lastStationUpdate.Load(in);
    LoadField(in, needsStationPlan);
    LoadField(in, noAircraft);
    LoadField(in, stationSpeedMargin);
    LoadField(in, noRelief);
    return static_cast<bool>(in);
}
