// VictoryRecording.cpp: the victory manager's recorders of unit pairs and
// rules violations, which the engagement and weapon code call; the rest of
// the manager lives in VictoryManager.cpp.
#include <string>

#include "core/ErrorReport.h"
#include "core/NameString.h"
#include "core/ResourceText.h"
#include "core/gam2arena.h"
#include "missions/UnitPairRecord.h"
#include "missions/VictoryItemList.h"
#include "missions/VictoryManager.h"
#include "missions/ViolationRecord.h"
#include "units/Unit.h"

namespace {
// Resource texts of the recorders' reports and names.
constexpr int32_t SIDE_ZERO_TEXT = 0x7B015E;
constexpr int32_t NO_VIOLATED_UNIT_TEXT = 0x7B015F;
constexpr int32_t NO_UNIT_TEXT = 0x7B0160;
constexpr int32_t OTHER_ID_ZERO_TEXT = 0x7B0161;
constexpr int32_t MISSING_UNIT_NAME_TEXT = 0x7B0162;
constexpr int32_t NO_PLATFORM_UNIT_TEXT = 0x7B0163;

// The name a violation gives a violating unit that cannot be found.
constexpr const char* UNKNOWN_VIOLATOR = "Unknown Violating Unit";

// The name of the unit with that id, or `missing` (cut to a name's length)
// when there is no such unit.
NameString NameOfUnit(uint16_t unitID, const std::string& missing)
{
    NameString name;
    if (const Unit* unit = gam2arena::FindUnit(unitID))
        name = unit->GetName();
    else
        name.Set(missing.c_str());
    return name;
}
}  // namespace

void VictoryManager::RecordUnitEvent(uint16_t sideID, Unit* unit, uint16_t otherUnitID)
{
    constexpr const char* where = "VictoryManager::RecordUnitEvent";
    if (sideID == 0) {
        ReportResourceText(SIDE_ZERO_TEXT, where, ErrorBox);
        return;
    }
    if (unit == nullptr) {
        ReportResourceText(NO_UNIT_TEXT, where, ErrorBox);
        return;
    }
    if (otherUnitID == 0) {
        ReportResourceText(OTHER_ID_ZERO_TEXT, where, ErrorBox);
        return;
    }
    const NameString other = NameOfUnit(otherUnitID, ResourceString(MISSING_UNIT_NAME_TEXT));
    unitEvents->Add(new UnitPairRecord(sideID, unit->GetName().Text(), other.Text()));
}

void VictoryManager::RecordViolation(uint16_t sideID, uint8_t hostile, Unit* violatedUnit, uint16_t platformID,
                                     uint16_t violatingUnitID)
{
    constexpr const char* where = "VictoryManager::RecordViolation";
    if (sideID == 0) {
        ReportResourceText(SIDE_ZERO_TEXT, where, ErrorBox);
        return;
    }
    if (violatedUnit == nullptr) {
        ReportResourceText(NO_VIOLATED_UNIT_TEXT, where, ErrorBox);
        return;
    }
    if (violatingUnitID == 0)
        ReportResourceText(OTHER_ID_ZERO_TEXT, where, ErrorBox);  // still recorded
    const NameString violator = NameOfUnit(violatingUnitID, UNKNOWN_VIOLATOR);
    violations->Add(new ViolationRecord(sideID, hostile, violatedUnit->GetName().Text(), platformID, violator.Text()));
}

void VictoryManager::RecordPlatformViolation(uint16_t sideID, uint8_t hostile, Unit* violatedUnit,
                                             Unit* platformUnit, uint16_t violatingUnitID)
{
    if (platformUnit == nullptr) {
        ReportResourceText(NO_PLATFORM_UNIT_TEXT, "VictoryManager::RecordPlatformViolation", ErrorBox);
        return;
    }
    RecordViolation(sideID, hostile, violatedUnit, platformUnit->GetAnnexID(), violatingUnitID);
}
