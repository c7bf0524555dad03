// SideManager.cpp: the side list, relation queries, the sweep and the side
// section.
#include "missions/SideManager.h"

SideManager::SideManager() : sides(std::make_unique<SavedTreeListOf<Side>>()) {}

SideManager::~SideManager()
{
    sides->DeleteAll();
}

void SideManager::SetPlayerSide(Side* side) { playerSide = side; }
VictoryManager* SideManager::GetSideVictoryManager(uint16_t id) const
{
    const Side* const side = GetSide(id);
    return side ? side->GetVictoryManager() : nullptr;
}
AreaPolygonList* SideManager::GetSideRecord(uint16_t id) const
{
    const Side* const side = GetSide(id);
    return side ? side->GetThreatZones() : nullptr;
}
bool SideManager::AreHostile(uint16_t, uint16_t) const { return false; }
bool SideManager::AreFriendly(uint16_t, uint16_t) const { return false; }
bool SideManager::AreNeutral(uint16_t, uint16_t) const { return false; }
void SideManager::AddSide(Side*) {}
bool SideManager::RemoveSide(uint16_t) { return false; }
bool SideManager::Update(uint16_t) { return true; }
void SideManager::RandomizeStartPositions() {}
void SideManager::Save(std::ostream&) const {}
bool SideManager::Load(std::istream&) { return false; }

void InstallSideManagerCalls(SideManager*) {}
