// VictoryCalls.cpp: the installed victory calls and the bridge's victory
// entry points over the side manager's sides.
#include "missions/VictoryCalls.h"

#include <sstream>

#include "core/ErrorReport.h"
#include "core/ResourceText.h"
#include "core/gam2arena.h"
#include "engagement/WeaponFireCalls.h"
#include "missions/VictoryManager.h"
#include "units/PlaneBridge.h"
#include "units/PlaneRecBridge.h"
#include "units/Unit.h"
#include "units/UnitList.h"
#include "world/Game2UI2.h"

namespace {

VictoryCalls gCalls;
// Set once the all-units-lost question has been shown; it is asked once per
// program run, also over several scenarios.
bool gAllUnitsLostAsked = false;

// The side's manager without reporting anything; null when the side or its
// manager is missing. sideID 0 is the player's side.
VictoryManager* FindManagerQuietly(uint16_t sideID)
{
    if (sideID == 0)
        sideID = Game2UI2::GetCurrentSideID();
    VictoryManager* manager = nullptr;
    if (gCalls.findSide == nullptr || !gCalls.findSide(sideID, manager))
        return nullptr;
    return manager;
}

// Runs `visit` on every side's manager in identifier order; `owner` names
// the entry point in the error boxes of a missing side manager or manager.
// False without a side manager.
template <typename Visit>
bool VisitManagers(const char* owner, Visit visit)
{
    std::vector<uint16_t> sides;
    if (gCalls.listSides == nullptr || !gCalls.listSides(sides)) {
        ErrorBox((std::string(owner) + " : sideMan is NULL").c_str());
        return false;
    }
    for (uint16_t sideID : sides) {
        VictoryManager* manager = nullptr;
        if (gCalls.findSide != nullptr)
            gCalls.findSide(sideID, manager);
        if (manager == nullptr) {
            ErrorBox((std::string(owner) + " : vicMan is NULL").c_str());
            continue;
        }
        visit(*manager);
    }
    return true;
}

// The unit model's and the weapon code's forms of the kind-loss report.
void RecordPlaneLoss(uint16_t sideID, uint16_t planeAnnexID, uint8_t code, uint16_t count)
{
    unit2gam::RecordKindLossOfSides(sideID, planeAnnexID, code, count);
}

void RecordWeaponsSpent(uint8_t side, uint16_t weaponID, char letter, uint16_t count)
{
    unit2gam::RecordKindLossOfSides(side, weaponID, static_cast<uint8_t>(letter), count);
}

// Texts of the weapon code's records without a side manager, or without a
// victory manager for the weapon's side.
constexpr int32_t NO_SIDE_MANAGER_TEXT = 0x7B0261;
constexpr int32_t NO_WEAPON_MANAGER_TEXT = 0x7B0260;

// The victory manager of the weapon's side; both missing cases are fatal.
VictoryManager* FindWeaponSideManager(uint16_t side)
{
    std::vector<uint16_t> sides;
    if (gCalls.listSides == nullptr || !gCalls.listSides(sides)) {
        ReportResourceText(NO_SIDE_MANAGER_TEXT, "RecordHit", &FatalError);
        return nullptr;
    }
    VictoryManager* manager = nullptr;
    if (gCalls.findSide != nullptr)
        gCalls.findSide(side, manager);
    if (manager == nullptr)
        ReportResourceText(NO_WEAPON_MANAGER_TEXT, "RecordHit", &FatalError);
    return manager;
}

// A weapon's hit on a unit of a side the weapon's side is neutral toward:
// the weapon side's manager records the violation against the target's
// side, the target's record id naming the platform.
void RecordWeaponViolation(uint16_t side, bool hostile, uint16_t otherSide, uint16_t violatedID,
                           uint16_t violatingID)
{
    if (VictoryManager* manager = FindWeaponSideManager(side)) {
        Unit* violated = gam2arena::FindUnit(violatedID);
        manager->RecordPlatformViolation(otherSide, hostile ? 1 : 0, violated, violated, violatingID);
    }
}

// A weapon's hit on a unit of a friendly side: the weapon side's manager
// records the pair (the target, the launcher) for the target's side.
void RecordWeaponUnitEvent(uint16_t side, uint16_t otherSide, uint16_t unitID, uint16_t otherUnitID)
{
    if (VictoryManager* manager = FindWeaponSideManager(side))
        manager->RecordUnitEvent(otherSide, gam2arena::FindUnit(unitID), otherUnitID);
}

}  // namespace

VictoryCalls SetVictoryCalls(const VictoryCalls& calls)
{
    const VictoryCalls previous = gCalls;
    gCalls = calls;
    return previous;
}

