// MissionRecord.cpp: the mission base: construction, the base bodies of the
// operations the mission types override, settings and texts.
#include "missions/MissionRecord.h"

#include <cstring>

namespace {

// An owned copy of text, or null for null.
char* CopyText(const char* text)
{
    if (!text)
        return nullptr;
    const size_t length = std::strlen(text);
    char* const copy = new char[length + 1];
    std::memcpy(copy, text, length + 1);
    return copy;
}

} // namespace

MissionRecord::MissionRecord(uint16_t kind, const char* nameText, Side* owner)
    : creationKind(kind), name(CopyText(nameText)), side(owner)
{
}

MissionRecord::MissionRecord() = default;

MissionRecord::~MissionRecord()
{
    delete[] name;
    delete[] savedName;
    delete editSettings;
}

bool MissionRecord::IsValid() { return true; }

bool MissionRecord::Load(std::istream& in) { return static_cast<bool>(in); }

bool MissionRecord::Save(std::ostream& out) { return static_cast<bool>(out); }

void MissionRecord::AddPoints(IDList*) {}

void MissionRecord::RemovePoints(IDList*) {}

void MissionRecord::OnUnitsChanged() {}

uint16_t MissionRecord::QueryUnit(uint16_t, uint16_t) { return 0; }

void MissionRecord::StepUnit(uint16_t, uint8_t) {}

void MissionRecord::HandleMissionEvent(uint16_t) {}

void MissionRecord::ReleaseAllUnits() {}

bool MissionRecord::IsNotFriendlyClass(Contact*) { return false; }

bool MissionRecord::CanUnitEngageA(MissionUnitRec*, Unit*, Contact*) { return false; }

bool MissionRecord::CanUnitEngageB(MissionUnitRec*, Unit*, Contact*) { return false; }

void MissionRecord::OnSideScanned(SideContacts*) {}

int16_t MissionRecord::GetPatrolAltitude(Unit*, uint16_t) { return 0; }

int16_t MissionRecord::GetTaskAltitude(Unit*, uint16_t, uint32_t) { return 0; }

int16_t MissionRecord::GetPlaneFigure(PlaneRec*) { return 0; }

uint16_t MissionRecord::RateUnitForClass(char, uint32_t, uint8_t) { return 0; }

void MissionRecord::DefaultSettingGroup1()
{
    settingGroup1[0] = 600;
    settingGroup1[1] = 50;
    settingGroup1[2] = 120;
    settingGroup1[3] = 50;
}

void MissionRecord::DefaultSettingGroup2()
{
    settingGroup2[0] = 300;
    settingGroup2[1] = 50;
    settingGroup2[2] = 60;
    settingGroup2[3] = 50;
}

void MissionRecord::DefaultSettingGroup3()
{
    settingGroup3[0] = 300;
    settingGroup3[1] = 50;
    settingGroup3[2] = 120;
    settingGroup3[3] = 50;
}

void MissionRecord::SaveName()
{
    delete[] savedName;
    savedName = CopyText(name);
}

void MissionRecord::OnUnitRemoved(MissionUnitRec*) {}

void MissionRecord::OnUnitAdded(MissionUnitRec*) {}

uint16_t MissionRecord::GetDefaultState(uint16_t) { return 4; }

void MissionRecord::CheckIdleState(MissionUnitRec*) {}

uint32_t MissionRecord::GetUnitRange(Unit*, uint32_t) { return 0; }

uint32_t MissionRecord::GetPlaneRange(PlaneRec*, uint32_t) { return 0; }

void MissionRecord::SetName(const char* text)
{
    if (!text)
        return;
    delete[] name;
    name = CopyText(text);
}

bool MissionRecord::SaveBase(std::ostream& out) const { return static_cast<bool>(out); }

bool MissionRecord::LoadBase(std::istream& in) { return static_cast<bool>(in); }
