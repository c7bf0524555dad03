// OpsWorld.h: what the ops staff tests run in: an arena with a unit list and
// contact records, the scenario header, a side whose mission calls reach the
// test's ops staff, and a mission class that notes the calls it receives,
// installed as the maker of every creation kind and of the created types.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "core/ScenarioAdmin.h"
#include "core/gam2arena.h"
#include "engagement/SideContacts.h"
#include "engagement/SideContactsList.h"
#include "missions/MissionList.h"
#include "missions/OpsStaff.h"
#include "missions/Side.h"
#include "units/Group.h"
#include "units/UnitList.h"
#include "units/UnitTestSupport.h"
#include "world/Game2UI2.h"
#include "world/game2ui.h"

namespace opstest {

// A mission of any type that notes what the ops staff asks of it. Its
// validity follows `invalidIDs` (by the single id it was made for) and
// `invalidNext`.
class NotingMission : public MissionRecord {
public:
    NotingMission(uint16_t type, uint16_t kind, const char* name, uint16_t target, Side* owner)
        : MissionRecord(kind, name, owner)
    {
        missionType = type;
        auxValue = target;
    }
    NotingMission(uint16_t type, Side* owner) : MissionRecord()
    {
        missionType = type;
        side = owner;
    }

    bool IsValid() override { return !invalidNext && !InvalidIDs().count(auxValue); }
    bool Load(std::istream& in) override { return LoadBase(in); }
    bool Save(std::ostream& out) override { return SaveBase(out); }
    void StepUnit(uint16_t unitID, uint8_t) override { notes += "step" + std::to_string(unitID) + " "; }
    void HandleMissionEvent(uint16_t code) override { notes += "event" + std::to_string(code) + " "; }
    void ReleaseUnit(Unit* unit) override { notes += "release" + std::to_string(unit->GetID()) + " "; }
    uint16_t QueryUnit(uint16_t unitID, uint16_t value) override { return static_cast<uint16_t>(unitID + value); }

    static std::set<uint16_t>& InvalidIDs()
    {
        static std::set<uint16_t> ids;
        return ids;
    }
    static bool invalidNext;
    std::string notes;
    IDList madeWith;   // the list it was made with
};
inline bool NotingMission::invalidNext = false;

// Mission types the kinds make here, as the ops staff's tables say.
inline uint16_t TypeOfKind(uint16_t kind)
{
    if (kind <= 3)
        return MissionType::PATROL;
    if (kind == 4)
        return MissionType::TRANSIT;
    if (kind == 5)
        return MissionType::RECON;
    if (kind <= 7)
        return MissionType::SUPPORT;
    if (kind == 8)
        return MissionType::INTERCEPT;
    if (kind <= 12)
        return MissionType::STRIKE;
    return MissionType::FERRY;
}

inline MissionRecord* MakeNoting(uint16_t kind, const char* name, const IDList* list, uint16_t id, Side* side)
{
    auto* mission = new NotingMission(TypeOfKind(kind), kind, name, id, side);
    if (list) {
        for (const IDNode* n = list->First(); n; n = n->GetNext())
            mission->madeWith.Insert(new IDNode(n->GetKey()));
    }
    return mission;
}

inline MissionRecord* MakeNotingForLoad(uint16_t type, Side* side) { return new NotingMission(type, side); }

// A side whose mission calls go to the test's ops staff.
class ForwardingSide : public Side {
public:
    ForwardingSide() : Side(1) {}
    void ReturnUnitToStanding(uint16_t unitID, uint16_t missionID) override
    {
        if (staff)
            staff->ReturnUnitToStanding(unitID, missionID);
    }
    void MoveUnitToMission(uint16_t unitID, uint16_t missionID) override
    {
        if (staff)
            staff->MoveUnitToMission(unitID, missionID);
    }
    void MoveReference(uint16_t holderID, uint16_t recordID, uint16_t from, uint16_t to) override
    {
        if (staff)
            staff->MoveReference(holderID, recordID, from, to);
    }
    OpsStaff* staff = nullptr;
};

class OpsWorld : public testing::Test {
protected:
    static constexpr uint16_t RECORD_KEY = 10;   // the side's contact record

