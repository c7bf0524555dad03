// SideManager.cpp: the side list, relation queries, the player's side, the
// sweep over the sides and the side section.
#include "missions/SideManager.h"

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "core/AllocationCheck.h"
#include "core/ResourceText.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "engagement/ContactCalls.h"
#include "engagement/SideContacts.h"
#include "engagement/SideContactsList.h"
#include "missions/Doctrine.h"
#include "missions/MissionCalls.h"
#include "missions/VictoryCalls.h"
#include "missions/VictoryManager.h"
#include "units/GroupBridge.h"
#include "units/PlaneBridge.h"
#include "units/PlaneRecBridge.h"
#include "units/SideRecords.h"
#include "units/Unit.h"
#include "world/AreaPolygonList.h"

namespace {

constexpr uint8_t RELATION_HOSTILE = 1;
constexpr uint8_t RELATION_FRIENDLY = 2;
constexpr uint8_t RELATION_NEUTRAL = 3;

// The manager the installed side calls answer from.
SideManager* installedManager = nullptr;

bool InstalledAreHostile(uint16_t a, uint16_t b) { return installedManager && installedManager->AreHostile(a, b); }

bool InstalledAreFriendly(uint16_t a, uint16_t b) { return installedManager && installedManager->AreFriendly(a, b); }

Side* InstalledGetSide(uint16_t id) { return installedManager ? installedManager->GetSide(id) : nullptr; }

bool InstalledSideExists(uint16_t id) { return InstalledGetSide(id) != nullptr; }

// The side's doctrine decides; a side that does not exist answers no choice.
int32_t InstalledDoctrineDecision(uint16_t id, const std::vector<DoctrineValue>& factors,
                                  const std::vector<DoctrineValue>& options)
{
    const Side* const side = InstalledGetSide(id);
    return DecideByDoctrine(side ? side->GetSideDoctrine() : nullptr, factors, options);
}

const char* InstalledBaseName(uint16_t id)
{
    const Side* const side = InstalledGetSide(id);
    return side ? side->GetBaseName() : nullptr;
}

const char* InstalledBaseNameOrEmpty(uint16_t id)
{
    const char* const text = InstalledBaseName(id);
    return text ? text : "";
}

void InstalledSetRelation(uint16_t sideNumber, uint8_t other, uint8_t relation)
{
    if (Side* const side = InstalledGetSide(sideNumber))
        side->SetRelation(other, relation);
}

uint8_t InstalledGetRelation(uint16_t sideNumber, uint8_t other)
{
    const Side* const side = InstalledGetSide(sideNumber);
    return side ? side->GetRelation(other) : 0;
}

bool InstalledListSides(std::vector<uint16_t>& ids)
{
    ids.clear();
    if (!installedManager)
        return false;
    for (const Side* side = installedManager->GetFirstSide(); side; side = side->GetNext())
        ids.push_back(side->GetID());
    return true;
}

bool InstalledFindVictorySide(uint16_t id, VictoryManager*& manager)
{
    const Side* const side = InstalledGetSide(id);
    manager = side ? side->GetVictoryManager() : nullptr;
    return side != nullptr;
}

bool InstalledSideText(uint16_t id, std::string& name)
{
    const Side* const side = InstalledGetSide(id);
    name = side ? side->GetBaseName() : "";
    return side != nullptr;
}

}  // namespace

SideManager::SideManager() : sides(std::make_unique<SavedTreeListOf<Side>>())
{
    AllocationCheck(sides.get());
}

SideManager::~SideManager()
{
    sides->DeleteAll();
}

void SideManager::SetPlayerSide(Side* side)
{
    playerSide = side;
    if (!side)
        return;
    const uint16_t focusID = side->GetFocusUnitID();
    if (focusID == 0)
        return;
    const Unit* const unit = gam2arena::FindUnit(focusID);
    gam2arena::SetCurrentSide(unit ? gam2arena::FindSide(unit->sideEntryID) : nullptr);
}

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

uint8_t SideManager::RelationOf(uint16_t a, uint16_t b) const
{
    const Side* const side = GetSide(a);
    if (!side) {
        ReportResourceText(TEXT_NO_SIDE, "SideManager", FatalError);
        return 0;
    }
    return side->GetRelation(b);
}

bool SideManager::AreHostile(uint16_t a, uint16_t b) const { return RelationOf(a, b) == RELATION_HOSTILE; }

bool SideManager::AreFriendly(uint16_t a, uint16_t b) const { return RelationOf(a, b) == RELATION_FRIENDLY; }

bool SideManager::AreNeutral(uint16_t a, uint16_t b) const { return RelationOf(a, b) == RELATION_NEUTRAL; }

void SideManager::AddSide(Side* side)
{
    if (!side)
        return;
    sides->Insert(side);
    for (Side* other = sides->First(); other; other = other->GetNext()) {
        if (other->GetID() == side->GetID())
            continue;
        other->AddRelation(new SideEntry(side->GetID(), RELATION_NEUTRAL));
        side->AddRelation(new SideEntry(other->GetID(), RELATION_NEUTRAL));
    }
}

