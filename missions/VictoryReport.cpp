// VictoryReport.cpp: the texts a side's victory manager writes about itself
// for the player: the short status (what the side lost and expended) and the
// full report (outcome, rules verdict, conditions, violations, unit pairs).
// Every fixed piece of wording is a resource text; the lists and conditions
// describe themselves.
#include "missions/VictoryManager.h"

#include <initializer_list>
#include <memory>
#include <string>

#include "core/ErrorReport.h"
#include "core/ResourceText.h"
#include "missions/VictoryCalls.h"
#include "missions/VictoryCondition.h"
#include "missions/VictoryItemList.h"
#include "missions/ViolationRecord.h"

namespace {

// The short status.
constexpr int32_t STATUS_HEADING_TEXT = 0x7B015A;
constexpr int32_t STATUS_NO_SIDE_TEXT = 0x7B015B;
constexpr int32_t STATUS_LOSSES_TEXT = 0x7B015C;
constexpr int32_t STATUS_EXPENDED_TEXT = 0x7B015D;

// The full report: heading and outcome.
constexpr int32_t REPORT_HEADING_TEXT = 0x7B013B;
constexpr int32_t REPORT_NO_SIDE_TEXT = 0x7B013C;
constexpr int32_t WON_TEXT = 0x7B013D;
constexpr int32_t WON_MORE_TEXT = 0x7B013E;
constexpr int32_t NOT_WON_TEXT = 0x7B013F;
// The rules verdict: no violations.
constexpr int32_t CLEAN_TEXT = 0x7B0140;
constexpr int32_t CLEAN_PAIRS_TEXT = 0x7B0141;
constexpr int32_t CLEAN_PAIRS_MORE_TEXT = 0x7B0142;
// Violations, all against hostile sides.
constexpr int32_t VIOLATIONS_TEXT = 0x7B0143;
constexpr int32_t HOSTILE_WON_TEXT = 0x7B0144;
constexpr int32_t HOSTILE_WON_MORE_TEXT = 0x7B0145;
constexpr int32_t HOSTILE_WON_PAIRS_TEXT = 0x7B0146;
constexpr int32_t HOSTILE_WON_PAIRS_MORE_TEXT = 0x7B0147;
constexpr int32_t HOSTILE_LOST_TEXT = 0x7B0148;
constexpr int32_t HOSTILE_LOST_MORE_TEXT = 0x7B0149;
constexpr int32_t HOSTILE_LOST_PAIRS_TEXT = 0x7B014A;
constexpr int32_t HOSTILE_LOST_PAIRS_MORE_TEXT = 0x7B014B;
// Some violation against a side that is not hostile.
constexpr int32_t OTHERS_WON_TEXT = 0x7B014C;
constexpr int32_t OTHERS_LOST_TEXT = 0x7B014D;
constexpr int32_t OTHERS_VERDICT_TEXT = 0x7B014E;
constexpr int32_t OTHERS_VERDICT_MORE_TEXT = 0x7B014F;
constexpr int32_t OTHERS_VERDICT_LAST_TEXT = 0x7B0150;
constexpr int32_t OTHERS_PAIRS_TEXT = 0x7B0151;
constexpr int32_t OTHERS_PAIRS_MORE_TEXT = 0x7B0152;
// The sections.
constexpr int32_t CONDITIONS_HEADING_TEXT = 0x7B0154;
constexpr int32_t MET_HEADING_TEXT = 0x7B0155;
constexpr int32_t SEPARATOR_TEXT = 0x7B0156;
constexpr int32_t NOT_MET_HEADING_TEXT = 0x7B0157;
constexpr int32_t VIOLATIONS_HEADING_TEXT = 0x7B0158;
constexpr int32_t UNIT_PAIRS_HEADING_TEXT = 0x7B0159;

// Writes resource texts one after another.
void WriteTexts(std::ostream& out, std::initializer_list<int32_t> numbers)
{
    for (int32_t number : numbers)
        out << ResourceString(number);
}

// Ends a text: its terminating zero byte.
void EndText(std::ostream& out)
{
    out << '\0';
}

// Whether every violation record was against a hostile side. Items of other
// kinds, which only a damaged file puts into the list, are no records.
bool AllHostile(const VictoryItemList& violations)
{
    for (int32_t i = 0; i < violations.GetCount(); ++i) {
        const VictoryItem* item = violations.Get(i);
        if (item->GetTag() == VictoryTag::VIOLATION && !static_cast<const ViolationRecord*>(item)->IsHostile())
            return false;
    }
    return true;
}

}  // namespace

