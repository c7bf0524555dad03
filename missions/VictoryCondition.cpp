// VictoryCondition.cpp: the unit-count victory condition and the parts of it
// that every condition shares (the sub-condition chain, the two base lists,
// the kind counts).

#include "missions/VictoryCondition.h"

#include <istream>
#include <ostream>

#include "core/ErrorReport.h"
#include "core/ResourceText.h"
#include "core/StreamFields.h"
#include "missions/AreaVictoryCondition.h"
#include "missions/VictoryItem.h"
#include "missions/VictoryItemList.h"
#include "units/GroupBridge.h"
#include "units/PlaneBridge.h"
#include "units/Unit.h"

namespace {

// Resource texts of the kind-1 description.
constexpr int32_t MET_TEXT = 0x7B0184;
constexpr int32_t NOT_MET_TEXT = 0x7B0185;
constexpr int32_t DAMAGE_TEXT = 0x7B0186;          // hostile, threshold below 100
constexpr int32_t DESTROY_TEXT = 0x7B0187;         // hostile, threshold 100 or more
constexpr int32_t ENEMY_UNITS_TEXT = 0x7B0188;
constexpr int32_t ENEMY_UNIT_TEXT = 0x7B0189;
constexpr int32_t PERCENT_TEXT = 0x7B018A;
constexpr int32_t HOSTILE_END_TEXT = 0x7B018B;
constexpr int32_t HOSTILE_TARGETS_TEXT = 0x7B018C;
constexpr int32_t KEEP_TEXT = 0x7B018D;            // friendly sense
constexpr int32_t OWN_UNITS_TEXT = 0x7B018E;
constexpr int32_t OWN_UNIT_TEXT = 0x7B018F;
constexpr int32_t OWN_PERCENT_TEXT = 0x7B0190;
constexpr int32_t FRIENDLY_TARGETS_TEXT = 0x7B0191;
constexpr int32_t AND_ALSO_TEXT = 0x7B0192;

// A chain read from a file deeper than this is refused as damaged, so that
// a file of nested records cannot exhaust the stack.
constexpr int MAX_CHAIN_DEPTH = 64;
// The depth of the chain being read; loading runs on one thread.
int loadDepth = 0;

}  // namespace

VictoryCondition::VictoryCondition() : targets(new VictoryItemList), counted(new VictoryItemList) {}

VictoryCondition::VictoryCondition(std::istream& in) : VictoryCondition() { LoadData(in); }

VictoryCondition::~VictoryCondition()
{
    delete subCondition;
    delete targets;
    delete counted;
}

void VictoryCondition::CheckUnit(Unit* unit, uint16_t sideID)
{
    if (sideID == 0) {
        ReportResourceText(NO_SIDE_TEXT, "VictoryCondition::CheckUnit", FatalError);
        return;
    }
    if (unit && targets->MatchesUnit(unit)) {
        // Hostile: met moves from 0 to 1; friendly: from 1 to 0.
        const uint8_t before = hostile ? 0 : 1;
        const uint8_t damage = static_cast<uint8_t>(unit->GetDamagePercent());
        if (met == before && IsSenseSide(sideID, unit->GetSideID()) && damage >= damageThreshold &&
            !counted->MatchesUnit(unit)) {
            RecordCountedUnit(*unit);
            count = static_cast<uint16_t>(count + 1);
            if (count >= required)
                met = hostile ? 1 : 0;
        }
    }
    if (subCondition)
        subCondition->CheckUnit(unit, sideID);
}

// The text, its lines ended by a line break:
//   met or not met
//   hostile: what to damage or destroy, how many, at which damage; the list
//   friendly: how many may be lost at which damage; the list
//   the targets' own text
//   with a sub-condition: "and also", a blank line, its text
std::string VictoryCondition::Describe() const
{
    std::string text = ResourceString(met ? MET_TEXT : NOT_MET_TEXT) + "\n";
    if (hostile) {
        text += ResourceString(damageThreshold < 100 ? DAMAGE_TEXT : DESTROY_TEXT);
        text += std::to_string(required);
        text += ResourceString(required <= 1 ? ENEMY_UNIT_TEXT : ENEMY_UNITS_TEXT);
        if (damageThreshold < 100)
            text += " " + std::to_string(damageThreshold) + ResourceString(PERCENT_TEXT);
        text += ResourceString(HOSTILE_END_TEXT) + "\n" + ResourceString(HOSTILE_TARGETS_TEXT);
    } else {
        text += ResourceString(KEEP_TEXT) + std::to_string(required);
        text += ResourceString(required <= 1 ? OWN_UNIT_TEXT : OWN_UNITS_TEXT);
        text += std::to_string(damageThreshold) + ResourceString(OWN_PERCENT_TEXT) + "\n";
        text += ResourceString(FRIENDLY_TARGETS_TEXT);
    }
    text += targets->Describe();
    if (subCondition)
        text += ResourceString(AND_ALSO_TEXT) + "\n\n" + subCondition->Describe();
    return FitText(std::move(text));
}

