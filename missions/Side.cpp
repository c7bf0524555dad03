// Side.cpp: the side's construction, relations, names and points, and its
// forwards to the ops staff.
#include "missions/Side.h"

#include "world/AreaPolygonList.h"

Side::Side(uint16_t id) : TreeListNode<Side>(id) {}

Side::Side(const char* text, uint16_t id)
    : TreeListNode<Side>(id),
      name(text ? text : ""),
      baseName(text ? text : ""),
      threatZones(std::make_unique<AreaPolygonList>()),
      relations(std::make_unique<SideRelationList>())
{
}

Side::~Side()
{
    if (relations)
        relations->DeleteAll();
    points.DeleteAll();
    startPositions.DeleteAll();
}

void Side::Save(std::ostream&) const {}

bool Side::Load(std::istream&) { return false; }

bool Side::SetName(const char* text)
{
    name = text ? text : "";
    return true;
}

uint8_t Side::GetRelation(uint16_t other) const
{
    if (other == GetID())
        return 2;
    const SideEntry* const entry = relations ? relations->Find(other) : nullptr;
    return entry ? entry->GetRelation() : 0;
}

bool Side::AddRelation(SideEntry* entry)
{
    if (!relations)
        relations = std::make_unique<SideRelationList>();
    relations->Insert(entry);
    return true;
}

bool Side::SetRelation(uint16_t other, uint8_t relation)
{
    SideEntry* const entry = relations ? relations->Find(other) : nullptr;
    return entry ? entry->SetRelation(relation) : false;
}

bool Side::RemoveRelation(uint16_t other)
{
    SideEntry* const entry = relations ? relations->Find(other) : nullptr;
    if (!entry)
        return false;
    relations->Remove(entry);
    delete entry;
    return true;
}

bool Side::Step(uint16_t) { return true; }
void Side::RandomizeStartPositions() {}
void Side::SetClearOrders(uint8_t flag) { clearOrders = flag; }
void Side::AddUnit(uint16_t) {}
void Side::RemoveUnit(uint16_t) {}
uint16_t Side::AddPoint(const LatLonPoint&) { return 0; }
bool Side::MovePoint(uint16_t, const LatLonPoint&) { return false; }
bool Side::DeletePoint(uint16_t) { return false; }

StartPositionRecord* Side::GetStartPositions(uint16_t unitID)
{
    StartPositionRecord* record = startPositions.Find(unitID);
    if (!record) {
        record = new StartPositionRecord(unitID);
        startPositions.Insert(record);
    }
    return record;
}

uint16_t Side::GetFocusUnitID() const { return 0; }
uint16_t Side::SetFocusUnit(uint16_t) { return 0; }
void Side::HandleMissionEvent(uint16_t, uint16_t) {}
void Side::HandleMissionUnitEvent(uint16_t, uint8_t) {}
void Side::RemoveMissionListIDs(uint16_t, IDList*) {}
void Side::AddMissionListIDs(uint16_t, IDList*) {}
void Side::SetMissionSetting(uint8_t, uint16_t) {}
uint8_t Side::GetMissionSetting(uint16_t) const { return 0; }
std::string Side::GetMissionInfo(uint16_t) const { return {}; }
std::string Side::GetUnitMissionInfo(uint16_t) const { return {}; }
uint16_t Side::CreateNewMission(const char*, uint16_t, MissionNameRecord, IDList*) { return 0; }
uint16_t Side::CreateNewTargetedMission(const char*, uint16_t, MissionNameRecord, uint16_t, IDList*) { return 0; }
void Side::UpdateAllMissions() {}
uint16_t Side::MissionUnitReport(uint16_t, uint16_t, uint16_t, uint16_t, uint8_t) { return 0; }
void Side::MissionReleaseUnit(uint16_t) {}
void Side::MissionNewName(const char*, uint16_t) {}
uint16_t Side::FindMissionOfUnit(uint16_t) const { return 0; }
bool Side::IsUnitInAnyMission(uint16_t) const { return false; }
void Side::MoveUnitWithinMission(uint16_t, uint16_t) {}
void Side::UserSetMissionUnitSensors(uint16_t) {}
void Side::ReturnToStandingMission(uint16_t) {}
void Side::ReleaseMissionUnits() {}
bool Side::ProcessUnitMission(uint16_t, uint16_t) { return false; }
void Side::DeleteMission(uint16_t) {}
void Side::StopEditingMissions(uint8_t) {}
void Side::TellMission(uint16_t, uint16_t, uint16_t, uint32_t) {}
void Side::TellLoadoutChanged(uint16_t, uint16_t, uint16_t, uint16_t) {}
void Side::TellPlaneRecSplit(uint16_t, uint16_t, uint16_t, uint16_t, uint8_t) {}
void Side::AskMission(uint16_t, uint16_t, uint16_t, uint16_t) {}
bool Side::MissionTest(uint16_t, uint16_t, uint16_t) { return false; }
uint16_t Side::AddPlaneRecID(uint16_t, uint16_t, uint16_t, uint16_t) { return 0; }
void Side::SetUnitGroup(uint16_t, uint16_t) {}

void Side::ReturnUnitToStanding(uint16_t, uint16_t) {}

void Side::MoveUnitToMission(uint16_t, uint16_t) {}

void Side::MoveReference(uint16_t, uint16_t, uint16_t, uint16_t) {}
