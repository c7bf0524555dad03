// VictoryManager.cpp: a side's victory manager: construction, saved form,
// evaluation, the kind-loss tallies and the announcement of a victory. Its
// texts for the player are VictoryReport.cpp.
#include "missions/VictoryManager.h"

#include "core/ErrorReport.h"
#include "core/ResourceText.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "missions/AreaVictoryCondition.h"
#include "missions/UnitClassLossRecord.h"
#include "missions/VictoryCalls.h"
#include "missions/VictoryCheckEvent.h"
#include "missions/VictoryCondition.h"
#include "missions/VictoryItemList.h"
#include "units/Unit.h"
#include "world/Game2UI2.h"

namespace {

// The type letter of a weapon: its kinds count as expended, not lost.
constexpr uint16_t WEAPON_LETTER = 'W';
// The most conditions a manager holds: its saved count is one byte.
constexpr size_t MAX_CONDITIONS = 255;
// Texts of the announcement: two lines, then a line break.
constexpr int32_t VICTORY_TEXT = 0x7B0164;
constexpr int32_t VICTORY_QUESTION_TEXT = 0x7B0165;
// Kind 0 of the end-of-scenario window.
constexpr uint32_t END_OF_SCENARIO_WINDOW = 0;

}  // namespace

VictoryManager::VictoryManager(uint16_t sideID)
    : lossTally(std::make_unique<VictoryItemList>()),
      expenditureTally(std::make_unique<VictoryItemList>()),
      violations(std::make_unique<VictoryItemList>()),
      unitEvents(std::make_unique<VictoryItemList>()),
      sideId(sideID)
{
    // One periodic check is pending however many sides are set up: each new
    // manager replaces it, due at game time 60 again.
    if (gam2arena::GetArenaState() == nullptr)
        return;
    gam2arena::RemoveUnitEvents(0, EventCode::VICTORY_CHECK);
    gam2arena::PostEvent(new VictoryCheckEvent());
}

VictoryManager::VictoryManager(std::istream& in)
    : lossTally(std::make_unique<VictoryItemList>()),
      expenditureTally(std::make_unique<VictoryItemList>()),
      violations(std::make_unique<VictoryItemList>()),
      unitEvents(std::make_unique<VictoryItemList>())
{
    Load(in);
}

VictoryManager::~VictoryManager() = default;

bool VictoryManager::Save(std::ostream& out) const
{
    SaveField(out, GetConditionCount());
    SaveField(out, sideId);
    lossTally->Save(out);
    expenditureTally->Save(out);
    violations->Save(out);
    unitEvents->Save(out);
    for (const std::unique_ptr<VictoryCondition>& condition : conditions)
        condition->SaveData(out);   // its kind byte first
    return static_cast<bool>(out);
}

bool VictoryManager::Load(std::istream& in)
{
    uint8_t count = 0;
    uint16_t side = 0;
    LoadField(in, count);
    LoadField(in, side);
    if (!in)
        return false;
    auto losses = std::make_unique<VictoryItemList>();
    auto expended = std::make_unique<VictoryItemList>();
    auto violated = std::make_unique<VictoryItemList>();
    auto pairs = std::make_unique<VictoryItemList>();
    if (!losses->Load(in) || !expended->Load(in) || !violated->Load(in) || !pairs->Load(in)) {
        in.setstate(std::ios::failbit);
        return false;
    }
    std::vector<std::unique_ptr<VictoryCondition>> built;
    for (int entry = 0; entry < count; ++entry) {
        uint8_t kind = 0;
        if (!LoadField(in, kind))
            return false;
        if (kind == 0) {
            // An empty entry: the manager keeps one condition fewer, so the
            // next save writes a count that matches its records.
            ReportResourceText(EMPTY_CONDITION_TEXT, "VictoryManager::Load", &ErrorBox);
            continue;
        }
        if (kind > VictoryCondition::KIND_AREA) {
            ReportResourceText(BAD_CONDITION_TEXT, "VictoryManager::Load", &FatalError);
            in.setstate(std::ios::failbit);
            return false;
        }
        std::unique_ptr<VictoryCondition> condition(VictoryCondition::LoadKind(kind, in));
        if (condition == nullptr || !in) {
            in.setstate(std::ios::failbit);
            return false;
        }
        built.push_back(std::move(condition));
    }
    conditions = std::move(built);
    lossTally = std::move(losses);
    expenditureTally = std::move(expended);
    violations = std::move(violated);
    unitEvents = std::move(pairs);
    sideId = side;
    holdStart = 0;   // not saved: every count starts afresh
    return true;
}