std::string VictoryCondition::FitText(std::string text)
{
    if (text.size() > TEXT_SIZE - 1)
        text.resize(TEXT_SIZE - 1);
    return text;
}

bool VictoryCondition::IsMet() const { return met != 0 && (!subCondition || subCondition->IsMet()); }

void VictoryCondition::SetSense(uint8_t hostileSense)
{
    hostile = hostileSense;
    met = hostileSense ? 0 : 1;
}

void VictoryCondition::SaveData(std::ostream& out) const
{
    SaveField<uint8_t>(out, KIND_UNITS);
    SaveField(out, required);
    SaveField(out, damageThreshold);
    SaveField(out, count);
    SaveField(out, met);
    SaveField(out, hostile);
    SaveLists(out);
    SaveSubCondition(out);
}

bool VictoryCondition::LoadData(std::istream& in)
{
    LoadField(in, required);
    LoadField(in, damageThreshold);
    LoadField(in, count);
    LoadField(in, met);
    LoadField(in, hostile);
    if (!in || !LoadLists(in))
        return false;
    return LoadSubCondition(in, false);
}

void VictoryCondition::CountKindLoss(uint16_t platformID, uint16_t letter, uint16_t number, uint16_t owningSideID,
                                     uint16_t loserSideID)
{
    if (!IsSenseSide(owningSideID, loserSideID))
        return;
    if (!targets->ContainsKind(PlatformKindItem(platformID, letter)))
        return;
    count = static_cast<uint16_t>(count + number);
    if (count >= required)
        met = 1;
}

void VictoryCondition::RecordCountedUnit(const Unit& unit)
{
    if (!counted) {
        ReportResourceText(NO_COUNTED_TEXT, "VictoryCondition::RecordCountedUnit", FatalError);
        return;
    }
    counted->Add(new UnitItem(unit.GetID(), unit.GetName().Text()));
}

void VictoryCondition::SaveLists(std::ostream& out) const
{
    targets->Save(out);
    counted->Save(out);
}

bool VictoryCondition::LoadLists(std::istream& in)
{
    return targets->Load(in) && counted->Load(in);
}

VictoryCondition* VictoryCondition::LoadKind(uint8_t conditionKind, std::istream& in)
{
    VictoryCondition* condition = nullptr;
    if (conditionKind == KIND_UNITS)
        condition = new VictoryCondition(in);
    else if (conditionKind == KIND_AREA)
        condition = new AreaVictoryCondition(in);
    if (condition && !in) {
        delete condition;
        return nullptr;
    }
    return condition;
}

void VictoryCondition::SetSubCondition(VictoryCondition* sub)
{
    if (sub == subCondition)
        return;
    delete subCondition;
    subCondition = sub;
}

bool VictoryCondition::LoadSubCondition(std::istream& in, bool othersAreNone)
{
    SetSubCondition(nullptr);
    uint8_t subKind = 0;
    if (!LoadField(in, subKind))
        return false;
    if (subKind != KIND_UNITS && subKind != KIND_AREA) {
        if (subKind == 0 || othersAreNone)
            return true;
        ReportResourceText(BAD_SUB_KIND_TEXT, "VictoryCondition::LoadData", FatalError);
        in.setstate(std::ios::failbit);   // nothing after it can be read
        return false;
    }
    if (loadDepth >= MAX_CHAIN_DEPTH) {
        FatalError("VictoryCondition::LoadData: sub-condition chain deeper than 64");
        in.setstate(std::ios::failbit);
        return false;
    }
    ++loadDepth;
    subCondition = LoadKind(subKind, in);
    --loadDepth;
    return subCondition != nullptr;
}

void VictoryCondition::SaveSubCondition(std::ostream& out) const
{
    if (subCondition)
        subCondition->SaveData(out);
    else
        SaveField<uint8_t>(out, 0);
}

bool VictoryCondition::IsSenseSide(uint16_t owningSideID, uint16_t otherSideID) const
{
    return hostile ? gam2side::AreHostile(owningSideID, otherSideID)
                   : gam2side::AreFriendly(owningSideID, otherSideID);
}
