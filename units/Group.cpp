// Group.cpp: the group's construction and naming, its own plant, and its
// saved record.
#include "units/Group.h"

#include <cstdio>
#include <istream>
#include <ostream>
#include <string>

#include "core/AllocationCheck.h"
#include "core/ResourceText.h"
#include "core/ScenarioAdmin.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "units/PropulsionPlant.h"

namespace {

// Counts the groups made since start-up, modulo 256; saved with each group.
uint8_t gNameCounter = 0;

// Bits of the status word a new group clears.
constexpr uint32_t NEW_GROUP_CLEARED_FLAGS = 0x1000 | 0x2000 | 0x4000;

// The first file version that saves the air stations.
const VersionNumber AIR_STATIONS_VERSION(2, 1, 0, 0);

}  // namespace

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

uint8_t Group::GetNameCounter()
{
    return gNameCounter;
}

void Group::SetNameCounter(uint8_t value)
{
    gNameCounter = value;
}

PropulsionPlant* Group::MakeOwnPlant()
{
    auto* const plant = new PropulsionPlant;
    AllocationCheck(plant);
    plant->engineType = EngineType::UNNAMED;
    plant->secondEngineType = 0;
    plant->hasFuel = 1;   // the group's plant burns nothing and always runs
    for (int s = 0; s < PropulsionPlant::SETTINGS; ++s) {
        plant->speedTable[s][0].ceiling = 0;
        plant->speedTable[s][0].floor = 0;
        plant->speedTable[s][0].speed = s == 0 ? IDLE_SPEED : OPEN_SPEED;
    }
    return plant;
}

Group::Group() : formation(new Formation(this))
{
    AllocationCheck(formation);
    ++gNameCounter;
    char number[8];
    if (gNameCounter < 10)
        std::snprintf(number, sizeof number, "0%u", static_cast<unsigned>(gNameCounter));
    else
        std::snprintf(number, sizeof number, "%u", static_cast<unsigned>(gNameCounter % 100));
    SetName((ResourceString(NAME_PREFIX_TEXT) + number).c_str());
    for (int i = 0; i < AXIS_COUNT; ++i) {
        axes[i] = new ArcRecord(i * AXIS_STEP, AXIS_HALF_WIDTH);
        AllocationCheck(axes[i]);
    }
    PropulsionPlant* const plant = MakeOwnPlant();
    plant->SetKey(plants.NewKey());
    plants.Insert(plant);
    ClearFlags(NEW_GROUP_CLEARED_FLAGS);
    SetParentID(GetID());
    needsStationPlan = 1;
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
    return HasAxis(axis) ? axes[axis]->bearing : -1;
}

int32_t Group::GetAxisWidth(uint16_t axis) const
{
    return HasAxis(axis) ? axes[axis]->halfWidth : -1;
}

StationRecord* Group::GetMemberStation(uint16_t unitID)
{
    return formation->Find(unitID);
}

void Group::SaveFields(std::ostream& out) const
{
    SaveField(out, static_cast<uint8_t>(GetTypeLetter()));
    SaveUnitRecord(out);
    members.Save(out);
    for (uint16_t i = 0; i < AXIS_COUNT; ++i) {
        if (axes[i] == nullptr)
            continue;
        SaveField(out, i);
        axes[i]->Save(out);
    }
    SaveField(out, uint16_t{AXIS_COUNT});
    formation->Save(out);
    airStations.Save(out);
    SaveField(out, speedCarry);
    SaveField(out, leadID);
    lastStationUpdate.Save(out);
    SaveField(out, needsStationPlan);
    SaveField(out, gNameCounter);
}

bool Group::LoadFields(std::istream& in)
{
    // The constructor's plant goes: the record brings the group's plants.
    plants.DeleteAll();
    if (!LoadUnitRecord(in) || !members.Load(in))
        return false;
    if (PropulsionPlant* const zero = plants.Find(0)) {
        plants.Remove(zero);
        zero->SetKey(plants.NewKey());
        plants.Insert(zero);
    }
    if (plants.First() == nullptr) {
        PropulsionPlant* const plant = MakeOwnPlant();
        plant->SetKey(plants.NewKey());
        plants.Insert(plant);
    }
    // The axis list: slot and sector pairs closed by slot 3. A slot above 3
    // or a stream that ends first marks the record as damaged.
    for (;;) {
        uint16_t slot = 0;
        if (!LoadField(in, slot))
            return false;
        if (slot == AXIS_COUNT)
            break;
        if (slot > AXIS_COUNT) {
            in.setstate(std::ios::failbit);
            return false;
        }
        ArcRecord arc(0, AXIS_HALF_WIDTH);
        if (!arc.Load(in))
            return false;
        if (axes[slot] == nullptr)
            axes[slot] = new ArcRecord;
        *axes[slot] = arc;
    }
    if (!formation->Load(in))
        return false;
    if (ScenarioAdmin::HasScenarioName() || gAdmin == nullptr
        || !(gAdmin->GetFileVersion() < AIR_STATIONS_VERSION)) {
        if (!airStations.Load(in))
            return false;
    }
    uint8_t counter = 0;
    LoadField(in, speedCarry);
    LoadField(in, leadID);
    lastStationUpdate.Load(in);
    LoadField(in, needsStationPlan);
    if (!LoadField(in, counter))
        return false;
    gNameCounter = counter;
    return true;
}