VictoryCondition* VictoryManager::GetCondition(uint8_t index) const
{
    return index < conditions.size() ? conditions[index].get() : nullptr;
}

bool VictoryManager::AddCondition(VictoryCondition* condition)
{
    if (condition == nullptr)
        return false;
    if (conditions.size() >= MAX_CONDITIONS) {
        delete condition;
        return false;
    }
    conditions.emplace_back(condition);
    return true;
}

VictoryCondition* VictoryManager::FindMetCondition() const
{
    for (const std::unique_ptr<VictoryCondition>& condition : conditions) {
        if (condition->IsMet())
            return condition.get();
    }
    return nullptr;
}

void VictoryManager::Evaluate(Unit* unit)
{
    for (const std::unique_ptr<VictoryCondition>& condition : conditions)
        condition->CheckUnit(unit, sideId);

    if (unit != nullptr) {
        // The damage percentage is a byte where the tally reads it.
        const auto damage = static_cast<uint8_t>(unit->GetDamagePercent());
        if (unit->GetSideID() == sideId && damage >= 100) {
            const uint32_t key = unit->GetClassKey();
            TallyKind(static_cast<uint16_t>(key & 0xFFFF), static_cast<uint16_t>(key >> 16), 1);
        }
        return;
    }

    if (FindMetCondition() == nullptr) {
        holdStart = 0;
        return;
    }
    const uint32_t now = gam2arena::GetGameTime();
    if (holdStart == 0) {
        holdStart = now;
        return;
    }
    // Equality does not announce: the first announcement comes at the first
    // check later than the start plus HOLD_SECONDS.
    if (uint64_t{now} > uint64_t{holdStart} + HOLD_SECONDS) {
        AnnounceVictory();
        holdStart = 0;
    }
}

void VictoryManager::RecordKindLoss(uint16_t platformID, uint16_t typeLetter, uint16_t loserSide, uint16_t count)
{
    for (const std::unique_ptr<VictoryCondition>& condition : conditions)
        condition->CountKindLoss(platformID, typeLetter, count, sideId, loserSide);
    if (loserSide == sideId)
        TallyKind(platformID, typeLetter, count);
}

void VictoryManager::TallyKind(uint16_t platformID, uint16_t typeLetter, uint16_t count)
{
    VictoryItemList& tally = typeLetter == WEAPON_LETTER ? *expenditureTally : *lossTally;
    tally.Add(new UnitClassLossRecord(platformID, typeLetter, count));
}

void VictoryManager::AnnounceVictory()
{
    if (sideId != Game2UI2::GetCurrentSideID())
        return;
    const std::string text = ResourceString(VICTORY_TEXT) + ResourceString(VICTORY_QUESTION_TEXT) + "\n";
    sndlink::PlaySound(VICTORY_SOUND);
    ui2game::ShowMessageWindow(text.c_str(), sideId, &VictoryManager::OnVictoryAnswer);
}

void VictoryManager::OnVictoryAnswer(uint16_t sideID, uint8_t answer)
{
    if (answer == 0) {
        ui2game::RunModalWindow(END_OF_SCENARIO_WINDOW);
        return;
    }
    if (sideID == 0)
        return;   // the all-units-lost question: play goes on
    VictoryManager* manager = unit2gam::GetVictoryManager(sideID);
    if (manager == nullptr) {
        ReportResourceText(NO_MANAGER_TEXT, "VictoryManager::OnVictoryAnswer", &ErrorBox);
        return;
    }
    manager->holdStart = 0;
}
