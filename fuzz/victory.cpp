// victory.cpp: fuzz target of a side's victory manager read from its saved
// form (VictoryManager::Load): the four item lists with every item kind, the
// unit-count and area conditions with their sub-conditions, in the current
// layout and the one before 2.1.13.0 (byte 0 picks the file version). A
// manager that loads is saved again, checked periodically, and writes its
// status and report.
#include <cstdint>
#include <sstream>
#include <string>

#include "core/ScenarioAdmin.h"
#include "core/gam2arena.h"
#include "fuzz/FuzzTarget.h"
#include "missions/UnitClassLossRecord.h"
#include "missions/UnitPairRecord.h"
#include "missions/VictoryCondition.h"
#include "missions/VictoryItem.h"
#include "missions/VictoryItemList.h"
#include "missions/VictoryManager.h"
#include "missions/ViolationRecord.h"

namespace {

// A manager with an item in each list and a condition whose targets hold
// items of the unit kinds and which carries a sub-condition.
std::string SavedSample()
{
    VictoryManager manager(4);   // no arena yet: no check event is posted
    manager.RecordKindLoss(31, 'P', 4, 2);
    manager.RecordKindLoss(12, 'W', 4, 6);
    manager.GetViolations().Add(new ViolationRecord(2, 1, "Victim", 9, "Violator"));
    manager.GetUnitEvents().Add(new UnitPairRecord(4, "Actor", "Other"));
    auto* condition = new VictoryCondition();
    condition->SetRequired(2);
    condition->SetDamageThreshold(100);
    condition->GetTargets().Add(new PlatformKindItem(31, 'S'));
    condition->GetTargets().Add(new UnitItem(40, "Target"));
    condition->SetSubCondition(new VictoryCondition());
    manager.AddCondition(condition);
    std::ostringstream out(std::ios::binary);
    manager.Save(out);
    return out.str();
}

// The first input byte picks the file version: current, or before the area
// condition's tracking fields.
VersionNumber VersionFor(uint8_t choice)
{
    return choice % 2 == 0 ? VersionNumber(3, 6, 3, 0) : VersionNumber(2, 1, 12, 0);
}

}  // namespace

void FuzzSeeds(fuzz::Seeds& seeds)
{
    seeds.Add("current-manager", std::string(1, '\0') + SavedSample());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    std::istringstream in(fuzz::Bytes(data + 1, size - 1), std::ios::binary);
    fuzz::Guarded([&] {
        fuzz::GameState game(VersionFor(data[0]));
        {
            VictoryManager manager(0);
            if (manager.Load(in)) {
                std::ostringstream out(std::ios::binary);
                manager.Save(out);
                game.Arena().SetGameTime(GameTime(60));
                manager.Evaluate(nullptr);
                std::ostringstream text;
                manager.DescribeStatus(text);
                manager.WriteReport(0, text);
            }
        }
    });
    return 0;
}
