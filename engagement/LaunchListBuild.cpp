// LaunchListBuild.cpp: collecting the launchable aircraft records.
#include "engagement/LaunchListBuild.h"

#include "annex/AnnexTables.h"
#include "annex/PlaneAnnex.h"
#include "core/IDList.h"
#include "core/gam2arena.h"
#include "engagement/LaunchWindowCalls.h"
#include "units/Group.h"
#include "units/PlaneRec.h"
#include "units/Unit.h"
#include "world/game2ui.h"

namespace {

// The window kind the formation window's launch list opens.
constexpr uint16_t FORMATION_LAUNCH_KIND = 3;

// The type's size code, halved above 4, as the facilities compare it.
uint32_t FacilitySize(const PlaneAnnex& type)
{
    const uint32_t code = type.GetSizeCode();
    return code > 4 ? code >> 1 : code;
}

// Adds an entry for each record of the unit that qualifies; makes the list
// on the first.
void AddUnitRecords(Unit& unit, LaunchList*& launch)
{
    PlaneRecList* const records = unit.GetPlaneRecList();
    if (records == nullptr || unit.GetAirFacilityList() == nullptr)
        return;
    const uint32_t largest = unit.GetMaxAircraftSize(true, false);
    if (largest == 0)
        return;
    const AnnexTable<PlaneAnnex>* const planes = Annex::Tables().Planes();
    if (planes == nullptr)
        return;
    for (const PlaneRec* r = records->First(); r != nullptr; r = r->GetNext()) {
        if (r->onStation != 0 && r->GetFlags(PlaneRec::ARMING) == 0)
            continue;
        const PlaneAnnex* const type = planes->Find(r->planeAnnexID);
        if (type == nullptr || FacilitySize(*type) > largest)
            continue;
        if (launch == nullptr)
            launch = new LaunchList;
        launch->Insert(new LaunchEntry(launch->NewKey(), *r));
    }
}

// CollectVisibleUnits with the groups already walked, so that a group
// listed among its own members (a damaged saved game) is walked once.
void CollectVisible(uint16_t unitID, IDList& list, IDList& groupsWalked)
{
    if (unitID == 0 || !game2ui::IsVisibleToPlayer(unitID))
        return;
    Unit* const unit = gam2arena::FindUnit(unitID);
    if (unit == nullptr || !unit->IsGroup()) {
        if (list.Find(unitID) == nullptr)
            list.Insert(new IDNode(unitID));
        return;
    }
    if (groupsWalked.Find(unitID) != nullptr)
        return;
    groupsWalked.Insert(new IDNode(unitID));
    for (const GroupEntry* e = static_cast<Group*>(unit)->members.First(); e != nullptr; e = e->GetNext())
        CollectVisible(e->GetKey(), list, groupsWalked);
}

}  // namespace

void CollectVisibleUnits(uint16_t unitID, IDList& list)
{
    IDList groupsWalked;
    CollectVisible(unitID, list, groupsWalked);
}

void BuildLaunchList(uint16_t unitID, const IDList* further, uint16_t windowKind)
{
    IDList collected;
    CollectVisibleUnits(unitID, collected);
    if (further != nullptr)
        for (const IDNode* n = further->First(); n != nullptr; n = n->GetNext())
            CollectVisibleUnits(n->GetKey(), collected);
    LaunchList* launch = nullptr;
    for (const IDNode* n = collected.First(); n != nullptr; n = n->GetNext())
        if (Unit* unit = gam2arena::FindUnit(n->GetKey()))
            AddUnitRecords(*unit, launch);
    if (launch != nullptr)
        ui2game::OpenAirOperations(launch, windowKind);
}

void OpenLaunchListForWindow(uint16_t windowID, int8_t flag)
{
    const uint16_t unitID = ui2game::GetFormationUnit(windowID);
    if (unitID == 0)
        return;
    gLaunchWindowUnit = unitID;
    gLaunchWindowFlag = flag;
    BuildLaunchList(unitID, nullptr, FORMATION_LAUNCH_KIND);
}