    OpsWorld()
    {
        previousState = gam2arena::SetArenaState(&state);
        previousUnits = UnitList::SetArenaList(&units);
        previousSides = SideContactsList::SetArenaList(&sides);
        previousAdmin = gAdmin;
        gAdmin = &admin;
        admin.SetFileVersion(VersionNumber(3, 6, 3, 0));
        record = new SideContacts(RECORD_KEY);
        sides.Insert(record);
        for (uint16_t kind = 1; kind <= MissionKind::LAST; ++kind)
            previousKinds[kind] = SetMissionKindMaker(kind, MakeNoting);
        for (uint16_t type = MissionType::PATROL; type <= MissionType::LAST; ++type)
            previousTypes[type] = SetMissionLoadMaker(type, MakeNotingForLoad);
        NotingMission::InvalidIDs().clear();
        NotingMission::invalidNext = false;
        staff = new OpsStaff(&side);
        side.staff = staff;
    }
    ~OpsWorld() override
    {
        delete staff;
        for (uint16_t kind = 1; kind <= MissionKind::LAST; ++kind)
            SetMissionKindMaker(kind, previousKinds[kind]);
        for (uint16_t type = MissionType::PATROL; type <= MissionType::LAST; ++type)
            SetMissionLoadMaker(type, previousTypes[type]);
        Game2UI2::SetCurrentSideID(0);
        gam2arena::SetCurrentSide(nullptr);
        game2ui::ClearContactsOfPlayer();
        for (Unit* u = units.First(); u != nullptr; u = u->GetNext())
            u->ForgetMemberships();
        gAdmin = previousAdmin;
        SideContactsList::SetArenaList(previousSides);
        UnitList::SetArenaList(previousUnits);
        gam2arena::SetArenaState(previousState);
    }
    OpsWorld(const OpsWorld&) = delete;
    OpsWorld& operator=(const OpsWorld&) = delete;

    // A unit of side 1 on the side's contact record.
    unittest::TestUnit& AddUnit(uint16_t id, char letter, uint16_t parent = 0)
    {
        auto* unit = new unittest::TestUnit(letter);
        Place(*unit, id, parent);
        return *unit;
    }
    // A group of side 1 with these members (which must exist already); its
    // lead is the first member.
    Group& AddGroup(uint16_t id, std::initializer_list<uint16_t> members)
    {
        auto* group = new Group();
        Place(*group, id, 0);
        for (const uint16_t member : members) {
            group->members.Insert(new GroupEntry(member));
            if (Unit* const unit = units.Find(member))
                unit->SetParentID(id);
        }
        group->leadID = members.size() ? *members.begin() : 0;
        return *group;
    }
    void Place(Unit& unit, uint16_t id, uint16_t parent)
    {
        unit.SetKey(id);
        unit.SetParentID(parent);
        unit.SetSideID(side.GetID());
        unit.sideEntryID = RECORD_KEY;
        units.Insert(&unit);
    }
    // A created mission of kind 1 (type 3); its id.
    uint16_t Create(const char* name = "M")
    {
        IDList points;
        return staff->CreateMission(name, 1, nullptr, &points);
    }
    NotingMission* Noting(uint16_t id) { return dynamic_cast<NotingMission*>(staff->Find(id)); }
    // Puts a unit record straight into a mission.
    void Hold(uint16_t missionID, uint16_t unitID) { staff->Find(missionID)->units.Insert(new MissionUnitRec(unitID)); }
    void MakePlayerSide()
    {
        gam2arena::SetCurrentSide(record);
        Game2UI2::SetCurrentSideID(side.GetID());
    }

    ArenaState state;
    UnitList units;
    SideContactsList sides;
    SideContacts* record = nullptr;   // owned by sides
    ScenarioAdmin admin;
    ForwardingSide side;
    OpsStaff* staff = nullptr;

private:
    ArenaState* previousState = nullptr;
    UnitList* previousUnits = nullptr;
    SideContactsList* previousSides = nullptr;
    ScenarioAdmin* previousAdmin = nullptr;
    MissionKindMaker previousKinds[MissionKind::LAST + 1] = {};
    MissionLoadMaker previousTypes[MissionType::LAST + 1] = {};
};

} // namespace opstest