bool SideManager::RemoveSide(uint16_t id)
{
    Side* const side = GetSide(id);
    if (!side)
        return false;
    side->ReleaseMissionUnits();
    if (side == cursor) {
        // The sweep would step a deleted side: start it again instead.
        cursor = nullptr;
        updateState = UPDATE_START;
    }
    sides->Remove(side);
    delete side;
    playerSide = sides->First();
    for (Side* other = sides->First(); other; other = other->GetNext())
        other->RemoveRelation(id);
    return true;
}

bool SideManager::Update(uint16_t step)
{
    switch (updateState) {
    case UPDATE_START:
        cursor = sides->First();
        updateState = cursor ? UPDATE_SIDES : UPDATE_CONTACTS;
        return false;
    case UPDATE_SIDES:
        if (!cursor) {
            updateState = UPDATE_CONTACTS;
            return false;
        }
        if (cursor->Step(step)) {
            cursor = cursor->GetNext();
            if (!cursor)
                updateState = UPDATE_CONTACTS;
        }
        return false;
    default:
        if (step != 0)
            UpdatePictures();
        cursor = nullptr;
        updateState = UPDATE_START;
        return true;
    }
}

void SideManager::UpdatePictures() const
{
    SideContactsList* const pictures = gam2arena::GetSideList();
    if (!pictures)
        return;
    const SideContacts* const current = gam2arena::GetCurrentSide();
    for (SideContacts* picture = pictures->First(); picture;) {
        SideContacts* const next = picture->GetNext();
        if (picture == current)
            picture->ReportChanges(GetPlayerSideID());
        picture->UpdateContacts();
        picture = next;
    }
}

void SideManager::RandomizeStartPositions()
{
    for (Side* side = sides->First(); side; side = side->GetNext())
        side->RandomizeStartPositions();
}

void SideManager::Save(std::ostream& out) const
{
    sides->Save(out);
    SaveField(out, GetPlayerSideID());
    SaveField(out, updateState);
    if (updateState == UPDATE_SIDES)
        SaveField(out, static_cast<uint16_t>(cursor ? cursor->GetID() : 0));
}

bool SideManager::HoldsRepeatedID(const SavedTreeListOf<Side>& read) const
{
    for (const Side* side = read.First(); side; side = side->GetNext()) {
        const Side* const next = side->GetNext();
        if ((next && next->GetID() == side->GetID()) || GetSide(side->GetID()))
            return true;
    }
    return false;
}

bool SideManager::Load(std::istream& in)
{
    SavedTreeListOf<Side> read;
    uint16_t playerID = 0;
    uint16_t state = 0;
    uint16_t cursorID = 0;
    bool good = read.Load(in) && !HoldsRepeatedID(read) && LoadField(in, playerID) && LoadField(in, state)
                && state <= UPDATE_CONTACTS;
    if (good && state == UPDATE_SIDES)
        good = static_cast<bool>(LoadField(in, cursorID));
    if (!good) {
        in.setstate(std::ios::failbit);
        read.DeleteAll();
        return false;
    }
    while (Side* side = read.First()) {
        read.Remove(side);
        sides->Insert(side);
    }
    playerSide = playerID != 0 ? GetSide(playerID) : nullptr;
    updateState = state;
    cursor = state == UPDATE_SIDES ? GetSide(cursorID) : nullptr;
    if (state == UPDATE_SIDES && !cursor)
        updateState = UPDATE_START;   // a cursor naming no side starts the sweep again
    return true;
}

void InstallSideManagerCalls(SideManager* manager)
{
    installedManager = manager;
    const bool on = manager != nullptr;

    GroupBridgeCalls group = SetGroupBridgeCalls({});
    group.areHostile = on ? &InstalledAreHostile : nullptr;
    group.doctrineDecision = on ? &InstalledDoctrineDecision : nullptr;
    SetGroupBridgeCalls(group);

    PlaneBridgeCalls plane = SetPlaneBridgeCalls({});
    plane.areFriendly = on ? &InstalledAreFriendly : nullptr;
    plane.getBaseName = on ? &InstalledBaseNameOrEmpty : nullptr;
    SetPlaneBridgeCalls(plane);

    PlaneRecCalls records = SetPlaneRecCalls({});
    records.sideExists = on ? &InstalledSideExists : nullptr;
    SetPlaneRecCalls(records);

    SideCalls sideRecords = SetSideCalls({});
    sideRecords.sideExists = on ? &InstalledSideExists : nullptr;
    SetSideCalls(sideRecords);

    ContactCalls contacts = SetContactCalls({});
    contacts.setRelation = on ? &InstalledSetRelation : nullptr;
    contacts.getRelation = on ? &InstalledGetRelation : nullptr;
    contacts.getBaseName = on ? &InstalledBaseName : nullptr;
    SetContactCalls(contacts);

    MissionCalls missions = SetMissionCalls({});
    missions.getSide = on ? &InstalledGetSide : nullptr;
    SetMissionCalls(missions);

    VictoryCalls victory = SetVictoryCalls({});
    victory.listSides = on ? &InstalledListSides : nullptr;
    victory.findSide = on ? &InstalledFindVictorySide : nullptr;
    victory.getSideText = on ? &InstalledSideText : nullptr;
    SetVictoryCalls(victory);
}