bool VictoryManager::WriteSideName(std::ostream& out, int32_t missing) const
{
    std::string name;
    if (!gam2arena::GetSideText(sideId, name)) {
        ReportResourceText(missing, "VictoryManager: side", &ErrorBox);
        return false;
    }
    out << name;
    return true;
}

void VictoryManager::DescribeStatus(std::ostream& out)
{
    WriteTexts(out, {STATUS_HEADING_TEXT});
    if (!WriteSideName(out, STATUS_NO_SIDE_TEXT)) {
        EndText(out);
        return;
    }
    out << "\n\n";
    WriteTexts(out, {STATUS_LOSSES_TEXT});
    out << "\n\n" << lossTally->Describe();
    WriteTexts(out, {STATUS_EXPENDED_TEXT});
    out << "\n\n" << expenditureTally->Describe();
    out << '\n';
    EndText(out);
}

void VictoryManager::WriteReport(uint8_t showOutcome, std::ostream& out)
{
    Evaluate(nullptr);   // may itself announce a victory
    if (showOutcome != 0)
        ui2game::ShowEndOfGamePicture(FindMetCondition() != nullptr ? 1 : 0);

    WriteTexts(out, {REPORT_HEADING_TEXT});
    if (!WriteSideName(out, REPORT_NO_SIDE_TEXT)) {
        EndText(out);
        return;
    }
    out << '\n';
    const bool anyMet = FindMetCondition() != nullptr;
    if (anyMet)
        WriteTexts(out, {WON_TEXT, WON_MORE_TEXT});
    else
        WriteTexts(out, {NOT_WON_TEXT});
    WriteVerdict(out, anyMet);

    out << "\n\n\n";
    WriteTexts(out, {CONDITIONS_HEADING_TEXT});
    out << '\n';
    bool anyUnmet = false;
    for (const std::unique_ptr<VictoryCondition>& condition : conditions)
        anyUnmet = anyUnmet || !condition->IsMet();
    if (anyMet) {
        WriteTexts(out, {MET_HEADING_TEXT});
        out << '\n';
        WriteConditions(out, true);
    }
    if (anyUnmet || !anyMet) {
        WriteTexts(out, {NOT_MET_HEADING_TEXT});
        out << '\n';
        WriteConditions(out, false);
    }
    if (violations->GetCount() != 0) {
        WriteTexts(out, {VIOLATIONS_HEADING_TEXT});
        out << "\n\n" << violations->Describe();
    }
    if (unitEvents->GetCount() != 0) {
        WriteTexts(out, {UNIT_PAIRS_HEADING_TEXT});
        out << "\n\n" << unitEvents->Describe();
    }
    out << '\n';
    EndText(out);
}

void VictoryManager::WriteVerdict(std::ostream& out, bool anyMet) const
{
    const bool pairs = unitEvents->GetCount() != 0;
    if (violations->GetCount() == 0) {
        WriteTexts(out, {CLEAN_TEXT});
        if (pairs)
            WriteTexts(out, {CLEAN_PAIRS_TEXT, CLEAN_PAIRS_MORE_TEXT});
        return;
    }
    WriteTexts(out, {VIOLATIONS_TEXT});
    if (AllHostile(*violations)) {
        if (anyMet) {
            WriteTexts(out, {HOSTILE_WON_TEXT, HOSTILE_WON_MORE_TEXT});
            if (pairs)
                WriteTexts(out, {HOSTILE_WON_PAIRS_TEXT, HOSTILE_WON_PAIRS_MORE_TEXT});
        } else {
            WriteTexts(out, {HOSTILE_LOST_TEXT, HOSTILE_LOST_MORE_TEXT});
            if (pairs)
                WriteTexts(out, {HOSTILE_LOST_PAIRS_TEXT, HOSTILE_LOST_PAIRS_MORE_TEXT});
        }
        return;
    }
    WriteTexts(out, {anyMet ? OTHERS_WON_TEXT : OTHERS_LOST_TEXT});
    WriteTexts(out, {OTHERS_VERDICT_TEXT, OTHERS_VERDICT_MORE_TEXT, OTHERS_VERDICT_LAST_TEXT});
    if (pairs)
        WriteTexts(out, {OTHERS_PAIRS_TEXT, OTHERS_PAIRS_MORE_TEXT});
}

void VictoryManager::WriteConditions(std::ostream& out, bool met) const
{
    bool first = true;
    for (const std::unique_ptr<VictoryCondition>& condition : conditions) {
        if (condition->IsMet() != met)
            continue;
        if (!first) {
            WriteTexts(out, {SEPARATOR_TEXT});
            out << '\n';
        }
        first = false;
        out << condition->Describe();
    }
}