void InstallVictoryBridge()
{
    PlaneBridgeCalls planes = SetPlaneBridgeCalls(PlaneBridgeCalls());
    planes.checkVictoryConditions = &unit2gam::CheckVictoryConditionsOfSides;
    SetPlaneBridgeCalls(planes);
    PlaneRecCalls records = SetPlaneRecCalls(PlaneRecCalls());
    records.checkVictoryConditions2 = &RecordPlaneLoss;
    SetPlaneRecCalls(records);
    WeaponFireCalls weapons = GetWeaponFireCalls();
    weapons.checkVictoryConditions2 = &RecordWeaponsSpent;
    weapons.recordViolation = &RecordWeaponViolation;
    weapons.recordUnitEvent = &RecordWeaponUnitEvent;
    SetWeaponFireCalls(weapons);
}

void UninstallVictoryBridge()
{
    PlaneBridgeCalls planes = SetPlaneBridgeCalls(PlaneBridgeCalls());
    planes.checkVictoryConditions = nullptr;
    SetPlaneBridgeCalls(planes);
    PlaneRecCalls records = SetPlaneRecCalls(PlaneRecCalls());
    records.checkVictoryConditions2 = nullptr;
    SetPlaneRecCalls(records);
    WeaponFireCalls weapons = GetWeaponFireCalls();
    weapons.checkVictoryConditions2 = nullptr;
    weapons.recordViolation = nullptr;
    weapons.recordUnitEvent = nullptr;
    SetWeaponFireCalls(weapons);
}

void ui2game::ShowMessageWindow(const char* text, uint16_t key, VictoryAnswer answer)
{
    if (gCalls.showMessageWindow != nullptr && text != nullptr)
        gCalls.showMessageWindow(text, key, answer);
}

void ui2game::RunModalWindow(uint32_t kind)
{
    if (gCalls.runModalWindow != nullptr)
        gCalls.runModalWindow(kind);
}

void ui2game::ShowEndOfGamePicture(uint8_t met)
{
    if (gCalls.showEndOfGamePicture != nullptr)
        gCalls.showEndOfGamePicture(met);
}

void sndlink::PlaySound(int32_t resource)
{
    if (gCalls.playSound != nullptr)
        gCalls.playSound(resource);
}

bool gam2arena::GetSideText(uint16_t sideID, std::string& name)
{
    return gCalls.getSideText != nullptr && gCalls.getSideText(sideID, name);
}

VictoryManager* unit2gam::GetVictoryManager(uint16_t sideID)
{
    std::vector<uint16_t> sides;
    if (gCalls.listSides == nullptr || !gCalls.listSides(sides)) {
        FatalError("unit2gam::GetVictoryManager : sideMan is NULL");
        return nullptr;
    }
    VictoryManager* manager = nullptr;
    if (gCalls.findSide == nullptr || !gCalls.findSide(sideID, manager)) {
        FatalError("unit2gam::GetVictoryManager : side is NULL");
        return nullptr;
    }
    return manager;
}

void unit2gam::CheckVictoryConditionsOfSides(uint16_t unitID)
{
    Unit* unit = nullptr;
    if (unitID != 0) {
        unit = gam2arena::FindUnit(unitID);
        if (unit == nullptr)
            return;
    }
    if (!VisitManagers("unit2gam::CheckVictoryConditions", [unit](VictoryManager& m) { m.Evaluate(unit); }))
        return;
    CheckAllUnitsLost();
}

void unit2gam::RecordKindLossOfSides(uint16_t loserSide, uint16_t platformID, uint16_t typeLetter, uint16_t count)
{
    if (count == 0)
        return;
    VisitManagers("unit2gam::CheckVictoryConditions2", [=](VictoryManager& m) {
        m.RecordKindLoss(platformID, typeLetter, loserSide, count);
    });
}

void unit2gam::CheckAllUnitsLost()
{
    if (gAllUnitsLostAsked || gam2arena::GetCurrentSide() != nullptr)
        return;
    const uint16_t player = Game2UI2::GetCurrentSideID();
    const UnitList* units = UnitList::GetArenaList();
    if (units == nullptr)
        return;   // no scenario running
    for (const Unit* u = units->First(); u != nullptr; u = u->GetNext()) {
        if (u->GetSideID() == player)
            return;
    }
    gAllUnitsLostAsked = true;
    ui2game::ShowMessageWindow("All of your units have been destroyed.  Would you like to continue playing?\n", 0,
                               &VictoryManager::OnVictoryAnswer);
}

void unit2gam::ResetAllUnitsLostQuestion()
{
    gAllUnitsLostAsked = false;
}

void unit2gam::ShowVictoryStatus(uint16_t sideID)
{
    VictoryManager* manager = FindManagerQuietly(sideID);
    if (manager == nullptr)
        return;
    std::ostringstream text;
    manager->DescribeStatus(text);
    if (gCalls.showEvaluationText != nullptr)
        gCalls.showEvaluationText(text.str().c_str());
}

void unit2gam::ShowEvaluation(uint16_t sideID, uint8_t showOutcome)
{
    std::ostringstream text;
    if (VictoryManager* manager = FindManagerQuietly(sideID))
        manager->WriteReport(showOutcome, text);
    else
        text << "There is no Victory Manager, probably because there " << "is no side." << '\n' << '\0';
    if (gCalls.showEvaluationText != nullptr)
        gCalls.showEvaluationText(text.str().c_str());
}
